#pragma once

#include "base/ByteReader.h"

#include <string>

// The engine's way of opening a file it reads whole (a material library, a
// mesh): a name that is not an existing file raises "File not found:
// "<name>"", as the engine has always reported it; "\" in the name works
// as a folder separator.
ByteReader openFileStream(const std::string& fileName);
