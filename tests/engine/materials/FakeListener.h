#pragma once

#include "engine/scene/GxUpdateAble.h"

// Stands in for the scene object that owns a material.
struct FakeListener : IGxChangeListener {
    int changes = 0;
    int structureChanges = 0;
    void NotifyChange(IGxChangeListener*) override { ++changes; }
    void StructureChanged() override { ++structureChanges; }
};
