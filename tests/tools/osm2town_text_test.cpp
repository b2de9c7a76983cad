#include "AddressForms.h"
#include "ImportReport.h"
#include "Organisations.h"
#include "TextStandIns.h"

#include "base/Cp1251.h"
#include "directory/ContactLine.h"

#include <gtest/gtest.h>

namespace {
std::string cp(const char* utf8) { return cp1251::fromUtf8(utf8); }
} // namespace

TEST(Osm2TownText, CharactersOutsideTheCodePageGetStandIns)
{
    struct Case {
        const char* in;
        const char* out; // UTF-8 of the Windows-1251 result
        std::size_t standIns, questionMarks;
    } cases[] = {
        {"Улица Ёлкина, № 5 «Ромашка»", "Улица Ёлкина, № 5 «Ромашка»", 0, 0},
        {"10\u00a0000", "10\u00a0000", 0, 0},                // the no-break space is in the code page
        {"10\u202f000 \u2009м", "10 000  м", 2, 0},            // narrow and thin spaces
        {"Москва \u2012 Тверь \u2015 1\u22122", "Москва – Тверь — 1-2", 3, 0},
        {"\u201bа\u201f \u2032", "‘а“ '", 3, 0},
        {"Äulestrasse", "Aulestrasse", 1, 0},
        {"Nördlicher Rīga Łódź Straße", "Nordlicher Riga Lodz Strasse", 6, 0},
        {"Марьина Роща \u2192 Зябликово", "Марьина Роща -> Зябликово", 1, 0},
        {"漢字 ☺", "?? ?", 0, 3},
        {"a\u200bb", "ab", 1, 0},
        // a letter and its combining mark, composed first
        {"улица Гаи\u0306дара", "улица Гайдара", 0, 0},
        {"Е\u0308лкина, е\u0308", "Ёлкина, ё", 0, 0},
        {"Cafe\u0301", "Cafe", 1, 0},  // "é", then its stand-in
        {"ё\u0301 \u20dd", "ё ", 2, 0}, // marks that join no letter of the code page go
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        TextStandIns text;
        EXPECT_EQ(text.toCp1251(c.in), cp(c.out));
        EXPECT_EQ(text.standIns(), c.standIns);
        EXPECT_EQ(text.questionMarks(), c.questionMarks);
    }
}

TEST(Osm2TownText, ReplacementsAreTalliedByCharacter)
{
    TextStandIns text;
    text.toCp1251("ö ö ī ☺");
    ASSERT_EQ(text.replacements().size(), 3u);
    EXPECT_EQ(text.replacements().at("ö").to, "o");
    EXPECT_EQ(text.replacements().at("ö").count, 2u);
    EXPECT_EQ(text.replacements().at("☺").to, "?");
    const std::string report = [&] {
        ImportReport r;
        r.replacements = text.replacements();
        r.standIns = text.standIns();
        r.questionMarks = text.questionMarks();
        return formatReport(r);
    }();
    EXPECT_NE(report.find("U+00F6 «ö» → «o» × 2"), std::string::npos) << report;
    EXPECT_NE(report.find("знаком «?» 1"), std::string::npos) << report;
}

TEST(Osm2TownText, HouseNumbersAreCompacted)
{
    struct Case {
        const char* in;
        const char* compact;
    } cases[] = {
        {"15А с1", "15Ас1"},     {"12 к3 с2", "12к3с2"},     {"8 корп. 2", "8к2"},
        {"8 корпус 2", "8к2"},   {"5 стр. 1", "5с1"},        {"5 строение 1", "5с1"},
        {"7", "7"},              {" 13/12 ", "13/12"},       {"вл. 3", "вл3"},
        {"Строение 4", "с4"},    {"15 а", "15а"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(compactHouseNumber(c.in), c.compact) << c.in;
}

TEST(Osm2TownText, NumbersThatNoLongerDifferAreCounted)
{
    TextStandIns text;
    HouseNumberBook book(text);
    const std::string street = cp("улица Руставели");
    const std::string other = cp("Бутырская улица");
    // Compaction makes house and organisation spellings meet.
    EXPECT_EQ(book.number(street, "15А с1"), cp("15Ас1"));
    EXPECT_EQ(book.number(street, "15Ас1"), cp("15Ас1"));
    // Longer ones are cut to 5 bytes; two that meet there are counted.
    EXPECT_EQ(book.number(street, "12 к3 с2"), cp("12к3с"));
    EXPECT_EQ(book.number(street, "12 к3 с1"), cp("12к3с"));
    EXPECT_EQ(book.number(street, "12 к3 с1"), cp("12к3с")); // the same number again
    // The same cut form in another street is no collision.
    EXPECT_EQ(book.number(other, "12 к3 с9"), cp("12к3с"));
    EXPECT_EQ(book.number(street, "7"), "7");
    EXPECT_EQ(book.ambiguousNumbers(), 2u);
    ASSERT_EQ(book.collisions().size(), 1u);
    EXPECT_EQ(book.collisions()[0].written, cp("12к3с"));
    EXPECT_EQ(book.collisions()[0].numbers, (std::vector<std::string>{"12к3с1", "12к3с2"}));
    EXPECT_EQ(book.cut(), 3u);
    EXPECT_EQ(book.compacted(), 4u);
}

TEST(Osm2TownText, LongStreetNamesAreAbbreviatedBeforeTheyAreCut)
{
    TextStandIns text;
    bool cut = true;
    EXPECT_EQ(fitStreetName("Бутырская улица", text, &cut), cp("Бутырская улица"));
    EXPECT_FALSE(cut);
    EXPECT_EQ(fitStreetName("улица Академика Королёва Дальняя", text, &cut), cp("ул. Академика Королёва Дальняя"));
    EXPECT_FALSE(cut);
    const std::string longest = fitStreetName("Проезд Имени Очень Длинного Названия Для Проверки", text, &cut);
    EXPECT_EQ(longest.size(), 30u);
    EXPECT_EQ(longest, cp("Пр. Имени Очень Длинного Назва"));
    EXPECT_TRUE(cut);
}

TEST(Osm2TownText, FieldsAreShortenedOnlyWhereTheyStayRight)
{
    struct Case {
        const char* what;
        std::string (*fit)(std::string_view, TextStandIns&, ImportReport&);
        const char* in;
        const char* out;
        std::size_t ImportReport::*counter; // the one tally that moves, or none
    } cases[] = {
        {"phone", fitPhone, "+7 495 123-45-67", "+7 495 123-45-67", nullptr},
        {"phone", fitPhone, "+7 495 123-45-67; +7 495 765-43-21", "+7 495 123-45-67",
         &ImportReport::phonesFirstOfSeveral},
        {"phone", fitPhone, "+7 (495) 123-45-67, доб. 123", "+7 (495) 123-45-67", &ImportReport::phonesFirstOfSeveral},
        {"phone", fitPhone, "+7 (4951) 1234-5678-90", "+749511234567890", &ImportReport::phonesCompacted},
        {"phone", fitPhone, "+7 (495) 1234567890123456789", "", &ImportReport::phonesDropped},
        {"email", fitEmail, "info@apteka.ru", "info@apteka.ru", nullptr},
        {"email", fitEmail, "info@apteka.ru;shop@apteka.ru", "info@apteka.ru", &ImportReport::emailsFirstOfSeveral},
        {"email", fitEmail, "a.very.long.name@a-long-company-domain.ru", "", &ImportReport::emailsDropped},
        {"web", fitWeb, "http://apteka.ru", "http://apteka.ru", nullptr},
        {"web", fitWeb, "http://www.apteka-zdorovie-moskva.ru/", "apteka-zdorovie-moskva.ru",
         &ImportReport::websShortened},
        {"web", fitWeb, "https://www.apteka-zdorovie.ru/", "https://apteka-zdorovie.ru", &ImportReport::websShortened},
        {"web", fitWeb, "https://www.apteka-zdorovie-moskva.ru/", "", &ImportReport::websDropped},
        {"web", fitWeb, "https://www.example.ru/about/contacts/moscow-branch", "", &ImportReport::websDropped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.in);
        TextStandIns text;
        ImportReport report;
        const std::string out = c.fit(c.in, text, report);
        EXPECT_EQ(out, cp(c.out));
        for (auto counter : {&ImportReport::phonesFirstOfSeveral, &ImportReport::phonesCompacted,
                             &ImportReport::phonesDropped, &ImportReport::emailsFirstOfSeveral,
                             &ImportReport::emailsDropped, &ImportReport::websShortened, &ImportReport::websDropped}) {
            if (counter != c.counter) {
                EXPECT_EQ(report.*counter, 0u);
            }
        }
        if (c.counter) {
            EXPECT_EQ(report.*c.counter, 1u);
        }
    }
}

TEST(Osm2TownText, LongNamesEndAtAWholeWord)
{
    TextStandIns text;
    ImportReport report;
    std::string name;
    for (int i = 0; i < 15; ++i)
        name += "Слово" + std::to_string(i) + " "; // 7 or 8 bytes each
    const std::string out = fitName(name, text, report);
    EXPECT_LE(out.size(), 100u);
    EXPECT_EQ(out.back(), '2'); // "...Слово12": Слово13 would end at byte 101
    EXPECT_EQ(report.namesCut, 1u);
}

TEST(Osm2TownText, AShortenedWebAddressOpensWithItsScheme)
{
    for (const char* web : {"https://www.apteka-zdorovie.ru/", "HTTPS://WWW.APTEKA-ZDOROVIE.RU/",
                            "http://www.apteka-zdorovie-moskva.ru/", "https://www.apteka-zdorovie-moskva.ru/"}) {
        SCOPED_TRACE(web);
        TextStandIns text;
        ImportReport report;
        const std::string written = fitWeb(web, text, report);
        if (written.empty()) {
            EXPECT_EQ(report.websDropped, 1u);
            continue;
        }
        EXPECT_EQ(report.websShortened, 1u);
        const std::optional<QUrl> opened = ContactLine::WebAddress(cp1251::decode(written));
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->scheme(), QString::fromUtf8(web).section(':', 0, 0).toLower());
    }
}

TEST(Osm2TownText, APhonesReplacedCharactersAreTalliedOnce)
{
    // U+2011, the no-break hyphen, becomes "-".
    struct Case {
        const char* in;
        const char* out;
        std::size_t tallied;
    } cases[] = {
        {"+7 495 123\u201145-67", "+7 495 123-45-67", 1},
        {"+7 495 123\u201145-67; +7 495 765-43-21", "+7 495 123-45-67", 1},
        {"+7 (495) 123\u201145-67, доб. 123", "+7 (495) 123-45-67", 1},
        {"+7 (4951) 1234\u20115678-90", "+749511234567890", 1},
        {"+7 495 123\u201145\u201167; +7 495 765\u201143-21", "+7 495 123-45-67", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        TextStandIns text;
        ImportReport report;
        EXPECT_EQ(fitPhone(c.in, text, report), cp(c.out));
        EXPECT_EQ(text.standIns(), c.tallied);
        ASSERT_EQ(text.replacements().count("\u2011"), 1u);
        EXPECT_EQ(text.replacements().at("\u2011").count, c.tallied);
    }
}
