#include "engine/materials/PictureFile.h"

#include "base/BmpDecoder.h"
#include "base/PictureLimits.h"
#include "base/ByteReader.h"
#include "base/FileSource.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/JpegDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <filesystem>

Picture Picture::fromImage(const QImage& image)
{
    Picture p;
    if (image.isNull())
        return p;
    p.kind = Kind::Bitmap;
    p.bitsPerPixel = image.hasAlphaChannel() ? 32 : 24;
    p.image = image;
    return p;
}

namespace {
std::string extensionOf(const std::string& fileName)
{
    const std::string ext = std::filesystem::path(nativePath(fileName)).extension().string();
    std::string lower = ext.empty() ? ext : ext.substr(1);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

Picture decodeIcon(std::string_view bytes)
{
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    const QSize size = reader.size();
    checkPictureSize(size.width(), size.height());
    QImage image = reader.read();
    if (image.isNull())
        throw EGxError("Icon image is not valid");
    Picture p;
    p.kind = Picture::Kind::Icon;
    p.bitsPerPixel = 32;
    p.image = image;
    return p;
}
} // namespace

bool isRegisteredPictureExtension(const std::string& fileName)
{
    const std::string ext = extensionOf(fileName);
    return ext == "bmp" || ext == "ico" || ext == "jpg" || ext == "jpeg" || ext == "emf" || ext == "wmf";
}

Picture decodeBmpPicture(std::string_view bytes)
{
    Picture p;
    p.image = decodeBmp(bytes, &p.bitsPerPixel);
    p.kind = Picture::Kind::Bitmap;
    return p;
}

Picture loadPictureFile(const std::string& fileName)
{
    const std::string path = nativePath(fileName);
    if (!fileSource().isFile(path))
        throw ETexture("Could not open file: " + fileName);
    const std::string ext = extensionOf(fileName);
    if (ext == "emf" || ext == "wmf")
        throw ETexture("Could not open file: " + fileName + " (metafile pictures cannot be read here)");
    if (!isRegisteredPictureExtension(fileName))
        throw ETexture("Unknown picture file extension (." + ext + ")");
    std::vector<char> bytes;
    try {
        bytes = ByteReader::readFile(path);
    } catch (const EGxError&) {
        throw ETexture("Could not open file: " + fileName);
    }
    const std::string_view view(bytes.data(), bytes.size());
    try {
        if (ext == "bmp")
            return decodeBmpPicture(view);
        if (ext == "ico")
            return decodeIcon(view);
        Picture p;
        p.kind = Picture::Kind::Jpeg;
        p.bitsPerPixel = 24;
        p.image = decodeJpeg(view);
        return p;
    } catch (const ETexture&) {
        throw;
    } catch (const EGxError& e) {
        throw ETexture(std::string(e.what()) + ": " + fileName);
    }
}
