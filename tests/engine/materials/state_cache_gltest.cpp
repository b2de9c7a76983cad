#include "MaterialGlFixture.h"
#include "engine/materials/GxGlApi.h"

#include <QOpenGLPaintDevice>
#include <QPainter>
#include <map>

namespace {
// Counts the OpenGL calls made through the table, by kind.
std::map<std::string, int> g_calls;

class CountingGl {
public:
    CountingGl() : m_saved(GxGl())
    {
        TGxGlApi& t = GxGl();
        t.Enable = [](GLenum c) { ++g_calls["Enable"]; glEnable(c); };
        t.Disable = [](GLenum c) { ++g_calls["Disable"]; glDisable(c); };
        t.Materialfv = [](GLenum f, GLenum n, const GLfloat* p) { ++g_calls["Material"]; glMaterialfv(f, n, p); };
        t.Materiali = [](GLenum f, GLenum n, GLint p) { ++g_calls["Material"]; glMateriali(f, n, p); };
        t.BindTexture = [](GLenum target, GLuint name) { ++g_calls["BindTexture"]; glBindTexture(target, name); };
        t.BlendFunc = [](GLenum s, GLenum d) { ++g_calls["BlendFunc"]; glBlendFunc(s, d); };
        t.TexEnvi = [](GLenum a, GLenum b, GLint c) { ++g_calls["TexEnv"]; glTexEnvi(a, b, c); };
        t.TexEnvfv = [](GLenum a, GLenum b, const GLfloat* c) { ++g_calls["TexEnv"]; glTexEnvfv(a, b, c); };
        t.PolygonMode = [](GLenum f, GLenum m) { ++g_calls["PolygonMode"]; glPolygonMode(f, m); };
        g_calls.clear();
    }
    ~CountingGl() { GxGl() = m_saved; }

private:
    TGxGlApi m_saved;
};
} // namespace

TEST_F(MaterialGl, EqualMaterialsOnARunOfObjectsSendTheirStateOnce)
{
    CountingGl counting;
    cache.Enable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    TGxMaterial a(nullptr), b(nullptr);
    for (TGxMaterial* m : {&a, &b}) {
        m->FrontProperties().Diffuse().SetColorVector(0.9f, 0.5f, 0.1f, 1);
        m->SetBlendingMode(bmTransparency);
        m->Texture().SetTextureMode(tmModulate);
        m->Texture().AssignImage(rowImage({Qt::white}));
        m->Texture().SetDisabled(false);
    }
    b.Texture().Assign(a.Texture());
    draw(a);
    const auto afterFirst = g_calls;
    for (int i = 0; i < 9; ++i)
        draw(a);
    EXPECT_EQ(g_calls["Material"], afterFirst.at("Material"));
    EXPECT_EQ(g_calls["BlendFunc"], afterFirst.at("BlendFunc"));
    EXPECT_EQ(g_calls["BindTexture"], afterFirst.at("BindTexture"));
    EXPECT_EQ(g_calls["TexEnv"], afterFirst.at("TexEnv"));
    EXPECT_EQ(g_calls["PolygonMode"], afterFirst.at("PolygonMode"));
    // Only the texture target goes on and off around each object.
    EXPECT_EQ(g_calls["Enable"] + g_calls["Disable"], afterFirst.at("Enable") + afterFirst.at("Disable") + 9 * 2);

    // A material that differs only in its diffuse colour sends only that.
    b.FrontProperties().Diffuse().SetColorVector(0.2f, 0.5f, 0.1f, 1);
    const int materialCalls = g_calls["Material"];
    draw(b);
    draw(a);
    EXPECT_EQ(g_calls["Material"], materialCalls + 2);
}

TEST_F(MaterialGl, InvalidatedCacheReappliesStateThatQPainterChanged)
{
    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 0.5f);
    material.SetBlendingMode(bmTransparency);
    draw(material);

    // An overlay painted with QPainter changes OpenGL state behind the cache.
    {
        QOpenGLPaintDevice device(64, 64);
        QPainter painter(&device);
        painter.fillRect(QRect(0, 0, 8, 8), Qt::white);
    }
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);

    beginPass(); // starts with Invalidate, as every frame must
    draw(material);
    EXPECT_NEAR(gl.pixel(32, 32).red(), 128, 2);
}
