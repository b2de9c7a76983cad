// Organisations with a place, a kind and hours: what a click on a house
// without an address, a name search, "Рубрика" and "Открыто сейчас" choose,
// paint, pin and list.
#include "SelectionFixture.h"

#include "data/OrgKinds.h"
#include "directory/OrgFacts.h"
#include "directory/OrgFilter.h"

#include <memory>

namespace {

int kindId(std::string_view name)
{
    for (const OrgKind& kind : orgKinds())
        if (kind.name == name)
            return kind.id;
    ADD_FAILURE() << "no kind " << name;
    return kOtherKind;
}

class PlacesSelection : public SelectionFixture {
protected:
    PlacesSelection()
    {
        lenin5 = addHouse("Ленина", "5");
        bare1 = addHouse("", "0", 10);     // imported buildings without an address
        bare2 = addHouse("", "0", 20);
        field0 = addHouse("Полевая", "0", 30);
        bare3 = addHouse("", "0", 40);
        // name, street, number; place; kind; hours
        org("Аптека на Ленина", "Ленина", "5", {}, "Аптеки", "Mo-Fr 09:00-18:00");
        org("Аптека «А5»", "", "", house(1), "Аптеки", "Mo-Su 08:00-22:00");
        org("Кафе «Ночь»", "", "", house(1), "Кафе", "22:00-02:00");
        org("Банк", "", "0", house(2), "Банки", "Sa 10:00-16:00");
        org("Банкомат в поле", "", "", point(100, 200), "Банкоматы", "24/7");
        org("Аптека в поле", "", "", point(-50, 60), "Аптеки", "");
        org("Склад без места", "", "", {}, "", "");
        org("Мастерская", "Ленина", "5", house(3), "", "как придётся");
    }

    static OrgPlace house(std::uint32_t index)
    {
        OrgPlace p;
        p.place = OrgPlace::Place::House;
        p.house = index;
        return p;
    }
    static OrgPlace point(float x, float y)
    {
        OrgPlace p;
        p.place = OrgPlace::Place::Point;
        p.x = x;
        p.y = y;
        return p;
    }

    void org(std::string_view name, std::string_view street, std::string_view number, OrgPlace place,
             std::string_view kind, std::string hours)
    {
        addOrg(name, street, number);
        place.kind = std::uint16_t(kind.empty() ? kOtherKind : kindId(kind));
        place.hours = std::move(hours);
        places.entries.push_back(place);
    }

    // The places file read with the town as it is now.
    void attach(bool withFile = true)
    {
        facts = withFile ? std::make_unique<OrgFacts>(places, records.size(), 5) : std::make_unique<OrgFacts>();
        filter = std::make_unique<OrgFilter>(*facts, records.size());
        selection.AttachPlaces(*facts, *filter);
    }

    static bool isAmber(const Thouse* h)
    {
        const auto c = h->Material().FrontProperties().Diffuse().Vector();
        return c[0] == 1 && c[1] > 0.5f && c[1] < 0.6f && c[2] == 0;
    }
    std::vector<Thouse*> amberHouses() { return housesWhere(isAmber); }
    std::vector<std::pair<float, float>> pins() const
    {
        std::vector<std::pair<float, float>> out;
        for (const auto& p : selection.Pins())
            out.emplace_back(p.x, p.y);
        return out;
    }

    OrgPlaces places;
    std::unique_ptr<OrgFacts> facts;
    std::unique_ptr<OrgFilter> filter;
    Thouse *lenin5, *bare1, *bare2, *field0, *bare3;
};

TEST_F(PlacesSelection, AClickOnAHouseWithoutAnAddressChoosesThatHouseAlone)
{
    struct Row {
        const char* what;
        bool withFile;
        TGxBaseSceneObject* under;
        Thouse* chosen;
        std::vector<std::string> tree;
    };
    const Row rows[] = {
        {"roof, two organisations placed in it", true, bare1, bare1, names({"Аптека «А5»", "Кафе «Ночь»"})},
        {"wall, one placed in it", true, bare2->Children(1), bare2, names({"Банк"})},
        {"a street but no number", true, field0, field0, names({"Мастерская"})},
        {"nothing placed in it", true, bare3, bare3, {}},
        // Without the file no entry can name such a house, not even one without an address.
        {"roof, no places file", false, bare1, bare1, {}},
        {"wall, no places file", false, bare2->Children(0), bare2, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        attach(row.withFile);
        forgetCalls();
        pressAt(row.under);
        EXPECT_EQ(redHouses(), std::vector<Thouse*>{row.chosen});
        EXPECT_EQ(state.CurrentObject, row.chosen);
        EXPECT_EQ(controls.tree, row.tree);
        EXPECT_EQ(label, row.chosen);
        ASSERT_FALSE(flights.empty());
        EXPECT_EQ(flights.back(), row.chosen); // the house clicked, not the last unaddressed one
        // A right press (the start of an orbit) keeps it so, and so does "Поиск"
        // with the empty address the house wrote into the fields.
        pressAt(nullptr, Qt::RightButton);
        EXPECT_EQ(redHouses(), std::vector<Thouse*>{row.chosen});
        panel.bt_searchClick();
        EXPECT_EQ(redHouses(), std::vector<Thouse*>{row.chosen});
        EXPECT_EQ(controls.tree, row.tree);
    }
}

TEST_F(PlacesSelection, AClickOnAnAddressedHouseListsThoseJoinedByAddressAndThosePlacedInIt)
{
    attach();
    pressAt(lenin5);
    // "Мастерская" names Ленина 5 but stands in another house: joined by address.
    EXPECT_EQ(controls.tree, names({"Аптека на Ленина", "Мастерская"}));
    pressAt(field0);
    EXPECT_EQ(controls.tree, names({"Мастерская"}));
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{field0});
}

TEST_F(PlacesSelection, ANameSearchListsTheOrganisationWithOrWithoutAPlace)
{
    struct Row {
        const char* name;
        std::vector<Thouse*> red;
        std::vector<std::string> tree;
        std::vector<Thouse*> flights;
        std::vector<std::pair<float, float>> pointFlights;
        std::vector<std::pair<float, float>> pins;
    };
    const Row rows[] = {
        {"Аптека «А5»", {bare1}, names({"Аптека «А5»", "Кафе «Ночь»"}), {bare1}, {}, {}},
        {"Банк", {bare2}, names({"Банк"}), {bare2}, {}, {}},
        {"Банкомат в поле", {}, names({"Банкомат в поле"}), {}, {{100, 200}}, {{100, 200}}},
        {"Склад без места", {}, names({"Склад без места"}), {}, {}, {}},
        {"Аптека на Ленина", {lenin5}, names({"Аптека на Ленина", "Мастерская"}), {lenin5}, {}, {}},
        {"Мастерская", {field0}, names({"Мастерская"}), {field0}, {}, {}},
    };
    attach();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        pressAt(lenin5); // something chosen before, which must not show again
        forgetCalls();
        controls.orgName = w(row.name);
        panel.OrgNameChange();
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(controls.tree, row.tree);
        EXPECT_EQ(flights, row.flights);
        EXPECT_EQ(pointFlights, row.pointFlights);
        EXPECT_EQ(pins(), row.pins);

        // "Поиск" after the name search shows the same, not every house without an address.
        forgetCalls();
        panel.bt_searchClick();
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(controls.tree, row.tree);
        EXPECT_EQ(pins(), row.pins);
    }
}

TEST_F(PlacesSelection, AKindAndOpenNowListPaintAndPinWhatTheyKeep)
{
    attach();
    const KindChoice all{};
    const KindChoice pharmacies{KindChoice::Scope::Kind, kindId("Аптеки")};
    const KindChoice money{KindChoice::Scope::Heading, orgKindById(kindId("Банки"))->heading};
    struct Row {
        const char* what;
        KindChoice kind;
        bool openNow;
        QDateTime at;
        std::vector<std::string> tree;
        std::vector<Thouse*> red;
        std::vector<Thouse*> amber;
        std::vector<std::pair<float, float>> pins;
    };
    const QDate friday(2026, 12, 11), saturday(2026, 12, 12);
    const Row rows[] = {
        {"pharmacies", pharmacies, false, {friday, QTime(10, 30)},
         names({"Аптека на Ленина", "Аптека «А5»", "Аптека в поле"}), {lenin5, bare1}, {}, {{-50, 60}}},
        {"a heading: money", money, false, {friday, QTime(10, 30)}, names({"Банк", "Банкомат в поле"}), {bare2}, {},
         {{100, 200}}},
        {"pharmacies open on Friday evening", pharmacies, true, {friday, QTime(19, 0)}, names({"Аптека «А5»"}), {bare1},
         {}, {}},
        // Open now alone: the tree lists, the houses glow in their own colour, none is red.
        {"open on Friday at 10:30", all, true, {friday, QTime(10, 30)},
         names({"Аптека на Ленина", "Аптека «А5»", "Банкомат в поле"}), {}, {lenin5, bare1}, {{100, 200}}},
        {"open on Saturday past midnight", all, true, {saturday, QTime(1, 0)}, names({"Кафе «Ночь»", "Банкомат в поле"}),
         {}, {bare1}, {{100, 200}}},
        {"open on Saturday at 16:00, the end of a range", all, true, {saturday, QTime(16, 0)},
         names({"Аптека «А5»", "Банкомат в поле"}), {}, {bare1}, {{100, 200}}},
        {"nothing kept out", all, false, {friday, QTime(10, 30)}, {}, {}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        clock = row.at;
        filter->SetKind(row.kind);
        filter->SetOpenNow(row.openNow, row.at);
        panel.FilterChanged();
        EXPECT_EQ(controls.tree, row.tree);
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(amberHouses(), row.amber);
        EXPECT_EQ(pins(), row.pins);
    }
}

TEST_F(PlacesSelection, AKindNarrowsAStreetSearchAndOpenHousesKeepTheirColourUnderAClick)
{
    attach();
    panel.MapChosen();
    controls.street = w("Ленина");
    controls.houseNo = "";
    panel.bt_searchClick();
    ASSERT_EQ(controls.tree, names({"Аптека на Ленина", "Мастерская"}));

    filter->SetKind({KindChoice::Scope::Kind, kindId("Аптеки")});
    panel.FilterChanged();
    EXPECT_EQ(controls.tree, names({"Аптека на Ленина"}));

    filter->SetKind({});
    filter->SetOpenNow(true, clock);
    panel.FilterChanged();
    pressAt(bare1);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{bare1});
    EXPECT_EQ(amberHouses(), std::vector<Thouse*>{lenin5}); // open, not chosen
    // The house's organisations that are not open now are left out.
    EXPECT_EQ(controls.tree, names({"Аптека «А5»"}));
}

TEST_F(PlacesSelection, TheTreeShowsKindHoursAndStateAtTheClocksMoment)
{
    attach();
    clock = QDateTime(QDate(2026, 12, 12), QTime(12, 0)); // Saturday
    pressAt(lenin5);
    ASSERT_EQ(controls.details.size(), 2u);
    EXPECT_EQ(controls.details[0], (QStringList{QStringLiteral("рубрика: Аптеки"), QStringLiteral("часы: пн–пт 9:00–18:00"),
                                                QStringLiteral("закрыто, откроется в пн в 9:00")}));
    // Hours it cannot read are shown as written and never open.
    EXPECT_EQ(controls.details[1],
              (QStringList{QStringLiteral("часы: как придётся"), QStringLiteral("часы работы не указаны")}));

    attach(false);
    pressAt(bare1);
    pressAt(lenin5);
    EXPECT_EQ(controls.details, std::vector<QStringList>(2)); // no file: only the contact lines
}

TEST(KindItemsTest, OnlyKindsTheTownHasWithTheirCountsUnderTheirHeadings)
{
    std::vector<std::size_t> counts(200, 0);
    const int pharmacies = kindId("Аптеки");
    const int cafes = kindId("Кафе");
    counts[std::size_t(pharmacies)] = 12;
    counts[std::size_t(cafes)] = 3;
    counts[kOtherKind] = 7;
    const std::vector<KindItem> items = KindItems(counts);
    std::vector<std::string> texts;
    for (const KindItem& item : items)
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Все рубрики", "Здоровье", "Аптеки (12)", "Еда", "Кафе (3)", "Прочее (7)"}));
    EXPECT_TRUE(items[1].heading);
    EXPECT_EQ(items[2].choice, (KindChoice{KindChoice::Scope::Kind, pharmacies}));
    EXPECT_EQ(items[0].choice, KindChoice{});
}

} // namespace
