#pragma once

// The main window over a small town with organisations that have contacts,
// shown and active, driven with key and mouse events through QTest.
#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "directory/ResultsTree.h"
#include "directory/Selection.h"
#include "directory/SortedComboBox.h"
#include "engine/materials/GxMaterial.h"
#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxSceneViewer.h"
#include "platform/LinkOpener.h"
#include "map/House.h"

#include <QtTest/QTest>

// Street and number of every red house of the window's map, in child order.
inline std::vector<std::string> redHouseAddresses(Tfm_main& main)
{
    std::vector<std::string> red;
    main.MapSelection().ForEachHouse([&](Thouse& h) {
        if (h.Material().FrontProperties().Diffuse().Vector() == std::array<float, 4>{1, 0, 0, 1})
            red.push_back(cp1251::decode(h.params()[0] + " " + h.params()[1]).toStdString());
    });
    return red;
}

class RecordingLinkOpener : public LinkOpener {
public:
    explicit RecordingLinkOpener(std::vector<QUrl>& opened) : m_opened(opened) {}
    void Open(const QUrl& url) override { m_opened.push_back(url); }

private:
    std::vector<QUrl>& m_opened;
};

class SearchWindow : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        TownModel town;
        town.houses = {fixtureHouse("улица Ленина", "5", 0, 0, 3),  fixtureHouse("улица Ленина", "7", 10, 0, 3),
                       fixtureHouse("Садовая", "12", 20, 0, 3),      fixtureHouse("Садовая", "8 к2", 30, 0, 3),
                       fixtureHouse("улица Ленина", "50", 40, 0, 3), fixtureHouse("Садовая", "8", 50, 0, 3)};
        OrgRecord pharmacy = fixtureOrg("Аптека «Здоровье»", "улица Ленина", "7", "22-33-44");
        pharmacy.email = "apteka@zdorovie.ru";
        pharmacy.web = "zdorovie.ru";
        OrgRecord cafe = fixtureOrg("Кафе «Уют»", "улица Ленина", "5", "2-11-03");
        cafe.email = cp1251::fromUtf8("нет");
        cafe.web = cp1251::fromUtf8("сайт в разработке");
        writeTown(town, {fixtureOrg("Ветеринарная аптека", "Садовая", "12"), pharmacy, cafe,
                         fixtureOrg("Аптека № 2", "Садовая", "8 к2")});
        openWindow();
    }

    // Starts on the town written and shows the main window, standing still.
    void openWindow()
    {
        start();
        main = windows->fm_main;
        ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
        main->SetLinkOpener(std::make_unique<RecordingLinkOpener>(opened));
        // Shown but never activated: tests beside this one share the display,
        // and the X focus is theirs as much as ours. Focus here is the
        // window's own focus widget.
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
        // The map stands still: nothing here needs it to move.
        main->View().Cadencer()->SetEnabled(false);
    }

    // The control that has the focus within the window.
    QWidget* focused() const { return main->focusWidget(); }

    // Types as the keyboard would: one key press and release per character,
    // to whatever has the focus.
    void typeKeys(const QString& text)
    {
        for (QChar c : text) {
            QWidget* focus = focused();
            ASSERT_NE(focus, nullptr);
            const Qt::Key key = c == ' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, focus, key, QString(c), Qt::NoModifier);
        }
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = focused();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    void focusOn(QWidget* control)
    {
        control->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focused(), control);
    }

    std::vector<std::string> redHouses() { return redHouseAddresses(*main); }

    std::vector<std::string> organisations() const { return topLevelTexts(*ui().TreeView); }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
    std::vector<QUrl> opened;
};
