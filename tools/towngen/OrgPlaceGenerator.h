#pragma once

#include "HousePlacer.h"
#include "TownRandom.h"

#include "data/LandmarkListWriter.h"
#include "data/OrgPlacesWriter.h"
#include "data/OrgRecord.h"

#include <cstddef>
#include <string>
#include <vector>

// The kind (an id of the kinds table) that a generated organisation's name
// gives, from the words it starts with: "Аптека № 3" is a pharmacy, "Школа
// № 5" a school. kOtherKind for a name it does not know. UTF-8.
int kindOfGeneratedName(const std::string& utf8Name);

// Opening hours that suit a kind, in OpenStreetMap's form: some round the
// clock, some with a lunch break, some closed on Sunday, some none at all.
std::string generatedHours(int kind, TownRandom& random);

// The entries of orgplaces.dat for the generated directory: each
// organisation in the house it was given (`houseOf`, an index into the
// houses; past the last for none, as for the deliberately missing
// addresses), its kind from its name, and hours for the kind, the same for
// every branch of one name.
OrgPlaces generateOrgPlaces(const OrgRecords& orgs, const std::vector<std::size_t>& houseOf, std::size_t houseCount,
                            TownRandom random);

// A few organisations that only the place file puts on the map: without an
// address, in outbuildings (the houses numbered "0", which no address names),
// and at points in the parks, away from the landmarks. They take the places
// of some plain firms (chosen at random), so the directory keeps its size;
// `places` gets their entries. Only in a directory of 100 or more.
void addPlacedOnlyOrganisations(OrgRecords& orgs, OrgPlaces& places, const std::vector<PlacedHouse>& houses,
                                const std::vector<Polygon>& parks, const std::vector<LandmarkRecord>& landmarks,
                                TownRandom random);
