#include "MaterialGlFixture.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/JpegEncoder.h"
#include "engine/scene/GxListHandle.h"
#include "support/TempDir.h"

#include <GL/glu.h>
#include <QCoreApplication>
#include <QOpenGLContext>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

namespace {
GLint levelSize(int level, GLenum which)
{
    GLint v = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &v);
    return v;
}

// White materials with a red and a green texture, sampled exactly.
struct RedAndGreenMaterials {
    TGxMaterial red{nullptr}, green{nullptr};
    RedAndGreenMaterials()
    {
        for (TGxMaterial* m : {&red, &green})
            m->FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
        makeNearest(red.Texture(), rowImage({Qt::red}));
        makeNearest(green.Texture(), rowImage({Qt::green}));
    }
};
} // namespace

TEST_F(MaterialGl, JpegIsWidenedToAMultipleOf4AndUploadedAsPowersOfTwo)
{
    TempDir dir;
    for (auto [width, bitmapWidth] : {std::pair{102, 104}, std::pair{100, 100}}) {
        QImage photo(width, 60, QImage::Format_RGB888);
        photo.fill(QColor(30, 160, 90));
        const std::string path = dir.file("photo" + std::to_string(width) + ".jpg");
        std::ofstream(path, std::ios::binary) << encodeJpeg(photo);

        TGxMaterial material(nullptr);
        TGxTexture& texture = material.Texture();
        texture.SetImageClassName("TGxPicFileImage");
        dynamic_cast<TGxPicFileImage&>(texture.Image()).SetPictureFileName(path);
        const TGxBitmap32* pixels = texture.Image().AcquirePixels(GL_TEXTURE_2D);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(pixels->Width(), bitmapWidth);
        EXPECT_EQ(pixels->Height(), 60);
        texture.Image().ReleasePixels();

        texture.SetDisabled(false);
        material.ApplyState(context);
        EXPECT_EQ(texture.TexWidth(), 128);
        EXPECT_EQ(texture.TexHeight(), 64);
        EXPECT_EQ(levelSize(0, GL_TEXTURE_WIDTH), 128);
        EXPECT_EQ(levelSize(0, GL_TEXTURE_HEIGHT), 64);
        EXPECT_EQ(levelSize(1, GL_TEXTURE_WIDTH), 64) << "mipmapped";
        std::vector<std::uint8_t> texels(128 * 64 * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        bool allOpaque = true;
        for (std::size_t i = 3; i < texels.size(); i += 4)
            allOpaque = allOpaque && texels[i] == 255;
        EXPECT_TRUE(allOpaque);
        EXPECT_NEAR(texels[0], 30, 8);
        material.RestoreState(context);
    }
}

TEST_F(MaterialGl, PowerOfTwoBitmapUploadsUnscaledAndEmptyImageDrawsUntextured)
{
    TGxMaterial material(nullptr);
    QImage square(256, 256, QImage::Format_RGB32);
    square.fill(Qt::red);
    makeNearest(material.Texture(), square);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    draw(material);
    EXPECT_EQ(material.Texture().TexWidth(), 256);
    EXPECT_EQ(material.Texture().TexHeight(), 256);
    EXPECT_EQ(gl.pixel(5, 5), QColor(255, 0, 0));

    TGxMaterial empty(nullptr);
    empty.FrontProperties().Diffuse().SetColorVector(0, 0, 1, 1);
    empty.Texture().SetDisabled(false);
    beginPass();
    draw(empty);
    EXPECT_NE(empty.Texture().Handle(), 0u);
    EXPECT_EQ(gl.pixel(5, 5), QColor(0, 0, 255));
}

TEST_F(MaterialGl, ChangedWrapOrFilterUploadsAgainAtTheNextUse)
{
    TGxMaterial material(nullptr);
    material.FrontProperties().Diffuse().SetColorVector(1, 1, 1, 1);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    makeNearest(material.Texture(), red);
    TGxTexture& texture = material.Texture();
    draw(material);
    const GLuint name = texture.Handle();

    auto spoil = [&] { // overwrite the uploaded texels behind the texture's back
        std::vector<std::uint8_t> black(4 * 4 * 4, 0);
        for (std::size_t i = 3; i < black.size(); i += 4)
            black[i] = 255;
        glBindTexture(GL_TEXTURE_2D, name);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
        cache.Invalidate();
    };
    auto redraw = [&] {
        beginPass();
        draw(material);
        return gl.pixel(32, 32);
    };
    spoil();
    EXPECT_EQ(redraw(), QColor(0, 0, 0)) << "nothing changed: no upload";

    texture.SetTextureWrap(twNone);
    EXPECT_TRUE(texture.ParameterChangePending());
    EXPECT_EQ(redraw(), QColor(255, 0, 0));
    EXPECT_EQ(texture.Handle(), name);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);

    spoil();
    texture.SetMinFilter(miLinear);
    EXPECT_EQ(redraw(), QColor(255, 0, 0));
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
}

TEST_F(MaterialGl, PendingOpenGlErrorAtUploadIsReported)
{
    TGxMaterial material(nullptr);
    makeNearest(material.Texture(), rowImage({Qt::red}));
    glEnable(0xFFFF); // leaves GL_INVALID_ENUM pending
    try {
        material.ApplyState(context);
        ADD_FAILURE() << "no error";
    } catch (const EOpenGLError& e) {
        EXPECT_EQ(std::string(e.what()), reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM)));
    }
}

TEST_F(MaterialGl, ReleasedTextureUploadsAgainAndTheCacheForgetsItsName)
{
    RedAndGreenMaterials materials;
    TGxMaterial &redMaterial = materials.red, &greenMaterial = materials.green;
    draw(redMaterial);
    redMaterial.Texture().ReleaseGlObjects();
    EXPECT_EQ(redMaterial.Texture().Handle(), 0u);
    EXPECT_TRUE(redMaterial.Texture().ImageChangePending());
    EXPECT_EQ(redMaterial.Texture().MemorySize(), -1);

    draw(greenMaterial); // may get the freed name back
    EXPECT_EQ(gl.pixel(32, 32), QColor(0, 255, 0));
    draw(redMaterial);
    EXPECT_EQ(gl.pixel(32, 32), QColor(255, 0, 0));
}

TEST_F(MaterialGl, TextureUploadedInAnotherContextUploadsAgainInTheCurrentOne)
{
    RedAndGreenMaterials materials;
    TGxMaterial &redMaterial = materials.red, &greenMaterial = materials.green;
    draw(redMaterial);
    ASSERT_EQ(gl.pixel(32, 32), QColor(255, 0, 0));

    // The view's context made anew shares nothing with the old one and hands
    // out the same names again: the green texture may get the red one's.
    OffscreenGl renewed(64, 64);
    ASSERT_TRUE(renewed.isValid());
    for (TGxMaterial* m : {&greenMaterial, &redMaterial}) {
        beginPass();
        draw(*m);
    }
    EXPECT_EQ(renewed.pixel(32, 32), QColor(255, 0, 0));
}

TEST_F(MaterialGl, TextureFreedWithoutItsContextIsDeletedWhenTheContextComesBack)
{
    // A label sprite is freed by the selection, outside any frame: its
    // texture must not stay in the driver for the rest of the run.
    for (const bool byEventLoop : {false, true}) {
        SCOPED_TRACE(byEventLoop ? "the event loop comes round" : "the engine makes the context current");
        auto material = std::make_unique<TGxMaterial>(nullptr);
        makeNearest(material->Texture(), rowImage({Qt::red}));
        draw(*material);
        const GLuint name = material->Texture().Handle();
        ASSERT_NE(name, 0u);
        ASSERT_TRUE(glIsTexture(name));

        QOpenGLContext::currentContext()->doneCurrent();
        material.reset();
        EXPECT_EQ(TGxListHandle::PendingCount(), 1u);
        if (byEventLoop) {
            QCoreApplication::processEvents();
            gl.makeCurrent();
        } else {
            gl.makeCurrent();
            TGxListHandle::DeletePendingLists();
        }
        EXPECT_EQ(TGxListHandle::PendingCount(), 0u);
        EXPECT_FALSE(glIsTexture(name));
        beginPass();
    }
}

TEST_F(MaterialGl, TexCoordRouterSendsToTheChosenUnitsAfterTheOutermostBracket)
{
    auto coordsOn = [](int unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLfloat c[4];
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, c);
        glActiveTexture(GL_TEXTURE0);
        return std::pair{c[0], c[1]};
    };
    TGxTexCoordRouter::SetMode(mtcmDual);
    TGxTexCoordRouter::TexCoord2f(0.25f, 0.5f);
    EXPECT_EQ(coordsOn(0), (std::pair{0.25f, 0.5f}));
    EXPECT_EQ(coordsOn(1), (std::pair{0.25f, 0.5f}));

    TGxTexCoordRouter::BeginUpdate();
    TGxTexCoordRouter::BeginUpdate();
    TGxTexCoordRouter::SetMode(mtcmSecond);
    TGxTexCoordRouter::EndUpdate();
    EXPECT_EQ(TGxTexCoordRouter::Mode(), mtcmDual) << "deferred to the outermost close";
    TGxTexCoordRouter::EndUpdate();
    EXPECT_EQ(TGxTexCoordRouter::Mode(), mtcmSecond);
    TGxTexCoordRouter::TexCoord2f(0.75f, 1);
    EXPECT_EQ(coordsOn(0), (std::pair{0.25f, 0.5f}));
    EXPECT_EQ(coordsOn(1), (std::pair{0.75f, 1.0f}));

    TGxTexCoordRouter::AddUnits({3});
    EXPECT_EQ(TGxTexCoordRouter::Units(), (std::vector<int>{1, 3}));
    TGxTexCoordRouter::TexCoord2f(0.75f, 1);
    EXPECT_EQ(coordsOn(3), (std::pair{0.75f, 1.0f}));
    TGxTexCoordRouter::SetMode(mtcmNull);
    TGxTexCoordRouter::TexCoord2f(9, 9);
    EXPECT_EQ(coordsOn(3), (std::pair{0.75f, 1.0f}));
    EXPECT_THROW(TGxTexCoordRouter::SetUnits({8}), EGxAssertion);
    TGxTexCoordRouter::SetMode(mtcmMain);
}

TEST_F(MaterialGl, MipmapLevelsAreTheBoxFilterOfTheLevelAbove)
{
    // Uneven texels, and sides that reach 1 at different levels.
    for (const auto [w, h] : {std::pair{8, 8}, std::pair{16, 2}, std::pair{1, 8}, std::pair{4, 1}}) {
        TGxBitmap32 bitmap;
        bitmap.SetSize(w, h);
        for (std::size_t i = 0; i < bitmap.DataSize(); ++i)
            bitmap.Data()[i] = std::uint8_t((i * 97 + i / 4 * 31) % 256);

        // The reference: GLU's mipmap builder, on its own texture.
        GLuint names[2];
        glGenTextures(2, names);
        glBindTexture(GL_TEXTURE_2D, names[0]);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bitmap.Data());
        glBindTexture(GL_TEXTURE_2D, names[1]);
        EXPECT_EQ(bitmap.UploadTexture(GL_TEXTURE_2D, miLinearMipmapLinear, GL_RGBA8), (std::array<int, 2>{w, h}));

        int levels = 0;
        for (int level = 0, lw = w, lh = h;; ++level, lw = std::max(1, lw / 2), lh = std::max(1, lh / 2)) {
            std::vector<std::uint8_t> expected(std::size_t(lw) * lh * 4), actual(expected.size());
            glBindTexture(GL_TEXTURE_2D, names[0]);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, expected.data());
            glBindTexture(GL_TEXTURE_2D, names[1]);
            EXPECT_EQ(levelSize(level, GL_TEXTURE_WIDTH), lw) << w << "x" << h << " level " << level;
            EXPECT_EQ(levelSize(level, GL_TEXTURE_HEIGHT), lh) << w << "x" << h << " level " << level;
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, actual.data());
            EXPECT_EQ(actual, expected) << w << "x" << h << " level " << level;
            ++levels;
            if (lw == 1 && lh == 1)
                break;
        }
        EXPECT_EQ(levels, 1 + int(std::log2(std::max(w, h))));
        glDeleteTextures(2, names);
    }
}
