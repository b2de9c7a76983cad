#pragma once

#include "engine/scene/GxComponent.h"
#include "engine/scene/GxUpdateAble.h"

#include "engine/scene/GxCallback.h"

// The times of one progress step, in seconds.
struct TGxProgressTimes {
    double deltaTime = 0.0;
    double newTime = 0.0;
};

// Progress callback: (sender, deltaTime, newTime), times in seconds.
using TGxProgressEvent = TGxCallback<void(TGxComponent* sender, double deltaTime, double newTime)>;

// A component the cadencer can advance.
class TGxCadenceAbleComponent : public TGxComponent {
public:
    using TGxComponent::TGxComponent;
    std::string_view ClassName() const override { return "TGxCadenceAbleComponent"; }
    virtual void StepProgress(const TGxProgressTimes& times) {}
};

// A component that passes changes on. A part it owns (a colour, a material,
// a coordinate holder) reports through NotifyChange; the component then
// signals its own change.
class TGxUpdateAbleComponent : public TGxCadenceAbleComponent, public IGxChangeListener {
public:
    using TGxCadenceAbleComponent::TGxCadenceAbleComponent;
    std::string_view ClassName() const override { return "TGxUpdateAbleComponent"; }

    // By default tells an owner that is itself an updateable component.
    virtual void SignalChange()
    {
        if (auto* owner = dynamic_cast<TGxUpdateAbleComponent*>(Owner()))
            owner->SignalChange();
    }
    void NotifyChange(IGxChangeListener* sender) override { SignalChange(); }
};
