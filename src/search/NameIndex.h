#pragma once

#include "search/Suggestion.h"

#include <string>
#include <string_view>
#include <vector>

// The names of a list prepared for suggestions: a typed text matches a name
// when each typed word is found in it, in any order, with case, ё/е,
// quotes, punctuation and street abbreviations not counted (SearchWords).
// Ranked: the same words as typed, then names in which every typed word
// starts a word, then the others; ties keep the list's order.
class NameIndex {
public:
    enum Rank { Same = 0, WordStarts = 1, Inside = 2 };
    struct Match {
        int row = 0;
        Rank rank = Inside;
    };
    // The words of a typed text; each is found as typed or, for an
    // abbreviation, as its full word.
    struct Query {
        std::vector<std::vector<std::string>> words;
        std::string joined;
        bool Empty() const { return words.empty(); }
    };

    // The list's names in its order; equal neighbours are offered once.
    void Assign(const std::vector<std::string>& names);
    std::size_t Size() const { return m_entries.size(); }
    const std::string& Name(int row) const { return m_entries[static_cast<std::size_t>(row)].raw; }

    static Query MakeQuery(std::string_view typed);
    // Every matching row, best first.
    std::vector<Match> Find(const Query& query) const;
    // At most Suggestion::kLimit names, best first, matched parts in bold.
    std::vector<Suggestion> Suggest(std::string_view typed) const;

    // The parts of `raw` that the query's words match.
    static std::vector<Suggestion::Span> MatchedSpans(std::string_view raw, const Query& query);

private:
    struct Entry {
        std::string raw;
        std::string joined;
    };
    std::vector<Entry> m_entries;
};
