#pragma once

#include <string>
#include <string_view>
#include <vector>

// How typed and stored texts are compared for suggestions: Windows-1251
// bytes folded to lower case with ё read as е; quotes and punctuation only
// separate words; the common street abbreviations read as their full words
// (ул. and улица, пр-т and проспект, ...). Never used by the search itself,
// which compares the stored texts exactly.
namespace SearchWords {

// One word of a text: its folded, full form and where it stands in the text.
struct Word {
    std::string text;
    int start = 0;
    int length = 0;
    // An abbreviation read as its full word: the letters of `text` are not
    // the letters at `start`.
    bool expanded = false;
};

// Lower case, ё as е; byte for byte, so positions stay.
unsigned char Fold(unsigned char c);
std::string Fold(std::string_view raw);
// A letter or a digit (after folding); everything else separates words,
// except the hyphen inside "пр-т" and "б-р".
bool IsWordChar(unsigned char c);

std::vector<Word> Split(std::string_view raw);

// Stands before an expanded abbreviation in a joined text: its full word
// may be started but not found inside ("б-р" is no place for "ул").
inline constexpr char kExpandedMark = '\x01';

// The words joined for searching: " w1 w2 w3 ", so that " w" finds a word
// start and "w" any place.
std::string Joined(const std::vector<Word>& words);
// Joined texts equal but for the marks of expanded abbreviations.
bool SameWords(std::string_view a, std::string_view b);

} // namespace SearchWords
