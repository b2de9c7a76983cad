// The search lists and the results tree on screen. Set QUORVEL_SCREENSHOT_DIR
// to keep a picture of the screen (directory_lists_and_tree.png). The checks
// use the tree's own rendering: windows of tests running beside this one may
// cover parts of the screen.
#include "base/Cp1251.h"
#include "data/OrgDirectoryWriter.h"
#include "directory/OrgDirectoryLoader.h"
#include "directory/ResultsTree.h"
#include "directory/ResultsTreeIcons.h"
#include "directory/SortedComboBox.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void settle(int ms = 300)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

OrgRecord org(std::string_view name, std::string_view street, std::string_view houseNo, std::string_view phone)
{
    OrgRecord r;
    r.name = cp1251::fromUtf8(name);
    r.streetName = cp1251::fromUtf8(street);
    r.houseNo = cp1251::fromUtf8(houseNo);
    r.phone = cp1251::fromUtf8(phone);
    r.email = "info@vereskola.ru";
    r.web = "www.vereskola.ru";
    return r;
}

// True when the picture, laid on white, appears pixel for pixel inside `area` of `shot`.
bool showsPicture(const QImage& shot, QRect area, const QImage& picture)
{
    QImage onWhite(picture.size(), QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    QPainter(&onWhite).drawImage(0, 0, picture);
    const auto close = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2
               && std::abs(qBlue(a) - qBlue(b)) <= 2;
    };
    for (int y = area.top(); y + 16 <= area.bottom() + 1; ++y)
        for (int x = area.left(); x + 16 <= area.right() + 1; ++x) {
            bool all = true;
            for (int j = 0; j < 16 && all; ++j)
                for (int i = 0; i < 16 && all; ++i)
                    all = close(shot.pixel(x + i, y + j), onWhite.pixel(i, j));
            if (all)
                return true;
        }
    return false;
}

} // namespace

TEST(DirectoryScreen, SortedListsAndTheTreeWithItsPictures)
{
    const OrgRecords records = {
        org("Школа № 3", "Садовая", "12", "2-11-03"),
        org("Аптека «Здоровье»", "Ленина", "7а", "2-33-44"),
        org("ёлочные игрушки", "Мира", "1", "2-00-01"),
        org("Библиотека", "Садовая", "4", "2-45-67"),
        org("автосервис «Колесо»", "Лесная", "9", "2-98-76"),
        org("Вокзал", "Привокзальная", "1", "2-10-10"),
        org("Почта", "Ленина", "7а", "2-12-12"),
        org("Дом культуры", "Мира", "5", "2-55-55"),
        org("Елена, парикмахерская", "Лесная", "2", "2-66-77"),
        org("Жилищная контора", "Садовая", "20", "2-20-20"),
    };
    TempDir dir;
    const std::string path = dir.file("data.tmd");
    writeOrgDirectory(records).saveTo(path);

    QWidget window;
    window.setWindowTitle(QString::fromUtf8("Поиск по карте"));
    window.setGeometry(40, 40, 520, 330);
    window.setAutoFillBackground(true);
    auto* box = new QGroupBox(QString::fromUtf8("Поиск по карте"), &window);
    box->setGeometry(8, 8, 241, 153);
    auto* orgName = new SortedComboBox(box);
    orgName->setGeometry(8, 40, 225, 21);
    auto* street = new SortedComboBox(box);
    street->setGeometry(8, 80, 169, 21);
    auto* tree = new ResultsTree(&window);
    tree->setGeometry(264, 14, 241, 300);

    OrgRecords loaded;
    LoadOrgDirectory(loaded, *orgName, *street, path);
    // An address search that found two organisations, the first one selected.
    tree->AddSimpleRecord(loaded[1]);
    tree->AddSimpleRecord(loaded[6]);
    tree->setCurrentItem(tree->topLevelItem(0));

    window.show();
    settle();
    orgName->showPopup();
    settle();

    QStringList shown;
    for (int i = 0; i < orgName->view()->model()->rowCount(); ++i)
        shown << orgName->view()->model()->index(i, 0).data().toString();
    EXPECT_EQ(shown, QStringList({"автосервис «Колесо»", "Аптека «Здоровье»", "Библиотека", "Вокзал", "Дом культуры",
                                  "Елена, парикмахерская", "ёлочные игрушки", "Жилищная контора", "Почта",
                                  "Школа № 3"}));
    EXPECT_EQ(orgName->currentText(), "");

    if (const QByteArray out = qgetenv("QUORVEL_SCREENSHOT_DIR"); !out.isEmpty())
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(out)
                                                             + "/directory_lists_and_tree.png");
    const QImage shot = tree->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The open organisation's lines show their pictures; the collapsed one shows its own.
    const QTreeWidgetItem* first = tree->topLevelItem(0);
    ASSERT_TRUE(first->isExpanded());
    const int images[4] = {ResultsTreeIcons::Address, ResultsTreeIcons::Phone, ResultsTreeIcons::Email,
                           ResultsTreeIcons::Web};
    for (int j = 0; j < 4; ++j) {
        const QRect row = tree->visualItemRect(first->child(j));
        EXPECT_TRUE(showsPicture(shot, row, ResultsTreeIcons::Image(images[j]))) << j;
    }
    const QRect second = tree->visualItemRect(tree->topLevelItem(1));
    EXPECT_TRUE(showsPicture(shot, second, ResultsTreeIcons::Image(ResultsTreeIcons::Organisation)));
    orgName->hidePopup();
}
