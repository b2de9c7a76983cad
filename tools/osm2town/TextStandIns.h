#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 text of the extract to the Windows-1251 bytes of the data files.
// The text is composed first (NFC: "е" and a combining diaeresis is "ё").
// A character the code page lacks gets the nearest form it has (a space for
// the many spaces, an ASCII or code-page dash or quote, the letter without
// its diacritics, nothing for a combining mark left over), else "?". Every
// replacement is tallied for the report.
class TextStandIns {
public:
    struct Replacement {
        std::string to;      // Windows-1251 bytes written instead
        std::size_t count = 0;
    };

    std::string toCp1251(std::string_view utf8);

    // Keyed by the replaced character in UTF-8.
    const std::map<std::string, Replacement>& replacements() const { return m_replacements; }
    std::size_t standIns() const { return m_standIns; }
    std::size_t questionMarks() const { return m_questionMarks; }

private:
    std::map<std::string, Replacement> m_replacements;
    std::size_t m_standIns = 0;
    std::size_t m_questionMarks = 0;
};

// The stand-in for one character the code page lacks, as Windows-1251 bytes
// (empty for the zero-width characters and combining marks, which vanish);
// none when there is none.
std::optional<std::string> cp1251StandIn(char32_t c);
