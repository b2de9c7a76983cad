#pragma once

#include <QDialog>

class AppWindows;
class QCheckBox;
class QPushButton;

// The settings dialog fm_sett: switches the automatic flight to a chosen house
// and the display of everything that is not a building (for this run), and
// what is drawn over the map to read it (kept between runs).
class Tfm_sett : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_sett(AppWindows& windows);

    QPushButton* bt_ok = nullptr;
    QCheckBox* ch_moveto = nullptr;
    QCheckBox* ch_viewext = nullptr;
    QCheckBox* ch_streetnames = nullptr;
    QCheckBox* ch_housenumbers = nullptr;
    QCheckBox* ch_northarrow = nullptr;
    QCheckBox* ch_scalebar = nullptr;

    void FormShow();
    void bt_okClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppWindows& m_windows;
};
