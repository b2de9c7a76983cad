// The demo town drawn the fast way (static polygons batched in shared
// vertex buffers, objects out of view skipped) gives the very pixels of the
// plain traversal (a display list, matrix and material per object): at the
// start-up view and close up, after recolouring, after hiding the
// non-buildings, with a blended house and after houses changed at run time.
#include "GeneratedTown.h"

#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxGeometryBatch.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "map/House.h"
#include "support/PixelCompare.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 440;

class TownDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new GeneratedTownFolder();
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override
    {
        loadAsTheProgramDoes(scene, state, folder->model());
        TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
        for (int i = 0; i < root->Count(); ++i)
            if (auto* house = dynamic_cast<Thouse*>(root->Children(i)))
                houses.push_back(house);
        ASSERT_GT(houses.size(), 1000u);

        startUpView();
        buffer.SetBackgroundColor(clWhite);
        buffer.AmbientColor().SetColorVector(0.4f, 0.4f, 0.4f, 1.0f);
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.Resize(kWidth, kHeight);
        buffer.CreateRC(std::make_unique<TGxOffscreenRenderingContext>(kWidth, kHeight, buffer.SurfaceFormat()));
    }

    // Where the climb after start-up leaves the camera.
    void startUpView() { scene.GxFreeCamera->Position().AssignPoint(37.2f, -41.2f, 40.2f); }
    // Low over the square: most of the town lies behind or beside the camera.
    void closeView() { scene.GxFreeCamera->Position().AssignPoint(2.0f, -5.0f, 1.5f); }

    QImage frame(bool fast)
    {
        buffer.SetBatching(fast);
        buffer.SetViewCulling(fast);
        buffer.Render();
        return static_cast<TGxOffscreenRenderingContext&>(*buffer.RenderingContext()).Image();
    }

    // The fast frame and the plain one, in both orders (what one of them
    // leaves in OpenGL or in the objects must not show in the other).
    void expectSameFrames(const char* what)
    {
        SCOPED_TRACE(what);
        const QImage fast = frame(true);
        const QImage plain = frame(false);
        const QImage fastAgain = frame(true);
        EXPECT_EQ(differingPixels(fast, plain), 0);
        EXPECT_EQ(differingPixels(fastAgain, plain), 0);
    }

    const TGxGeometryBatch::Statistics& stats() { return scene.GxScene.ObjectBatch().Stats(); }

    static GeneratedTownFolder* folder;
    MapState state;
    MainScene scene;
    TGxSceneBuffer buffer;
    std::vector<Thouse*> houses;
};

GeneratedTownFolder* TownDrawing::folder = nullptr;

TEST_F(TownDrawing, StartUpViewIsTheSameDrawnInAFewCalls)
{
    expectSameFrames("start-up view");
    frame(true);
    // Every house with its walls, and the roads, in few calls.
    std::size_t housesAndWalls = 0;
    for (const Thouse* house : houses)
        housesAndWalls += 1 + std::size_t(house->Count());
    EXPECT_GT(stats().members, housesAndWalls);
    EXPECT_LT(stats().draws, int(houses.size() / 4));
    EXPECT_EQ(stats().drawnOrdinarily, 0);
}

TEST_F(TownDrawing, PicksFromTheBuffersAreThoseOfTheDisplayLists)
{
    frame(true);
    int hits = 0;
    for (int y = 10; y < kHeight; y += 40)
        for (int x = 10; x < kWidth; x += 40) {
            const TGxPixelRect rect{x - 1, y - 1, x + 1, y + 1};
            buffer.SetBatching(true);
            const auto fromBuffers = buffer.PickListInRect(rect, 64);
            buffer.SetBatching(false);
            const auto fromLists = buffer.PickListInRect(rect, 64);
            ASSERT_EQ(fromBuffers->Count(), fromLists->Count()) << x << ", " << y;
            for (int i = 0; i < fromLists->Count(); ++i) {
                EXPECT_EQ(fromBuffers->Hit(i), fromLists->Hit(i));
                EXPECT_EQ(fromBuffers->Record(i).NearDepth, fromLists->Record(i).NearDepth);
            }
            hits += dynamic_cast<Thouse*>(fromLists->Count() ? fromLists->Hit(0) : nullptr) != nullptr;
        }
    EXPECT_GT(hits, 10) << "houses under the pixels";
}

TEST_F(TownDrawing, CloseUpViewSkipsWhatLiesOutside)
{
    closeView();
    expectSameFrames("close up");
    frame(true);
    EXPECT_GT(stats().culled, int(houses.size() / 2));
}

TEST_F(TownDrawing, HousesComingIntoViewLaterShareTheBuffersOfThoseSeenFirst)
{
    // Close up only a few houses are drawn, and so put in the buffers; the
    // rest join them as the camera climbs out over several frames.
    closeView();
    frame(true);
    const TGxVector from = scene.GxFreeCamera->Position().Vector4();
    const TGxVector to = PointMake(37.2f, -41.2f, 40.2f);
    for (int step = 1; step <= 10; ++step) {
        const float t = float(step) / 10.0f;
        scene.GxFreeCamera->Position().AssignPoint(from.X + (to.X - from.X) * t, from.Y + (to.Y - from.Y) * t,
                                                   from.Z + (to.Z - from.Z) * t);
        frame(true);
    }
    expectSameFrames("after the climb");
    frame(true);
    EXPECT_LE(stats().buffers, stats().vertices / TGxGeometryBatch::kBlockVertices + 1);
    EXPECT_LT(stats().draws, int(houses.size() / 4));
}

TEST_F(TownDrawing, RecolouredHousesShowTheirColoursAndLeaveTheBuffersAlone)
{
    const QImage before = frame(true);
    const std::size_t uploaded = stats().uploadedVertices;
    // A street's worth of red houses, one glowing, one red and glowing.
    for (std::size_t i = 100; i < 400; i += 3)
        houses[i]->SetSelectedColor();
    for (int k = 0; k < 3; ++k) {
        houses[500]->GlowStep();
        houses[101]->GlowStep();
    }
    expectSameFrames("recoloured");
    EXPECT_GT(differingPixels(before, frame(true)), 100);
    EXPECT_EQ(stats().uploadedVertices, uploaded) << "a recolour writes no geometry";

    DeSelectAll(scene.GxScene);
    expectSameFrames("green again");
    EXPECT_EQ(differingPixels(before, frame(true)), 0);
}

TEST_F(TownDrawing, OnlyBuildingsHidesEverythingElse)
{
    const QImage before = frame(true);
    TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
    const auto showNonBuildings = [&](bool show) {
        for (int i = 0; i < root->Count(); ++i)
            if (!dynamic_cast<Thouse*>(root->Children(i)))
                root->Children(i)->SetVisible(show);
    };
    showNonBuildings(false);
    expectSameFrames("only buildings");
    EXPECT_GT(differingPixels(before, frame(true)), 1000);
    showNonBuildings(true);
    expectSameFrames("everything again");
    EXPECT_EQ(differingPixels(before, frame(true)), 0);
}

TEST_F(TownDrawing, BlendedHouseIsDrawnAfterTheOpaqueOnes)
{
    // Half transparent, house and walls: drawn after everything opaque,
    // farther ones first.
    for (Thouse* house : {houses[10], houses[11], houses[600]}) {
        house->Material().SetBlendingMode(bmTransparency);
        house->Material().FrontProperties().Diffuse().SetColorVector(0.2f, 0.3f, 0.9f, 0.5f);
        for (int i = 0; i < house->Count(); ++i) {
            auto& wall = static_cast<TGxCustomSceneObject&>(*house->Children(i));
            wall.Material().SetBlendingMode(bmTransparency);
            wall.Material().FrontProperties().Diffuse().SetColorVector(0.9f, 0.3f, 0.2f, 0.5f);
        }
    }
    // One house with a single blended wall: the house leaves the batch.
    auto& wall = static_cast<TGxCustomSceneObject&>(*houses[700]->Children(0));
    wall.Material().SetBlendingMode(bmTransparency);
    wall.Material().FrontProperties().Diffuse().SetColorVector(0.1f, 0.1f, 0.1f, 0.3f);
    expectSameFrames("blended");
    frame(true);
    EXPECT_EQ(stats().drawnOrdinarily, 1);
}

TEST_F(TownDrawing, HousesChangedAtRunTimeRewriteOnlyTheirOwnGeometry)
{
    frame(true);
    const std::size_t uploaded = stats().uploadedVertices;
    // Moved: drawn on its own with its matrix until it is back.
    houses[20]->Position().AssignPoint(0.5f, 0.25f, 0.0f);
    // A roof corner pulled up: the same number of triangles, rewritten in place.
    TGxNode& corner = houses[30]->Nodes().Items(0);
    corner.SetZ(corner.Z() + 1.0f);
    // A house that gets a node more, and one that gets a child of another kind.
    const TGxNode& a = houses[40]->Nodes().Items(0);
    const TGxNode& b = houses[40]->Nodes().Items(1);
    const float midX = (a.X() + b.X()) / 2, midY = (a.Y() + b.Y()) / 2, z = a.Z();
    houses[40]->Nodes().Add().SetVector(midX, midY, z, 1);
    houses[50]->SpawnChild<TGxDummyCube>()->SetCubeSize(0.5f);
    expectSameFrames("changed");
    frame(true);
    EXPECT_EQ(stats().drawnOrdinarily, 2) << "the moved house and the one with a new child";
    const std::size_t rewritten = stats().uploadedVertices - uploaded;
    EXPECT_GT(rewritten, 0u);
    EXPECT_LT(rewritten, 200u) << "two roofs, not the town";

    houses[20]->Position().AssignPoint(0, 0, 0);
    expectSameFrames("moved back");
    frame(true);
    EXPECT_EQ(stats().drawnOrdinarily, 1);
}

TEST_F(TownDrawing, HousesAddedAndRemovedAtRunTime)
{
    frame(true);
    delete houses[5];
    houses[6]->Reparent(nullptr);
    auto* added = scene.GxScene.ObjectRoot()->SpawnChild<Thouse>();
    for (const auto& [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}})
        added->AppendNode(x, y, 0);
    added->SetParam(2, "7");
    added->BuildWalls(state.HeightScale);
    added->SetSelectedColor();
    expectSameFrames("added and removed");
    delete houses[6];
}

} // namespace
