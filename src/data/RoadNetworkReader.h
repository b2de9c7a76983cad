#pragma once

#include "base/ByteReader.h"
#include "data/RoadNetworkWriter.h"

#include <optional>
#include <string>

// Reads the whole file. A damaged file raises the damaged-file EGxError
// naming it: shorter than its header, no "QVRN" mark, a version other than
// 1, counts above the bounds or above what the bytes can hold, a record cut
// short, a point not finite, a name longer than 255 bytes, a piece naming a
// node or a name that is not there, a class or flags out of range, bytes
// after the last piece. Memory grows only with the records the bytes hold.
RoadNetwork readRoadNetwork(ByteReader& in);

// The file at `path`, or nullopt when there is none (a town folder without
// it has no routes). One that exists but cannot be read raises
// "Cannot open file "<path>". <reason>"; a damaged one, the error above.
std::optional<RoadNetwork> readRoadNetworkFile(const std::string& path);
