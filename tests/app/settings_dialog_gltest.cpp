#include "AppFixture.h"

#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "engine/objects/GxXYZGrid.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <functional>

class SettingsDialog : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        writeEmptyTown();
        start();
        dialog = windows->fm_sett;
        state = &windows->fm_main->State();
    }

    // Opens the dialog as the window does (modal) and acts in it.
    void openAndThen(std::function<void()> act)
    {
        QTimer::singleShot(0, dialog, act);
        windows->fm_main->bt_SettingsClick();
    }

    Tfm_sett* dialog = nullptr;
    MapState* state = nullptr;
};

TEST_F(SettingsDialog, DesignedLook)
{
    EXPECT_EQ(dialog->objectName(), "fm_sett");
    EXPECT_EQ(dialog->windowTitle(), "Настройки");
    EXPECT_EQ(dialog->size(), QSize(209, 197));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog->pos(), QPoint(201, 177));

    const struct {
        QWidget* control;
        QRect at;
        const char* hint;
    } controls[] = {
        {dialog->ch_moveto, {8, 8, 201, 17}, "Автоматическое наведение камеры на выбранный объект"},
        {dialog->ch_viewext, {8, 32, 201, 17}, "При включении данной опции, реки, дороги и прочие объекты отображаться не будут"},
        {dialog->ch_streetnames, {8, 56, 201, 17}, "Подписывать улицы на карте их названиями"},
        {dialog->ch_housenumbers, {8, 80, 201, 17}, "Показывать номера домов, когда камера близко"},
        {dialog->ch_northarrow, {8, 104, 201, 17},
         "Стрелка в углу карты показывает, где север; щелчок по ней поворачивает карту севером вверх"},
        {dialog->ch_scalebar, {8, 128, 201, 17}, "Линейка в углу карты показывает, сколько метров на карте"},
        {dialog->bt_ok, {16, 157, 173, 25}, "Настройки"},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(c.control->geometry(), c.at) << c.hint;
        EXPECT_EQ(c.control->toolTip(), c.hint);
    }
    // The boxes over the map: named by their captions, found by their names.
    const struct {
        QCheckBox* box;
        const char* name;
        const char* caption;
    } boxes[] = {
        {dialog->ch_streetnames, "ch_streetnames", "Названия улиц"},
        {dialog->ch_housenumbers, "ch_housenumbers", "Номера домов"},
        {dialog->ch_northarrow, "ch_northarrow", "Стрелка севера"},
        {dialog->ch_scalebar, "ch_scalebar", "Масштабная линейка"},
    };
    for (const auto& b : boxes) {
        EXPECT_EQ(b.box->objectName(), b.name);
        EXPECT_EQ(b.box->text(), b.caption);
        EXPECT_EQ(b.box->accessibleName(), b.caption);
        EXPECT_EQ(dialog->findChild<QCheckBox*>(b.name), b.box);
    }
    EXPECT_EQ(dialog->ch_moveto->text(), "Автоматическое наведение");
    EXPECT_EQ(dialog->ch_viewext->text(), "Отображать только здания");
    EXPECT_EQ(dialog->bt_ok->text(), "Применить");
    EXPECT_TRUE(dialog->bt_ok->font().bold());

    // Tab order: the button, then the two boxes.
    EXPECT_EQ(dialog->bt_ok->nextInFocusChain(), dialog->ch_moveto);
    EXPECT_EQ(dialog->ch_moveto->nextInFocusChain(), dialog->ch_viewext);
    EXPECT_EQ(dialog->ch_viewext->nextInFocusChain(), dialog->ch_streetnames);
    EXPECT_EQ(dialog->ch_streetnames->nextInFocusChain(), dialog->ch_housenumbers);
    EXPECT_EQ(dialog->ch_housenumbers->nextInFocusChain(), dialog->ch_northarrow);
    EXPECT_EQ(dialog->ch_northarrow->nextInFocusChain(), dialog->ch_scalebar);
}

TEST_F(SettingsDialog, ShowsTheFlagsAndStoresThemOnlyWithTheButton)
{
    // After start-up both flags are on: "only buildings" is unchecked.
    openAndThen([&] {
        EXPECT_TRUE(dialog->ch_moveto->isChecked());
        EXPECT_FALSE(dialog->ch_viewext->isChecked());
        dialog->ch_moveto->setChecked(false);
        dialog->ch_viewext->setChecked(true);
        dialog->bt_ok->click();
    });
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(state->AutoMoveTo);
    EXPECT_FALSE(state->ShowNonBuildings);

    // Closing another way keeps the flags, and the boxes are reloaded next time.
    openAndThen([&] {
        EXPECT_FALSE(dialog->ch_moveto->isChecked());
        EXPECT_TRUE(dialog->ch_viewext->isChecked());
        dialog->ch_moveto->setChecked(true);
        dialog->reject();
    });
    EXPECT_FALSE(state->AutoMoveTo);
    openAndThen([&] {
        EXPECT_FALSE(dialog->ch_moveto->isChecked());
        dialog->reject();
    });
}

TEST_F(SettingsDialog, WhatIsDrawnOverTheMapIsKeptBetweenRunsAndTheOtherTwoAreNot)
{
    using Flags = std::array<bool, 4>;
    const auto boxes = [&] {
        return Flags{dialog->ch_streetnames->isChecked(), dialog->ch_housenumbers->isChecked(),
                     dialog->ch_northarrow->isChecked(), dialog->ch_scalebar->isChecked()};
    };
    const auto flags = [&] {
        return Flags{state->ShowStreetNames, state->ShowHouseNumbers, state->ShowNorthArrow, state->ShowScaleBar};
    };
    EXPECT_EQ(flags(), (Flags{true, true, true, true})) << "all on in a first run";

    // Closing without the button changes and keeps nothing.
    openAndThen([&] {
        EXPECT_EQ(boxes(), (Flags{true, true, true, true}));
        dialog->ch_scalebar->setChecked(false);
        dialog->reject();
    });
    EXPECT_TRUE(state->ShowScaleBar);
    EXPECT_FALSE(QFile::exists(settingsFolder() + "/quorvel/quorvel.conf"));

    openAndThen([&] {
        dialog->ch_streetnames->setChecked(false);
        dialog->ch_northarrow->setChecked(false);
        dialog->ch_moveto->setChecked(false);
        dialog->ch_viewext->setChecked(true);
        dialog->bt_ok->click();
    });
    EXPECT_EQ(flags(), (Flags{false, true, false, true}));
    {
        QSettings stored(settingsFolder() + "/quorvel/quorvel.conf", QSettings::IniFormat);
        EXPECT_EQ(stored.value("map/streetNames").toString(), "false");
        EXPECT_EQ(stored.value("map/houseNumbers").toString(), "true");
        EXPECT_EQ(stored.value("map/northArrow").toString(), "false");
        EXPECT_EQ(stored.value("map/scaleBar").toString(), "true");
    }

    // The next run reads them before its first frame; the other two
    // settings start on again.
    windows.reset();
    start();
    dialog = windows->fm_sett;
    state = &windows->fm_main->State();
    EXPECT_EQ(flags(), (Flags{false, true, false, true}));
    EXPECT_TRUE(state->AutoMoveTo);
    EXPECT_TRUE(state->ShowNonBuildings);
    openAndThen([&] {
        EXPECT_EQ(boxes(), (Flags{false, true, false, true}));
        EXPECT_TRUE(dialog->ch_moveto->isChecked());
        dialog->ch_streetnames->setChecked(true);
        dialog->bt_ok->click();
    });
    windows.reset();
    start();
    EXPECT_TRUE(windows->fm_main->State().ShowStreetNames);
    EXPECT_FALSE(windows->fm_main->State().ShowNorthArrow);
}

TEST_F(SettingsDialog, ASettingsFileThatCannotBeWrittenIsReportedAndTheChoiceStillApplies)
{
    // Where the settings' folder should be, a file stands.
    QDir().mkpath(settingsFolder());
    QFile blocker(settingsFolder() + "/quorvel");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    openAndThen([&] {
        dialog->ch_scalebar->setChecked(false);
        dialog->bt_ok->click();
    });
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(state->ShowScaleBar);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Не удалось сохранить настройки в файл")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(settingsFolder() + "/quorvel/quorvel.conf")) << errors[0].toStdString();
}

// A town of two houses, a road and a ground plane behind the designed objects.
class SettingsOnATown : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        TownModel town;
        town.houses.push_back({{{0, 0}, {4, 0}, {4, 3}, {0, 3}}, {"Садовая", "1", "2"}});
        town.houses.push_back({{{6, 0}, {9, 0}, {9, 3}}, {"Садовая", "2", "1"}});
        town.roads.push_back({{{0, -2, 0}, {9, -2, 0}, {9, -1, 0}, {0, -1, 0}}, {}});
        town.planes.push_back({});
        writeTown(town, {});
        start();
        main = windows->fm_main;
        ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    }

    // Checks every object under the object root: houses and their walls
    // always visible, the street names and house numbers too (they have
    // switches of their own), everything else as the flag says.
    void expectShown(bool nonBuildings)
    {
        TGxBaseSceneObject* root = main->Scene().GxScene.ObjectRoot();
        int houses = 0, walls = 0, others = 0;
        for (int i = 0; i < root->Count(); ++i) {
            TGxBaseSceneObject* object = root->Children(i);
            if (object->ClassName() == "Thouse") {
                ++houses;
                EXPECT_TRUE(object->Visible());
                for (int w = 0; w < object->Count(); ++w, ++walls)
                    EXPECT_TRUE(object->Children(w)->Visible());
            } else if (object->ClassName() == "TMapLabels") {
                EXPECT_TRUE(object->Visible());
            } else {
                ++others;
                EXPECT_EQ(object->Visible(), nonBuildings) << object->ClassName() << " " << object->Name();
            }
        }
        EXPECT_EQ(houses, 2);
        EXPECT_GE(walls, 7);
        EXPECT_GE(others, 6); // DCTarget, DCSelection, grid, GxDummyCube, the road, the plane
    }

    Tfm_main* main = nullptr;
};

TEST_F(SettingsOnATown, OnlyBuildingsHidesEveryOtherObjectAndApplyingAgainShowsThemAll)
{
    Tfm_sett* dialog = windows->fm_sett;
    const auto apply = [&](bool onlyBuildings) {
        QTimer::singleShot(0, dialog, [&] {
            dialog->ch_viewext->setChecked(onlyBuildings);
            dialog->bt_ok->click();
        });
        main->bt_SettingsClick();
    };
    apply(true);
    expectShown(false);
    apply(false);
    expectShown(true);

    // Applying without a change shows what something else had hidden.
    main->Scene().GxXYZGrid->SetVisible(false);
    apply(false);
    expectShown(true);
}
