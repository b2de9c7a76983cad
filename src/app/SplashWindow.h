#pragma once

#include <QWidget>

class AppWindows;
class QLabel;
class QTimer;

// The splash screen fm_start: shown while the directory loads, it hands over to
// the main window after 5 s or while Escape is held. Normally the principal
// window: closing it ends the process.
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

    void FormCreate();
    void FormShow();
    void TimerTimer();
    void Timer1Timer();

    // Delivers a 5 s tick that came while creation was still going on.
    void MessageLoopStarts();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void HandOver();

    AppWindows& m_windows;
    bool m_timerDue = false;
};
