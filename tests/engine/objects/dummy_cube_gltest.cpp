#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxPlane.h"
#include "support/OffscreenScene.h"

#include <gtest/gtest.h>

namespace {

// A dummy cube at the origin holding a red square that faces the camera.
class DummyCubeGlTest : public ::testing::Test {
protected:
    DummyCubeGlTest()
    {
        view.camera->Position().AssignPoint(0, 0, 40); // the cube well inside the view
        cube = view.root()->SpawnChild<TGxDummyCube>();
        cube->SetCubeSize(4);
        cube->EdgeColor().SetColorVector(0, 0, 0, 1);
        square = cube->SpawnChild<TGxPlane>();
        square->SetWidth(2);
        square->SetHeight(2);
        setColour(1, 0, 0);
    }
    void setColour(float r, float g, float b)
    {
        square->Material().FrontProperties().Diffuse().SetColorVector(r, g, b, 1);
    }
    QColor centre()
    {
        view.render();
        return view.pixel(32, 32);
    }
    // Grey pixels: the cube's smoothed black edges.
    int edgePixels()
    {
        view.render();
        const QImage image = view.image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
            {
                const QColor c = image.pixelColor(x, y);
                n += c.red() == c.green() && c.green() == c.blue() && c.red() < 200;
            }
        return n;
    }

    OffscreenScene view;
    TGxDummyCube* cube = nullptr;
    TGxPlane* square = nullptr;
};

const QColor kRed(255, 0, 0, 255);
const QColor kBlue(0, 0, 255, 255);
const QColor kWhite(255, 255, 255, 255);

} // namespace

TEST_F(DummyCubeGlTest, EdgesShowOnlyWhenVisibleAtRunTimeChildrenAlways)
{
    EXPECT_EQ(centre(), kRed);
    EXPECT_EQ(edgePixels(), 0);
    cube->SetVisibleAtRunTime(true);
    EXPECT_GT(edgePixels(), 20);

    EXPECT_EQ(centre(), kRed);
}

TEST_F(DummyCubeGlTest, VisibilityHandlerCanSkipTheCubeWithItsChildren)
{
    int asked = 0;
    cube->OnVisibilityDetermination = [&](TGxDummyCube* sender, TRenderContextInfo&) {
        EXPECT_EQ(sender, cube);
        ++asked;
        return false;
    };
    EXPECT_EQ(centre(), kWhite);
    EXPECT_EQ(asked, 1);
    cube->OnVisibilityDetermination = [](TGxDummyCube*, TRenderContextInfo&) { return true; };
    EXPECT_EQ(centre(), kRed);
}

TEST_F(DummyCubeGlTest, AmalgamatedSubtreeIsRecordedOnceUntilTheCubeChanges)
{
    cube->SetAmalgamate(true);
    EXPECT_EQ(centre(), kRed);
    EXPECT_EQ(centre(), kRed) << "replayed";
    setColour(0, 0, 1);
    EXPECT_EQ(centre(), kRed) << "a child's change stays out of the recording";
    cube->SetCubeSize(5);
    EXPECT_EQ(centre(), kBlue) << "the cube's own change records again";
    cube->SetAmalgamate(false);
    setColour(0, 1, 0);
    EXPECT_EQ(centre(), QColor(0, 255, 0, 255));
}
