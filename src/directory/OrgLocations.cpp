#include "directory/OrgLocations.h"

#include "directory/AddressKey.h"
#include "map/House.h"

#include <string>

bool IsUnaddressed(const Thouse& house)
{
    return house.params()[0].empty() || house.params()[1] == "0";
}

bool IsUnaddressed(const OrgRecord& entry)
{
    return entry.streetName.empty() || entry.houseNo == "0";
}

OrgLocations::OrgLocations(std::vector<Thouse*> houses, const OrgRecords& records, const OrgFacts& facts)
    : m_houses(std::move(houses))
{
    m_index.reserve(m_houses.size());
    // Houses by the key an entry matches them with, in child order.
    std::unordered_map<std::string, std::vector<std::uint32_t>> byAddress;
    for (std::size_t h = 0; h < m_houses.size(); ++h) {
        Thouse* house = m_houses[h];
        m_index.emplace(house, h);
        if (!IsUnaddressed(*house))
            byAddress[house->params()[0] + '\n' + house->params()[1]].push_back(std::uint32_t(h));
    }
    m_start.reserve(records.size() + 1);
    m_start.push_back(0);
    m_points.resize(records.size());
    std::string key;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OrgPlace& place = facts.PlaceOf(i);
        if (place.place == OrgPlace::Place::House && place.house < m_houses.size()) {
            m_orgHouses.push_back(place.house);
        } else if (place.place == OrgPlace::Place::Point) {
            m_points[i] = Point{place.x, place.y};
        } else if (!IsUnaddressed(records[i])) {
            key.assign(records[i].streetName).append(1, '\n').append(records[i].houseNo);
            if (const auto found = byAddress.find(key); found != byAddress.end())
                m_orgHouses.insert(m_orgHouses.end(), found->second.begin(), found->second.end());
        }
        m_start.push_back(std::uint32_t(m_orgHouses.size()));
    }
}

std::optional<std::size_t> OrgLocations::IndexOf(const Thouse* house) const
{
    const auto found = m_index.find(house);
    if (found == m_index.end())
        return std::nullopt;
    return found->second;
}

std::span<const std::uint32_t> OrgLocations::HousesOf(std::size_t org) const
{
    if (org + 1 >= m_start.size())
        return {};
    return std::span<const std::uint32_t>(m_orgHouses).subspan(m_start[org], m_start[org + 1] - m_start[org]);
}

std::optional<OrgLocations::Point> OrgLocations::PointOf(std::size_t org) const
{
    return org < m_points.size() ? m_points[org] : std::nullopt;
}
