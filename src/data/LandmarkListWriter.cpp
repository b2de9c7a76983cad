#include "data/LandmarkListWriter.h"

#include <charconv>

namespace {
std::string number(float v, char separator)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == '.')
            c = separator;
    return s;
}
} // namespace

std::string writeLandmarkList(const std::vector<LandmarkRecord>& landmarks, char decimalSeparator,
                              const std::string& lineEnd)
{
    std::string out;
    for (const LandmarkRecord& l : landmarks) {
        out += l.meshFile + lineEnd;
        for (const auto* v : {&l.position, &l.scale, &l.direction, &l.up})
            for (float c : *v)
                out += number(c, decimalSeparator) + lineEnd;
        out += std::to_string(l.colour) + lineEnd;
    }
    return out;
}
