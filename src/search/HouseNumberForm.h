#pragma once

#include <string>
#include <string_view>
#include <vector>

// A house number as people write it, reduced to one form: "8к2", "8 к 2",
// "8 корп. 2" and "8 корпус 2" all read "8к2", "15А стр. 1" and
// "15А строение 1" read "15ас1"; "15А" and "15а" read "15а";
// "д. 5" and "дом 5" read "5". Only for offering stored numbers: the search
// still compares the stored texts exactly.
class HouseNumberForm {
public:
    explicit HouseNumberForm(std::string_view raw);

    // The reduced form; empty when the text is no house number (it must
    // start with a digit once "д." is dropped).
    const std::string& Key() const { return m_key; }
    bool Valid() const { return !m_key.empty(); }
    // The bytes of the text from the first to the `keyLength`th character
    // of the key, as one (start, length) run, or none.
    std::vector<std::pair<int, int>> SourceOf(std::size_t keyLength) const;

private:
    std::string m_key;
    // For each key character, the text's bytes it comes from.
    std::vector<std::pair<int, int>> m_from;
};
