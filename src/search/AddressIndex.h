#pragma once

#include "search/NameIndex.h"
#include "search/Suggestion.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The houses' addresses prepared for lines like "ленина 5" or "5 ленина":
// the words name a street (as NameIndex matches them), the number is read
// as HouseNumberForm reads it, and the line offered is "улица Ленина, 5"
// with the stored street and number, when such a house exists.
class AddressIndex {
public:
    // The (street, number) of every house; "0" is a house without a number.
    void Assign(const std::vector<std::pair<std::string, std::string>>& houses);
    bool Empty() const { return m_streets.Size() == 0; }

    struct Lines {
        // Houses whose number reads exactly as typed.
        std::vector<Suggestion> exact;
        // Houses whose number starts as typed ("1" offers 10 and 12 too).
        std::vector<Suggestion> starting;
    };
    Lines Suggest(std::string_view typed) const;

private:
    struct Number {
        std::string raw;
        std::string key;
    };
    // Streets in alphabetical order, each with its numbers in counting order.
    NameIndex m_streets;
    std::vector<std::vector<Number>> m_numbers;
};

// What the street box offers for a typed text: addresses with the number as
// typed, then streets (`streets` holds the box's list), then addresses whose
// number starts as typed; at most Suggestion::kLimit.
std::vector<Suggestion> SuggestStreetLine(const NameIndex& streets, const AddressIndex& addresses,
                                          std::string_view typed);

// What the house number box offers: the stored numbers (in the list's
// order) that read as typed, then those that start so.
std::vector<Suggestion> SuggestHouseNumbers(const std::vector<std::string>& numbers, std::string_view typed);
