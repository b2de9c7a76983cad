#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/GxException.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(ByteReader, ReadsWhatTheWriterWrote)
{
    ByteWriter w;
    w.int32(-7);
    w.float32(1.25f);
    w.shortString("abc", 5);
    w.int16(-2);
    ByteReader r(w.data(), "x");
    EXPECT_EQ(r.int32(), -7);
    EXPECT_EQ(r.float32(), 1.25f);
    EXPECT_EQ(r.shortString(5), "abc");
    EXPECT_EQ(r.position(), 14u);
    EXPECT_EQ(r.int16(), -2);
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteReader, ClipsLengthByteToCapacityAndConsumesTheField)
{
    ByteWriter w;
    w.shortStringRaw(200, "abcdefghij", 10);
    w.uint8(42);
    ByteReader r(w.data(), "x");
    EXPECT_EQ(r.shortString(10), "abcdefghij");
    EXPECT_EQ(r.uint8(), 42);
}

TEST(ByteReader, ShortDataFailsWithFileName)
{
    ByteWriter w;
    w.int16(1);
    ByteReader r(w.data(), "/tmp/town.mod");
    try {
        r.int32();
        FAIL() << "no error";
    } catch (const EGxError& e) {
        EXPECT_NE(std::string(e.what()).find("/tmp/town.mod"), std::string::npos);
    }
    EXPECT_EQ(r.position(), 0u);
}

TEST(ByteReader, HugeRecordCountFailsBeforeReading)
{
    ByteWriter w;
    w.zeros(100);
    ByteReader r(w.data(), "x");
    EXPECT_THROW(r.requireRecords(0x7FFFFFFF, 8), EGxError);
    EXPECT_NO_THROW(r.requireRecords(12, 8));
    EXPECT_NO_THROW(r.requireRecords(-5, 8));
}

TEST(ByteReader, MissingFileGivesCannotOpenMessage)
{
    TempDir dir;
    const std::string path = dir.file("absent.mod");
    try {
        ByteReader::fromFile(path);
        FAIL() << "no error";
    } catch (const EGxError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". No such file or directory");
    }
}
