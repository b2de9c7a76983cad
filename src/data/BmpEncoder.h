#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A complete Windows BMP file (file header included), 24 bits per pixel,
// rows stored bottom-up and padded to 4 bytes. `rgb` holds width*height
// pixels as R, G, B bytes, top row first.
std::string encodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb);
