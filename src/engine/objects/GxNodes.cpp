#include "engine/objects/GxNodes.h"

#include "engine/materials/GxTexCoordRouter.h"
#include "engine/objects/CubicSpline.h"
#include "base/GxException.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>

namespace {

std::string indexOutOfBounds(int index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

using Vertex = std::array<float, 3>;

// What one tessellation shares with its callbacks.
struct Tessellation {
    // Crossing points asked for by the tessellator; a deque keeps the
    // addresses handed out valid while more are added.
    std::deque<Vertex> combined;
    GLenum error = 0;
};

using GluCallback = void(GLAPIENTRY*)();

void GLAPIENTRY emitTexturedVertex(void* data)
{
    const auto* v = static_cast<const float*>(data);
    TGxTexCoordRouter::TexCoord2fv(v);
    glVertex3fv(v);
}

void GLAPIENTRY emitVertex(void* data)
{
    glVertex3fv(static_cast<const float*>(data));
}

void GLAPIENTRY combine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4], void** out,
                        void* polygonData)
{
    auto* t = static_cast<Tessellation*>(polygonData);
    t->combined.push_back({float(coords[0]), float(coords[1]), float(coords[2])});
    *out = t->combined.back().data();
}

void GLAPIENTRY reportError(GLenum error, void* polygonData)
{
    // Raised once the tessellator is finished with: an exception must not
    // unwind through the C library.
    auto* t = static_cast<Tessellation*>(polygonData);
    if (t->error == 0)
        t->error = error;
}

// Asking for edge flags makes the tessellator emit plain triangles only, no
// fans or strips; Mesa's selection mode crashes on lists mixing them.
void GLAPIENTRY ignoreEdgeFlag(GLboolean) {}

struct TessDeleter {
    void operator()(GLUtesselator* t) const { gluDeleteTess(t); }
};

bool finite(const Vertex& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

} // namespace

// ---------------------------------------------------------------- TGxNode

void TGxNode::setComponent(int i, float v)
{
    m_coords[i] = v;
    m_list->changed();
}

void TGxNode::SetVector(float x, float y, float z, float w)
{
    m_coords[0] = x;
    m_coords[1] = y;
    m_coords[2] = z;
    m_coords[3] = w;
    m_list->changed();
}

std::string TGxNode::DisplayName() const
{
    char text[160];
    std::snprintf(text, sizeof text, "%.4f; %.4f; %.4f", m_coords[0], m_coords[1], m_coords[2]);
    return text;
}

void TGxNode::Assign(const TGxNode& source)
{
    SetVector(source.m_coords[0], source.m_coords[1], source.m_coords[2], source.m_coords[3]);
}

// ---------------------------------------------------------------- TGxNodes

TGxNode& TGxNodes::Add()
{
    m_items.push_back(TGxNode(this));
    changed();
    return m_items.back();
}

TGxNode& TGxNodes::Items(int i)
{
    if (i < 0 || i >= Count())
        throw EGxError(indexOutOfBounds(i));
    return m_items[i];
}

const TGxNode& TGxNodes::Items(int i) const
{
    if (i < 0 || i >= Count())
        throw EGxError(indexOutOfBounds(i));
    return m_items[i];
}

void TGxNodes::Delete(int i)
{
    Items(i);
    m_items.erase(m_items.begin() + i);
    changed();
}

void TGxNodes::Clear()
{
    if (m_items.empty())
        return;
    m_items.clear();
    changed();
}

void TGxNodes::Assign(const TGxNodes& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    m_items.clear();
    m_items.reserve(source.m_items.size());
    for (const TGxNode& n : source.m_items) {
        TGxNode copy(this);
        std::copy(n.m_coords, n.m_coords + 4, copy.m_coords);
        m_items.push_back(copy);
    }
    EndUpdate();
}

TGxAffineVector TGxNodes::OutlineNormal() const
{
    if (Count() < 3)
        return {};
    const TGxAffineVector p0 = m_items[0].AsAffineVector();
    const TGxAffineVector p1 = m_items[1].AsAffineVector();
    const TGxAffineVector p2 = m_items[2].AsAffineVector();
    const TGxAffineVector a{p1.X - p0.X, p1.Y - p0.Y, p1.Z - p0.Z};
    const TGxAffineVector b{p2.X - p0.X, p2.Y - p0.Y, p2.Z - p0.Z};
    TGxAffineVector n = VectorCrossProduct(a, b);
    if (VectorLength(n) == 0.0f)
        return {};
    NormalizeVector(n);
    return n;
}

std::vector<TGxAffineVector> TGxNodes::SplineOutline(int segmentSamples) const
{
    const int count = Count();
    if (count == 0)
        return {};
    std::vector<float> x(count), y(count), z(count);
    for (int i = 0; i < count; ++i) {
        x[i] = m_items[i].X();
        y[i] = m_items[i].Y();
        z[i] = m_items[i].Z();
    }
    const TCubicSpline spline(x, y, z);
    const int last = std::max(segmentSamples, 1) * std::max(count - 1, 0);
    const float f = 1.0f / float(std::max(segmentSamples, 1));
    std::vector<TGxAffineVector> points;
    points.reserve(last + 1);
    for (int i = 0; i <= last; ++i)
        points.push_back(spline.SplineAffineVector(float(i) * f));
    return points;
}

// Where a tessellation's triangles go: OpenGL (immediate mode, or the
// display list being compiled) or an array of vertices with normals.
struct TGxNodes::OutlineTarget {
    bool emitTexCoords = false;
    std::vector<float>* captured = nullptr; // x, y, z, nx, ny, nz per vertex
    const TGxAffineVector* normal = nullptr;
};

namespace {

struct CaptureState {
    Tessellation tessellation;
    std::vector<float>* out;
    TGxAffineVector normal;
};

void GLAPIENTRY captureBegin(GLenum, void*) {}
void GLAPIENTRY captureEnd(void*) {}

void GLAPIENTRY captureVertex(void* data, void* polygonData)
{
    const auto* v = static_cast<const float*>(data);
    auto* c = static_cast<CaptureState*>(polygonData);
    c->out->insert(c->out->end(), {v[0], v[1], v[2], c->normal.X, c->normal.Y, c->normal.Z});
}

void GLAPIENTRY captureCombine(GLdouble coords[3], void* neighbours[4], GLfloat weights[4], void** out,
                               void* polygonData)
{
    combine(coords, neighbours, weights, out, &static_cast<CaptureState*>(polygonData)->tessellation);
}

void GLAPIENTRY captureError(GLenum error, void* polygonData)
{
    reportError(error, &static_cast<CaptureState*>(polygonData)->tessellation);
}

} // namespace

void TGxNodes::tessellate(const OutlineTarget& target, int segmentSamples, bool reversed) const
{
    const int count = Count();
    if (count <= 2)
        return;

    // The outline as it is passed on: the nodes themselves, or spline samples.
    std::vector<TGxAffineVector> samples;
    if (segmentSamples > 1)
        samples = SplineOutline(segmentSamples);
    const auto vertexAt = [&](int k) -> const float* {
        if (!samples.empty())
            return samples[reversed ? samples.size() - 1 - k : k].data();
        return m_items[reversed ? count - 1 - k : k].AsAddress();
    };
    const int vertexCount = samples.empty() ? count : static_cast<int>(samples.size());
    // A point at infinity or NaN (a damaged model file) would derail the
    // tessellator; such an outline is not drawn.
    for (int k = 0; k < vertexCount; ++k) {
        const float* v = vertexAt(k);
        if (!finite({v[0], v[1], v[2]}))
            return;
    }

    std::unique_ptr<GLUtesselator, TessDeleter> tess(gluNewTess());
    gxAssert(tess != nullptr, "Cannot create a GLU tessellator");
    CaptureState capture{{}, target.captured, target.normal ? *target.normal : TGxAffineVector{}};
    void* polygonData = nullptr;
    if (target.captured) {
        gluTessCallback(tess.get(), GLU_TESS_BEGIN_DATA, reinterpret_cast<GluCallback>(captureBegin));
        gluTessCallback(tess.get(), GLU_TESS_VERTEX_DATA, reinterpret_cast<GluCallback>(captureVertex));
        gluTessCallback(tess.get(), GLU_TESS_END_DATA, reinterpret_cast<GluCallback>(captureEnd));
        gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<GluCallback>(captureError));
        gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<GluCallback>(captureCombine));
        polygonData = &capture;
    } else {
        gluTessCallback(tess.get(), GLU_TESS_BEGIN, reinterpret_cast<GluCallback>(glBegin));
        gluTessCallback(tess.get(), GLU_TESS_VERTEX,
                        reinterpret_cast<GluCallback>(target.emitTexCoords ? emitTexturedVertex : emitVertex));
        gluTessCallback(tess.get(), GLU_TESS_END, reinterpret_cast<GluCallback>(glEnd));
        gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<GluCallback>(reportError));
        gluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<GluCallback>(combine));
        polygonData = &capture.tessellation;
    }
    gluTessCallback(tess.get(), GLU_TESS_EDGE_FLAG, reinterpret_cast<GluCallback>(ignoreEdgeFlag));

    if (target.normal) {
        if (!target.captured)
            glNormal3fv(target.normal->data());
        gluTessNormal(tess.get(), target.normal->X, target.normal->Y, target.normal->Z);
    }
    gluTessBeginPolygon(tess.get(), polygonData);
    gluTessBeginContour(tess.get());
    for (int k = 0; k < vertexCount; ++k) {
        const float* v = vertexAt(k);
        GLdouble coords[3] = {v[0], v[1], v[2]};
        // The tessellator only reads the vertex data it is given.
        gluTessVertex(tess.get(), coords, const_cast<float*>(v));
    }
    gluTessEndContour(tess.get());
    gluTessEndPolygon(tess.get());
    tess.reset();

    const GLenum error = capture.tessellation.error;
    if (error != 0)
        throw EGxAssertion(std::to_string(error) + ": " + reinterpret_cast<const char*>(gluErrorString(error)));
}

void TGxNodes::DrawFilledOutline(bool emitTexCoords, const TGxAffineVector* normal, int segmentSamples,
                                 bool reversed) const
{
    OutlineTarget target;
    target.emitTexCoords = emitTexCoords;
    target.normal = normal;
    tessellate(target, segmentSamples, reversed);
}

void TGxNodes::FilledOutlineTriangles(std::vector<float>& out, const TGxAffineVector& normal, int segmentSamples,
                                      bool reversed) const
{
    OutlineTarget target;
    target.captured = &out;
    target.normal = &normal;
    tessellate(target, segmentSamples, reversed);
}
