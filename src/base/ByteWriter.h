#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Little-endian writer used to produce the data files (the demo town
// generator) and byte-exact fixtures (the tests).
class ByteWriter {
public:
    void int32(std::int32_t v);
    void int16(std::int16_t v);
    void int8(std::int8_t v);
    void uint8(std::uint8_t v);
    void float32(float v);
    void bytes(std::string_view data);
    void zeros(std::size_t count);
    // Length byte (clipped to capacity) and exactly `capacity` character bytes.
    void shortString(std::string_view text, std::size_t capacity);
    // Writes a raw length byte that may disagree with the text (for fixtures).
    void shortStringRaw(std::uint8_t lengthByte, std::string_view text, std::size_t capacity);

    const std::vector<char>& data() const { return m_data; }
    std::size_t size() const { return m_data.size(); }
    void saveTo(const std::string& path) const;

private:
    std::vector<char> m_data;
};
