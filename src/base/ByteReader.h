#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Bounded little-endian reader over the bytes of one data file. Every read
// checks the remaining length: a file that ends inside a record raises an
// error naming the file, never a read past the data.
class ByteReader {
public:
    ByteReader(std::vector<char> bytes, std::string fileName);

    // Reads a whole file through the readers' file source (FileSource.h);
    // a missing or unreadable file raises "Cannot open file "<path>". <reason>".
    static ByteReader fromFile(const std::string& path);
    static std::vector<char> readFile(const std::string& path);

    std::int32_t int32();
    std::int16_t int16();
    std::int8_t int8();
    std::uint8_t uint8();
    float float32();
    std::string bytes(std::size_t count);
    void skip(std::size_t count);
    // Moves to an absolute position; one past the end raises the short-file error.
    void seek(std::size_t position);

    // A length byte followed by `capacity` character bytes. A length above the
    // capacity is clipped to it; all capacity bytes are consumed.
    std::string shortString(std::size_t capacity);

    // Raises an error unless `count` records of at least `minRecordSize`
    // bytes can still follow, so a huge count fails before anything is allocated.
    void requireRecords(std::int64_t count, std::size_t minRecordSize) const;

    // The error text of this file when damaged: the file named, then `what`.
    std::string damagedText(const std::string& what) const;
    [[noreturn]] void failDamaged(const std::string& what) const;

    std::size_t position() const { return m_pos; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    const std::string& fileName() const { return m_fileName; }
    // Bytes the reads have taken so far, a byte read twice counting twice:
    // what a reader's work is measured by.
    std::size_t bytesTaken() const { return m_taken; }

    // Raises the short-file error for this file.
    [[noreturn]] void failTruncated() const;

private:
    const char* take(std::size_t count);

    std::vector<char> m_bytes;
    std::size_t m_pos = 0;
    std::size_t m_taken = 0;
    std::string m_fileName;
};

// "Cannot open file "<path>". <reason>" with the system's reason for errno.
std::string cannotOpenFileMessage(const std::string& path, int errorNumber);
