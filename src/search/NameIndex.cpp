#include "search/NameIndex.h"

#include "search/SearchWords.h"

#include <algorithm>

std::vector<Suggestion::Span> mergedSpans(std::vector<Suggestion::Span> spans)
{
    std::sort(spans.begin(), spans.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
    std::vector<Suggestion::Span> out;
    for (const Suggestion::Span& s : spans) {
        if (s.length <= 0)
            continue;
        if (!out.empty() && s.start <= out.back().start + out.back().length)
            out.back().length = std::max(out.back().length, s.start + s.length - out.back().start);
        else
            out.push_back(s);
    }
    return out;
}

namespace {

// How a word is found in a joined text: 1 at a word's start, 2 inside one, 3 not at all.
int findWord(std::string_view joined, const std::vector<std::string>& forms)
{
    int best = 3;
    for (const std::string& form : forms)
        for (std::size_t at = joined.find(form); at != std::string_view::npos; at = joined.find(form, at + 1)) {
            const char before = joined[at - 1];
            if (before == ' ' || before == SearchWords::kExpandedMark)
                return 1;
            if (joined[joined.rfind(' ', at) + 1] != SearchWords::kExpandedMark)
                best = 2;
        }
    return best;
}

} // namespace

void NameIndex::Assign(const std::vector<std::string>& names)
{
    m_entries.clear();
    m_entries.reserve(names.size());
    for (const std::string& name : names) {
        if (!m_entries.empty() && m_entries.back().raw == name)
            continue;
        m_entries.push_back({name, SearchWords::Joined(SearchWords::Split(name))});
    }
}

NameIndex::Query NameIndex::MakeQuery(std::string_view typed)
{
    Query q;
    const std::vector<SearchWords::Word> words = SearchWords::Split(typed);
    for (const SearchWords::Word& w : words) {
        std::vector<std::string> forms{w.text};
        // "ул" may also be the start of "Ульяновская".
        if (w.expanded) {
            std::string asTyped = SearchWords::Fold(typed.substr(static_cast<std::size_t>(w.start), static_cast<std::size_t>(w.length)));
            if (asTyped.find('-') == std::string::npos)
                forms.push_back(std::move(asTyped));
        }
        q.words.push_back(std::move(forms));
    }
    q.joined = SearchWords::Joined(words);
    return q;
}

std::vector<NameIndex::Match> NameIndex::Find(const Query& query) const
{
    std::vector<Match> found;
    if (query.Empty())
        return found;
    for (std::size_t row = 0; row < m_entries.size(); ++row) {
        const std::string& joined = m_entries[row].joined;
        int rank = WordStarts;
        for (const auto& forms : query.words) {
            rank = std::max(rank, findWord(joined, forms));
            if (rank > Inside)
                break;
        }
        if (rank > Inside)
            continue;
        if (rank == WordStarts && SearchWords::SameWords(joined, query.joined))
            rank = Same;
        found.push_back({static_cast<int>(row), static_cast<Rank>(rank)});
    }
    std::stable_sort(found.begin(), found.end(), [](const Match& a, const Match& b) { return a.rank < b.rank; });
    return found;
}

std::vector<Suggestion> NameIndex::Suggest(std::string_view typed) const
{
    const Query query = MakeQuery(typed);
    std::vector<Match> found = Find(query);
    if (found.size() > Suggestion::kLimit)
        found.resize(Suggestion::kLimit);
    std::vector<Suggestion> out;
    for (const Match& m : found) {
        Suggestion s;
        s.text = Name(m.row);
        s.shown = s.text;
        s.bold = MatchedSpans(s.shown, query);
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<Suggestion::Span> NameIndex::MatchedSpans(std::string_view raw, const Query& query)
{
    const std::vector<SearchWords::Word> words = SearchWords::Split(raw);
    std::vector<Suggestion::Span> spans;
    for (const auto& forms : query.words) {
        // The first word the typed one starts, else the first it lies in.
        Suggestion::Span start, inside;
        for (const SearchWords::Word& w : words) {
            for (const std::string& form : forms) {
                // A typed abbreviation shows as its whole word where that word stands.
                if (forms.size() > 1 && &form == &forms.front() && w.text != form)
                    continue;
                const std::size_t at = w.text.find(form);
                if (at == std::string::npos || (w.expanded && at != 0))
                    continue;
                const Suggestion::Span span =
                    w.expanded ? Suggestion::Span{w.start, w.length}
                               : Suggestion::Span{w.start + static_cast<int>(at), static_cast<int>(form.size())};
                if (at == 0 && start.length == 0)
                    start = span;
                else if (at != 0 && inside.length == 0)
                    inside = span;
            }
            if (start.length)
                break;
        }
        spans.push_back(start.length ? start : inside);
    }
    return mergedSpans(std::move(spans));
}
