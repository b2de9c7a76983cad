// The search panel in the main window, driven with key events as a user
// would type: the change handlers run for the user's edits only.
#include "SearchWindowFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "base/Cp1251.h"
#include "directory/ResultsTree.h"
#include "directory/Selection.h"
#include "directory/SortedComboBox.h"
#include "engine/materials/GxMaterial.h"
#include "map/House.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

TownHouseRecord house(std::string_view street, std::string_view number, float x)
{
    return fixtureHouse(street, number, x, 0, 3);
}

OrgRecord org(std::string_view name, std::string_view street, std::string_view number)
{
    return fixtureOrg(name, street, number, "2-11-03");
}

void type(QComboBox* box, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box->lineEdit(), &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box->lineEdit(), &release);
    }
}

} // namespace

class SearchPanelWindow : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        TownModel town;
        town.houses = {house("Садовая", "12", 0), house("Садовая", "4", 10),  house("Ленина", "7а", 20),
                       house("Садовая", "0", 30),  house("Садовая", "12", 40), house("Садовая", "9", 50),
                       house("Мира", "5", 60)};
        writeTown(town, {org("Школа", "Садовая", "12"), org("Аптека", "Ленина", "7а"), org("Почта", "Садовая", "4"),
                         org("Библиотека", "Садовая", "12"), org("Аптека", "Мира", "5"), org("Кафе", "Мира", "5")});
        start();
        main = windows->fm_main;
        main->show();
        ASSERT_TRUE(waitUntil([&] { return main->isVisible(); }, 2000));
        ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    }

    std::vector<std::string> redHouses() { return redHouseAddresses(*main); }

    std::vector<std::string> organisations() const { return topLevelTexts(*ui().TreeView); }

    static QStringList items(const SortedComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->Count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
};

TEST_F(SearchPanelWindow, TypingAStreetOffersItsNumbersOnceAndNeverZero)
{
    ui().OrgName->SetText(QStringLiteral("Школа"));
    type(ui().Street, QStringLiteral("садовая"));
    EXPECT_TRUE(items(ui().HouseEdit).isEmpty()); // another letter case is another street
    EXPECT_TRUE(ui().OrgName->currentText().isEmpty());

    ui().Street->SetText(QString());
    type(ui().Street, QStringLiteral("Садовая"));
    QStringList numbers = items(ui().HouseEdit);
    numbers.sort();
    EXPECT_EQ(numbers, (QStringList{"12", "4", "9"})); // 9 has no organisation
    EXPECT_TRUE(ui().HouseEdit->currentText().isEmpty());
    EXPECT_TRUE(redHouses().empty());
}

TEST_F(SearchPanelWindow, ChoosingANameSelectsEachOfItsHousesAndLeavesTheNumberListAlone)
{
    type(ui().Street, QStringLiteral("Ленина"));
    ASSERT_EQ(items(ui().HouseEdit), QStringList{QStringLiteral("7а")});

    // The last key completes the name; the fields it fills from code run no handler.
    type(ui().OrgName, QStringLiteral("Аптека"));
    EXPECT_EQ(redHouses(), (std::vector<std::string>{"Ленина 7а", "Мира 5"}));
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Аптека", "Кафе"}));
    EXPECT_EQ(ui().Street->currentText(), QStringLiteral("Мира"));
    EXPECT_EQ(ui().HouseEdit->currentText(), QStringLiteral("5"));
    EXPECT_EQ(ui().OrgName->currentText(), QStringLiteral("Аптека"));
    EXPECT_EQ(items(ui().HouseEdit), QStringList{QStringLiteral("7а")});
}

TEST_F(SearchPanelWindow, SearchButtonWithAStreetAloneListsTheWholeStreetInFileOrder)
{
    ui().Street->SetText(QStringLiteral("Садовая"));
    ui().bt_search->click();
    EXPECT_EQ(redHouses(), (std::vector<std::string>{"Садовая 12", "Садовая 4", "Садовая 0", "Садовая 12", "Садовая 9"}));
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Школа", "Почта", "Библиотека"}));
    EXPECT_TRUE(main->State().StreetMode);

    ui().HouseEdit->SetText(QStringLiteral("4"));
    ui().bt_search->click();
    EXPECT_EQ(redHouses(), std::vector<std::string>{"Садовая 4"});
    EXPECT_EQ(organisations(), std::vector<std::string>{"Почта"});
}
