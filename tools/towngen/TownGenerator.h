#pragma once

#include "HousePlacer.h"
#include "Landmarks.h"
#include "OrgGenerator.h"
#include "TownPlan.h"

#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/OrgPlacesWriter.h"
#include "data/OrgRecord.h"
#include "data/TownModelWriter.h"

#include <cstdint>
#include <string>
#include <vector>

struct TownOptions {
    std::size_t houses = 1100;
    std::size_t organisations = 1500;
    std::uint64_t seed = 1;
};

// Everything the generator makes for one town: the plan and houses it drew,
// and the records of the four data files.
struct GeneratedTown {
    TownPlan plan;
    std::vector<PlacedHouse> houses;
    TownModel model;
    std::vector<LibMaterialRecord> materials;
    std::vector<LandmarkRecord> landmarks;   // the blocks of fl.dat
    std::vector<LandmarkMesh> landmarkMeshes; // the 3DS files they name
    OrgRecords organisations;
    OrgPlaces places; // orgplaces.dat: each organisation's house or point, kind and hours
    std::vector<AddressKey> missingAddresses; // entries deliberately without a house
};

// Height of the map's planes and flat areas: ground planes lie just below
// Z = 0, areas and roads just above, so no two coplanar surfaces overlap.
namespace townz {
constexpr float kGrass = -0.05f;
constexpr float kGround = -0.025f;
constexpr float kArea = 0.01f;
constexpr float kWater = 0.02f;
constexpr float kPond = 0.025f;
constexpr float kRoad = 0.035f;
} // namespace townz

// Windows colours of flat areas and roads.
std::int32_t areaColour(AreaKind kind);
std::int32_t roadColour();

GeneratedTown generateTown(const TownOptions& options);

// Writes data.mod, data.modt, fl.dat, the landmarks' 3DS files, data.tmd
// and orgplaces.dat into `folder`, creating it.
void writeTownFiles(const GeneratedTown& town, const std::string& folder);
