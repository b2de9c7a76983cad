#include "base/BmpDecoder.h"

#include "base/PictureLimits.h"
#include "base/GxException.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdint>
#include <cstdlib>

namespace {
[[noreturn]] void invalid()
{
    throw EGxError("Bitmap image is not valid");
}

std::uint32_t u32(std::string_view b, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
           | (std::uint32_t(p[3]) << 24);
}

std::uint16_t u16(std::string_view b, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
} // namespace

QImage decodeBmp(std::string_view bytes, int* bitsPerPixel)
{
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        invalid();
    const std::uint64_t dataOffset = u32(bytes, 10);
    const std::uint32_t headerSize = u32(bytes, 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64
        && headerSize != 108 && headerSize != 124)
        invalid();
    if (kFileHeader + headerSize > bytes.size())
        invalid();

    std::int64_t width, height;
    int planes, bpp;
    std::uint32_t compression = 0, colorsUsed = 0, imageSize = 0;
    if (core) {
        width = static_cast<std::int16_t>(u16(bytes, 18));
        height = static_cast<std::int16_t>(u16(bytes, 20));
        planes = u16(bytes, 22);
        bpp = u16(bytes, 24);
    } else {
        width = static_cast<std::int32_t>(u32(bytes, 18));
        height = static_cast<std::int32_t>(u32(bytes, 22));
        planes = u16(bytes, 26);
        bpp = u16(bytes, 28);
        compression = u32(bytes, 30);
        imageSize = u32(bytes, 34);
        colorsUsed = u32(bytes, 46);
    }
    const bool topDown = height < 0;
    const std::int64_t rows = std::llabs(height);
    if (planes != 1 || width <= 0 || rows == 0)
        invalid();
    const bool rle = compression == 1 || compression == 2;
    switch (compression) {
    case 0: // plain
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
            invalid();
        break;
    case 1: // RLE8
        if (bpp != 8 || topDown)
            invalid();
        break;
    case 2: // RLE4
        if (bpp != 4 || topDown)
            invalid();
        break;
    case 3: // bit fields
        if (bpp != 16 && bpp != 32)
            invalid();
        break;
    default:
        invalid();
    }

    std::uint64_t paletteEnd = kFileHeader + headerSize;
    if (compression == 3 && headerSize == 40)
        paletteEnd += 12; // the three colour masks follow the header
    if (bpp <= 8) {
        const std::uint64_t maxColors = 1u << bpp;
        const std::uint64_t colors = colorsUsed == 0 ? maxColors : colorsUsed;
        if (colors > 256)
            invalid();
        paletteEnd += colors * (core ? 3 : 4);
    }
    if (paletteEnd > bytes.size() || dataOffset < kFileHeader + headerSize || dataOffset >= bytes.size())
        invalid();

    if (rle) {
        if (imageSize != 0 && dataOffset + imageSize > bytes.size())
            invalid();
    } else {
        const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4;
        if (static_cast<std::uint64_t>(rows) > (bytes.size() - dataOffset) / rowBytes)
            invalid();
    }
    // A sound header: now its size decides.
    checkPictureSize(width, rows);

    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull() || image.width() != width || image.height() != rows)
        invalid();
    // A palette shorter than the indices the pixels use is read as the file
    // gives it; every index must still name a colour, or converting the
    // picture reads past its table. The missing ones are black.
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB) {
        const int needed = image.depth() == 1 ? 2 : 256;
        for (int i = image.colorCount(); i < needed; ++i) {
            image.setColorCount(i + 1);
            image.setColor(i, qRgb(0, 0, 0));
        }
    }
    if (bitsPerPixel)
        *bitsPerPixel = bpp;
    return image;
}
