#include "engine/objects/GxSamplingScale.h"

#include <cmath>

void TGxSamplingScale::SetMin(float v)
{
    if (v == m_min)
        return;
    m_min = v;
    if (m_max < m_min)
        m_max = m_min;
    NotifyChange(this);
}

void TGxSamplingScale::SetMax(float v)
{
    if (v == m_max)
        return;
    m_max = v;
    if (m_min > m_max)
        m_min = m_max;
    NotifyChange(this);
}

void TGxSamplingScale::SetOrigin(float v)
{
    if (v == m_origin)
        return;
    m_origin = v;
    NotifyChange(this);
}

void TGxSamplingScale::SetStep(float v)
{
    if (!(v > 0))
        v = 1;
    if (v == m_step)
        return;
    m_step = v;
    NotifyChange(this);
}

void TGxSamplingScale::Assign(const TGxSamplingScale& source)
{
    m_min = source.m_min;
    m_max = source.m_max;
    m_origin = source.m_origin;
    m_step = source.m_step;
    NotifyChange(this);
}

std::vector<float> TGxSamplingScale::Values(bool sampled) const
{
    if (!sampled)
        return {m_origin};
    float first = m_min;
    if (m_origin != m_min) {
        const float ratio = (m_origin - m_min) / m_step;
        float k = std::trunc(ratio);
        if (ratio < 0)
            k -= 1;
        first = m_origin - k * m_step;
    }
    const float limit = m_max + (m_max - first) / m_step * 1e-6f;
    std::vector<float> values;
    for (float v = first; v <= limit;) {
        values.push_back(v);
        const float next = v + m_step;
        // A step too small to move the value any more would never end.
        if (!(next > v))
            break;
        v = next;
    }
    return values;
}
