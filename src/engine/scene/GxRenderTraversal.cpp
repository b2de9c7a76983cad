// The render traversal: how one pass turns the object tree into OpenGL
// drawing. Every object renders itself and its children through the same
// few slots; concrete classes supply EmitGeometry and, where needed, RenderSelf.
#include "engine/materials/GxMaterial.h"
#include "engine/scene/GxBaseSceneObject.h"
#include "engine/scene/GxCameraInvariantObject.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "base/GxException.h"
#include "engine/scene/GxGeometryBatch.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxListHandle.h"
#include "engine/scene/GxPickIndex.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/GxSceneBuffer.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

#include <algorithm>
#include <span>
#include <vector>

namespace {

// Pops OpenGL's model-view matrix on every way out.
class MatrixScope {
public:
    MatrixScope() { glPushMatrix(); }
    ~MatrixScope() { glPopMatrix(); }
    MatrixScope(const MatrixScope&) = delete;
    MatrixScope& operator=(const MatrixScope&) = delete;
};

// Turns the depth test off for a scope and puts back what was there.
class NoDepthTestScope {
public:
    NoDepthTestScope(TGxStateCache& cache, bool active) : m_cache(cache), m_active(active && cache.IsEnabled(GL_DEPTH_TEST))
    {
        if (m_active)
            m_cache.Disable(GL_DEPTH_TEST);
    }
    ~NoDepthTestScope()
    {
        if (m_active)
            m_cache.Enable(GL_DEPTH_TEST);
    }
    NoDepthTestScope(const NoDepthTestScope&) = delete;
    NoDepthTestScope& operator=(const NoDepthTestScope&) = delete;

private:
    TGxStateCache& m_cache;
    bool m_active;
};

// The three axes through the origin, X red, Y green, Z blue; the negative
// halves stippled.
void drawAxes(const TRenderContextInfo& rci, GLushort pattern)
{
    const float length = rci.rcci.farClippingDistance > 0.0f ? rci.rcci.farClippingDistance : 1000.0f;
    // Behind the state cache's back, and put back exactly as found.
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    const float axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int stippled = 0; stippled < 2; ++stippled) {
        if (stippled) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, pattern);
        }
        const float sign = stippled ? -length : length;
        glBegin(GL_LINES);
        for (const auto& a : axes) {
            glColor3fv(a);
            glVertex3f(0, 0, 0);
            glVertex3f(a[0] * sign, a[1] * sign, a[2] * sign);
        }
        glEnd();
    }
    glPopAttrib();
}

struct SortedChild {
    float key;
    TGxBaseSceneObject* object;
};

float squaredDistance(const TGxVector& a, const TGxVector& b)
{
    return VectorNorm(VectorSubtract(a, b));
}

// Renders from the highest key down; equal keys keep the list order.
void renderByKey(std::vector<SortedChild>& children, TRenderContextInfo& rci)
{
    std::stable_sort(children.begin(), children.end(),
                     [](const SortedChild& a, const SortedChild& b) { return a.key > b.key; });
    for (const SortedChild& c : children)
        c.object->Render(rci);
}

} // namespace

// ---------------------------------------------------------------- TGxBaseSceneObject

void TGxBaseSceneObject::Render(TRenderContextInfo& rci)
{
    bool drawSelf = true;
    bool drawChildren = Count() > 0;
    const bool neverCull = m_renderFlags.Contains(TGxRenderFlag::NeverCull);
    switch (rci.visibilityCulling) {
    case vcInherited:
    case vcNone: break;
    case vcObjectBased:
        if (!neverCull) {
            const TGxVector centre = WorldPosition();
            drawSelf = !IsSphereOutsideFrustum(rci.rcci.frustum, centre.Affine(), BoundRadius());
        }
        break;
    case vcHierarchical:
        if (!neverCull)
            drawSelf = !IsBoxOutsideFrustum(rci.rcci.frustum, HierarchicalWorldBoundingBox());
        drawChildren = drawChildren && drawSelf;
        break;
    default: throw EGxAssertion("Unknown visibility culling option");
    }
    // An object whose bounds lie outside the view (or miss the pick region,
    // a sliver of it) cannot show or be hit. Its children may still be seen.
    if (drawSelf && (rci.pickCulling || rci.viewCulling) && !neverCull)
        drawSelf = !GeometryOutsideFrustum(rci.rcci.frustum);
    if (!drawSelf && !drawChildren)
        return;

    MatrixScope matrix;
    // The roots' own transforms never apply.
    if (!m_isSceneRoot)
        glMultMatrixf(ObjectMatrix().data());

    bool pushedName = false;
    if (rci.drawState == dsPicking && rci.selectionNames) {
        const GLuint name = rci.selectionNames->Add(this);
        if (rci.pushSelectionNames) {
            glPushName(name);
            pushedName = true;
        } else {
            glLoadName(name);
        }
    }
    struct PopName {
        bool active;
        ~PopName()
        {
            if (active)
                glPopName();
        }
    } popName{pushedName};

    const bool noDepthTest = m_renderFlags.Contains(TGxRenderFlag::NoDepthTest);
    if (drawSelf) {
        if (m_showAxes)
            drawAxes(rci, 0xCCCC);
        {
            NoDepthTestScope depth(*rci.stateCache, noDepthTest);
            RenderSelf(rci, true, drawChildren);
        }
        if (m_renderFlags.Contains(TGxRenderFlag::ResetMaterialAfter))
            rci.stateCache->ResetForPass();
    } else {
        NoDepthTestScope depth(*rci.stateCache, noDepthTest);
        RenderSelf(rci, false, drawChildren);
    }
}

void TGxBaseSceneObject::DrawGeometry(TRenderContextInfo& rci)
{
    if (m_renderFlags.Contains(TGxRenderFlag::DrawEveryFrame) || rci.amalgamating) {
        EmitGeometry(rci);
        return;
    }
    // Geometry a shared vertex buffer holds is not recorded a second time.
    if (m_batch && rci.batching && m_batch->DrawMember(this, rci))
        return;
    if (const GLuint list = ListHandle(rci))
        glCallList(list);
}

void TGxBaseSceneObject::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf)
        DrawGeometry(rci);
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

void TGxBaseSceneObject::RenderChildRange(int first, int last, TRenderContextInfo& rci)
{
    if (Count() == 0)
        return;
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (first > last)
        return;

    struct Restore {
        TRenderContextInfo& rci;
        TGxVisibilityCulling culling;
        TGxObjectsSorting sorting;
        ~Restore()
        {
            rci.visibilityCulling = culling;
            rci.objectsSorting = sorting;
        }
    } restore{rci, rci.visibilityCulling, rci.objectsSorting};
    if (m_visibilityCulling != vcInherited)
        rci.visibilityCulling = m_visibilityCulling;

    // A pick through the index visits only the children it names, in the
    // same order; a list being compiled takes the whole subtree.
    std::span<TGxBaseSceneObject* const> children(m_children->data() + first, std::size_t(last - first + 1));
    std::vector<TGxBaseSceneObject*> named;
    if (rci.pickVisit && !rci.amalgamating) {
        for (TGxBaseSceneObject* child : rci.pickVisit->ChildrenOf(this))
            if (child->IndexInParent() >= first && child->IndexInParent() <= last)
                named.push_back(child);
        children = named;
    }
    if (first == last) {
        if (!children.empty() && children[0]->Visible())
            children[0]->Render(rci);
        return;
    }
    if (m_objectsSorting != osInherited)
        rci.objectsSorting = m_objectsSorting;

    // The scene's object root draws its static polygons from shared buffers,
    // in list order, so only where the order is the list's.
    TGxGeometryBatch* batch = nullptr;
    if (rci.batching && rci.drawState != dsPicking && m_isSceneRoot && m_scene && this == m_scene->ObjectRoot()
        && (rci.objectsSorting == osNone || rci.objectsSorting == osRenderBlendedLast)) {
        batch = &m_scene->ObjectBatch();
        if (!batch->BeginPass(rci))
            batch = nullptr;
    }
    // Draws what the batch holds on every way out, before anything that follows.
    struct EndBatch {
        TGxGeometryBatch* batch;
        TRenderContextInfo& rci;
        ~EndBatch()
        {
            if (!batch)
                return;
            try {
                batch->EndPass(rci);
            } catch (...) {
                // Unwinding already: the error that caused it is the one to report.
            }
        }
    } endBatch{batch, rci};
    const auto renderInOrder = [&](TGxBaseSceneObject* child) {
        if (batch) {
            if (batch->Take(child, rci))
                return;
            batch->Flush(rci);
        }
        child->Render(rci);
    };

    switch (rci.objectsSorting) {
    case osNone:
        for (TGxBaseSceneObject* child : children)
            if (child->Visible())
                renderInOrder(child);
        break;
    case osRenderFarthestFirst:
    case osRenderNearestFirst: {
        const bool farthestFirst = rci.objectsSorting == osRenderFarthestFirst;
        std::vector<SortedChild> sorted;
        sorted.reserve(children.size());
        for (TGxBaseSceneObject* child : children) {
            if (!child->Visible())
                continue;
            const float d = squaredDistance(child->SortPosition(), rci.cameraPosition);
            sorted.push_back({farthestFirst ? d + 1.0f : -1.0f - d, child});
        }
        renderByKey(sorted, rci);
        break;
    }
    case osRenderBlendedLast: {
        std::vector<SortedChild> blended;
        for (TGxBaseSceneObject* child : children) {
            if (!child->Visible())
                continue;
            if (child->NeedsBlending())
                blended.push_back({squaredDistance(child->SortPosition(), rci.cameraPosition) + 1.0f, child});
            else
                renderInOrder(child);
        }
        if (batch)
            batch->Flush(rci);
        renderByKey(blended, rci);
        break;
    }
    default: throw EGxAssertion("Unknown objects sorting option");
    }
}

unsigned TGxBaseSceneObject::ListHandle(TRenderContextInfo& rci)
{
    if (m_listHandle && !m_changes.Contains(TGxObjectChange::Structure) && m_listHandle->UsableHere())
        return m_listHandle->Name();
    m_changes.Exclude(TGxObjectChange::Structure);
    if (!m_listHandle)
        m_listHandle = std::make_unique<TGxListHandle>();
    if (!m_listHandle->UsableHere())
        m_listHandle->Allocate();
    const GLuint list = m_listHandle->Name();
    gxAssert(list != 0, "No display list name available");
    glNewList(list, GL_COMPILE);
    try {
        EmitGeometry(rci);
    } catch (...) {
        glEndList();
        // What was compiled is incomplete: compile again next time.
        m_changes.Include(TGxObjectChange::Structure);
        throw;
    }
    glEndList();
    return list;
}

void TGxBaseSceneObject::DestroyHandle()
{
    m_listHandle.reset();
}

void TGxBaseSceneObject::DestroyHandles()
{
    DestroyHandle();
    if (m_children)
        for (TGxBaseSceneObject* child : *m_children)
            child->DestroyHandles();
}

// ---------------------------------------------------------------- objects with a material

void TGxCustomSceneObject::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf) {
        if (rci.scene)
            rci.scene->SetLastRenderedObject(this);
        if (rci.ignoreMaterials) {
            DrawGeometry(rci);
        } else {
            do {
                m_material->ApplyState(rci);
                DrawGeometry(rci);
            } while (m_material->RestoreState(rci));
        }
    }
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

void TGxImmaterialSceneObject::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    TGxBaseSceneObject::RenderSelf(rci, renderSelf, renderChildren);
}

void TGxCameraInvariantObject::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (m_camInvarianceMode == cimNone || !rci.buffer) {
        TGxImmaterialSceneObject::RenderSelf(rci, renderSelf, renderChildren);
        return;
    }
    MatrixScope matrix;
    if (m_camInvarianceMode == cimPosition) {
        glLoadMatrixf(rci.buffer->SavedModelViewMatrix().data());
        glTranslatef(rci.cameraPosition.X, rci.cameraPosition.Y, rci.cameraPosition.Z);
    } else {
        glLoadIdentity();
        glScalef(1.0f, -1.0f, -1.0f);
    }
    glMultMatrixf(ObjectMatrix().data());
    TGxMatrix current;
    glGetFloatv(GL_MODELVIEW_MATRIX, current.data());
    rci.buffer->PushModelViewMatrix(current);
    struct Restore {
        TRenderContextInfo& rci;
        TGxVisibilityCulling culling = rci.visibilityCulling;
        bool pickCulling = rci.pickCulling;
        bool viewCulling = rci.viewCulling;
        ~Restore()
        {
            rci.buffer->PopModelViewMatrix();
            rci.visibilityCulling = culling;
            rci.pickCulling = pickCulling;
            rci.viewCulling = viewCulling;
        }
    } restore{rci};
    // World matrices do not say where this subtree is drawn.
    rci.visibilityCulling = vcNone;
    rci.pickCulling = false;
    rci.viewCulling = false;
    TGxBaseSceneObject::RenderSelf(rci, renderSelf, renderChildren);
}

// ---------------------------------------------------------------- TGxScene

void TGxScene::DrawScene(TGxSceneBuffer& buffer, int viewportWidth, int viewportHeight, TGxDrawState drawState,
                         TGxBaseSceneObject* baseObject)
{
    m_lastRenderedObject = nullptr;
    m_activeBuffer = &buffer;

    TRenderContextInfo rci;
    rci.scene = this;
    rci.buffer = &buffer;
    rci.cameraPosition = buffer.CameraAbsolutePosition();
    rci.cameraPosition.W = 1.0f;
    rci.cameraDirection = VectorMake(0, 0, -1, 0);
    rci.cameraUp = VectorMake(0, 1, 0, 0);
    if (const TGxCamera* camera = buffer.Camera()) {
        rci.cameraDirection = camera->LastViewDirection();
        rci.cameraDirection.W = 0.0f;
        const TGxVector right = VectorCrossProduct(rci.cameraDirection, camera->Up().Vector4());
        rci.cameraUp = VectorNormalize(VectorCrossProduct(right, rci.cameraDirection));
        rci.rcci.viewPortRadius = camera->ViewPortRadius();
        rci.rcci.farClippingDistance = camera->NearPlane() + camera->DepthOfView();
    }
    rci.modelViewMatrix = &buffer.SavedModelViewMatrix();
    rci.viewPortWidth = viewportWidth;
    rci.viewPortHeight = viewportHeight;
    rci.renderDPI = buffer.RenderDPI();
    rci.drawState = drawState;
    rci.objectsSorting = m_objectsSorting;
    rci.visibilityCulling = m_visibilityCulling;
    rci.stateCache = &buffer.StateCache();
    rci.rcci.origin = rci.cameraPosition;
    rci.rcci.clippingDirection = rci.cameraDirection;
    TGxMatrix modelView, projection;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    rci.rcci.frustum = ExtractFrustum(MatrixMultiply(modelView, projection));
    const auto& ambient = buffer.AmbientColor().Vector();
    rci.sceneAmbientColor = VectorMake(ambient[0], ambient[1], ambient[2], ambient[3]);
    rci.bufferCullsFaces = buffer.FaceCulling();
    rci.ignoreMaterials =
        drawState == dsPicking || buffer.ContextOptions().Contains(TGxContextOption::roNoColorBuffer);
    if (drawState == dsPicking) {
        rci.selectionNames = &buffer.SelectionNames();
        rci.pickCulling = buffer.PickCulling();
        rci.pickVisit = buffer.PickVisit();
    } else {
        rci.viewCulling = buffer.ViewCulling();
    }
    rci.batching = buffer.Batching();

    rci.stateCache->ResetForPass();
    const GLboolean writeColour = rci.ignoreMaterials ? GL_FALSE : GL_TRUE;
    glColorMask(writeColour, writeColour, writeColour, writeColour);
    struct ColourWritesOn {
        ~ColourWritesOn() { glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE); }
    } colourWritesOn;

    if (buffer.InitiateRendering)
        buffer.InitiateRendering(&buffer, rci);
    if (TGxBaseSceneObject* base = baseObject ? baseObject : m_objectRoot)
        base->Render(rci);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (buffer.WrapUpRendering)
        buffer.WrapUpRendering(&buffer, rci);

    TGxStateCache& cache = *rci.stateCache;
    cache.Disable(GL_BLEND);
    cache.Disable(GL_TEXTURE_2D);
    cache.Disable(GL_TEXTURE_RECTANGLE);
    cache.Enable(GL_ALPHA_TEST);
    cache.SetAlphaFunc(GL_GREATER, 0.0f);
}

void TGxScene::LoadLights(int maximum)
{
    const int n = std::min(cMaxLights, maximum);
    MatrixScope saved;
    for (int i = 0; i < n; ++i) {
        const GLenum id = GLenum(GL_LIGHT0 + i);
        TGxLightSource* light = m_lightSlots[i];
        if (!light || !light->Shining()) {
            glDisable(id);
            continue;
        }
        glEnable(id);
        glPopMatrix();
        glPushMatrix();
        light->ObjectMatrix();
        TGxVector position;
        if (light->LightStyle() == lsParallel) {
            glMultMatrixf(light->WorldMatrix().data());
            position = light->SpotDirection().Vector4();
            position.W = 0.0f;
        } else {
            if (const TGxBaseSceneObject* parent = light->Parent())
                glMultMatrixf(parent->WorldMatrix().data());
            position = light->Position().Vector4();
            position.W = 1.0f;
        }
        glLightfv(id, GL_POSITION, position.data());
        glLightfv(id, GL_AMBIENT, light->Ambient().AsArray());
        glLightfv(id, GL_DIFFUSE, light->Diffuse().AsArray());
        glLightfv(id, GL_SPECULAR, light->Specular().AsArray());
        if (light->LightStyle() == lsSpot) {
            if (light->SpotCutOff() != 180.0f) {
                glLightfv(id, GL_SPOT_DIRECTION, light->SpotDirection().Vector4().data());
                glLightf(id, GL_SPOT_EXPONENT, light->SpotExponent());
            }
            glLightf(id, GL_SPOT_CUTOFF, light->SpotCutOff());
        } else {
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        }
        glLightf(id, GL_CONSTANT_ATTENUATION, light->ConstAttenuation());
        glLightf(id, GL_LINEAR_ATTENUATION, light->LinearAttenuation());
        glLightf(id, GL_QUADRATIC_ATTENUATION, light->QuadraticAttenuation());
    }
    for (int i = n; i < maximum; ++i)
        glDisable(GLenum(GL_LIGHT0 + i));
}
