#include "engine/scene/GxPointerSet.h"

#include <gtest/gtest.h>

TEST(GxPointerSet, KeepsOneOfEachAndFillsAHoleWithTheLast)
{
    int a = 0, b = 0, c = 0, d = 0;
    GxPointerSet<int> set;
    EXPECT_TRUE(set.insert(&a));
    EXPECT_TRUE(set.insert(&b));
    EXPECT_FALSE(set.insert(&a)) << "no repeats";
    EXPECT_TRUE(set.insert(&c));
    EXPECT_TRUE(set.insert(&d));
    EXPECT_EQ(set.items(), (std::vector<int*>{&a, &b, &c, &d}));

    EXPECT_TRUE(set.erase(&b));
    EXPECT_EQ(set.items(), (std::vector<int*>{&a, &d, &c}));
    EXPECT_FALSE(set.erase(&b)) << "gone already";
    EXPECT_TRUE(set.erase(&c)) << "the last one";
    EXPECT_TRUE(set.erase(&a));
    EXPECT_EQ(set.items(), (std::vector<int*>{&d}));
    // The moved pointer is still found where it went.
    EXPECT_TRUE(set.contains(&d));
    EXPECT_TRUE(set.erase(&d));
    EXPECT_TRUE(set.items().empty());
    EXPECT_FALSE(set.contains(&d));
    EXPECT_TRUE(set.insert(&b));
    EXPECT_EQ(set.items(), (std::vector<int*>{&b}));
}
