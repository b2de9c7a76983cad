#include "data/FileStream.h"

#include "engine/materials/PictureFile.h"
#include "engine/scene/GxException.h"

#include <filesystem>

ByteReader openFileStream(const std::string& fileName)
{
    const std::string path = nativePath(fileName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw EGxError("File not found: \"" + fileName + "\"");
    return ByteReader(ByteReader::readFile(path), fileName);
}
