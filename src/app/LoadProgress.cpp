#include "app/LoadProgress.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kServeEveryMs = 50;
}

LoadProgress::LoadProgress(std::function<void(int percent)> show) : m_show(std::move(show))
{
    m_sinceServed.start();
}

std::function<void(double)> LoadProgress::Stage(double from, double to)
{
    return [this, from, to](double part) { Report(from + (to - from) * std::clamp(part, 0.0, 1.0)); };
}

void LoadProgress::Report(double done)
{
    const int percent = int(std::floor(std::clamp(done, 0.0, 1.0) * 100.0));
    if (percent != m_shown && m_show) {
        m_shown = percent;
        m_show(percent);
    }
    if (m_sinceServed.elapsed() >= kServeEveryMs || percent == 100) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceServed.restart();
    }
}
