// The search boxes' suggestions in the main window, typed with the keyboard:
// what they offer, and that choosing one runs the boxes' own handlers.
#include "SearchWindowFixture.h"

#include "directory/SearchSuggestions.h"
#include "directory/SuggestionPopup.h"

#include <QPushButton>

#include <functional>

namespace {

QStringList lines(const SuggestionPopup& popup)
{
    QStringList out;
    for (int row = 0; row < popup.model()->rowCount(); ++row)
        out << popup.model()->index(row, 0).data().toString();
    return out;
}

} // namespace

class SuggestionWindow : public SearchWindow {
protected:
    SuggestionPopup& popupOf(SortedComboBox* box) { return main->Suggestions().PopupOf(*box); }
};

TEST_F(SuggestionWindow, AFewLettersOfANameOfferItAndEnterChoosesIt)
{
    focusOn(ui().OrgName);
    typeKeys(QStringLiteral("аптека здор"));
    SuggestionPopup& popup = popupOf(ui().OrgName);
    ASSERT_TRUE(popup.isVisible());
    ASSERT_FALSE(lines(popup).isEmpty());
    EXPECT_EQ(lines(popup).first(), QStringLiteral("Аптека «Здоровье»"));
    EXPECT_TRUE(redHouses().empty()); // nothing is chosen by typing a part

    press(Qt::Key_Return);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(ui().OrgName->currentText(), QStringLiteral("Аптека «Здоровье»"));
    EXPECT_EQ(redHouses(), std::vector<std::string>{"улица Ленина 7"});
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека «Здоровье»"});
    EXPECT_EQ(ui().Street->currentText(), QStringLiteral("улица Ленина"));
    EXPECT_EQ(ui().HouseEdit->currentText(), QStringLiteral("7"));
    // The keys stay where the user types.
    EXPECT_EQ(focused(), ui().OrgName);
}

TEST_F(SuggestionWindow, ArrowsMoveThroughTheLinesAndEscapeOnlyClosesThem)
{
    focusOn(ui().OrgName);
    typeKeys(QStringLiteral("аптек"));
    SuggestionPopup& popup = popupOf(ui().OrgName);
    ASSERT_EQ(lines(popup), (QStringList{QStringLiteral("Аптека «Здоровье»"), QStringLiteral("Аптека № 2"),
                                         QStringLiteral("Ветеринарная аптека")}));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down); // stays on the last line
    press(Qt::Key_Up);
    EXPECT_EQ(popup.CurrentRow(), 1);
    EXPECT_EQ(ui().OrgName->currentText(), QStringLiteral("аптек")); // moving chooses nothing

    press(Qt::Key_Escape);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(ui().OrgName->currentText(), QStringLiteral("аптек"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(redHouses().empty());

    // Typing on opens the list again; a click chooses a line.
    typeKeys(QStringLiteral("а"));
    ASSERT_TRUE(popup.isVisible());
    const QRect second = popup.visualRect(popup.model()->index(1, 0));
    QTest::mouseClick(popup.viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(ui().OrgName->currentText(), QStringLiteral("Аптека № 2"));
    EXPECT_EQ(redHouses(), std::vector<std::string>{"Садовая 8 к2"});
}

TEST_F(SuggestionWindow, StreetAndNumberOnOneLineFindTheHouse)
{
    for (const QString& typed : {QStringLiteral("ленина 5"), QStringLiteral("5 ленина")}) {
        SCOPED_TRACE(typed.toStdString());
        ui().Street->SetText(QString());
        focusOn(ui().Street);
        typeKeys(typed);
        SuggestionPopup& popup = popupOf(ui().Street);
        ASSERT_TRUE(popup.isVisible());
        EXPECT_EQ(lines(popup), (QStringList{QStringLiteral("улица Ленина, 5"), QStringLiteral("улица Ленина, 50")}));

        press(Qt::Key_Return);
        EXPECT_EQ(ui().Street->currentText(), QStringLiteral("улица Ленина"));
        EXPECT_EQ(ui().HouseEdit->currentText(), QStringLiteral("5"));
        EXPECT_EQ(redHouses(), std::vector<std::string>{"улица Ленина 5"});
        EXPECT_EQ(organisations(), std::vector<std::string>{"Кафе «Уют»"});
        // The street was chosen as if typed: its numbers are offered.
        EXPECT_EQ(ui().HouseEdit->Count(), 3);
    }
}

TEST_F(SuggestionWindow, EnterInTheNumberBoxSearchesAndNumbersAreReadAsPeopleWriteThem)
{
    focusOn(ui().Street);
    typeKeys(QStringLiteral("Садовая"));
    EXPECT_FALSE(popupOf(ui().Street).isVisible()); // the one line would be what is typed
    ASSERT_EQ(ui().HouseEdit->Count(), 3);

    focusOn(ui().HouseEdit);
    typeKeys(QStringLiteral("12"));
    press(Qt::Key_Return);
    EXPECT_EQ(redHouses(), std::vector<std::string>{"Садовая 12"});
    EXPECT_EQ(organisations(), std::vector<std::string>{"Ветеринарная аптека"});

    ui().HouseEdit->SetText(QString());
    typeKeys(QStringLiteral("8 корп. 2"));
    SuggestionPopup& popup = popupOf(ui().HouseEdit);
    ASSERT_TRUE(popup.isVisible());
    EXPECT_EQ(lines(popup), QStringList{QStringLiteral("8 к2")});
    press(Qt::Key_Return);
    EXPECT_EQ(ui().HouseEdit->currentText(), QStringLiteral("8 к2"));
    EXPECT_EQ(redHouses(), std::vector<std::string>{"Садовая 8 к2"});
    EXPECT_EQ(organisations(), std::vector<std::string>{"Аптека № 2"});
}

TEST_F(SuggestionWindow, EnterInTheStreetBoxSearchesTheWholeStreet)
{
    focusOn(ui().Street);
    typeKeys(QStringLiteral("Садовая"));
    press(Qt::Key_Return);
    EXPECT_TRUE(main->State().StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<std::string>{"Садовая 12", "Садовая 8 к2", "Садовая 8"}));
    EXPECT_EQ(organisations(), (std::vector<std::string>{"Ветеринарная аптека", "Аптека № 2"}));
}

TEST_F(SuggestionWindow, AnotherStreetChosenByEnterIsShownAloneWhateverWasChosenBefore)
{
    // Something of улица Ленина chosen first, one way or another; then
    // "Садов" typed over the street and its line chosen with Enter.
    const auto retype = [&](SortedComboBox* box, const QString& text) {
        focusOn(box);
        press(Qt::Key_A, Qt::ControlModifier);
        typeKeys(text);
    };
    struct Case {
        const char* how;
        std::function<void()> choose;
    };
    const Case cases[] = {
        {"street and number on one line",
         [&] {
             retype(ui().Street, QStringLiteral("ленина 5"));
             press(Qt::Key_Return);
         }},
        {"the street's own line",
         [&] {
             retype(ui().Street, QStringLiteral("ленин"));
             press(Qt::Key_Return);
         }},
        {"an organisation's name",
         [&] {
             retype(ui().OrgName, QStringLiteral("Кафе «Уют»"));
         }},
        {"street, number and the search button",
         [&] {
             ui().Street->SetText(QStringLiteral("улица Ленина"));
             ui().HouseEdit->SetText(QStringLiteral("5"));
             ui().bt_search->click();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        c.choose();
        ASSERT_EQ(ui().Street->currentText(), QStringLiteral("улица Ленина"));
        ASSERT_FALSE(organisations().empty());

        retype(ui().Street, QStringLiteral("Садов"));
        SuggestionPopup& popup = popupOf(ui().Street);
        ASSERT_TRUE(popup.isVisible());
        ASSERT_EQ(lines(popup).value(0), QStringLiteral("Садовая"));
        press(Qt::Key_Return);
        EXPECT_EQ(ui().Street->currentText(), QStringLiteral("Садовая"));
        EXPECT_EQ(ui().HouseEdit->currentText(), QString());
        EXPECT_TRUE(main->State().StreetMode);
        EXPECT_EQ(redHouses(), (std::vector<std::string>{"Садовая 12", "Садовая 8 к2", "Садовая 8"}));
        EXPECT_EQ(organisations(), (std::vector<std::string>{"Ветеринарная аптека", "Аптека № 2"}));
        EXPECT_EQ(ui().HouseEdit->Count(), 3); // the new street's numbers
    }
}

TEST_F(SuggestionWindow, AnExactNameTypedStillChoosesAsBefore)
{
    focusOn(ui().OrgName);
    typeKeys(QStringLiteral("Кафе «Уют»"));
    EXPECT_EQ(redHouses(), std::vector<std::string>{"улица Ленина 5"});
    EXPECT_EQ(organisations(), std::vector<std::string>{"Кафе «Уют»"});
    EXPECT_FALSE(popupOf(ui().OrgName).isVisible());
}
