// The search panel: by street, by street and number, by organisation name,
// and the number list that follows the street.
#include "SelectionFixture.h"

namespace {

class SearchPanelTest : public SelectionFixture {
protected:
    SearchPanelTest()
    {
        sad12 = addHouse("Садовая", "12");
        sad4 = addHouse("Садовая", "4", 10);
        len7a = addHouse("Ленина", "7а", 20);
        sad0 = addHouse("Садовая", "0", 30);      // a house without a number
        sad12b = addHouse("Садовая", "12", 40);   // a second house numbered 12
        sad9 = addHouse("Садовая", "9", 50);      // no organisation there
        mira5 = addHouse("Мира", "5", 60);
        addOrg("Школа", "Садовая", "12");
        addOrg("Аптека", "Ленина", "7а");
        addOrg("Почта", "Садовая", "4");
        addOrg("Библиотека", "Садовая", "12");
        addOrg("Аптека", "Мира", "5");
        addOrg("Кафе", "Мира", "5");
        addOrg("Склад", "Луговая", "1"); // no house at this address
    }

    void search(std::string_view street, std::string_view number)
    {
        controls.street = w(street);
        controls.houseNo = w(number);
        panel.bt_searchClick();
    }

    Thouse *sad12, *sad4, *len7a, *sad0, *sad12b, *sad9, *mira5;
};

TEST_F(SearchPanelTest, StreetAloneEntersStreetModeAndListsTheWholeStreet)
{
    controls.houseNumbers = {"marker"};
    search("Садовая", "");
    EXPECT_TRUE(state.StreetMode);
    EXPECT_EQ(state.StreetModeName, w("Садовая"));
    EXPECT_EQ(state.SelectedHouse, nullptr);
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{sad12, sad4, sad0, sad12b, sad9}));
    EXPECT_EQ(controls.tree, names({"Школа", "Почта", "Библиотека"}));
    EXPECT_EQ(controls.houseNumbers, std::vector<std::string>{"marker"});
    EXPECT_TRUE(hints.empty());
    EXPECT_TRUE(flights.empty()); // CurrentObject is not a house
}

TEST_F(SearchPanelTest, StreetAloneAlsoShowsAHouseChosenBefore)
{
    state.CurrentObject = mira5;
    search("Садовая", "");
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{sad12, sad4, sad0, sad12b, sad9, mira5}));
    ASSERT_EQ(flights, std::vector<Thouse*>{mira5});
    EXPECT_EQ(controls.street, w("Мира")); // written by MoveToHouse
    EXPECT_EQ(controls.houseNo, "5");
}

TEST_F(SearchPanelTest, StreetAloneWithTheHouseChosenBeforeForgottenShowsOnlyTheStreet)
{
    state.CurrentObject = mira5;
    panel.ForgetChosenObject();
    search("Садовая", "");
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{sad12, sad4, sad0, sad12b, sad9}));
    EXPECT_TRUE(flights.empty());
    EXPECT_EQ(controls.street, w("Садовая"));
    EXPECT_EQ(controls.houseNo, "");
}

TEST_F(SearchPanelTest, StreetAndNumberChooseTheLastMatchingHouseWithoutANewLabel)
{
    pressAt(len7a);
    forgetCalls();
    search("Садовая", "12");
    EXPECT_FALSE(state.StreetMode);
    EXPECT_EQ(state.SelectedHouse, len7a);
    EXPECT_EQ(state.CurrentObject, sad12b);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad12b});
    EXPECT_EQ(controls.tree, names({"Школа", "Библиотека"}));
    EXPECT_EQ(flights, std::vector<Thouse*>{sad12b});
    EXPECT_TRUE(hints.empty());
    EXPECT_EQ(label, len7a); // the label of the earlier click stays
}

TEST_F(SearchPanelTest, NoMatchingHouseShowsTheHouseChosenBeforeAgain)
{
    state.CurrentObject = sad4;
    search("Луговая", "1");
    EXPECT_EQ(state.CurrentObject, sad4);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad4});
    EXPECT_EQ(controls.tree, names({"Склад"}));
    EXPECT_EQ(flights, std::vector<Thouse*>{sad4});
}

TEST_F(SearchPanelTest, MatchingIsByteForByteAndCaseSensitive)
{
    const struct {
        const char* street;
        const char* number;
    } misses[] = {{"садовая", "12"}, {"Садовая ", "12"}, {"Садовая", "012"}, {"Ленина", "7А"}};
    for (const auto& miss : misses) {
        SCOPED_TRACE(std::string(miss.street) + "|" + miss.number);
        search(miss.street, miss.number);
        EXPECT_TRUE(redHouses().empty());
        EXPECT_TRUE(controls.tree.empty());
        EXPECT_EQ(state.CurrentObject, startObject);
    }
    controls.street = w("садовая");
    panel.StreetChange();
    EXPECT_TRUE(controls.houseNumbers.empty());
    // A text the code page cannot hold equals nothing, not even an empty number.
    controls.street = w("Садовая");
    controls.houseNo = std::nullopt;
    panel.bt_searchClick();
    EXPECT_FALSE(state.StreetMode);
    EXPECT_TRUE(redHouses().empty());
}

TEST_F(SearchPanelTest, AnEmptyNumberFieldFindsAHouseWithoutANumberText)
{
    Thouse* blank = addHouse("Мира", "", 70);
    search("Мира", "");
    EXPECT_EQ(state.CurrentObject, blank);
    EXPECT_EQ(flights, std::vector<Thouse*>{blank});
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{mira5, blank}));
}

TEST_F(SearchPanelTest, OrganisationNameSelectsEveryAddressOfThatNameTheLastOneWins)
{
    state.CurrentObject = sad4;
    controls.orgName = w("Аптека");
    panel.OrgNameChange();
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{len7a, mira5}));
    EXPECT_EQ(state.CurrentObject, mira5);
    EXPECT_EQ(controls.tree, names({"Аптека", "Кафе"}));
    EXPECT_EQ(controls.street, w("Мира"));
    EXPECT_EQ(controls.houseNo, "5");
    EXPECT_EQ(label, mira5);
    EXPECT_EQ(flights.back(), mira5);
    EXPECT_EQ(controls.orgName, w("Аптека"));
    EXPECT_FALSE(state.StreetMode);
    EXPECT_EQ(state.SelectedHouse, nullptr);

    // Part of a name, as while typing: everything is cleared, nothing chosen.
    forgetCalls();
    controls.orgName = w("Апт");
    panel.OrgNameChange();
    EXPECT_TRUE(redHouses().empty());
    EXPECT_TRUE(controls.tree.empty());
    EXPECT_EQ(controls.street, "");
    EXPECT_EQ(controls.houseNo, "");
    EXPECT_TRUE(flights.empty());
}

TEST_F(SearchPanelTest, AnOrganisationWithoutAHouseStillFillsTheFields)
{
    state.CurrentObject = sad4;
    controls.orgName = w("Склад");
    panel.OrgNameChange();
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad4}); // chosen before, shown again
    EXPECT_EQ(controls.street, w("Луговая"));
    EXPECT_EQ(controls.houseNo, "1");
    // The organisation found is listed too, after those of the house shown.
    EXPECT_EQ(controls.tree, names({"Почта", "Склад"}));
}

TEST_F(SearchPanelTest, StreetChangeOffersEachNumberOfTheStreetOnceButNeverZero)
{
    controls.orgName = w("Школа");
    controls.houseNo = "4";
    pressAt(len7a);
    const auto red = redHouses();
    const auto tree = controls.tree;
    controls.street = w("Садовая");
    panel.StreetChange();
    EXPECT_EQ(controls.houseNumbers, (std::vector<std::string>{"12", "4", "9"}));
    EXPECT_EQ(controls.houseNo, "");
    EXPECT_EQ(controls.orgName, "");
    EXPECT_EQ(redHouses(), red);
    EXPECT_EQ(controls.tree, tree);
}

TEST_F(SearchPanelTest, ClearFieldsLeavesTheNameAndTheColours)
{
    pressAt(sad4);
    controls.orgName = w("Почта");
    panel.ClearFields();
    EXPECT_EQ(controls.street, "");
    EXPECT_EQ(controls.houseNo, "");
    EXPECT_TRUE(controls.tree.empty());
    EXPECT_EQ(controls.orgName, w("Почта"));
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad4});
}

} // namespace
