#include "data/OpeningHours.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <queue>

namespace {

constexpr int kDay = 24 * 60;
// How far ahead the next change is looked for: a year covers month rules.
constexpr int kSearchDays = 370;

constexpr std::array<std::string_view, 7> kWeekdayCodes = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr std::array<std::string_view, 12> kMonthCodes = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A recursive-descent reader without recursion: every list is a loop, and a
// list item after a comma that does not parse gives the comma back to the
// rule separator, so no position is read more than twice.
class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) {}

    bool read(std::vector<HoursRule>& rules)
    {
        skipSpaces();
        if (atEnd())
            return false;
        HoursRule::Separator separator = HoursRule::Separator::Normal;
        for (;;) {
            HoursRule rule;
            rule.separator = separator;
            if (!readRule(rule))
                return false;
            rules.push_back(std::move(rule));
            skipSpaces();
            if (atEnd())
                return true;
            if (take("||"))
                separator = HoursRule::Separator::Fallback;
            else if (take(";"))
                separator = HoursRule::Separator::Normal;
            else if (take(","))
                separator = HoursRule::Separator::Additional;
            else
                return false;
            skipSpaces();
            if (atEnd()) // a trailing ";" is common and harmless
                return separator == HoursRule::Separator::Normal;
        }
    }

private:
    std::string_view s_;
    std::size_t p_ = 0;

    bool atEnd() const { return p_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const { return p_ + ahead < s_.size() ? s_[p_ + ahead] : '\0'; }
    void skipSpaces()
    {
        while (!atEnd() && (s_[p_] == ' ' || s_[p_] == '\t'))
            ++p_;
    }
    bool take(std::string_view word)
    {
        if (s_.substr(p_).starts_with(word)) {
            p_ += word.size();
            return true;
        }
        return false;
    }
    // A whole word: not followed by a letter ("Mon" is not "Mo").
    bool takeWord(std::string_view word)
    {
        if (s_.substr(p_).starts_with(word) && !isLetter(peek(word.size()))) {
            p_ += word.size();
            return true;
        }
        return false;
    }
    template <std::size_t N>
    std::optional<int> takeCode(const std::array<std::string_view, N>& codes)
    {
        for (std::size_t i = 0; i < N; ++i)
            if (takeWord(codes[i]))
                return int(i);
        return std::nullopt;
    }
    // Digits: at most `maxDigits` of them (the value stays small).
    std::optional<int> takeNumber(int minDigits, int maxDigits)
    {
        int n = 0, digits = 0;
        while (digits < maxDigits && isDigit(peek())) {
            n = n * 10 + (peek() - '0');
            ++p_;
            ++digits;
        }
        if (digits < minDigits || isDigit(peek()))
            return std::nullopt;
        return n;
    }
    // A "-" with optional spaces around it.
    bool takeDash()
    {
        const std::size_t start = p_;
        skipSpaces();
        if (take("-")) {
            skipSpaces();
            return true;
        }
        p_ = start;
        return false;
    }
    // ", item": the comma is taken only when an item follows it.
    template <class Item>
    bool nextItem(Item item)
    {
        const std::size_t start = p_;
        skipSpaces();
        if (take(",")) {
            skipSpaces();
            if (item())
                return true;
        }
        p_ = start;
        return false;
    }
    template <class Item>
    bool list(Item item)
    {
        if (!item())
            return false;
        while (nextItem(item)) {
        }
        return true;
    }

    bool readRule(HoursRule& rule)
    {
        skipSpaces();
        const std::size_t start = p_;
        if (take("24/7")) {
            rule.always = true;
        } else {
            if (!readWideSelectors(rule))
                return false;
            skipSpaces();
            if (!readWeekdays(rule))
                return false;
            skipSpaces();
            if (!readTimes(rule))
                return false;
        }
        skipSpaces();
        bool modifier = true;
        if (takeWord("open"))
            rule.state = HoursState::Open;
        else if (takeWord("closed") || takeWord("off"))
            rule.state = HoursState::Closed;
        else if (takeWord("unknown"))
            rule.state = HoursState::Unknown;
        else
            modifier = false;
        skipSpaces();
        if (peek() == '"') {
            const std::size_t close = s_.find('"', p_ + 1);
            if (close == std::string_view::npos)
                return false;
            rule.comment = std::string(s_.substr(p_ + 1, close - p_ - 1));
            p_ = close + 1;
            // A comment over whole days ("по записи", "Sa \"по записи\"")
            // qualifies them: they are not known to be open.
            if (!modifier && rule.times.empty() && !rule.always)
                rule.state = HoursState::Unknown;
        }
        return p_ > start;
    }

    // Years, dates, weeks, then an optional ':'.
    bool readWideSelectors(HoursRule& rule)
    {
        bool any = false;
        for (;;) {
            skipSpaces();
            if (isDigit(peek()) && isDigit(peek(1)) && isDigit(peek(2)) && isDigit(peek(3)) && !isDigit(peek(4))) {
                // A year: before a month it belongs to the date.
                const std::size_t start = p_;
                p_ += 4;
                skipSpaces();
                const bool monthFollows = peekMonth();
                p_ = start;
                if (monthFollows) {
                    if (!readDates(rule))
                        return false;
                } else if (!readYears(rule)) {
                    return false;
                }
                any = true;
            } else if (peekMonth()) {
                if (!readDates(rule))
                    return false;
                any = true;
            } else if (takeWord("week")) {
                skipSpaces();
                if (!readWeeks(rule))
                    return false;
                any = true;
            } else {
                break;
            }
        }
        if (any) {
            skipSpaces();
            take(":");
        }
        return true;
    }

    bool peekMonth()
    {
        const std::size_t start = p_;
        const bool month = takeCode(kMonthCodes).has_value();
        p_ = start;
        return month;
    }

    bool readYears(HoursRule& rule)
    {
        auto item = [&] {
            HoursNumberRange range;
            const auto from = takeNumber(4, 4);
            if (!from || *from < 1900)
                return false;
            range.from = range.to = *from;
            if (takeDash()) {
                const auto to = takeNumber(4, 4);
                if (!to || *to < *from)
                    return false;
                range.to = *to;
            }
            rule.years.push_back(range);
            return true;
        };
        return list(item);
    }

    // A day of the month: one or two digits that are not an hour.
    std::optional<int> takeMonthDay()
    {
        const std::size_t start = p_;
        const auto day = takeNumber(1, 2);
        if (!day || peek() == ':' || *day < 1 || *day > 31) {
            p_ = start;
            return std::nullopt;
        }
        return day;
    }

    // [YYYY] Mon [DD] [- ([YYYY] Mon [DD] | DD)]
    bool readDates(HoursRule& rule)
    {
        auto point = [&](int& year, int& month, int& day) {
            year = 0;
            if (isDigit(peek())) {
                const auto y = takeNumber(4, 4);
                if (!y || *y < 1900)
                    return false;
                year = *y;
                skipSpaces();
            }
            const auto m = takeCode(kMonthCodes);
            if (!m)
                return false;
            month = *m + 1;
            day = 0;
            const std::size_t afterMonth = p_;
            skipSpaces();
            if (const auto d = takeMonthDay())
                day = *d;
            else
                p_ = afterMonth;
            return true;
        };
        auto item = [&] {
            HoursDateRange range;
            if (!point(range.fromYear, range.fromMonth, range.fromDay))
                return false;
            range.toYear = range.fromYear;
            range.toMonth = range.fromMonth;
            range.toDay = range.fromDay;
            if (takeDash()) {
                // "Dec 24-26": a day of the same month; a year has four digits.
                if (range.fromDay != 0 && isDigit(peek()) && !(isDigit(peek(1)) && isDigit(peek(2)))) {
                    const auto d = takeMonthDay();
                    if (!d)
                        return false;
                    range.toDay = *d;
                } else {
                    if (!point(range.toYear, range.toMonth, range.toDay) || (range.toDay == 0) != (range.fromDay == 0))
                        return false;
                    if (range.toYear == 0 && range.fromYear != 0)
                        range.toYear = range.fromYear + (range.toMonth * 32 + range.toDay <
                                                                 range.fromMonth * 32 + range.fromDay ? 1 : 0);
                }
            }
            if (range.fromDay == 0) {
                range.wholeMonths = true;
                range.fromDay = 1;
                range.toDay = 31;
            }
            rule.dates.push_back(range);
            return true;
        };
        return list(item);
    }

    bool readWeeks(HoursRule& rule)
    {
        auto item = [&] {
            HoursNumberRange range;
            const auto from = takeNumber(1, 2);
            if (!from || *from < 1 || *from > 53)
                return false;
            range.from = range.to = *from;
            if (takeDash()) {
                const auto to = takeNumber(1, 2);
                if (!to || *to < 1 || *to > 53)
                    return false;
                range.to = *to;
                if (take("/")) {
                    const auto step = takeNumber(1, 2);
                    if (!step || *step < 1)
                        return false;
                    range.step = *step;
                }
            }
            rule.weeks.push_back(range);
            return true;
        };
        return list(item);
    }

    bool readNth(HoursWeekdayItem& out)
    {
        auto one = [&](int& n) {
            const bool negative = take("-");
            const auto v = takeNumber(1, 1);
            if (!v || *v < 1 || *v > 5)
                return false;
            n = negative ? -*v : *v;
            return true;
        };
        for (;;) {
            int from = 0;
            if (!one(from))
                return false;
            int to = from;
            if (from > 0 && take("-")) {
                if (!one(to) || to < from)
                    return false;
            }
            for (int n = from; n <= to; ++n)
                if (std::find(out.nth.begin(), out.nth.end(), n) == out.nth.end())
                    out.nth.push_back(n);
            if (take("]"))
                return true;
            if (!take(","))
                return false;
        }
    }

    // Mo, Mo-Fr, Sa[1], PH, SH; a list joined by commas, or holidays and days
    // joined by a space ("PH Mo-Fr").
    bool readWeekdays(HoursRule& rule)
    {
        auto item = [&] {
            HoursWeekdayItem out;
            if (takeWord("PH")) {
                out.kind = HoursWeekdayItem::Kind::PublicHoliday;
            } else if (takeWord("SH")) {
                out.kind = HoursWeekdayItem::Kind::SchoolHoliday;
            } else {
                const auto from = takeCode(kWeekdayCodes);
                if (!from)
                    return false;
                out.from = out.to = *from;
                if (take("[")) {
                    if (!readNth(out))
                        return false;
                } else if (takeDash()) {
                    const auto to = takeCode(kWeekdayCodes);
                    if (!to)
                        return false;
                    out.to = *to;
                }
            }
            // Day offsets ("PH +1 day", "Sa[1] -1 day") are not read.
            const std::size_t after = p_;
            skipSpaces();
            const bool offset = peek() == '+' || (peek() == '-' && isDigit(peek(1)));
            p_ = after;
            if (offset)
                return false;
            rule.weekdays.push_back(std::move(out));
            return true;
        };
        const std::size_t start = p_;
        if (!list(item)) {
            // No weekdays here; whatever stands here is for the readers after.
            p_ = start;
            rule.weekdays.clear();
            return true;
        }
        const auto isHoliday = [](const HoursWeekdayItem& i) { return i.kind != HoursWeekdayItem::Kind::Days; };
        if (std::all_of(rule.weekdays.begin(), rule.weekdays.end(), isHoliday)) {
            const std::size_t beforeSpace = p_;
            skipSpaces();
            if (p_ > beforeSpace && peek() != '"' && list(item))
                rule.holidayAndWeekdays = true;
            else
                p_ = beforeSpace;
        }
        return true;
    }

    // HH:MM-HH:MM, one or more; an hour may have one digit, a span may end
    // past midnight ("22:00-02:00", "18:00-26:00").
    bool readTimes(HoursRule& rule)
    {
        auto clock = [&]() -> std::optional<int> {
            const auto h = takeNumber(1, 2);
            if (!h || !take(":"))
                return std::nullopt;
            const auto m = takeNumber(2, 2);
            if (!m || *m > 59)
                return std::nullopt;
            return *h * 60 + *m;
        };
        auto item = [&] {
            if (!isDigit(peek()))
                return false;
            const auto start = clock();
            if (!start || *start >= kDay || !takeDash())
                return false;
            auto end = clock();
            if (!end)
                return false;
            // An end at or before the start is on the next day.
            if (*end <= *start)
                *end += kDay;
            if (*end > 2 * kDay || peek() == '+' || peek() == '/')
                return false;
            rule.times.push_back({*start, *end});
            return true;
        };
        return !isDigit(peek()) || list(item);
    }
};

// ---- evaluation -----------------------------------------------------------

bool inRange(int v, const HoursNumberRange& r)
{
    if (r.from <= r.to)
        return v >= r.from && v <= r.to && (v - r.from) % r.step == 0;
    return v >= r.from || v <= r.to; // week 50-02
}

// What the rules ask of a day, worked out once for it.
struct DayFacts {
    int year, month, day, weekday, week, daysInMonth;
    explicit DayFacts(const QDate& d)
        : year(d.year()), month(d.month()), day(d.day()), weekday(d.dayOfWeek() - 1), week(d.weekNumber()),
          daysInMonth(d.daysInMonth())
    {
    }
};

bool dateMatches(const HoursDateRange& r, const DayFacts& d)
{
    if (r.fromYear != 0) {
        const long key = d.year * 512L + d.month * 32 + d.day;
        const long from = r.fromYear * 512L + r.fromMonth * 32 + r.fromDay;
        const long to = r.toYear * 512L + r.toMonth * 32 + r.toDay;
        return key >= from && key <= to;
    }
    const int key = d.month * 32 + d.day;
    const int from = r.fromMonth * 32 + r.fromDay;
    const int to = r.toMonth * 32 + r.toDay;
    return from <= to ? key >= from && key <= to : key >= from || key <= to;
}

bool weekdayMatches(const HoursWeekdayItem& item, const DayFacts& d)
{
    if (item.kind != HoursWeekdayItem::Kind::Days)
        return false; // no holiday calendar
    const bool inDays = item.from <= item.to ? d.weekday >= item.from && d.weekday <= item.to
                                             : d.weekday >= item.from || d.weekday <= item.to;
    if (!inDays)
        return false;
    if (item.nth.empty())
        return true;
    const int fromStart = (d.day - 1) / 7 + 1;
    const int fromEnd = -((d.daysInMonth - d.day) / 7 + 1);
    return std::find(item.nth.begin(), item.nth.end(), fromStart) != item.nth.end() ||
           std::find(item.nth.begin(), item.nth.end(), fromEnd) != item.nth.end();
}

bool ruleMatches(const HoursRule& rule, const DayFacts& d)
{
    if (rule.always)
        return true;
    auto any = [&](const auto& items, auto match) {
        return items.empty() || std::any_of(items.begin(), items.end(), match);
    };
    if (!any(rule.years, [&](const HoursNumberRange& r) { return inRange(d.year, r); }))
        return false;
    if (!any(rule.dates, [&](const HoursDateRange& r) { return dateMatches(r, d); }))
        return false;
    if (!any(rule.weeks, [&](const HoursNumberRange& r) { return inRange(d.week, r); }))
        return false;
    if (rule.holidayAndWeekdays)
        return false;
    return any(rule.weekdays, [&](const HoursWeekdayItem& i) { return weekdayMatches(i, d); });
}

struct Paint {
    int start, end;
    int priority;
    HoursState state;
    int rule; // -1: none
};

struct Segment {
    int start, end;
    HoursState state;
    int rule;
};

// Where paints overlap, the one of highest priority wins; what none covers
// within [0, limit) is closed. One sweep over the sorted ends.
std::vector<Segment> resolve(const std::vector<Paint>& paints, int limit)
{
    std::vector<std::pair<int, int>> events; // position, paint index (starts as index, ends as ~index)
    events.reserve(paints.size() * 2);
    for (int i = 0; i < int(paints.size()); ++i) {
        events.push_back({paints[i].start, i});
        events.push_back({paints[i].end, ~i});
    }
    std::sort(events.begin(), events.end());
    std::vector<char> alive(paints.size(), 0);
    std::priority_queue<std::pair<int, int>> top; // priority, index
    std::vector<Segment> out;
    auto add = [&](int from, int to, HoursState state, int rule) {
        from = std::max(from, 0);
        to = std::min(to, limit);
        if (from >= to)
            return;
        if (!out.empty() && out.back().end == from && out.back().state == state && out.back().rule == rule)
            out.back().end = to;
        else
            out.push_back({from, to, state, rule});
    };
    int at = 0;
    std::size_t e = 0;
    while (at < limit) {
        while (e < events.size() && events[e].first <= at) {
            const int i = events[e].second;
            if (i >= 0) {
                alive[i] = 1;
                top.push({paints[i].priority, i});
            } else {
                alive[~i] = 0;
            }
            ++e;
        }
        while (!top.empty() && !alive[top.top().second])
            top.pop();
        const int next = e < events.size() ? std::min(events[e].first, limit) : limit;
        if (top.empty())
            add(at, next, HoursState::Closed, -1);
        else
            add(at, next, paints[top.top().second].state, paints[top.top().second].rule);
        at = next;
    }
    return out;
}

int stateRank(HoursState s)
{
    return s == HoursState::Open ? 2 : s == HoursState::Unknown ? 1 : 0;
}

// The days' timelines, each made once for each set of rules that applies to
// it and the day before: a year of days has only a few such sets, so looking
// a year ahead costs a year of rule matching and a few sweeps.
class DayLines {
public:
    explicit DayLines(const std::vector<HoursRule>& rules) : rules_(rules) {}

    // The day as it is lived: its own rules, with what the day before left
    // past its midnight. Where both speak, open wins over unknown over closed.
    const std::vector<Segment>& line(const QDate& d)
    {
        std::vector<char> key = matches(d.addDays(-1));
        const std::vector<char> today = matches(d);
        key.insert(key.end(), today.begin(), today.end());
        auto found = cache_.find(key);
        if (found != cache_.end())
            return found->second;
        const std::vector<char> yesterday(key.begin(), key.begin() + std::ptrdiff_t(rules_.size()));
        return cache_.emplace(std::move(key), make(yesterday, today)).first->second;
    }

    // The same, made anew: for one look at one moment.
    std::vector<Segment> make(const QDate& d) const
    {
        return combine(ownDay(matches(d.addDays(-1))), ownDay(matches(d)));
    }

    // A day's line from what the rules say for it and for the day before.
    static std::vector<Segment> combine(const std::vector<Segment>& yesterday, const std::vector<Segment>& today)
    {
        std::vector<Paint> paints;
        for (const Segment& s : today)
            if (s.rule >= 0 && s.start < kDay)
                paints.push_back({s.start, std::min(s.end, kDay), stateRank(s.state) * 2 + 1, s.state, s.rule});
        for (const Segment& s : yesterday)
            if (s.rule >= 0 && s.end > kDay)
                paints.push_back({std::max(s.start, kDay) - kDay, s.end - kDay, stateRank(s.state) * 2, s.state, s.rule});
        return resolve(paints, kDay);
    }

    std::vector<Segment> ownDay(const QDate& d) const { return ownDay(matches(d)); }

private:
    const std::vector<HoursRule>& rules_;
    std::map<std::vector<char>, std::vector<Segment>> cache_;

    std::vector<Segment> make(const std::vector<char>& yesterday, const std::vector<char>& today) const
    {
        return combine(ownDay(yesterday), ownDay(today));
    }

    std::vector<char> matches(const QDate& d) const
    {
        const DayFacts facts(d);
        std::vector<char> out(rules_.size());
        for (std::size_t i = 0; i < rules_.size(); ++i)
            out[i] = ruleMatches(rules_[i], facts);
        return out;
    }

    // What the rules say for one day, as they name it: from its midnight up
    // to 48:00 (spans past midnight included).
    std::vector<Segment> ownDay(const std::vector<char>& match) const
    {
        // The last matching rule of ";" clears what came before it on its day.
        const int n = int(rules_.size());
        int first = 0;
        for (int i = 0; i < n; ++i)
            if (rules_[i].separator == HoursRule::Separator::Normal && match[i])
                first = i;
        std::vector<Paint> paints;
        for (int i = first; i < n; ++i) {
            const HoursRule& r = rules_[i];
            if (!match[i])
                continue;
            // A later rule wins; a fallback only fills what the rules before it left.
            const int priority = r.separator == HoursRule::Separator::Fallback ? -1 - i : i;
            if (r.times.empty())
                paints.push_back({0, kDay, priority, r.state, i});
            for (const HoursSpan& t : r.times)
                paints.push_back({t.start, t.end, priority, r.state, i});
        }
        return resolve(paints, 2 * kDay);
    }
};

// Rules of weekdays and times alone repeat every week.
bool repeatsWeekly(const std::vector<HoursRule>& rules)
{
    return std::all_of(rules.begin(), rules.end(), [](const HoursRule& r) {
        return r.years.empty() && r.dates.empty() && r.weeks.empty() &&
               std::all_of(r.weekdays.begin(), r.weekdays.end(),
                           [](const HoursWeekdayItem& i) { return i.nth.empty(); });
    });
}

QString clockText(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

const char* const kDayShort[] = {"пн", "вт", "ср", "чт", "пт", "сб", "вс"};
const char* const kMonthShort[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                   "июл", "авг", "сен", "окт", "ноя", "дек"};
const char* const kMonthGenitive[] = {"января", "февраля", "марта", "апреля", "мая", "июня",
                                      "июля", "августа", "сентября", "октября", "ноября", "декабря"};

QString dayShort(int d)
{
    return QString::fromUtf8(kDayShort[d]);
}

// When an opening comes: "в 9:00", "завтра в 9:00", "в пн в 9:00", "во вт в 9:00", "1 апреля в 9:00".
QString openingWhen(const QDateTime& now, const QDateTime& at)
{
    const qint64 days = now.date().daysTo(at.date());
    const QString clock = clockText(at.time().hour() * 60 + at.time().minute());
    if (days == 0)
        return QStringLiteral("в ") + clock;
    if (days == 1)
        return QStringLiteral("завтра в ") + clock;
    if (days < 7) {
        const int d = at.date().dayOfWeek() - 1;
        return (d == 1 ? QStringLiteral("во ") : QStringLiteral("в ")) + dayShort(d) + QStringLiteral(" в ") + clock;
    }
    return QStringLiteral("%1 %2 в %3").arg(at.date().day()).arg(QString::fromUtf8(kMonthGenitive[at.date().month() - 1]), clock);
}

// Until when: "18:00", "24:00" (the coming midnight), "3:00" (within a
// day), "пт 24:00", "вт 3:00".
QString closingWhen(const QDateTime& now, const QDateTime& at)
{
    qint64 days = now.date().daysTo(at.date());
    int minute = at.time().hour() * 60 + at.time().minute();
    const int nowMinute = now.time().hour() * 60 + now.time().minute();
    QDate day = at.date();
    if (minute == 0 && days > 0) { // a midnight ends the day before
        minute = kDay;
        --days;
        day = day.addDays(-1);
    }
    if (days == 0 || (days == 1 && minute <= nowMinute))
        return clockText(minute);
    return dayShort(day.dayOfWeek() - 1) + QStringLiteral(" ") + clockText(minute);
}

QString quoted(const std::string& comment)
{
    return QStringLiteral("«") + QString::fromUtf8(comment.data(), qsizetype(comment.size())) + QStringLiteral("»");
}

QString rangeText(const QString& from, const QString& to)
{
    return from == to ? from : from + QStringLiteral("–") + to;
}

QString weekdaysText(const HoursRule& rule)
{
    QStringList parts;
    for (const HoursWeekdayItem& i : rule.weekdays) {
        if (i.kind == HoursWeekdayItem::Kind::PublicHoliday) {
            parts << QStringLiteral("праздники");
            continue;
        }
        if (i.kind == HoursWeekdayItem::Kind::SchoolHoliday) {
            parts << QStringLiteral("школьные каникулы");
            continue;
        }
        if (i.nth.empty() && i.from == 0 && i.to == 6 && rule.weekdays.size() == 1) {
            parts << QStringLiteral("ежедневно");
            continue;
        }
        QString days = rangeText(dayShort(i.from), dayShort(i.to));
        if (!i.nth.empty()) {
            // Endings agree with the day: понедельник, среда, воскресенье.
            static const char* const ending[] = {"й", "й", "я", "й", "я", "я", "е"};
            static const char* const last[] = {"последний", "последний", "последняя", "последний",
                                               "последняя", "последняя", "последнее"};
            const QString e = QString::fromUtf8(ending[i.from]);
            QStringList which;
            for (int n : i.nth)
                which << (n == -1 ? QString::fromUtf8(last[i.from])
                                  : n < 0 ? QStringLiteral("%1-%2 с конца").arg(-n).arg(e)
                                          : QStringLiteral("%1-%2").arg(n).arg(e));
            days = which.join(QStringLiteral(", ")) + QStringLiteral(" ") + days;
        }
        parts << days;
    }
    // "PH Mo-Fr": holidays on those days.
    return parts.join(rule.holidayAndWeekdays ? QStringLiteral(" ") : QStringLiteral(", "));
}

QString datesText(const HoursRule& rule)
{
    QStringList parts;
    for (const HoursDateRange& r : rule.dates) {
        auto year = [](int y) { return y ? QStringLiteral(" %1").arg(y) : QString(); };
        const QString fromMonth = QString::fromUtf8(kMonthShort[r.fromMonth - 1]);
        const QString toMonth = QString::fromUtf8(kMonthShort[r.toMonth - 1]);
        if (r.wholeMonths) {
            parts << rangeText(fromMonth + year(r.fromYear), toMonth + year(r.toYear == r.fromYear ? 0 : r.toYear));
        } else if (r.fromMonth == r.toMonth && r.fromYear == r.toYear && r.fromDay <= r.toDay) {
            parts << rangeText(QString::number(r.fromDay), QString::number(r.toDay)) + QStringLiteral(" ") + fromMonth +
                         year(r.fromYear);
        } else {
            parts << QStringLiteral("%1 %2%3 – %4 %5%6")
                         .arg(r.fromDay)
                         .arg(fromMonth, year(r.fromYear))
                         .arg(r.toDay)
                         .arg(toMonth, year(r.toYear));
        }
    }
    return parts.join(QStringLiteral(", "));
}

QString numbersText(const std::vector<HoursNumberRange>& ranges)
{
    QStringList parts;
    for (const HoursNumberRange& r : ranges) {
        QString t = rangeText(QString::number(r.from), QString::number(r.to));
        if (r.step > 1)
            t += QStringLiteral(" (каждая %1-я)").arg(r.step);
        parts << t;
    }
    return parts.join(QStringLiteral(", "));
}

QString ruleText(const HoursRule& rule)
{
    QStringList words;
    if (rule.always)
        words << QStringLiteral("круглосуточно");
    if (!rule.years.empty())
        words << numbersText(rule.years);
    if (!rule.dates.empty())
        words << datesText(rule);
    if (!rule.weeks.empty())
        words << QStringLiteral("недели ") + numbersText(rule.weeks);
    if (!rule.weekdays.empty())
        words << weekdaysText(rule);
    const bool selectors = rule.always || !rule.years.empty() || !rule.dates.empty() || !rule.weeks.empty() ||
                           !rule.weekdays.empty();
    if (!rule.times.empty()) {
        if (!selectors)
            words << QStringLiteral("ежедневно");
        QStringList spans;
        for (const HoursSpan& t : rule.times)
            spans << (t.start == 0 && t.end == kDay
                          ? QStringLiteral("круглосуточно")
                          : clockText(t.start) + QStringLiteral("–") + clockText(t.end > kDay ? t.end - kDay : t.end));
        words << spans.join(QStringLiteral(", "));
    }
    switch (rule.state) {
    case HoursState::Open:
        if (rule.times.empty() && !rule.always && rule.comment.empty())
            words << QStringLiteral("круглосуточно");
        break;
    case HoursState::Closed:
        words << (rule.times.empty() ? QStringLiteral("выходной") : QStringLiteral("закрыто"));
        break;
    case HoursState::Unknown:
        if (rule.comment.empty())
            words << QStringLiteral("время уточняйте");
        break;
    }
    if (!rule.comment.empty())
        words << quoted(rule.comment);
    return words.join(QStringLiteral(" "));
}

} // namespace

OpeningHours OpeningHours::parse(std::string_view value)
{
    OpeningHours out;
    out.text = std::string(value);
    std::vector<HoursRule> rules;
    if (Reader(value).read(rules)) {
        out.readable = true;
        out.rules = std::move(rules);
    }
    if (out.readable && repeatsWeekly(out.rules)) {
        out.weekly = true;
        const DayLines lines(out.rules);
        const QDate monday(2024, 1, 1); // any week will do
        std::vector<Segment> own[7];
        for (int day = 0; day < 7; ++day)
            own[day] = lines.ownDay(monday.addDays(day));
        for (int day = 0; day < 7; ++day)
            for (const Segment& s : DayLines::combine(own[(day + 6) % 7], own[day])) {
                if (s.state == HoursState::Closed)
                    continue;
                const int start = day * kDay + s.start, end = day * kDay + s.end;
                if (!out.week.empty() && out.week.back().end == start && out.week.back().state == s.state)
                    out.week.back().end = end;
                else
                    out.week.push_back({start, end, s.state});
            }
    }
    return out;
}

HoursStatus OpeningHours::stateAt(const QDateTime& local) const
{
    HoursStatus out;
    if (!readable) {
        out.text = QStringLiteral("часы работы не указаны");
        return out;
    }
    const QDate today = local.date();
    const int minute = local.time().hour() * 60 + local.time().minute();
    DayLines lines(rules);
    const std::vector<Segment>* line = &lines.line(today);
    const Segment* now = &line->back();
    for (const Segment& s : *line)
        if (minute >= s.start && minute < s.end) {
            now = &s;
            break;
        }
    out.state = now->state;
    const std::string* comment = now->rule >= 0 ? &rules[now->rule].comment : nullptr;

    // The next moment the state differs.
    HoursState then = out.state;
    std::size_t next = std::size_t(now - line->data()) + 1;
    const int horizon = weekly ? 8 : kSearchDays;
    for (int day = 0; day <= horizon && !out.change.isValid(); ++day) {
        if (day > 0) {
            line = &lines.line(today.addDays(day));
            next = 0;
        }
        for (; next < line->size(); ++next)
            if ((*line)[next].state != out.state) {
                then = (*line)[next].state;
                out.change = local;
                out.change.setDate(today.addDays(day));
                out.change.setTime(QTime((*line)[next].start / 60, (*line)[next].start % 60));
                break;
            }
    }
    QString text;
    switch (out.state) {
    case HoursState::Open:
        text = out.change.isValid() ? QStringLiteral("открыто до ") + closingWhen(local, out.change)
                                    : QStringLiteral("открыто круглосуточно");
        break;
    case HoursState::Closed: {
        text = QStringLiteral("закрыто");
        if (out.change.isValid() && then == HoursState::Open)
            text += QStringLiteral(", откроется ") + openingWhen(local, out.change);
        break;
    }
    case HoursState::Unknown:
        text = comment && !comment->empty() ? QString::fromUtf8(comment->data(), qsizetype(comment->size()))
                                            : QStringLiteral("часы работы не указаны");
        comment = nullptr;
        break;
    }
    if (comment && !comment->empty())
        text += QStringLiteral(" (") + QString::fromUtf8(comment->data(), qsizetype(comment->size())) +
                QStringLiteral(")");
    out.text = text;
    return out;
}

HoursState OpeningHours::stateOnlyAt(const QDate& date, const QTime& time) const
{
    if (!readable)
        return HoursState::Unknown;
    const int minute = time.hour() * 60 + time.minute();
    if (weekly) {
        const int at = (date.dayOfWeek() - 1) * kDay + minute;
        const auto after = std::upper_bound(week.begin(), week.end(), at,
                                            [](int m, const HoursWeekSpan& s) { return m < s.start; });
        return after != week.begin() && at < std::prev(after)->end ? std::prev(after)->state : HoursState::Closed;
    }
    for (const Segment& s : DayLines(rules).make(date))
        if (minute >= s.start && minute < s.end)
            return s.state;
    return HoursState::Closed;
}

QString OpeningHours::toRussian() const
{
    if (!readable)
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    QString out;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (i > 0)
            out += rules[i].separator == HoursRule::Separator::Fallback ? QStringLiteral(", иначе ")
                                                                        : QStringLiteral(", ");
        out += ruleText(rules[i]);
    }
    return out;
}
