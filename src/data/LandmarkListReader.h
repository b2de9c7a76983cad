#pragma once

#include <string>
#include <vector>

class TGxMaterialLibrary;
class TGxScene;

// Loads the landmark models listed in fl.dat in `dataFolder` (empty: the
// working folder), the last step of loading the town model: 14 lines per
// landmark, a TGxFreeForm under the object root for each, in file order.
// A landmark's name must differ (letter case aside) from the other
// landmarks' and the two roots' only. The library is not the landmarks':
// they draw with their own material, coloured by the list. Errors end the
// load; the landmarks made before stay in the scene.
//   missing fl.dat:     "Cannot open file "<path>". <reason>"
//   missing mesh file:  "File not found: "<path>""
//   a block cut short:  "List index out of bounds (<line>)"
//   a bad name:         "''<name>'' is not a valid component name",
//                       "A component named <name> already exists"
//   a bad number:       "'<text>' is not a valid floating point value"
//                       (a comma or a full stop as the decimal separator),
//                       "'<text>' is not a valid integer value" (the colour)
void LoadLandmarks(TGxScene& scene, const std::string& dataFolder, TGxMaterialLibrary& library);

// The lines of a text ending each with CR LF, LF or CR (the last one may
// have no ending).
std::vector<std::string> splitLines(const std::string& text);

// How many landmarks a list of that many lines asks for: the line count
// / 14 - 1 rounded (halves to even), plus 1 unless negative.
int landmarkCount(std::size_t lineCount);

// A landmark's object name from its mesh line: without folders ("\" or
// ":"; "/" is not one here) and without the last four characters (dot and
// extension) when there are at least four.
std::string landmarkName(const std::string& meshLine);
