#include "base/Cp1251.h"
#include "directory/ResultsTree.h"
#include "directory/ResultsTreeIcons.h"

#include <QHeaderView>
#include <gtest/gtest.h>

namespace {

OrgRecord entry(std::string_view name, std::string_view street, std::string_view houseNo, std::string_view phone)
{
    OrgRecord r;
    r.name = cp1251::fromUtf8(name);
    r.streetName = cp1251::fromUtf8(street);
    r.houseNo = cp1251::fromUtf8(houseNo);
    r.phone = cp1251::fromUtf8(phone);
    r.email = "mail@vereskola.ru";
    r.web = "vereskola.ru";
    return r;
}

QImage iconImage(const QIcon& icon, QIcon::Mode mode)
{
    return icon.pixmap(QSize(16, 16), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage picture(int index)
{
    return ResultsTreeIcons::Image(index).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TEST(ResultsTree, ReadOnlyWithoutButtonsOrLinesIndentedOnWhite)
{
    ResultsTree tree;
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(tree.rootIsDecorated());
    EXPECT_TRUE(tree.isHeaderHidden());
    EXPECT_EQ(tree.indentation(), 19);
    EXPECT_EQ(tree.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(tree.font().pixelSize(), 13);
    EXPECT_EQ(tree.iconSize(), QSize(16, 16));
}

TEST(ResultsTree, TwoEntriesGiveTenNodesInOrderWithTheirPictures)
{
    ResultsTree tree;
    tree.AddSimpleRecord(entry("Аптека «Здоровье»", "Ленина", "7а", "22-33-44"));
    tree.AddSimpleRecord(OrgRecord{});

    const QStringList expected = {
        "Аптека «Здоровье»", "Ленина, 7а", "тел. 22-33-44", "e-mail: mail@vereskola.ru", "web: vereskola.ru",
        "", ", ", "тел. ", "e-mail: ", "web: ",
    };
    EXPECT_EQ(tree.NodeTexts(), expected);
    ASSERT_EQ(tree.topLevelItemCount(), 2);

    const int childImages[4] = {ResultsTreeIcons::Address, ResultsTreeIcons::Phone, ResultsTreeIcons::Email,
                                ResultsTreeIcons::Web};
    for (int i = 0; i < 2; ++i) {
        const QTreeWidgetItem* org = tree.topLevelItem(i);
        EXPECT_FALSE(org->isExpanded());
        ASSERT_EQ(org->childCount(), 4);
        EXPECT_EQ(iconImage(org->icon(0), QIcon::Normal), picture(ResultsTreeIcons::Organisation));
        for (int j = 0; j < 4; ++j) {
            const QIcon icon = org->child(j)->icon(0);
            EXPECT_EQ(iconImage(icon, QIcon::Normal), picture(childImages[j])) << i << "/" << j;
            EXPECT_EQ(iconImage(icon, QIcon::Selected), picture(ResultsTreeIcons::Organisation)) << i << "/" << j;
        }
    }

    tree.Clear();
    EXPECT_TRUE(tree.NodeTexts().isEmpty());
}

TEST(ResultsTree, PicturesAreDistinctAndDrawnOnTransparency)
{
    for (int i = 0; i < ResultsTreeIcons::kCount; ++i) {
        const QImage image = ResultsTreeIcons::Image(i);
        EXPECT_EQ(image.size(), QSize(16, 16));
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 40) << i;
        EXPECT_LT(opaque, 256) << i; // some transparency around the picture
        for (int j = 0; j < i; ++j)
            EXPECT_NE(image, ResultsTreeIcons::Image(j)) << i << " " << j;
    }
}

TEST(ResultsTree, SelectingANodeExpandsItAndClosesTheBranchSelectedBefore)
{
    ResultsTree tree;
    tree.AddSimpleRecord(entry("Банк", "Мира", "1", "1"));
    tree.AddSimpleRecord(entry("Почта", "Мира", "2", "2"));
    QTreeWidgetItem* bank = tree.topLevelItem(0);
    QTreeWidgetItem* post = tree.topLevelItem(1);

    tree.setCurrentItem(bank);
    EXPECT_TRUE(bank->isExpanded());
    tree.setCurrentItem(bank->child(2)); // a line of the open organisation keeps it open
    EXPECT_TRUE(bank->isExpanded());
    tree.setCurrentItem(post);
    EXPECT_FALSE(bank->isExpanded());
    EXPECT_TRUE(post->isExpanded());
    tree.setCurrentItem(bank);
    EXPECT_TRUE(bank->isExpanded());
    EXPECT_FALSE(post->isExpanded());
}
