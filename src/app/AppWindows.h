#pragma once

#include <QString>

#include <functional>

class QWidget;
class Tfm_main;
class Tfm_start;
class Tfm_finish;
class Tfm_sett;

// The four windows of a run, one instance each, alive until the process ends,
// and the rule that decides which of them ends the process when it closes.
class AppWindows {
public:
    // Creates fm_main (its FormCreate loads the town from `townFolder` and
    // shows the splash), then fm_finish, then fm_sett. `programFolder` is the
    // executable's folder. `endProcess` is called when the principal window closes.
    AppWindows(const QString& programFolder, const QString& townFolder, std::function<void()> endProcess);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Each window sets its own entry as its creation begins, so handlers that
    // run during another window's creation can already reach it.
    Tfm_main* fm_main = nullptr;
    Tfm_start* fm_start = nullptr;
    Tfm_finish* fm_finish = nullptr;
    Tfm_sett* fm_sett = nullptr;

    // Shows the splash screen at once, before the town loads; it becomes a
    // window of the run only when CreateSplash completes it.
    void ShowSplash();
    // Completes the splash screen, made and shown now if ShowSplash was not
    // called (a step of fm_main's FormCreate).
    void CreateSplash();
    // Start-up failed before the splash was completed: there is none.
    void DropSplash();
    bool SplashCompleted() const { return m_splashCompleted; }

    // The first window whose creation completes is the principal one: its
    // closing ends the process. Normally the splash, which fm_main creates
    // before its own creation completes; fm_main when start-up failed earlier.
    void CreationCompleted(QWidget* window);
    QWidget* Principal() const { return m_principal; }

    // The message loop starts: the main window appears when it is the principal
    // one (start-up failed before the splash), and timer ticks held back
    // during creation are delivered.
    void MessageLoopStarts();
    // Timer events reach the windows only once the message loop runs; until
    // then (an error box during creation runs a loop of its own) they wait.
    bool MessageLoopRunning() const { return m_loopRunning; }

    // Every window reports an accepted close here.
    void WindowClosed(QWidget* window);

private:
    QWidget* m_principal = nullptr;
    bool m_splashCompleted = false;
    bool m_loopRunning = false;
    std::function<void()> m_endProcess;
};
