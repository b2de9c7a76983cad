#include "MaterialGlFixture.h"
#include "engine/materials/GxMaterialLibrary.h"

TEST_F(MaterialGl, TransparencyBlendsWithDiffuseAlpha)
{
    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 0.5f);
    material.SetBlendingMode(bmTransparency);
    draw(material);
    EXPECT_NEAR(gl.pixel(32, 32).red(), 128, 2);

    beginPass();
    material.SetBlendingMode(bmOpaque);
    draw(material);
    EXPECT_EQ(gl.pixel(32, 32).red(), 255);
}

TEST_F(MaterialGl, AlphaTestDropsOnlyTexelsOfAlphaZero)
{
    // Texel alphas 0, 1, 128, 255; a fragment that is drawn writes depth 0.5.
    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    material.SetBlendingMode(bmTransparency);
    makeNearest(material.Texture(),
                rowImage({QColor(255, 255, 255, 0), QColor(255, 255, 255, 1), QColor(255, 255, 255, 128),
                          QColor(255, 255, 255, 255)}));
    cache.Enable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    draw(material);
    const int columns[] = {8, 24, 40, 56};
    const float expected[] = {1.0f, 0.5f, 0.5f, 0.5f};
    for (int i = 0; i < 4; ++i) {
        float depth = 0;
        glReadPixels(columns[i], 32, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_NEAR(depth, expected[i], 0.01f) << "texel " << i;
    }
    EXPECT_EQ(gl.pixel(56, 32).red(), 255);
}

TEST_F(MaterialGl, LinkedMaterialIgnoresItsOwnDiffuseUntilTheLinkIsCleared)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& red = lib.Materials().Add();
    red.SetName("red");
    red.Material().FrontProperties().Diffuse().SetColorVector(1, 0, 0, 1);

    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(0, 1, 0, 1);
    material.SetMaterialLibrary(&lib);
    material.SetLibMaterialName("red");
    draw(material);
    EXPECT_EQ(gl.pixel(10, 10), QColor(255, 0, 0));

    material.SetLibMaterialName("");
    beginPass();
    draw(material);
    EXPECT_EQ(gl.pixel(10, 10), QColor(0, 255, 0));
}

TEST_F(MaterialGl, TextureScaleRepeatsAndOffsetShiftsTheTexture)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& tiles = lib.Materials().Add();
    tiles.SetName("tiles");
    tiles.Material().FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    makeNearest(tiles.Material().Texture(), rowImage({Qt::red, Qt::blue}));
    TGxMaterial material(nullptr);
    material.SetMaterialLibrary(&lib);
    material.SetLibMaterialName("tiles");

    auto columns = [&] {
        std::vector<QColor> v;
        for (int x : {8, 24, 40, 56})
            v.push_back(gl.pixel(x, 32));
        return v;
    };
    const QColor r(255, 0, 0), b(0, 0, 255);
    draw(material);
    EXPECT_EQ(columns(), (std::vector<QColor>{r, r, b, b}));

    tiles.SetTextureScale({2, 2, 1});
    beginPass();
    draw(material);
    EXPECT_EQ(columns(), (std::vector<QColor>{r, b, r, b}));

    tiles.SetTextureOffset({0.5f, 0, 0}); // half a tile: one texel
    beginPass();
    draw(material);
    EXPECT_EQ(columns(), (std::vector<QColor>{b, r, b, r}));

    // The texture matrix is the identity again once the material is restored.
    GLfloat m[16];
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[12], 0.0f);
}

TEST_F(MaterialGl, LayersReplaceTheOwnTextureOnlyWhenUnit0HasOne)
{
    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    makeNearest(material.Texture(), rowImage({Qt::red}));
    TGxTextureExItem& second = material.TextureEx().Add();
    second.SetTextureIndex(1);
    makeNearest(second.Texture(), rowImage({Qt::white}));
    TGxTextureExItem& beyond = material.TextureEx().Add();
    beyond.SetTextureIndex(31); // no such unit
    makeNearest(beyond.Texture(), rowImage({Qt::white}));

    auto unit1Enabled = [] {
        glActiveTexture(GL_TEXTURE1);
        const bool on = glIsEnabled(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
        return on;
    };
    material.ApplyState(context);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), material.Texture().Handle());
    EXPECT_FALSE(unit1Enabled());
    EXPECT_FALSE(second.Applied);
    material.RestoreState(context);

    TGxTextureExItem& first = material.TextureEx().Add();
    first.SetTextureIndex(0);
    makeNearest(first.Texture(), rowImage({Qt::green}));
    material.ApplyState(context);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), first.Texture().Handle());
    EXPECT_TRUE(unit1Enabled());
    EXPECT_TRUE(second.Applied);
    EXPECT_FALSE(beyond.Applied);
    EXPECT_EQ(TGxTexCoordRouter::Units(), (std::vector<int>{0, 1}));
    drawQuad();
    EXPECT_EQ(gl.pixel(32, 32), QColor(0, 255, 0)) << "green layer times the white one";
    material.RestoreState(context);
    EXPECT_FALSE(unit1Enabled());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MaterialGl, SecondTextureOfALibraryMaterial)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& base = lib.Materials().Add();
    base.SetName("base");
    base.Material().FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    makeNearest(base.Material().Texture(), rowImage({QColor(255, 255, 0)}));
    TGxLibMaterial& overlay = lib.Materials().Add();
    overlay.SetName("overlay");
    makeNearest(overlay.Material().Texture(), rowImage({QColor(0, 255, 255)}));
    TGxMaterial material(nullptr);
    material.SetMaterialLibrary(&lib);
    material.SetLibMaterialName("base");

    base.SetTexture2Name("missing");
    draw(material);
    EXPECT_EQ(base.Texture2Name(), "") << "a name that matches nothing is cleared at first use";

    base.SetTexture2Name("overlay");
    beginPass();
    base.ApplyState(context);
    EXPECT_EQ(TGxTexCoordRouter::Mode(), mtcmDual);
    EXPECT_EQ(overlay.Users().size(), 1u);
    drawQuad();
    base.RestoreState(context);
    EXPECT_EQ(TGxTexCoordRouter::Mode(), mtcmMain);
    EXPECT_EQ(gl.pixel(32, 32), QColor(0, 255, 0)) << "yellow modulated by cyan";

    lib.Materials().Delete(1); // the overlay goes: base forgets the name
    EXPECT_EQ(base.Texture2Name(), "");
}

TEST_F(MaterialGl, NoLightingAndIgnoreFogAreCountedAndUndone)
{
    TGxMaterial material(nullptr);
    material.SetMaterialOptions(moNoLighting | moIgnoreFog);
    cache.Enable(GL_LIGHTING);
    cache.Enable(GL_FOG);
    material.ApplyState(context);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(context.lightingDisabledCounter, 1);
    material.RestoreState(context);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(context.lightingDisabledCounter, 0);
    EXPECT_EQ(context.fogDisabledCounter, 0);

    // With lighting already off the material counts nothing and turns nothing on.
    cache.Disable(GL_LIGHTING);
    material.ApplyState(context);
    material.RestoreState(context);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(context.lightingDisabledCounter, 0);
}

TEST_F(MaterialGl, FaceCullingFollowsTheTable)
{
    struct Case {
        bool cullingNow;
        bool bufferCulls;
        TFaceCulling mode;
        bool cullingAfter;
    };
    const Case cases[] = {
        {true, false, fcBufferDefault, false}, {true, true, fcBufferDefault, true},
        {false, true, fcBufferDefault, true},  {false, false, fcBufferDefault, false},
        {false, false, fcCull, true},          {true, true, fcNoCull, false},
    };
    for (const Case& c : cases) {
        TGxMaterial material(nullptr);
        material.SetFaceCulling(c.mode);
        cache.SetEnabled(GL_CULL_FACE, c.cullingNow);
        context.bufferCullsFaces = c.bufferCulls;
        material.ApplyState(context);
        EXPECT_EQ(bool(glIsEnabled(GL_CULL_FACE)), c.cullingAfter) << c.cullingNow << c.bufferCulls << c.mode;
        material.RestoreState(context);
    }
}
