#pragma once

#include "TownGenerator.h"

#include <string>

// A top view of the generated town (ground, water, parks, roads, houses
// shaded by height, street names) saved as a PNG picture, for looking at the
// town without the program. `halfExtent` is the half-width shown, in units.
void saveTownPreview(const GeneratedTown& town, const std::string& pngPath, int pixels, float halfExtent);

// The town as the start-up camera sees it once its climb ends: from
// (37.2, -41.2, 40.2) looking at the centre, 60 degrees high, everything
// beyond 500 units cut off, houses in the program's normal green, lit from
// the camera. Painted polygon by polygon, far to near; a check of the
// ground's look, not a copy of the program's picture.
void saveStartupView(const GeneratedTown& town, const std::string& pngPath, int width, int height);
