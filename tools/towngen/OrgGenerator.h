#pragma once

#include "HousePlacer.h"
#include "TownPlan.h"

#include "data/OrgRecord.h"

#include <string>
#include <utility>
#include <vector>

// A street and house number, in Windows-1251 as the directory stores them.
using AddressKey = std::pair<std::string, std::string>;

// The organisations of the town's directory: shops, schools, offices and so on
// at the town's houses, a few chains, some houses with many tenants, entries
// without telephone or web, and `missing` receives the few deliberate
// addresses that have no house on the map. Texts are Windows-1251.
// `houseOf`, when given, receives each record's house (an index into
// `houses`; houses.size() for the missing addresses).
OrgRecords generateOrganisations(const TownPlan& plan, const std::vector<PlacedHouse>& houses, std::size_t count,
                                 TownRandom random, std::vector<AddressKey>* missing,
                                 std::vector<std::size_t>* houseOf = nullptr);

// Latin letters for a Russian text, for e-mail and web addresses.
std::string transliterate(const std::string& utf8);
