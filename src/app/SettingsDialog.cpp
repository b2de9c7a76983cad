#include "app/SettingsDialog.h"

#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/StoredSettings.h"
#include "platform/ErrorBox.h"
#include "platform/Fonts.h"
#include "platform/WidgetColours.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>

Tfm_sett::Tfm_sett(AppWindows& windows)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_windows(windows)
{
    m_windows.fm_sett = this;
    setObjectName("fm_sett");
    setWindowTitle(QStringLiteral("Настройки"));
    setFixedSize(209, 197);
    move(201, 177);
    setFont(pixelFont("MS Sans Serif", 11));
    setWidgetColour(this, QPalette::Window, kDesignGrey);
    setAutoFillBackground(true);

    // Created in tab order: the button first, then the boxes.
    bt_ok = new QPushButton(QStringLiteral("Применить"), this);
    bt_ok->setObjectName("bt_ok");
    bt_ok->setGeometry(16, 157, 173, 25);
    bt_ok->setToolTip(QStringLiteral("Настройки"));
    bt_ok->setFont(pixelFont("MS Sans Serif", 11, true));
    setWidgetColour(bt_ok, QPalette::ButtonText, Qt::white);
    // A darker face than the dialog's, so the white caption reads.
    setWidgetColour(bt_ok, QPalette::Button, QColor(96, 96, 96));
    bt_ok->setDefault(true);

    const auto checkBox = [this](const char* name, const QString& text, const QString& hint, QRect at) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(name);
        box->setToolTip(hint);
        box->setAccessibleName(text);
        box->setGeometry(at);
        setWidgetColour(box, QPalette::WindowText, Qt::white);
        return box;
    };
    ch_moveto = checkBox("ch_moveto", QStringLiteral("Автоматическое наведение"),
                         QStringLiteral("Автоматическое наведение камеры на выбранный объект"), {8, 8, 201, 17});
    ch_viewext = checkBox("ch_viewext", QStringLiteral("Отображать только здания"),
                          QStringLiteral("При включении данной опции, реки, дороги и прочие объекты отображаться не будут"),
                          {8, 32, 201, 17});
    // What is drawn over the map to read it; kept between runs.
    ch_streetnames = checkBox("ch_streetnames", QStringLiteral("Названия улиц"),
                              QStringLiteral("Подписывать улицы на карте их названиями"), {8, 56, 201, 17});
    ch_housenumbers = checkBox("ch_housenumbers", QStringLiteral("Номера домов"),
                               QStringLiteral("Показывать номера домов, когда камера близко"), {8, 80, 201, 17});
    ch_northarrow = checkBox("ch_northarrow", QStringLiteral("Стрелка севера"),
                             QStringLiteral("Стрелка в углу карты показывает, где север; щелчок по ней "
                                            "поворачивает карту севером вверх"),
                             {8, 104, 201, 17});
    ch_scalebar = checkBox("ch_scalebar", QStringLiteral("Масштабная линейка"),
                           QStringLiteral("Линейка в углу карты показывает, сколько метров на карте"),
                           {8, 128, 201, 17});

    connect(bt_ok, &QPushButton::clicked, this, [this] {
        reportErrors([this] { bt_okClick(); });
        accept();
    });
}

void Tfm_sett::FormShow()
{
    const MapState& state = m_windows.fm_main->State();
    ch_moveto->setChecked(state.AutoMoveTo);
    ch_viewext->setChecked(!state.ShowNonBuildings);
    ch_streetnames->setChecked(state.ShowStreetNames);
    ch_housenumbers->setChecked(state.ShowHouseNumbers);
    ch_northarrow->setChecked(state.ShowNorthArrow);
    ch_scalebar->setChecked(state.ShowScaleBar);
}

void Tfm_sett::bt_okClick()
{
    MapState& state = m_windows.fm_main->State();
    state.AutoMoveTo = ch_moveto->isChecked();
    state.ShowNonBuildings = !ch_viewext->isChecked();
    state.ShowStreetNames = ch_streetnames->isChecked();
    state.ShowHouseNumbers = ch_housenumbers->isChecked();
    state.ShowNorthArrow = ch_northarrow->isChecked();
    state.ShowScaleBar = ch_scalebar->isChecked();
    m_windows.fm_main->SettingsChanged();
    // Applied first: a file that cannot be written costs the next run only.
    StoredSettings::Save(state, *StoredSettings::UserSettings());
}

void Tfm_sett::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        reportErrors([this] { FormShow(); });
}
