// The label pictures' shared texture: pictures go side by side without
// overlapping, what is uploaded is what was given (with straight alpha), a
// picture of the wrong size is refused, and a full texture starts again.
#include "map/LabelAtlas.h"
#include "support/OffscreenScene.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

QImage solid(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

TEST(LabelAtlas, PacksUploadsRefusesAndStartsAgainWhenFull)
{
    OffscreenScene gl;
    TGxContextActivation active(gl.context());
    LabelAtlas atlas;

    struct Case {
        int w, h;
        bool fits;
    };
    for (const Case& c : {Case{64, 48, true}, Case{LabelAtlas::kWidth, 48, false}, Case{100, 48, false},
                          Case{64, LabelAtlas::kHeight, false}}) {
        SCOPED_TRACE(c.w);
        LabelAtlas::Slot slot;
        EXPECT_EQ(atlas.SlotOf(std::to_string(c.w) + "x" + std::to_string(c.h),
                               [&] { return solid(c.w, c.h, Qt::red); }, slot),
                  c.fits);
    }

    // Half-transparent blue, premultiplied in, straight out.
    LabelAtlas::Slot blue;
    ASSERT_TRUE(atlas.SlotOf("blue", [] { return solid(32, 16, QColor(0, 0, 255, 128)); }, blue));
    std::vector<unsigned char> texels(std::size_t(LabelAtlas::kWidth) * LabelAtlas::kHeight * 4);
    glBindTexture(GL_TEXTURE_2D, atlas.Texture());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const auto texel = [&](float u, float v) {
        const std::size_t x = std::size_t(u * LabelAtlas::kWidth), y = std::size_t(v * LabelAtlas::kHeight);
        return &texels[(y * LabelAtlas::kWidth + x) * 4];
    };
    const unsigned char* middle = texel((blue.u0 + blue.u1) / 2, (blue.v0 + blue.v1) / 2);
    EXPECT_EQ(middle[0], 0);
    EXPECT_NEAR(middle[2], 255, 2);
    EXPECT_NEAR(middle[3], 128, 2);
    // Beside it, transparent.
    EXPECT_EQ(texel(blue.u1 + 2.0f / LabelAtlas::kWidth, blue.v0)[3], 0);
    // The same key again: the same place, the picture not made again.
    LabelAtlas::Slot again;
    ASSERT_TRUE(atlas.SlotOf("blue", []() -> QImage { ADD_FAILURE() << "made again"; return {}; }, again));
    EXPECT_EQ(again.u0, blue.u0);

    // Large pictures until the texture is full; none overlaps another.
    std::vector<LabelAtlas::Slot> placed;
    LabelAtlas::Slot slot;
    while (atlas.SlotOf(std::to_string(placed.size()), [] { return solid(1000, 200, Qt::green); }, slot))
        placed.push_back(slot);
    EXPECT_GE(placed.size(), 6u);
    for (std::size_t i = 0; i < placed.size(); ++i)
        for (std::size_t j = i + 1; j < placed.size(); ++j)
            EXPECT_FALSE(placed[i].u0 < placed[j].u1 && placed[j].u0 < placed[i].u1 && placed[i].v0 < placed[j].v1
                         && placed[j].v0 < placed[i].v1);
    atlas.Clear();
    EXPECT_EQ(atlas.Count(), 0u);
    ASSERT_TRUE(atlas.SlotOf("after", [] { return solid(1000, 200, Qt::green); }, slot));
    EXPECT_EQ(slot.u0, 0.0f);
    EXPECT_EQ(slot.v0, 0.0f);
}

} // namespace
