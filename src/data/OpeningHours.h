#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An organisation's opening hours, read from OpenStreetMap's `opening_hours`
// value. The parser covers what towns really write:
//
//   24/7                                   Mo-Fr 09:00-18:00; Sa 10:00-16:00
//   Mo,We,Fr 10:00-14:00                   Mo-Fr 09:00-13:00,14:00-18:00
//   Fr-Sa 18:00-03:00 (into the next day)  Sa[1] 10:00-14:00 (first Saturday)
//   Apr-Oct  Dec 24 off  Dec 24-Jan 02     May-Sep: Mo-Su 10:00-22:00
//   2026 Dec 31 off  2025-2027             week 1-26  week 1-53/2
//   PH off  Sa,Su,PH off                   Mo-Fr 08:00-17:00 "по записи"
//   off  closed  open  unknown             A; B (B overrides A on its days)
//   A, B (B adds to A)                     A || "по записи" (where A says nothing)
//
// A value it cannot read completely (sunrise, easter, "9-18", a typo, a text
// in words) is kept as written, is never open and shows as written. The
// parser runs in one pass with at most one item of look-ahead, without
// recursion: any value, however long, is read in linear time.
//
// There is no holiday calendar: a rule for public (PH) or school (SH) holidays
// is read and shown but never applies.
//
// Days: 0 = Monday ... 6 = Sunday. Times in minutes from the start of the day;
// a span may end past midnight (up to 48:00), and the part past midnight
// belongs to the day it started on: "Fr 18:00-03:00; Sa off" is open on
// Saturday at 01:00.

enum class HoursState : std::uint8_t { Open, Closed, Unknown };

struct HoursSpan {
    int start = 0; // minutes, 0..1439
    int end = 0;   // minutes, start < end <= 2880
};

// A calendar date range; a missing year (0) matches every year, a range whose
// end comes before its start wraps over the new year.
struct HoursDateRange {
    int fromYear = 0, fromMonth = 1, fromDay = 1; // month 1..12
    int toYear = 0, toMonth = 1, toDay = 1;
    bool wholeMonths = false; // "Apr-Oct": written without days
};

struct HoursNumberRange {
    int from = 0, to = 0, step = 1;
};

// One item of a weekday selector: a range of days, or a holiday kind.
struct HoursWeekdayItem {
    enum class Kind : std::uint8_t { Days, PublicHoliday, SchoolHoliday };
    Kind kind = Kind::Days;
    int from = 0, to = 0;       // days, a range may wrap ("Fr-Mo")
    std::vector<int> nth;       // which of the month's such days: 1..5, -1..-5 (last); empty = all
};

struct HoursRule {
    enum class Separator : std::uint8_t { Normal, Additional, Fallback }; // ";" (or first), ",", "||"
    Separator separator = Separator::Normal;
    bool always = false;                            // 24/7
    std::vector<HoursNumberRange> years;            // empty = any year
    std::vector<HoursDateRange> dates;              // empty = any date
    std::vector<HoursNumberRange> weeks;            // ISO weeks; empty = any week
    std::vector<HoursWeekdayItem> weekdays;         // empty = every day
    bool holidayAndWeekdays = false;                // "PH Mo-Fr": holidays on those days only
    std::vector<HoursSpan> times;                   // empty = the whole day
    HoursState state = HoursState::Open;
    std::string comment;                            // UTF-8, without its quotes
};

// An organisation's state at a moment, and the next change.
struct HoursStatus {
    HoursState state = HoursState::Unknown;
    QDateTime change; // invalid: none within a year (or the hours are unknown)
    QString text;     // "открыто до 18:00", "закрыто, откроется в пн в 9:00", "часы работы не указаны"
};

// A stretch of a week that is not closed, in minutes from Monday 0:00.
struct HoursWeekSpan {
    int start = 0, end = 0; // 0 <= start < end <= 7 * 1440
    HoursState state = HoursState::Open;
};

struct OpeningHours {
    std::string text;     // the value as written (UTF-8)
    bool readable = false; // false: empty, or not read completely; then `rules` is empty
    std::vector<HoursRule> rules;
    // Rules of weekdays and times alone make the same week every week: its
    // open and unknown stretches, in order, worked out once when read.
    bool weekly = false;
    std::vector<HoursWeekSpan> week;

    static OpeningHours parse(std::string_view value);

    HoursStatus stateAt(const QDateTime& local) const;

    // The state alone, without the next change nor texts: for keeping the
    // organisations open now out of many. Take the local date and time out
    // of a QDateTime once for all of them: each look into one converts.
    HoursState stateOnlyAt(const QDate& date, const QTime& time) const;
    HoursState stateOnlyAt(const QDateTime& local) const { return stateOnlyAt(local.date(), local.time()); }

    // The hours in Russian ("пн–пт 9:00–18:00, сб 10:00–16:00"); an unreadable
    // value as written; empty when there is none.
    QString toRussian() const;
};
