#pragma once

#include "engine/objects/GxBaseMesh.h"

// The free-form mesh object the landmarks are made of.
class TGxFreeForm : public TGxBaseMesh {
public:
    using TGxBaseMesh::TGxBaseMesh;
    std::string_view ClassName() const override { return "TGxFreeForm"; }
};
