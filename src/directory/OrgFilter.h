#pragma once

#include "directory/OrgFacts.h"

#include <QDateTime>

#include <cstddef>
#include <string>
#include <vector>

// Which kinds "Рубрика" asks for: every kind, those of one heading, or one kind.
struct KindChoice {
    enum class Scope : std::uint8_t { All, Heading, Kind };
    Scope scope = Scope::All;
    int value = 0; // the heading's index (orgKindHeadings) or the kind's id

    bool operator==(const KindChoice&) const = default;
};

// One item of the "Рубрика" list: "Все рубрики" first, then each heading
// that has organisations and below it its kinds, "Аптеки (12)".
struct KindItem {
    std::string text; // UTF-8
    KindChoice choice;
    bool heading = false;
};

inline constexpr char kAllKinds[] = "Все рубрики";

// The items for organisations counted by kind id (OrgFacts::KindCounts):
// only kinds that have organisations, so the list holds what the town has.
// A heading whose one kind is named as the heading ("Прочее") shows the kind alone.
std::vector<KindItem> KindItems(const std::vector<std::size_t>& countsById);

// The organisations "Рубрика" and "Открыто сейчас" keep. Worked out once
// for all organisations when a choice changes, so that asking is a look-up.
class OrgFilter {
public:
    explicit OrgFilter(const OrgFacts& facts, std::size_t orgCount);

    void SetKind(KindChoice choice);
    // "Открыто сейчас" on at `now` (local time), or off.
    void SetOpenNow(bool on, const QDateTime& now);

    const KindChoice& Kind() const { return m_kind; }
    bool OpenNow() const { return m_openNow; }
    // Whether anything is kept out at all.
    bool Active() const { return m_kind.scope != KindChoice::Scope::All || m_openNow; }

    bool Passes(std::size_t org) const { return !Active() || (org < m_passes.size() && m_passes[org]); }
    // Open at the moment "Открыто сейчас" was last set (false while it is off).
    bool OpenAtSetTime(std::size_t org) const { return org < m_open.size() && m_open[org]; }

private:
    void update();
    bool kindPasses(int kind) const;
    std::vector<char> m_kindPasses; // by kind id
    const OrgFacts& m_facts;
    std::size_t m_orgCount;
    KindChoice m_kind;
    bool m_openNow = false;
    std::vector<char> m_open;   // by organisation, while open-now is on
    std::vector<char> m_passes; // by organisation
};
