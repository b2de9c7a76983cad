#include "search/HouseNumberForm.h"

#include "base/Cp1251.h"
#include "search/SearchWords.h"

#include <algorithm>

namespace {

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

struct Words {
    std::string house1 = cp1251::fromUtf8("д");
    std::string house2 = cp1251::fromUtf8("дом");
    std::string block1 = cp1251::fromUtf8("к");
    std::string block2 = cp1251::fromUtf8("корп");
    std::string block3 = cp1251::fromUtf8("корпус");
    std::string building1 = cp1251::fromUtf8("с");
    std::string building2 = cp1251::fromUtf8("стр");
    std::string building3 = cp1251::fromUtf8("строение");
};

const Words& words()
{
    static const Words w;
    return w;
}

} // namespace

HouseNumberForm::HouseNumberForm(std::string_view raw)
{
    const Words& w = words();
    const int n = static_cast<int>(raw.size());
    const auto at = [&](int i) { return static_cast<unsigned char>(raw[static_cast<std::size_t>(i)]); };
    int i = 0;
    while (i < n) {
        const unsigned char c = at(i);
        if (isDigit(c) || c == '/') {
            m_key += static_cast<char>(c);
            m_from.emplace_back(i, 1);
            ++i;
            continue;
        }
        if (!SearchWords::IsWordChar(c)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < n && SearchWords::IsWordChar(at(end)) && !isDigit(at(end)))
            ++end;
        const std::string letters = SearchWords::Fold(raw.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i)));
        if (m_key.empty() && (letters == w.house1 || letters == w.house2)) {
            // "д. 5": the word for house is no part of the number.
        } else if (letters == w.block1 || letters == w.block2 || letters == w.block3) {
            m_key += w.block1;
            m_from.emplace_back(i, end - i);
        } else if (letters == w.building1 || letters == w.building2 || letters == w.building3) {
            m_key += w.building1;
            m_from.emplace_back(i, end - i);
        } else {
            for (int k = i; k < end; ++k) {
                m_key += static_cast<char>(SearchWords::Fold(at(k)));
                m_from.emplace_back(k, 1);
            }
        }
        i = end;
    }
    if (m_key.empty() || !isDigit(static_cast<unsigned char>(m_key[0]))) {
        m_key.clear();
        m_from.clear();
    }
}

std::vector<std::pair<int, int>> HouseNumberForm::SourceOf(std::size_t keyLength) const
{
    keyLength = std::min(keyLength, m_from.size());
    if (keyLength == 0)
        return {};
    // One run: "8 к2" reads as one number, the space included.
    const auto& [lastStart, lastLength] = m_from[keyLength - 1];
    return {{m_from[0].first, lastStart + lastLength - m_from[0].first}};
}
