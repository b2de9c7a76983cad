// The legend, the address line and the floating label, drawn with the
// substitute fonts of this machine.
#include "map/MapState.h"
#include "base/Cp1251.h"
#include "directory/MapOverlays.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxScene.h"
#include "platform/Fonts.h"
#include "map/House.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

bool dark(QRgb c)
{
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

// Pixels of the image inside the rectangle that satisfy the test.
template <class Test>
int count(const QImage& image, QRect area, Test test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(image.pixel(x, y));
    return n;
}

class MapOverlaysGl : public ::testing::Test {
protected:
    void SetUp() override { installFontSubstitutes(); }

    Thouse* addHouse(std::string_view street, std::string_view number)
    {
        auto* h = scene.ObjectRoot()->SpawnChild<Thouse>();
        h->AppendNode(0, 0, 0);
        h->AppendNode(6, 0, 0);
        h->AppendNode(6, 2, 0);
        h->AppendNode(0, 2, 0);
        h->SetParam(0, cp1251::fromUtf8(street));
        h->SetParam(1, cp1251::fromUtf8(number));
        return h;
    }

    TGxScene scene;
    MapState state;
};

} // namespace

TEST_F(MapOverlaysGl, LabelPictureIsYellowWithABlackTopAndLeftLineAndBlackText)
{
    const QImage bitmap = MapOverlays::HintBitmap(QStringLiteral("ул.Садовая, 12"));
    ASSERT_EQ(bitmap.size(), QSize(150, 20));
    const QRgb yellow = qRgb(255, 255, 0);
    EXPECT_EQ(count(bitmap, {0, 0, 150, 1}, dark), 150);
    EXPECT_EQ(count(bitmap, {0, 0, 1, 20}, dark), 20);
    EXPECT_EQ(bitmap.pixel(149, 19), yellow);
    EXPECT_EQ(count(bitmap, {1, 1, 2, 19}, [&](QRgb c) { return c == yellow; }), 2 * 19); // text starts at x = 3
    const int text = count(bitmap, {3, 3, 147, 17}, dark);
    EXPECT_GT(text, 40);
    // Nothing but yellow, black and their mixes.
    EXPECT_EQ(count(bitmap, {0, 0, 150, 20}, [](QRgb c) { return qBlue(c) > 60 || qRed(c) != qGreen(c); }), 0);

    // Too long a text is cut at the right edge, not shrunk or wrapped.
    const QImage cut = MapOverlays::HintBitmap(QString(40, QChar(0x0428))); // Ш
    EXPECT_GT(count(cut, {140, 3, 10, 14}, dark), 10);
    EXPECT_EQ(count(cut, {1, 18, 149, 2}, dark), 0);
}

TEST_F(MapOverlaysGl, ViewHintReplacesTheLabelByOneAtTheHousesWindowPosition)
{
    Thouse* first = addHouse("Садовая", "12");
    Thouse* second = addHouse("Ленина", "0");
    TGxVector projected;
    const auto project = [&](const TGxVector& p) {
        projected = p;
        return VectorMake(p.X * 10 + 100, p.Y * 10 + 50, 0.25f, 1);
    };
    MapOverlays::ViewHint(state, *scene.ObjectRoot(), *first, project, 440);
    TGxHUDSprite* label = state.HintSprite;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(scene.ObjectRoot()->Children(scene.ObjectRoot()->Count() - 1), label);

    MapOverlays::ViewHint(state, *scene.ObjectRoot(), *second, project, 440);
    ASSERT_NE(state.HintSprite, nullptr);
    label = state.HintSprite;
    int labels = 0;
    for (int i = 0; i < scene.ObjectRoot()->Count(); ++i)
        labels += scene.ObjectRoot()->Children(i)->ClassName() == "TGxHUDSprite";
    EXPECT_EQ(labels, 1);
    EXPECT_EQ(scene.ObjectRoot()->Children(scene.ObjectRoot()->Count() - 1), label);

    // The footprint's centre at ground level, from the bottom of the view to the top.
    EXPECT_EQ(projected.X, 3.0f);
    EXPECT_EQ(projected.Y, 1.0f);
    EXPECT_EQ(projected.Z, 0.0f);
    const TGxVector p = label->Position().Vector4();
    EXPECT_EQ(p.X, 130.0f);
    EXPECT_EQ(p.Y, 440.0f - 60.0f);
    EXPECT_EQ(p.Z, 0.25f);

    EXPECT_TRUE(label->Visible());
    EXPECT_EQ(label->Width(), 150.0f);
    EXPECT_EQ(label->Height(), 20.0f);
    const TGxMaterial& m = label->Material();
    EXPECT_EQ(m.FrontProperties().Diffuse().Vector()[3], 0.5f);
    EXPECT_EQ(m.BlendingMode(), bmTransparency);
    ASSERT_TRUE(m.HasTexture());
    EXPECT_TRUE(const_cast<TGxMaterial&>(m).Texture().Enabled());
    EXPECT_EQ(const_cast<TGxMaterial&>(m).Texture().TextureWrap(), twBoth);

    MapOverlays::RemoveHint(state);
    EXPECT_EQ(state.HintSprite, nullptr);
    EXPECT_EQ(scene.ObjectRoot()->Children(scene.ObjectRoot()->Count() - 1), second);
}

TEST_F(MapOverlaysGl, LegendAlwaysAndTheAddressLineWhileAHouseIsChosen)
{
    Thouse* house = addHouse("Садовая", "12");
    auto* ground = scene.ObjectRoot()->SpawnChild<TGxDummyCube>();
    const QRect legendBlack(3, 3, 180, 52);
    const QRect legendSilver(3, 58, 180, 28);
    const QRect addressLine(3, 440 - 20, 250, 18);
    const auto silver = [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 150 && qRed(c) < 250; };
    for (TGxBaseSceneObject* current : {static_cast<TGxBaseSceneObject*>(house), static_cast<TGxBaseSceneObject*>(ground)}) {
        QImage view(593, 440, QImage::Format_RGB32);
        view.fill(Qt::white);
        {
            QPainter painter(&view);
            MapOverlays::Draw(painter, view.height(), current);
        }
        EXPECT_GT(count(view, legendBlack, dark), 200);
        EXPECT_EQ(count(view, legendSilver, dark), 0);
        EXPECT_GT(count(view, legendSilver, silver), 50);
        // Nothing else on the picture: the texts have no background box.
        EXPECT_EQ(count(view, {200, 100, 393, 300}, [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);
        EXPECT_EQ(count(view, addressLine, dark) > 100, current == house);
    }
}
