#pragma once

#include "data/TownModelWriter.h"

#include <cstdint>
#include <string>

class ByteReader;

// Reads the town model data.mod into the records the writer takes: the
// houses, the roads (their texts too) and the ground planes, in file order,
// then the trailer. Errors:
//   missing file: "Cannot open file "<path>". <reason>"
//   a file that ends inside a record, a count its bytes cannot hold, or a
//   house without nodes: the damaged-file error naming the file.
// The material library and the landmark list beside it are files of their
// own (map/TownBuilder.h loads all three).
TownModel readTownModel(const std::string& path);
TownModel readTownModel(ByteReader& in);

// The pieces, for a reader that acts on each record as it comes. A count is
// checked against the bytes left (every house or road takes at least 12
// bytes, a plane 55); a negative count means none.
std::int32_t readHouseOrRoadCount(ByteReader& in);
std::int32_t readPlaneCount(ByteReader& in);
TownHouseRecord readHouseRecord(ByteReader& in);
TownRoadRecord readRoadRecord(ByteReader& in);
TownPlaneRecord readPlaneRecord(ByteReader& in);
