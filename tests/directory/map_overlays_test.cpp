#include "base/Cp1251.h"
#include "directory/MapOverlays.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"

#include <gtest/gtest.h>

TEST(MapOverlayTexts, LabelAndAddressLineOfAHouse)
{
    const struct {
        const char* street;
        const char* number;
        const char* label;
        const char* addressLine;
    } cases[] = {
        {"Садовая", "12", "ул.Садовая, 12", "ул. Садовая, 12"},
        {"Ленина", "0", "ул.Ленина", "ул. Ленина, 0"}, // "0": a house without a number
        {"Мира", "", "ул.Мира, ", "ул. Мира, "},
        {"Мира", "00", "ул.Мира, 00", "ул. Мира, 00"},
        {"Мира", "123456", "ул.Мира, 123456", "ул. Мира, 123456"},
        {"", "0", "дом без адреса", "дом без адреса"}, // not "ул. , 0"
        {"", "7", "дом без адреса", "дом без адреса"},
    };
    TGxScene scene;
    auto* house = scene.ObjectRoot()->SpawnChild<Thouse>();
    for (const auto& c : cases) {
        house->SetParam(0, cp1251::fromUtf8(c.street));
        house->SetParam(1, cp1251::fromUtf8(c.number));
        EXPECT_EQ(MapOverlays::HintText(*house), QString::fromUtf8(c.label));
        EXPECT_EQ(MapOverlays::AddressLineText(*house), QString::fromUtf8(c.addressLine));
    }
}
