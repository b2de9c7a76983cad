#pragma once

#include "base/ByteReader.h"

#include <optional>
#include <string>

// The bytes of an optional file of the town folder, or nullopt when nothing
// is at `path` (the folder works without it). Only a path where nothing is
// counts as no file: a folder or a file that cannot be read under that name
// raises "Cannot open file "<path>". <reason>", an error the user must see.
std::optional<ByteReader> readOptionalFile(const std::string& path);
