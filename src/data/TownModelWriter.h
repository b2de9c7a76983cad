#pragma once

#include "base/ByteWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The records of a data.mod town model, as the writer takes them. Texts are
// Windows-1251 bytes.
struct TownHouseRecord {
    std::vector<std::array<float, 2>> nodes;
    std::vector<std::string> texts; // street, house number, floors (at most 3 in a sound file)
    std::int32_t colour = 0x008000;
};

struct TownRoadRecord {
    std::vector<std::array<float, 3>> nodes;
    std::vector<std::string> texts;
    std::int32_t colour = 0x808080;
};

struct TownPlaneRecord {
    std::array<float, 3> position{0, 0, 0};
    std::array<float, 3> up{0, 1, 0};
    std::array<float, 3> direction{0, 0, 1};
    float width = 1;
    float height = 1;
    std::string materialName; // at most 10 bytes
};

struct TownModel {
    std::vector<TownHouseRecord> houses;
    std::vector<TownRoadRecord> roads;
    std::vector<TownPlaneRecord> planes;
    std::int32_t trailer = 0;
};

constexpr std::size_t kTownTextCapacity = 30;
constexpr std::size_t kPlaneMaterialNameCapacity = 10;

ByteWriter writeTownModel(const TownModel& model);
void writeHouseRecord(ByteWriter& out, const TownHouseRecord& house);
void writeRoadRecord(ByteWriter& out, const TownRoadRecord& road);
void writePlaneRecord(ByteWriter& out, const TownPlaneRecord& plane);
