#pragma once

#include <string_view>

// A decimal number written in a data file: optional blanks, an optional
// sign, digits with at most one decimal separator, an optional exponent
// ("e" or "E", optional sign, digits), optional blanks. The separator may be
// a comma (files written on Russian systems) or a full stop, whatever the
// locale: the same file loads on every machine. Anything else ("", "1,5.2",
// "1 000", "0x1p3", "inf") raises "'<text>' is not a valid floating point
// value", the text decoded from Windows-1251. Values past the float range
// become infinite.
float StrToFloat(std::string_view text);
