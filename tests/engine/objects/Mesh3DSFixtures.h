#pragma once

#include "base/ByteReader.h"
#include "data/File3DSWriter.h"
#include "engine/objects/GxFreeForm.h"

#include <cmath>
#include <string>

// Fixtures for the mesh tests, written with our own 3DS writer.
namespace fixture3ds {

inline ByteReader reader(const std::string& bytes, const std::string& name = "test.3ds")
{
    return ByteReader(std::vector<char>(bytes.begin(), bytes.end()), name);
}

inline void load(TGxBaseMesh& mesh, const std::string& bytes, const std::string& name = "test.3ds")
{
    ByteReader in = reader(bytes, name);
    mesh.LoadMeshStream(name, in);
}

inline std::string errorOf(TGxBaseMesh& mesh, const std::string& bytes, const std::string& name = "test.3ds")
{
    try {
        load(mesh, bytes, name);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// The cube from -1 to 1: vertex i has x = bit 0, y = bit 1, z = bit 2 of i
// (0 for -1, 1 for +1); twelve triangles wound outward, face 2k and 2k+1
// making one side.
inline Model3DSObject cube(const std::string& name = "Cube")
{
    Model3DSObject o;
    o.name = name;
    for (int i = 0; i < 8; ++i)
        o.vertices.push_back({(i & 1) ? 1.f : -1.f, (i & 2) ? 1.f : -1.f, (i & 4) ? 1.f : -1.f});
    for (int axis = 0; axis < 3; ++axis) {
        const int u = (axis + 1) % 3, w = (axis + 2) % 3;
        for (int side = 0; side < 2; ++side) {
            auto corner = [&](int cu, int cw) {
                return std::uint16_t((side << axis) | (cu << u) | (cw << w));
            };
            const std::uint16_t q[4] = {corner(0, 0), corner(1, 0), corner(1, 1), corner(0, 1)};
            // (u, w, axis) is right-handed: the quad runs counter-clockwise
            // seen from +axis, so the low side is wound the other way.
            if (side == 1) {
                o.faces.push_back({q[0], q[1], q[2]});
                o.faces.push_back({q[0], q[2], q[3]});
            } else {
                o.faces.push_back({q[0], q[2], q[1]});
                o.faces.push_back({q[0], q[3], q[2]});
            }
        }
    }
    return o;
}

// Two triangles sharing the edge 1-2: (0, 1, 2) in the plane z = 0 and
// (2, 1, 3) folded up along it.
inline Model3DSObject hinge(std::uint32_t mask0, std::uint32_t mask1)
{
    Model3DSObject o;
    o.name = "Hinge";
    o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}};
    o.faces = {{0, 1, 2}, {2, 1, 3}};
    o.smoothing = std::vector<std::uint32_t>{mask0, mask1};
    return o;
}

inline Model3DSMaterial material(const std::string& name, const std::string& textureFile = {})
{
    Model3DSMaterial m;
    m.name = name;
    m.textureFile = textureFile;
    return m;
}

inline std::string file(const Model3DSObject& object)
{
    Model3DS model;
    model.objects.push_back(object);
    return writeModel3DS(model);
}

} // namespace fixture3ds
