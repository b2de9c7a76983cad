#include "AppFixture.h"

#include "app/FinishWindow.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "base/Cp1251.h"
#include "directory/SortedComboBox.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "map/House.h"
#include "map/MapLabels.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>

class Startup : public AppFixture {};

TEST_F(Startup, SplashComesFirstAndIsThePrincipalWindow)
{
    writeEmptyTown();
    start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    Tfm_start* splash = windows->fm_start;
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(windows->Principal(), splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(windows->fm_main->isVisible());
    EXPECT_FALSE(windows->fm_finish->isVisible());
    EXPECT_EQ(QDir::currentPath(), QDir(programFolder()).canonicalPath());

    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->size(), QSize(632, 479));
    EXPECT_EQ(splash->palette().color(QPalette::Window), QColor(Qt::white));
    const QList<QPoint> creditPlaces = {{441, 67}, {521, 19}, {521, 43}, {489, 443}};
    for (QLabel* label : {splash->Label1, splash->Label2, splash->Label3, splash->Label4}) {
        EXPECT_TRUE(creditPlaces.contains(label->pos())) << label->text().toStdString();
        EXPECT_EQ(label->font().pixelSize(), 13);
    }
    EXPECT_TRUE(splash->Timer->isActive());
    EXPECT_EQ(splash->Timer->interval(), 5000);
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(splash->Timer1->interval(), 50);
    EXPECT_FALSE(windows->fm_finish->Timer->isActive());
    EXPECT_EQ(windows->fm_finish->Timer->interval(), 7000);

    if (designedScreen()) {
        EXPECT_EQ(splash->pos(), QPoint(324, 272));              // 272.5 rounds to 272
        EXPECT_EQ(windows->fm_main->pos(), QPoint(209, 266));    // 265.5 rounds to 266
    }

    windows->MessageLoopStarts(); // nothing new appears
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(windows->fm_main->isVisible());
}

TEST_F(Startup, SplashTimerHandsOverToTheMainWindow)
{
    writeEmptyTown();
    start();
    Tfm_main* main = windows->fm_main;
    EXPECT_FALSE(main->State().IntroClimb);

    windows->fm_start->TimerTimer();

    EXPECT_FALSE(windows->fm_start->isVisible());
    EXPECT_FALSE(windows->fm_start->Timer->isActive());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->State().IntroClimb); // FormShow starts the climb
    EXPECT_EQ(processEnds, 0);             // the splash lives on, hidden
}

TEST_F(Startup, SplashTickDuringCreationWaitsForTheMessageLoop)
{
    // An error box during creation runs a loop of its own; the splash's
    // 5 s tick may come then, but is handled only when the message loop starts.
    writeEmptyTown();
    start();
    Tfm_start* splash = windows->fm_start;
    splash->Timer->setInterval(10);
    EXPECT_FALSE(waitUntil([&] { return !splash->isVisible(); }, 200));
    EXPECT_FALSE(windows->fm_main->isVisible());

    windows->MessageLoopStarts();
    ASSERT_TRUE(waitUntil([&] { return windows->fm_main->isVisible(); }, 1000));
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->Timer->isActive());
}

TEST_F(Startup, HeldEscapeHandsOverOnlyWhileTheSplashIsVisible)
{
    writeEmptyTown();
    start();
    Tfm_start* splash = windows->fm_start;

    splash->Timer1Timer(); // nothing held
    EXPECT_TRUE(splash->isVisible());

    // The 50 ms check starts with the message loop, then sees the key within a few ticks.
    keys.Press(vk::Escape);
    EXPECT_FALSE(waitUntil([&] { return windows->fm_main->isVisible(); }, 200));
    windows->MessageLoopStarts();
    ASSERT_TRUE(waitUntil([&] { return windows->fm_main->isVisible(); }, 1000));
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->Timer->isActive());
    EXPECT_TRUE(splash->Timer1->isActive());

    // Later Escape does nothing: the closing screen stays up.
    windows->fm_main->close();
    ASSERT_TRUE(windows->fm_finish->isVisible());
    splash->Timer1Timer();
    EXPECT_TRUE(windows->fm_finish->isVisible());
    EXPECT_FALSE(windows->fm_main->isVisible());
}

TEST_F(Startup, ClosingTheMainWindowShowsTheClosingScreenThatEndsTheProcess)
{
    writeEmptyTown();
    start();
    windows->fm_start->TimerTimer();
    Tfm_finish* finish = windows->fm_finish;

    windows->fm_main->close();
    EXPECT_FALSE(windows->fm_main->isVisible());
    EXPECT_TRUE(finish->isVisible());
    EXPECT_TRUE(finish->Timer->isActive());
    EXPECT_EQ(processEnds, 0);
    if (designedScreen()) {
        EXPECT_EQ(finish->pos(), QPoint(484, 392));
    }

    // A double-click on the background closes the hidden splash: the end.
    const QPointF at(20, 20);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, finish->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(finish, &click);
    EXPECT_EQ(processEnds, 1);
}

TEST_F(Startup, ClosingScreenTimerEndsTheProcess)
{
    writeEmptyTown();
    start();
    windows->fm_start->TimerTimer();
    windows->fm_main->close();
    windows->fm_finish->TimerTimer();
    EXPECT_EQ(processEnds, 1);
}

TEST_F(Startup, ClosingTheSplashDirectlyEndsTheProcessWithoutTheMainWindow)
{
    writeEmptyTown();
    start();
    windows->fm_start->close();
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(windows->fm_main->isVisible());
}

TEST_F(Startup, MissingTownModelShowsTheErrorAndTheMainWindowAlone)
{
    writeEmptyTown();
    const QString path = QDir(programFolder()).filePath("data/data.mod");
    QFile::remove(path); // its material library is there
    start();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Cannot open file \"" + path + "\". No such file or directory.");
    EXPECT_EQ(errorTitles[0], "Quorvel Электронный справочник организаций г.Верескола");

    // The steps after the failing one were skipped: no splash, no centring.
    EXPECT_EQ(windows->fm_start, nullptr);
    EXPECT_EQ(windows->Principal(), windows->fm_main);
    EXPECT_EQ(windows->fm_main->pos(), QPoint(330, 183));

    windows->MessageLoopStarts();
    EXPECT_TRUE(windows->fm_main->isVisible());
    windows->fm_main->close();
    EXPECT_EQ(processEnds, 1);
}

TEST_F(Startup, DirectoryFillsTheSearchListsWhileTheSplashShows)
{
    writeEmptyTown();
    OrgRecord pharmacy;
    pharmacy.name = cp1251::fromUtf8("Аптека");
    pharmacy.streetName = cp1251::fromUtf8("Ленина");
    pharmacy.houseNo = "5";
    OrgRecord bank = pharmacy;
    bank.name = cp1251::fromUtf8("Банк");
    writeOrgDirectory({pharmacy, bank}).saveTo(programFolder().toStdString() + "/data/data.tmd");

    start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(windows->fm_main->Records().size(), 2u);
    EXPECT_EQ(controlsOf(*windows->fm_main).OrgName->Count(), 2);
    EXPECT_EQ(controlsOf(*windows->fm_main).Street->Count(), 1);
}

TEST_F(Startup, MissingDirectoryLeavesTheSplashAndTheDesignedPosition)
{
    writeEmptyTown();
    QFile::remove(programFolder() + "/data/data.tmd");
    start();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Cannot open file \"")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("data/data.tmd")) << errors[0].toStdString();
    // The splash was already there and stays the principal window; centring was skipped.
    EXPECT_EQ(windows->Principal(), windows->fm_start);
    EXPECT_EQ(windows->fm_main->pos(), QPoint(330, 183));
    EXPECT_TRUE(windows->fm_main->Records().empty());
}

TEST_F(Startup, TownIsLoadedBehindTheDesignedObjectsWithWallsAndNormalColours)
{
    writeEmptyTown();
    TownHouseRecord blue;
    blue.nodes = {{0, 0}, {4, 0}, {4, 3}};
    blue.colour = 0xFF0000;
    TownRoadRecord road;
    road.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
    writeTownModel(TownModel{{blue, blue}, {road}, {}, 0}).saveTo(programFolder().toStdString() + "/data/data.mod");
    start();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    MainScene& scene = windows->fm_main->Scene();
    TGxBaseSceneObject* root = scene.GxScene.ObjectRoot();
    ASSERT_EQ(root->Count(), 8);
    EXPECT_EQ(root->Children(3), scene.GxDummyCube);
    for (int i : {4, 5}) {
        auto* house = dynamic_cast<Thouse*>(root->Children(i));
        ASSERT_NE(house, nullptr);
        ASSERT_EQ(house->Count(), 3) << "walls";
        EXPECT_FLOAT_EQ(house->Nodes().Items(0).Z(), 15 * kHeightScale);
        for (TGxCustomSceneObject* o : {static_cast<TGxCustomSceneObject*>(house),
                                        static_cast<TGxCustomSceneObject*>(house->Children(2))})
            EXPECT_EQ(o->Material().FrontProperties().Diffuse().Vector(),
                      (std::array<float, 4>{0, 128 / 255.0f, 0, 1}))
                << "green whatever the file said";
    }
    EXPECT_EQ(root->Children(6)->ClassName(), "Troad");
    EXPECT_EQ(root->Children(6)->Count(), 0) << "roads get no walls";
    // The street names and house numbers are drawn after the town.
    EXPECT_EQ(root->Children(7), static_cast<TGxBaseSceneObject*>(scene.Labels));

    EXPECT_EQ(windows->fm_main->State().CurrentObject, scene.GxDummyCube);
    // The library file replaced the designed "Wand" material: the rod draws
    // with its own material, made red.
    EXPECT_EQ(scene.Wand->Material().LibMaterial(), nullptr);
    EXPECT_EQ(scene.Wand->Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{1, 0, 0, 1}));
    // The camera was turned a hundredth of a degree round its target.
    const TGxVector camera = scene.GxFreeCamera->Position().Vector4();
    EXPECT_NEAR(std::hypot(camera.X, camera.Y, camera.Z), 5.0f, 1e-4f);
    EXPECT_NE(camera.X, 0.0f);
}
