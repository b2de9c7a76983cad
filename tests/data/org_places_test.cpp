#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileSource.h"
#include "base/GxException.h"
#include "data/OrgPlacesReader.h"
#include "data/OrgPlacesWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>

namespace {

OrgPlace house(std::uint32_t index, std::uint16_t kind, std::string hours)
{
    OrgPlace p;
    p.place = OrgPlace::Place::House;
    p.house = index;
    p.kind = kind;
    p.hours = std::move(hours);
    return p;
}

OrgPlace point(float x, float y, std::uint16_t kind, std::string hours)
{
    OrgPlace p;
    p.place = OrgPlace::Place::Point;
    p.x = x;
    p.y = y;
    p.kind = kind;
    p.hours = std::move(hours);
    return p;
}

OrgPlace nowhere(std::uint16_t kind, std::string hours)
{
    OrgPlace p;
    p.kind = kind;
    p.hours = std::move(hours);
    return p;
}

OrgPlaces readBytes(const std::vector<char>& bytes, const std::string& fileName = "orgplaces.dat")
{
    ByteReader in(bytes, fileName);
    return readOrgPlaces(in);
}

// The error text reading `bytes` gives, or "read" when they are accepted.
std::string readOutcome(const std::vector<char>& bytes)
{
    try {
        readBytes(bytes);
        return "read";
    } catch (const EGxError& e) {
        return e.what();
    }
}

std::string damaged(const std::string& what)
{
    return "Файл \"orgplaces.dat\" повреждён: " + what;
}

std::vector<char> bytesOf(std::string_view hex)
{
    std::vector<char> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
        out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return out;
}

} // namespace

TEST(OrgPlaces, EntriesComeBackAsWritten)
{
    const std::string ascii255(255, 'x');
    // 127 two-byte letters and one byte: exactly the bound, in Cyrillic.
    std::string cyrillic255 = "Ж";
    while (cyrillic255.size() + 2 <= 255)
        cyrillic255 += "ж";
    cyrillic255 += ";";
    ASSERT_EQ(cyrillic255.size(), 255u);

    const struct {
        const char* name;
        OrgPlaces places;
    } cases[] = {
        {"no entries", {}},
        {"no place, kind 0, unknown hours", {{nowhere(0, "")}}},
        {"each place kind",
         {{house(0, 12, "Mo-Fr 09:00-18:00; Sa 10:00-16:00"), point(-470.5f, 469.25f, 3, "24/7"),
           nowhere(65535, "off")}}},
        {"largest house index and smallest float", {{house(std::numeric_limits<std::uint32_t>::max(), 1, ""),
                                                     point(std::numeric_limits<float>::denorm_min(), -0.0f, 0, "")}}},
        {"hours at the bound", {{point(1, 2, 7, ascii255), house(5, 7, cyrillic255)}}},
        {"Cyrillic and other hours",
         {{house(2, 40, "пн-пт 09:00-18:00 \"по записи\"; PH off"), nowhere(9, "Mo-Su 08:00-22:00 🕗")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteWriter written = writeOrgPlaces(c.places);
        const OrgPlaces read = readBytes(written.data());
        EXPECT_EQ(read, c.places);
        // The reader keeps no state between entries: writing again gives the same bytes.
        EXPECT_EQ(writeOrgPlaces(read).data(), written.data());
    }
}

// The layout the README describes, byte for byte.
TEST(OrgPlaces, LayoutIsMagicVersionCountThenEntries)
{
    const OrgPlaces places{{house(0x01020304, 0x0506, "Mo"), point(1.0f, -2.0f, 0, ""), nowhere(1, "")}};
    EXPECT_EQ(writeOrgPlaces(places).data(),
              bytesOf("51 56 4F 50 01 00 03 00 00 00 "         // "QVOP", version 1, 3 entries
                      "01 04 03 02 01 06 05 02 00 4D 6F "      // house 0x01020304, kind, 2 bytes "Mo"
                      "02 00 00 80 3F 00 00 00 C0 00 00 00 00 " // point (1, -2), kind 0, no hours
                      "00 01 00 00 00 "));                      // no place, kind 1, no hours
}

// Every cut of a two-entry file names where it ends: in the header, before
// the entries the count announces, or at the first field that is not whole.
TEST(OrgPlaces, EachTruncationIsRefusedWithWhereItEnds)
{
    const std::vector<char> whole = writeOrgPlaces({{house(3, 7, "24/7"), point(1.5f, -2, 0, "")}}).data();
    ASSERT_EQ(whole.size(), 36u);
    const auto shortHeader = [](std::size_t n) {
        return damaged("он короче заголовка (" + std::to_string(n) + " байт из 10)");
    };
    const auto tooFewBytes = [](std::size_t n) {
        return damaged("объявлено 2 записей, а данных осталось " + std::to_string(n - 10) + " байт");
    };
    const auto cutAt = [](std::size_t field) {
        return [field](std::size_t n) {
            return damaged("данные обрываются внутри записи (байт " + std::to_string(field) + " из "
                           + std::to_string(n) + ")");
        };
    };
    const struct {
        std::size_t from, to;
        std::function<std::string(std::size_t)> text;
    } ranges[] = {
        {0, 9, shortHeader},
        {10, 19, tooFewBytes}, // two entries need at least 10 bytes
        {20, 22, cutAt(19)},   // the first entry's hours
        {23, 23, cutAt(23)},   // the second entry's place kind
        {24, 27, cutAt(24)},   // x
        {28, 31, cutAt(28)},   // y
        {32, 33, cutAt(32)},   // kind
        {34, 35, cutAt(34)},   // hours length
    };
    for (const auto& r : ranges)
        for (std::size_t n = r.from; n <= r.to; ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(readOutcome(std::vector<char>(whole.begin(), whole.begin() + std::ptrdiff_t(n))), r.text(n));
        }
}

TEST(OrgPlaces, DamagedFilesAreRefusedSayingWhy)
{
    const auto file = [](std::uint32_t count, std::uint16_t version, const std::function<void(ByteWriter&)>& body) {
        ByteWriter out;
        writeOrgPlacesHeader(out, count, version);
        body(out);
        return out.data();
    };
    const auto entries = [](std::vector<OrgPlace> list) {
        return [list](ByteWriter& out) {
            for (const OrgPlace& p : list)
                writeOrgPlace(out, p);
        };
    };
    const auto withHours = [](std::string hours) { return nowhere(0, std::move(hours)); };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const OrgPlace good = house(1, 2, "24/7");

    std::vector<char> otherMagic = writeOrgPlaces({}).data();
    otherMagic[3] = 'Q';
    // A place kind byte the entry types do not know, by hand.
    const auto placeByte = [](std::uint8_t kind) {
        return [kind](ByteWriter& out) {
            out.uint8(kind);
            out.zeros(12);
        };
    };
    const auto hoursLength = [](std::uint16_t length) {
        return [length](ByteWriter& out) {
            out.uint8(0);
            out.int16(0);
            out.int16(static_cast<std::int16_t>(length));
            out.zeros(300);
        };
    };

    const struct {
        const char* name;
        std::vector<char> bytes;
        std::string error;
    } cases[] = {
        {"other magic", otherMagic, damaged("в начале нет метки файла мест организаций QVOP")},
        {"data.tmd given instead", std::vector<char>(24 + 273, '\0'),
         damaged("в начале нет метки файла мест организаций QVOP")},
        {"version 2", file(0, 2, entries({})), damaged("версия 2 неизвестна (программа читает версию 1)")},
        {"version 0", file(0, 0, entries({})), damaged("версия 0 неизвестна (программа читает версию 1)")},
        {"version 65535", file(0, 65535, entries({})), damaged("версия 65535 неизвестна (программа читает версию 1)")},
        {"count above the bound", file(10'000'001, 1, entries({good})),
         damaged("объявлено 10000001 записей, больше предела 10000000")},
        {"count 2^32-1", file(0xFFFFFFFFu, 1, entries({good})),
         damaged("объявлено 4294967295 записей, больше предела 10000000")},
        {"count at the bound, no bytes for it", file(10'000'000, 1, entries({good})),
         damaged("объявлено 10000000 записей, а данных осталось 13 байт")},
        {"count above the entries there", file(3, 1, entries({good, good})),
         damaged("данные обрываются внутри записи (байт 36 из 36)")},
        {"place kind 3", file(2, 1, [&](ByteWriter& out) {
             entries({good})(out);
             placeByte(3)(out);
         }),
         damaged("запись 1: неизвестный вид места 3")},
        {"place kind 255", file(1, 1, placeByte(255)), damaged("запись 0: неизвестный вид места 255")},
        {"x not a number", file(1, 1, entries({point(nan, 0, 0, "")})),
         damaged("запись 0: координаты точки не конечны")},
        {"y infinite", file(2, 1, entries({good, point(0, -inf, 0, "")})),
         damaged("запись 1: координаты точки не конечны")},
        {"hours of 256 bytes", file(1, 1, hoursLength(256)),
         damaged("запись 0: часы работы длиной 256 байт, больше 255")},
        {"hours of 65535 bytes", file(1, 1, hoursLength(65535)),
         damaged("запись 0: часы работы длиной 65535 байт, больше 255")},
        {"hours in Windows-1251", file(1, 1, entries({withHours("\xCF\xED-\xCF\xF2")})),
         damaged("запись 0: часы работы не в кодировке UTF-8")},
        {"hours with an overlong form", file(1, 1, entries({withHours("Mo\xC0\xAF")})),
         damaged("запись 0: часы работы не в кодировке UTF-8")},
        {"hours with a surrogate", file(1, 1, entries({withHours("\xED\xA0\x80")})),
         damaged("запись 0: часы работы не в кодировке UTF-8")},
        {"hours cut inside a letter", file(1, 1, entries({withHours("пн\xD0")})),
         damaged("запись 0: часы работы не в кодировке UTF-8")},
        {"a byte after the last entry", file(1, 1, [&](ByteWriter& out) {
             entries({good})(out);
             out.uint8(0);
         }),
         damaged("после последней записи ещё 1 байт")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readOutcome(c.bytes), c.error);
    }
}

TEST(OrgPlaces, WriterRefusesWhatTheReaderWould)
{
    const struct {
        const char* name;
        OrgPlace entry;
    } cases[] = {
        {"place kind 3", [] { OrgPlace p; p.place = OrgPlace::Place(3); return p; }()},
        {"x infinite", point(std::numeric_limits<float>::infinity(), 0, 0, "")},
        {"y not a number", point(0, std::numeric_limits<float>::quiet_NaN(), 0, "")},
        {"hours of 256 bytes", nowhere(0, std::string(256, 'x'))},
        {"hours not UTF-8", house(0, 0, "\xFF")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(writeOrgPlaces({{nowhere(0, ""), c.entry}}), std::invalid_argument);
    }
}

TEST(OrgPlaces, ValidateAgainstTheDirectoryAndTheTown)
{
    const OrgPlaces places{{house(4, 1, ""), point(3, 4, 0, ""), nowhere(0, ""), house(0, 2, "")}};
    const struct {
        std::size_t orgCount, houseCount;
        std::string error; // empty: accepted
    } cases[] = {
        {4, 5, ""},
        {100, 5, ""}, // organisations past the entries have no place
        {3, 5, "Файл \"/town/orgplaces.dat\" повреждён: в нём 4 записей, а в справочнике data.tmd 3 организаций"},
        {0, 5, "Файл \"/town/orgplaces.dat\" повреждён: в нём 4 записей, а в справочнике data.tmd 0 организаций"},
        {4, 4, "Файл \"/town/orgplaces.dat\" повреждён: запись 0: дом с индексом 4, а в data.mod 4 домов"},
        {4, 0, "Файл \"/town/orgplaces.dat\" повреждён: запись 0: дом с индексом 4, а в data.mod 0 домов"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.orgCount) + " organisations, " + std::to_string(c.houseCount) + " houses");
        std::string error;
        try {
            validateOrgPlaces(places, c.orgCount, c.houseCount, "/town/orgplaces.dat");
        } catch (const EGxError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
    }
    // Points and no place need no house at all.
    EXPECT_NO_THROW(validateOrgPlaces({{point(1, 1, 0, ""), nowhere(0, "")}}, 2, 0));
}

TEST(OrgPlaces, FileOnDiskMissingPresentFolderOrDamaged)
{
    TempDir dir;
    const OrgPlaces places{{house(1, 2, "Mo-Fr 09:00-18:00"), point(5, 6, 7, "")}};
    writeOrgPlaces(places).saveTo(dir.file("orgplaces.dat"));
    mkdir(dir.file("folder.dat").c_str(), 0755);
    std::vector<char> cut = writeOrgPlaces(places).data();
    cut.pop_back();
    ByteWriter damagedFile;
    damagedFile.bytes(std::string_view(cut.data(), cut.size()));
    damagedFile.saveTo(dir.file("cut.dat"));

    EXPECT_EQ(readOrgPlacesFile(dir.file("absent.dat")), std::nullopt);
    EXPECT_EQ(readOrgPlacesFile(dir.file("no-folder/orgplaces.dat")), std::nullopt);
    EXPECT_EQ(readOrgPlacesFile(dir.file("orgplaces.dat")), places);
    const struct {
        std::string path;
        std::string error;
    } refused[] = {
        {dir.file("folder.dat"), "Cannot open file \"" + dir.file("folder.dat") + "\". Is a directory"},
        {dir.file("cut.dat"), "Файл \"" + dir.file("cut.dat") + "\" повреждён: данные обрываются внутри записи (байт 47 из 48)"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        try {
            readOrgPlacesFile(c.path);
            ADD_FAILURE() << "read";
        } catch (const EGxError& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
}

// Files served from memory (the fuzzers, tests of a town) are found there.
TEST(OrgPlaces, FileFromTheReadersSource)
{
    const OrgPlaces places{{point(-1, 1, 3, "24/7")}};
    MemoryFileSource files;
    files.add("/town/data/orgplaces.dat", writeOrgPlaces(places).data());
    const ScopedFileSource source(files);
    EXPECT_EQ(readOrgPlacesFile("/town/data/orgplaces.dat"), places);
    EXPECT_EQ(readOrgPlacesFile("/town/data/absent.dat"), std::nullopt);
}
