#include "engine/objects/GxCylinder.h"

#include "base/GxException.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
struct QuadricDeleter {
    void operator()(GLUquadric* q) const { gluDeleteQuadric(q); }
};

// Undoes a matrix push on every way out.
class MatrixScope {
public:
    MatrixScope() { glPushMatrix(); }
    ~MatrixScope() { glPopMatrix(); }
    MatrixScope(const MatrixScope&) = delete;
    MatrixScope& operator=(const MatrixScope&) = delete;
};
} // namespace

void TGxQuadricObject::SetNormals(TNormalSmoothing v)
{
    store(m_normals, v);
}

void TGxQuadricObject::SetNormalDirection(TNormalDirection v)
{
    store(m_normalDirection, v);
}

void TGxCylinder::Assign(const TGxCylinder& source)
{
    SetNormals(source.Normals());
    SetNormalDirection(source.NormalDirection());
    SetBottomRadius(source.BottomRadius());
    SetHeight(source.Height());
    SetSlices(source.Slices());
    SetStacks(source.Stacks());
    SetLoops(source.Loops());
    SetTopRadius(source.m_topRadius);
    SetParts(source.m_parts);
    SetAlignment(source.m_alignment);
    SetMaterial(source.Material());
}

TGxVector TGxCylinder::HalfExtentsUnscaled() const
{
    const float r = std::max(std::fabs(m_topRadius), std::fabs(BottomRadius()));
    return VectorMake(r, Height() / 2, r);
}

void TGxCylinder::EmitGeometry(TRenderContextInfo&)
{
    BuildGeometry();
}

void TGxCylinder::BuildGeometry() const
{
    MatrixScope outer;
    std::unique_ptr<GLUquadric, QuadricDeleter> quadric(gluNewQuadric());
    gxAssert(quadric != nullptr, "Cannot create a GLU quadric");
    GLUquadric* q = quadric.get();
    gluQuadricDrawStyle(q, GLU_FILL);
    switch (Normals()) {
    case nsFlat: gluQuadricNormals(q, GLU_FLAT); break;
    case nsSmooth: gluQuadricNormals(q, GLU_SMOOTH); break;
    case nsNone: gluQuadricNormals(q, GLU_NONE); break;
    }
    const bool outside = NormalDirection() == ndOutside;
    gluQuadricOrientation(q, outside ? GLU_OUTSIDE : GLU_INSIDE);
    gluQuadricTexture(q, GL_TRUE);

    // The quadric's axis (+Z) becomes the object's +Y.
    glRotatef(-90, 1, 0, 0);
    switch (m_alignment) {
    case caCenter: glTranslatef(0, 0, -Height() / 2); break;
    case caTop: glTranslatef(0, 0, -Height()); break;
    case caBottom: break;
    }
    if (m_parts.Contains(TCylinderPart::cySides))
        gluCylinder(q, BottomRadius(), m_topRadius, Height(), Slices(), Stacks());
    if (m_parts.Contains(TCylinderPart::cyTop)) {
        MatrixScope top;
        glTranslatef(0, 0, Height());
        gluDisk(q, 0, m_topRadius, Slices(), Loops());
    }
    if (m_parts.Contains(TCylinderPart::cyBottom)) {
        // The bottom disk faces away from the cylinder.
        gluQuadricOrientation(q, outside ? GLU_INSIDE : GLU_OUTSIDE);
        gluDisk(q, 0, BottomRadius(), Slices(), Loops());
    }
}
