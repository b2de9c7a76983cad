#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "data/OrgDirectoryReader.h"
#include "data/OrgDirectoryWriter.h"
#include "base/GxException.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ru(std::string_view utf8)
{
    return cp1251::fromUtf8(utf8);
}

OrgRecord org(std::string_view name, std::string_view street, std::string_view houseNo = "1")
{
    OrgRecord r;
    r.name = ru(name);
    r.streetName = ru(street);
    r.houseNo = ru(houseNo);
    r.phone = "22-33-44";
    r.email = "info@example.ru";
    r.web = "example.ru";
    return r;
}

OrgDirectory readBytes(const std::vector<char>& bytes, const std::string& fileName = "data.tmd")
{
    ByteReader in(bytes, fileName);
    return readOrgDirectory(in);
}

std::vector<std::string> encoded(std::initializer_list<std::string_view> utf8)
{
    std::vector<std::string> out;
    for (std::string_view s : utf8)
        out.push_back(ru(s));
    return out;
}

} // namespace

TEST(OrgDirectoryReader, KeepsFileOrderEveryNameAndEachDistinctStreetByBytes)
{
    const OrgRecords records = {
        org("Аптека", "Ленина", "5"),
        org("Почта", "ленина", "7а"),  // differs only in case: a street of its own
        org("Аптека", "Ленина", "12"), // same name again, byte-identical street
        org("Склад", ""),
        org("Гараж", ""),
    };
    const OrgDirectory dir = readBytes(writeOrgDirectory(records).data());

    ASSERT_EQ(dir.records.size(), 5u);
    EXPECT_FALSE(dir.truncationError);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(dir.records[i].name, records[i].name) << i;
        EXPECT_EQ(dir.records[i].streetName, records[i].streetName) << i;
        EXPECT_EQ(dir.records[i].houseNo, records[i].houseNo) << i;
        EXPECT_EQ(dir.records[i].phone, records[i].phone) << i;
        EXPECT_EQ(dir.records[i].email, records[i].email) << i;
        EXPECT_EQ(dir.records[i].web, records[i].web) << i;
    }
    EXPECT_EQ(dir.names, encoded({"Аптека", "Почта", "Аптека", "Склад", "Гараж"}));
    EXPECT_EQ(dir.streets, encoded({"Ленина", "ленина", ""}));
}

TEST(OrgDirectoryReader, ReservedBytesMayHoldAnything)
{
    ByteWriter record;
    writeOrgRecord(record, org("Банк", "Мира", "3"));
    std::string bytes(record.data().begin(), record.data().end());
    for (std::size_t i = OrgRecord::kRecordSize - OrgRecord::kReservedSize; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0xA5 ^ i);

    ByteWriter file;
    file.int32(2);
    file.bytes(std::string(OrgRecord::kHeaderSize - 4, '\xFF'));
    file.bytes(bytes);
    file.bytes(bytes);
    const OrgDirectory dir = readBytes(file.data());

    ASSERT_EQ(dir.records.size(), 2u);
    EXPECT_EQ(dir.records[1].name, ru("Банк"));
    EXPECT_EQ(dir.records[1].web, "example.ru");
    EXPECT_EQ(dir.streets, encoded({"Мира"}));
}

TEST(OrgDirectoryReader, LengthByteAboveCapacityIsClippedToTheField)
{
    const std::string longName(OrgRecord::kNameCapacity, 'N');
    ByteWriter file;
    file.int32(1);
    file.zeros(OrgRecord::kHeaderSize - 4);
    file.shortStringRaw(255, longName, OrgRecord::kNameCapacity);
    file.shortString("1", OrgRecord::kPhoneCapacity);
    file.shortString(ru("Садовая"), OrgRecord::kStreetCapacity);
    file.shortString("a@b", OrgRecord::kEmailCapacity);
    file.shortStringRaw(200, "12345", OrgRecord::kHouseNoCapacity);
    file.shortString("w", OrgRecord::kWebCapacity);
    file.zeros(OrgRecord::kReservedSize);
    const OrgDirectory dir = readBytes(file.data());

    ASSERT_EQ(dir.records.size(), 1u);
    EXPECT_EQ(dir.records[0].name, longName);
    EXPECT_EQ(dir.records[0].houseNo, "12345");
    EXPECT_EQ(dir.records[0].streetName, ru("Садовая"));
    EXPECT_EQ(dir.records[0].web, "w");
}

// Counts of zero or less mean no records; bytes after the announced records
// are not read; a count beyond the data keeps the whole records there and
// names the file.
TEST(OrgDirectoryReader, RecordCountAgainstTheDataPresent)
{
    const OrgRecords three = {org("А", "Х"), org("Б", "Y"), org("В", "Х")};
    struct Case {
        std::int32_t announced;
        std::size_t extraBytes;
        std::size_t expectedRecords;
        bool truncated;
    };
    const Case cases[] = {
        {0, 0, 0, false},
        {-1, 0, 0, false},
        {INT_MIN, 0, 0, false},
        {2, 0, 2, false},
        {3, 0, 3, false},
        {4, 100, 3, true},
        {INT_MAX, 0, 3, true},
    };
    for (const Case& c : cases) {
        ByteWriter file = writeOrgDirectory(three, c.announced);
        file.zeros(c.extraBytes);
        const OrgDirectory dir = readBytes(file.data(), "/srv/town/data/data.tmd");
        EXPECT_EQ(dir.records.size(), c.expectedRecords) << c.announced;
        EXPECT_EQ(dir.names.size(), c.expectedRecords) << c.announced;
        ASSERT_EQ(dir.truncationError.has_value(), c.truncated) << c.announced;
        if (c.truncated)
            EXPECT_NE(dir.truncationError->find("\"/srv/town/data/data.tmd\""), std::string::npos)
                << *dir.truncationError;
    }
}

TEST(OrgDirectoryReader, FileShorterThanItsHeaderFailsNamingIt)
{
    for (std::size_t size : {0u, 3u, 23u}) {
        const std::vector<char> bytes(size, '\x01');
        try {
            readBytes(bytes, "/srv/town/data/data.tmd");
            FAIL() << "no error for " << size << " bytes";
        } catch (const EGxError& e) {
            EXPECT_NE(std::string(e.what()).find("\"/srv/town/data/data.tmd\""), std::string::npos) << e.what();
        }
    }
}

namespace {

// What reading the directory at `path` gives: the record count and the
// first name, or the error's text.
std::string readOutcome(const std::string& path)
{
    try {
        const OrgDirectory loaded = readOrgDirectoryFile(path);
        return std::to_string(loaded.records.size()) + " record(s), first "
               + (loaded.names.empty() ? std::string("none") : cp1251::decode(loaded.names[0]).toStdString());
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Runs `body` inside `folder` without the right to override file
// permissions: as is for an ordinary user; when running as root, in a child
// process switched to "nobody", whose text comes back through a pipe. The
// child starts in the folder, so the folders above it (a temporary folder
// only its owner may enter, a clone under /root) need not be open to it.
std::string inFolderWithoutPrivileges(const std::string& folder, const std::function<std::string()>& body)
{
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0)
        return "cannot open the folder: " + std::string(std::strerror(errno));
    const int previous = open(".", O_RDONLY | O_DIRECTORY);
    if (geteuid() != 0) {
        std::string got = fchdir(dir) == 0 ? body() : "cannot enter the folder";
        if (previous >= 0 && fchdir(previous) != 0)
            got += " (and cannot go back)";
        close(dir);
        if (previous >= 0)
            close(previous);
        return got;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string got;
        if (fchdir(dir) != 0 || setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            got = "cannot become nobody in the folder: " + std::string(std::strerror(errno));
        else
            got = body();
        for (std::size_t done = 0; done < got.size();) {
            const ssize_t n = write(pipeEnds[1], got.data() + done, got.size() - done);
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        _exit(0);
    }
    close(pipeEnds[1]);
    close(dir);
    if (previous >= 0)
        close(previous);
    std::string got;
    char chunk[512];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        got.append(chunk, std::size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        got += " (the child ended abnormally, status " + std::to_string(status) + ")";
    return got;
}

// Writes data.tmd with the given mode in a folder everyone may enter.
void installDirectory(const TempDir& dir, mode_t mode)
{
    chmod(dir.path().c_str(), 0755);
    const std::string path = dir.file("data.tmd");
    writeOrgDirectory({org("Аптека", "Ленина")}).saveTo(path);
    chmod(path.c_str(), mode);
}

} // namespace

TEST(OrgDirectoryReader, ReadOnlyFileLoads)
{
    TempDir dir;
    installDirectory(dir, 0444);
    EXPECT_EQ(inFolderWithoutPrivileges(dir.path(), [] { return readOutcome("data.tmd"); }),
              "1 record(s), first Аптека");
}

TEST(OrgDirectoryReader, UnopenableFileGivesCannotOpenMessage)
{
    TempDir dir;
    installDirectory(dir, 0000);
    mkdir(dir.file("folder.tmd").c_str(), 0755);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {"absent.tmd", "No such file or directory"},
        {"data.tmd", "Permission denied"},
        {"folder.tmd", "Is a directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inFolderWithoutPrivileges(dir.path(), [&] { return readOutcome(c.path); }),
                  "Cannot open file \"" + c.path + "\". " + c.reason);
}
