#include "platform/KeyState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace {
const KeyStateSource* g_source = nullptr;
} // namespace

LiveKeyState::LiveKeyState()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

LiveKeyState::~LiveKeyState()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool LiveKeyState::KeyHeld(int virtualKey) const
{
    switch (virtualKey) {
    case vk::Shift:
    case vk::LeftShift:
    case vk::RightShift:
        // The window system tells held Shift but not which of the two.
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    case vk::Control:
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    case vk::Menu:
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
    case vk::LeftButton:
        return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
    case vk::RightButton:
        return QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
    case vk::MiddleButton:
        return QGuiApplication::mouseButtons().testFlag(Qt::MiddleButton);
    default:
        return m_held.count(virtualKey) != 0;
    }
}

bool LiveKeyState::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The window system repeats a held key as release/press pairs; the key stays down.
        if (key->isAutoRepeat())
            break;
        const int code = virtualKeyOf(key->key());
        if (code == 0)
            break;
        if (event->type() == QEvent::KeyPress)
            m_held.insert(code);
        else
            m_held.erase(code);
        break;
    }
    case QEvent::ApplicationDeactivate:
        m_held.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

KeyStateScope::KeyStateScope(const KeyStateSource& source) : m_previous(g_source)
{
    g_source = &source;
}

KeyStateScope::~KeyStateScope()
{
    g_source = m_previous;
}

bool KeyHeld(int virtualKey)
{
    return g_source != nullptr && g_source->KeyHeld(virtualKey);
}

int virtualKeyOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same codes
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}
