#include "base/Cp1251.h"
#include "data/OrgDirectoryWriter.h"
#include "directory/OrgDirectoryLoader.h"
#include "directory/SortedComboBox.h"
#include "base/GxException.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string ru(std::string_view utf8)
{
    return cp1251::fromUtf8(utf8);
}

QStringList itemTexts(const QComboBox& box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

OrgRecord org(std::string_view name, std::string_view street)
{
    OrgRecord r;
    r.name = ru(name);
    r.streetName = ru(street);
    r.houseNo = "1";
    return r;
}

// Counts the changes the user made to the box.
struct ChangeCount {
    explicit ChangeCount(SortedComboBox& box)
    {
        QObject::connect(&box, &SortedComboBox::changedByUser, [this] { ++count; });
    }
    int count = 0;
};

void type(QWidget* target, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

void pressEnter(QWidget* target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

TEST(SortedComboBox, FillingAndSettingTextFromCodeKeepTheTextAndStayQuiet)
{
    SortedComboBox box;
    ChangeCount changed(box);
    box.AddItems({ru("Юла"), ru("аптека")});
    EXPECT_EQ(box.currentText(), "");
    box.SetRawText(ru("Мир"));
    box.AddItems({ru("Банк")});
    box.AddItem(ru("Вокзал"));
    EXPECT_EQ(box.currentText(), "Мир");
    EXPECT_EQ(itemTexts(box), QStringList({"аптека", "Банк", "Вокзал", "Юла"}));
    EXPECT_EQ(box.itemData(1, Qt::UserRole).toByteArray(), QByteArray::fromStdString(ru("Банк")));
    EXPECT_EQ(changed.count, 0);

    box.Clear();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.currentText(), "");
    EXPECT_EQ(changed.count, 0);
}

TEST(SortedComboBox, TypingIsAChangeByTheUserAndEnterAddsNothing)
{
    SortedComboBox box;
    box.AddItems({ru("Ленина")});
    ChangeCount changed(box);
    type(box.lineEdit(), "ленина");
    EXPECT_EQ(changed.count, 6);
    pressEnter(box.lineEdit());
    EXPECT_EQ(box.count(), 1);
    // Matching is case-sensitive: the typed text is not corrected to the item.
    EXPECT_EQ(box.RawText(), ru("ленина"));
}

TEST(SortedComboBox, LeavingTheBoxIsNoChangeAndAnEditForTheUserIsOne)
{
    SortedComboBox box;
    box.AddItems({ru("Ленина"), ru("Мира")});
    ChangeCount changed(box);
    type(box.lineEdit(), "Ленина");
    ASSERT_EQ(changed.count, 6);
    // What the line edit reports when the focus leaves it: Qt would pick
    // the equal item again and report a pick.
    emit box.lineEdit()->editingFinished();
    EXPECT_EQ(changed.count, 6);

    box.EditAsUser(ru("Мира"));
    EXPECT_EQ(changed.count, 7);
    EXPECT_EQ(box.currentText(), "Мира");
}

TEST(SortedComboBox, TextOutsideTheCodePageEqualsNoStoredText)
{
    SortedComboBox box;
    box.SetText(QString::fromUtf8("Ленина ✓"));
    EXPECT_FALSE(box.RawText().has_value());
    EXPECT_FALSE(box.RawText() == ru("Ленина ?"));
    box.SetText(QString());
    EXPECT_EQ(box.RawText(), std::string());
}

TEST(SortedComboBox, ALetterTypedWithACombiningMarkIsTheCodePagesOwn)
{
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {
        {"улица Гаи\u0306дара", "улица Гайдара"},
        {"Е\u0308лкина", "Ёлкина"},
        {"ё\u0301лка", "ёлка"}, // no letter of the code page takes the mark: it goes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SortedComboBox box;
        type(box.lineEdit(), QString::fromUtf8(c.typed));
        EXPECT_EQ(box.RawText(), ru(c.stored));
    }
}

TEST(LoadOrgDirectory, FillsRecordsNamesAndDistinctStreetsSorted)
{
    TempDir dir;
    const std::string path = dir.file("data.tmd");
    writeOrgDirectory({org("Почта", "Садовая"), org("Аптека", "Ленина"), org("Аптека", "ленина"),
                       org("Банк", "Ленина"), org("Вокзал", "")})
        .saveTo(path);

    OrgRecords records;
    SortedComboBox names, streets;
    LoadOrgDirectory(records, names, streets, path);

    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].name, ru("Почта"));
    EXPECT_EQ(records[4].name, ru("Вокзал"));
    EXPECT_EQ(itemTexts(names), QStringList({"Аптека", "Аптека", "Банк", "Вокзал", "Почта"}));
    EXPECT_EQ(itemTexts(streets), QStringList({"", "ленина", "Ленина", "Садовая"}));
    EXPECT_EQ(names.currentText(), "");
    EXPECT_EQ(streets.currentText(), "");
}

TEST(LoadOrgDirectory, MissingFileNamesItsFullPathAndLeavesAllEmpty)
{
    TempDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    OrgRecords records;
    SortedComboBox names, streets;
    try {
        LoadOrgDirectory(records, names, streets);
        ADD_FAILURE() << "no error";
    } catch (const EGxError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + dir.path() + "/data/data.tmd\". No such file or directory");
    }
    std::filesystem::current_path(before);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(names.count(), 0);
    EXPECT_EQ(streets.count(), 0);
}

TEST(LoadOrgDirectory, ShortFileKeepsItsWholeRecordsThenReportsIt)
{
    TempDir dir;
    const std::string path = dir.file("data.tmd");
    writeOrgDirectory({org("Почта", "Садовая"), org("Аптека", "Ленина")}, 3).saveTo(path);

    OrgRecords records;
    SortedComboBox names, streets;
    try {
        LoadOrgDirectory(records, names, streets, path);
        ADD_FAILURE() << "no error";
    } catch (const EGxError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(records.size(), 2u);
    EXPECT_EQ(itemTexts(names), QStringList({"Аптека", "Почта"}));
    EXPECT_EQ(itemTexts(streets), QStringList({"Ленина", "Садовая"}));
}
