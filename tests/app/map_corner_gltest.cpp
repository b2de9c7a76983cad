// The north arrow and the scale bar in the map's corner, in the real window:
// where they are drawn, that they turn and measure as the camera does, that
// a click on the arrow turns the map north up, that they vanish when switched
// off, and that the printed picture carries them.
#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "data/TownScale.h"
#include "directory/NorthArrow.h"
#include "directory/ScaleBar.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxSceneViewer.h"
#include "map/CameraHeading.h"
#include "map/MainScene.h"
#include "support/PixelCount.h"
#include "support/RecordingPrinter.h"

#include <QMouseEvent>

#include <cmath>
#include <numbers>

namespace {

bool red(QColor c)
{
    return c.red() > 150 && c.green() < 70 && c.blue() < 70;
}

bool dark(QColor c)
{
    return c.red() < 60 && c.green() < 60 && c.blue() < 60;
}

// Degrees clockwise from up of a direction in top-left pixels.
double screenAngle(QPointF d)
{
    return std::atan2(d.x(), -d.y()) * 180.0 / std::numbers::pi;
}

double angleBetween(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

} // namespace

class MapCornerWindow : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // A white town: the grid and one green house far from the corner.
        TownModel town;
        town.houses = {fixtureHouse("Садовая", "1", 2, 2, 2)};
        writeTown(town, {});
        start();
        main = windows->fm_main;
        ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
        main->show();
        ASSERT_TRUE(waitUntil([&] { return main->isVisible() && ui().GxSceneViewer->HasContext(); }, 5000));
        holdMapStill(*main);
        lookFrom(0, -30, 30);
    }

    MapState& state() { return main->State(); }
    MainScene& scene() { return main->Scene(); }
    TGxCamera& camera() { return *scene().GxFreeCamera; }
    QSize view() const { return ui().GxSceneViewer->size(); }

    void lookFrom(float cx, float cy, float cz)
    {
        scene().DCTarget->Position().AssignPoint(0, 0, 0.1f);
        camera().Position().AssignPoint(cx, cy, cz);
    }

    QImage frame() { return ui().GxSceneViewer->grabFramebuffer(); }

    // Where a scene point shows in the view, top-left pixels (after a frame).
    QPointF viewPoint(float x, float y, float z)
    {
        const TGxVector p = ui().GxSceneViewer->Buffer().ProjectToWindow(PointMake(x, y, z));
        return {p.X, view().height() - p.Y};
    }

    QRect arrowArea() const { return NorthArrow::Area(view()); }
    // The bar's place, without what the arrow may cover.
    QRect barArea() const { return ScaleBar::Area(view()); }

    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
};

TEST_F(MapCornerWindow, ArrowAndBarStandInTheBottomRightCornerAndVanishWhenSwitchedOff)
{
    // Clear of the legend (top left), the address line (bottom left) and of each other.
    const QSize size = view();
    EXPECT_EQ(size, QSize(593, 440));
    EXPECT_GT(arrowArea().left(), size.width() / 2);
    EXPECT_GT(barArea().left(), size.width() / 2);
    EXPECT_LE(arrowArea().right(), size.width() - 1);
    EXPECT_LE(barArea().bottom(), size.height() - 1);
    EXPECT_FALSE(arrowArea().intersects(barArea()));

    const struct {
        bool arrow, bar;
    } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "arrow " << c.arrow << ", bar " << c.bar);
        state().ShowNorthArrow = c.arrow;
        state().ShowScaleBar = c.bar;
        const QImage image = frame();
        const int needle = countPixels(image, arrowArea(), red);
        const int bar = countPixels(image, barArea(), dark);
        if (c.arrow)
            EXPECT_GT(needle, 60);
        else
            EXPECT_EQ(needle, 0);
        if (c.bar)
            EXPECT_GT(bar, 100); // the bar's line and its text
        else
            EXPECT_EQ(bar, 0);
    }
}

TEST_F(MapCornerWindow, TheNeedlePointsWhereNorthLiesOnTheScreen)
{
    state().ShowScaleBar = false;
    // Steep views, so that north on the ground shows at its true angle.
    const struct {
        float cx, cy;
    } cases[] = {{0, -3}, {3, 0}, {0, 3}, {-3, 0}, {2, -2}, {-2, 2.5f}, {1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.cx << ", " << c.cy);
        lookFrom(c.cx, c.cy, 40);
        const QImage image = frame();
        const double heading = NorthHeading(camera());
        const QPointF north = viewPoint(0, 10, 0.1f) - viewPoint(0, 0, 0.1f);
        EXPECT_LT(angleBetween(screenAngle(north), heading), 2.0) << screenAngle(north) << " vs " << heading;
        // The red needle and its letter lie towards north from the disc's centre.
        const QPointF needle = pixelCentroid(image, arrowArea(), red) - QPointF(NorthArrow::Centre(view()));
        EXPECT_LT(angleBetween(screenAngle(needle), heading), 8.0) << screenAngle(needle) << " vs " << heading;
    }
}

TEST_F(MapCornerWindow, TheBarIsAsLongAsItsLengthShowsAtThePointLookedAt)
{
    state().ShowNorthArrow = false;
    const struct {
        float cy, cz;
        double metres;
    } cases[] = {{-4, 3, 10}, {-30, 30, 100}, {-5, 60, 200}, {-60, 80, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cz);
        lookFrom(0, c.cy, c.cz);
        const QImage image = frame();
        // Across the view at the target: a unit to the right, as projected.
        const double perUnit = (viewPoint(5, 0, 0.1f).x() - viewPoint(-5, 0, 0.1f).x()) / 10.0;
        const double perMetre = ScaleBar::PixelsPerMetre(camera(), 96);
        EXPECT_NEAR(perMetre, perUnit * kUnitsPerMetre, perUnit * kUnitsPerMetre * 0.02);
        const auto plan = ScaleBar::Choose(perMetre);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->metres, c.metres);
        // The dark line at the bar's bottom is as long as the plan says.
        const int lineY = view().height() - ScaleBar::kMargin - 4;
        int left = view().width(), right = -1;
        for (int x = 0; x < view().width(); ++x)
            if (dark(image.pixelColor(x, lineY))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        EXPECT_NEAR(right - left + 1, plan->pixels, 3.0);
    }
}

TEST_F(MapCornerWindow, AClickOnTheArrowTurnsTheMapNorthUpAndChoosesNothing)
{
    lookFrom(25, 10, 12); // north to the right and a little down
    frame();
    TGxBaseSceneObject* chosen = state().CurrentObject;
    const QPoint at = NorthArrow::Centre(view());
    QMouseEvent down(QEvent::MouseButtonPress, at, ui().GxSceneViewer->mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ui().GxSceneViewer, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, ui().GxSceneViewer->mapToGlobal(at), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(ui().GxSceneViewer, &up);
    EXPECT_EQ(state().CurrentObject, chosen);
    EXPECT_EQ(state().SelectedHouse, nullptr);
    ASSERT_TRUE(state().NorthUpTurn);
    int ticks = 0;
    for (; state().NorthUpTurn && ticks < 40; ++ticks)
        main->GxCadencerProgress();
    EXPECT_LT(ticks, 20);
    EXPECT_NEAR(NorthHeading(camera()), 0, 1e-3);
    // The needle now points straight up.
    const QPointF needle = pixelCentroid(frame(), arrowArea(), red) - QPointF(NorthArrow::Centre(view()));
    EXPECT_LT(std::abs(needle.x()), 1.0);
    EXPECT_LT(needle.y(), -5.0);
}

TEST_F(MapCornerWindow, ThePrintedPictureCarriesTheCornerAsShown)
{
    RecordingPrinter printer{{1000, 1400}};
    main->SetPrinterSource(std::make_unique<RecordingPrinterSource>(printer));
    lookFrom(3, 0, 40);
    frame();
    // The picture fills the page's width, so the view is scaled by this much.
    const double f = 1000.0 / view().width();
    const auto scaled = [f](QRect r) {
        return QRect(int(r.left() * f), int(r.top() * f), int(r.width() * f), int(r.height() * f));
    };
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        state().ShowNorthArrow = shown;
        state().ShowScaleBar = shown;
        main->N1Click();
        ASSERT_EQ(printer.pagesPrinted, shown ? 1 : 2);
        const int needle = countPixels(printer.page, scaled(arrowArea()), red);
        const int bar = countPixels(printer.page, scaled(barArea()), dark);
        if (shown) {
            EXPECT_GT(needle, 60 * f * f);
            EXPECT_GT(bar, 100 * f);
            // Turned as on the screen: north to the right.
            const QPointF d = pixelCentroid(printer.page, scaled(arrowArea()), red) - QPointF(NorthArrow::Centre(view())) * f;
            EXPECT_LT(angleBetween(screenAngle(d), 90), 8.0);
        } else {
            EXPECT_EQ(needle, 0);
            EXPECT_EQ(bar, 0);
        }
    }
}
