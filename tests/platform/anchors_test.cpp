#include "platform/Anchors.h"

#include <gtest/gtest.h>

TEST(Anchors, EdgesFollowTheParentAsAnchored)
{
    const QSize designed(862, 493);
    const QSize grown(962, 543); // 100 wider, 50 taller
    const struct {
        const char* what;
        QRect rect;
        Anchors anchors;
        QSize parent;
        QRect expected;
    } cases[] = {
        {"all four", {8, 16, 601, 468}, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom, grown,
         {8, 16, 701, 518}},
        {"top right", {616, 14, 241, 153}, Anchor::Top | Anchor::Right, grown, {716, 14, 241, 153}},
        {"top right bottom", {616, 176, 241, 308}, Anchor::Top | Anchor::Right | Anchor::Bottom, grown,
         {716, 176, 241, 358}},
        {"left top", {208, 448, 25, 25}, Anchor::Left | Anchor::Top, grown, {208, 448, 25, 25}},
        {"none keeps its place to the centre", {100, 100, 20, 20}, Anchors(), grown, {150, 125, 20, 20}},
        {"shrunk below zero size", {8, 16, 601, 468}, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom,
         {200, 100}, {8, 16, 0, 75}},
        {"designed size unchanged", {616, 176, 241, 308}, Anchor::Top | Anchor::Right | Anchor::Bottom, designed,
         {616, 176, 241, 308}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(anchoredRect(c.rect, designed, c.parent, c.anchors), c.expected) << c.what;
}
