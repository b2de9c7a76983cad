#include "directory/OrgFilter.h"

#include "data/OrgKinds.h"

std::vector<KindItem> KindItems(const std::vector<std::size_t>& countsById)
{
    const auto count = [&](int id) { return std::size_t(id) < countsById.size() ? countsById[std::size_t(id)] : 0; };
    std::vector<KindItem> items{{kAllKinds, {}, false}};
    const std::vector<OrgKindHeading>& headings = orgKindHeadings();
    for (std::size_t h = 0; h < headings.size(); ++h) {
        const OrgKindHeading& heading = headings[h];
        std::vector<KindItem> kinds;
        for (int id : heading.kinds)
            if (count(id) > 0)
                kinds.push_back({std::string(orgKindById(id)->name) + " (" + std::to_string(count(id)) + ")",
                                 {KindChoice::Scope::Kind, id}, false});
        if (kinds.empty())
            continue;
        const bool sameAsKind = heading.kinds.size() == 1 && orgKindById(heading.kinds[0])->name == heading.name;
        if (!sameAsKind)
            items.push_back({std::string(heading.name), {KindChoice::Scope::Heading, int(h)}, true});
        items.insert(items.end(), kinds.begin(), kinds.end());
    }
    return items;
}

OrgFilter::OrgFilter(const OrgFacts& facts, std::size_t orgCount) : m_facts(facts), m_orgCount(orgCount) {}

void OrgFilter::SetKind(KindChoice choice)
{
    m_kind = choice;
    update();
}

void OrgFilter::SetOpenNow(bool on, const QDateTime& now)
{
    m_openNow = on;
    m_open.assign(on ? m_orgCount : 0, 0);
    if (on) {
        // Once per distinct text, with the local date and time taken out
        // once: each look into a QDateTime converts.
        const QDate date = now.date();
        const QTime time = now.time();
        std::vector<char> open(m_facts.DistinctHours());
        for (std::size_t h = 0; h < open.size(); ++h)
            open[h] = m_facts.Hours(h).stateOnlyAt(date, time) == HoursState::Open;
        for (std::size_t i = 0; i < m_orgCount; ++i)
            m_open[i] = open[m_facts.HoursIndexOf(i)];
    }
    update();
}

bool OrgFilter::kindPasses(int kind) const
{
    switch (m_kind.scope) {
    case KindChoice::Scope::All:
        return true;
    case KindChoice::Scope::Kind:
        return kind == m_kind.value;
    case KindChoice::Scope::Heading:
        if (const OrgKind* k = orgKindById(kind))
            return k->heading == m_kind.value;
        return false;
    }
    return false;
}

void OrgFilter::update()
{
    m_kindPasses.clear();
    for (const OrgKind& kind : orgKinds()) {
        if (std::size_t(kind.id) >= m_kindPasses.size())
            m_kindPasses.resize(std::size_t(kind.id) + 1, 0);
        m_kindPasses[std::size_t(kind.id)] = kindPasses(kind.id);
    }
    m_passes.assign(m_orgCount, 0);
    for (std::size_t i = 0; i < m_orgCount; ++i)
        m_passes[i] = m_kindPasses[std::size_t(m_facts.KindOf(i))] && (!m_openNow || m_open[i]);
}
