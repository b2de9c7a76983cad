#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"

#include "directory/ResultsTree.h"
#include "directory/SortedComboBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include "engine/scene/GxSceneViewer.h"
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace {
struct Placed {
    const char* name;
    QRect designed; // in its parent's client pixels
    QRect grown;    // after the window grew by 100 x 50
    bool visible;
};

// The design: every control where the window's design puts it, and where its
// anchors take it when the window grows.
const Placed kLayout[] = {
    {"PageControl", {8, 16, 601, 468}, {8, 16, 701, 518}, true},
    // Grown below the designed search button by the kinds and "open now".
    {"sGroupBox1", {616, 14, 241, 209}, {716, 14, 241, 209}, true},
    {"sLabel1", {10, 24, 135, 13}, {10, 24, 135, 13}, true},
    {"OrgName", {8, 40, 225, 21}, {8, 40, 225, 21}, true},
    {"sLabel2", {8, 64, 37, 13}, {8, 64, 37, 13}, true},
    {"sLabel3", {187, 64, 14, 13}, {187, 64, 14, 13}, true},
    {"Street", {8, 80, 169, 21}, {8, 80, 169, 21}, true},
    {"HouseEdit", {184, 80, 49, 21}, {184, 80, 49, 21}, true},
    {"bt_search", {8, 112, 225, 25}, {8, 112, 225, 25}, true},
    {"sLabelKind", {8, 142, 80, 13}, {8, 142, 80, 13}, true},
    {"cb_kind", {8, 158, 225, 21}, {8, 158, 225, 21}, true},
    {"ch_opennow", {8, 184, 225, 17}, {8, 184, 225, 17}, true},
    {"TreeView", {616, 232, 241, 252}, {716, 232, 241, 302}, true},
    {"bt_print", {616, 5, 22, 25}, {716, 5, 22, 25}, false},
    {"bt_Settings", {645, 5, 25, 25}, {745, 5, 25, 25}, false},
    {"bt_info", {679, 5, 25, 25}, {779, 5, 25, 25}, false},
    {"PrintEdit", {208, 448, 25, 25}, {208, 448, 25, 25}, false},
};
} // namespace

class MainWindowLayout : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        writeEmptyTown();
        start();
        main = windows->fm_main;
        main->show();
        ASSERT_TRUE(waitUntil([&] { return main->isVisible(); }, 2000));
    }

    QWidget* control(const char* name) { return main->findChild<QWidget*>(name); }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
};

TEST_F(MainWindowLayout, ControlsStandWhereDesignedAndFollowTheirAnchors)
{
    EXPECT_EQ(main->objectName(), "fm_main");
    EXPECT_EQ(main->size(), QSize(862, 493));
    for (const Placed& p : kLayout) {
        QWidget* w = control(p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.designed) << p.name;
        EXPECT_EQ(w->isVisibleTo(main), p.visible) << p.name;
    }
    // The map view fills its sheet at the size the camera's field of view is designed for.
    EXPECT_EQ(ui().GxSceneViewer->size(), QSize(593, 440));
    EXPECT_EQ(ui().GxSceneViewer->parentWidget(), ui().MapSheet);

    main->resize(962, 543);
    for (const Placed& p : kLayout)
        EXPECT_EQ(control(p.name)->geometry(), p.grown) << p.name;
    EXPECT_EQ(ui().GxSceneViewer->size(), QSize(693, 490));
}

TEST_F(MainWindowLayout, CaptionsHintsAndNames)
{
    EXPECT_EQ(main->windowTitle(), "Электронный справочник организаций города Верескола - демонстрационная версия");
    EXPECT_EQ(ui().PageControl->count(), 1);
    EXPECT_EQ(ui().PageControl->currentWidget(), ui().MapSheet);
    EXPECT_EQ(ui().PageControl->tabText(0), "Схема города");
    EXPECT_EQ(ui().sGroupBox1->title(), "Поиск по карте");
    EXPECT_EQ(ui().bt_search->text(), "Поиск");
    EXPECT_EQ(ui().bt_print->toolTip(), "Печать");
    EXPECT_EQ(ui().bt_Settings->toolTip(), "Настройки");
    EXPECT_EQ(ui().bt_info->toolTip(), "Справка");
    EXPECT_EQ(ui().N1->text(), "Изображение");
    EXPECT_EQ(ui().N2->text(), "Организации");

    // Each combo box is named by its label.
    const struct {
        QLabel* label;
        QComboBox* box;
        const char* text;
    } labelled[] = {{ui().sLabel1, ui().OrgName, "Название организации"},
                    {ui().sLabel2, ui().Street, "Улица"},
                    {ui().sLabel3, ui().HouseEdit, "№ "}};
    for (const auto& l : labelled) {
        EXPECT_EQ(l.label->text(), l.text);
        EXPECT_EQ(l.label->buddy(), l.box) << l.text;
        EXPECT_FALSE(l.box->accessibleName().isEmpty()) << l.text;
        EXPECT_EQ(l.box->accessibleName(), QString::fromUtf8(l.text).trimmed()) << l.text;
        EXPECT_TRUE(l.box->isEditable()) << l.text;
    }

    // Designed tab order inside the search panel: name, number, search, street.
    const QList<QWidget*> panel = {ui().OrgName, ui().HouseEdit, ui().bt_search, ui().Street};
    QList<QWidget*> order;
    for (QWidget* w = ui().OrgName; order.size() < panel.size(); w = w->nextInFocusChain())
        if (panel.contains(w) && !order.contains(w))
            order << w;
    EXPECT_EQ(order, panel);
}

TEST_F(MainWindowLayout, FontsAndColoursOfTheDesign)
{
    const QColor grey(128, 128, 128);
    EXPECT_EQ(main->font().pixelSize(), 11);
    EXPECT_EQ(ui().sLabel1->font().family(), "Verdana");
    EXPECT_EQ(ui().sLabel1->palette().color(QPalette::WindowText), grey);
    EXPECT_EQ(ui().bt_search->palette().color(QPalette::ButtonText), grey);
    EXPECT_EQ(ui().TreeView->font().pixelSize(), 13);
    EXPECT_EQ(ui().OrgName->font().family(), "MS Sans Serif");
    // Missing Windows fonts are drawn with installed ones that have Cyrillic glyphs.
    for (const char* family : {"MS Sans Serif", "Verdana", "Myriad Web Pro"}) {
        const QFontInfo shown(pixelFont(family, 11));
        EXPECT_TRUE(shown.family() == family || shown.family().startsWith("DejaVu Sans")
                    || shown.family().startsWith("Liberation Sans"))
            << family << " shown as " << shown.family().toStdString();
    }
}
