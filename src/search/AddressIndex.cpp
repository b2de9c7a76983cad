#include "search/AddressIndex.h"

#include "search/HouseNumberForm.h"

#include "base/Cp1251.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

// "5" before "10", "5" before "5А" before "5 к1".
bool countingLess(const std::string& a, const std::string& b)
{
    const auto lead = [](const std::string& s) {
        std::size_t digits = 0;
        while (digits < s.size() && s[digits] >= '0' && s[digits] <= '9')
            ++digits;
        return digits;
    };
    const std::size_t da = lead(a), db = lead(b);
    const std::string_view na = std::string_view(a).substr(0, da), nb = std::string_view(b).substr(0, db);
    // Compare the numbers' values without converting: leading zeros dropped, then length, then digits.
    const auto trimmed = [](std::string_view s) {
        while (s.size() > 1 && s[0] == '0')
            s.remove_prefix(1);
        return s;
    };
    const std::string_view ta = trimmed(na), tb = trimmed(nb);
    if (ta.size() != tb.size())
        return ta.size() < tb.size();
    if (ta != tb)
        return ta < tb;
    return a < b;
}

struct Chunk {
    int start;
    int end;
};

std::vector<Chunk> chunksOf(std::string_view typed)
{
    std::vector<Chunk> chunks;
    const int n = static_cast<int>(typed.size());
    for (int i = 0; i < n;) {
        const auto separator = [&](int k) { return typed[static_cast<std::size_t>(k)] == ' ' || typed[static_cast<std::size_t>(k)] == ','; };
        if (separator(i)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && !separator(end))
            ++end;
        chunks.push_back({i, end});
        i = end;
    }
    return chunks;
}

std::vector<Suggestion::Span> shifted(std::vector<Suggestion::Span> spans, int by)
{
    for (Suggestion::Span& s : spans)
        s.start += by;
    return spans;
}

} // namespace

void AddressIndex::Assign(const std::vector<std::pair<std::string, std::string>>& houses)
{
    std::map<std::string, std::set<std::string>> byStreet;
    for (const auto& [street, number] : houses)
        if (number != "0" && !number.empty())
            byStreet[street].insert(number);

    std::vector<std::string> streets;
    for (const auto& [street, numbers] : byStreet)
        streets.push_back(street);
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(streets.begin(), streets.end(), [&](const std::string& a, const std::string& b) {
        return collator.compare(cp1251::decode(a), cp1251::decode(b)) < 0;
    });
    m_streets.Assign(streets);
    m_numbers.clear();
    for (const std::string& street : streets) {
        std::vector<std::string> raws(byStreet[street].begin(), byStreet[street].end());
        std::stable_sort(raws.begin(), raws.end(), countingLess);
        std::vector<Number> numbers;
        for (std::string& raw : raws) {
            HouseNumberForm form(raw);
            numbers.push_back({std::move(raw), form.Key()});
        }
        m_numbers.push_back(std::move(numbers));
    }
}

AddressIndex::Lines AddressIndex::Suggest(std::string_view typed) const
{
    struct Line {
        bool exact;
        int rank;
        int street;
        int number;
        std::vector<Suggestion::Span> streetBold;
        std::vector<Suggestion::Span> numberBold;
    };
    std::vector<Line> lines;
    std::set<std::pair<int, int>> offered;

    const std::vector<Chunk> chunks = chunksOf(typed);
    const int count = static_cast<int>(chunks.size());
    // The number is a few chunks at the end ("ленина 8 к 2") or at the start ("д. 5 ленина").
    for (int k = 1; k < count && k <= 4; ++k) {
        for (const bool atEnd : {true, false}) {
            const Chunk first = atEnd ? chunks[static_cast<std::size_t>(count - k)] : chunks[0];
            const Chunk last = atEnd ? chunks[static_cast<std::size_t>(count - 1)] : chunks[static_cast<std::size_t>(k - 1)];
            const Chunk streetFirst = atEnd ? chunks[0] : chunks[static_cast<std::size_t>(k)];
            const Chunk streetLast = atEnd ? chunks[static_cast<std::size_t>(count - k - 1)] : chunks[static_cast<std::size_t>(count - 1)];
            const HouseNumberForm number(typed.substr(static_cast<std::size_t>(first.start), static_cast<std::size_t>(last.end - first.start)));
            if (!number.Valid())
                continue;
            const NameIndex::Query street = NameIndex::MakeQuery(
                typed.substr(static_cast<std::size_t>(streetFirst.start), static_cast<std::size_t>(streetLast.end - streetFirst.start)));
            for (const NameIndex::Match& m : m_streets.Find(street)) {
                const std::vector<Number>& numbers = m_numbers[static_cast<std::size_t>(m.row)];
                for (std::size_t i = 0; i < numbers.size(); ++i) {
                    const std::string& key = numbers[i].key;
                    if (key.compare(0, number.Key().size(), number.Key()) != 0)
                        continue;
                    if (!offered.insert({m.row, static_cast<int>(i)}).second)
                        continue;
                    const HouseNumberForm stored(numbers[i].raw);
                    std::vector<Suggestion::Span> numberBold;
                    for (const auto& [start, length] : stored.SourceOf(number.Key().size()))
                        numberBold.push_back({start, length});
                    lines.push_back({key == number.Key(), m.rank, m.row, static_cast<int>(i),
                                     NameIndex::MatchedSpans(m_streets.Name(m.row), street), std::move(numberBold)});
                }
            }
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return std::tuple(!a.exact, a.rank, a.street, a.number) < std::tuple(!b.exact, b.rank, b.street, b.number);
    });

    Lines out;
    for (const Line& line : lines) {
        std::vector<Suggestion>& to = line.exact ? out.exact : out.starting;
        if (out.exact.size() + out.starting.size() >= Suggestion::kLimit)
            break;
        Suggestion s;
        s.address = true;
        s.text = m_streets.Name(line.street);
        s.houseNo = m_numbers[static_cast<std::size_t>(line.street)][static_cast<std::size_t>(line.number)].raw;
        s.shown = s.text + ", " + s.houseNo;
        std::vector<Suggestion::Span> bold = line.streetBold;
        for (const Suggestion::Span& span : shifted(line.numberBold, static_cast<int>(s.text.size()) + 2))
            bold.push_back(span);
        s.bold = mergedSpans(std::move(bold));
        to.push_back(std::move(s));
    }
    return out;
}

std::vector<Suggestion> SuggestStreetLine(const NameIndex& streets, const AddressIndex& addresses, std::string_view typed)
{
    AddressIndex::Lines lines = addresses.Suggest(typed);
    std::vector<Suggestion> out;
    const auto append = [&out](std::vector<Suggestion>&& more) {
        for (Suggestion& s : more)
            if (out.size() < Suggestion::kLimit)
                out.push_back(std::move(s));
    };
    append(std::move(lines.exact));
    append(streets.Suggest(typed));
    append(std::move(lines.starting));
    return out;
}

std::vector<Suggestion> SuggestHouseNumbers(const std::vector<std::string>& numbers, std::string_view typed)
{
    const HouseNumberForm form(typed);
    std::vector<Suggestion> exact, starting;
    if (!form.Valid())
        return exact;
    for (const std::string& raw : numbers) {
        const HouseNumberForm stored(raw);
        if (stored.Key().compare(0, form.Key().size(), form.Key()) != 0)
            continue;
        Suggestion s;
        s.text = raw;
        s.shown = raw;
        for (const auto& [start, length] : stored.SourceOf(form.Key().size()))
            s.bold.push_back({start, length});
        s.bold = mergedSpans(std::move(s.bold));
        (stored.Key() == form.Key() ? exact : starting).push_back(std::move(s));
    }
    for (Suggestion& s : starting)
        exact.push_back(std::move(s));
    if (exact.size() > Suggestion::kLimit)
        exact.resize(Suggestion::kLimit);
    return exact;
}
