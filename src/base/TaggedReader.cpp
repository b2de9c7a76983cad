#include "base/TaggedReader.h"

#include "base/Cp1251.h"
#include "base/GxException.h"

#include <QString>

void TaggedReader::readTypeError() const
{
    throw EGxError(std::string(ClassName()) + ", read type error");
}

std::int32_t TaggedReader::ReadInteger()
{
    switch (m_in.uint8()) {
    case tagged::kInt8: return m_in.int8();
    case tagged::kInt16: return m_in.int16();
    case tagged::kInt32: return m_in.int32();
    default: readTypeError();
    }
}

bool TaggedReader::ReadBoolean()
{
    switch (m_in.uint8()) {
    case tagged::kFalse: return false;
    case tagged::kTrue: return true;
    default: readTypeError();
    }
}

std::size_t TaggedReader::length32()
{
    const std::int32_t length = m_in.int32();
    if (length < 0 || static_cast<std::size_t>(length) > m_in.remaining())
        m_in.failTruncated();
    return static_cast<std::size_t>(length);
}

std::string TaggedReader::ReadString()
{
    switch (m_in.uint8()) {
    case tagged::kShortString: return m_in.bytes(m_in.uint8());
    case tagged::kLongString: return m_in.bytes(length32());
    case tagged::kWideString: {
        const std::int32_t count = m_in.int32();
        if (count < 0 || static_cast<std::size_t>(count) > m_in.remaining() / 2)
            m_in.failTruncated();
        const std::string bytes = m_in.bytes(static_cast<std::size_t>(count) * 2);
        QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
        for (std::int32_t i = 0; i < count; ++i)
            text[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                                  | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
        return cp1251::encodeLossy(text);
    }
    case tagged::kUtf8String: {
        const std::string bytes = m_in.bytes(length32());
        return cp1251::encodeLossy(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    default: readTypeError();
    }
}
