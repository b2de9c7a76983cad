#pragma once

#include <QObject>

#include <set>

// Virtual-key codes of the keys and buttons the program polls.
namespace vk {
constexpr int LeftButton = 1;
constexpr int RightButton = 2;
constexpr int MiddleButton = 4;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;
constexpr int Escape = 27;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;
} // namespace vk

// Where KeyHeld gets its answers: the live keyboard and mouse, or a script.
class KeyStateSource {
public:
    virtual ~KeyStateSource() = default;
    // True while the key or mouse button with this virtual-key code is down.
    virtual bool KeyHeld(int virtualKey) const = 0;
};

// The live state. Shift and the mouse buttons are asked from the window
// system at the moment of the call; every other key is followed from the press
// and release events that reach the application, since the window system offers
// no asynchronous key state. Keys held when the application loses the keyboard
// are forgotten, so a release that happens elsewhere cannot leave one stuck.
class LiveKeyState : public QObject, public KeyStateSource {
public:
    LiveKeyState();
    ~LiveKeyState() override;

    bool KeyHeld(int virtualKey) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::set<int> m_held;
};

// Keys and buttons set by hand: tests and recorded input drive the program with it.
class ScriptedKeyState : public KeyStateSource {
public:
    bool KeyHeld(int virtualKey) const override { return m_held.count(virtualKey) != 0; }
    void Press(int virtualKey) { m_held.insert(virtualKey); }
    void Release(int virtualKey) { m_held.erase(virtualKey); }
    void ReleaseAll() { m_held.clear(); }

private:
    std::set<int> m_held;
};

// Makes `source` the one KeyHeld asks for as long as the scope lives; the
// previous source comes back afterwards.
class KeyStateScope {
public:
    explicit KeyStateScope(const KeyStateSource& source);
    ~KeyStateScope();
    KeyStateScope(const KeyStateScope&) = delete;
    KeyStateScope& operator=(const KeyStateScope&) = delete;

private:
    const KeyStateSource* m_previous;
};

// Whether the key or button is down at this moment; false while no source is installed.
bool KeyHeld(int virtualKey);

// The virtual-key code of a Qt key, or 0 when the program has no use for it.
int virtualKeyOf(int qtKey);
