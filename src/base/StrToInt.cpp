#include "base/StrToInt.h"

#include "base/Cp1251.h"
#include "base/GxException.h"

#include <charconv>
#include <string>

std::int32_t StrToInt(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::int32_t value = 0;
    const char* end = digits.data() + digits.size();
    // from_chars takes a leading "-" itself but no "+"; a sign must be followed by digits.
    const bool signedTwice = text.size() > 1 && text[0] == '+' && text[1] == '-';
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || signedTwice || error != std::errc() || stop != end)
        throw EGxError("'" + cp1251::decode(text).toStdString() + "' is not a valid integer value");
    return value;
}
