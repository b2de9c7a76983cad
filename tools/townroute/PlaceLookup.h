#pragma once

#include "data/TownModelWriter.h"
#include "routing/Route.h"
#include "search/AddressIndex.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Where a typed place is on the map: "x,y" in map units, or an address
// "улица, номер" in UTF-8 read as the search panel reads it ("ленина 5",
// "5 ленина", "ул. Ленина, д. 5"), the characters Windows-1251 lacks read as
// the importer writes them ("ß" as "ss").
class PlaceLookup {
public:
    explicit PlaceLookup(const TownModel& model);

    // The point, or nullopt for an address no house has. An address is the
    // middle of its house's outline (the first house of that address).
    std::optional<RoutePoint> find(std::string_view typed) const;

    // The stored address a typed one names, "улица Ленина, 5" in UTF-8; empty
    // for coordinates or an unknown address.
    std::string addressOf(std::string_view typed) const;

private:
    std::optional<std::pair<std::string, std::string>> house(std::string_view typed) const;

    AddressIndex m_addresses;
    std::map<std::pair<std::string, std::string>, RoutePoint> m_middles; // (street, number), Windows-1251
};

// "x,y" (or "x, y", "x y") as two finite numbers; nullopt otherwise.
std::optional<RoutePoint> parseMapPoint(std::string_view text);
