#include "base/FileStream.h"

#include "base/FileSource.h"
#include "base/GxException.h"

ByteReader openFileStream(const std::string& fileName)
{
    const std::string path = nativePath(fileName);
    if (!fileSource().isFile(path))
        throw EGxError("File not found: \"" + fileName + "\"");
    return ByteReader(ByteReader::readFile(path), fileName);
}
