#include "engine/scene/GxBaseSceneObject.h"
#include "engine/scene/GxPickList.h"
#include "engine/scene/GxSceneBuffer.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Hit {
    const char* name;
    float nearDepth, farDepth;
};

} // namespace

TEST(PickList, EachModeOrdersTheHits)
{
    std::vector<std::unique_ptr<TGxBaseSceneObject>> objects;
    const Hit hits[] = {{"wall", 0.5f, 0.9f}, {"Roof", 0.2f, 0.95f}, {"apple", 0.7f, 0.8f}, {"Zebra", 0.1f, 0.3f}};
    struct Case {
        TPickSortMode mode;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {psDefault, {"wall", "Roof", "apple", "Zebra"}},
        {psName, {"apple", "Roof", "wall", "Zebra"}},
        {psMinDepth, {"Zebra", "Roof", "wall", "apple"}},
        {psMaxDepth, {"Zebra", "apple", "wall", "Roof"}},
    };
    for (const Case& c : cases) {
        TGxPickList list(c.mode);
        objects.clear();
        for (const Hit& h : hits) {
            objects.push_back(std::make_unique<TGxBaseSceneObject>(nullptr));
            objects.back()->SetName(h.name);
            list.AddHit(objects.back().get(), {}, h.nearDepth, h.farDepth);
        }
        ASSERT_EQ(list.Count(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(list.Hit(i)->Name(), c.expected[i]) << "mode " << c.mode << " at " << i;
    }
}

TEST(PickList, EqualDepthsKeepTheirOrderAndSubNamesAreKept)
{
    TGxBaseSceneObject a(nullptr), b(nullptr), c(nullptr);
    TGxPickList list(psMinDepth);
    list.AddHit(&a, {7, 8}, 0.5f, 0.6f);
    list.AddHit(&b, {}, 0.5f, 0.6f);
    list.AddHit(&c, {}, 0.25f, 0.6f);
    EXPECT_EQ(list.Hit(0), &c);
    EXPECT_EQ(list.Hit(1), &a);
    EXPECT_EQ(list.Hit(2), &b);
    EXPECT_EQ(list.Record(1).SubNames, (TPickSubObjects{7, 8}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(RayPlaneIntersect, MeetsOnlyPlanesAheadOfTheStart)
{
    const TGxVector ground = VectorMake(0, 0, 0, 1);
    const TGxVector up = VectorMake(0, 0, 1, 0);
    const TGxVector start = VectorMake(1, 2, 10, 1);
    TGxVector hit = VectorMake(-7, -7, -7, -7);

    EXPECT_TRUE(RayPlaneIntersect(start, VectorMake(1, 0, -2, 0), ground, up, &hit));
    EXPECT_TRUE(VectorNear(hit, VectorMake(6, 2, 0, 1)));

    const TGxVector untouched = VectorMake(-7, -7, -7, -7);
    struct Case {
        const char* what;
        TGxVector vector;
    };
    const Case misses[] = {
        {"parallel", VectorMake(1, 1, 0, 0)},
        {"almost parallel", VectorMake(1, 0, 1e-31f, 0)},
        {"away from the plane", VectorMake(0, 0, 1, 0)},
    };
    for (const Case& c : misses) {
        hit = untouched;
        EXPECT_FALSE(RayPlaneIntersect(start, c.vector, ground, up, &hit)) << c.what;
        EXPECT_FALSE(RayPlaneIntersect(start, c.vector, ground, up)) << c.what;
        EXPECT_EQ(hit, untouched) << c.what;
    }
    // A start on the plane is not strictly behind it, nor ahead.
    EXPECT_FALSE(RayPlaneIntersect(VectorMake(0, 0, 0, 1), VectorMake(0, 0, -1, 0), ground, up, &hit));
}
