#include "app/FinishWindow.h"

#include "app/ApplicationTitle.h"
#include "app/AppWindows.h"
#include "app/ScreenLabels.h"
#include "app/SplashWindow.h"
#include "platform/ErrorBox.h"
#include "platform/ScreenCentre.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

Tfm_finish::Tfm_finish(AppWindows& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_windows(windows)
{
    m_windows.fm_finish = this;
    setObjectName("fm_finish");
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setFixedSize(312, 240);
    move(412, 249);
    paintWhite(*this);

    Label1 = creditLabel(this, "Label1", QStringLiteral("До свидания!"), {172, 208});

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(7000);
    connect(Timer, &QTimer::timeout, this, [this] { reportErrors([this] { TimerTimer(); }); });
}

void Tfm_finish::FormShow()
{
    CentreOnPrimaryScreen(*this);
}

void Tfm_finish::TimerTimer()
{
    ClosePrincipal();
}

void Tfm_finish::FormDblClick()
{
    ClosePrincipal();
}

void Tfm_finish::ClosePrincipal()
{
    if (m_windows.fm_start)
        m_windows.fm_start->close();
}

void Tfm_finish::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        reportErrors([this] { FormShow(); });
}

void Tfm_finish::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        reportErrors([this] { FormDblClick(); });
    else
        QWidget::mouseDoubleClickEvent(event);
}
