#pragma once

#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "support/OffscreenGl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

// A 64 x 64 view in which one quad covers every pixel, drawn the way the
// render traversal will draw an object: material applied, geometry, material
// restored, with the state the traversal sets at the start of a pass.
class MaterialGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.isValid());
        context.stateCache = &cache;
        beginPass();
    }

    void beginPass()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        cache.Invalidate();
        cache.Disable(GL_LIGHTING);
        cache.Disable(GL_CULL_FACE);
        cache.Disable(GL_DEPTH_TEST);
        cache.ResetForPass();
        cache.Enable(GL_ALPHA_TEST);
        cache.SetAlphaFunc(GL_GREATER, 0);
        TGxTexCoordRouter::SetMode(mtcmMain);
    }

    static void drawQuad()
    {
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        TGxTexCoordRouter::TexCoord2f(0, 0);
        glVertex3f(-1, -1, 0);
        TGxTexCoordRouter::TexCoord2f(1, 0);
        glVertex3f(1, -1, 0);
        TGxTexCoordRouter::TexCoord2f(1, 1);
        glVertex3f(1, 1, 0);
        TGxTexCoordRouter::TexCoord2f(0, 1);
        glVertex3f(-1, 1, 0);
        glEnd();
    }

    void draw(TGxMaterial& material)
    {
        material.ApplyState(context);
        drawQuad();
        while (material.RestoreState(context)) {
            material.ApplyState(context);
            drawQuad();
        }
    }

    OffscreenGl gl{64, 64};
    TGxStateCache cache;
    TGxMaterialContext context;
};

// An opaque texture picture of the given colours, left to right, one row.
inline QImage rowImage(std::initializer_list<QColor> colours)
{
    QImage image(static_cast<int>(colours.size()), 1, QImage::Format_ARGB32);
    int x = 0;
    for (const QColor& c : colours)
        image.setPixelColor(x++, 0, c);
    return image;
}

// A texture that samples its texels exactly (no filtering, no mipmaps).
inline void makeNearest(TGxTexture& texture, const QImage& image)
{
    texture.AssignImage(image);
    texture.SetMinFilter(miNearest);
    texture.SetMagFilter(maNearest);
    texture.SetTextureMode(tmModulate);
    texture.SetDisabled(false);
}
