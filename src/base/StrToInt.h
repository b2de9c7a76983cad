#pragma once

#include <cstdint>
#include <string_view>

// A whole number written in a data file: decimal digits with an optional
// "+" or "-" in front, nothing before or after, within the 32-bit range.
// Anything else ("", " 5", "5 ", "1.5", "$1F", "0x1F") raises
// "'<text>' is not a valid integer value", the text decoded from Windows-1251.
std::int32_t StrToInt(std::string_view text);
