#include "AppFixture.h"

#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "engine/objects/GxXYZGrid.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

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

    Tfm_sett* dialog = nullptr;
    MapState* state = nullptr;
};

TEST_F(SettingsDialog, DesignedLook)
{
    EXPECT_EQ(dialog->objectName(), "fm_sett");
    EXPECT_EQ(dialog->windowTitle(), "Настройки");
    EXPECT_EQ(dialog->size(), QSize(209, 101));
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
        {dialog->bt_ok, {16, 61, 173, 25}, "Настройки"},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(c.control->geometry(), c.at) << c.hint;
        EXPECT_EQ(c.control->toolTip(), c.hint);
    }
    EXPECT_EQ(dialog->ch_moveto->text(), "Автоматическое наведение");
    EXPECT_EQ(dialog->ch_viewext->text(), "Отображать только здания");
    EXPECT_EQ(dialog->bt_ok->text(), "Применить");
    EXPECT_TRUE(dialog->bt_ok->font().bold());

    // Tab order: the button, then the two boxes.
    EXPECT_EQ(dialog->bt_ok->nextInFocusChain(), dialog->ch_moveto);
    EXPECT_EQ(dialog->ch_moveto->nextInFocusChain(), dialog->ch_viewext);
}

TEST_F(SettingsDialog, ShowsTheFlagsAndStoresThemOnlyWithTheButton)
{
    const auto openAndThen = [&](std::function<void()> act) {
        QTimer::singleShot(0, dialog, act);
        windows->fm_main->bt_SettingsClick(); // modal
    };

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
