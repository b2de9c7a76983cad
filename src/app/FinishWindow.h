#pragma once

#include <QWidget>

class AppWindows;
class QLabel;
class QTimer;

// The closing screen fm_finish: shown when the main window closes; after 7 s or
// on a double-click it closes the splash, which ends the process.
class Tfm_finish : public QWidget {
    Q_OBJECT
public:
    explicit Tfm_finish(AppWindows& windows);

    QTimer* Timer = nullptr; // 7000 ms, enabled by the main window's FormCloseQuery
    QLabel* Label1 = nullptr;

    void FormShow();
    void TimerTimer();
    void FormDblClick();

protected:
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ClosePrincipal();

    AppWindows& m_windows;
};
