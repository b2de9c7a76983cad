#pragma once

#include <string>
#include <string_view>

// The text of a town.ini naming the town `titleUtf8` (see TownIniReader.h).
// Line breaks and tabs in the title become spaces, and the spaces around it
// are dropped, so that it reads back as given.
std::string writeTownIni(std::string_view titleUtf8);
