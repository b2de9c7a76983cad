#include "platform/KeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

TEST(KeyState, ScriptedSourceAnswersWhileItsScopeLives)
{
    EXPECT_FALSE(KeyHeld(vk::Escape)); // no source: nothing is held
    ScriptedKeyState outer;
    outer.Press(vk::RightButton);
    {
        KeyStateScope outerScope(outer);
        EXPECT_TRUE(KeyHeld(vk::RightButton));
        ScriptedKeyState inner;
        inner.Press(vk::Escape);
        {
            KeyStateScope innerScope(inner);
            EXPECT_TRUE(KeyHeld(vk::Escape));
            EXPECT_FALSE(KeyHeld(vk::RightButton));
            inner.Release(vk::Escape);
            EXPECT_FALSE(KeyHeld(vk::Escape));
        }
        EXPECT_TRUE(KeyHeld(vk::RightButton)); // the outer source is back
    }
    EXPECT_FALSE(KeyHeld(vk::RightButton));
}

namespace {
void send(QObject& target, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(&target, &event);
}
} // namespace

TEST(KeyState, LiveStateFollowsPressAndReleaseAnywhereInTheApplication)
{
    LiveKeyState live;
    KeyStateScope scope(live);
    QObject somewhere;

    send(somewhere, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_TRUE(KeyHeld(vk::Escape));
    EXPECT_FALSE(KeyHeld('A'));

    // A held key repeats as release/press pairs; it stays down in between.
    send(somewhere, QEvent::KeyRelease, Qt::Key_Escape, true);
    EXPECT_TRUE(KeyHeld(vk::Escape));
    send(somewhere, QEvent::KeyPress, Qt::Key_Escape, true);

    send(somewhere, QEvent::KeyRelease, Qt::Key_Escape);
    EXPECT_FALSE(KeyHeld(vk::Escape));

    // Losing the keyboard forgets what was held: its release goes elsewhere.
    send(somewhere, QEvent::KeyPress, Qt::Key_A);
    EXPECT_TRUE(KeyHeld('A'));
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
    EXPECT_FALSE(KeyHeld('A'));
}

TEST(KeyState, QtKeysMapToVirtualKeyCodes)
{
    const struct {
        int qtKey, code;
    } cases[] = {{Qt::Key_Escape, 27}, {Qt::Key_A, 'A'}, {Qt::Key_Z, 'Z'}, {Qt::Key_5, '5'}, {Qt::Key_F1, 112},
                 {Qt::Key_F12, 123},   {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Left, 37},
                 {Qt::Key_Shift, 16},  {Qt::Key_unknown, 0}, {Qt::Key_Dead_Grave, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(virtualKeyOf(c.qtKey), c.code) << c.qtKey;
}
