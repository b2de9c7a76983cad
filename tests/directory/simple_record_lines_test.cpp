#include "base/Cp1251.h"
#include "directory/ResultsTree.h"
#include "directory/ResultsTreeIcons.h"

#include <gtest/gtest.h>

namespace {

std::string ru(std::string_view utf8)
{
    return cp1251::fromUtf8(utf8);
}

} // namespace

TEST(SimpleRecordLines, EntryGivesNameAddressPhoneEmailWeb)
{
    OrgRecord e;
    e.name = ru("Аптека «Здоровье»");
    e.phone = "22-33-44";
    e.streetName = ru("Ленина");
    e.email = "apteka@vereskola.ru";
    e.houseNo = ru("7а");
    e.web = "www.apteka.ru";
    const SimpleRecordLines r = SimpleRecordLines::From(e);
    EXPECT_EQ(r.lines[0], ru("Аптека «Здоровье»"));
    EXPECT_EQ(r.lines[1], ru("Ленина, 7а"));
    EXPECT_EQ(r.lines[2], ru("тел. 22-33-44"));
    EXPECT_EQ(r.lines[3], "e-mail: apteka@vereskola.ru");
    EXPECT_EQ(r.lines[4], "web: www.apteka.ru");
    const std::array<int, 5> images = {ResultsTreeIcons::Organisation, ResultsTreeIcons::Address,
                                       ResultsTreeIcons::Phone, ResultsTreeIcons::Email, ResultsTreeIcons::Web};
    EXPECT_EQ(SimpleRecordLines::kImages, images);
}

TEST(SimpleRecordLines, EmptyEntryStillGivesEveryLine)
{
    const SimpleRecordLines r = SimpleRecordLines::From(OrgRecord{});
    EXPECT_EQ(r.lines[0], "");
    EXPECT_EQ(r.lines[1], ", ");
    EXPECT_EQ(r.lines[2], ru("тел. "));
    EXPECT_EQ(r.lines[3], "e-mail: ");
    EXPECT_EQ(r.lines[4], "web: ");
}

TEST(SimpleRecordLines, FullFieldsAreNotCutLongerOnesAre)
{
    OrgRecord full;
    full.name = std::string(100, 'n');
    full.phone = std::string(21, 'p');
    full.streetName = std::string(30, 's');
    full.email = std::string(30, 'e');
    full.houseNo = "12345";
    full.web = std::string(30, 'w');
    const SimpleRecordLines f = SimpleRecordLines::From(full);
    EXPECT_EQ(f.lines[0], full.name);
    EXPECT_EQ(f.lines[1], full.streetName + ", 12345");
    EXPECT_EQ(f.lines[2].size(), 26u);
    EXPECT_EQ(f.lines[3], "e-mail: " + full.email);
    EXPECT_EQ(f.lines[4], "web: " + full.web);

    // A key built from a longer house street loses the ", " before the number.
    OrgRecord longer = full;
    longer.streetName = std::string(31, 's');
    longer.houseNo = "1234567";
    EXPECT_EQ(SimpleRecordLines::From(longer).lines[1], std::string(31, 's') + ",12345");
    longer.name = std::string(120, 'n');
    EXPECT_EQ(SimpleRecordLines::From(longer).lines[0], std::string(100, 'n'));
}
