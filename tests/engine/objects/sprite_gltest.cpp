// Sprites drawn through the real buffer and traversal, off-screen.
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/RenderContextInfo.h"
#include "engine/scene/RenderTestObjects.h"
#include "support/OffscreenScene.h"

#include <gtest/gtest.h>

namespace {

class SpriteGl : public ::testing::Test {
protected:
    SpriteGl() { view.root()->SetObjectsSorting(osNone); } // children drawn in list order

    TestQuad* quad(float z, float size, float r, float g, float b)
    {
        auto* q = view.root()->SpawnChild<TestQuad>(nullptr, "quad", size);
        q->Position().AssignPoint(0, 0, z);
        q->SetColour(r, g, b);
        return q;
    }

    TGxHUDSprite* hud(float x, float y, float size)
    {
        auto* s = view.root()->SpawnChild<TGxHUDSprite>();
        s->Position().AssignPoint(x, y, 0);
        s->SetWidth(size);
        s->SetHeight(size);
        s->Material().FrontProperties().Diffuse().SetColorVector(1, 0, 0, 1);
        return s;
    }

    // Top-left based pixel of the 64 x 64 view.
    QColor at(int x, int yFromTop) { return view.pixel(x, 63 - yFromTop); }

    OffscreenScene view{64, 64};
};

TEST_F(SpriteGl, HudSpriteAtTheOriginShowsItsLowerRightQuarterInTheTopLeftCorner)
{
    hud(0, 0, 16);
    view.render();
    EXPECT_EQ(at(0, 0), QColor(Qt::red));
    EXPECT_EQ(at(7, 7), QColor(Qt::red));
    EXPECT_EQ(at(8, 3), QColor(Qt::white));
    EXPECT_EQ(at(3, 8), QColor(Qt::white));
}

TEST_F(SpriteGl, HudSpriteIsCentredOnItsPixelPositionWhateverTheCamera)
{
    hud(40, 20, 10);
    view.camera->Position().AssignPoint(5, -3, 30);
    view.render();
    EXPECT_EQ(at(35, 15), QColor(Qt::red));
    EXPECT_EQ(at(44, 24), QColor(Qt::red));
    EXPECT_EQ(at(34, 20), QColor(Qt::white));
    EXPECT_EQ(at(45, 20), QColor(Qt::white));
    EXPECT_EQ(at(40, 14), QColor(Qt::white));
    EXPECT_EQ(at(40, 25), QColor(Qt::white));
}

TEST_F(SpriteGl, HudSpriteScalesItsPlaceAndSizeWithTheRenderResolution)
{
    // Drawn by hand after the scene, as a pass at another resolution would draw it.
    TGxHUDSprite sprite(nullptr);
    sprite.Position().AssignPoint(16, 12, 0);
    sprite.SetWidth(8);
    sprite.SetHeight(6);
    sprite.Material().FrontProperties().Diffuse().SetColorVector(1, 0, 0, 1);
    struct Case {
        int dpi;
        QRect red; // top-left pixels of the view
    } const cases[] = {{96, {12, 9, 8, 6}}, {192, {24, 18, 16, 12}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        view.buffer.PostRender = [&](TGxSceneBuffer* buffer) {
            TRenderContextInfo rci;
            rci.buffer = buffer;
            rci.stateCache = &buffer->StateCache();
            rci.viewPortWidth = 64;
            rci.viewPortHeight = 64;
            rci.renderDPI = c.dpi;
            sprite.RenderSelf(rci, true, false);
        };
        view.render();
        int reds = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (at(x, y) == QColor(Qt::red)) {
                    ++reds;
                    EXPECT_TRUE(c.red.contains(x, y)) << x << "," << y;
                }
        EXPECT_EQ(reds, c.red.width() * c.red.height());
    }
    view.buffer.PostRender = nullptr;
}

TEST_F(SpriteGl, EarlierGeometryNeverHidesItAndItLeavesTheDepthBufferAlone)
{
    // A near quad drawn before the sprite: the sprite still shows.
    TestQuad* nearQuad = quad(3, 1, 0, 0, 1);
    hud(32, 32, 8);
    view.render();
    EXPECT_EQ(at(32, 32), QColor(Qt::red));
    EXPECT_EQ(at(40, 32), QColor(Qt::blue));

    // A far quad drawn after it covers it: the sprite wrote no depth.
    delete nearQuad;
    quad(-5, 0.2f, 0, 1, 0);
    view.render();
    EXPECT_EQ(at(32, 32), QColor(Qt::green));
    EXPECT_EQ(at(28, 32), QColor(Qt::red));
}

TEST_F(SpriteGl, HalfTransparentHudSpriteBlendsWithWhatLiesBelow)
{
    TGxHUDSprite* s = hud(32, 32, 8);
    s->SetAlphaChannel(0.5f);
    s->Material().SetBlendingMode(bmTransparency);
    view.render();
    const QColor c = at(32, 32);
    EXPECT_EQ(c.red(), 255);
    EXPECT_NEAR(c.green(), 128, 2);
    EXPECT_NEAR(c.blue(), 128, 2);
}

TEST_F(SpriteGl, PickNeverFindsAHudSprite)
{
    TestQuad* behind = quad(0, 0.5f, 0, 0, 1);
    hud(32, 32, 30);
    view.render();
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), behind);
    EXPECT_EQ(view.buffer.ObjectAtPixel(20, 20), nullptr); // over the sprite alone
}

TEST_F(SpriteGl, BillboardFacesTheCameraAndIsPicked)
{
    // Under a parent turned 60 degrees about Y the rectangle keeps its full width.
    auto* parent = view.root()->SpawnChild<TGxSceneObject>();
    parent->SetTurnAngle(60);
    auto* sprite = parent->SpawnChild<TGxSprite>();
    sprite->SetWidth(1);
    sprite->SetHeight(0.5f);
    sprite->Material().FrontProperties().Diffuse().SetColorVector(1, 0, 0, 1);
    view.render();
    int reds = 0;
    for (int x = 0; x < 64; ++x)
        reds += at(x, 32) == QColor(Qt::red);
    int redRows = 0;
    for (int y = 0; y < 64; ++y)
        redRows += at(32, y) == QColor(Qt::red);
    EXPECT_NEAR(reds, 2 * redRows, 2);
    EXPECT_GT(redRows, 4);
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), sprite);
}

} // namespace
