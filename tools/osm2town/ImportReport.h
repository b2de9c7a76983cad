#pragma once

#include "AddressForms.h"
#include "TextStandIns.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// What an import made, what it left out and why, and every replacement.
struct ImportReport {
    std::size_t objectsRead = 0;

    // houses
    std::size_t buildings = 0;          // building outlines in the extract
    std::size_t houses = 0;             // written
    std::size_t housesWithAddress = 0;
    std::size_t floorsFromLevels = 0;
    std::size_t floorsFromParts = 0;
    std::size_t floorsFromHeight = 0;
    std::map<std::string, std::pair<int, std::size_t>> defaultFloors; // building type → (floors, houses)
    std::size_t addressFromNode = 0;
    std::size_t addressFromStreetRelation = 0;
    std::size_t addressFromOrganisation = 0; // an organisation with an address standing in or near it
    std::size_t spareAddressNodes = 0;  // a second address node in a building that had one
    std::size_t numberWithoutStreet = 0;
    std::size_t innerRingsDropped = 0;
    std::size_t partsFolded = 0;        // building parts left out for the outline holding them
    std::size_t partsAsHouses = 0;      // parts with no outline around them
    std::size_t housesOutside = 0;
    std::size_t housesDegenerate = 0;
    std::size_t housesIncomplete = 0;   // a node or member missing from the extract
    std::size_t streetsCut = 0;

    // house numbers
    std::size_t numbersCompacted = 0;
    std::size_t numbersCut = 0;
    std::size_t numbersAmbiguous = 0;
    std::vector<HouseNumberBook::Collision> collisions;

    // roads, water, green
    std::size_t roads = 0;              // highway lines
    std::size_t roadPieces = 0;
    std::size_t squares = 0;            // highway areas
    std::size_t waterLines = 0;
    std::size_t waterAreas = 0;
    std::size_t greenAreas = 0;
    std::size_t areaTiles = 0;
    std::size_t underground = 0;        // tunnels and culverts left out
    std::size_t piecesOutside = 0;
    std::size_t areasIncomplete = 0;
    std::size_t linesIncomplete = 0;    // roads and waterways with a node missing: drawn with a gap
    std::size_t areaHoles = 0;          // inner rings (islands, clearings) left out of water and green
    std::size_t brokenRelations = 0;    // multipolygons missing members or whose rings do not close
    std::size_t unassembledWays = 0;    // closed ways crossing themselves, drawn as mapped
    std::size_t duplicates = 0;         // objects read twice, kept once

    // organisations
    std::size_t organisations = 0;
    std::size_t orgsWithHouse = 0;
    std::size_t orgsWithoutHouse = 0;
    std::size_t orgAddressOwn = 0;
    std::size_t orgAddressFromBuilding = 0;
    std::size_t orgsWithoutAddress = 0;
    std::size_t orgsOutside = 0;
    std::size_t orgsWithoutPlace = 0;   // an area with none of its nodes in the extract
    std::size_t namesCut = 0;
    std::size_t phonesFirstOfSeveral = 0;
    std::size_t phonesCompacted = 0;
    std::size_t phonesDropped = 0;
    std::size_t emailsFirstOfSeveral = 0;
    std::size_t emailsDropped = 0;
    std::size_t websShortened = 0;
    std::size_t websDropped = 0;
    // their places (orgplaces.dat)
    std::size_t orgsMappedAsHouse = 0;  // the organisation is a building
    std::size_t orgsInsideHouse = 0;
    std::size_t orgsNearHouse = 0;      // the nearest outline within the attach distance
    std::size_t orgsAtPoint = 0;
    std::size_t orgsAddressElsewhere = 0; // their own address is not that of the house they are placed in
    std::size_t orgsWithKind = 0;       // a kind other than "Прочее"
    std::size_t orgsWithHours = 0;      // opening_hours kept
    std::size_t hoursReadable = 0;      // of them, read completely
    std::size_t hoursDropped = 0;       // longer than 255 bytes or not UTF-8
    float attachMetres = 0;

    // text
    std::map<std::string, TextStandIns::Replacement> replacements;
    std::size_t standIns = 0;
    std::size_t questionMarks = 0;

    // the window's title
    std::string placeName;     // UTF-8; empty when the extract names no place
    std::string placeKind;     // city, town, village or suburb
    bool titleGiven = false;   // --title, which wins

    double seconds = 0;
};

// The report as the importer prints it (UTF-8, Russian).
std::string formatReport(const ImportReport& report);
