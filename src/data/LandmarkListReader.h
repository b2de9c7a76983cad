#pragma once

#include "data/LandmarkListWriter.h"

#include <cstddef>
#include <string>
#include <vector>

// The landmark list fl.dat: 14 lines per landmark (the mesh file, then
// position, scale, direction and up, three numbers each, then the colour).
// Errors:
//   missing fl.dat:     "Cannot open file "<path>". <reason>"
//   a block cut short:  "List index out of bounds (<line>)"
//   a bad number:       "'<text>' is not a valid floating point value"
//                       (a comma or a full stop as the decimal separator),
//                       "'<text>' is not a valid integer value" (the colour)
class LandmarkList {
public:
    // fl.dat in `dataFolder` (empty: the working folder).
    static LandmarkList fromFolder(const std::string& dataFolder);
    explicit LandmarkList(std::vector<std::string> lines);

    // How many landmarks the list asks for (landmarkCount of its lines).
    int count() const;
    // Landmark i's mesh line, Windows-1251 bytes, as written.
    const std::string& meshLine(int i) const;
    // Landmark i, its numbers read line by line in file order.
    LandmarkRecord record(int i) const;

private:
    const std::string& line(std::size_t i) const;
    float number(std::size_t i) const;

    std::vector<std::string> m_lines;
};

// Every landmark of fl.dat in `dataFolder`, in file order.
std::vector<LandmarkRecord> readLandmarkList(const std::string& dataFolder);

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
