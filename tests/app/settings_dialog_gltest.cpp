#include "AppFixture.h"

#include "app/MainWindow.h"
#include "app/SettingsDialog.h"

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
