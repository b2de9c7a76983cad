#include "data/FileStream.h"

#include "data/FileSource.h"
#include "engine/materials/PictureFile.h"
#include "engine/scene/GxException.h"

ByteReader openFileStream(const std::string& fileName)
{
    const std::string path = nativePath(fileName);
    if (!fileSource().isFile(path))
        throw EGxError("File not found: \"" + fileName + "\"");
    return ByteReader(ByteReader::readFile(path), fileName);
}
