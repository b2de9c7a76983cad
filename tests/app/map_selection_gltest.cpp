// Choosing houses in the main window: presses in the map view picked through
// the real view, and the search panel. What turns red, what the fields and
// the tree show, where the label stands, what it says, and where the camera flies.
#include "AppFixture.h"

#include "map/MainScene.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "base/Cp1251.h"
#include "directory/MapOverlays.h"
#include "directory/ResultsTree.h"
#include "directory/Selection.h"
#include "directory/SortedComboBox.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxTextureImage.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxSceneViewer.h"
#include "map/House.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

constexpr float kFloors = 10; // tall enough for a wall to be pressed

TownHouseRecord house(std::string_view street, std::string_view number, float x, float y)
{
    return fixtureHouse(street, number, x, y, int(kFloors));
}

OrgRecord org(std::string_view name, std::string_view street, std::string_view number)
{
    return fixtureOrg(name, street, number);
}

// Houses in child order.
enum { Sad12, Sad4, Len7a, Twin7a, Mira, Sad0, Sad10, kHouses };

} // namespace

class MapSelectionWindow : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        TownModel town;
        town.houses = {house("Садовая", "12", 10, 10), house("Садовая", "4", 20, 10),
                       house("Ленина", "7а", 10, 20),  house("Ленина", "7а", 20, 20), // one address, two houses
                       house("Мира", "123456", 30, 10), // longer than the directory's 5 characters
                       house("Садовая", "0", 30, 20),  house("Садовая", "10", 40, 20)};
        TownRoadRecord ground;
        ground.nodes = {{0, 0, 0}, {60, 0, 0}, {60, 40, 0}, {0, 40, 0}};
        ground.texts = {"area"};
        town.roads = {ground};
        writeTown(town, {org("Школа", "Садовая", "12"), org("Аптека", "Ленина", "7а"), org("Почта", "Садовая", "4"),
                         org("Библиотека", "Садовая", "12"), org("Аптека", "Садовая", "4"),
                         org("Клуб", "Мира", "12345")});
        start();
        main = windows->fm_main;
        ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
        main->show();
        ASSERT_TRUE(waitUntil([&] { return main->isVisible() && ui().GxSceneViewer->HasContext(); }, 5000));
        holdMapStill(*main);
        main->MapSelection().ForEachHouse([&](Thouse& h) { houses.push_back(&h); });
        ASSERT_EQ(houses.size(), std::size_t(kHouses));
        lookFrom(25, 15, 0, -30, 30);
    }

    MapState& state() { return main->State(); }
    MainScene& scene() { return main->Scene(); }
    TGxSceneBuffer& buffer() { return ui().GxSceneViewer->Buffer(); }
    int viewHeight() const { return ui().GxSceneViewer->height(); }

    // DCTarget on the ground at (x, y), the camera at an offset from it; one frame.
    void lookFrom(float x, float y, float cx, float cy, float cz)
    {
        scene().DCTarget->Position().AssignPoint(x, y, 0.1f);
        scene().GxFreeCamera->Position().AssignPoint(cx, cy, cz);
        frame();
    }

    QImage frame() { return ui().GxSceneViewer->grabFramebuffer(); }

    // Where a scene point shows in the view, top-left pixels.
    QPointF viewPoint(float x, float y, float z)
    {
        const TGxVector p = buffer().ProjectToWindow(PointMake(x, y, z));
        return {p.X, viewHeight() - p.Y};
    }

    QPoint roofOf(int h)
    {
        const Thouse* t = houses[h];
        return viewPoint(t->CenterX(), t->CenterY(), roofHeight()).toPoint();
    }
    // The middle of the house's wall that faces the camera (the side y = min).
    QPoint wallOf(int h) { return viewPoint(houses[h]->CenterX(), houses[h]->Nodes().Items(0).Y(), roofHeight() / 2).toPoint(); }
    float roofHeight() const { return kFloors * 3 * main->State().HeightScale; }

    void press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent down(QEvent::MouseButtonPress, at, ui().GxSceneViewer->mapToGlobal(at), button, button,
                         modifiers);
        QApplication::sendEvent(ui().GxSceneViewer, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, ui().GxSceneViewer->mapToGlobal(at), button, Qt::NoButton,
                       modifiers);
        QApplication::sendEvent(ui().GxSceneViewer, &up);
    }

    std::vector<int> redHouses()
    {
        std::vector<int> red;
        for (int i = 0; i < kHouses; ++i)
            if (houses[i]->Material().FrontProperties().Diffuse().Vector() == std::array<float, 4>{1, 0, 0, 1})
                red.push_back(i);
        return red;
    }

    std::vector<std::string> organisations() const { return topLevelTexts(*ui().TreeView); }

    static QString text(const SortedComboBox* box) { return box->currentText(); }

    // Opens the box's list and takes the item with the keyboard.
    static void pick(SortedComboBox* box, const QString& item)
    {
        const int row = box->findText(item);
        ASSERT_GE(row, 0);
        box->showPopup();
        QAbstractItemView* list = box->view();
        list->setCurrentIndex(list->model()->index(row, 0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        ASSERT_FALSE(box->view()->isVisible());
    }

    // The label's picture equals the one made for this text.
    bool labelReads(const QString& expected)
    {
        TGxHUDSprite* label = state().HintSprite;
        if (!label)
            return false;
        auto* image = dynamic_cast<TGxPictureImage*>(&label->Material().Texture().Image());
        return image
               && image->Picture().image.convertToFormat(QImage::Format_RGB32)
                      == MapOverlays::HintBitmap(expected).convertToFormat(QImage::Format_RGB32);
    }

    // The label is the last child of the root and centred where the house's
    // footprint centre on the ground shows now.
    void expectLabelAt(int h)
    {
        TGxHUDSprite* label = state().HintSprite;
        ASSERT_NE(label, nullptr);
        TGxBaseSceneObject* root = scene().GxScene.ObjectRoot();
        EXPECT_EQ(root->Children(root->Count() - 1), label);
        const QPointF centre = viewPoint(houses[h]->CenterX(), houses[h]->CenterY(), 0);
        EXPECT_NEAR(label->Position().X(), centre.x(), 0.01);
        EXPECT_NEAR(label->Position().Y(), centre.y(), 0.01);
        int labels = 0;
        for (int i = 0; i < root->Count(); ++i)
            labels += root->Children(i)->ClassName() == "TGxHUDSprite";
        EXPECT_EQ(labels, 1);
    }

    // The camera flies to the house's first outline node.
    void expectFlightTo(int h)
    {
        const TGxNode& n = houses[h]->Nodes().Items(0);
        EXPECT_TRUE(state().FlyActive);
        EXPECT_EQ(state().FlyTarget.X, n.X());
        EXPECT_EQ(state().FlyTarget.Y, n.Y());
        EXPECT_EQ(scene().GxDummyCube->Position().X(), n.X());
        EXPECT_EQ(scene().GxDummyCube->Position().Y(), n.Y());
    }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
    std::vector<Thouse*> houses;
};

TEST_F(MapSelectionWindow, LeftPressOnARoofOrAWallChoosesEveryHouseOfItsAddress)
{
    struct Row {
        const char* what;
        int pressed;
        bool onWall;
        int chosen; // CurrentObject afterwards: the last house at the address
        std::vector<int> red;
        const char* street;
        const char* number;
        std::vector<std::string> tree;
        const char* label;
    };
    const Row rows[] = {
        {"roof", Sad12, false, Sad12, {Sad12}, "Садовая", "12", {"Школа", "Библиотека"}, "ул.Садовая, 12"},
        {"wall", Sad4, true, Sad4, {Sad4}, "Садовая", "4", {"Почта", "Аптека"}, "ул.Садовая, 4"},
        {"roof of the first twin", Len7a, false, Twin7a, {Len7a, Twin7a}, "Ленина", "7а", {"Аптека"}, "ул.Ленина, 7а"},
        {"wall of the first twin", Len7a, true, Twin7a, {Len7a, Twin7a}, "Ленина", "7а", {"Аптека"}, "ул.Ленина, 7а"},
        {"a house without a number", Sad0, false, Sad0, {Sad0}, "Садовая", "0", {}, "ул.Садовая"},
        {"roof of a number too long", Mira, false, Mira, {Mira}, "Мира", "123456", {}, "ул.Мира, 123456"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ui().OrgName->SetText(QStringLiteral("Школа"));
        state().FlyActive = false;
        const QPoint at = row.onWall ? wallOf(row.pressed) : roofOf(row.pressed);
        TGxBaseSceneObject* under = buffer().ObjectAtPixel(at.x(), at.y());
        ASSERT_NE(under, nullptr);
        ASSERT_EQ(row.onWall ? under->Parent() : under, houses[row.pressed]) << "the fixture's view has moved";

        press(Qt::LeftButton, at);
        EXPECT_EQ(state().CurrentObject, houses[row.chosen]);
        EXPECT_EQ(state().SelectedHouse, houses[row.pressed]);
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(text(ui().OrgName), "");
        EXPECT_EQ(text(ui().Street), QString::fromUtf8(row.street));
        EXPECT_EQ(text(ui().HouseEdit), QString::fromUtf8(row.number));
        EXPECT_EQ(organisations(), row.tree);
        expectLabelAt(row.chosen);
        EXPECT_TRUE(labelReads(QString::fromUtf8(row.label)));
        expectFlightTo(row.chosen);
    }
}

TEST_F(MapSelectionWindow, PressOnAWallOfAHouseWhoseNumberIsTooLongPaintsNothingButKeepsLabelAndFlight)
{
    const QPoint at = wallOf(Mira);
    TGxBaseSceneObject* wall = buffer().ObjectAtPixel(at.x(), at.y());
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(wall->Parent(), houses[Mira]);
    press(Qt::LeftButton, at);
    EXPECT_EQ(state().CurrentObject->Parent(), houses[Mira]); // the wall: no house has the cut address
    EXPECT_EQ(state().SelectedHouse, houses[Mira]);
    EXPECT_TRUE(redHouses().empty());
    EXPECT_TRUE(organisations().empty());
    EXPECT_EQ(text(ui().Street), "");
    EXPECT_EQ(text(ui().HouseEdit), "");
    expectLabelAt(Mira);
    EXPECT_TRUE(labelReads(QStringLiteral("ул.Мира, 123456")));
    expectFlightTo(Mira);
}

TEST_F(MapSelectionWindow, RightPressRemakesTheLabelWhereTheHouseShowsNowAndFliesAgain)
{
    press(Qt::LeftButton, roofOf(Sad4));
    const QPointF before = QPointF(state().HintSprite->Position().X(), state().HintSprite->Position().Y());
    lookFrom(20, 20, 5, -25, 35); // the view has turned since
    state().FlyActive = false;
    const QPoint elsewhere = roofOf(Sad12);

    press(Qt::RightButton, elsewhere);
    EXPECT_EQ(state().CurrentObject, houses[Sad4]);
    EXPECT_EQ(redHouses(), std::vector<int>{Sad4});
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Почта", "Аптека"}));
    expectLabelAt(Sad4);
    EXPECT_NE(QPointF(state().HintSprite->Position().X(), state().HintSprite->Position().Y()), before);
    expectFlightTo(Sad4);
}

TEST_F(MapSelectionWindow, ShiftLeftPressPicksNothingAndDoesNotFlyButReappliesTheChoice)
{
    press(Qt::LeftButton, roofOf(Sad12));
    state().FlyActive = false;
    ui().OrgName->SetText(QStringLiteral("Почта"));
    const QPoint otherHouse = roofOf(Sad4);
    keys.Press(vk::LeftShift);
    main->GxCadencerProgress(); // the frame loop notices Shift
    ASSERT_TRUE(state().PanMode);
    frame();

    press(Qt::LeftButton, otherHouse, Qt::ShiftModifier);
    keys.Release(vk::LeftShift);
    EXPECT_EQ(state().CurrentObject, houses[Sad12]);
    EXPECT_EQ(text(ui().OrgName), QStringLiteral("Почта"));
    EXPECT_EQ(redHouses(), std::vector<int>{Sad12});
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Школа", "Библиотека"}));
    expectLabelAt(Sad12);
    EXPECT_FALSE(state().FlyActive);
}

TEST_F(MapSelectionWindow, PressOnTheGroundClearsLabelAndAddressLineButKeepsTheLegend)
{
    const QRect legend(3, 3, 180, 52);
    const QRect addressLine(3, viewHeight() - 20, 250, 18);
    const auto inked = [](const QImage& picture, QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb c = picture.pixel(x, y);
                n += qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
            }
        return n;
    };
    // Pixels in the label's box that show its half-transparent yellow.
    const auto yellowish = [](const QImage& picture, QPointF centre) {
        int n = 0;
        for (int y = int(centre.y()) - 8; y <= int(centre.y()) + 8; ++y)
            for (int x = int(centre.x()) - 70; x <= int(centre.x()) + 70; ++x) {
                const QRgb c = picture.pixel(x, y);
                n += qGreen(c) > 100 && qRed(c) > 100 && qBlue(c) + 60 < qRed(c);
            }
        return n;
    };
    const QImage before = frame();
    EXPECT_EQ(inked(before, addressLine), 0);
    press(Qt::LeftButton, roofOf(Len7a));
    const QPointF label(state().HintSprite->Position().X(), state().HintSprite->Position().Y());
    const QImage chosen = frame();
    EXPECT_GT(inked(chosen, legend), 200);
    EXPECT_GT(inked(chosen, addressLine), 100);
    EXPECT_GT(yellowish(chosen, label), 141 * 17 * 3 / 4);
    EXPECT_LT(yellowish(before, label), 141 * 17 / 4);

    // The ground around the houses: nothing chosen, the view keeps only the legend.
    const QPoint ground = viewPoint(5, 5, 0).toPoint();
    ASSERT_EQ(dynamic_cast<Thouse*>(buffer().ObjectAtPixel(ground.x(), ground.y())), nullptr);
    press(Qt::LeftButton, ground);
    EXPECT_EQ(state().HintSprite, nullptr);
    EXPECT_TRUE(redHouses().empty());
    EXPECT_EQ(state().SelectedHouse, houses[Len7a]);
    EXPECT_TRUE(organisations().empty());
    EXPECT_EQ(text(ui().Street), "");
    const QImage cleared = frame();
    EXPECT_GT(inked(cleared, legend), 200);
    EXPECT_EQ(inked(cleared, addressLine), 0);
    EXPECT_LT(yellowish(cleared, label), 141 * 17 / 4);
}

TEST_F(MapSelectionWindow, StreetModeLastsUntilAPressWhileAHouseIsChosen)
{
    // A street search after a house was chosen: the press that follows, of
    // any button, goes back to the house's address.
    press(Qt::LeftButton, roofOf(Mira));
    ui().Street->SetText(QStringLiteral("Ленина"));
    ui().HouseEdit->SetText(QString());
    ui().bt_search->click();
    EXPECT_TRUE(state().StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<int>{Len7a, Twin7a, Mira}));
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека"});
    press(Qt::RightButton, roofOf(Sad4));
    EXPECT_FALSE(state().StreetMode);
    EXPECT_EQ(redHouses(), std::vector<int>{Mira});

    // Nothing chosen: a right press keeps the street red; a left press on a house ends street mode.
    press(Qt::LeftButton, viewPoint(5, 5, 0).toPoint());
    ui().Street->SetText(QStringLiteral("Садовая"));
    ui().HouseEdit->SetText(QString());
    ui().bt_search->click();
    press(Qt::RightButton, roofOf(Len7a));
    EXPECT_TRUE(state().StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<int>{Sad12, Sad4, Sad0, Sad10}));
    press(Qt::LeftButton, roofOf(Len7a));
    EXPECT_FALSE(state().StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<int>{Len7a, Twin7a}));
}

TEST_F(MapSelectionWindow, StreetAndNumberMatchingAHouseMakeNoNewLabel)
{
    press(Qt::LeftButton, roofOf(Sad12));
    TGxHUDSprite* label = state().HintSprite;
    const QPointF at(label->Position().X(), label->Position().Y());
    state().FlyActive = false;
    ui().Street->SetText(QStringLiteral("Ленина"));
    ui().HouseEdit->SetText(QStringLiteral("7а"));
    ui().bt_search->click();
    EXPECT_EQ(state().CurrentObject, houses[Twin7a]);
    EXPECT_EQ(redHouses(), std::vector<int>{Twin7a});
    EXPECT_FALSE(state().StreetMode);
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека"});
    expectFlightTo(Twin7a);
    ASSERT_EQ(state().HintSprite, label);
    EXPECT_EQ(QPointF(label->Position().X(), label->Position().Y()), at);
    EXPECT_TRUE(labelReads(QStringLiteral("ул.Садовая, 12")));
}

TEST_F(MapSelectionWindow, ANameAtTwoAddressesPaintsBothAndShowsTheLaterEntry)
{
    pick(ui().OrgName, QStringLiteral("Аптека"));

    EXPECT_EQ(text(ui().OrgName), QStringLiteral("Аптека"));
    EXPECT_EQ(redHouses(), (std::vector<int>{Sad4, Len7a, Twin7a}));
    EXPECT_EQ(state().CurrentObject, houses[Sad4]);
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Почта", "Аптека"}));
    EXPECT_EQ(text(ui().Street), QStringLiteral("Садовая"));
    EXPECT_EQ(text(ui().HouseEdit), QStringLiteral("4"));
    expectLabelAt(Sad4);
    EXPECT_TRUE(labelReads(QStringLiteral("ул.Садовая, 4")));
    expectFlightTo(Sad4);
}

TEST_F(MapSelectionWindow, PickingAStreetOffersItsNumbersOnceSortedAndNeverZero)
{
    ui().HouseEdit->SetText(QStringLiteral("77"));
    ui().OrgName->SetText(QStringLiteral("Школа"));
    pick(ui().Street, QStringLiteral("Садовая"));

    QStringList numbers;
    for (int i = 0; i < ui().HouseEdit->count(); ++i)
        numbers << ui().HouseEdit->itemText(i);
    EXPECT_EQ(numbers, (QStringList{"10", "12", "4"})); // houses 12, 4, 0, 10 in child order
    EXPECT_EQ(text(ui().HouseEdit), "");
    EXPECT_EQ(text(ui().OrgName), "");

    // A street typed in another letter case is another street.
    ui().Street->lineEdit()->clear();
    for (QChar c : QStringLiteral("садовая")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(ui().Street->lineEdit(), &key);
    }
    ASSERT_EQ(text(ui().Street), QStringLiteral("садовая"));
    EXPECT_EQ(ui().HouseEdit->count(), 0);
    ui().bt_search->click();
    EXPECT_TRUE(redHouses().empty());
    EXPECT_TRUE(organisations().empty());
    EXPECT_FALSE(state().StreetMode);
}
