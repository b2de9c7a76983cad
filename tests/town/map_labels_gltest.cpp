// The demo town drawn with its street names and house numbers: the names
// are drawn where the layout put them (dark letters on a light halo), the
// numbers when the camera is close, the search's address label stays
// clear, and switched off they leave no trace in the picture.
#include "app/GeneratedTown.h"

#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "map/House.h"
#include "support/PixelCompare.h"
#include "map/MapLabels.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 440;

class MapLabelsDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new GeneratedTownFolder(); }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override
    {
        loadAsTheProgramDoes(scene, state, folder->model());
        labels = scene.AddLabels(state);
        startUpView();
        buffer.SetBackgroundColor(clWhite);
        buffer.AmbientColor().SetColorVector(0.4f, 0.4f, 0.4f, 1.0f);
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.Resize(kWidth, kHeight);
        buffer.CreateRC(std::make_unique<TGxOffscreenRenderingContext>(kWidth, kHeight, buffer.SurfaceFormat()));
    }

    // Where the climb after start-up leaves the camera.
    void startUpView()
    {
        scene.DCTarget->Position().AssignPoint(0, 0, 0);
        scene.GxFreeCamera->Position().AssignPoint(37.2f, -41.2f, 40.2f);
    }
    // Low over a house with a number, as after a flight to it.
    void closeView()
    {
        TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
        for (int i = 0; i < root->Count(); ++i)
            if (auto* house = dynamic_cast<Thouse*>(root->Children(i)); house && house->params()[1] != "0") {
                scene.DCTarget->Position().AssignPoint(house->CenterX(), house->CenterY(), 0);
                break;
            }
        scene.GxFreeCamera->Position().AssignPoint(3.0f, -9.0f, 7.0f);
    }

    QImage frame(bool streets, bool numbers)
    {
        state.ShowStreetNames = streets;
        state.ShowHouseNumbers = numbers;
        buffer.Render();
        return static_cast<TGxOffscreenRenderingContext&>(*buffer.RenderingContext()).Image();
    }

    int count(labels::LabelKind kind) const
    {
        int n = 0;
        for (const labels::PlacedLabel& l : labels->LastPlaced())
            n += l.kind == kind;
        return n;
    }

    static inline GeneratedTownFolder* folder = nullptr;
    MapState state;
    MainScene scene;
    TGxSceneBuffer buffer;
    TMapLabels* labels = nullptr;
};

TEST_F(MapLabelsDrawing, NamesAreDrawnWhereTheyArePlacedAndSwitchedOffLeaveNoTrace)
{
    struct Case {
        const char* what;
        bool close;
        bool streets, numbers;
        bool expectStreets, expectNumbers;
    };
    const Case cases[] = {
        {"start-up view", false, true, true, true, false},
        {"start-up view, names off", false, false, true, false, false},
        {"close, both", true, true, true, true, true},
        {"close, numbers only", true, false, true, false, true},
        {"close, names only", true, true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.close)
            closeView();
        else
            startUpView();
        labels->SetVisible(false);
        const QImage without = frame(c.streets, c.numbers);
        labels->SetVisible(true);
        const QImage off = frame(false, false);
        EXPECT_EQ(differingPixels(off, without), 0);
        EXPECT_TRUE(labels->LastPlaced().empty());

        const QImage shown = frame(c.streets, c.numbers);
        EXPECT_EQ(count(labels::LabelKind::Street) > 0, c.expectStreets);
        EXPECT_EQ(count(labels::LabelKind::Number) > 0, c.expectNumbers);
        if (c.expectStreets || c.expectNumbers) {
            EXPECT_GT(differingPixels(shown, without), 100);
        } else {
            EXPECT_EQ(differingPixels(shown, without), 0);
        }
        // Each opaque label shows dark letters and a light halo where it was placed.
        for (const labels::PlacedLabel& l : labels->LastPlaced()) {
            if (l.alpha < 0.99f)
                continue;
            int dark = 0, light = 0;
            for (int y = int(l.bounds.bottom) + 1; y < int(l.bounds.top); ++y)
                for (int x = int(l.bounds.left) + 1; x < int(l.bounds.right); ++x) {
                    // The framebuffer's rows come bottom row first, as OpenGL counts them.
                    const QColor p = shown.pixelColor(x, y);
                    dark += p.red() < 70 && p.green() < 70 && p.blue() < 110;
                    light += p.red() > 220 && p.green() > 220 && p.blue() > 220;
                }
            EXPECT_GT(dark, 10);
            EXPECT_GT(light, 10);
        }
    }
}

TEST_F(MapLabelsDrawing, TheAddressLabelStaysClear)
{
    frame(true, true);
    ASSERT_FALSE(labels->LastPlaced().empty());
    // Over the first name placed without it.
    const labels::ScreenRect first = labels->LastPlaced().front().bounds;
    auto* hint = scene.GxScene.ObjectRoot()->SpawnChild<TGxHUDSprite>();
    hint->SetWidth(150);
    hint->SetHeight(20);
    const float x = (first.left + first.right) / 2, y = (first.bottom + first.top) / 2;
    hint->Position().AssignPoint(x, float(kHeight) - y, 0);
    state.HintSprite = hint;
    frame(true, true);
    const labels::ScreenRect kept{x - 75, y - 10, x + 75, y + 10};
    ASSERT_FALSE(labels->LastPlaced().empty());
    for (const labels::PlacedLabel& l : labels->LastPlaced())
        EXPECT_FALSE(l.bounds.Meets(kept));
}

} // namespace
