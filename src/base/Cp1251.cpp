#include "base/Cp1251.h"

#include <array>

namespace cp1251 {
namespace {

// Unicode code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char16_t toUnicode(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b < 0xC0)
        return kHigh[b - 0x80];
    return char16_t(0x0410 + (b - 0xC0));
}

bool toByte(char16_t u, unsigned char& b)
{
    if (u < 0x80) {
        b = static_cast<unsigned char>(u);
        return true;
    }
    if (u >= 0x0410 && u <= 0x044F) {
        b = static_cast<unsigned char>(0xC0 + (u - 0x0410));
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == u) {
            b = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

QString decode(std::string_view bytes)
{
    QString result;
    result.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = result.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return result;
}

namespace {

// Byte by byte; a combining mark is dropped when `dropMarks`, else like any
// character the code page lacks.
bool encodeChars(const QString& text, std::string& out, bool dropMarks)
{
    out.clear();
    out.reserve(static_cast<std::size_t>(text.size()));
    bool complete = true;
    for (QChar c : text) {
        unsigned char b = 0;
        if (toByte(c.unicode(), b)) {
            out.push_back(static_cast<char>(b));
        } else if (!(dropMarks && c.isMark())) {
            out.push_back('?');
            complete = false;
        }
    }
    return complete;
}

} // namespace

bool encode(const QString& text, std::string& out)
{
    if (encodeChars(text, out, false))
        return true;
    // A letter typed or pasted as a base and a combining mark ("и" and U+0306)
    // is the code page's own letter once composed ("й"); a mark still left
    // has no byte and the letter reads right without it.
    return encodeChars(text.normalized(QString::NormalizationForm_C), out, true);
}

std::string encodeLossy(const QString& text)
{
    std::string out;
    encode(text, out);
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    return encodeLossy(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

} // namespace cp1251
