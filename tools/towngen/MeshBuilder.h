#pragma once

#include "data/File3DSWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// A point of a landmark model. Models are made Y-up: placed with the
// direction (0, 1, 0) and up (0, 0, 1), local Y becomes the town's height,
// local Z north and local X west.
struct P3 {
    float x = 0, y = 0, z = 0;
};

// Builds one 3DS object face by face, with a material and a smoothing mask
// per face. Faces are wound counter-clockwise seen from outside.
class MeshBuilder {
public:
    explicit MeshBuilder(std::string name) { m_object.name = std::move(name); }

    // New vertices; texture coordinates from the two axes across the face.
    void quad(P3 a, P3 b, P3 c, P3 d, const std::string& material, std::uint32_t smoothing = 0);
    void triangle(P3 a, P3 b, P3 c, const std::string& material, std::uint32_t smoothing = 0);
    // An axis-aligned box, each side flat (its own vertices); `bottom` off
    // leaves out the face resting on the ground.
    void box(P3 min, P3 max, const std::string& material, bool bottom = false);
    // A surface of revolution about the vertical line through (cx, cz):
    // `profile` runs (radius, height) from bottom to top; its sides share
    // vertices around, smoothed by `smoothing`; a first or last point of
    // radius 0 closes the shape. Only the arc from angle a0 to a1 (radians,
    // 0 along +X, counter-clockwise seen from above) is made.
    void lathe(float cx, float cz, const std::vector<std::pair<float, float>>& profile, int segments,
               const std::string& material, std::uint32_t smoothing, double a0 = 0, double a1 = 6.283185307179586);
    // A surface through rows of points sharing their vertices, smoothed by
    // `smoothing`: faces (p[i][j], p[i+1][j], p[i+1][j+1], p[i][j+1]) face
    // the side from which they run counter-clockwise.
    void grid(const std::vector<std::vector<P3>>& points, const std::string& material, std::uint32_t smoothing);
    // A flat cap (disc) at height y, facing up or down.
    void disc(float cx, float cz, float y, float radius, int segments, bool up, const std::string& material);

    // Turns everything made so far about the Y axis: (x, z) becomes
    // (x cos + z sin, z cos - x sin).
    void rotateY(float cosAngle, float sinAngle);

    // The object, with one material group per material in first-use order.
    Model3DSObject object() const;
    std::size_t vertexCount() const { return m_object.vertices.size(); }

private:
    std::uint16_t vertex(P3 p, float u, float v);
    void face(std::uint16_t a, std::uint16_t b, std::uint16_t c, const std::string& material, std::uint32_t smoothing);

    Model3DSObject m_object;
    std::vector<std::string> m_faceMaterials;
};
