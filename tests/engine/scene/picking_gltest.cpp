#include "RenderTestObjects.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/objects/GxPolygon.h"
#include "support/OffscreenScene.h"
#include "support/VectorAsserts.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <random>

namespace {

class PickingTest : public ::testing::Test {
protected:
    PickingTest() { view.render(); }

    TestQuad* quad(TGxBaseSceneObject* parent, const std::string& name, float x, float y, float z, float size = 1.0f)
    {
        auto* q = parent->SpawnChild<TestQuad>(nullptr, name, size);
        q->Position().AssignPoint(x, y, z);
        return q;
    }

    OffscreenScene view{64, 64};
};

} // namespace

TEST_F(PickingTest, NearerOfTwoOverlappingQuadsWinsInEitherDrawingOrder)
{
    for (bool nearFirst : {true, false}) {
        view.root()->FreeChildren();
        TestQuad* nearQuad = nullptr;
        if (nearFirst)
            nearQuad = quad(view.root(), "near", 0, 0, 1);
        quad(view.root(), "far", 0, 0, 0, 2);
        if (!nearFirst)
            nearQuad = quad(view.root(), "near", 0, 0, 1);
        EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), nearQuad) << "near first: " << nearFirst;
        // Beside the small quad only the large one is under the pixel.
        EXPECT_EQ(view.buffer.ObjectAtPixel(4, 32)->Name(), "far");
    }
}

TEST_F(PickingTest, BackgroundAndHiddenObjectsGiveNone)
{
    TestQuad* q = quad(view.root(), "q", 0, 0, 0);
    EXPECT_EQ(view.buffer.ObjectAtPixel(1, 1), nullptr);
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), q);
    q->SetVisible(false);
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), nullptr);
}

TEST_F(PickingTest, ChildDrawnInFrontOfItsParentIsPickedAsItself)
{
    // A house's wall in front of its roof names the wall.
    TestQuad* roof = quad(view.root(), "roof", 0, 0, 0, 2);
    TestQuad* wall = quad(roof, "wall", 0, 0, 1);
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), wall);
    EXPECT_EQ(view.buffer.ObjectAtPixel(6, 32), roof);
}

TEST_F(PickingTest, SelectionBufferGrowsUntilEveryHitFits)
{
    // 40 stacked quads under the pixel; a hint of 8 first offers room for 16.
    for (int i = 0; i < 40; ++i)
        quad(view.root(), "q" + std::to_string(i), 0, 0, -float(i) * 0.1f);
    const auto list = view.buffer.PickListInRect({31, 31, 33, 33}, 8);
    ASSERT_EQ(list->Count(), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(list->Hit(i)->Name(), "q" + std::to_string(i));
    EXPECT_LT(list->Record(0).NearDepth, list->Record(39).NearDepth);
    EXPECT_GE(list->Record(0).NearDepth, 0.0f);
    EXPECT_LE(list->Record(39).FarDepth, 1.0f);
}

TEST_F(PickingTest, PickLeavesTheStoredProjectionAndIsRefusedWhileRendering)
{
    quad(view.root(), "q", 0, 0, 0);
    const TGxMatrix projection = view.buffer.ProjectionMatrix();
    view.buffer.ObjectAtPixel(32, 32);
    EXPECT_TRUE(MatrixNear(view.buffer.ProjectionMatrix(), projection, 0));
    EXPECT_FALSE(view.buffer.Rendering());

    bool refused = false;
    view.buffer.BeforeRender = [&](TGxSceneBuffer* b) {
        try {
            b->ObjectAtPixel(32, 32);
        } catch (const EGxAssertion& e) {
            refused = e.bareMessage() == "Already rendering";
        }
    };
    view.render();
    EXPECT_TRUE(refused);
}

TEST_F(PickingTest, WithoutCameraNothingIsPickedOrProjected)
{
    quad(view.root(), "q", 0, 0, 0);
    view.buffer.SetCamera(nullptr);
    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), nullptr);
    const TGxVector p = VectorMake(1, 2, 3, 1);
    EXPECT_EQ(view.buffer.ProjectToWindow(p), p);
    EXPECT_EQ(view.buffer.UnprojectFromWindow(p), p);
    TGxVector out = VectorMake(9, 9, 9, 9);
    EXPECT_FALSE(view.buffer.PixelOnGroundPlane(VectorMake(32, 32, 0, 0), 0, out));
}

TEST_F(PickingTest, ProjectionRoundTripAndPixelRay)
{
    view.camera->Position().AssignPoint(3, -20, 12);
    view.camera->Up().AssignVector(0, 0, 1);
    view.camera->Direction().AssignVector(0, 1, -0.5f);
    view.render();
    const TGxVector world = VectorMake(2.5f, 1.0f, 0.75f, 1);
    const TGxVector window = view.buffer.ProjectToWindow(world);
    EXPECT_GT(window.Z, 0.0f);
    EXPECT_LT(window.Z, 1.0f);
    EXPECT_TRUE(VectorNear(view.buffer.UnprojectFromWindow(window), world, 1e-3f));
    // The ray through the window point passes through the world point.
    const TGxVector ray = view.buffer.PixelRay(window);
    EXPECT_EQ(ray.W, 0.0f);
    const TGxVector toWorld = VectorSubtract(world, view.camera->WorldPosition());
    EXPECT_NEAR(VectorLength(VectorCrossProduct(VectorNormalize(ray), VectorNormalize(toWorld))), 0, 1e-4f);
}

TEST_F(PickingTest, PixelOnGroundPlaneBelowAndAboveTheHorizon)
{
    // Eye 5 above the ground looking level along +Y: the lower half of the
    // view sees the ground, the upper half the sky.
    view.camera->Position().AssignPoint(0, 0, 5);
    view.camera->Direction().AssignVector(0, 1, 0);
    view.camera->Up().AssignVector(0, 0, 1);
    view.render();

    TGxVector ground = VectorMake(-1, -1, -1, -1);
    ASSERT_TRUE(view.buffer.PixelOnGroundPlane(VectorMake(32, 8, 0, 0), 0, ground));
    EXPECT_NEAR(ground.Z, 0, 1e-4f);
    EXPECT_GT(ground.Y, 0);
    EXPECT_EQ(ground.W, 0.0f);
    // The same pixel on a plane at height 1 lies nearer.
    TGxVector raised;
    ASSERT_TRUE(view.buffer.PixelOnGroundPlane(VectorMake(32, 8, 0, 0), 1, raised));
    EXPECT_NEAR(raised.Z, 1, 1e-4f);
    EXPECT_LT(raised.Y, ground.Y);

    TGxVector sky = VectorMake(7, 8, 9, 1);
    EXPECT_FALSE(view.buffer.PixelOnGroundPlane(VectorMake(32, 56, 0, 0), 0, sky));
    EXPECT_TRUE(VectorNear(sky, VectorMake(7, 8, 9, 0)));
}

TEST_F(PickingTest, CulledPickFindsWhatTheFullPassFinds)
{
    // A field of quads at random places, sizes, heights and tilts, looked
    // at from above at an angle; thin ones too.
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> place(-6, 6), height(0, 2), size(0.05f, 1.5f), tilt(-1, 1);
    for (int i = 0; i < 200; ++i) {
        TestQuad* q = quad(view.root(), "q" + std::to_string(i), place(random), place(random), height(random),
                           size(random));
        q->Direction().AssignVector(tilt(random), tilt(random), 1);
        if (i % 10 == 0)
            quad(q, "child" + std::to_string(i), 0.3f, 0, 0.2f, 0.3f);
    }
    view.camera->Position().AssignPoint(0, -12, 10);
    view.camera->Up().AssignVector(0, 0, 1);
    view.camera->Direction().AssignVector(0, 1, -0.8f);
    view.camera->SetFocalLength(12);
    view.render();

    std::uniform_int_distribution<int> pixel(0, 63);
    int hits = 0;
    for (int i = 0; i < 400; ++i) {
        const int x = pixel(random), y = pixel(random);
        view.buffer.SetPickCulling(false);
        const auto full = view.buffer.PickListInRect({x - 1, y - 1, x + 1, y + 1}, 64);
        view.buffer.SetPickCulling(true);
        // Culled by walking the tree, and through the scene's index.
        for (bool indexed : {false, true}) {
            view.buffer.SetPickIndexed(indexed);
            const auto culled = view.buffer.PickListInRect({x - 1, y - 1, x + 1, y + 1}, 64);
            ASSERT_EQ(culled->Count(), full->Count()) << x << "," << y << (indexed ? " indexed" : "");
            for (int h = 0; h < full->Count(); ++h) {
                EXPECT_EQ(culled->Hit(h), full->Hit(h)) << x << "," << y;
                EXPECT_EQ(culled->Record(h).NearDepth, full->Record(h).NearDepth);
            }
        }
        hits += full->Count() > 0 ? 1 : 0;
    }
    EXPECT_GT(hits, 100); // the test looked at something
}

TEST_F(PickingTest, ListFirstRecordedByAPickKeepsItsTextureCoordinates)
{
    // As at start-up, before any frame: the routing drops texture coordinates.
    TGxTexCoordRouter::SetMode(mtcmNull);
    // A square over most of the view; its texture coordinates are its
    // positions, so the texture (green, red; repeated) is green left of the
    // centre and red right of it. Without coordinates it would be all red.
    auto* square = view.root()->SpawnChild<TGxPolygon>();
    for (auto [x, y] : {std::pair{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}})
        square->AppendNode(x, y, 0);
    QImage texels(2, 1, QImage::Format_RGB32);
    texels.setPixelColor(0, 0, Qt::red);
    texels.setPixelColor(1, 0, Qt::green);
    TGxTexture& texture = square->Material().Texture();
    texture.AssignImage(texels);
    texture.SetMinFilter(miNearest);
    texture.SetMagFilter(maNearest);
    texture.SetTextureMode(tmReplace);
    texture.SetDisabled(false);

    EXPECT_EQ(view.buffer.ObjectAtPixel(32, 32), square);
    view.render();
    EXPECT_EQ(view.pixel(16, 32), QColor(0, 255, 0));
    EXPECT_EQ(view.pixel(48, 32), QColor(255, 0, 0));
}
