#include "data/OrgKinds.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string nameOf(int id)
{
    const OrgKind* kind = orgKindById(id);
    return kind ? std::string(kind->name) : "(id " + std::to_string(id) + " names no kind)";
}

std::string kindName(std::vector<OrgTag> tags)
{
    return nameOf(kindOf(tags));
}

} // namespace

TEST(OrgKinds, KindOfTags)
{
    const struct {
        const char* what;
        std::vector<OrgTag> tags;
        const char* kind;
    } cases[] = {
        {"pharmacy", {{"amenity", "pharmacy"}}, "Аптеки"},
        {"pharmacy by healthcare", {{"healthcare", "pharmacy"}}, "Аптеки"},
        {"pharmacy by both", {{"healthcare", "pharmacy"}, {"amenity", "pharmacy"}}, "Аптеки"},
        {"bank", {{"amenity", "bank"}}, "Банки"},
        {"cash machine", {{"amenity", "atm"}}, "Банкоматы"},
        {"supermarket", {{"shop", "supermarket"}}, "Супермаркеты"},
        {"corner shop", {{"shop", "convenience"}}, "Продукты"},
        {"fuel station", {{"amenity", "fuel"}}, "АЗС"},
        {"car repair", {{"shop", "car_repair"}}, "Автосервисы"},
        {"hairdresser", {{"shop", "hairdresser"}}, "Парикмахерские"},
        {"hotel", {{"tourism", "hotel"}}, "Гостиницы"},
        {"hostel", {{"tourism", "hostel"}}, "Гостиницы"},
        {"school", {{"amenity", "school"}}, "Школы"},
        {"kindergarten", {{"amenity", "kindergarten"}}, "Детские сады"},
        {"post office", {{"amenity", "post_office"}}, "Почта"},
        {"clinic", {{"amenity", "clinic"}}, "Больницы и поликлиники"},
        {"doctor by both keys", {{"amenity", "doctors"}, {"healthcare", "doctor"}}, "Врачи и медцентры"},
        // Priority: the main use wins over what the place also offers,
        // whichever tag comes first.
        {"fuel station with a shop", {{"shop", "convenience"}, {"amenity", "fuel"}}, "АЗС"},
        {"fuel station with a shop, tags swapped", {{"amenity", "fuel"}, {"shop", "convenience"}}, "АЗС"},
        {"hotel with a restaurant", {{"amenity", "restaurant"}, {"tourism", "hotel"}}, "Гостиницы"},
        {"fitness club selling sports goods", {{"shop", "sports"}, {"leisure", "fitness_centre"}}, "Фитнес"},
        {"hospital with a pharmacy", {{"amenity", "pharmacy"}, {"healthcare", "hospital"}}, "Больницы и поликлиники"},
        {"specific before any value", {{"shop", "yes"}, {"amenity", "cafe"}}, "Кафе"},
        {"several values: the rules' order", {{"shop", "alcohol;convenience"}}, "Продукты"},
        {"several values with spaces", {{"shop", "convenience; alcohol"}}, "Продукты"},
        // Any value of a key that has a kind of its own for the rest.
        {"some other shop", {{"shop", "yes"}}, "Другие магазины"},
        {"some other healthcare", {{"healthcare", "physiotherapist"}}, "Врачи и медцентры"},
        {"some other office", {{"office", "company"}}, "Компании и офисы"},
        {"some craft", {{"craft", "carpenter"}}, "Ремонт и мастерские"},
        // Nothing that names a kind.
        {"no tags", {}, "Прочее"},
        {"name only", {{"name", "Аптека"}}, "Прочее"},
        {"unknown amenity", {{"amenity", "bench"}}, "Прочее"},
        {"unknown leisure", {{"leisure", "picnic_table"}}, "Прочее"},
        {"empty shop", {{"shop", "vacant"}}, "Прочее"},
        {"empty value", {{"shop", ""}}, "Прочее"},
        {"keys are not case-folded", {{"Amenity", "pharmacy"}}, "Прочее"},
        {"kind in another key", {{"building", "supermarket"}}, "Прочее"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(kindName(c.tags), c.kind);
    }
}

// Ids are stored in files: a kind keeps its id for good.
TEST(OrgKinds, IdsAreStable)
{
    const struct {
        int id;
        const char* name;
    } cases[] = {
        {0, "Прочее"},        {1, "Аптеки"},        {2, "Больницы и поликлиники"},
        {9, "Кафе"},          {10, "Рестораны"},    {14, "Продукты"},
        {15, "Супермаркеты"}, {34, "Парикмахерские"}, {37, "Банки"},
        {38, "Банкоматы"},    {42, "АЗС"},          {43, "Автосервисы"},
        {50, "Школы"},        {51, "Детские сады"}, {55, "Почта"},
        {83, "Гостиницы"},    {86, "Туристическая информация"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameOf(c.id), c.name) << c.id;
    for (int id : {-1, 87, 89, 255, 1 << 30})
        EXPECT_EQ(orgKindById(id), nullptr) << id;
}

TEST(OrgKinds, EveryKindHasOneIdOneNameAndOneHeading)
{
    const auto kinds = orgKinds();
    EXPECT_GE(kinds.size(), 60u);
    EXPECT_LE(kinds.size(), 100u);
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const OrgKind& k : kinds) {
        EXPECT_TRUE(ids.insert(k.id).second) << "id " << k.id << " twice";
        EXPECT_TRUE(names.insert(k.name).second) << k.name << " twice";
        EXPECT_EQ(orgKindById(k.id), &k);
    }
    EXPECT_EQ(kinds.back().id, kOtherKind);

    const auto& headings = orgKindHeadings();
    EXPECT_GE(headings.size(), 12u);
    std::multiset<int> listed;
    for (std::size_t h = 0; h < headings.size(); ++h) {
        SCOPED_TRACE(std::string(headings[h].name));
        EXPECT_FALSE(headings[h].name.empty());
        EXPECT_FALSE(headings[h].kinds.empty());
        for (int id : headings[h].kinds) {
            listed.insert(id);
            ASSERT_NE(orgKindById(id), nullptr);
            EXPECT_EQ(orgKindById(id)->heading, int(h));
        }
    }
    EXPECT_EQ(listed, std::multiset<int>(ids.begin(), ids.end()));
    EXPECT_EQ(headings.back().name, "Прочее");
    EXPECT_EQ(headings.front().name, "Здоровье");
}

// Each rule, alone, gives its kind: a rule naming no kind, or shadowed by an
// earlier one for the same tag, shows here; and every kind but "Прочее" is
// reached by some rule.
TEST(OrgKinds, EveryRuleReachesItsKind)
{
    std::set<std::string_view> reached;
    std::set<std::pair<std::string_view, std::string_view>> tags;
    for (const OrgKindRule& rule : orgKindRules()) {
        const std::string tag = std::string(rule.key) + "=" + std::string(rule.value);
        SCOPED_TRACE(tag);
        EXPECT_TRUE(tags.insert({rule.key, rule.value}).second) << "twice";
        const std::string_view value = rule.value == "*" ? std::string_view("some_value_no_rule_names") : rule.value;
        EXPECT_EQ(kindName({{rule.key, value}}), rule.kind);
        reached.insert(rule.kind);
    }
    for (const OrgKind& k : orgKinds()) {
        if (k.id != kOtherKind)
            EXPECT_TRUE(reached.count(k.name)) << k.name << " has no rule";
    }
}
