#pragma once

#include <string>

// Loads the town model data.mod, with its material library (data.modt) and
// landmark list (fl.dat) beside it. A file that cannot be opened raises
// "Cannot open file "<path>". <reason>".
void LoadObjFromFile(const std::string& path);
