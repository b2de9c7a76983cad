#include "data/TownModelReader.h"

#include "base/ByteReader.h"

#include <string>

namespace {

// Smallest records: a count, nothing behind it, a second count and a colour.
constexpr std::size_t kMinPolygonRecord = 12;
constexpr std::size_t kPlaneRecord = 55;
constexpr std::size_t kTextRecord = 1 + kTownTextCapacity;

std::int32_t readCount(ByteReader& in, std::size_t minRecordSize)
{
    const std::int32_t count = in.int32();
    in.requireRecords(count, minRecordSize);
    return count;
}

std::vector<std::string> readTexts(ByteReader& in)
{
    const std::int32_t texts = readCount(in, kTextRecord);
    std::vector<std::string> result;
    if (texts > 0)
        result.reserve(std::size_t(texts));
    for (std::int32_t i = 0; i < texts; ++i)
        result.push_back(in.shortString(kTownTextCapacity));
    return result;
}

} // namespace

std::int32_t readHouseOrRoadCount(ByteReader& in)
{
    return readCount(in, kMinPolygonRecord);
}

std::int32_t readPlaneCount(ByteReader& in)
{
    return readCount(in, kPlaneRecord);
}

TownHouseRecord readHouseRecord(ByteReader& in)
{
    TownHouseRecord house;
    const std::int32_t nodes = readCount(in, 2 * sizeof(float));
    // Its walls could not be built: the whole start-up would stop there.
    if (nodes <= 0)
        in.failDamaged("у дома нет ни одного узла (байт " + std::to_string(in.position()) + " из "
                       + std::to_string(in.size()) + ")");
    house.nodes.reserve(std::size_t(nodes));
    for (std::int32_t i = 0; i < nodes; ++i) {
        const float x = in.float32();
        const float y = in.float32();
        house.nodes.push_back({x, y});
    }
    house.texts = readTexts(in);
    house.colour = in.int32();
    return house;
}

TownRoadRecord readRoadRecord(ByteReader& in)
{
    TownRoadRecord road;
    const std::int32_t nodes = readCount(in, 3 * sizeof(float));
    if (nodes > 0)
        road.nodes.reserve(std::size_t(nodes));
    for (std::int32_t i = 0; i < nodes; ++i) {
        const float x = in.float32();
        const float y = in.float32();
        const float z = in.float32();
        road.nodes.push_back({x, y, z});
    }
    road.texts = readTexts(in);
    road.colour = in.int32();
    return road;
}

TownPlaneRecord readPlaneRecord(ByteReader& in)
{
    // The whole record first: a short one raises before anything is read.
    in.requireRecords(1, kPlaneRecord);
    TownPlaneRecord plane;
    for (float& f : plane.position)
        f = in.float32();
    for (float& f : plane.up)
        f = in.float32();
    for (float& f : plane.direction)
        f = in.float32();
    plane.width = in.float32();
    plane.height = in.float32();
    plane.materialName = in.shortString(kPlaneMaterialNameCapacity);
    return plane;
}

TownModel readTownModel(ByteReader& in)
{
    TownModel town;
    const std::int32_t houses = readHouseOrRoadCount(in);
    for (std::int32_t i = 0; i < houses; ++i)
        town.houses.push_back(readHouseRecord(in));
    const std::int32_t roads = readHouseOrRoadCount(in);
    for (std::int32_t i = 0; i < roads; ++i)
        town.roads.push_back(readRoadRecord(in));
    const std::int32_t planes = readPlaneCount(in);
    for (std::int32_t i = 0; i < planes; ++i)
        town.planes.push_back(readPlaneRecord(in));
    town.trailer = in.int32();
    return town;
}

TownModel readTownModel(const std::string& path)
{
    ByteReader in = ByteReader::fromFile(path);
    return readTownModel(in);
}
