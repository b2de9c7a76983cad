#pragma once

#include "engine/objects/GxPolygon.h"

// A road, river, square or other flat area: a polygon that is not a house.
class Troad : public TGxPolygon {
public:
    using TGxPolygon::TGxPolygon;
    std::string_view ClassName() const override { return "Troad"; }
};
