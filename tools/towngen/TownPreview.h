#pragma once

#include "TownGenerator.h"

#include <string>

// A top view of the generated town (ground, water, parks, roads, houses
// shaded by height, street names) saved as a PNG picture, for looking at the
// town without the program. `halfExtent` is the half-width shown, in units.
void saveTownPreview(const GeneratedTown& town, const std::string& pngPath, int pixels, float halfExtent);
