#include "base/ByteReader.h"

#include "base/FileSource.h"
#include "base/GxException.h"

#include <cstring>

ByteReader::ByteReader(std::vector<char> bytes, std::string fileName)
    : m_bytes(std::move(bytes)), m_fileName(std::move(fileName))
{
}

std::string cannotOpenFileMessage(const std::string& path, int errorNumber)
{
    return "Cannot open file \"" + path + "\". " + std::strerror(errorNumber);
}

std::vector<char> ByteReader::readFile(const std::string& path)
{
    return fileSource().read(path);
}

ByteReader ByteReader::fromFile(const std::string& path)
{
    return ByteReader(readFile(path), path);
}

std::string ByteReader::damagedText(const std::string& what) const
{
    return "Файл \"" + m_fileName + "\" повреждён: " + what;
}

void ByteReader::failDamaged(const std::string& what) const
{
    throw EGxError(damagedText(what));
}

void ByteReader::failTruncated() const
{
    failDamaged("данные обрываются внутри записи (байт " + std::to_string(m_pos) + " из "
                + std::to_string(m_bytes.size()) + ")");
}

const char* ByteReader::take(std::size_t count)
{
    if (count > remaining())
        failTruncated();
    const char* p = m_bytes.data() + m_pos;
    m_pos += count;
    m_taken += count;
    return p;
}

std::int32_t ByteReader::int32()
{
    const auto* p = reinterpret_cast<const unsigned char*>(take(4));
    const std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
                            | (std::uint32_t(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

std::int16_t ByteReader::int16()
{
    const auto* p = reinterpret_cast<const unsigned char*>(take(2));
    return static_cast<std::int16_t>(std::uint16_t(p[0]) | (std::uint16_t(p[1]) << 8));
}

std::int8_t ByteReader::int8()
{
    return static_cast<std::int8_t>(*take(1));
}

std::uint8_t ByteReader::uint8()
{
    return static_cast<std::uint8_t>(*take(1));
}

float ByteReader::float32()
{
    const std::uint32_t bits = static_cast<std::uint32_t>(int32());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string ByteReader::bytes(std::size_t count)
{
    const char* p = take(count);
    return std::string(p, count);
}

void ByteReader::skip(std::size_t count)
{
    take(count);
}

void ByteReader::seek(std::size_t position)
{
    if (position > m_bytes.size()) {
        m_pos = m_bytes.size();
        failTruncated();
    }
    m_pos = position;
}

std::string ByteReader::shortString(std::size_t capacity)
{
    const char* p = take(capacity + 1);
    std::size_t length = static_cast<unsigned char>(p[0]);
    if (length > capacity)
        length = capacity;
    return std::string(p + 1, length);
}

void ByteReader::requireRecords(std::int64_t count, std::size_t minRecordSize) const
{
    if (count <= 0)
        return;
    if (minRecordSize == 0)
        minRecordSize = 1;
    if (static_cast<std::uint64_t>(count) > remaining() / minRecordSize)
        failDamaged("объявлено " + std::to_string(count) + " записей, а данных осталось "
                    + std::to_string(remaining()) + " байт");
}
