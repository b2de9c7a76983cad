#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class TGxCadencer;

// When the map's cadencer ticks. While something moves it ticks once per
// display refresh: a tick that comes sooner after the previous one than the
// refresh allows waits for the rest of it, with the event loop free meanwhile
// (the swap of a software renderer, or of a window that is hidden or
// minimised, waits for nothing, which would let ticks run back to back).
// After a tick that changed nothing it rests: no tick, so no pick and no
// frame, until something may have changed: input anywhere in the program, a
// window shown, hidden or restored, or a change of the scene made outside a
// tick (Wake).
//
// Resting is the cadencer's Enabled switched off and on again, so the time
// spent resting does not count; a cadencer that someone else switched off
// stays off.
class FrameCadence : public QObject {
public:
    explicit FrameCadence(TGxCadencer& cadencer);
    ~FrameCadence() override;

    // After each tick; `changed` is what the frame loop's tick returned.
    void TickDone(bool changed);
    // Tick again at once if resting.
    void Wake();
    // No tick is coming until Wake or the end of the refresh interval.
    bool Resting() const { return m_resting; }
    // Resting only until the next display refresh.
    bool Paced() const { return m_pace.isActive(); }
    // Wakes on the input events of the whole application.
    void WatchInput();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rest();

    TGxCadencer& m_cadencer;
    bool m_resting = false;
    bool m_watching = false;
    QTimer m_pace;
    QElapsedTimer m_clock;
    qint64 m_due = -1; // nanoseconds on m_clock: when the last tick was allowed to start
    qint64 m_interval;  // nanoseconds of one display refresh
};
