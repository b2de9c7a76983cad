#include "directory/OrgFacts.h"

#include "data/OrgKinds.h"
#include "data/OrgPlacesReader.h"

#include <filesystem>
#include <unordered_map>

namespace {
const OrgPlace& noPlace()
{
    static const OrgPlace none;
    return none;
}
} // namespace

OrgFacts::OrgFacts(const OrgPlaces& places, std::size_t orgCount, std::size_t houseCount)
    : m_loaded(true), m_orgCount(orgCount)
{
    const std::size_t n = std::min(places.entries.size(), orgCount);
    m_places.reserve(n);
    m_hoursOf.reserve(n);
    // A town writes the same few hours for many organisations: each text is read once.
    std::unordered_map<std::string_view, std::uint32_t> known;
    m_houseStart.assign(houseCount + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const OrgPlace& entry = places.entries[i];
        OrgPlace kept = entry;
        kept.hours.clear();
        if (kept.place == OrgPlace::Place::House && kept.house >= houseCount)
            kept.place = OrgPlace::Place::None; // not validated: never trust an index
        m_places.push_back(kept);
        m_kinds.push_back(orgKindById(kept.kind) ? kept.kind : std::uint16_t(kOtherKind));
        std::uint32_t hours = 0;
        if (!entry.hours.empty()) {
            const auto [at, added] = known.try_emplace(entry.hours, std::uint32_t(m_hours.size()));
            if (added)
                m_hours.push_back(OpeningHours::parse(entry.hours));
            hours = at->second;
        }
        m_hoursOf.push_back(hours);
        if (kept.place == OrgPlace::Place::House)
            ++m_houseStart[kept.house + 1];
    }
    for (std::size_t h = 0; h < houseCount; ++h)
        m_houseStart[h + 1] += m_houseStart[h];
    m_placed.resize(m_houseStart[houseCount]);
    std::vector<std::uint32_t> next(m_houseStart.begin(), m_houseStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        if (m_places[i].place == OrgPlace::Place::House)
            m_placed[next[m_places[i].house]++] = std::uint32_t(i);
}

const OrgPlace& OrgFacts::PlaceOf(std::size_t org) const
{
    return org < m_places.size() ? m_places[org] : noPlace();
}

int OrgFacts::KindOf(std::size_t org) const
{
    return org < m_kinds.size() ? m_kinds[org] : kOtherKind;
}

const OpeningHours& OrgFacts::HoursOf(std::size_t org) const
{
    return m_hours[HoursIndexOf(org)];
}

std::span<const std::uint32_t> OrgFacts::PlacedIn(std::size_t house) const
{
    if (house + 1 >= m_houseStart.size())
        return {};
    return std::span<const std::uint32_t>(m_placed).subspan(m_houseStart[house],
                                                            m_houseStart[house + 1] - m_houseStart[house]);
}

std::vector<std::size_t> OrgFacts::KindCounts() const
{
    int maxId = 0;
    for (const OrgKind& kind : orgKinds())
        maxId = std::max(maxId, kind.id);
    std::vector<std::size_t> counts(std::size_t(maxId) + 1, 0);
    for (std::size_t i = 0; i < m_orgCount; ++i)
        ++counts[std::size_t(KindOf(i))];
    return counts;
}

OrgFacts LoadOrgFacts(const std::string& townFolder, std::size_t orgCount, std::size_t houseCount)
{
    const std::string path = (std::filesystem::path(townFolder) / orgplaces::kFileName).lexically_normal().string();
    std::optional<OrgPlaces> places = readOrgPlacesFile(path);
    if (!places)
        return {};
    validateOrgPlaces(*places, orgCount, houseCount, path);
    return OrgFacts(*places, orgCount, houseCount);
}
