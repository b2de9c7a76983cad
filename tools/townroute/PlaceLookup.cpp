#include "PlaceLookup.h"

#include "TextStandIns.h"

#include "base/Cp1251.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

std::optional<RoutePoint> parseMapPoint(std::string_view text)
{
    const auto skipSpaces = [&](std::size_t i) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        return i;
    };
    const auto number = [&](std::size_t& i, float& value) {
        i = skipSpaces(i);
        const char* begin = text.data() + i;
        if (i < text.size() && text[i] == '+')
            ++begin;
        const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
        if (error != std::errc() || !std::isfinite(value))
            return false;
        i = std::size_t(end - text.data());
        return true;
    };
    RoutePoint point;
    std::size_t i = 0;
    if (!number(i, point.x))
        return std::nullopt;
    i = skipSpaces(i);
    if (i < text.size() && text[i] == ',')
        ++i;
    if (!number(i, point.y) || skipSpaces(i) != text.size())
        return std::nullopt;
    return point;
}

PlaceLookup::PlaceLookup(const TownModel& model)
{
    std::vector<std::pair<std::string, std::string>> addresses;
    for (const TownHouseRecord& record : model.houses) {
        if (record.texts.size() < 2 || record.nodes.empty())
            continue;
        std::pair<std::string, std::string> key{record.texts[0], record.texts[1]};
        float minX = std::numeric_limits<float>::max(), minY = minX;
        float maxX = std::numeric_limits<float>::lowest(), maxY = maxX;
        for (const auto& node : record.nodes) {
            minX = std::min(minX, node[0]);
            maxX = std::max(maxX, node[0]);
            minY = std::min(minY, node[1]);
            maxY = std::max(maxY, node[1]);
        }
        if (m_middles.try_emplace(key, RoutePoint{(minX + maxX) / 2, (minY + maxY) / 2}).second)
            addresses.push_back(std::move(key));
    }
    m_addresses.Assign(addresses);
}

std::optional<std::pair<std::string, std::string>> PlaceLookup::house(std::string_view typed) const
{
    TextStandIns text;
    const AddressIndex::Lines lines = m_addresses.Suggest(text.toCp1251(typed));
    // Only a number read exactly: "5" names no house 51.
    if (lines.exact.empty())
        return std::nullopt;
    return std::pair{lines.exact.front().text, lines.exact.front().houseNo};
}

std::optional<RoutePoint> PlaceLookup::find(std::string_view typed) const
{
    if (const std::optional<RoutePoint> point = parseMapPoint(typed))
        return point;
    const auto key = house(typed);
    if (!key)
        return std::nullopt;
    return m_middles.at(*key);
}

std::string PlaceLookup::addressOf(std::string_view typed) const
{
    if (parseMapPoint(typed))
        return {};
    const auto key = house(typed);
    return key ? cp1251::decode(key->first + ", " + key->second).toStdString() : std::string();
}
