#pragma once

#include "engine/materials/GxMaterialContext.h"
#include "engine/scene/GxBaseSceneObject.h"
#include "engine/scene/GxFrustum.h"
#include "engine/scene/VectorGeometry.h"

#include <vector>

class TGxScene;
class TGxSceneBuffer;
class TGxMaterialLibrary;
class TGxPickVisit;

// What a pass draws for: the window, a selection-mode pick, a bitmap
// (printing). Objects draw the same in the first and the last.
enum TGxDrawState { dsRendering, dsPicking, dsPrinting };

// What the culling tests know of the view.
struct TRenderContextClippingInfo {
    TGxVector origin;             // the camera's position
    TGxVector clippingDirection;  // the camera's view direction
    float viewPortRadius = 0.0f;  // the camera's, at the near plane
    float farClippingDistance = 0.0f;
    TGxFrustum frustum;           // in world coordinates
};

// Selection names of one picking pass: name i + 1 is the i-th object that
// loaded a name; 0 stands for none.
class TGxSelectionNames {
public:
    void Clear() { m_objects.clear(); }
    unsigned Add(TGxBaseSceneObject* object)
    {
        m_objects.push_back(object);
        return unsigned(m_objects.size());
    }
    TGxBaseSceneObject* Object(unsigned name) const
    {
        return name == 0 || name > m_objects.size() ? nullptr : m_objects[name - 1];
    }
    std::size_t Count() const { return m_objects.size(); }

private:
    std::vector<TGxBaseSceneObject*> m_objects;
};

// One pass over the scene: filled by TGxScene::DrawScene and handed to every
// Render, RenderSelf, RenderChildRange and EmitGeometry of the pass. The
// material part (state cache, the buffer's face-culling wish, the lighting
// and fog counters) is what materials and textures apply themselves with.
struct TRenderContextInfo : TGxMaterialContext {
    TGxScene* scene = nullptr;
    TGxSceneBuffer* buffer = nullptr;
    TGxVector cameraPosition;  // W = 1
    TGxVector cameraDirection; // unit, W = 0
    TGxVector cameraUp;        // unit, W = 0, square to the direction
    // The buffer's model-view matrix: the camera transform, or what a
    // camera-invariant object pushed on the buffer's stack.
    const TGxMatrix* modelViewMatrix = nullptr;
    int viewPortWidth = 0;
    int viewPortHeight = 0;
    int renderDPI = 96;
    TGxDrawState drawState = dsRendering;
    TGxObjectsSorting objectsSorting = osRenderBlendedLast;
    TGxVisibilityCulling visibilityCulling = vcNone;
    TRenderContextClippingInfo rcci;
    TGxVector sceneAmbientColor;
    // Objects load their selection name; with this set they push it instead.
    bool pushSelectionNames = false;
    // Picking, or a buffer without colour buffer: no material is applied.
    bool ignoreMaterials = false;
    // Set while an enclosing object compiles its whole subtree into one list.
    bool amalgamating = false;
    // The library a mesh's face groups take their materials from, while it draws.
    TGxMaterialLibrary* materialLibrary = nullptr;
    // Picking: where the names go, and whether objects whose bounds miss
    // the pick region are left out.
    TGxSelectionNames* selectionNames = nullptr;
    bool pickCulling = false;
    // Picking through the index: the only children each parent visits.
    const TGxPickVisit* pickVisit = nullptr;
    // Drawing: objects whose bounds lie outside the view are left out.
    bool viewCulling = false;
    // Static polygons are drawn together from shared vertex buffers.
    bool batching = false;
};
