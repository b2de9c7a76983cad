#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One block of fl.dat: a mesh file (relative to the data folder) and how the
// landmark is placed.
struct LandmarkRecord {
    std::string meshFile;
    std::array<float, 3> position{0, 0, 0};
    std::array<float, 3> scale{1, 1, 1};
    std::array<float, 3> direction{0, 1, 0};
    std::array<float, 3> up{0, 0, 1};
    std::int32_t colour = 0xFFFFFF;
};

// The text of fl.dat: 14 lines per landmark. Numbers use `decimalSeparator`.
std::string writeLandmarkList(const std::vector<LandmarkRecord>& landmarks, char decimalSeparator = ',',
                              const std::string& lineEnd = "\r\n");
