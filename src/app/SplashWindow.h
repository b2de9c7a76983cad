#pragma once

#include <QElapsedTimer>
#include <QWidget>

class AppWindows;
class QLabel;
class QProgressBar;
class QTimer;

// The splash screen fm_start: shown as soon as the program starts, while the
// town and the directory load, it hands over to the main window after 5 s
// (counted from its appearance; a longer load finishes first) or while
// Escape is held. Normally the principal window: closing it ends the process.
class Tfm_start : public QWidget {
    Q_OBJECT
public:
    explicit Tfm_start(AppWindows& windows);

    QTimer* Timer = nullptr;  // 5000 ms: hand over to the main window
    QTimer* Timer1 = nullptr; // 50 ms: Escape check
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    // How far the loading has got; shown only when the loading takes a while.
    QProgressBar* LoadBar = nullptr;

    void FormCreate();
    void FormShow();
    void TimerTimer();
    void Timer1Timer();

    // Delivers a 5 s tick that came while creation was still going on.
    void MessageLoopStarts();
    // The loading's progress in percent; the bar appears once the loading
    // has lasted half a second and is not done.
    void ShowLoadProgress(int percent);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void HandOver();

    AppWindows& m_windows;
    bool m_timerDue = false;
    QElapsedTimer m_shownFor;
};
