#include "base/Cp1251.h"
#include "directory/SortedListModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> encoded(const std::vector<std::string_view>& utf8)
{
    std::vector<std::string> out;
    for (std::string_view s : utf8)
        out.push_back(cp1251::fromUtf8(s));
    return out;
}

std::vector<std::string> itemsOf(const SortedListModel& model)
{
    std::vector<std::string> out;
    for (int i = 0; i < model.Count(); ++i)
        out.push_back(model.Raw(i));
    return out;
}

} // namespace

TEST(SortedListModel, RussianAlphabeticalOrderIgnoringCaseWhateverTheFillingOrder)
{
    // The expected order: Ё sorts with Е, letter case is not a primary
    // difference, and equal texts under that order keep a fixed order.
    const std::vector<std::string> sorted = encoded({
        "1-я Линия", "аптека", "Аптека", "Аптека №2", "бар", "Елена", "ёлка", "Жук", "Щит", "щука", "Юла", "яблоко",
    });
    std::vector<std::string> reversed(sorted.rbegin(), sorted.rend());
    std::vector<std::string> shuffled = sorted;
    std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());
    std::swap(shuffled[0], shuffled[7]);

    SortedListModel bulk;
    bulk.AddItems(reversed);
    EXPECT_EQ(itemsOf(bulk), sorted);

    SortedListModel oneByOne;
    for (const std::string& s : shuffled)
        oneByOne.AddItem(s);
    EXPECT_EQ(itemsOf(oneByOne), sorted);

    SortedListModel twoBatches;
    twoBatches.AddItems({shuffled.begin(), shuffled.begin() + 6});
    twoBatches.AddItems({shuffled.begin() + 6, shuffled.end()});
    EXPECT_EQ(itemsOf(twoBatches), sorted);
}

TEST(SortedListModel, KeepsDuplicatesAndEmptyItemsAndTheirRawBytes)
{
    SortedListModel model;
    const std::string name = cp1251::fromUtf8("Почта");
    model.AddItems({name, "", name});
    model.AddItem(name);
    ASSERT_EQ(model.Count(), 4);
    EXPECT_EQ(model.Raw(0), "");
    EXPECT_EQ(model.FindRaw(name), 1);
    EXPECT_EQ(model.FindRaw(cp1251::fromUtf8("почта")), -1);

    const QModelIndex index = model.index(3);
    EXPECT_EQ(model.data(index, Qt::DisplayRole).toString(), QString::fromUtf8("Почта"));
    EXPECT_EQ(model.data(index, Qt::UserRole).toByteArray(), QByteArray::fromStdString(name));

    model.Clear();
    EXPECT_EQ(model.Count(), 0);
}
