#include "engine/scene/GxCadencer.h"

#include "base/GxException.h"
#include "engine/scene/GxErrorReport.h"
#include "engine/scene/GxScene.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

QEvent::Type tickEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// Milliseconds of a monotonic clock: a tick handled in the millisecond it was
// posted has outrun the clock.
qint64 tickCount()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}

class TickEvent : public QEvent {
public:
    TickEvent() : QEvent(tickEventType()), postedAt(tickCount()) {}
    const qint64 postedAt;
};

// After this many ticks in a row, each handled within the millisecond it was
// posted, the chain waits for a 1 ms timer.
constexpr int kTooFastTicks = 5000;

// Registered cmASAP cadencers; an unregistered one leaves an empty entry
// that is packed once no tick walks the list.
std::vector<TGxCadencer*> g_asapList;
bool g_tickInProgress = false;
TGxCadencer* g_idleCadencer = nullptr;

void reportAndDisable(TGxCadencer* cadencer)
{
    ReportGxError();
    cadencer->SetEnabled(false);
}

bool asapListHasEntries()
{
    return std::any_of(g_asapList.begin(), g_asapList.end(), [](TGxCadencer* c) { return c != nullptr; });
}

} // namespace

// Drives the cmASAP cadencers: one posted tick event at a time, each posted
// when the previous tick is over, so every event queued meanwhile comes first.
class GxCadencerAsapHandler : public QObject {
public:
    explicit GxCadencerAsapHandler(QObject* parent) : QObject(parent) {}

    bool Active() const { return m_active; }

    void Activate()
    {
        if (m_active)
            return;
        m_active = true;
        m_tooFast = 0;
        QCoreApplication::postEvent(this, new TickEvent);
    }

    void Release()
    {
        m_active = false;
        stopTimer();
        QCoreApplication::removePostedEvents(this, tickEventType());
    }

protected:
    bool event(QEvent* e) override
    {
        const bool isTimer = e->type() == QEvent::Timer;
        const bool isTick = e->type() == tickEventType();
        if (!isTimer && !isTick)
            return QObject::event(e);
        if (!m_active)
            return true;
        if (isTimer) {
            if (static_cast<QTimerEvent*>(e)->timerId() != m_timerId)
                return true;
            stopTimer();
        } else {
            if (static_cast<TickEvent*>(e)->postedAt == tickCount())
                ++m_tooFast;
            else
                m_tooFast = 0;
            if (m_tooFast > kTooFastTicks) {
                if (m_timerId == 0)
                    m_timerId = startTimer(1);
                m_tooFast = 0;
            }
        }
        if (m_timerId == 0 && !g_tickInProgress)
            tick();
        return true;
    }

private:
    void tick()
    {
        g_tickInProgress = true;
        struct Clear {
            ~Clear() { g_tickInProgress = false; }
        } clear;
        // From the last to the first; entries registered meanwhile land
        // beyond the index, entries unregistered meanwhile turn empty.
        for (size_t i = g_asapList.size(); i-- > 0;) {
            TGxCadencer* cadencer = g_asapList[i];
            if (cadencer == nullptr || cadencer->Mode() != cmASAP || !cadencer->Enabled() || cadencer->IsBusy())
                continue;
            if (QCoreApplication::closingDown()) {
                cadencer->SetEnabled(false);
                continue;
            }
            try {
                cadencer->Progress();
            } catch (...) {
                reportAndDisable(cadencer);
            }
        }
        std::erase(g_asapList, nullptr);
        if (!g_asapList.empty() && m_active)
            QCoreApplication::postEvent(this, new TickEvent);
        else
            Release();
    }

    void stopTimer()
    {
        if (m_timerId != 0)
            killTimer(m_timerId);
        m_timerId = 0;
    }

    bool m_active = false;
    int m_timerId = 0;
    int m_tooFast = 0;
};

// Ticks the cmApplicationIdle cadencer whenever the event loop has nothing
// else to do (a 0 ms timer fires once the queued events are served).
class GxCadencerIdleHook : public QObject {
public:
    explicit GxCadencerIdleHook(QObject* parent) : QObject(parent) {}

    void Start()
    {
        if (m_timerId == 0)
            m_timerId = startTimer(0);
    }
    void Stop()
    {
        if (m_timerId != 0)
            killTimer(m_timerId);
        m_timerId = 0;
    }

protected:
    void timerEvent(QTimerEvent* e) override
    {
        TGxCadencer* cadencer = g_idleCadencer;
        if (e->timerId() != m_timerId || cadencer == nullptr || cadencer->IsBusy())
            return;
        try {
            cadencer->Progress();
        } catch (...) {
            // Reported once: a failing tick would otherwise fail again at every idle moment.
            reportAndDisable(cadencer);
        }
    }

private:
    int m_timerId = 0;
};

namespace {
// Both live as children of the application object and go with it.
QPointer<GxCadencerAsapHandler> g_asapHandler;
QPointer<GxCadencerIdleHook> g_idleHook;
} // namespace

TGxCadencer::TGxCadencer(TGxComponent* owner) : TGxComponent(owner)
{
    m_downTime = RawTime();
    m_originTime = m_downTime;
}

TGxCadencer::~TGxCadencer()
{
    if (m_progressing != 0) {
        // The tick on the stack would go on with a freed cadencer; stop here
        // with the programming error rather than corrupt memory.
        std::fprintf(stderr, "%s\n", EGxAssertion("Cadencer destroyed while progressing").what());
        std::abort();
    }
    SendFreeNotifications();
    Unregister(cmASAP);
    Unregister(cmApplicationIdle);
}

void TGxCadencer::SetScene(TGxScene* scene)
{
    if (scene == m_scene)
        return;
    if (m_scene)
        RemoveFreeNotification(m_scene);
    m_scene = scene;
    if (m_scene)
        FreeNotification(m_scene);
    UpdateRegistration();
}

void TGxCadencer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_enabled)
        m_originTime += RawTime() - m_downTime; // the disabled span does not count
    else
        m_downTime = RawTime();
    UpdateRegistration();
}

void TGxCadencer::SetTimeMultiplier(double multiplier)
{
    if (multiplier == m_timeMultiplier)
        return;
    if (multiplier == 0.0) {
        m_lastMultiplier = m_timeMultiplier;
        SetEnabled(false);
    } else {
        double previous = m_timeMultiplier;
        if (previous == 0.0) {
            // Enabling first takes the frozen span out of the origin; the
            // rescaling below then keeps the current time where it stood.
            SetEnabled(true);
            previous = m_lastMultiplier;
        }
        const double raw = RawTime();
        m_originTime = raw - (raw - m_originTime) * previous / multiplier;
    }
    m_timeMultiplier = multiplier;
}

void TGxCadencer::SetMode(TGxCadencerMode mode)
{
    if (mode == m_mode)
        return;
    if (!IsLoading())
        Unregister(m_mode);
    m_mode = mode;
    UpdateRegistration();
}

double TGxCadencer::RawTime() const
{
    switch (m_timeReference) {
    case cmRTC:
        return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    case cmPerformanceCounter:
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    case cmExternal:
        return m_currentTime;
    }
    gxAssert(false, "Invalid time reference");
    return 0.0;
}

double TGxCadencer::GetCurrentTime()
{
    m_currentTime = (RawTime() - m_originTime) * m_timeMultiplier;
    return m_currentTime;
}

void TGxCadencer::Progress()
{
    if (m_progressing < 0)
        return; // this cadencer is advancing its scene right now
    if (m_enabled) {
        if (m_sleepLength >= 0)
            QThread::msleep(unsigned(m_sleepLength));
        if (m_mode == cmASAP) {
            // Paints and input queued since the last tick come first.
            QCoreApplication::processEvents();
            if (!IsRegisteredAsap())
                return;
        }
    }
    ++m_progressing;
    struct Leave {
        int& counter;
        ~Leave() { --counter; }
    } leave{m_progressing};
    if (!m_enabled)
        return;

    double newTime = GetCurrentTime();
    double delta = newTime - m_lastTime;
    if (delta < m_minDeltaTime || delta < m_fixedDeltaTime)
        return; // the time stays owed to a later tick
    if (m_maxDeltaTime > 0.0 && delta > m_maxDeltaTime) {
        m_originTime += (delta - m_maxDeltaTime) / m_timeMultiplier;
        delta = m_maxDeltaTime;
        newTime = m_lastTime + m_maxDeltaTime;
    }
    double total = delta;
    const double step = m_fixedDeltaTime > 0.0 ? m_fixedDeltaTime : delta;
    while (total >= step) {
        m_lastTime += step;
        if (m_scene && step != 0.0) {
            m_progressing = -m_progressing;
            struct Restore {
                int& counter;
                ~Restore() { counter = -counter; }
            } restore{m_progressing};
            m_scene->Progress(step, m_lastTime);
        }
        for (size_t i = 0; i < m_subscribers.size(); ++i)
            m_subscribers[i]->StepProgress({step, m_lastTime});
        if (OnProgress)
            OnProgress(this, step, newTime);
        if (step > 0.0)
            total -= step;
        else
            break;
    }
}

void TGxCadencer::Subscribe(TGxCadenceAbleComponent* component)
{
    if (component == nullptr || std::find(m_subscribers.begin(), m_subscribers.end(), component) != m_subscribers.end())
        return;
    m_subscribers.push_back(component);
    FreeNotification(component);
}

void TGxCadencer::UnSubscribe(TGxCadenceAbleComponent* component)
{
    const auto it = std::find(m_subscribers.begin(), m_subscribers.end(), component);
    if (it == m_subscribers.end())
        return;
    m_subscribers.erase(it);
    if (component != m_scene)
        RemoveFreeNotification(component);
}

bool TGxCadencer::AsapHandlerExists()
{
    return g_asapHandler && g_asapHandler->Active();
}

bool TGxCadencer::IsRegisteredAsap() const
{
    return AsapHandlerExists() && std::find(g_asapList.begin(), g_asapList.end(), this) != g_asapList.end();
}

void TGxCadencer::Loaded()
{
    UpdateRegistration();
}

void TGxCadencer::Notification(TGxComponent* component, TGxOperation operation)
{
    if (operation != opRemove)
        return;
    std::erase(m_subscribers, component);
    if (component == m_scene) {
        m_scene = nullptr;
        UpdateRegistration();
    }
}

void TGxCadencer::UpdateRegistration()
{
    if (IsLoading() || IsDestroying())
        return;
    const bool wanted = (m_mode == cmASAP || m_mode == cmApplicationIdle) && m_scene != nullptr && m_enabled;
    if (!wanted) {
        Unregister(m_mode);
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (m_mode == cmASAP) {
        if (std::find(g_asapList.begin(), g_asapList.end(), this) == g_asapList.end())
            g_asapList.push_back(this);
        if (app == nullptr)
            return; // ticks start with no event loop to drive them
        if (!g_asapHandler)
            g_asapHandler = new GxCadencerAsapHandler(app);
        g_asapHandler->Activate();
    } else {
        g_idleCadencer = this;
        if (app == nullptr)
            return;
        if (!g_idleHook)
            g_idleHook = new GxCadencerIdleHook(app);
        g_idleHook->Start();
    }
}

void TGxCadencer::Unregister(TGxCadencerMode mode)
{
    if (mode == cmASAP) {
        std::replace(g_asapList.begin(), g_asapList.end(), this, static_cast<TGxCadencer*>(nullptr));
        // Inside a tick the walk packs the list and lets the handler go.
        if (!g_tickInProgress && !asapListHasEntries()) {
            g_asapList.clear();
            if (g_asapHandler)
                g_asapHandler->Release();
        }
    } else if (mode == cmApplicationIdle && g_idleCadencer == this) {
        g_idleCadencer = nullptr;
        if (g_idleHook)
            g_idleHook->Stop();
    }
}
