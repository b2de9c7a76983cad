#pragma once

#include "engine/scene/GxUpdateAbleComponent.h"

#include <vector>

class TGxScene;

enum TGxCadencerTimeReference { cmRTC, cmPerformanceCounter, cmExternal };
enum TGxCadencerMode { cmManual, cmASAP, cmApplicationIdle };

// The heartbeat of a 3D view: each tick measures the time since the previous
// one, advances the scene by it and raises OnProgress.
//
// cmASAP cadencers tick through the application's event loop, one posted
// event at a time: the events queued meanwhile (input, paints) are served
// before each tick, a tick never re-enters itself, and a stream of ticks that
// outruns the millisecond clock backs off on a 1 ms timer. An exception
// escaping a tick is shown in the error box and disables that cadencer.
// cmApplicationIdle cadencers tick whenever the event loop has nothing else to
// do (one at a time: the last registered). cmManual ones tick when Progress is called.
class TGxCadencer : public TGxComponent {
public:
    explicit TGxCadencer(TGxComponent* owner = nullptr);
    ~TGxCadencer() override;
    std::string_view ClassName() const override { return "TGxCadencer"; }

    // Not owned; forgotten when it is freed.
    TGxScene* Scene() const { return m_scene; }
    void SetScene(TGxScene* scene);

    // Ticks happen only while enabled; the time spent disabled does not count.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    TGxCadencerTimeReference TimeReference() const { return m_timeReference; }
    void SetTimeReference(TGxCadencerTimeReference reference) { m_timeReference = reference; }

    // Scales elapsed time; 0 freezes the time and disables the cadencer,
    // and the time goes on from where it stood when the multiplier comes back.
    double TimeMultiplier() const { return m_timeMultiplier; }
    void SetTimeMultiplier(double multiplier);

    // Largest step handed out, 0 for no limit; the excess time is dropped.
    double MaxDeltaTime() const { return m_maxDeltaTime; }
    void SetMaxDeltaTime(double seconds) { m_maxDeltaTime = seconds; }
    // Shorter steps are skipped; the time stays owed to a later tick.
    double MinDeltaTime() const { return m_minDeltaTime; }
    void SetMinDeltaTime(double seconds) { m_minDeltaTime = seconds; }
    // When positive, time is handed out in steps of exactly this size.
    double FixedDeltaTime() const { return m_fixedDeltaTime; }
    void SetFixedDeltaTime(double seconds) { m_fixedDeltaTime = seconds; }

    TGxCadencerMode Mode() const { return m_mode; }
    void SetMode(TGxCadencerMode mode);

    // Milliseconds slept before each tick; negative for none.
    int SleepLength() const { return m_sleepLength; }
    void SetSleepLength(int milliseconds) { m_sleepLength = milliseconds; }

    // (sender, deltaTime, newTime) once per step handed out.
    TGxProgressEvent OnProgress;

    // One tick.
    void Progress();
    // (raw clock - origin) x TimeMultiplier, also kept as CurrentTime.
    double GetCurrentTime();
    // The last time GetCurrentTime gave; with cmExternal also the clock, set from outside.
    double CurrentTime() const { return m_currentTime; }
    void SetCurrentTime(double seconds) { m_currentTime = seconds; }
    double OriginTime() const { return m_originTime; }
    void SetOriginTime(double seconds) { m_originTime = seconds; }
    // The time handed out so far.
    double LastTime() const { return m_lastTime; }
    // Inside a tick.
    bool IsBusy() const { return m_progressing != 0; }

    // Components that get StepProgress with every step; not owned, forgotten when freed.
    void Subscribe(TGxCadenceAbleComponent* component);
    void UnSubscribe(TGxCadenceAbleComponent* component);

    // Whether the shared machinery that drives cmASAP cadencers exists (it
    // lives while at least one cadencer is registered in that mode).
    static bool AsapHandlerExists();
    bool IsRegisteredAsap() const;

protected:
    void Loaded() override;
    void Notification(TGxComponent* component, TGxOperation operation) override;

private:
    friend class GxCadencerAsapHandler;
    friend class GxCadencerIdleHook;

    double RawTime() const;
    void UpdateRegistration();
    void Unregister(TGxCadencerMode mode);

    std::vector<TGxCadenceAbleComponent*> m_subscribers;
    double m_lastTime = 0.0;
    double m_downTime = 0.0;
    double m_lastMultiplier = 0.0;
    double m_currentTime = 0.0;
    double m_originTime = 0.0;
    // > 0 inside a tick; negated while the scene is being advanced.
    int m_progressing = 0;

    TGxScene* m_scene = nullptr;
    bool m_enabled = true;
    TGxCadencerTimeReference m_timeReference = cmPerformanceCounter;
    double m_timeMultiplier = 1.0;
    double m_maxDeltaTime = 0.0;
    double m_minDeltaTime = 0.0;
    double m_fixedDeltaTime = 0.0;
    TGxCadencerMode m_mode = cmASAP;
    int m_sleepLength = -1;
};
