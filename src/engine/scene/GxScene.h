#pragma once

#include "engine/scene/GxBaseSceneObject.h"
#include "engine/scene/GxPickIndex.h"
#include "engine/scene/RenderContextInfo.h"

#include <array>
#include <memory>
#include <vector>

class TGxScene;
class TGxSceneBuffer;
class TGxLightSource;
class TGxGeometryBatch;

// A buffer that draws a scene: the scene tells it of every change so that
// it draws again, and tells it when the scene goes away.
class IGxSceneBuffer {
public:
    virtual void SceneChanged(TGxScene* scene) = 0;
    virtual void SceneFreed(TGxScene* scene) {}

protected:
    ~IGxSceneBuffer() = default;
};

// One of the two roots of a scene ("ObjectRoot", "CameraRoot"). Its own
// transform never applies to its children; it is drawn every frame.
class TGxSceneRootObject : public TGxBaseSceneObject {
public:
    // The owner must be a TGxScene; anything else is an assertion failure.
    explicit TGxSceneRootObject(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxSceneRootObject"; }
};

// The scene: the object tree under ObjectRoot, the cameras under
// CameraRoot, the eight light slots and the buffers that draw it.
class TGxScene : public TGxUpdateAbleComponent {
public:
    static constexpr int cMaxLights = 8;

    explicit TGxScene(TGxComponent* owner = nullptr);
    ~TGxScene() override;
    std::string_view ClassName() const override { return "TGxScene"; }

    TGxSceneRootObject* ObjectRoot() const { return m_objectRoot; }
    TGxSceneRootObject* CameraRoot() const { return m_cameraRoot; }

    // While the counter is above 0 changes are not passed to the buffers;
    // bringing it back to 0 signals once. EndUpdate without BeginUpdate is
    // the assertion failure "Unbalanced Begin/EndUpdate".
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }
    // Tells every attached buffer, unless updating, loading or being freed.
    void SignalChange() override;

    // StepProgress on ObjectRoot, then on CameraRoot.
    void Progress(double deltaTime, double newTime);

    void AttachBuffer(IGxSceneBuffer* buffer);
    void DetachBuffer(IGxSceneBuffer* buffer);
    const std::vector<IGxSceneBuffer*>& Buffers() const { return m_buffers; }

    // A light takes the first empty slot and the OpenGL light number of
    // that slot; with all eight taken it is silently left out. Slots keep
    // their places when a light leaves.
    const std::array<TGxLightSource*, cMaxLights>& LightSlots() const { return m_lightSlots; }
    void AddLight(TGxLightSource* light);
    void RemoveLight(TGxLightSource* light);
    // Every light source of the subtree, the object itself included.
    void AddLights(TGxBaseSceneObject* subtree);
    void RemoveLights(TGxBaseSceneObject* subtree);

    TGxObjectsSorting ObjectsSorting() const { return m_objectsSorting; }
    // osInherited stores osRenderBlendedLast.
    void SetObjectsSorting(TGxObjectsSorting sorting);
    TGxVisibilityCulling VisibilityCulling() const { return m_visibilityCulling; }
    // vcInherited stores vcNone.
    void SetVisibilityCulling(TGxVisibilityCulling culling);

    TGxBaseSceneObject* LastRenderedObject() const { return m_lastRenderedObject; }
    void SetLastRenderedObject(TGxBaseSceneObject* object) { m_lastRenderedObject = object; }

    // ---- Rendering (with the buffer's context current and its matrices set)
    // One pass over the tree (or the base object's subtree) in the drawing state.
    void DrawScene(TGxSceneBuffer& buffer, int viewportWidth, int viewportHeight, TGxDrawState drawState,
                   TGxBaseSceneObject* baseObject = nullptr);
    // Loads the lights of the first min(8, maximum) slots into OpenGL's
    // lights; those up to maximum - 1 beyond are turned off. The model-view
    // matrix holds the camera's view transform.
    void LoadLights(int maximum);
    // Where the objects of the tree lie, for picks that visit only what can be hit.
    TGxPickIndex& PickIndex() { return m_pickIndex; }

    // The buffer of the pass running or last run; none once it detached.
    TGxSceneBuffer* ActiveBuffer() const { return m_activeBuffer; }
    // The shared vertex buffers the object root's static polygons are drawn from.
    TGxGeometryBatch& ObjectBatch();

protected:
    void Notification(TGxComponent* component, TGxOperation operation) override;

private:
    // Before the roots: objects tell it when they leave, to the last.
    TGxPickIndex m_pickIndex{*this};
    TGxSceneRootObject* m_objectRoot = nullptr;
    TGxSceneRootObject* m_cameraRoot = nullptr;
    std::array<TGxLightSource*, cMaxLights> m_lightSlots{};
    std::vector<IGxSceneBuffer*> m_buffers;
    TGxObjectsSorting m_objectsSorting = osRenderBlendedLast;
    TGxVisibilityCulling m_visibilityCulling = vcNone;
    int m_updateCount = 0;
    TGxBaseSceneObject* m_lastRenderedObject = nullptr;
    TGxSceneBuffer* m_activeBuffer = nullptr;
    std::unique_ptr<TGxGeometryBatch> m_objectBatch;
};
