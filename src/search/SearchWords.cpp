#include "search/SearchWords.h"

#include "base/Cp1251.h"

#include <array>

namespace SearchWords {
namespace {

struct Tables {
    std::array<unsigned char, 256> fold{};
    std::array<bool, 256> word{};
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables t;
        const QChar yo(0x0451), ye(0x0435);
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            QChar c = cp1251::decode(std::string_view(&byte, 1)).at(0).toLower();
            if (c == yo)
                c = ye;
            std::string out;
            t.fold[b] = cp1251::encode(QString(c), out) ? static_cast<unsigned char>(out[0]) : static_cast<unsigned char>(b);
            t.word[b] = c.isLetterOrNumber();
        }
        return t;
    }();
    return t;
}

struct Abbreviation {
    std::string_view shortForm; // folded, without the full stop
    std::string_view fullForm;
};

// Written in UTF-8 here, compared as Windows-1251.
const std::vector<std::pair<std::string, std::string>>& abbreviations()
{
    static const std::vector<std::pair<std::string, std::string>> list = [] {
        const Abbreviation utf8[] = {
            {"ул", "улица"},      {"пр", "проспект"},   {"пр-т", "проспект"}, {"пр-кт", "проспект"},
            {"просп", "проспект"}, {"пер", "переулок"},  {"пл", "площадь"},     {"б-р", "бульвар"},
            {"ш", "шоссе"},        {"наб", "набережная"},
        };
        std::vector<std::pair<std::string, std::string>> out;
        for (const Abbreviation& a : utf8)
            out.emplace_back(cp1251::fromUtf8(a.shortForm), cp1251::fromUtf8(a.fullForm));
        return out;
    }();
    return list;
}

const std::string* fullFormOf(std::string_view folded)
{
    for (const auto& [shortForm, fullForm] : abbreviations())
        if (folded == shortForm)
            return &fullForm;
    return nullptr;
}

void addWord(std::vector<Word>& words, std::string_view raw, int start, int length)
{
    Word w;
    w.text = Fold(raw.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
    w.start = start;
    w.length = length;
    if (const std::string* full = fullFormOf(w.text)) {
        w.text = *full;
        w.expanded = true;
    }
    words.push_back(std::move(w));
}

} // namespace

unsigned char Fold(unsigned char c)
{
    return tables().fold[c];
}

std::string Fold(std::string_view raw)
{
    const Tables& t = tables();
    std::string out(raw);
    for (char& c : out)
        c = static_cast<char>(t.fold[static_cast<unsigned char>(c)]);
    return out;
}

bool IsWordChar(unsigned char c)
{
    return tables().word[c];
}

std::vector<Word> Split(std::string_view raw)
{
    std::vector<Word> words;
    const int n = static_cast<int>(raw.size());
    const auto wordAt = [&](int i) { return i < n && IsWordChar(static_cast<unsigned char>(raw[static_cast<std::size_t>(i)])); };
    int i = 0;
    while (i < n) {
        if (!wordAt(i)) {
            ++i;
            continue;
        }
        // A run of word characters and inner hyphens: "пр-т" as a whole, else its parts.
        int end = i;
        while (wordAt(end) || (end < n && raw[static_cast<std::size_t>(end)] == '-' && wordAt(end + 1)))
            ++end;
        const std::string run = Fold(raw.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i)));
        if (run.find('-') != std::string::npos && fullFormOf(run)) {
            addWord(words, raw, i, end - i);
        } else {
            for (int p = i; p < end;) {
                int q = p;
                while (q < end && raw[static_cast<std::size_t>(q)] != '-')
                    ++q;
                addWord(words, raw, p, q - p);
                p = q + 1;
            }
        }
        i = end;
    }
    return words;
}

std::string Joined(const std::vector<Word>& words)
{
    std::string out = " ";
    for (const Word& w : words) {
        if (w.expanded)
            out += kExpandedMark;
        out += w.text;
        out += ' ';
    }
    return out;
}

bool SameWords(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && a[i] == kExpandedMark)
            ++i;
        while (j < b.size() && b[j] == kExpandedMark)
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i++] != b[j++])
            return false;
    }
}

} // namespace SearchWords
