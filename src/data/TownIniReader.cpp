#include "data/TownIniReader.h"

#include <algorithm>
#include <fstream>

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Also drops byte order marks: the toolkit drops one at the start of a
// caption, so a title of nothing else would show as an empty caption.
std::string_view trimmed(std::string_view s)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    for (std::size_t before = s.size() + 1; s.size() < before;) {
        before = s.size();
        while (!s.empty() && space(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && space(s.back()))
            s.remove_suffix(1);
        if (s.starts_with(kByteOrderMark))
            s.remove_prefix(kByteOrderMark.size());
        if (s.ends_with(kByteOrderMark))
            s.remove_suffix(kByteOrderMark.size());
    }
    return s;
}

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}
} // namespace

std::optional<std::string> parseTownTitle(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());

    std::optional<std::string> title;
    bool inTown = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inTown = close != std::string_view::npos && sameName(trimmed(line.substr(1, close - 1)), "town");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inTown || equals == std::string_view::npos || !sameName(trimmed(line.substr(0, equals)), "title"))
            continue;
        const std::string_view value = trimmed(line.substr(equals + 1));
        title = value.empty() ? std::nullopt : std::optional<std::string>(value);
    }
    return title;
}

std::optional<std::string> readTownTitle(const std::string& folder)
{
    std::ifstream file(folder + "/" + kTownIniName, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text(kTownIniReadLimit, '\0');
    file.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(file.gcount()));
    return parseTownTitle(text);
}
