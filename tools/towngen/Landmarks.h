#pragma once

#include "TownPlan.h"

#include "data/LandmarkListWriter.h"

#include <string>
#include <vector>

// A 3DS file of a landmark model, written beside fl.dat.
struct LandmarkMesh {
    std::string file;
    std::string bytes;
};

struct TownLandmarks {
    std::vector<LandmarkMesh> meshes;
    std::vector<LandmarkRecord> records; // the blocks of fl.dat
};

// The demo town's landmarks, on ground no house takes: a monument in the
// middle of the square, a church with a dome in the park beside it (walls,
// roofs and domes as three models, for their three colours), a water tower
// in another park (shaft and tank), a bridge where the avenue crosses the
// river. Each model has materials and smoothing groups; a landmark whose
// place the plan lacks is left out.
TownLandmarks makeLandmarks(const TownPlan& plan);
