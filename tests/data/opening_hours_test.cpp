#include "data/OpeningHours.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// The week of 7-13 December 2026: Monday the 7th ... Sunday the 13th.
QDateTime at(int month, int day, int hour, int minute, int year = 2026)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

QDateTime dec(int day, int hour, int minute)
{
    return at(12, day, hour, minute);
}

} // namespace

// Real values (the first ones from the shared Moscow extract) and how they
// read in Russian.
TEST(OpeningHours, ReadsWhatTownsWrite)
{
    const struct {
        const char* value;
        const char* russian;
    } cases[] = {
        {"24/7", "круглосуточно"},
        {"Mo-Su 10:00-20:00", "ежедневно 10:00–20:00"},
        {"Mo-Su 06:00-00:00", "ежедневно 6:00–24:00"},
        {"Mo-Fr 08:00-24:00; Sa,Su 11:00-24:00", "пн–пт 8:00–24:00, сб, вс 11:00–24:00"},
        {"Mo-Fr 08:00-20:30; Sa 10:00-19:00; Su 10:00-18:00", "пн–пт 8:00–20:30, сб 10:00–19:00, вс 10:00–18:00"},
        {"Mo,Th-Fr 13:00-22:00; Sa-Su 13:00-19:00", "пн, чт–пт 13:00–22:00, сб–вс 13:00–19:00"},
        {"12:00-24:00", "ежедневно 12:00–24:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", "пн–пт 9:00–18:00, сб 10:00–16:00"},
        {"Mo,We,Fr 10:00-14:00", "пн, ср, пт 10:00–14:00"},
        {"Mo-Fr 09:00-13:00,14:00-18:00", "пн–пт 9:00–13:00, 14:00–18:00"},
        {"Mo-Fr 9:00-18:00", "пн–пт 9:00–18:00"},
        {"Mo-Fr 09:00 - 18:00", "пн–пт 9:00–18:00"},
        {"Mo-Th 22:00-02:00", "пн–чт 22:00–2:00"},
        {"Fr-Sa 18:00-03:00", "пт–сб 18:00–3:00"},
        {"Mo-Fr 00:00-24:00", "пн–пт круглосуточно"},
        {"Su-Tu 10:00-12:00", "вс–вт 10:00–12:00"},
        {"Mo-Fr 09:00-18:00; Sa,Su off", "пн–пт 9:00–18:00, сб, вс выходной"},
        {"Mo-Fr 09:00-18:00; Sa-Su closed", "пн–пт 9:00–18:00, сб–вс выходной"},
        {"Mo-Sa 10:00-20:00; Su,PH 11:00-18:00", "пн–сб 10:00–20:00, вс, праздники 11:00–18:00"},
        {"Mo-Fr 09:00-18:00; PH off", "пн–пт 9:00–18:00, праздники выходной"},
        {"PH Mo-Fr 10:00-14:00", "праздники пн–пт 10:00–14:00"},
        {"SH off", "школьные каникулы выходной"},
        {"off", "выходной"},
        {"open", "круглосуточно"},
        {"Mo-Fr 09:00-18:00; We 13:00-14:00 off", "пн–пт 9:00–18:00, ср 13:00–14:00 закрыто"},
        {"Apr-Oct Mo-Su 10:00-20:00", "апр–окт ежедневно 10:00–20:00"},
        {"May-Sep: Tu-Su 10:00-22:00", "май–сен вт–вс 10:00–22:00"},
        {"Mo-Su 09:00-21:00; Dec 24 off; Jan 01 off", "ежедневно 9:00–21:00, 24 дек выходной, 1 янв выходной"},
        {"Dec 24-26 off", "24–26 дек выходной"},
        {"Dec 24-Jan 02 off", "24 дек – 2 янв выходной"},
        {"2026 Dec 31 off", "31 дек 2026 выходной"},
        {"2025-2027 Mo-Fr 10:00-12:00", "2025–2027 пн–пт 10:00–12:00"},
        {"week 1-26 Mo-Fr 09:00-17:00", "недели 1–26 пн–пт 9:00–17:00"},
        {"week 1-53/2 Sa 10:00-12:00", "недели 1–53 (каждая 2-я) сб 10:00–12:00"},
        {"Sa[1] 10:00-14:00", "1-я сб 10:00–14:00"},
        {"Mo[1,3] 10:00-14:00", "1-й, 3-й пн 10:00–14:00"},
        {"Su[-1] off", "последнее вс выходной"},
        {"Mo-Fr 08:00-17:00 \"по записи\"", "пн–пт 8:00–17:00 «по записи»"},
        {"\"по записи\"", "«по записи»"},
        {"Mo-Fr 09:00-18:00 || \"по записи\"", "пн–пт 9:00–18:00, иначе «по записи»"},
        {"Mo-Fr 09:00-18:00, Sa 10:00-14:00", "пн–пт 9:00–18:00, сб 10:00–14:00"},
        {"Mo-Fr 09:00-18:00;", "пн–пт 9:00–18:00"},
        {"Mo-Fr unknown", "пн–пт время уточняйте"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const OpeningHours hours = OpeningHours::parse(c.value);
        EXPECT_TRUE(hours.readable);
        EXPECT_EQ(hours.toRussian().toStdString(), c.russian);
        EXPECT_EQ(hours.text, c.value);
    }
}

// A value not read completely is kept as written, shown as written and never
// counts as open.
TEST(OpeningHours, KeepsWhatItCannotReadAsText)
{
    const char* const cases[] = {
        "sunrise-sunset",
        "Mo-Fr 9-18",
        "пн-пт 9:00-18:00",
        "По будням с 9 до 18",
        "Mon-Fri 09:00-18:00",
        "mo-fr 09:00-18:00",
        "Mo-Fr 09:00",
        "Mo-Fr 18:00+",
        "Mo-Fr 24:00-26:00",
        "Mo-Fr 09:60-10:00",
        "Mo-Fr 10:00-50:00",
        "Mo-Fr 09:00–18:00",
        "Mo-Fr 09:00-18:00 Sa",
        "Mo-Fr 09:00-18:00 \"не закрыта кавычка",
        "Mo-Fr 09:00-18:00,",
        "Mo-Fr 09:00-18:00 ||",
        "Mo-Fr 09:00-18:00;;Sa 10:00-12:00",
        "easter off",
        "PH +1 day off",
        "Sa[6] 10:00-12:00",
        "Dec 24-Jan off",
        "Mo-Xx 10:00-12:00",
        "Mo-Fr 10:00-12:00/30",
    };
    for (const char* value : cases) {
        SCOPED_TRACE(value);
        const OpeningHours hours = OpeningHours::parse(value);
        EXPECT_FALSE(hours.readable);
        EXPECT_TRUE(hours.rules.empty());
        EXPECT_EQ(hours.toRussian().toStdString(), value);
        const HoursStatus now = hours.stateAt(dec(8, 12, 0));
        EXPECT_EQ(now.state, HoursState::Unknown);
        EXPECT_EQ(now.text.toStdString(), "часы работы не указаны");
        EXPECT_EQ(hours.stateOnlyAt(dec(8, 12, 0)), HoursState::Unknown);
        EXPECT_FALSE(now.change.isValid());
    }
    for (const char* blank : {"", "   "}) {
        const OpeningHours hours = OpeningHours::parse(blank);
        EXPECT_FALSE(hours.readable) << '"' << blank << '"';
        EXPECT_EQ(hours.stateAt(dec(8, 12, 0)).state, HoursState::Unknown);
    }
}

TEST(OpeningHours, OpenOrNotAtAMoment)
{
    const struct {
        const char* value;
        QDateTime moment;
        HoursState state;
        const char* text;
    } cases[] = {
        // The edges of a range: its first minute is in, its last is out.
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(7, 9, 0), HoursState::Open, "открыто до 18:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(7, 8, 59), HoursState::Closed, "закрыто, откроется в 9:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(7, 17, 59), HoursState::Open, "открыто до 18:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(7, 18, 0), HoursState::Closed, "закрыто, откроется завтра в 9:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(11, 18, 0), HoursState::Closed, "закрыто, откроется завтра в 10:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(12, 16, 0), HoursState::Closed, "закрыто, откроется в пн в 9:00"},
        {"Mo-Fr 09:00-18:00; Sa 10:00-16:00", dec(13, 12, 0), HoursState::Closed, "закрыто, откроется завтра в 9:00"},
        {"Tu-Fr 09:00-18:00", dec(12, 12, 0), HoursState::Closed, "закрыто, откроется во вт в 9:00"},
        {"Mo-Fr 09:00-13:00,14:00-18:00", dec(8, 13, 30), HoursState::Closed, "закрыто, откроется в 14:00"},
        {"Mo-Fr 09:00-13:00,14:00-18:00", dec(8, 12, 0), HoursState::Open, "открыто до 13:00"},
        // Past midnight: the night belongs to the day it started on.
        {"22:00-02:00", dec(7, 23, 0), HoursState::Open, "открыто до 2:00"},
        {"22:00-02:00", dec(8, 1, 59), HoursState::Open, "открыто до 2:00"},
        {"22:00-02:00", dec(8, 2, 0), HoursState::Closed, "закрыто, откроется в 22:00"},
        {"Fr-Sa 18:00-03:00", dec(11, 17, 59), HoursState::Closed, "закрыто, откроется в 18:00"},
        {"Fr-Sa 18:00-03:00", dec(11, 23, 0), HoursState::Open, "открыто до 3:00"},
        {"Fr-Sa 18:00-03:00", dec(12, 2, 59), HoursState::Open, "открыто до 3:00"},
        {"Fr-Sa 18:00-03:00", dec(13, 2, 0), HoursState::Open, "открыто до 3:00"},
        {"Fr-Sa 18:00-03:00", dec(14, 2, 0), HoursState::Closed, "закрыто, откроется в пт в 18:00"},
        {"Fr 18:00-03:00; Sa off", dec(12, 1, 0), HoursState::Open, "открыто до 3:00"},
        {"Su 22:00-02:00", dec(14, 1, 0), HoursState::Open, "открыто до 2:00"},
        {"Su 22:00-02:00", dec(14, 2, 0), HoursState::Closed, "закрыто, откроется в вс в 22:00"},
        {"Mo-Su 06:00-00:00", dec(7, 20, 0), HoursState::Open, "открыто до 24:00"},
        {"Mo-Su 06:00-00:00", dec(8, 0, 30), HoursState::Closed, "закрыто, откроется в 6:00"},
        {"Mo-Fr 08:00-24:00; Sa,Su 11:00-24:00", dec(11, 23, 0), HoursState::Open, "открыто до 24:00"},
        {"Mo-Fr 00:00-24:00", dec(7, 10, 0), HoursState::Open, "открыто до пт 24:00"},
        {"24/7", dec(7, 10, 0), HoursState::Open, "открыто круглосуточно"},
        // ";" overrides the days it names; "," adds to them.
        {"Mo-Fr 09:00-18:00; We 12:00-14:00", dec(9, 10, 0), HoursState::Closed, "закрыто, откроется в 12:00"},
        {"Mo-Fr 09:00-18:00; We 12:00-14:00", dec(10, 10, 0), HoursState::Open, "открыто до 18:00"},
        {"Mo-Fr 09:00-18:00, We 19:00-20:00", dec(9, 10, 0), HoursState::Open, "открыто до 18:00"},
        {"Mo-Fr 09:00-18:00, We 13:00-14:00 off", dec(9, 13, 30), HoursState::Closed, "закрыто, откроется в 14:00"},
        {"Mo-Fr 09:00-18:00; We off", dec(9, 10, 0), HoursState::Closed, "закрыто, откроется завтра в 9:00"},
        {"Mo-Su 10:00-20:00; Dec 24 off", dec(24, 12, 0), HoursState::Closed, "закрыто, откроется завтра в 10:00"},
        {"Mo-Su 10:00-20:00; Dec 24 off", dec(23, 12, 0), HoursState::Open, "открыто до 20:00"},
        // Months and dates across the new year.
        {"Nov-Feb 10:00-16:00", at(1, 15, 12, 0, 2027), HoursState::Open, "открыто до 16:00"},
        {"Nov-Feb 10:00-16:00", dec(11, 12, 0), HoursState::Open, "открыто до 16:00"},
        {"Nov-Feb 10:00-16:00", at(3, 1, 12, 0, 2027), HoursState::Closed, "закрыто, откроется 1 ноября в 10:00"},
        {"Mo-Su 09:00-18:00; Dec 24-Jan 02 off", dec(31, 12, 0), HoursState::Closed, "закрыто, откроется в вс в 9:00"},
        {"Mo-Su 09:00-18:00; Dec 24-Jan 02 off", at(1, 3, 12, 0, 2027), HoursState::Open, "открыто до 18:00"},
        {"Apr-Oct 10:00-18:00", dec(11, 12, 0), HoursState::Closed, "закрыто, откроется 1 апреля в 10:00"},
        {"2026 Dec 31 off; 10:00-18:00", dec(31, 12, 0), HoursState::Open, "открыто до 18:00"},
        {"10:00-18:00; 2026 Dec 31 off", dec(31, 12, 0), HoursState::Closed, "закрыто, откроется завтра в 10:00"},
        {"10:00-18:00; 2026 Dec 31 off", at(12, 31, 12, 0, 2027), HoursState::Open, "открыто до 18:00"},
        // Weeks of the year, and the nth weekday of a month.
        {"week 1-26 Mo-Fr 09:00-17:00", at(6, 15, 10, 0), HoursState::Open, "открыто до 17:00"},
        {"week 1-26 Mo-Fr 09:00-17:00", at(7, 6, 10, 0), HoursState::Closed, "закрыто, откроется 4 января в 9:00"},
        {"Sa[1] 10:00-14:00", dec(5, 11, 0), HoursState::Open, "открыто до 14:00"},
        {"Sa[1] 10:00-14:00", dec(12, 11, 0), HoursState::Closed, "закрыто, откроется 2 января в 10:00"},
        {"Su[-1] 10:00-14:00", dec(27, 11, 0), HoursState::Open, "открыто до 14:00"},
        {"Su[-1] 10:00-14:00", dec(20, 11, 0), HoursState::Closed, "закрыто, откроется 27 декабря в 10:00"},
        // No holiday calendar: a holiday rule never applies.
        {"Mo-Su 10:00-20:00; PH off", at(1, 1, 12, 0, 2027), HoursState::Open, "открыто до 20:00"},
        {"PH 10:00-14:00", at(1, 1, 12, 0, 2027), HoursState::Closed, "закрыто"},
        {"off", dec(7, 12, 0), HoursState::Closed, "закрыто"},
        // Comments, unknown and the fallback.
        {"Mo-Fr 08:00-17:00 \"по записи\"", dec(7, 10, 0), HoursState::Open, "открыто до 17:00 (по записи)"},
        {"\"по записи\"", dec(7, 10, 0), HoursState::Unknown, "по записи"},
        {"Mo-Fr unknown", dec(7, 10, 0), HoursState::Unknown, "часы работы не указаны"},
        {"Mo-Fr 09:00-18:00 || \"по записи\"", dec(12, 12, 0), HoursState::Unknown, "по записи"},
        {"Mo-Fr 09:00-18:00 || \"по записи\"", dec(7, 10, 0), HoursState::Open, "открыто до 18:00"},
        // Saturday is named, Sunday is left to the fallback: what comes next is
        // not known to be an opening.
        {"Mo-Fr 09:00-18:00; Sa off || \"по записи\"", dec(12, 12, 0), HoursState::Closed, "закрыто"},
        {"Mo-Fr 09:00-18:00; Sa off || \"по записи\"", dec(13, 12, 0), HoursState::Unknown, "по записи"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " at " + c.moment.toString(Qt::ISODate).toStdString());
        const OpeningHours hours = OpeningHours::parse(c.value);
        ASSERT_TRUE(hours.readable);
        const HoursStatus now = hours.stateAt(c.moment);
        EXPECT_EQ(now.state, c.state);
        EXPECT_EQ(now.text.toStdString(), c.text);
        EXPECT_EQ(hours.stateOnlyAt(c.moment), c.state);
    }
}

TEST(OpeningHours, NextChangeIsTheMomentTheStateFlips)
{
    const OpeningHours hours = OpeningHours::parse("Mo-Fr 09:00-18:00; Sa 10:00-16:00");
    EXPECT_EQ(hours.stateAt(dec(7, 12, 0)).change, dec(7, 18, 0));
    EXPECT_EQ(hours.stateAt(dec(12, 17, 0)).change, dec(14, 9, 0));
    EXPECT_EQ(OpeningHours::parse("22:00-02:00").stateAt(dec(7, 23, 0)).change, dec(8, 2, 0));
    EXPECT_FALSE(OpeningHours::parse("24/7").stateAt(dec(7, 23, 0)).change.isValid());
    EXPECT_FALSE(OpeningHours::parse("off").stateAt(dec(7, 23, 0)).change.isValid());
}

// Untrusted values: a long value reads in one pass, without recursion, and
// its state comes out.
TEST(OpeningHours, LongValuesStayBounded)
{
    std::string rules;
    while (rules.size() < 10000)
        rules += "Mo-Fr 09:00-18:00; ";
    EXPECT_TRUE(OpeningHours::parse(rules).readable);
    EXPECT_EQ(OpeningHours::parse(rules).stateAt(dec(7, 12, 0)).state, HoursState::Open);

    std::string days = "Mo";
    while (days.size() < 10000)
        days += ",Mo";
    EXPECT_EQ(OpeningHours::parse(days + " off").stateAt(dec(7, 12, 0)).state, HoursState::Closed);

    std::string spans = "Mo-Su 00:00-00:01";
    for (int i = 1; spans.size() < 10000; ++i)
        spans += ",00:00-" + std::to_string(i % 24 + 1) + ":00";
    EXPECT_EQ(OpeningHours::parse(spans).stateAt(dec(7, 12, 0)).state, HoursState::Open);

    std::string always = "24/7";
    while (always.size() < 10000)
        always += ",24/7";
    EXPECT_EQ(OpeningHours::parse(always).stateAt(dec(7, 12, 0)).text.toStdString(), "открыто круглосуточно");

    for (const char* unit : {"(", "\"", "Mo-", "Dec 24-", "[", "||", ",Mo", "Sa[1,"}) {
        SCOPED_TRACE(unit);
        std::string hostile;
        while (hostile.size() < 10000)
            hostile += unit;
        EXPECT_FALSE(OpeningHours::parse(hostile).readable);
    }
}

// Values pieced together from the grammar's words, at random: none crashes,
// and the quick state (a week worked out when read) agrees with the full one
// (the rules looked at day by day) at every moment tried.
TEST(OpeningHours, PiecedValuesAgreeWithThemselves)
{
    const char* const words[] = {"Mo", "Tu", "We", "Fr", "Sa", "Su", "PH", "-", ",", ";", " ", "||", "off", "open",
                                 "unknown", "24/7", "09:00", "18:00", "22:00", "02:00", "00:00", "24:00", "Dec",
                                 "Jan", "24", "week", "1", "26", "[1]", "[-1]", "\"x\"", ":", "Apr", "Oct", "2026"};
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    int readable = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string value;
        for (int n = int(next() % 12); n > 0; --n)
            value += words[next() % std::size(words)];
        SCOPED_TRACE(value);
        const OpeningHours hours = OpeningHours::parse(value);
        readable += hours.readable;
        EXPECT_FALSE(hours.toRussian().isEmpty() && !value.empty() && value.find_first_not_of(' ') != std::string::npos);
        for (const QDateTime& moment : {dec(7, 9, 0), dec(12, 1, 30), dec(13, 23, 59), at(1, 1, 0, 0, 2027)}) {
            const HoursStatus now = hours.stateAt(moment);
            EXPECT_EQ(hours.stateOnlyAt(moment), now.state) << moment.toString(Qt::ISODate).toStdString();
            if (now.change.isValid()) {
                EXPECT_GT(now.change, moment);
            }
        }
    }
    EXPECT_GT(readable, 100); // the pieces make enough readable values to compare
}
