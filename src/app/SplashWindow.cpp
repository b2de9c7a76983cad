#include "app/SplashWindow.h"

#include "app/ApplicationTitle.h"
#include "app/AppWindows.h"
#include "app/FinishWindow.h"
#include "app/MainWindow.h"
#include "app/ScreenLabels.h"
#include "platform/ErrorBox.h"
#include "platform/KeyState.h"
#include "platform/ScreenCentre.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

Tfm_start::Tfm_start(AppWindows& windows) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_windows(windows)
{
    m_windows.fm_start = this;
    setObjectName("fm_start");
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setFixedSize(632, 479);
    paintWhite(*this);

    Label1 = creditLabel(this, "Label1", QStringLiteral("Демонстрационная версия"), {441, 67});
    Label2 = creditLabel(this, "Label2", QStringLiteral("Quorvel"), {521, 19});
    Label3 = creditLabel(this, "Label3", QStringLiteral("г. Верескола"), {521, 43});
    Label4 = creditLabel(this, "Label4", QStringLiteral("Справочник"), {489, 443});

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(5000);
    connect(Timer, &QTimer::timeout, this, [this] {
        if (!m_windows.MessageLoopRunning())
            m_timerDue = true;
        else
            reportErrors([this] { TimerTimer(); });
    });
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (m_windows.MessageLoopRunning())
            reportErrors([this] { Timer1Timer(); });
    });

    LoadBar = new QProgressBar(this);
    LoadBar->setObjectName("LoadBar");
    LoadBar->setAccessibleName(QStringLiteral("Загрузка города"));
    LoadBar->setRange(0, 100);
    LoadBar->setTextVisible(false);
    LoadBar->setGeometry(16, 462, 600, 6);
    LoadBar->hide();

    FormCreate();
    // Both timers count from the splash's creation.
    Timer->start();
    Timer1->start();
    m_shownFor.start();
}

void Tfm_start::ShowLoadProgress(int percent)
{
    LoadBar->setValue(percent);
    if (percent >= 100)
        LoadBar->hide();
    else if (!LoadBar->isVisible() && m_shownFor.elapsed() >= 500)
        LoadBar->show();
}

void Tfm_start::FormCreate()
{
    CentreOnPrimaryScreen(*this);
}

void Tfm_start::FormShow()
{
}

void Tfm_start::TimerTimer()
{
    hide();
    if (m_windows.fm_finish)
        m_windows.fm_finish->hide();
    HandOver();
}

void Tfm_start::Timer1Timer()
{
    // The keyboard's state at this moment, not a key press sent to the window.
    if (KeyHeld(vk::Escape) && isVisible()) {
        if (m_windows.fm_finish)
            m_windows.fm_finish->hide();
        hide();
        HandOver();
    }
}

void Tfm_start::MessageLoopStarts()
{
    if (m_timerDue && Timer->isActive())
        QTimer::singleShot(0, this, [this] { reportErrors([this] { TimerTimer(); }); });
    m_timerDue = false;
}

void Tfm_start::HandOver()
{
    if (m_windows.fm_main)
        m_windows.fm_main->show();
    Timer->stop();
}

void Tfm_start::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        reportErrors([this] { FormShow(); });
}

void Tfm_start::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_windows.WindowClosed(this);
}
