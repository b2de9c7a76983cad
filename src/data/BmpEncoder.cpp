#include "data/BmpEncoder.h"

#include "data/ByteWriter.h"

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
