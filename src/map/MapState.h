#pragma once

#include "data/TownScale.h"
#include "engine/scene/VectorGeometry.h"

#include <string>

class TGxBaseSceneObject;
class TGxHUDSprite;
class Thouse;

// The main window's interaction state: one instance for the life of the
// process, used on the UI thread only.
struct MapState {
    // The scene object last chosen: GxDummyCube at start-up, then the object a
    // click hits or the house a search finds. Never cleared.
    TGxBaseSceneObject* CurrentObject = nullptr;
    // The house whose address SelAct repaints; the hover glow skips it.
    Thouse* SelectedHouse = nullptr;
    // The house under the pointer, glowing.
    Thouse* HoveredHouse = nullptr;

    // A street searched without a house number: SelAct highlights the whole street.
    bool StreetMode = false;
    std::string StreetModeName; // Windows-1251 bytes

    bool IntroClimb = false; // the camera's climb after the main window is shown
    bool AutoOrbit = false;  // the camera circles its target 0.5 degrees per frame
    bool FlyActive = false;  // a fly-to of the camera target is running
    bool NorthUpTurn = false; // the camera is turning the map north up
    TGxVector FlyTarget;

    bool PointerInViewer = false; // the wheel zooms only then
    bool PanMode = false;         // a Shift key is held this frame
    TGxVector PanAnchor;
    bool PanAnchorSet = false;
    struct Pixel {
        int x = 0;
        int y = 0;
    };
    Pixel LastPointer; // last pointer position inside the view, view pixels

    TGxHUDSprite* HintSprite = nullptr; // the floating address label

    // The two settings; in memory only.
    bool AutoMoveTo = true;
    bool ShowNonBuildings = true;

    // What is drawn over the map to read it; kept between runs.
    bool ShowStreetNames = true;
    bool ShowHouseNumbers = true;
    bool ShowNorthArrow = true;
    bool ShowScaleBar = true;

    // A house's roof height is its floors x 3 x HeightScale.
    float HeightScale = kHeightScale;
};
