#pragma once

#include "engine/scene/GxUpdateAble.h"

#include <vector>

// One axis of a grid: the values from Min to Max in steps of Step, aligned
// so that Origin is one of them.
class TGxSamplingScale : public TGxUpdateAbleObject {
public:
    explicit TGxSamplingScale(IGxChangeListener* owner) : TGxUpdateAbleObject(owner) {}

    float Min() const { return m_min; }
    // Above Max moves Max to it.
    void SetMin(float v);
    float Max() const { return m_max; }
    // Below Min moves Min to it.
    void SetMax(float v);
    float Origin() const { return m_origin; }
    void SetOrigin(float v);
    float Step() const { return m_step; }
    // 0 or less stores 1.
    void SetStep(float v);

    void Assign(const TGxSamplingScale& source);

    // The axis's values, ascending; an axis that is not sampled has the
    // single value Origin.
    std::vector<float> Values(bool sampled) const;

private:
    float m_min = 0;
    float m_max = 0;
    float m_origin = 0;
    float m_step = 0.1f;
};
