#pragma once

// Made-up Russian words for generated directories (UTF-8): a few syllables,
// some with a capital, ё included.
#include <iterator>
#include <random>
#include <string>

inline std::string syllableWord(std::mt19937& rng, int syllables)
{
    static const char* const parts[] = {"ба", "ве", "го", "да", "ель", "жи", "за", "ки", "ло", "ми", "но", "ор",
                                        "пу", "ре", "сы", "то", "ук", "фа", "хо", "цы", "че", "ша", "щу", "эр",
                                        "юн", "ям", "Ав", "Бо", "Ве", "Гр", "Дм", "Ёл", "Жу", "Зи", "Ка", "Ле"};
    std::string out;
    for (int i = 0; i < syllables; ++i)
        out += parts[rng() % std::size(parts)];
    return out;
}
