#pragma once

#include <cstdint>

// The desktop's current colour for a Windows system-colour index
// (COLOR_WINDOW = 5, COLOR_BTNFACE = 15, ...), as a Windows colour value
// (lowest byte red). Taken from the application's palette; indices without
// a counterpart give the palette's window colour.
std::uint32_t systemColorValue(int index);
