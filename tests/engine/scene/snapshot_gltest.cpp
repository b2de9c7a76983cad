// The off-screen snapshot through the real buffer and traversal.
#include "engine/objects/GxHUDSprite.h"
#include "base/GxException.h"
#include "engine/scene/RenderTestObjects.h"
#include "support/OffscreenScene.h"

#include <gtest/gtest.h>

namespace {

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 && std::abs(a.blue() - b.blue()) <= 3;
}

// The width of the run of `colour` along row y through x.
int runWidth(const QImage& image, int x, int y, QColor colour)
{
    if (!near(image.pixelColor(x, y), colour))
        return 0;
    int left = x, right = x;
    while (left > 0 && near(image.pixelColor(left - 1, y), colour))
        --left;
    while (right + 1 < image.width() && near(image.pixelColor(right + 1, y), colour))
        ++right;
    return right - left + 1;
}

class SnapshotGl : public ::testing::Test {
protected:
    SnapshotGl()
    {
        view.root()->SetObjectsSorting(osNone);
        // A red square in the upper right quarter, a blue label near the top-left corner.
        auto* quad = view.root()->SpawnChild<TestQuad>(&log, "quad", 0.3f);
        quad->Position().AssignPoint(0.3f, 0.15f, 0);
        quad->SetColour(1, 0, 0);
        label = view.root()->SpawnChild<TGxHUDSprite>();
        label->Position().AssignPoint(12, 10, 0);
        label->SetWidth(8);
        label->SetHeight(6);
        label->Material().FrontProperties().Diffuse().SetColorVector(0, 0, 1, 1);
    }

    EmitLog log;
    OffscreenScene view{64, 48};
    TGxHUDSprite* label = nullptr;
};

} // namespace

TEST_F(SnapshotGl, ThreeTimesTheViewAt288DpiIsTheSameViewWithTheLabelThreeTimesLarger)
{
    view.render();
    // The framebuffer's rows come bottom first.
    const QImage window = view.image().mirrored().convertToFormat(QImage::Format_RGB888);
    const std::size_t emitted = log.size();
    const TGxMatrix projection = view.buffer.ProjectionMatrix();
    int afterRender = 0;
    view.buffer.AfterRender = [&](TGxSceneBuffer*) { ++afterRender; };

    QImage bitmap(192, 144, QImage::Format_RGB888);
    view.buffer.SnapshotToBitmap(bitmap, 288);
    ASSERT_EQ(bitmap.size(), QSize(192, 144));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB888);
    EXPECT_EQ(afterRender, 1);

    // Every window pixel away from an edge reads the same in the middle of its 3 x 3 block.
    int differing = 0, red = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const QColor w = window.pixelColor(x, y);
            differing += !near(w, bitmap.pixelColor(3 * x + 1, 3 * y + 1));
            red += w == QColor(Qt::red);
        }
    EXPECT_GT(red, 50);
    EXPECT_LE(differing, 64 * 48 / 50); // at most the pixels an edge crosses
    // Upright: the square is in the upper half of both.
    EXPECT_EQ(bitmap.pixelColor(3 * 43 + 1, 3 * 18 + 1), QColor(Qt::red));
    EXPECT_EQ(window.pixelColor(43, 18), QColor(Qt::red));

    // The label: 8 x 6 at (12, 10) in the window, 24 x 18 at (36, 30) in the bitmap.
    EXPECT_EQ(runWidth(window, 12, 10, Qt::blue), 8);
    EXPECT_EQ(runWidth(bitmap, 36, 30, Qt::blue), 24);

    // The window's display lists served the snapshot, and the window is as it was.
    EXPECT_EQ(log.size(), emitted);
    EXPECT_EQ(view.buffer.ViewPort().Width, 64);
    EXPECT_EQ(view.buffer.ViewPort().Height, 48);
    EXPECT_EQ(view.buffer.ProjectionMatrix(), projection);
    view.render();
    EXPECT_EQ(view.image().mirrored().convertToFormat(QImage::Format_RGB888), window);
}

TEST_F(SnapshotGl, DpiZeroTakesTheBitmapsOwnResolution)
{
    view.render();
    QImage bitmap(64, 48, QImage::Format_RGB32);
    bitmap.setDotsPerMeterX(qRound(192 / 0.0254)); // 192 dots per inch: twice the screen's
    bitmap.setDotsPerMeterY(qRound(192 / 0.0254));
    view.buffer.SnapshotToBitmap(bitmap, 0);
    EXPECT_EQ(runWidth(bitmap, 24, 20, Qt::blue), 16);
    EXPECT_EQ(qRound(bitmap.dotsPerMeterX() * 0.0254), 192);
}

TEST_F(SnapshotGl, PickRightAfterPrintingSeesTheWindowsResolution)
{
    view.render();
    const auto before = view.buffer.PickListInRect({42, 17, 44, 19}, 8);
    ASSERT_EQ(before->Count(), 1);

    for (int dpi : {288, 0}) {
        QImage bitmap(192, 144, QImage::Format_RGB888);
        bitmap.setDotsPerMeterX(qRound(300 / 0.0254));
        view.buffer.SnapshotToBitmap(bitmap, dpi);
        EXPECT_EQ(view.buffer.RenderDPI(), 96) << dpi;
        // No frame in between: the pick's near plane, and so the depth it
        // reports, would be the printer's.
        const auto after = view.buffer.PickListInRect({42, 17, 44, 19}, 8);
        ASSERT_EQ(after->Count(), 1) << dpi;
        EXPECT_EQ(after->Hit(0), before->Hit(0)) << dpi;
        EXPECT_EQ(after->Record(0).NearDepth, before->Record(0).NearDepth) << dpi;
    }
}

TEST_F(SnapshotGl, RefusedWhileAFrameIsRenderingAndWithoutAContext)
{
    QImage bitmap(32, 32, QImage::Format_RGB888);
    bitmap.fill(Qt::green);
    std::string message;
    view.buffer.BeforeRender = [&](TGxSceneBuffer* buffer) {
        try {
            buffer->SnapshotToBitmap(bitmap, 96);
        } catch (const EGxAssertion& e) {
            message = e.bareMessage();
        }
    };
    view.render();
    EXPECT_EQ(message, "Already rendering");
    EXPECT_EQ(bitmap.pixelColor(5, 5), QColor(Qt::green));

    view.buffer.BeforeRender = nullptr;
    view.buffer.DestroyRC();
    try {
        view.buffer.SnapshotToBitmap(bitmap, 96);
        FAIL() << "no context, no snapshot";
    } catch (const EGxError& e) {
        EXPECT_STREQ(e.what(), "Failed to create RenderingContext.");
    }
    EXPECT_FALSE(view.buffer.Rendering());
    EXPECT_EQ(bitmap.pixelColor(5, 5), QColor(Qt::green));
}
