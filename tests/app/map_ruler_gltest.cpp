// The ruler in the main window: Ctrl+click on the ground adds points, the
// length shows in a label below the map and the line on the map; Escape
// on the map clears both.
#include "MapToolsFixture.h"

#include "app/RulerTool.h"
#include "data/TownScale.h"
#include "map/MapState.h"

#include <QLabel>
#include <QTest>

namespace {
const QColor kRulerColour(242, 115, 0);
} // namespace

using MapRuler = MapToolsWindow;

TEST_F(MapRuler, CtrlClicksMeasureOnTheGroundAndEscapeClears)
{
    auto* label = controlOf<QLabel>(*main, "RulerLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isVisible());
    // The ruler's colour where the line is, or would be, in a new frame (the
    // chosen house's label is orange on red elsewhere); the label below the
    // map changes the view's height.
    const auto onTheLine = [&] {
        const QImage image = frame();
        return pixelsLike(image.copy(QRect(pixelOf(10, 30), pixelOf(40, 30)).normalized().adjusted(-6, -6, 6, 6)),
                          kRulerColour);
    };
    EXPECT_EQ(onTheLine(), 0);

    // Two points 30 units apart on the ground, away from the houses.
    press(Qt::LeftButton, pixelOf(10, 30), Qt::ControlModifier);
    ASSERT_TRUE(label->isVisible());
    EXPECT_EQ(label->text().toStdString(), "Линейка: 0\u00A0м");
    press(Qt::LeftButton, pixelOf(40, 30), Qt::ControlModifier);
    EXPECT_EQ(label->accessibleName(), label->text());
    // A pixel of the view is about a tenth of a unit down there.
    const QString text = label->text();
    ASSERT_TRUE(text.startsWith(QStringLiteral("Линейка: "))) << text.toStdString();
    const double shown = text.mid(9).chopped(2).remove(QChar(0x00A0)).toDouble();
    EXPECT_NEAR(shown, 30 / kUnitsPerMetre, 3);
    EXPECT_GT(onTheLine(), 50);
    EXPECT_EQ(frame().pixelColor(pixelOf(25, 30)), kRulerColour) << "the line joins the points";

    // A Ctrl+click on a house measures too: it does not choose the house.
    const TGxBaseSceneObject* chosen = main->State().CurrentObject;
    press(Qt::LeftButton, pixelOf(houses[0]->CenterX(), houses[0]->CenterY(), 0.2f), Qt::ControlModifier);
    EXPECT_EQ(main->State().CurrentObject, chosen);
    EXPECT_EQ(main->State().SelectedHouse, nullptr);

    // A plain click still chooses, and leaves the ruler alone.
    press(Qt::LeftButton, pixelOf(houses[1]->CenterX(), houses[1]->CenterY(), 0.2f));
    EXPECT_EQ(main->State().SelectedHouse, houses[1]);
    EXPECT_TRUE(label->isVisible());

    main->activateWindow();
    viewer()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    QTest::keyClick(viewer(), Qt::Key_Escape);
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(onTheLine(), 0);

    // A new line starts from nothing.
    press(Qt::LeftButton, pixelOf(10, 30), Qt::ControlModifier);
    EXPECT_EQ(label->text().toStdString(), "Линейка: 0\u00A0м");
}
