#pragma once

#include "engine/materials/GxMaterialLibrary.h"
#include "engine/scene/GxScene.h"

#include <functional>
#include <string>

class TGxCamera;
class TGxCylinder;
class TGxDummyCube;
class TGxLightSource;
class TGxXYZGrid;
class TMapLabels;
struct MapState;

// The 3D scene of the main window with the objects defined together with
// the window, created in their designed order with their initial
// properties: the camera target DCTarget carrying the map camera and its
// light, the pointer marker DCSelection with the Wand rod, the grid, the
// initial CurrentObject GxDummyCube, and the unused fixed camera. The town
// is loaded behind them.
class MainScene {
public:
    MainScene();
    MainScene(const MainScene&) = delete;
    MainScene& operator=(const MainScene&) = delete;

    // Declared first, freed last: the scene's materials link to it.
    TGxMaterialLibrary GxMaterialLibrary;
    TGxScene GxScene;

    TGxDummyCube* DCTarget = nullptr;
    TGxCamera* GxFreeCamera = nullptr;
    TGxLightSource* FreeLightSource = nullptr;
    TGxDummyCube* DCSelection = nullptr;
    TGxCylinder* Wand = nullptr;
    TGxXYZGrid* GxXYZGrid = nullptr;
    TGxDummyCube* GxDummyCube = nullptr;
    TGxCamera* GxCamera = nullptr;
    TGxLightSource* GxLightSource = nullptr;
    // The street names and house numbers, once the town is loaded.
    TMapLabels* Labels = nullptr;

    // Loads data.mod at `path` (with its library and landmarks)
    // behind the designed objects. `progress` hears how far it got (0..1).
    void LoadObjFromFile(const std::string& path, const std::function<void(double)>& progress = {});
    // Walls for every house directly under the object root, in child order.
    void Set3D(float heightScale, const std::function<void(double)>& progress = {});
    // The street names and house numbers of the loaded town, drawn after it
    // as `state` switches them (replacing any made before).
    TMapLabels* AddLabels(const MapState& state);
};
