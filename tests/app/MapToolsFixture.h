#pragma once

// A started main window on a small town seen from above, for the tools drawn
// over the map (ruler, route): ground points and their pixels, presses with
// modifiers, and the colours of a rendered frame.
#include "AppFixture.h"
#include "MainControls.h"

#include "app/MainWindow.h"
#include "directory/Selection.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxSceneViewer.h"
#include "map/House.h"
#include "map/MainScene.h"

#include <QMouseEvent>

class MapToolsWindow : public AppFixture {
protected:
    // Writes the town (its folder is programFolder()/data) before the start;
    // a test may add files beside it first.
    virtual void writeFixtureTown()
    {
        TownModel town;
        town.houses = {fixtureHouse("Садовая", "1", 10, 10, 2), fixtureHouse("Садовая", "3", 40, 10, 2)};
        TownRoadRecord ground;
        ground.nodes = {{-20, -20, 0}, {80, -20, 0}, {80, 60, 0}, {-20, 60, 0}};
        ground.texts = {"area"};
        town.roads = {ground};
        writeTown(town, {fixtureOrg("Школа", "Садовая", "1"), fixtureOrg("Почта", "Садовая", "3"),
                         fixtureOrg("Клуб", "Нет такой", "9")});
    }

    void SetUp() override
    {
        AppFixture::SetUp();
        writeFixtureTown();
        start();
        main = windows->fm_main;
        ASSERT_TRUE(startErrorsExpected || errors.isEmpty()) << errors.join("\n").toStdString();
        main->show();
        ASSERT_TRUE(waitUntil([&] { return main->isVisible() && viewer()->HasContext(); }, 5000));
        main->View().Cadencer()->SetEnabled(false);
        main->State().IntroClimb = false;
        main->Scene().Wand->SetVisible(false);
        main->Scene().DCSelection->SetVisible(false);
        main->MapSelection().ForEachHouse([&](Thouse& h) { houses.push_back(&h); });
        lookAt(25, 15);
    }

    TGxSceneViewer* viewer() const { return MainControls(*main).GxSceneViewer; }

    // The camera high above (x, y), looking almost straight down; one frame.
    void lookAt(float x, float y)
    {
        main->Scene().DCTarget->Position().AssignPoint(x, y, 0.1f);
        main->Scene().GxFreeCamera->Position().AssignPoint(0, -5, 60);
        frame();
    }

    QImage frame() { return viewer()->grabFramebuffer(); }

    // Where a ground point shows in the view, top-left pixels.
    QPoint pixelOf(float x, float y, float z = 0)
    {
        const TGxVector p = viewer()->Buffer().ProjectToWindow(PointMake(x, y, z));
        return QPointF(p.X, viewer()->height() - p.Y).toPoint();
    }

    void press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent down(QEvent::MouseButtonPress, at, viewer()->mapToGlobal(at), button, button, modifiers);
        QApplication::sendEvent(viewer(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, viewer()->mapToGlobal(at), button, Qt::NoButton, modifiers);
        QApplication::sendEvent(viewer(), &up);
    }

    // How many pixels of the frame are near the colour (0..255 per channel).
    static int pixelsLike(const QImage& image, QColor colour, int tolerance = 40)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                             std::abs(c.blue() - colour.blue()) <=
                         tolerance;
            }
        return count;
    }

    Tfm_main* main = nullptr;
    std::vector<Thouse*> houses;
    // A test that starts on a damaged file checks the error boxes itself.
    bool startErrorsExpected = false;
};
