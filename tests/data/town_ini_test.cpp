#include "data/TownIniReader.h"
#include "data/TownIniWriter.h"

#include "support/TempDir.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

TEST(TownIni, TitleOfTheTownSection)
{
    const struct {
        const char* what;
        std::string text;
        std::optional<std::string> title;
    } cases[] = {
        {"plain", "[town]\ntitle=Москва, Тверской район\n", "Москва, Тверской район"},
        {"CRLF, spaces, BOM", "\xEF\xBB\xBF[town]\r\n  title =  Тверь \r\n", "Тверь"},
        {"names in any ASCII case", "[Town]\nTITLE=Тверь", "Тверь"},
        {"value keeps later '='", "[town]\ntitle=a=b", "a=b"},
        {"comments skipped", "; made by hand\n[town]\n# title=old\ntitle=new\n", "new"},
        {"later key wins", "[town]\ntitle=one\ntitle=two\n", "two"},
        {"other sections ignored", "[other]\ntitle=no\n[town]\nname=x\n", std::nullopt},
        {"key before any section", "title=no\n", std::nullopt},
        {"section left", "[town]\ntitle=yes\n[other]\ntitle=no\n", "yes"},
        {"empty title", "[town]\ntitle=  \n", std::nullopt},
        {"byte order marks around the title", "[town]\ntitle=\xEF\xBB\xBF Тверь\xEF\xBB\xBF\t\n", "Тверь"},
        {"nothing but a byte order mark", "[town]\ntitle=\xEF\xBB\xBF\t\n", std::nullopt},
        {"unclosed section name", "[town\ntitle=no\n", std::nullopt},
        {"line without '='", "[town]\ntitle\n", std::nullopt},
        {"empty file", "", std::nullopt},
        {"not UTF-8: bytes as they are", "[town]\ntitle=\xCC\xEE\xF1\xEA\xE2\xE0", "\xCC\xEE\xF1\xEA\xE2\xE0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseTownTitle(c.text), c.title) << c.what;
}

TEST(TownIni, WrittenTitleReadsBackAsGiven)
{
    const struct {
        std::string given, readBack;
    } cases[] = {
        {"Москва, Тверской район", "Москва, Тверской район"},
        {"  Тверь\t", "Тверь"},
        {"two\nlines\r\n", "two lines"},
        {"x = [y]; # z", "x = [y]; # z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseTownTitle(writeTownIni(c.given)), c.readBack) << c.given;
    EXPECT_EQ(writeTownIni("Тверь"), "[town]\ntitle=Тверь\n");
    EXPECT_EQ(parseTownTitle(writeTownIni(" \n ")), std::nullopt);
}

TEST(TownIni, FileBesideTheDataIsOptional)
{
    TempDir folder;
    EXPECT_EQ(readTownTitle(folder.path()), std::nullopt);
    EXPECT_EQ(readTownTitle(folder.path() + "/missing"), std::nullopt);
    std::filesystem::create_directories(folder.file("odd/town.ini"));
    EXPECT_EQ(readTownTitle(folder.file("odd")), std::nullopt) << "a folder named town.ini";

    std::ofstream(folder.file("town.ini"), std::ios::binary) << writeTownIni("Тверь");
    EXPECT_EQ(readTownTitle(folder.path()), "Тверь");

    // A huge file is read only so far: the title on its first line is still found.
    std::ofstream(folder.file("town.ini"), std::ios::binary)
        << writeTownIni("Тверь") << std::string(kTownIniReadLimit * 2, '#');
    EXPECT_EQ(readTownTitle(folder.path()), "Тверь");
}
