// Routes in the main window: the route commands of the map's and the
// results tree's context menus, the band on the map, the line below it, the
// switch between on foot and by car, clearing, printing, and a town folder
// whose road network is missing or damaged.
#include "MapToolsFixture.h"

#include "app/MapContextMenu.h"
#include "app/RouteBar.h"
#include "app/RouteTool.h"
#include "base/Cp1251.h"
#include "data/RoadNetworkWriter.h"
#include "directory/ResultsTree.h"
#include "directory/RoutePlan.h"
#include "map/MapBand.h"
#include "map/MapLabels.h"
#include "map/MapState.h"
#include "support/RecordingPrinter.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QColor kRouteColour(26, 89, 230);

// Two houses on one street, and a third beside a road that joins nothing.
RoadNetwork fixtureNetwork()
{
    RoadNetwork n;
    n.nodes = {{12, 5}, {42, 5}, {65, 45}, {75, 45}};
    n.names = {cp1251::fromUtf8("улица Садовая")};
    n.pieces = {{0, 1, RoadClass::Residential, RoadPiece::Foot | RoadPiece::Car, 0},
                {2, 3, RoadClass::Residential, RoadPiece::Foot | RoadPiece::Car, RoadPiece::kNoName}};
    return n;
}

QAction* actionOf(QMenu* menu, const char* name)
{
    if (!menu)
        return nullptr;
    for (QAction* a : menu->actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

// The lines the map writes the street's name along.
std::vector<labels::StreetLine> streetLinesOf(Tfm_main& main, const std::string& utf8Name)
{
    std::vector<labels::StreetLine> lines;
    const TMapLabels* labels = main.Scene().Labels;
    if (labels && labels->Layout())
        for (const labels::StreetLine& line : labels->Layout()->Streets())
            if (line.name == cp1251::fromUtf8(utf8Name))
                lines.push_back(line);
    return lines;
}

QStringList entriesOf(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() || !a->text().isEmpty()) // a section's title is a separator with a text
            texts << a->text();
    return texts;
}

} // namespace

class RouteWindow : public MapToolsWindow {
protected:
    void writeFixtureTown() override
    {
        TownModel town;
        town.houses = {fixtureHouse("Садовая", "1", 10, 10, 2), fixtureHouse("Садовая", "3", 40, 10, 2),
                       fixtureHouse("Островная", "5", 68, 48, 2)};
        TownRoadRecord ground;
        ground.nodes = {{-20, -20, 0}, {80, -20, 0}, {80, 60, 0}, {-20, 60, 0}};
        town.roads = {ground};
        writeTown(town, {fixtureOrg("Школа", "Садовая", "1"), fixtureOrg("Почта", "Садовая", "3")});
        writeNetwork();
    }

    virtual void writeNetwork()
    {
        writeRoadNetwork(fixtureNetwork()).saveTo((programFolder() + "/data/roads.dat").toStdString());
    }

    const RoutePlan& plan() { return main->Routes().Plan(); }
    RouteBar* bar() { return controlOf<RouteBar>(*main, "RouteBar"); }
    QLabel* summary() { return controlOf<QLabel>(*main, "RouteSummary"); }

    // A right click on the house's roof opens the map's menu for it.
    QMenu* houseMenu(int h)
    {
        frame();
        press(Qt::RightButton, pixelOf(houses[h]->CenterX(), houses[h]->CenterY(), 0.2f));
        return main->MapMenu().Menu();
    }

    // The results tree's menu on the organisation's first line.
    QMenu* treeMenu(QTreeWidgetItem* organisation)
    {
        ResultsTree* tree = MainControls(*main).TreeView;
        tree->setCurrentItem(organisation->child(0));
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1));
        QApplication::sendEvent(tree->viewport(), &event);
        return tree->ContextMenu();
    }

    // The route's colour where the houses' street runs, in a new frame.
    int bandPixels()
    {
        const QImage image = frame();
        return pixelsLike(image.copy(QRect(pixelOf(12, 5), pixelOf(42, 5)).normalized().adjusted(-4, -4, 4, 4)),
                          kRouteColour);
    }
};

TEST_F(RouteWindow, BothEndsFromTheMapsMenuDrawFrameAndSumUpTheRoute)
{
    EXPECT_FALSE(bar()->isVisible());
    QMenu* menu = houseMenu(0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(entriesOf(menu), (QStringList{"Садовая, 1", "Маршрут отсюда", "Маршрут сюда"}));
    ASSERT_TRUE(actionOf(menu, "RouteFrom")->isEnabled());
    actionOf(menu, "RouteFrom")->trigger();
    EXPECT_TRUE(bar()->isVisible());
    EXPECT_EQ(summary()->text().toStdString(), "Откуда: Садовая, 1. Куда?");
    EXPECT_EQ(summary()->accessibleName(), summary()->text());
    EXPECT_EQ(bandPixels(), 0) << "no way yet";

    menu = houseMenu(1);
    EXPECT_EQ(entriesOf(menu), (QStringList{"Садовая, 3", "Маршрут отсюда", "Маршрут сюда", "Убрать маршрут"}));
    actionOf(menu, "RouteTo")->trigger();
    // 30 units along the street: 370 m, at 5 km/h 4 minutes.
    EXPECT_EQ(summary()->text().toStdString(), "370 м · 4 мин пешком");
    EXPECT_EQ(summary()->accessibleName(), summary()->text());
    EXPECT_EQ(summary()->toolTip().toStdString(), "Откуда: Садовая, 1; куда: Садовая, 3; по улицам: улица Садовая");
    // Framed: the camera looks at the middle of the route from far enough off.
    const TGxCoordinates& target = main->Scene().DCTarget->Position();
    EXPECT_NEAR(target.X(), 27, 0.01);
    EXPECT_NEAR(target.Y(), 8.25, 0.01);
    EXPECT_FALSE(main->State().FlyActive);
    EXPECT_FALSE(main->State().AutoOrbit);
    for (float x : {12.0f, 42.0f}) {
        const QPoint p = pixelOf(x, 5, MapBand::kHeight);
        EXPECT_TRUE(viewer()->rect().contains(p)) << "both ends in view, " << x;
    }
    EXPECT_GT(bandPixels(), 100);

    // The printed picture ("Изображение") holds the route too.
    RecordingPrinter printer({1000, 1400});
    main->SetPrinterSource(std::make_unique<RecordingPrinterSource>(printer));
    main->N1Click();
    ASSERT_EQ(printer.pagesPrinted, 1);
    EXPECT_GT(pixelsLike(printer.page, kRouteColour), 400);

    // By car, the same way at a residential street's speed.
    controlOf<QRadioButton>(*main, "rb_car")->click();
    EXPECT_EQ(plan().Mode(), TravelMode::Car);
    EXPECT_EQ(summary()->text().toStdString(), "370 м · 1 мин на машине");
    controlOf<QRadioButton>(*main, "rb_foot")->click();
    EXPECT_EQ(summary()->text().toStdString(), "370 м · 4 мин пешком");

    controlOf<QPushButton>(*main, "bt_clearRoute")->click();
    EXPECT_FALSE(plan().Active());
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_EQ(bandPixels(), 0);
}

TEST_F(RouteWindow, TheNetworksStreetsAreNamedAlongTheirRoads)
{
    const std::vector<labels::StreetLine> lines = streetLinesOf(*main, "улица Садовая");
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].points.size(), 2u);
    EXPECT_EQ(std::min(lines[0].points[0].x, lines[0].points[1].x), 12);
    EXPECT_EQ(std::max(lines[0].points[0].x, lines[0].points[1].x), 42);
    // The houses still name the street the network does not.
    EXPECT_EQ(streetLinesOf(*main, "Островная").size(), 1u);
}

TEST_F(RouteWindow, TheMenuOpensOnAStillRightClickOrTheMenuKeyNotAfterAnOrbit)
{
    frame();
    const QPoint at = pixelOf(houses[0]->CenterX(), houses[0]->CenterY(), 0.2f);
    const auto rightButton = [&](QEvent::Type type, QPoint where) {
        QMouseEvent e(type, where, viewer()->mapToGlobal(where), Qt::RightButton,
                      type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewer(), &e);
    };
    rightButton(QEvent::MouseButtonPress, at);
    rightButton(QEvent::MouseButtonRelease, at + QPoint(40, 0)); // dragged: the map orbited
    EXPECT_EQ(main->MapMenu().Menu(), nullptr);
    rightButton(QEvent::MouseButtonPress, at);
    rightButton(QEvent::MouseButtonRelease, at + QPoint(MapContextMenu::kStill, -MapContextMenu::kStill));
    ASSERT_NE(main->MapMenu().Menu(), nullptr);
    EXPECT_EQ(entriesOf(main->MapMenu().Menu())[0].toStdString(), "Садовая, 1");
    main->MapMenu().Menu()->hide();

    // The menu key: the chosen house, wherever the pointer is.
    press(Qt::LeftButton, pixelOf(houses[1]->CenterX(), houses[1]->CenterY(), 0.2f));
    ASSERT_EQ(main->State().SelectedHouse, houses[1]);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0));
    QApplication::sendEvent(viewer(), &key);
    EXPECT_EQ(entriesOf(main->MapMenu().Menu())[0].toStdString(), "Садовая, 3");
}

TEST_F(RouteWindow, ARouteStaysOnTheMapWhenOnlyBuildingsShow)
{
    actionOf(houseMenu(0), "RouteFrom")->trigger();
    actionOf(houseMenu(1), "RouteTo")->trigger();
    ASSERT_TRUE(plan().Way());
    main->State().ShowNonBuildings = false;
    main->SettingsChanged();
    EXPECT_GT(bandPixels(), 100);
}

TEST_F(RouteWindow, APlaceNoRoadJoinsSaysThereIsNoRoute)
{
    houseMenu(0);
    actionOf(main->MapMenu().Menu(), "RouteFrom")->trigger();
    actionOf(houseMenu(2), "RouteTo")->trigger();
    EXPECT_FALSE(plan().Way());
    EXPECT_EQ(summary()->text().toStdString(), "Маршрут не найден: пешком туда по дорогам не пройти");
    controlOf<QRadioButton>(*main, "rb_car")->click();
    EXPECT_EQ(summary()->text().toStdString(), "Маршрут не найден: на машине туда по дорогам не проехать");
    EXPECT_EQ(bandPixels(), 0) << "no band where there is no way";
}

TEST_F(RouteWindow, TheGroundAndTheResultsTreeOfferRoutesToo)
{
    // A point of the ground between the houses.
    frame();
    press(Qt::RightButton, pixelOf(27, 30));
    QMenu* menu = main->MapMenu().Menu();
    EXPECT_EQ(entriesOf(menu), (QStringList{"точка на карте", "Маршрут отсюда", "Маршрут сюда"}));
    actionOf(menu, "RouteFrom")->trigger();
    ASSERT_TRUE(plan().From());
    EXPECT_NEAR(plan().From()->at.x, 27, 0.3);
    EXPECT_NEAR(plan().From()->at.y, 30, 0.3);

    // The organisations of a house lead to that house.
    press(Qt::LeftButton, pixelOf(houses[1]->CenterX(), houses[1]->CenterY(), 0.2f));
    ResultsTree* tree = MainControls(*main).TreeView;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    menu = treeMenu(tree->topLevelItem(0));
    ASSERT_NE(actionOf(menu, "RouteTo"), nullptr);
    EXPECT_TRUE(actionOf(menu, "RouteTo")->isEnabled());
    actionOf(menu, "RouteTo")->trigger();
    ASSERT_TRUE(plan().To());
    EXPECT_EQ(plan().To()->name.toStdString(), "Садовая, 3");
    EXPECT_TRUE(plan().Way());

    // An organisation whose house the map lacks has the commands off, and says why.
    tree->AddSimpleRecord(fixtureOrg("Клуб", "Нет такой", "9"));
    menu = treeMenu(tree->topLevelItem(1));
    for (const char* name : {"RouteFrom", "RouteTo"}) {
        QAction* action = actionOf(menu, name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled());
        EXPECT_EQ(action->toolTip().toStdString(), "Дома этой организации нет на карте");
    }
}

// The same town without its road network, or with a damaged one.
class RouteCommandsOff : public RouteWindow, public ::testing::WithParamInterface<bool> {
protected:
    RouteCommandsOff() { startErrorsExpected = true; }

    void writeNetwork() override
    {
        if (!GetParam())
            return;
        QFile file(programFolder() + "/data/roads.dat");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("QVRN\x01", 5); // cut short in its header
    }
};

TEST_P(RouteCommandsOff, TheRouteCommandsAreDisabledAndSayWhy)
{
    const bool damaged = GetParam();
    const std::string why = damaged ? "Файл дорог roads.dat повреждён: маршруты не строятся" : RoutePlan::kNoNetwork;
    if (damaged) {
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("roads.dat")) << errors[0].toStdString();
    }
    errors.clear();
    // The town itself is as it was.
    EXPECT_EQ(houses.size(), 3u);
    QMenu* map = houseMenu(0);
    press(Qt::LeftButton, pixelOf(houses[0]->CenterX(), houses[0]->CenterY(), 0.2f));
    ResultsTree* tree = MainControls(*main).TreeView;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QMenu* results = treeMenu(tree->topLevelItem(0));
    for (QMenu* menu : {map, results})
        for (const char* name : {"RouteFrom", "RouteTo"}) {
            QAction* action = actionOf(menu, name);
            ASSERT_NE(action, nullptr) << name;
            EXPECT_FALSE(action->isEnabled()) << name;
            EXPECT_EQ(action->toolTip().toStdString(), why);
            EXPECT_TRUE(menu->toolTipsVisible());
        }
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_TRUE(streetLinesOf(*main, "улица Садовая").empty());
    EXPECT_EQ(streetLinesOf(*main, "Садовая").size(), 1u);
    EXPECT_TRUE(errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(MissingOrDamaged, RouteCommandsOff, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Damaged" : "Missing"; });
