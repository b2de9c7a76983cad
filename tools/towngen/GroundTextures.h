#pragma once

#include "TownPlan.h"

#include "data/MaterialLibraryWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// Seamless ground pictures made from periodic noise, so that a plane whose
// material repeats them shows no seams.
struct GroundPicture {
    int size = 128;
    std::vector<std::uint8_t> rgb; // size * size pixels, R, G, B, top row first
};

GroundPicture groundPicture(GroundKind kind);
// How many units one copy of the picture covers on the ground.
float groundTileSize(GroundKind kind);
// Library material name for a plane of this kind and size (at most 10 bytes).
std::string groundMaterialName(GroundKind kind, float width, float height);

// The library material of a ground plane of this kind and size, its picture
// `bmp` (a BMP file) repeated at the kind's natural scale.
LibMaterialRecord groundMaterial(GroundKind kind, const std::string& name, const std::string& bmp, float width,
                                 float height);
