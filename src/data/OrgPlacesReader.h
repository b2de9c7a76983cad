#pragma once

#include "base/ByteReader.h"
#include "data/OrgPlacesWriter.h"

#include <cstddef>
#include <optional>
#include <string>

// Reads the whole file. A damaged file raises the damaged-file EGxError
// naming it: shorter than its header, no "QVOP" mark, a version other than
// 1, a count above 10,000,000 or above what the bytes can hold, an entry
// cut short, a place kind out of range, a point not finite, hours longer
// than 255 bytes or not UTF-8, bytes after the last entry. House indices
// are kept as they are: validateOrgPlaces checks them against the town.
// Memory grows only with the entries the bytes hold.
OrgPlaces readOrgPlaces(ByteReader& in);

// The file at `path`, or nullopt when there is none (a town folder without
// it works as before). One that exists but cannot be read raises
// "Cannot open file "<path>". <reason>"; a damaged one, the error above.
std::optional<OrgPlaces> readOrgPlacesFile(const std::string& path);

// Raises the damaged-file error of `fileName` unless every entry belongs to
// one of the directory's `orgCount` organisations and every house index is
// one of data.mod's `houseCount` houses.
void validateOrgPlaces(const OrgPlaces& places, std::size_t orgCount, std::size_t houseCount,
                       const std::string& fileName = orgplaces::kFileName);
