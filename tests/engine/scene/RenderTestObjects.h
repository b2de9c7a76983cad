#pragma once

#include "engine/materials/GxMaterial.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>

#include <string>
#include <vector>

// What the test objects saw while they emitted their geometry.
struct EmitRecord {
    std::string name;
    TGxDrawState drawState;
    bool colourWrites;
    bool blending;
};
using EmitLog = std::vector<EmitRecord>;

// A square of side `size` in its XY plane facing +Z, in its material's
// diffuse colour; logs every EmitGeometry.
class TestQuad : public TGxSceneObject {
public:
    TestQuad(TGxComponent* owner, EmitLog* log, std::string name, float size = 1.0f)
        : TGxSceneObject(owner), m_log(log), m_size(size)
    {
        SetName(name);
    }
    std::string_view ClassName() const override { return "TestQuad"; }

    void SetColour(float r, float g, float b, float a = 1.0f)
    {
        Material().FrontProperties().Diffuse().SetColorVector(r, g, b, a);
    }
    TGxVector HalfExtentsUnscaled() const override { return VectorMake(m_size / 2, m_size / 2, 0.0f); }
    bool GeometryBoundingBox(TGxAABB& box) const override
    {
        box = MakeAABB({-m_size / 2, -m_size / 2, 0}, {m_size / 2, m_size / 2, 0});
        return true;
    }

    void EmitGeometry(TRenderContextInfo& rci) override
    {
        if (m_log) {
            GLboolean mask[4] = {};
            glGetBooleanv(GL_COLOR_WRITEMASK, mask);
            m_log->push_back({Name(), rci.drawState, mask[0] == GL_TRUE, glIsEnabled(GL_BLEND) == GL_TRUE});
        }
        const float h = m_size / 2;
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glVertex3f(-h, -h, 0);
        glVertex3f(h, -h, 0);
        glVertex3f(h, h, 0);
        glVertex3f(-h, h, 0);
        glEnd();
    }

private:
    EmitLog* m_log;
    float m_size;
};

inline std::vector<std::string> EmittedNames(const EmitLog& log)
{
    std::vector<std::string> names;
    for (const EmitRecord& r : log)
        names.push_back(r.name);
    return names;
}
