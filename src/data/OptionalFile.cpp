#include "data/OptionalFile.h"

#include "base/FileSource.h"

#include <filesystem>

std::optional<ByteReader> readOptionalFile(const std::string& path)
{
    if (!fileSource().isFile(path)) {
        std::error_code ec;
        if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found)
            return std::nullopt;
    }
    return ByteReader::fromFile(path);
}
