#include "app/MapViewInput.h"

#include "directory/MapCorner.h"
#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/scene/GxCadencer.h"
#include "navigation/FrameCadence.h"
#include "navigation/FrameLoop.h"
#include "navigation/NorthUp.h"
#include "navigation/PointerInput.h"

MapViewInput::MapViewInput(MapState& state, MainScene& scene, const KeyStateSource& keys, MapPointer& pointer,
                           MapPicker& picker)
    : m_state(state), m_scene(scene), m_pointer(pointer), m_picker(picker),
      m_frameLoop(std::make_unique<FrameLoop>(state, scene, keys, pointer, picker))
{
}

MapViewInput::~MapViewInput() = default;

void MapViewInput::StartFrames()
{
    m_cadencer = std::make_unique<TGxCadencer>();
    m_cadencer->OnProgress = [this](TGxComponent*, double, double) { Tick(); };
    m_cadencer->SetScene(&m_scene.GxScene);
    m_cadence = std::make_unique<FrameCadence>(*m_cadencer);
    m_cadence->WatchInput();
}

void MapViewInput::Tick()
{
    const bool changed = m_frameLoop->Tick();
    if (m_cadence)
        m_cadence->TickDone(changed);
}

void MapViewInput::Shown()
{
    m_state.IntroClimb = true;
    SceneChanged();
}

void MapViewInput::SceneChanged()
{
    if (m_cadence)
        m_cadence->Wake();
}

bool MapViewInput::MouseDown(Qt::MouseButton button, int x, int y, const Select& select)
{
    // The north arrow lies over the map: a click on it turns the map and
    // chooses nothing under it.
    if (button == Qt::LeftButton && MapCorner::NorthArrowHit(m_pointer.ViewSize(), m_state, {x, y})) {
        StartNorthUp(m_state);
        SceneChanged();
        return false;
    }
    // Decided by the mode the press came in, before the selection acts on it.
    const bool choosing = button == Qt::LeftButton && !m_state.PanMode;
    if (select)
        select(button, x, y);
    return choosing;
}

bool MapViewInput::Measures(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    return button == Qt::LeftButton && modifiers.testFlag(Qt::ControlModifier) && !m_state.PanMode &&
           !modifiers.testFlag(Qt::ShiftModifier);
}

std::optional<RoutePoint> MapViewInput::GroundAt(int x, int y)
{
    TGxVector ground;
    const float windowY = float(m_pointer.ViewSize().height() - y);
    if (!m_picker.PixelOnGroundPlane(VectorMake(float(x), windowY, 0.0f, 0.0f), 0.0f, ground))
        return std::nullopt;
    return RoutePoint{ground.X, ground.Y};
}

void MapViewInput::PointerOverView()
{
    ::PointerOverView(m_state);
}

void MapViewInput::PointerOverWindow()
{
    ::PointerOverWindow(m_state, m_pointer);
}

bool MapViewInput::Wheel(double wheelDelta)
{
    return WheelZoom(m_state, *m_scene.GxFreeCamera, m_pointer.Cursor(), wheelDelta);
}
