#include "navigation/FrameCadence.h"

#include "engine/scene/GxCadencer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {
// Nanoseconds of one display refresh (60 Hz where the screen does not say).
qint64 refreshNanoseconds()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double rate = screen ? screen->refreshRate() : 0.0;
    return qint64(std::llround(1e9 / (rate >= 1.0 ? rate : 60.0)));
}
} // namespace

FrameCadence::FrameCadence(TGxCadencer& cadencer) : m_cadencer(cadencer), m_interval(refreshNanoseconds())
{
    m_clock.start();
    m_pace.setSingleShot(true);
    m_pace.setTimerType(Qt::PreciseTimer);
    connect(&m_pace, &QTimer::timeout, this, [this] { Wake(); });
}

FrameCadence::~FrameCadence()
{
    if (m_watching && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void FrameCadence::WatchInput()
{
    if (m_watching || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_watching = true;
}

void FrameCadence::TickDone(bool changed)
{
    // Ticks run by hand while the cadencer is off are not ours to pace.
    if (!m_cadencer.Enabled())
        return;
    if (!changed) {
        rest();
        return;
    }
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 next = m_due < 0 ? now : m_due + m_interval;
    if (next <= now) {
        m_due = now; // late already: the next tick comes at once
        return;
    }
    m_due = next;
    rest();
    m_pace.start(int((next - now + 999999) / 1000000));
}

void FrameCadence::rest()
{
    m_resting = true;
    m_cadencer.SetEnabled(false);
}

void FrameCadence::Wake()
{
    const bool paced = m_pace.isActive();
    m_pace.stop();
    if (!m_resting)
        return;
    if (!paced)
        m_due = -1; // after a rest the first tick comes at once
    m_resting = false;
    m_cadencer.SetEnabled(true);
}

bool FrameCadence::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Expose:
    case QEvent::WindowStateChange:
    case QEvent::ApplicationStateChange:
        // A tick waiting for the refresh comes soon enough.
        if (m_resting && !m_pace.isActive())
            Wake();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
