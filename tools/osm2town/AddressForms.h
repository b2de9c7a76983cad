#pragma once

#include "TextStandIns.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The directory keeps 5 bytes of a house number and 30 of a street, and the
// map joins a house to its organisations by comparing those bytes. Houses
// and organisations therefore share one written form of each address.

// "15А с1" → "15Ас1", "8 корп. 2" → "8к2": spaces dropped, the words for
// building and structure shortened to their usual letters. UTF-8 in and out.
std::string compactHouseNumber(std::string_view utf8);

// A street name of at most 30 Windows-1251 bytes: the name itself when it
// fits, else with its street-kind word abbreviated, else cut (`cut` is set).
std::string fitStreetName(std::string_view utf8, TextStandIns& text, bool* cut = nullptr);

// Hands out the written house numbers and remembers, per street, which
// numbers of the extract share one written form.
class HouseNumberBook {
public:
    explicit HouseNumberBook(TextStandIns& text) : m_text(text) {}

    // The written number (at most 5 bytes) of `utf8` in `street` (written form).
    std::string number(const std::string& street, std::string_view utf8);

    struct Collision {
        std::string street;  // Windows-1251
        std::string written; // Windows-1251
        std::vector<std::string> numbers; // the distinct compact forms, UTF-8
    };
    // Written numbers standing for two or more different numbers of a street.
    std::vector<Collision> collisions() const;
    // How many different numbers of the extract can no longer be told apart.
    std::size_t ambiguousNumbers() const;
    std::size_t compacted() const { return m_compacted.size(); }
    std::size_t cut() const { return m_cut.size(); }

private:
    TextStandIns& m_text;
    std::map<std::pair<std::string, std::string>, std::set<std::string>> m_forms; // (street, written) → compact forms
    std::set<std::string> m_compacted; // original numbers that needed compaction
    std::set<std::string> m_cut;       // compact forms cut to 5 bytes
};
