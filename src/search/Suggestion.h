#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One line of a search box's suggestions. Texts are Windows-1251 bytes.
struct Suggestion {
    // At most this many lines are offered.
    static constexpr std::size_t kLimit = 20;

    // The stored text the box takes when the line is chosen: a name, a
    // street, a house number; for an address line, its street.
    std::string text;
    // An address line ("улица Ленина, 5") fills the number box too.
    bool address = false;
    std::string houseNo;
    // The line as listed, and the parts of it that matched the typed words.
    std::string shown;
    struct Span {
        int start = 0;
        int length = 0;
        bool operator==(const Span&) const = default;
    };
    std::vector<Span> bold;
};

// Sorts and merges overlapping or touching spans.
std::vector<Suggestion::Span> mergedSpans(std::vector<Suggestion::Span> spans);
