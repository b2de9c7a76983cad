#include "navigation/FrameLoop.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "navigation/FlyTo.h"
#include "navigation/MapInput.h"
#include "navigation/NorthUp.h"
#include "platform/KeyState.h"
#include "map/House.h"

#include <utility>

using namespace frame;

namespace {
Thouse* houseOf(TGxBaseSceneObject* object)
{
    if (object == nullptr)
        return nullptr;
    if (auto* house = dynamic_cast<Thouse*>(object))
        return house;
    // A wall is a child of its house.
    return dynamic_cast<Thouse*>(object->Parent());
}
} // namespace

FrameLoop::Look FrameLoop::look() const
{
    const TGxCamera& camera = *m_scene.GxFreeCamera;
    Thouse* hovered = m_state.HoveredHouse;
    return {m_state.IntroClimb,
            m_state.AutoOrbit,
            m_state.FlyActive,
            m_state.NorthUpTurn,
            m_state.PanMode,
            m_state.PanAnchorSet,
            m_state.PanAnchor,
            m_state.LastPointer.x,
            m_state.LastPointer.y,
            hovered,
            hovered ? std::as_const(*hovered).Material().FrontProperties().Emission().Vector() : std::array<float, 4>{},
            camera.Position().Vector4(),
            camera.Direction().Vector4(),
            camera.Up().Vector4(),
            m_scene.DCTarget->Position().Vector4(),
            m_scene.DCSelection->Position().Vector4(),
            m_scene.Wand->Position().Vector4(),
            m_scene.DCSelection->Visible(),
            m_scene.Wand->Visible(),
            m_pointer.Cursor()};
}

bool FrameLoop::Tick()
{
    const Look before = look();
    TGxCamera& camera = *m_scene.GxFreeCamera;
    TGxCylinder& wand = *m_scene.Wand;

    if (m_state.IntroClimb) {
        camera.Translate(kClimbStepX, kClimbStepY, kClimbStepZ);
        if (camera.Position().Z() > kClimbEndHeight)
            m_state.IntroClimb = false;
    }
    wand.SetVisible(true);
    wrapIntoSquare();
    if (camera.Position().Z() > kHighestCamera)
        camera.Position().SetZ(kHighestCamera);
    if (m_state.AutoOrbit)
        camera.OrbitTarget(0.0f, kAutoOrbitTurn);
    if (m_state.NorthUpTurn)
        NorthUpStep(m_state, camera);
    if (m_state.FlyActive)
        MoveCam(m_state, m_scene);
    wand.Position().SetZ(wand.Height() / 2.0f); // the rod stands on the marker
    wand.SetVisible(!m_state.IntroClimb);

    m_state.PanMode = m_keys.KeyHeld(vk::LeftShift) || m_keys.KeyHeld(vk::RightShift);
    m_scene.DCSelection->SetVisible(!m_state.PanMode);
    followPointer();
    if (!m_state.PanMode)
        hoverGlow();

    if (camera.Position().Z() < kLowest)
        camera.Position().SetZ(kLowest);
    TGxCoordinates& target = m_scene.DCTarget->Position();
    if (target.Z() < kLowest)
        target.SetZ(kLowest);
    return !(look() == before);
}

void FrameLoop::wrapIntoSquare()
{
    // Leaving over one edge re-enters over the opposite one, mirrored
    // through the centre; each test sees what the previous one left.
    TGxCoordinates& target = m_scene.DCTarget->Position();
    if (target.X() < -kSquareEdge)
        target.AssignPoint(kSquareEdge, -target.Y(), target.Z());
    if (target.X() > kSquareEdge)
        target.AssignPoint(-kSquareEdge, -target.Y(), target.Z());
    if (target.Y() < -kSquareEdge)
        target.AssignPoint(-target.X(), kSquareEdge, target.Z());
    if (target.Y() > kSquareEdge)
        target.AssignPoint(-target.X(), -kSquareEdge, target.Z());
}

void FrameLoop::followPointer()
{
    m_pointer.SetCursor(m_scene.DCSelection->Visible() ? MapCursor::Blank : MapCursor::Hand);
    const QPoint at = m_pointer.PointerPosition();
    const QSize size = m_pointer.ViewSize();
    const int x = at.x();
    const int y = at.y();
    if (x < 0 || y < 0 || x >= size.width() || y >= size.height())
        return; // the hover pick keeps the last position inside

    TGxVector ground;
    const bool onGround =
        m_picker.PixelOnGroundPlane(VectorMake(float(x), float(size.height() - y), 0.0f, 0.0f), 0.0f, ground);
    if (onGround)
        m_scene.DCSelection->Position().AssignPoint(ground.X, ground.Y, 0.0f);

    if (m_keys.KeyHeld(vk::RightButton)) {
        m_scene.Wand->SetVisible(false);
        m_state.AutoOrbit = false;
        m_state.FlyActive = false;
        m_state.IntroClimb = false;
        m_state.NorthUpTurn = false;
        m_scene.GxFreeCamera->OrbitTarget(float(m_state.LastPointer.y - y) * kOrbitPerPixel,
                                            float(m_state.LastPointer.x - x) * kOrbitPerPixel);
    }

    if (m_state.PanMode) {
        m_state.AutoOrbit = false;
        if (m_keys.KeyHeld(vk::LeftButton)) {
            if (onGround) {
                if (!m_state.PanAnchorSet) {
                    m_state.PanAnchor = ground;
                    m_state.PanAnchorSet = true;
                }
                // The camera hangs under DCTarget: moving the target by the
                // anchor-to-pointer offset brings the grabbed point back under the pointer.
                m_scene.DCTarget->Position().Translate(VectorSubtract(m_state.PanAnchor, ground));
            }
        } else {
            m_state.PanAnchorSet = false;
        }
    } else {
        m_state.PanAnchorSet = false;
    }
    m_state.LastPointer = {x, y};
}

void FrameLoop::hoverGlow()
{
    Thouse* house = houseOf(m_picker.ObjectAtPixel(m_state.LastPointer.x, m_state.LastPointer.y));
    if (house != nullptr) {
        if (m_state.HoveredHouse != nullptr && m_state.HoveredHouse != house)
            m_state.HoveredHouse->ClearGlow();
        m_state.HoveredHouse = house;
        m_scene.DCSelection->SetVisible(false);
    } else {
        if (m_state.HoveredHouse != nullptr) {
            m_state.HoveredHouse->ClearGlow();
            m_state.HoveredHouse = nullptr;
        }
        m_scene.DCSelection->SetVisible(true);
    }
    if (m_state.HoveredHouse != nullptr && m_state.HoveredHouse != m_state.SelectedHouse)
        m_state.HoveredHouse->GlowStep();
}
