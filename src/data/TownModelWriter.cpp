#include "data/TownModelWriter.h"

void writeHouseRecord(ByteWriter& out, const TownHouseRecord& house)
{
    out.int32(static_cast<std::int32_t>(house.nodes.size()));
    for (const auto& n : house.nodes) {
        out.float32(n[0]);
        out.float32(n[1]);
    }
    out.int32(static_cast<std::int32_t>(house.texts.size()));
    for (const auto& t : house.texts)
        out.shortString(t, kTownTextCapacity);
    out.int32(house.colour);
}

void writeRoadRecord(ByteWriter& out, const TownRoadRecord& road)
{
    out.int32(static_cast<std::int32_t>(road.nodes.size()));
    for (const auto& n : road.nodes) {
        out.float32(n[0]);
        out.float32(n[1]);
        out.float32(n[2]);
    }
    out.int32(static_cast<std::int32_t>(road.texts.size()));
    for (const auto& t : road.texts)
        out.shortString(t, kTownTextCapacity);
    out.int32(road.colour);
}

void writePlaneRecord(ByteWriter& out, const TownPlaneRecord& plane)
{
    for (float v : plane.position)
        out.float32(v);
    for (float v : plane.up)
        out.float32(v);
    for (float v : plane.direction)
        out.float32(v);
    out.float32(plane.width);
    out.float32(plane.height);
    out.shortString(plane.materialName, kPlaneMaterialNameCapacity);
}

ByteWriter writeTownModel(const TownModel& model)
{
    ByteWriter out;
    out.int32(static_cast<std::int32_t>(model.houses.size()));
    for (const auto& h : model.houses)
        writeHouseRecord(out, h);
    out.int32(static_cast<std::int32_t>(model.roads.size()));
    for (const auto& r : model.roads)
        writeRoadRecord(out, r);
    out.int32(static_cast<std::int32_t>(model.planes.size()));
    for (const auto& p : model.planes)
        writePlaneRecord(out, p);
    out.int32(model.trailer);
    return out;
}
