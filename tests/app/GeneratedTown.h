#pragma once

// A generated town written once for a whole test suite, and loaded into a
// scene as the program loads its town: the model, the walls at the
// program's height scale, every house in its normal colour.
#include "TownGenerator.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "directory/Selection.h"
#include "support/TempDir.h"

#include <cstddef>
#include <string>

class GeneratedTownFolder {
public:
    explicit GeneratedTownFolder(std::size_t houses = TownOptions().houses)
    {
        TownOptions options;
        options.houses = houses;
        options.organisations = 10;
        writeTownFiles(generateTown(options), m_dir.path());
    }

    std::string model() const { return m_dir.file("data.mod"); }

private:
    TempDir m_dir;
};

inline void loadAsTheProgramDoes(MainScene& scene, const MapState& state, const std::string& model)
{
    scene.LoadObjFromFile(model);
    scene.Set3D(state.HeightScale);
    DeSelectAll(scene.GxScene);
}
