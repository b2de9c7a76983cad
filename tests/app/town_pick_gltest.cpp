// The pick through the scene's index against the pass over the whole tree,
// on a generated town loaded as the program loads it: the same objects with
// the same depths at random pixels, from several views, and after the town
// changed at run time.
#include "GeneratedTown.h"

#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxSprite.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 440;

class TownPick : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new GeneratedTownFolder(300);
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override
    {
        loadAsTheProgramDoes(scene, state, folder->model());
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.Resize(kWidth, kHeight);
        buffer.CreateRC(std::make_unique<TGxOffscreenRenderingContext>(kWidth, kHeight, buffer.SurfaceFormat()));
        buffer.Render();
    }

    // The camera `offset` from the target at `target`, looking at it.
    void look(TGxVector target, TGxVector offset)
    {
        scene.DCTarget->Position().AssignPoint(target.X, target.Y, target.Z);
        scene.GxFreeCamera->Position().AssignPoint(offset.X, offset.Y, offset.Z);
        buffer.Render();
    }

    struct Outcome {
        int pixels = 0;
        int hitPixels = 0;
        int differing = 0;
        std::string first; // the first pixel that differs
    };

    // Both passes at `count` random pixels; every hit compared in order.
    Outcome compare(int count, unsigned seed)
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> xs(0, kWidth - 1), ys(0, kHeight - 1);
        Outcome outcome;
        for (int i = 0; i < count; ++i) {
            const int x = xs(random), y = ys(random);
            const TGxPixelRect rect{x - 1, y - 1, x + 1, y + 1};
            buffer.SetPickCulling(false);
            const auto full = buffer.PickListInRect(rect, 64);
            buffer.SetPickCulling(true);
            buffer.SetPickIndexed(true);
            const auto indexed = buffer.PickListInRect(rect, 64);
            bool same = indexed->Count() == full->Count();
            for (int h = 0; same && h < full->Count(); ++h)
                same = indexed->Hit(h) == full->Hit(h) && indexed->Record(h).NearDepth == full->Record(h).NearDepth
                       && indexed->Record(h).FarDepth == full->Record(h).FarDepth;
            ++outcome.pixels;
            outcome.hitPixels += full->Count() > 0 ? 1 : 0;
            if (!same && outcome.differing++ == 0)
                outcome.first = std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(full->Count())
                                + " hits in the full pass, " + std::to_string(indexed->Count()) + " indexed";
        }
        return outcome;
    }

    Thouse* house(int n)
    {
        TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
        for (int i = 0; i < root->Count(); ++i)
            if (auto* h = dynamic_cast<Thouse*>(root->Children(i)); h && n-- == 0)
                return h;
        return nullptr;
    }

    static GeneratedTownFolder* folder;
    MapState state;
    MainScene scene;
    TGxSceneBuffer buffer;
};

GeneratedTownFolder* TownPick::folder = nullptr;

} // namespace

TEST_F(TownPick, IndexedPickEqualsTheFullPassFromEveryView)
{
    struct View {
        const char* name;
        TGxVector target, offset;
    };
    const View views[] = {
        {"after the climb", PointMake(0, 0, 0.1f), PointMake(37.2f, -41.2f, 40.2f)},
        {"from straight above", PointMake(60, -40, 0.1f), PointMake(0.01f, 0, 90)},
        {"close to the roofs", PointMake(-30, 25, 0.1f), PointMake(6, -5, 3)},
        {"along the ground to the horizon", PointMake(0, -300, 0.1f), PointMake(0, -20, 0.6f)},
        {"from the edge across the town", PointMake(-460, -460, 0.1f), PointMake(-30, -30, 8)},
    };
    for (const View& view : views) {
        look(view.target, view.offset);
        const Outcome o = compare(100, 7);
        EXPECT_EQ(o.differing, 0) << view.name << ": " << o.first;
        EXPECT_GT(o.hitPixels, o.pixels / 10) << view.name << ": the view shows the town";
    }
}

TEST_F(TownPick, IndexedPickFollowsTheTownAsItChanges)
{
    look(PointMake(0, 0, 0.1f), PointMake(37.2f, -41.2f, 40.2f));
    ASSERT_EQ(compare(100, 1).differing, 0);

    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"houses moved, one with its walls, one lifted",
         [this] {
             for (int n = 0; n < 200; n += 7)
                 house(n)->Position().Translate(VectorMake(25, -10, 0, 0));
             house(3)->Position().SetZ(6);
         }},
        {"a house turned", [this] { house(11)->SetTurnAngle(35); }},
        {"the non-buildings hidden",
         [this] {
             TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
             for (int i = 0; i < root->Count(); ++i)
                 if (!dynamic_cast<Thouse*>(root->Children(i)))
                     root->Children(i)->SetVisible(false);
         }},
        {"every house recoloured", [this] { DeSelectAll(scene.GxScene); }},
        {"houses freed", [this] {
             for (int n = 0; n < 30; ++n)
                 delete house(n * 5);
         }},
        {"a house moved under another parent", [this] { house(2)->SetParent(scene.DCTarget); }},
        {"a sprite added in the middle of the view",
         [this] {
             auto* sprite = scene.GxScene.ObjectRoot()->SpawnChild<TGxSprite>();
             sprite->SetWidth(30);
             sprite->SetHeight(30);
             sprite->Position().AssignPoint(0, 0, 5);
         }},
    };
    unsigned seed = 100;
    for (const Change& change : changes) {
        change.apply();
        buffer.Render();
        const Outcome o = compare(60, ++seed);
        EXPECT_EQ(o.differing, 0) << change.name << ": " << o.first;
        EXPECT_GT(o.hitPixels, 0) << change.name;
    }
}

TEST_F(TownPick, TheIndexHoldsTheTownInItsGridsAndFewObjectsApart)
{
    TGxPickIndex& index = scene.GxScene.PickIndex();
    look(PointMake(0, 0, 0.1f), PointMake(37.2f, -41.2f, 40.2f));
    EXPECT_NE(buffer.ObjectAtPixel(kWidth / 2, kHeight / 2), nullptr);
    // The pick drew a handful of objects, not the town.
    EXPECT_LT(buffer.LastPickObjectCount(), 100u);
    buffer.SetPickIndexed(false);
    buffer.ObjectAtPixel(kWidth / 2, kHeight / 2);
    EXPECT_GT(buffer.LastPickObjectCount(), 300u) << "the walk over the tree names every house it passes";
    // Every house and wall lies in the grids; what cannot tell its bounds
    // (markers, grid, planes, landmarks) is visited by every pick.
    EXPECT_GT(index.GriddedCount(), 300u * 5);
    EXPECT_LT(index.AlwaysCount(), 200u);
}
