// The map at rest: with nothing moving no tick runs, so no frame is drawn and
// no pick made, until something changes; and while something moves, even
// with no frame to pace them (the window hidden), ticks wait for a display
// refresh instead of running back to back. The real windows, with the
// pointer moved on the X display.
#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxSceneViewer.h"
#include "navigation/FrameCadence.h"
#include "navigation/MapInput.h"

#include <QCursor>

namespace {

class MapRest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        TownModel town;
        for (int i = 0; i < 6; ++i)
            town.houses.push_back(fixtureHouse("Садовая", std::to_string(i + 1), -12.0f + 5.0f * float(i), 2, 3));
        writeTown(town, {});
        // The pointer away from where the windows will stand.
        QCursor::setPos(0, 0);
        start();
        windows->MessageLoopStarts();
        main = windows->fm_main;
        view = ui().GxSceneViewer;
        windows->fm_start->TimerTimer(); // the main window comes up and the camera climbs
    }

    TGxSceneBuffer& buffer() { return view->Buffer(); }
    bool resting() const { return main->View().Cadence()->Resting() && !main->View().Cadence()->Paced(); }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
    TGxSceneViewer* view = nullptr;
};

} // namespace

TEST_F(MapRest, AStillMapDrawsNoFrameAndRunsNoPickUntilThePointerMoves)
{
    // The climb moves the camera at every tick, then nothing moves.
    ASSERT_TRUE(waitUntil([&] { return !main->State().IntroClimb && resting(); }, 60000));
    ASSERT_GT(buffer().FrameCount(), 0);
    const int frames = buffer().FrameCount();
    const int picks = main->Picker().PickCount();
    const TGxVector marker = main->Scene().DCSelection->Position().Vector4();

    waitUntil([] { return false; }, 1000);
    EXPECT_EQ(buffer().FrameCount(), frames);
    EXPECT_EQ(main->Picker().PickCount(), picks);
    EXPECT_TRUE(resting());

    // The pointer comes over the view: the marker goes under it at once.
    const QPoint at(view->width() / 2, view->height() / 2 + 60);
    QCursor::setPos(view->mapToGlobal(at));
    ASSERT_TRUE(waitUntil([&] { return main->Picker().PickCount() > picks && buffer().FrameCount() > frames; }, 10000));
    EXPECT_EQ(main->State().LastPointer.x, at.x());
    EXPECT_EQ(main->State().LastPointer.y, at.y());
    EXPECT_NE(main->Scene().DCSelection->Position().Vector4(), marker);

    // And rests again once the pointer stands still.
    ASSERT_TRUE(waitUntil([&] { return resting(); }, 10000));
}

TEST_F(MapRest, AChangeMadeOutsideATickStartsTheTicksAgain)
{
    ASSERT_TRUE(waitUntil([&] { return !main->State().IntroClimb && resting(); }, 60000));
    const TGxVector camera = main->Scene().GxFreeCamera->Position().Vector4();
    // As the fly-to's arrival does: the camera starts circling.
    main->State().AutoOrbit = true;
    main->Scene().DCTarget->Position().Translate(VectorMake(1, 0, 0, 0));
    ASSERT_TRUE(waitUntil([&] { return main->Scene().GxFreeCamera->Position().Vector4() != camera; }, 10000));
    EXPECT_FALSE(resting()) << "the orbit goes on";
}

TEST_F(MapRest, WhileTheWindowIsHiddenTicksWaitForADisplayRefresh)
{
    ASSERT_TRUE(waitUntil([&] { return !main->State().IntroClimb && resting(); }, 60000));
    main->hide();
    const int frames = buffer().FrameCount();
    const int picks = main->Picker().PickCount();
    main->State().AutoOrbit = true;
    main->View().Cadence()->Wake();
    ASSERT_TRUE(waitUntil([&] { return main->Picker().PickCount() >= picks + 3; }, 10000)) << "the orbit goes on hidden";
    // A tick takes far less than a refresh here: the next one waits for its timer.
    EXPECT_TRUE(waitUntil([&] { return main->View().Cadence()->Resting() && main->View().Cadence()->Paced(); }, 10000));
    EXPECT_EQ(buffer().FrameCount(), frames) << "nothing is drawn while hidden";

    main->State().AutoOrbit = false;
    ASSERT_TRUE(waitUntil([&] { return resting(); }, 10000)) << "and it rests once nothing moves";
}
