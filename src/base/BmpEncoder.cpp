#include "base/BmpEncoder.h"

#include "base/ByteWriter.h"

#include <algorithm>

std::string encodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const int imageSize = rowSize * height;
    ByteWriter w;
    w.bytes("BM");
    w.int32(14 + 40 + imageSize);
    w.int32(0);
    w.int32(14 + 40);
    w.int32(40);
    w.int32(width);
    w.int32(height);
    w.int16(1);
    w.int16(24);
    w.int32(0); // no compression
    w.int32(imageSize);
    w.int32(2835);
    w.int32(2835);
    w.int32(0);
    w.int32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
            w.uint8(rgb[i + 2]);
            w.uint8(rgb[i + 1]);
            w.uint8(rgb[i]);
        }
        w.zeros(static_cast<std::size_t>(rowSize - width * 3));
    }
    return std::string(w.data().begin(), w.data().end());
}

std::string encodeBmpRle8(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    ByteWriter runs;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255) {
            runs.uint8(std::uint8_t(std::min(left, 255)));
            runs.uint8(0); // the one palette colour
        }
        runs.uint8(0);
        runs.uint8(y + 1 < height ? 0 : 1); // end of line, end of picture
    }
    ByteWriter w;
    w.bytes("BM");
    w.int32(int(14 + 40 + 4 + runs.size()));
    w.int32(0);
    w.int32(14 + 40 + 4);
    w.int32(40);
    w.int32(width);
    w.int32(height);
    w.int16(1);
    w.int16(8);
    w.int32(1); // RLE8
    w.int32(int(runs.size()));
    w.int32(2835);
    w.int32(2835);
    w.int32(1); // colours used
    w.int32(0);
    w.uint8(blue);
    w.uint8(green);
    w.uint8(red);
    w.uint8(0);
    w.bytes(std::string_view(runs.data().data(), runs.size()));
    return std::string(w.data().begin(), w.data().end());
}
