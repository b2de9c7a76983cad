// The map view as a window: frames on change, overlays after the frame,
// and the buffer following the widget's size and context.
#include "RenderTestObjects.h"
#include "engine/scene/GxSceneViewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

void spin(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool showAndWait(QWidget& widget)
{
    widget.show();
    QElapsedTimer timer;
    timer.start();
    while (!widget.isVisible() && timer.elapsed() < 5000)
        spin(10);
    return widget.isVisible();
}

void send(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class SceneViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        camera = scene.CameraRoot()->SpawnChild<TGxCamera>();
        camera->Position().AssignPoint(0, 0, 10);
        camera->Direction().AssignVector(0, 0, -1);
        camera->Up().AssignVector(0, 1, 0);
        quad = scene.ObjectRoot()->SpawnChild<TestQuad>(nullptr, "q", 2.0f);
        quad->SetColour(1, 0, 0, 1);
        viewer.Buffer().SetBackgroundColor(clWhite);
        viewer.Buffer().SetLighting(false);
        viewer.SetCamera(camera);
        viewer.resize(120, 90);
        viewer.move(0, 0);
    }

    // Waits until the view has drawn more frames than `before`.
    bool waitForFrame(int before)
    {
        QElapsedTimer timer;
        timer.start();
        while (viewer.Buffer().FrameCount() <= before && timer.elapsed() < 5000)
            spin(10);
        return viewer.Buffer().FrameCount() > before;
    }

    // What the view shows: one more frame with its overlay, read from the
    // view's own framebuffer (the screen may hold other programs' windows).
    QColor shown(int x, int y) { return viewer.grabFramebuffer().pixelColor(x, y); }

    TGxScene scene;
    TGxCamera* camera = nullptr;
    TestQuad* quad = nullptr;
    TGxSceneViewer viewer;
};

} // namespace

TEST_F(SceneViewerTest, ShowsTheCameraSceneWithTheOverlayOnTop)
{
    viewer.AfterRender = [](TGxSceneViewer& view, QPainter& painter) {
        painter.fillRect(QRect(0, 0, 10, 10), Qt::blue);
        EXPECT_FALSE(view.Buffer().Rendering());
    };
    ASSERT_TRUE(showAndWait(viewer));
    ASSERT_TRUE(waitForFrame(0));
    spin(50);
    EXPECT_EQ(viewer.Buffer().Width(), 120);
    EXPECT_EQ(viewer.Buffer().Height(), 90);
    EXPECT_EQ(shown(60, 45), QColor(255, 0, 0));   // the quad in the middle
    EXPECT_EQ(shown(118, 88), QColor(255, 255, 255)); // background
    EXPECT_EQ(shown(3, 3), QColor(0, 0, 255));     // painted after the frame
}

TEST_F(SceneViewerTest, ASceneChangeAsksForAFrameAndNothingElseDoes)
{
    ASSERT_TRUE(showAndWait(viewer));
    ASSERT_TRUE(waitForFrame(0));
    spin(100);
    const int settled = viewer.Buffer().FrameCount();
    spin(100);
    EXPECT_EQ(viewer.Buffer().FrameCount(), settled);

    quad->Position().SetX(20); // out of sight
    ASSERT_TRUE(waitForFrame(settled));
    spin(50);
    EXPECT_EQ(shown(60, 45), QColor(255, 255, 255));
}

TEST_F(SceneViewerTest, ResizingFollowsTheWidgetAndPicksStillWork)
{
    ASSERT_TRUE(showAndWait(viewer));
    ASSERT_TRUE(waitForFrame(0));
    const int before = viewer.Buffer().FrameCount();
    viewer.resize(200, 150);
    ASSERT_TRUE(waitForFrame(before));
    EXPECT_EQ(viewer.Buffer().Width(), 200);
    EXPECT_EQ(viewer.Buffer().Height(), 150);
    // Outside a frame, picking makes the view's context current with its framebuffer.
    EXPECT_EQ(viewer.Buffer().ObjectAtPixel(100, 75), quad);
    EXPECT_EQ(viewer.Buffer().ObjectAtPixel(2, 2), nullptr);
}

TEST_F(SceneViewerTest, MouseEventsReachTheHandlersInViewPixels)
{
    struct Press {
        Qt::MouseButton button;
        int x, y;
    };
    std::vector<Press> presses;
    std::vector<QPoint> moves;
    viewer.OnMouseDown = [&](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) { presses.push_back({b, x, y}); };
    viewer.OnMouseMove = [&](Qt::KeyboardModifiers, int x, int y) { moves.emplace_back(x, y); };
    ASSERT_TRUE(showAndWait(viewer));
    send(viewer, QEvent::MouseButtonPress, Qt::RightButton, {30, 40});
    send(viewer, QEvent::MouseMove, Qt::NoButton, {31, 41});
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].button, Qt::RightButton);
    EXPECT_EQ(presses[0].x, 30);
    EXPECT_EQ(presses[0].y, 40);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), QPoint(31, 41));
}
