#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts in the data files are Windows-1251 bytes. The model keeps those bytes
// (all matching is byte for byte) and decodes them only for display.
namespace cp1251 {

// Decodes Windows-1251 bytes. Byte 0x98, unassigned in the code page, maps to
// U+0098 so that decoding stays one-to-one.
QString decode(std::string_view bytes);

// Encodes to Windows-1251, composed first (NFC: "и" and a combining breve is
// "й"), dropping the combining marks still left. Returns false (and leaves
// `out` with '?' in place of each such character) when the text holds a
// character the code page lacks.
bool encode(const QString& text, std::string& out);

// Encodes, replacing characters the code page lacks by '?'.
std::string encodeLossy(const QString& text);

// Literal helper for code and tests: UTF-8 source text to Windows-1251 bytes.
std::string fromUtf8(std::string_view utf8);

} // namespace cp1251
