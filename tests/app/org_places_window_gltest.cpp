// The main window on a town with a places file: "Рубрика", "Открыто сейчас"
// at a moment set by QUORVEL_NOW, a name search of organisations without an
// address, pins, and a press on a house without an address.
#include "SearchWindowFixture.h"

#include "data/OrgKinds.h"
#include "data/OrgPlacesWriter.h"
#include "directory/KindComboBox.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxSceneBuffer.h"
#include "map/MainScene.h"
#include "platform/Clock.h"
#include "support/RecordingPrinter.h"

#include <QCheckBox>

namespace {

int kindId(std::string_view name)
{
    for (const OrgKind& kind : orgKinds())
        if (kind.name == name)
            return kind.id;
    return kOtherKind;
}

OrgPlace placed(OrgPlace::Place where, std::uint32_t house, float x, float y, std::string_view kind, std::string hours)
{
    OrgPlace p;
    p.place = where;
    p.house = house;
    p.x = x;
    p.y = y;
    p.kind = std::uint16_t(kindId(kind));
    p.hours = std::move(hours);
    return p;
}

} // namespace

class PlacesWindow : public SearchWindow {
protected:
    void SetUp() override
    {
        qputenv(Clock::kVariable, "2026-12-11T19:30"); // a Friday evening
        AppFixture::SetUp();
        TownModel town;
        town.houses = {fixtureHouse("улица Ленина", "5", 0, 0, 3), fixtureHouse("", "0", 10, 0, 3),
                       fixtureHouse("", "0", 20, 0, 3)};
        writeTown(town, {fixtureOrg("Аптека «Здоровье»", "улица Ленина", "5"), fixtureOrg("Аптека «А5»", "", ""),
                         fixtureOrg("Кафе «Ночь»", "", ""), fixtureOrg("Банкомат", "", "")});
        OrgPlaces places;
        places.entries = {placed(OrgPlace::Place::None, 0, 0, 0, "Аптеки", "Mo-Fr 09:00-18:00"),
                          placed(OrgPlace::Place::House, 1, 0, 0, "Аптеки", "24/7"),
                          placed(OrgPlace::Place::House, 2, 0, 0, "Кафе", "18:00-02:00"),
                          placed(OrgPlace::Place::Point, 0, 5, 20, "Банкоматы", "24/7")};
        writeOrgPlaces(places).saveTo(programFolder().toStdString() + "/data/orgplaces.dat");
        openWindow();
        kinds = main->findChild<KindComboBox*>("cb_kind");
        openNow = main->findChild<QCheckBox*>("ch_opennow");
        ASSERT_NE(kinds, nullptr);
        ASSERT_NE(openNow, nullptr);
    }
    void TearDown() override
    {
        SearchWindow::TearDown();
        qunsetenv(Clock::kVariable);
    }

    QStringList kindTexts() const
    {
        QStringList texts;
        for (int i = 0; i < kinds->count(); ++i)
            texts << kinds->itemText(i);
        return texts;
    }
    // Picks the item as the user does: the list opened, the item taken with Enter.
    void chooseKind(const QString& text)
    {
        const int row = kinds->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        kinds->showPopup();
        kinds->view()->setCurrentIndex(kinds->model()->index(row, 0));
        QTest::keyClick(kinds->view(), Qt::Key_Return);
    }
    QStringList linesOf(int organisation) const
    {
        QStringList lines;
        const QTreeWidgetItem* org = ui().TreeView->topLevelItem(organisation);
        for (int i = 0; org && i < org->childCount(); ++i)
            lines << org->child(i)->text(0);
        return lines;
    }
    void searchByName(const QString& name)
    {
        focusOn(ui().OrgName);
        typeKeys(name);
        press(Qt::Key_Return);
        ui().bt_search->click(); // and then "Поиск", as a user may
    }

    KindComboBox* kinds = nullptr;
    QCheckBox* openNow = nullptr;
};

TEST_F(PlacesWindow, AKindListsItsOrganisationsAndOpenNowKeepsThoseOpenAtTheSetTime)
{
    EXPECT_EQ(kinds->accessibleName(), QStringLiteral("Рубрика"));
    EXPECT_EQ(openNow->accessibleName(), QStringLiteral("Открыто сейчас"));
    EXPECT_EQ(kindTexts(), (QStringList{"Все рубрики", "Здоровье", "Аптеки (2)", "Еда", "Кафе (1)", "Финансы",
                                        "Банкоматы (1)"}));

    chooseKind(QStringLiteral("Аптеки (2)"));
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Аптека «Здоровье»", "Аптека «А5»"}));
    EXPECT_EQ(redHouses(), (std::vector<std::string>{"улица Ленина 5", " 0"}));
    EXPECT_TRUE(main->MapSelection().Pins().empty());

    openNow->click();
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека «А5»"});
    EXPECT_EQ(redHouses(), std::vector<std::string>{" 0"});
    ASSERT_EQ(linesOf(0).size(), 7);
    EXPECT_EQ(linesOf(0).mid(4), (QStringList{"рубрика: Аптеки", "часы: круглосуточно", "открыто круглосуточно"}));

    // Every kind, open at 19:30 on Friday: the atm at its point gets a pin.
    chooseKind(QStringLiteral("Все рубрики"));
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Аптека «А5»", "Кафе «Ночь»", "Банкомат"}));
    EXPECT_TRUE(redHouses().empty()); // they glow in their own colour instead
    ASSERT_EQ(main->MapSelection().Pins().size(), 1u);
    EXPECT_EQ(main->MapSelection().Pins()[0].x, 5);

    openNow->click();
    EXPECT_TRUE(organisations().empty());
    EXPECT_TRUE(main->MapSelection().Pins().empty());
}

TEST_F(PlacesWindow, ANameSearchShowsAnOrganisationWithoutAnAddressInItsHouseOrAtItsPin)
{
    searchByName(QStringLiteral("Кафе «Ночь»"));
    EXPECT_EQ(organisations(), std::vector<std::string>{"Кафе «Ночь»"});
    std::vector<Thouse*> red;
    main->MapSelection().ForEachHouse([&](Thouse& h) {
        if (h.Material().FrontProperties().Diffuse().Vector() == std::array<float, 4>{1, 0, 0, 1})
            red.push_back(&h);
    });
    ASSERT_EQ(red.size(), 1u); // that house alone, not every house without an address
    EXPECT_EQ(red[0]->CenterX(), 22);
    EXPECT_TRUE(main->MapSelection().Pins().empty());

    ui().OrgName->setEditText({});
    searchByName(QStringLiteral("Банкомат"));
    EXPECT_EQ(organisations(), std::vector<std::string>{"Банкомат"});
    EXPECT_TRUE(redHouses().empty());
    ASSERT_EQ(main->MapSelection().Pins().size(), 1u);
    EXPECT_EQ(main->State().FlyTarget.X, 5);
    EXPECT_EQ(main->State().FlyTarget.Y, 20);
}

TEST_F(PlacesWindow, APressOnAHouseWithoutAnAddressTurnsItAloneRed)
{
    MainScene& scene = main->Scene();
    main->State().IntroClimb = false;
    scene.Wand->SetVisible(false);
    scene.DCTarget->Position().AssignPoint(12, 2, 0.1f);
    scene.GxFreeCamera->Position().AssignPoint(0, -25, 25);
    TGxSceneViewer* view = ui().GxSceneViewer;
    view->grabFramebuffer();
    const float roof = 3 * 3 * main->State().HeightScale;
    const TGxVector p = view->Buffer().ProjectToWindow(PointMake(12, 1.5f, roof));
    const QPoint at(int(p.X), view->height() - int(p.Y));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);

    std::vector<float> red;
    main->MapSelection().ForEachHouse([&](Thouse& h) {
        if (h.Material().FrontProperties().Diffuse().Vector() == std::array<float, 4>{1, 0, 0, 1})
            red.push_back(h.CenterX());
    });
    EXPECT_EQ(red, std::vector<float>{12}); // the house pressed, not the other one without an address
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека «А5»"});
}

TEST_F(PlacesWindow, ChoosingAnOrganisationInTheTreeShowsItsHouseOrItsPoint)
{
    openNow->click(); // the three open at 19:30, the pharmacy on Ленина closed
    ASSERT_EQ(organisations(), (std::vector<std::string>{"Аптека «А5»", "Кафе «Ночь»", "Банкомат"}));
    ResultsTree* tree = ui().TreeView;
    struct Row {
        int row;
        float flyX, flyY;
        std::vector<std::string> red;
    };
    const Row rows[] = {
        {1, 20, 0, {" 0"}}, // the café's house: its first outline node
        {2, 5, 20, {" 0"}},  // the atm's point; the house chosen before stays red
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        const QRect at = tree->visualItemRect(tree->topLevelItem(row.row));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
        EXPECT_TRUE(main->State().FlyActive);
        EXPECT_EQ(main->State().FlyTarget.X, row.flyX);
        EXPECT_EQ(main->State().FlyTarget.Y, row.flyY);
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(organisations().size(), 3u); // the list stays
    }
}

TEST_F(PlacesWindow, PrintingCarriesKindsHoursAndPins)
{
    RecordingPrinter printer({1000, 1400});
    main->SetPrinterSource(std::make_unique<RecordingPrinterSource>(printer));
    main->Scene().Wand->SetVisible(false); // red as a pin: kept out of the picture
    main->State().ShowNorthArrow = false;  // so is the arrow's needle
    const auto redPixels = [&] {
        int red = 0;
        for (int y = 0; y < printer.page.height(); ++y)
            for (int x = 0; x < printer.page.width(); ++x) {
                const QColor c = printer.page.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 40 && c.blue() < 40;
            }
        return red;
    };
    main->PrintSnap(1);
    EXPECT_EQ(redPixels(), 0);

    searchByName(QStringLiteral("Банкомат"));
    main->Scene().DCTarget->Position().AssignPoint(5, 20, 0);
    ui().GxSceneViewer->grabFramebuffer();
    main->PrintSnap(1);
    EXPECT_GT(redPixels(), 20); // the pin's head

    main->PrintOrgs();
    ASSERT_EQ(printer.documents.size(), 1u);
    EXPECT_EQ(printer.documents[0], QStringLiteral("Банкомат\n, \nтел. \ne-mail: \nweb: \nрубрика: Банкоматы\n"
                                                   "часы: круглосуточно\nоткрыто круглосуточно"));
}

class PlacesFileWindow : public AppFixture {
protected:
    // Starts on a town whose orgplaces.dat holds these bytes, or has none.
    KindComboBox* startWith(const std::optional<QByteArray>& bytes)
    {
        writeTown({}, {fixtureOrg("Аптека", "", "")});
        if (bytes) {
            QFile file(programFolder() + "/data/orgplaces.dat");
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*bytes);
        }
        start();
        return windows->fm_main->findChild<KindComboBox*>("cb_kind");
    }
};

TEST_F(PlacesFileWindow, WithoutThePlacesFileTheKindsListHoldsOnlyAllKinds)
{
    KindComboBox* kinds = startWith(std::nullopt);
    ASSERT_NE(kinds, nullptr);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(kinds->count(), 1);
    EXPECT_EQ(kinds->itemText(0), QStringLiteral("Все рубрики"));
    EXPECT_FALSE(kinds->isEnabled());
}

TEST_F(PlacesFileWindow, ADamagedPlacesFileIsReportedByName)
{
    KindComboBox* kinds = startWith(QByteArray("QVOP\x01", 5));
    ASSERT_NE(kinds, nullptr);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("orgplaces.dat"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("повреждён"))) << errors[0].toStdString();
    EXPECT_FALSE(kinds->isEnabled());
}
