#pragma once

#include "engine/scene/VectorGeometry.h"
#include "navigation/MapInput.h"

#include <array>

class KeyStateSource;
class MainScene;
class Thouse;
struct MapState;

// Per-frame amounts: everything moves by a fixed amount per tick, whatever
// the time between ticks.
namespace frame {
inline constexpr float kClimbStepX = 0.3f;
inline constexpr float kClimbStepY = -0.3f;
inline constexpr float kClimbStepZ = 0.3f;
inline constexpr float kClimbEndHeight = 40.0f; // camera height above DCTarget that ends the climb
inline constexpr float kSquareEdge = 470.0f;    // DCTarget stays inside +-470 (the grid's extent)
inline constexpr float kHighestCamera = 120.0f; // camera height above DCTarget
inline constexpr float kAutoOrbitTurn = 0.5f;   // degrees per tick
inline constexpr float kOrbitPerPixel = 0.5f;   // degrees per pixel with the right button
inline constexpr float kLowest = 0.1f;          // lowest height of the camera and of DCTarget
} // namespace frame

// One frame of the map: the start-up climb, the town-square wrap of the
// look-at point, the automatic orbit, the turn to north up, the fly-to step, the ground marker
// under the pointer, orbiting with the right button, panning with Shift and
// the left button, and the glow of the house under the pointer.
class FrameLoop {
public:
    FrameLoop(MapState& state, MainScene& scene, const KeyStateSource& keys, MapPointer& pointer,
              MapPicker& picker)
        : m_state(state), m_scene(scene), m_keys(keys), m_pointer(pointer), m_picker(picker)
    {
    }

    // One tick. False when it changed nothing: not the camera, the target,
    // the marker, the rod, the pointer's shape, the glow nor anything the
    // next tick reads. With the same pointer and keys the next tick would
    // then change nothing either, so ticks may rest until something does.
    bool Tick();

private:
    // Everything a tick may change.
    struct Look {
        bool introClimb, autoOrbit, flyActive, northUpTurn, panMode, panAnchorSet;
        TGxVector panAnchor;
        int lastX, lastY;
        Thouse* hovered;
        std::array<float, 4> hoveredGlow;
        TGxVector cameraPosition, cameraDirection, cameraUp, target, marker, wand;
        bool markerVisible, wandVisible;
        MapCursor cursor;
        bool operator==(const Look&) const = default;
    };
    Look look() const;
    void wrapIntoSquare();
    void followPointer();
    void hoverGlow();

    MapState& m_state;
    MainScene& m_scene;
    const KeyStateSource& m_keys;
    MapPointer& m_pointer;
    MapPicker& m_picker;
};
