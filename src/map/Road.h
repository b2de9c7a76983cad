#pragma once

#include "engine/objects/GxPolygon.h"

#include <string>

// A road, river, square or other flat area: a polygon that is not a house.
class Troad : public TGxPolygon {
public:
    using TGxPolygon::TGxPolygon;
    std::string_view ClassName() const override { return "Troad"; }

    // The street a road piece carries, when the town's file names one
    // (Windows-1251; empty for areas and unnamed roads): the map writes it
    // along the road.
    const std::string& StreetName() const { return m_streetName; }
    void SetStreetName(std::string name) { m_streetName = std::move(name); }

private:
    std::string m_streetName;
};
