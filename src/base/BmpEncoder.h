#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A complete Windows BMP file (file header included), 24 bits per pixel,
// rows stored bottom-up and padded to 4 bytes. `rgb` holds width*height
// pixels as R, G, B bytes, top row first.
std::string encodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb);

// A BMP file of one colour, run-length coded with 8 bits a pixel: the
// smallest file of its size (a fixture for size bounds and fuzzing seeds).
std::string encodeBmpRle8(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
