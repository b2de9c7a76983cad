#include "engine/scene/GxCadencer.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/GxErrorReport.h"
#include "platform/ErrorBox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <QElapsedTimer>
#include <QEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace {

struct Step {
    double delta;
    double newTime;
    bool operator==(const Step&) const = default;
};

[[maybe_unused]] std::ostream& operator<<(std::ostream& out, const Step& s)
{
    return out << "(" << s.delta << ", " << s.newTime << ")";
}

// Runs the event loop until the condition holds or the time is up.
bool runUntil(const std::function<bool()>& condition, int milliseconds = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A manual cadencer on a clock the test sets, recording what it hands out to
// its OnProgress and to its scene.
struct ClockedCadencer {
    ClockedCadencer()
    {
        cadencer.SetMode(cmManual);
        cadencer.SetTimeReference(cmExternal);
        cadencer.SetOriginTime(0);
        cadencer.SetScene(&scene);
        cadencer.OnProgress = [this](TGxComponent* sender, double delta, double newTime) {
            EXPECT_EQ(sender, &cadencer);
            steps.push_back({delta, newTime});
        };
        scene.ObjectRoot()->OnProgress = [this](TGxComponent*, double delta, double newTime) {
            sceneSteps.push_back({delta, newTime});
        };
    }

    void tickAt(double clock)
    {
        cadencer.SetCurrentTime(clock);
        cadencer.Progress();
    }

    TGxScene scene;
    TGxCadencer cadencer;
    std::vector<Step> steps;
    std::vector<Step> sceneSteps;
};

TEST(Cadencer, DefaultsAreTheMapsSettings)
{
    TGxCadencer c;
    EXPECT_TRUE(c.Enabled());
    EXPECT_EQ(c.TimeReference(), cmPerformanceCounter);
    EXPECT_EQ(c.TimeMultiplier(), 1.0);
    EXPECT_EQ(c.MaxDeltaTime(), 0.0);
    EXPECT_EQ(c.MinDeltaTime(), 0.0);
    EXPECT_EQ(c.FixedDeltaTime(), 0.0);
    EXPECT_EQ(c.Mode(), cmASAP);
    EXPECT_EQ(c.SleepLength(), -1);
    EXPECT_EQ(c.Scene(), nullptr);
    // Without a scene there is nothing to tick, so nothing is registered.
    EXPECT_FALSE(c.IsRegisteredAsap());
}

TEST(Cadencer, HandsOutTimeByItsLimits)
{
    struct Case {
        const char* name;
        double minDelta, maxDelta, fixedDelta, multiplier;
        std::vector<double> clock;       // one tick at each reading
        std::vector<Step> expected;      // what OnProgress receives
        std::vector<Step> expectedScene; // what the scene receives
    };
    const Case cases[] = {
        // Two ticks at the same reading: the scene stays, OnProgress still runs with 0.
        {"elapsed time", 0, 0, 0, 1, {0.5, 0.5, 1.25}, {{0.5, 0.5}, {0, 0.5}, {0.75, 1.25}}, {{0.5, 0.5}, {0.75, 1.25}}},
        // A 2 s stall gives one 0.1 step; 1.9 s are dropped and the time goes on from 0.1.
        {"max delta", 0, 0.1, 0, 1, {2.0, 2.05}, {{0.1, 0.1}, {0.05, 0.15}}, {{0.1, 0.1}, {0.05, 0.15}}},
        // Short steps wait and accumulate.
        {"min delta", 0.25, 0, 0, 1, {0.125, 0.375}, {{0.375, 0.375}}, {{0.375, 0.375}}},
        // Fixed steps: 0.875 s give three of 0.25, the scene advancing to each
        // step's end; the remaining 0.125 s is owed to the next tick.
        {"fixed delta", 0, 0, 0.25, 1, {0.875, 1.0, 1.125, 1.25},
         {{0.25, 0.875}, {0.25, 0.875}, {0.25, 0.875}, {0.25, 1.0}, {0.25, 1.25}},
         {{0.25, 0.25}, {0.25, 0.5}, {0.25, 0.75}, {0.25, 1.0}, {0.25, 1.25}}},
        {"multiplier", 0, 0, 0, 2, {0.5, 0.75}, {{1.0, 1.0}, {0.5, 1.5}}, {{1.0, 1.0}, {0.5, 1.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockedCadencer t;
        t.cadencer.SetMinDeltaTime(c.minDelta);
        t.cadencer.SetMaxDeltaTime(c.maxDelta);
        t.cadencer.SetFixedDeltaTime(c.fixedDelta);
        t.cadencer.SetTimeMultiplier(c.multiplier);
        t.cadencer.SetOriginTime(0);
        for (double reading : c.clock)
            t.tickAt(reading);
        for (size_t i = 0; i < c.expected.size() && i < t.steps.size(); ++i) {
            EXPECT_NEAR(t.steps[i].delta, c.expected[i].delta, 1e-12) << i;
            EXPECT_NEAR(t.steps[i].newTime, c.expected[i].newTime, 1e-12) << i;
        }
        EXPECT_EQ(t.steps.size(), c.expected.size());
        for (size_t i = 0; i < c.expectedScene.size() && i < t.sceneSteps.size(); ++i) {
            EXPECT_NEAR(t.sceneSteps[i].delta, c.expectedScene[i].delta, 1e-12) << i;
            EXPECT_NEAR(t.sceneSteps[i].newTime, c.expectedScene[i].newTime, 1e-12) << i;
        }
        EXPECT_EQ(t.sceneSteps.size(), c.expectedScene.size());
    }
}

TEST(Cadencer, FixedStepsOfTheMapsOrderOfMagnitude)
{
    // 0.035 s in steps of 0.01: three steps, 0.005 s carried over.
    ClockedCadencer t;
    t.cadencer.SetFixedDeltaTime(0.01);
    t.tickAt(0.035);
    EXPECT_EQ(t.steps.size(), 3u);
    EXPECT_NEAR(t.cadencer.LastTime(), 0.03, 1e-12);
}

TEST(Cadencer, DisabledTimeDoesNotCount)
{
    ClockedCadencer t;
    t.tickAt(1.0);
    t.cadencer.SetEnabled(false);
    t.tickAt(3.0); // no tick while disabled
    t.cadencer.SetCurrentTime(6.0);
    t.cadencer.SetEnabled(true);
    t.tickAt(6.5);
    ASSERT_EQ(t.steps.size(), 2u);
    EXPECT_NEAR(t.steps[1].delta, 0.5, 1e-12);
    EXPECT_NEAR(t.steps[1].newTime, 1.5, 1e-12);
}

TEST(Cadencer, TimeStaysContinuousWhenTheMultiplierChanges)
{
    ClockedCadencer t;
    t.tickAt(1.0);
    t.cadencer.SetCurrentTime(1.0);
    t.cadencer.SetTimeMultiplier(2.0); // from here the time runs twice as fast
    t.tickAt(2.0);
    ASSERT_EQ(t.steps.size(), 2u);
    EXPECT_NEAR(t.steps[1].delta, 2.0, 1e-12);
    EXPECT_NEAR(t.steps[1].newTime, 3.0, 1e-12);

    // Multiplier 0 freezes the time and disables; a later multiplier takes
    // it up where it stood.
    t.cadencer.SetCurrentTime(2.0);
    t.cadencer.SetTimeMultiplier(0.0);
    EXPECT_FALSE(t.cadencer.Enabled());
    t.tickAt(4.0);
    EXPECT_EQ(t.steps.size(), 2u);
    t.cadencer.SetCurrentTime(5.0);
    t.cadencer.SetTimeMultiplier(1.0);
    EXPECT_TRUE(t.cadencer.Enabled());
    t.tickAt(5.5);
    ASSERT_EQ(t.steps.size(), 3u);
    EXPECT_NEAR(t.steps[2].delta, 0.5, 1e-12);
    EXPECT_NEAR(t.steps[2].newTime, 3.5, 1e-12);
}

TEST(Cadencer, TimeSources)
{
    TGxCadencer c;
    c.SetMode(cmManual);
    // The performance counter and the calendar clock both count seconds.
    c.SetOriginTime(0);
    const double a = c.GetCurrentTime();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 20) {
    }
    const double b = c.GetCurrentTime();
    EXPECT_GT(b - a, 0.015);
    EXPECT_LT(b - a, 1.0);

    c.SetTimeReference(cmRTC);
    EXPECT_NEAR(c.GetCurrentTime(), double(QDateTime::currentMSecsSinceEpoch()) / 1000.0, 1.0);

    c.SetTimeReference(cmExternal);
    c.SetOriginTime(10);
    c.SetCurrentTime(12.5);
    EXPECT_EQ(c.GetCurrentTime(), 2.5);
    EXPECT_EQ(c.CurrentTime(), 2.5);
}

TEST(Cadencer, ASceneAdvancedByTheCadencerCannotTickItAgain)
{
    ClockedCadencer t;
    t.scene.ObjectRoot()->OnProgress = [&](TGxComponent*, double delta, double newTime) {
        t.sceneSteps.push_back({delta, newTime});
        t.cadencer.SetCurrentTime(100);
        t.cadencer.Progress();
    };
    t.tickAt(1.0);
    EXPECT_EQ(t.sceneSteps.size(), 1u);
    EXPECT_EQ(t.steps.size(), 1u);
}

TEST(Cadencer, ForgetsFreedSceneAndSubscribers)
{
    auto scene = std::make_unique<TGxScene>();
    TGxCadencer c;
    c.SetMode(cmManual);
    c.SetScene(scene.get());
    auto* component = new TGxCadenceAbleComponent;
    c.Subscribe(component);
    delete component;
    scene.reset();
    EXPECT_EQ(c.Scene(), nullptr);
    c.Progress(); // nothing freed is touched
}

TEST(Cadencer, SubscribersStepWithTheScene)
{
    struct Counter : TGxCadenceAbleComponent {
        void StepProgress(const TGxProgressTimes& times) override { received.push_back({times.deltaTime, times.newTime}); }
        std::vector<Step> received;
    } counter;
    ClockedCadencer t;
    t.cadencer.Subscribe(&counter);
    t.tickAt(0.5);
    t.cadencer.UnSubscribe(&counter);
    t.tickAt(1.0);
    EXPECT_EQ(counter.received, (std::vector<Step>{{0.5, 0.5}}));
}

// ---- Ticking through the event loop ----

// A cadencer in the default mode on the real clock, counting its ticks.
struct LiveCadencer {
    explicit LiveCadencer(TGxScene& scene)
    {
        cadencer.OnProgress = [this](TGxComponent*, double, double) {
            ++ticks;
            if (onTick)
                onTick();
        };
        cadencer.SetScene(&scene);
    }
    TGxCadencer cadencer;
    int ticks = 0;
    std::function<void()> onTick;
};

TEST(CadencerAsap, TicksChainThroughTheEventLoopAndServeQueuedEventsFirst)
{
    TGxScene scene;
    LiveCadencer live(scene);
    EXPECT_TRUE(live.cadencer.IsRegisteredAsap());
    EXPECT_TRUE(TGxCadencer::AsapHandlerExists());

    // An event posted during one tick is delivered before the next tick runs.
    struct Receiver : QObject {
        bool event(QEvent* e) override
        {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            ++delivered;
            return true;
        }
        int delivered = 0;
    } receiver;
    int posted = 0;
    int depth = 0;
    int deepest = 0;
    live.onTick = [&] {
        EXPECT_EQ(receiver.delivered, posted) << "at tick " << live.ticks;
        // A tick that runs the event loop itself never gets a tick inside.
        ++depth;
        deepest = std::max(deepest, depth);
        QCoreApplication::processEvents();
        --depth;
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        ++posted;
    };
    ASSERT_TRUE(runUntil([&] { return live.ticks >= 20; }));
    EXPECT_EQ(deepest, 1);

    // Leaving the mode lets the shared machinery go.
    live.cadencer.SetMode(cmManual);
    EXPECT_FALSE(TGxCadencer::AsapHandlerExists());
    const int ticks = live.ticks;
    runUntil([] { return false; }, 50);
    EXPECT_EQ(live.ticks, ticks);
}

TEST(CadencerAsap, AFailingTickIsReportedAndDisablesOnlyItsCadencer)
{
    QStringList errors;
    struct Restore {
        ErrorPresenter previous;
        ~Restore() { setErrorPresenter(previous); }
    } restore{setErrorPresenter([&](const QString&, const QString& text) { errors << text; })};
    // As the program does: the engine's errors go to the error box.
    struct RestoreReporter {
        GxErrorReporter previous;
        ~RestoreReporter() { SetGxErrorReporter(previous); }
    } restoreReporter{SetGxErrorReporter([] { showErrorBox(currentExceptionText()); })};
    TGxScene scene;
    LiveCadencer failing(scene);
    LiveCadencer healthy(scene);
    failing.onTick = [] { throw std::runtime_error("Тик не удался"); };
    ASSERT_TRUE(runUntil([&] { return healthy.ticks >= 10; }));
    EXPECT_EQ(errors, QStringList{"Тик не удался."});
    EXPECT_FALSE(failing.cadencer.Enabled());
    EXPECT_EQ(failing.ticks, 1);
    EXPECT_TRUE(healthy.cadencer.Enabled());
}

TEST(CadencerAsap, DisablingAndFreeingStopTheTicks)
{
    TGxScene scene;
    auto first = std::make_unique<LiveCadencer>(scene);
    LiveCadencer second(scene);
    ASSERT_TRUE(runUntil([&] { return first->ticks >= 3 && second.ticks >= 3; }));

    second.cadencer.SetEnabled(false);
    const int stopped = second.ticks;
    const int running = first->ticks;
    ASSERT_TRUE(runUntil([&] { return first->ticks >= running + 5; }));
    EXPECT_EQ(second.ticks, stopped);

    // The last registered cadencer going away releases the machinery.
    first.reset();
    EXPECT_FALSE(TGxCadencer::AsapHandlerExists());
    second.cadencer.SetEnabled(true);
    EXPECT_TRUE(TGxCadencer::AsapHandlerExists());
    ASSERT_TRUE(runUntil([&] { return second.ticks >= stopped + 3; }));
}

TEST(CadencerAsap, AFastStreamOfTicksLeavesTimersTheirTurn)
{
    // Ticks that do nothing come much faster than the millisecond clock.
    TGxScene scene;
    LiveCadencer live(scene);
    int timerShots = 0;
    QTimer timer;
    timer.setInterval(2);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++timerShots; });
    timer.start();
    ASSERT_TRUE(runUntil([&] { return live.ticks >= 20000; }, 20000));
    EXPECT_GT(timerShots, 0);
}

TEST(CadencerIdle, TicksWhenTheLoopIsIdle)
{
    TGxScene scene;
    LiveCadencer live(scene);
    live.cadencer.SetMode(cmApplicationIdle);
    EXPECT_FALSE(live.cadencer.IsRegisteredAsap());
    ASSERT_TRUE(runUntil([&] { return live.ticks >= 5; }));
    live.cadencer.SetMode(cmManual);
    const int ticks = live.ticks;
    runUntil([] { return false; }, 30);
    EXPECT_EQ(live.ticks, ticks);
}

} // namespace
