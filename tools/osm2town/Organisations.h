#pragma once

#include "Buildings.h"
#include "ImportReport.h"
#include "OrgPlacement.h"
#include "OsmExtract.h"
#include "TextStandIns.h"

#include "data/OrgRecord.h"

#include <string>
#include <string_view>

// Directory fields of fixed width. A value that does not fit is shortened
// only where the shorter text is still right; otherwise the field stays
// empty. Each returns Windows-1251 bytes and tallies what it did.

// The first of several telephones ("a; b"), then without spaces, brackets
// and dashes, else empty.
std::string fitPhone(std::string_view utf8, TextStandIns& text, ImportReport& report);
// The first of several addresses; never cut.
std::string fitEmail(std::string_view utf8, TextStandIns& text, ImportReport& report);
// Without "http://", "www." and a closing "/"; "https://" is kept, since an
// address without a scheme opens as "http://". Never cut.
std::string fitWeb(std::string_view utf8, TextStandIns& text, ImportReport& report);
// A name cut after its last whole word that fits.
std::string fitName(std::string_view utf8, TextStandIns& text, ImportReport& report);

// A named object with one of the keys that make it a directory entry.
bool isOrganisation(const OsmTags& tags);

// Organisations: nodes and areas with a name and one of amenity, shop,
// office, craft, tourism, healthcare or leisure, each placed in a house or at
// its point (OrgPlacement.h, `attachMetres` the reach to the nearest
// outline). The address is their own, else that of the house they are placed
// in, which may have taken it from one of them. `places`, when given,
// receives each one's entry of orgplaces.dat, in the records' order.
OrgRecords extractOrganisations(const OsmExtract& osm, const MapProjection& projection, ImportedBuildings& buildings,
                                TextStandIns& text, HouseNumberBook& numbers, ImportReport& report,
                                float attachMetres = kDefaultAttachDistance, OrgPlaces* places = nullptr);
