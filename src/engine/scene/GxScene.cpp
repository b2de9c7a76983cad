#include "engine/scene/GxScene.h"

#include "base/GxException.h"
#include "engine/scene/GxGeometryBatch.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxSceneBuffer.h"

#include <algorithm>

namespace {

template <class F>
void forEachInSubtree(TGxBaseSceneObject* object, const F& f)
{
    f(object);
    for (int i = 0; i < object->Count(); ++i)
        forEachInSubtree(object->Children(i), f);
}

} // namespace

TGxSceneRootObject::TGxSceneRootObject(TGxComponent* owner) : TGxBaseSceneObject(owner)
{
    auto* scene = dynamic_cast<TGxScene*>(owner);
    gxAssert(scene != nullptr, "A scene root can only be created by a TGxScene");
    TGxRenderFlags flags = RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    SetRenderFlags(flags);
    InitSceneRoot(scene);
}

TGxScene::TGxScene(TGxComponent* owner) : TGxUpdateAbleComponent(owner)
{
    m_objectRoot = new TGxSceneRootObject(this);
    m_objectRoot->SetName("ObjectRoot");
    m_cameraRoot = new TGxSceneRootObject(this);
    m_cameraRoot->SetName("CameraRoot");
}

TGxScene::~TGxScene()
{
    MarkDestroying();
    SendFreeNotifications();
    if (m_objectRoot)
        m_objectRoot->DestroyHandles();
    m_objectBatch.reset();
    delete m_cameraRoot;
    for (TGxLightSource*& light : m_lightSlots) {
        if (light)
            light->setLightSlot(-1);
        light = nullptr;
    }
    delete m_objectRoot;
    // Objects owned by the scene but no longer in its tree.
    DestroyComponents();
    const std::vector<IGxSceneBuffer*> buffers = std::move(m_buffers);
    for (IGxSceneBuffer* buffer : buffers)
        buffer->SceneFreed(this);
}

void TGxScene::Notification(TGxComponent* component, TGxOperation operation)
{
    if (operation != opRemove)
        return;
    if (component == m_objectRoot)
        m_objectRoot = nullptr;
    if (component == m_cameraRoot)
        m_cameraRoot = nullptr;
    if (component == m_lastRenderedObject)
        m_lastRenderedObject = nullptr;
}

void TGxScene::EndUpdate()
{
    gxAssert(m_updateCount >= 1, "Unbalanced Begin/EndUpdate");
    if (--m_updateCount == 0)
        SignalChange();
}

void TGxScene::SignalChange()
{
    if (m_updateCount > 0 || IsLoading() || IsDestroying())
        return;
    // By index: a buffer may detach itself while it is told.
    for (size_t i = 0; i < m_buffers.size(); ++i)
        m_buffers[i]->SceneChanged(this);
}

void TGxScene::Progress(double deltaTime, double newTime)
{
    const TGxProgressTimes times{deltaTime, newTime};
    if (m_objectRoot)
        m_objectRoot->StepProgress(times);
    if (m_cameraRoot)
        m_cameraRoot->StepProgress(times);
}

void TGxScene::AttachBuffer(IGxSceneBuffer* buffer)
{
    if (buffer && std::find(m_buffers.begin(), m_buffers.end(), buffer) == m_buffers.end())
        m_buffers.push_back(buffer);
}

void TGxScene::DetachBuffer(IGxSceneBuffer* buffer)
{
    if (m_activeBuffer && static_cast<IGxSceneBuffer*>(m_activeBuffer) == buffer)
        m_activeBuffer = nullptr;
    m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), buffer), m_buffers.end());
}

void TGxScene::AddLight(TGxLightSource* light)
{
    if (!light || std::find(m_lightSlots.begin(), m_lightSlots.end(), light) != m_lightSlots.end())
        return;
    for (int i = 0; i < cMaxLights; ++i) {
        if (!m_lightSlots[i]) {
            m_lightSlots[i] = light;
            light->setLightSlot(i);
            return;
        }
    }
}

void TGxScene::RemoveLight(TGxLightSource* light)
{
    for (TGxLightSource*& slot : m_lightSlots) {
        if (light && slot == light) {
            slot = nullptr;
            light->setLightSlot(-1);
        }
    }
}

void TGxScene::AddLights(TGxBaseSceneObject* subtree)
{
    forEachInSubtree(subtree, [this](TGxBaseSceneObject* o) {
        if (TGxLightSource* light = o->AsLight())
            AddLight(light);
    });
}

void TGxScene::RemoveLights(TGxBaseSceneObject* subtree)
{
    forEachInSubtree(subtree, [this](TGxBaseSceneObject* o) {
        if (TGxLightSource* light = o->AsLight())
            RemoveLight(light);
    });
}

void TGxScene::SetObjectsSorting(TGxObjectsSorting sorting)
{
    if (sorting == osInherited)
        sorting = osRenderBlendedLast;
    if (sorting == m_objectsSorting)
        return;
    m_objectsSorting = sorting;
    SignalChange();
}

void TGxScene::SetVisibilityCulling(TGxVisibilityCulling culling)
{
    if (culling == vcInherited)
        culling = vcNone;
    if (culling == m_visibilityCulling)
        return;
    m_visibilityCulling = culling;
    SignalChange();
}

TGxGeometryBatch& TGxScene::ObjectBatch()
{
    if (!m_objectBatch)
        m_objectBatch = std::make_unique<TGxGeometryBatch>();
    return *m_objectBatch;
}
