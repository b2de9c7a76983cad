#include "MeshBuilder.h"

#include "base/GxException.h"

#include <algorithm>
#include <cmath>

namespace {
P3 sub(P3 a, P3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float len(P3 a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
float dot(P3 a, P3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
} // namespace

std::uint16_t MeshBuilder::vertex(P3 p, float u, float v)
{
    gxAssert(m_object.vertices.size() < 65535, "A 3DS object holds at most 65535 vertices");
    m_object.vertices.push_back({p.x, p.y, p.z});
    m_object.texVertices.push_back({u, v});
    return std::uint16_t(m_object.vertices.size() - 1);
}

void MeshBuilder::face(std::uint16_t a, std::uint16_t b, std::uint16_t c, const std::string& material,
                       std::uint32_t smoothing)
{
    gxAssert(m_object.faces.size() < 65535, "A 3DS object holds at most 65535 faces");
    m_object.faces.push_back({a, b, c});
    if (!m_object.smoothing)
        m_object.smoothing.emplace();
    m_object.smoothing->push_back(smoothing);
    m_faceMaterials.push_back(material);
}

void MeshBuilder::quad(P3 a, P3 b, P3 c, P3 d, const std::string& material, std::uint32_t smoothing)
{
    // Texture across the face: u along a-b, v along a-d, one unit a repeat.
    const P3 ab = sub(b, a), ad = sub(d, a);
    const float lu = len(ab), lv = len(ad);
    auto uv = [&](P3 p, float& u, float& v) {
        const P3 ap = sub(p, a);
        u = lu > 0 ? dot(ap, ab) / lu : 0;
        v = lv > 0 ? dot(ap, ad) / lv : 0;
    };
    float u[4], v[4];
    const P3 corners[4] = {a, b, c, d};
    std::uint16_t i[4];
    for (int k = 0; k < 4; ++k) {
        uv(corners[k], u[k], v[k]);
        i[k] = vertex(corners[k], u[k], v[k]);
    }
    face(i[0], i[1], i[2], material, smoothing);
    face(i[0], i[2], i[3], material, smoothing);
}

void MeshBuilder::triangle(P3 a, P3 b, P3 c, const std::string& material, std::uint32_t smoothing)
{
    face(vertex(a, 0, 0), vertex(b, 1, 0), vertex(c, 0.5f, 1), material, smoothing);
}

void MeshBuilder::box(P3 lo, P3 hi, const std::string& material, bool bottom)
{
    const P3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                     {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    quad(p[4], p[5], p[6], p[7], material); // +z
    quad(p[1], p[0], p[3], p[2], material); // -z
    quad(p[5], p[1], p[2], p[6], material); // +x
    quad(p[0], p[4], p[7], p[3], material); // -x
    quad(p[7], p[6], p[2], p[3], material); // top
    if (bottom)
        quad(p[0], p[1], p[5], p[4], material);
}

void MeshBuilder::lathe(float cx, float cz, const std::vector<std::pair<float, float>>& profile, int segments,
                        const std::string& material, std::uint32_t smoothing, double a0, double a1)
{
    const bool full = std::fabs(a1 - a0 - 6.283185307179586) < 1e-6;
    const int columns = full ? segments : segments + 1;
    std::vector<std::vector<std::uint16_t>> ring(profile.size());
    for (std::size_t r = 0; r < profile.size(); ++r) {
        const auto [radius, height] = profile[r];
        for (int s = 0; s < columns; ++s) {
            const double a = a0 + (a1 - a0) * double(s) / double(segments);
            // Angle measured from +X towards -Z, so that counter-clockwise seen
            // from above (+Y) runs the faces outward.
            const P3 p{cx + radius * float(std::cos(a)), height, cz - radius * float(std::sin(a))};
            ring[r].push_back(vertex(p, float(s) / float(segments), float(r) / float(profile.size() - 1)));
        }
    }
    for (std::size_t r = 0; r + 1 < profile.size(); ++r)
        for (int s = 0; s < segments; ++s) {
            const int t = full ? (s + 1) % segments : s + 1;
            const std::uint16_t a = ring[r][std::size_t(s)], b = ring[r][std::size_t(t)];
            const std::uint16_t c = ring[r + 1][std::size_t(t)], d = ring[r + 1][std::size_t(s)];
            if (profile[r].first > 0)
                face(a, b, c, material, smoothing);
            // A point of radius 0 is an apex: one triangle per column there.
            if (profile[r + 1].first > 0)
                face(a, c, d, material, smoothing);
        }
}

void MeshBuilder::grid(const std::vector<std::vector<P3>>& points, const std::string& material,
                       std::uint32_t smoothing)
{
    std::vector<std::vector<std::uint16_t>> index(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = 0; j < points[i].size(); ++j)
            index[i].push_back(vertex(points[i][j], float(i) / float(points.size() - 1),
                                      float(j) / float(points[i].size() - 1)));
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        for (std::size_t j = 0; j + 1 < points[i].size(); ++j) {
            face(index[i][j], index[i + 1][j], index[i + 1][j + 1], material, smoothing);
            face(index[i][j], index[i + 1][j + 1], index[i][j + 1], material, smoothing);
        }
}

void MeshBuilder::disc(float cx, float cz, float y, float radius, int segments, bool up, const std::string& material)
{
    const std::uint16_t centre = vertex({cx, y, cz}, 0.5f, 0.5f);
    std::vector<std::uint16_t> rim;
    for (int s = 0; s < segments; ++s) {
        const double a = 6.283185307179586 * s / segments;
        const float c = float(std::cos(a)), n = float(std::sin(a));
        rim.push_back(vertex({cx + radius * c, y, cz - radius * n}, 0.5f + c / 2, 0.5f + n / 2));
    }
    for (int s = 0; s < segments; ++s) {
        const std::uint16_t a = rim[std::size_t(s)], b = rim[std::size_t((s + 1) % segments)];
        if (up)
            face(centre, a, b, material, 0);
        else
            face(centre, b, a, material, 0);
    }
}

void MeshBuilder::rotateY(float c, float s)
{
    for (auto& v : m_object.vertices)
        v = {v[0] * c + v[2] * s, v[1], v[2] * c - v[0] * s};
}

Model3DSObject MeshBuilder::object() const
{
    Model3DSObject o = m_object;
    for (std::size_t f = 0; f < m_faceMaterials.size(); ++f) {
        auto it = std::find_if(o.groups.begin(), o.groups.end(),
                               [&](const Model3DSGroup& g) { return g.material == m_faceMaterials[f]; });
        if (it == o.groups.end()) {
            o.groups.push_back({m_faceMaterials[f], {}});
            it = o.groups.end() - 1;
        }
        it->faces.push_back(std::uint16_t(f));
    }
    return o;
}
