#include "base/ByteWriter.h"

#include "base/GxException.h"

#include <cstring>
#include <fstream>

void ByteWriter::int32(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        m_data.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void ByteWriter::int16(std::int16_t v)
{
    const auto u = static_cast<std::uint16_t>(v);
    m_data.push_back(static_cast<char>(u & 0xFF));
    m_data.push_back(static_cast<char>(u >> 8));
}

void ByteWriter::int8(std::int8_t v)
{
    m_data.push_back(static_cast<char>(v));
}

void ByteWriter::uint8(std::uint8_t v)
{
    m_data.push_back(static_cast<char>(v));
}

void ByteWriter::float32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    int32(static_cast<std::int32_t>(bits));
}

void ByteWriter::bytes(std::string_view data)
{
    m_data.insert(m_data.end(), data.begin(), data.end());
}

void ByteWriter::zeros(std::size_t count)
{
    m_data.insert(m_data.end(), count, '\0');
}

void ByteWriter::shortString(std::string_view text, std::size_t capacity)
{
    const std::size_t length = text.size() < capacity ? text.size() : capacity;
    shortStringRaw(static_cast<std::uint8_t>(length), text.substr(0, length), capacity);
}

void ByteWriter::shortStringRaw(std::uint8_t lengthByte, std::string_view text, std::size_t capacity)
{
    uint8(lengthByte);
    const std::size_t n = text.size() < capacity ? text.size() : capacity;
    bytes(text.substr(0, n));
    zeros(capacity - n);
}

void ByteWriter::saveTo(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EGxError("Не удалось записать файл \"" + path + "\"");
    out.write(m_data.data(), static_cast<std::streamsize>(m_data.size()));
    // A full disk often shows only when the buffer is flushed on close.
    out.close();
    if (!out)
        throw EGxError("Не удалось записать файл \"" + path + "\"");
}
