// What the search boxes offer for a typed text: each row is a typed text and
// the lines offered, in order, with the parts shown in bold in [brackets].
#include "base/Cp1251.h"
#include "search/AddressIndex.h"
#include "search/NameIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    const char* typed;
    std::vector<std::string> offered;
};

std::vector<std::string> encoded(const std::vector<std::string>& utf8)
{
    std::vector<std::string> out;
    for (const std::string& s : utf8)
        out.push_back(cp1251::fromUtf8(s));
    return out;
}

// The line as UTF-8 with its bold parts in brackets; "→ 5" marks the
// number an address line puts into the number box.
std::string rendered(const Suggestion& s)
{
    QString text = cp1251::decode(s.shown);
    for (auto it = s.bold.rbegin(); it != s.bold.rend(); ++it) {
        text.insert(it->start + it->length, ']');
        text.insert(it->start, '[');
    }
    std::string out = text.toStdString();
    if (s.address)
        out += " → " + cp1251::decode(s.houseNo).toStdString();
    return out;
}

std::vector<std::string> rendered(const std::vector<Suggestion>& suggestions)
{
    std::vector<std::string> out;
    for (const Suggestion& s : suggestions)
        out.push_back(rendered(s));
    return out;
}

void check(const std::vector<Case>& cases, auto suggest)
{
    for (const Case& c : cases)
        EXPECT_EQ(rendered(suggest(cp1251::fromUtf8(c.typed))), c.offered) << "typed: " << c.typed;
}

} // namespace

TEST(NameSuggestions, CaseYoQuotesPunctuationAndWordOrderDoNotCount)
{
    NameIndex names;
    names.Assign(encoded({"Автокапитал", "Аптека «Здоровье»", "Аптека № 3", "Бар и кафе", "Ветеринарная аптека",
                          "Кафе", "Кафе", "Кафе «Ёлочка»", "Магазин \"Елена\"", "ООО „Север“", "Сервис-центр"}));
    check(
        {
            {"аптека здор", {"[Аптека] «[Здор]овье»"}},
            {"ЗДОРОВЬЕ аптека", {"[Аптека] «[Здоровье]»"}},
            {"«здоровье»", {"Аптека «[Здоровье]»"}},
            // Word starts first, then inside words, each in the list's order.
            {"ап", {"[Ап]тека «Здоровье»", "[Ап]тека № 3", "Ветеринарная [ап]тека", "Авток[ап]итал"}},
            {"тека здор", {"Ап[тека] «[Здор]овье»"}},
            // The very words typed come first; equal names are offered once.
            {"кафе", {"[Кафе]", "Бар и [кафе]", "[Кафе] «Ёлочка»"}},
            {"елочка", {"Кафе «[Ёлочка]»"}},
            {"ёлоч", {"Кафе «[Ёлоч]ка»"}},
            {"магазин «ёлена»", {"[Магазин] \"[Елена]\""}},
            {"\"север\"", {"ООО „[Север]“"}},
            {"ооо, север!", {"[ООО] „[Север]“"}},
            {"аптека №3", {"[Аптека] № [3]"}},
            {"сервис центр", {"[Сервис]-[центр]"}},
            {"сервис-центр", {"[Сервис]-[центр]"}},
            // Nothing matches.
            {"", {}},
            {"«» ,", {}},
            {"аптека кафе", {}},
            {"аптекаа", {}},
            {"apteka", {}},
            {"здоровье 4", {}},
        },
        [&](const std::string& typed) { return names.Suggest(typed); });
}

TEST(NameSuggestions, AtMostTwentyBestFirst)
{
    std::vector<std::string> many;
    for (int i = 10; i < 40; ++i)
        many.push_back(cp1251::fromUtf8("Магазин № " + std::to_string(i)));
    many.push_back(cp1251::fromUtf8("Супермагазин"));
    many.push_back(cp1251::fromUtf8("Магазин"));
    NameIndex names;
    names.Assign(many);
    const std::vector<std::string> offered = rendered(names.Suggest(cp1251::fromUtf8("магазин")));
    ASSERT_EQ(offered.size(), 20u);
    EXPECT_EQ(offered[0], "[Магазин]");
    EXPECT_EQ(offered[1], "[Магазин] № 10");
    EXPECT_EQ(offered[19], "[Магазин] № 28");
}

TEST(StreetSuggestions, AbbreviationsReadBothWays)
{
    NameIndex streets;
    streets.Assign(encoded({"улица Ленина", "ул. Садовая", "Ульяновская улица", "проспект Мира", "пр-т Победы",
                            "пер. Школьный", "Почтовый переулок", "пл. Революции", "Советская площадь",
                            "б-р Космонавтов", "Цветочный бульвар", "Московское ш.", "Киевское шоссе", "наб. Реки",
                            "Озёрная набережная", "Прибрежная"}));
    const AddressIndex noHouses;
    check(
        {
            {"ул ленина", {"[улица] [Ленина]"}},
            {"улица садовая", {"[ул]. [Садовая]"}},
            // Inside a word, but never inside an abbreviation's full word.
            {"ул", {"[улица] Ленина", "[ул]. Садовая", "[Ул]ьяновская улица", "Почтовый пере[ул]ок",
                    "Цветочный б[ул]ьвар"}},
            {"пр-т мира", {"[проспект] [Мира]"}},
            {"проспект победы", {"[пр-т] [Победы]"}},
            {"пр победы", {"[пр-т] [Победы]"}},
            {"пр", {"[проспект] Мира", "[пр-т] Победы", "[Пр]ибрежная"}},
            {"переулок школьный", {"[пер]. [Школьный]"}},
            {"пер. почтовый", {"[Почтовый] [переулок]"}},
            {"площадь революции", {"[пл]. [Революции]"}},
            {"пл советская", {"[Советская] [площадь]"}},
            {"бульвар космонавтов", {"[б-р] [Космонавтов]"}},
            {"б-р цветочный", {"[Цветочный] [бульвар]"}},
            {"шоссе московское", {"[Московское] [ш]."}},
            {"ш. киевское", {"[Киевское] [шоссе]"}},
            {"набережная реки", {"[наб]. [Реки]"}},
            {"наб. озерная", {"[Озёрная] [набережная]"}},
            {"проспект ленина", {}},
            {"б-р мира", {}},
        },
        [&](const std::string& typed) { return SuggestStreetLine(streets, noHouses, typed); });
}

TEST(StreetSuggestions, StreetAndNumberOfferTheHousesThatExist)
{
    NameIndex streets;
    streets.Assign(encoded({"улица 8 Марта", "улица Ленина", "ул. Садовая"}));
    AddressIndex houses;
    std::vector<std::pair<std::string, std::string>> addresses;
    for (const auto& [street, number] : std::vector<std::pair<std::string, std::string>>{
             {"улица Ленина", "50"}, {"улица Ленина", "5"}, {"улица Ленина", "8 к2"}, {"улица Ленина", "15А"},
             {"улица Ленина", "15Ас1"}, {"улица Ленина", "0"}, {"улица Ленина", "5"}, {"ул. Садовая", "5"}, {"улица 8 Марта", "3"},
             {"Мартовская", "8"}})
        addresses.emplace_back(cp1251::fromUtf8(street), cp1251::fromUtf8(number));
    houses.Assign(addresses);
    check(
        {
            // The number as typed first, then those that start so; each house once.
            {"ленина 5", {"улица [Ленина], [5] → 5", "улица [Ленина], [5]0 → 50"}},
            {"5 ленина", {"улица [Ленина], [5] → 5", "улица [Ленина], [5]0 → 50"}},
            {"улица ленина, 5", {"[улица] [Ленина], [5] → 5", "[улица] [Ленина], [5]0 → 50"}},
            {"ул ленина д. 5", {"[улица] [Ленина], [5] → 5", "[улица] [Ленина], [5]0 → 50"}},
            {"ленина 8к2", {"улица [Ленина], [8 к2] → 8 к2"}},
            {"ленина 8 к 2", {"улица [Ленина], [8 к2] → 8 к2"}},
            {"ленина 8 корп. 2", {"улица [Ленина], [8 к2] → 8 к2"}},
            {"ленина 8 корпус 2", {"улица [Ленина], [8 к2] → 8 к2"}},
            {"ленина 15а", {"улица [Ленина], [15А] → 15А", "улица [Ленина], [15А]с1 → 15Ас1"}},
            {"ленина 15а стр 1", {"улица [Ленина], [15Ас1] → 15Ас1"}},
            {"ленина 15А строение 1", {"улица [Ленина], [15Ас1] → 15Ас1"}},
            {"садовая 5", {"ул. [Садовая], [5] → 5"}},
            // A street with a number in its name: an address with the number first.
            {"8 март", {"[Март]овская, [8] → 8", "улица [8] [Март]а"}},
            {"8 марта 3", {"улица [8] [Марта], [3] → 3"}},
            // No such house; "0" is no number.
            {"ленина 7", {}},
            {"ленина 0", {}},
            {"садовая 50", {}},
            {"победы 5", {}},
        },
        [&](const std::string& typed) { return SuggestStreetLine(streets, houses, typed); });
}

TEST(HouseNumberSuggestions, NumbersAsPeopleWriteThem)
{
    const std::vector<std::string> numbers = encoded({"1", "10", "15А", "5", "8", "8 к2", "8/1"});
    check(
        {
            {"8к2", {"[8 к2]"}},
            {"8 к 2", {"[8 к2]"}},
            {"8 корп. 2", {"[8 к2]"}},
            {"8 корпус 2", {"[8 к2]"}},
            {"8К2", {"[8 к2]"}},
            {"8", {"[8]", "[8] к2", "[8]/1"}},
            {"8 к", {"[8 к]2"}},
            {"15а", {"[15А]"}},
            {"15 а", {"[15А]"}},
            {"д. 5", {"[5]"}},
            {"дом 5", {"[5]"}},
            {"1", {"[1]", "[1]0", "[1]5А"}},
            {"д.", {}},
            {"к2", {}},
            {"9", {}},
            {"15б", {}},
            {"", {}},
        },
        [&](const std::string& typed) { return SuggestHouseNumbers(numbers, typed); });
}

TEST(HouseNumberSuggestions, BuildingWordsReadLikeBlockWords)
{
    // "с" is stored for "строение" as "к" is for "корпус".
    const std::vector<std::string> numbers = encoded({"15А", "15Ас1", "15А к1", "3 стр. 2", "7"});
    check(
        {
            {"15А стр 1", {"[15Ас1]"}},
            {"15а стр. 1", {"[15Ас1]"}},
            {"15А строение 1", {"[15Ас1]"}},
            {"15А с 1", {"[15Ас1]"}},
            {"15ас1", {"[15Ас1]"}},
            {"15А стр", {"[15Ас]1"}},
            {"15А к 1", {"[15А к1]"}},
            {"3с2", {"[3 стр. 2]"}},
            {"3 строение 2", {"[3 стр. 2]"}},
            {"15А", {"[15А]", "[15А]с1", "[15А] к1"}},
            {"15А стр 2", {}},
            {"7 стр 1", {}},
        },
        [&](const std::string& typed) { return SuggestHouseNumbers(numbers, typed); });
}
