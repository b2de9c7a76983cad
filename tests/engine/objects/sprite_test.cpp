#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxScene.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class CountingBuffer : public IGxSceneBuffer {
public:
    void SceneChanged(TGxScene*) override { ++changes; }
    int changes = 0;
};

class SpriteProperties : public ::testing::Test {
protected:
    SpriteProperties() { scene.AttachBuffer(&buffer); }
    ~SpriteProperties() override { scene.DetachBuffer(&buffer); }

    // Whether the scene is told of the change: the sprite is drawn again.
    bool redraws(const std::function<void()>& change)
    {
        const int before = buffer.changes;
        change();
        return buffer.changes > before;
    }

    TGxScene scene;
    CountingBuffer buffer;
    TGxHUDSprite* hud = scene.ObjectRoot()->SpawnChild<TGxHUDSprite>();
    TGxSprite* sprite = scene.ObjectRoot()->SpawnChild<TGxSprite>();
};

TEST_F(SpriteProperties, DefaultsAndBounds)
{
    EXPECT_EQ(sprite->Width(), 1.0f);
    EXPECT_EQ(sprite->Height(), 1.0f);
    EXPECT_EQ(sprite->AlphaChannel(), 1.0f);
    EXPECT_EQ(hud->Width(), 16.0f);
    EXPECT_EQ(hud->Height(), 16.0f);
    EXPECT_EQ(hud->XTiles(), 1);
    EXPECT_EQ(hud->YTiles(), 1);
    EXPECT_EQ(hud->ClassName(), "TGxHUDSprite");
    EXPECT_EQ(sprite->ClassName(), "TGxSprite");

    sprite->SetWidth(-6);
    sprite->SetHeight(2);
    const TGxVector e = sprite->HalfExtentsUnscaled();
    EXPECT_EQ(e.X, 3.0f);
    EXPECT_EQ(e.Y, 1.0f);
    EXPECT_EQ(e.Z, 3.0f);
}

TEST_F(SpriteProperties, AlphaChannelIsClampedIntoZeroToOne)
{
    const struct {
        float set, stored;
    } cases[] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {0.3f, 0.3f}};
    for (const auto& c : cases) {
        sprite->SetAlphaChannel(c.set);
        EXPECT_EQ(sprite->AlphaChannel(), c.stored) << c.set;
    }
}

TEST_F(SpriteProperties, OnlyRealChangesRedrawExceptTheSwitchesWhichAlwaysDo)
{
    EXPECT_FALSE(redraws([&] { hud->SetWidth(16); }));
    EXPECT_TRUE(redraws([&] { hud->SetWidth(150); }));
    EXPECT_FALSE(redraws([&] { hud->SetRotation(0); }));
    EXPECT_TRUE(redraws([&] { hud->SetRotation(30); }));
    EXPECT_FALSE(redraws([&] { hud->SetAlphaChannel(2); })); // clamps to the 1 it holds
    EXPECT_TRUE(redraws([&] { hud->SetAlphaChannel(0.5f); }));
    EXPECT_FALSE(redraws([&] { hud->SetXTiles(1); }));
    EXPECT_TRUE(redraws([&] { hud->SetYTiles(3); }));
    EXPECT_TRUE(redraws([&] { hud->SetNoZWrite(false); }));
    EXPECT_TRUE(redraws([&] { hud->SetMirrorU(false); }));
    EXPECT_TRUE(redraws([&] { hud->SetMirrorV(false); }));
}

} // namespace
