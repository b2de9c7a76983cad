#pragma once

#include "routing/Route.h"

#include <Qt>

#include <functional>
#include <memory>
#include <optional>

class FrameCadence;
class FrameLoop;
class KeyStateSource;
class MainScene;
class MapPicker;
class MapPointer;
class TGxCadencer;
struct MapState;

// The map view's input and its frames, apart from the widget that shows
// them: presses, the pointer over the view or the window, the wheel, and the
// frame loop ticked by a cadencer from the end of start-up on.
class MapViewInput {
public:
    // `keys`, `pointer` and `picker` are the live ones in the program, and
    // outlive this.
    MapViewInput(MapState& state, MainScene& scene, const KeyStateSource& keys, MapPointer& pointer,
                 MapPicker& picker);
    ~MapViewInput();
    MapViewInput(const MapViewInput&) = delete;
    MapViewInput& operator=(const MapViewInput&) = delete;

    // Loading is over: from now on the map moves once per shown frame, while
    // something moves, and rests while nothing does.
    void StartFrames();
    // Null before StartFrames.
    TGxCadencer* Cadencer() const { return m_cadencer.get(); }
    FrameCadence* Cadence() const { return m_cadence.get(); }

    // One frame of the map (the cadencer's progress); what it changed lets
    // the cadence rest or not.
    void Tick();
    // The window is shown: the camera's start-up climb begins.
    void Shown();
    // The scene changed outside a tick: whatever it started moving moves.
    void SceneChanged();

    // A button pressed on the view at (x, y): `select` does what the press does
    // to the selection. True when the press chose a house (the left button
    // outside pan mode). A left press on the north arrow turns the map north
    // up instead, and selects nothing.
    using Select = std::function<void(Qt::MouseButton button, int x, int y)>;
    bool MouseDown(Qt::MouseButton button, int x, int y, const Select& select);
    // A press that measures instead of choosing: Ctrl with the left button,
    // outside pan mode.
    bool Measures(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const;
    // The point of the ground (z = 0) under view pixel (x, y), top-left
    // origin; none when the ray through it misses the ground.
    std::optional<RoutePoint> GroundAt(int x, int y);
    // The pointer moved over the view (the wheel zooms) or over the window's
    // own background (it does not, and the view's pointer is blank again).
    void PointerOverView();
    void PointerOverWindow();
    // A wheel turn reaching the window; true when it zoomed.
    bool Wheel(double wheelDelta);

private:
    MapState& m_state;
    MainScene& m_scene;
    MapPointer& m_pointer;
    MapPicker& m_picker;
    std::unique_ptr<FrameLoop> m_frameLoop;
    std::unique_ptr<TGxCadencer> m_cadencer;
    // Declared after the cadencer it switches, so it goes first.
    std::unique_ptr<FrameCadence> m_cadence;
};
