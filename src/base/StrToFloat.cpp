#include "base/StrToFloat.h"

#include "base/Cp1251.h"
#include "base/GxException.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

[[noreturn]] void invalid(std::string_view text)
{
    throw EGxError("'" + cp1251::decode(text).toStdString() + "' is not a valid floating point value");
}
} // namespace

float StrToFloat(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    // Checked by hand: from_chars alone would take "inf", "nan" and hex.
    std::string number;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    int digits = 0;
    bool separator = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digits;
            number += c;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
            number += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        invalid(text);
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        int exponentDigits = 0;
        for (; i < end && isDigit(text[i]); ++i, ++exponentDigits)
            number += text[i];
        if (exponentDigits == 0)
            invalid(text);
    }
    if (i != end)
        invalid(text);
    double value = 0;
    const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    const bool negative = number[0] == '-';
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: infinite when the exponent is large, else zero.
        const std::size_t e = number.find('e');
        const bool large = e == std::string::npos || number[e + 1] != '-';
        value = large ? HUGE_VAL : 0.0;
        return static_cast<float>(negative ? -value : value);
    }
    if (error != std::errc() || stop != number.data() + number.size())
        invalid(text);
    if (std::fabs(value) > double(FLT_MAX))
        return negative ? -HUGE_VALF : HUGE_VALF;
    return static_cast<float>(value);
}
