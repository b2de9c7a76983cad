#pragma once

#include <QElapsedTimer>

#include <functional>

// How far the town's loading has got, for the splash that shows it, and the
// splash kept alive meanwhile: at most every 50 ms, the events that wait
// (paints, the accessibility bus, timers) are served. Input is left waiting:
// nothing can act on it before the windows are made.
class LoadProgress {
public:
    // `show` gets the percentage done.
    explicit LoadProgress(std::function<void(int percent)> show);

    // A reporter for one stage of the loading that spans [from, to] of the whole.
    std::function<void(double)> Stage(double from, double to);
    // The share of the whole done, 0..1.
    void Report(double done);

private:
    std::function<void(int)> m_show;
    QElapsedTimer m_sinceServed;
    int m_shown = -1;
};
