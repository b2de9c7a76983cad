#pragma once

#include "base/ByteReader.h"

#include <cstdint>
#include <string>

// The tags of the material library file's values.
namespace tagged {
enum Tag : std::uint8_t {
    kInt8 = 2,
    kInt16 = 3,
    kInt32 = 4,
    kFalse = 8,
    kTrue = 9,
    kShortString = 6,
    kLongString = 12,
    kWideString = 18,
    kUtf8String = 20,
};
} // namespace tagged

// Reads the tagged values of the material library file. A tag that does
// not fit the value kind asked for raises "TaggedReader, read type error";
// a file that ends early raises the short-file error of ByteReader.
class TaggedReader {
public:
    explicit TaggedReader(ByteReader& in) : m_in(in) {}

    // Tags 2, 3, 4.
    std::int32_t ReadInteger();
    // Tags 8 (false), 9 (true).
    bool ReadBoolean();
    // Tags 6, 12, 18, 20; wide and UTF-8 texts become Windows-1251 bytes.
    std::string ReadString();

    ByteReader& Raw() { return m_in; }
    static const char* ClassName() { return "TaggedReader"; }

private:
    [[noreturn]] void readTypeError() const;
    std::size_t length32();

    ByteReader& m_in;
};
