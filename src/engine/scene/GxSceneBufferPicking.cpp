// The buffer's operations that relate window pixels to the scene: the
// selection-mode pick and the projections.
#include "engine/scene/GxSceneBuffer.h"

#include "engine/materials/GxTexCoordRouter.h"
#include "base/GxException.h"
#include "engine/scene/GxFlagScope.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSelectionSpareWords = 128 / 4;

float depthWordToFloat(GLuint word)
{
    return float(word >> 1) / 2147483647.0f;
}

struct GluMatrices {
    double modelView[16];
    double projection[16];
    GLint viewport[4];
};

GluMatrices gluMatrices(const TGxMatrix& modelView, const TGxMatrix& projection, const TGxRectangle& viewport)
{
    GluMatrices m{};
    for (int i = 0; i < 16; ++i) {
        m.modelView[i] = modelView.data()[i];
        m.projection[i] = projection.data()[i];
    }
    m.viewport[0] = viewport.Left;
    m.viewport[1] = viewport.Top;
    m.viewport[2] = viewport.Width;
    m.viewport[3] = viewport.Height;
    return m;
}

} // namespace

TGxBaseSceneObject* TGxSceneBuffer::ObjectAtPixel(int x, int y)
{
    const std::unique_ptr<TGxPickList> list = PickListInRect({x - 1, y - 1, x + 1, y + 1}, 64);
    return list->Count() > 0 ? list->Hit(0) : nullptr;
}

std::unique_ptr<TGxPickList> TGxSceneBuffer::PickListInRect(const TGxPixelRect& rect, int capacityHint)
{
    auto list = std::make_unique<TGxPickList>(psMinDepth);
    FillPickList(rect, *list, capacityHint);
    return list;
}

void TGxSceneBuffer::FillPickList(const TGxPixelRect& rect, TGxPickList& list, int capacityHint)
{
    if (!m_camera)
        return;
    gxAssert(!m_rendering, "Already rendering");
    // Selection mode needs the context current with a complete framebuffer
    // bound, or it reports no hits at all.
    if (!m_rc)
        return;
    TGxContextActivation active(*m_rc);
    TGxFlagScope rendering(m_rendering);
    struct KeepMatrices {
        TGxSceneBuffer& buffer;
        TGxMatrix projection = buffer.m_projectionMatrix;
        TGxMatrix baseProjection = buffer.m_baseProjectionMatrix;
        ~KeepMatrices()
        {
            buffer.m_projectionMatrix = projection;
            buffer.m_baseProjectionMatrix = baseProjection;
            buffer.m_lastPickObjectCount = buffer.m_selectionNames.Count();
            buffer.m_selectionNames.Clear();
            buffer.m_pickVisit = nullptr;
        }
    } keep{*this};

    ResetForeignState();
    m_stateCache.Invalidate();
    PrepareGLState();
    glViewport(0, 0, m_viewport.Width, m_viewport.Height);
    setupMatrices(m_viewport, m_renderDPI, &rect);
    // As a frame does: a list first recorded here is replayed by the frames.
    resetTexCoordRouting();

    // Only objects whose bounds meet the pick region can be hit: the index
    // names them (and those that cannot tell), without a walk over the rest.
    TGxPickVisit visit;
    TGxScene* scene = m_camera->Scene();
    if (m_pickCulling && m_pickIndexed && scene && scene->ObjectRoot()) {
        std::vector<TGxBaseSceneObject*> candidates;
        if (scene->PickIndex().Query(MatrixMultiply(m_modelViewMatrix, m_projectionMatrix), candidates)) {
            visit.Build(candidates, scene->ObjectRoot());
            m_pickVisit = &visit;
        }
    }

    int capacity = std::max(capacityHint, 8);
    GLint hits = -1;
    std::vector<GLuint> selection;
    while (hits < 0) {
        capacity *= 2;
        const std::size_t words = std::size_t(capacity) * 4;
        selection.assign(words + kSelectionSpareWords, 0);
        glSelectBuffer(GLsizei(words), selection.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        m_renderDPI = 96;
        m_selectionNames.Clear();
        if (scene)
            scene->DrawScene(*this, m_viewport.Width, m_viewport.Height, dsPicking, nullptr);
        glFlush();
        hits = glRenderMode(GL_RENDER);
    }

    list.Clear();
    list.Reserve(hits);
    const std::size_t words = std::size_t(capacity) * 4;
    std::size_t at = 0;
    for (GLint h = 0; h < hits && at + 3 <= words; ++h) {
        const GLuint names = selection[at];
        if (at + 3 + names > words)
            break;
        const float nearDepth = depthWordToFloat(selection[at + 1]);
        const float farDepth = depthWordToFloat(selection[at + 2]);
        TGxBaseSceneObject* object = names > 0 ? m_selectionNames.Object(selection[at + 3]) : nullptr;
        // A hit under the bare name 0 was drawn by no object of the scene.
        if (object) {
            TPickSubObjects subNames;
            if (names > 1)
                subNames.assign(selection.begin() + std::ptrdiff_t(at + 4),
                                selection.begin() + std::ptrdiff_t(at + 3 + names));
            list.AddHit(object, std::move(subNames), nearDepth, farDepth);
        }
        at += 3 + names;
    }
}

TGxVector TGxSceneBuffer::ProjectToWindow(const TGxVector& point) const
{
    if (!m_camera)
        return point;
    const GluMatrices m = gluMatrices(m_modelViewMatrix, m_projectionMatrix, m_viewport);
    double x = 0, y = 0, z = 0;
    gluProject(point.X, point.Y, point.Z, m.modelView, m.projection, m.viewport, &x, &y, &z);
    return VectorMake(float(x), float(y), float(z), point.W);
}

TGxVector TGxSceneBuffer::UnprojectFromWindow(const TGxVector& windowPoint) const
{
    if (!m_camera)
        return windowPoint;
    const GluMatrices m = gluMatrices(m_modelViewMatrix, m_projectionMatrix, m_viewport);
    double x = 0, y = 0, z = 0;
    gluUnProject(windowPoint.X, windowPoint.Y, windowPoint.Z, m.modelView, m.projection, m.viewport, &x, &y, &z);
    return VectorMake(float(x), float(y), float(z), windowPoint.W);
}

TGxVector TGxSceneBuffer::PixelRay(const TGxVector& windowPoint) const
{
    TGxVector ray = VectorSubtract(UnprojectFromWindow(windowPoint), m_cameraAbsolutePosition);
    ray.W = 0.0f;
    return ray;
}

bool TGxSceneBuffer::PixelRayHitPlane(const TGxVector& windowPoint, const TGxVector& planePoint,
                                      const TGxVector& planeNormal, TGxVector& point) const
{
    if (!m_camera)
        return false;
    const bool hit = RayPlaneIntersect(m_cameraAbsolutePosition, PixelRay(windowPoint), planePoint, planeNormal, &point);
    point.W = 1.0f;
    return hit;
}

bool TGxSceneBuffer::PixelOnGroundPlane(const TGxVector& windowPoint, float z, TGxVector& point) const
{
    const bool hit = PixelRayHitPlane(windowPoint, VectorMake(0, 0, z, 1), VectorMake(0, 0, 1, 0), point);
    point.W = 0.0f;
    return hit;
}

bool RayPlaneIntersect(const TGxVector& start, const TGxVector& vector, const TGxVector& planePoint,
                       const TGxVector& planeNormal, TGxVector* point)
{
    const auto dot4 = [](const TGxVector& a, const TGxVector& b) {
        return a.X * b.X + a.Y * b.Y + a.Z * b.Z + a.W * b.W;
    };
    const float d = dot4(vector, planeNormal);
    if (d >= -1e-30f && d <= 1e-30f)
        return false;
    // A plane behind the start is no hit, whether or not the point is wanted.
    const float t = dot4(VectorSubtract(planePoint, start), planeNormal) / d;
    if (!(t > 0.0f))
        return false;
    if (point)
        *point = VectorAdd(start, VectorScale(vector, t));
    return true;
}
