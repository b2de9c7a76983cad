#include "FakeListener.h"
#include "engine/materials/GxColor.h"
#include "engine/materials/GxMaterial.h"

#include <gtest/gtest.h>

TEST(GxColor, SetWinColorTakesTheLowestByteAsRed)
{
    struct Case {
        std::int32_t value;
        std::array<float, 4> rgba;
    };
    const Case cases[] = {
        {32768, {0, 128 / 255.0f, 0, 1}},
        {16711680, {0, 0, 1, 1}},
        {255, {1, 0, 0, 1}},
        {0x00336699, {0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f, 1}},
    };
    for (const Case& c : cases) {
        TGxColor color(nullptr, 0.5f, 0.5f, 0.5f, 0.25f);
        color.SetWinColor(c.value);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(color.Vector()[i], c.rgba[i]) << c.value << " component " << i;
    }
    TGxColor green(nullptr);
    green.SetWinColor(32768);
    EXPECT_NEAR(green.Green(), 0.50196f, 1e-5f);
}

TEST(GxColor, SystemColourIsOpaqueAndUsesOnlyTheIndexByte)
{
    TGxColor window(nullptr), sameIndex(nullptr);
    window.SetWinColor(static_cast<std::int32_t>(0x80000005u)); // the window colour
    sameIndex.SetWinColor(static_cast<std::int32_t>(0xFF000005u));
    EXPECT_EQ(window.Vector(), sameIndex.Vector());
    EXPECT_EQ(window.Alpha(), 1.0f);
}

TEST(GxColor, ChangesReachTheMaterialsOwnerButEqualValuesDoNot)
{
    FakeListener owner;
    TGxMaterial material(&owner);
    material.FrontProperties().Diffuse().SetRed(0.8f); // unchanged
    EXPECT_EQ(owner.changes, 0);
    material.FrontProperties().Diffuse().SetRed(0.1f);
    material.FrontProperties().Emission().SetWinColor(255);
    material.FrontProperties().SetShininess(20);
    EXPECT_EQ(owner.changes, 3);
    EXPECT_EQ(owner.structureChanges, 0); // colours never rebuild geometry

    material.BeginUpdate();
    material.SetBlendingMode(bmAdditive);
    EXPECT_EQ(owner.changes, 3);
    material.EndUpdate();
    EXPECT_EQ(owner.changes, 4);
}

TEST(GxMaterial, TextureUseChangesTheOwnersStructure)
{
    FakeListener owner;
    TGxMaterial material(&owner);
    EXPECT_FALSE(material.HasTexture());
    TGxTexture& texture = material.Texture(); // created disabled
    EXPECT_TRUE(texture.Disabled());
    texture.SetDisabled(false);
    EXPECT_EQ(owner.structureChanges, 1);
    texture.SetMappingMode(tmmObjectLinear);
    texture.SetMappingMode(tmmSphere); // generated to generated: no rebuild
    EXPECT_EQ(owner.structureChanges, 2);
    texture.SetTextureWrap(twNone);
    EXPECT_EQ(owner.structureChanges, 2);
    EXPECT_TRUE(texture.ParameterChangePending());
}
