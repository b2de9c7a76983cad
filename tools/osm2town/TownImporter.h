#pragma once

#include "DiskSync.h"
#include "ImportReport.h"
#include "OrgPlacement.h"

#include "data/MaterialLibraryWriter.h"
#include "data/OrgPlacesWriter.h"
#include "data/OrgRecord.h"
#include "data/TownModelWriter.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ImportOptions {
    // The map's centre (latitude, longitude); else the middle of the extract.
    std::optional<std::pair<double, double>> centre;
    // How far (metres) an organisation standing in no building may be from
    // the nearest one's outline and still be placed in it.
    float attachDistance = kDefaultAttachDistance;
    // Told what the import is doing, now and then.
    std::function<void(const std::string&)> progress;
};

// A town made from an extract: the records of the program's data files.
struct ImportedTown {
    TownModel model;
    std::vector<LibMaterialRecord> materials;
    OrgRecords organisations;
    OrgPlaces places; // by the organisations' order: orgplaces.dat
    ImportReport report;
    std::string title; // the name of the place nearest the centre (UTF-8); empty when the extract names none
};

// Imports an extract held in memory. Touches no file: a damaged extract, or
// one with nothing to draw inside the map square, raises ImportError.
ImportedTown importTown(std::string_view bytes, const ImportOptions& options = {});
// Imports an extract file (.osm, .osm.gz, .osm.bz2, .osm.pbf).
ImportedTown importTownFile(const std::string& path, const ImportOptions& options = {});

// The attribution text written beside the data (UTF-8).
std::string attributionText(const std::string& sourceName);

// Writes data.mod, data.modt, fl.dat, data.tmd, orgplaces.dat, the attribution and, with a
// title, town.ini into `folder`. They are written into a new folder beside
// it that then takes its place, so a failure leaves no half-written folder;
// each file and folder is synced to the disk (through `sync`) before the old
// town is let go. An existing folder is replaced only when it holds nothing
// but such files.
void writeTownFolder(const ImportedTown& town, const std::string& folder, const std::string& sourceName,
                     const std::string& titleUtf8 = {}, const SyncToDisk& sync = syncToDisk);
