#pragma once

#include <string_view>

// Checks the blob headers of a PBF extract before libosmium reads it: each
// within the file, typed "OSMHeader" (the first) or "OSMData" (the rest), its
// blob within the file. libosmium's own reader compares a missing type
// through a null pointer, which the sanitizers stop at. Raises ImportError
// naming the first fault.
void checkPbfBlobHeaders(std::string_view bytes);
