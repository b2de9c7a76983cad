#pragma once

#include "base/ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The head shared by the town folder's own binary files: a four-byte mark
// and a version, then counts. Each failure is the damaged-file error.

// Checks that the header's `headerSize` bytes are there, the mark and the
// version; `markName` says whose mark it is ("файла дорожной сети QVRN").
void readFileMark(ByteReader& in, std::size_t headerSize, const char (&mark)[4], std::uint16_t version,
                  std::string_view markName);

// A count of `what` ("записей") no larger than `bound`.
std::uint32_t readBoundedCount(ByteReader& in, std::size_t bound, std::string_view what);
