#pragma once

#include "engine/materials/GxTexCoordRouter.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <functional>
#include <vector>

// What OpenGL's feedback mode reports of a drawing, with the positions
// mapped back to object coordinates of the drawing's matrices.
struct FeedbackVertex {
    std::array<double, 3> position; // object coordinates
    std::array<float, 4> color;
    std::array<float, 4> texCoord;
};

struct FeedbackPrimitive {
    enum Kind { Polygon, Line, Point } kind;
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in feedback mode with the current matrices and viewport.
inline std::vector<FeedbackPrimitive> captureFeedback(const std::function<void()>& draw)
{
    std::array<double, 16> modelView, projection;
    std::array<GLint, 4> viewport;
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());

    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    std::vector<FeedbackPrimitive> result;
    const auto vertexAt = [&](std::size_t& i) {
        FeedbackVertex v;
        gluUnProject(buffer[i], buffer[i + 1], buffer[i + 2], modelView.data(), projection.data(),
                     viewport.data(), &v.position[0], &v.position[1], &v.position[2]);
        for (int k = 0; k < 4; ++k) {
            v.color[k] = buffer[i + 3 + k];
            v.texCoord[k] = buffer[i + 7 + k];
        }
        i += 11;
        return v;
    };
    for (std::size_t i = 0; used > 0 && i < static_cast<std::size_t>(used);) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        FeedbackPrimitive p{};
        if (token == GL_POLYGON_TOKEN) {
            p.kind = FeedbackPrimitive::Polygon;
            const int n = static_cast<int>(buffer[i++]);
            for (int k = 0; k < n; ++k)
                p.vertices.push_back(vertexAt(i));
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.kind = FeedbackPrimitive::Line;
            p.vertices.push_back(vertexAt(i));
            p.vertices.push_back(vertexAt(i));
        } else if (token == GL_POINT_TOKEN) {
            p.kind = FeedbackPrimitive::Point;
            p.vertices.push_back(vertexAt(i));
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            p.kind = FeedbackPrimitive::Point; // bitmap and pixel tokens carry one vertex
            p.vertices.push_back(vertexAt(i));
        }
        result.push_back(std::move(p));
    }
    return result;
}

// Sends the emitters' texture coordinates to unit 0 while it lives, as a
// render pass does, and puts the previous routing back.
class MainTexCoordRouting {
public:
    MainTexCoordRouting() : m_previous(TGxTexCoordRouter::Mode()) { TGxTexCoordRouter::SetMode(mtcmMain); }
    ~MainTexCoordRouting() { TGxTexCoordRouter::SetMode(m_previous); }
    MainTexCoordRouting(const MainTexCoordRouting&) = delete;
    MainTexCoordRouting& operator=(const MainTexCoordRouting&) = delete;

private:
    TMapTexCoordMode m_previous;
};
