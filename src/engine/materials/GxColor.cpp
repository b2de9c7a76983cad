#include "engine/materials/GxColor.h"

#include "base/SystemColors.h"

TGxColor::TGxColor(IGxChangeListener* owner, float r, float g, float b, float a)
    : TGxUpdateAbleObject(owner), m_rgba{r, g, b, a}
{
}

void TGxColor::setComponent(int i, float v)
{
    if (m_rgba[i] == v)
        return;
    m_rgba[i] = v;
    NotifyChange(this);
}

void TGxColor::SetColorVector(float r, float g, float b, float a)
{
    m_rgba = {r, g, b, a};
    NotifyChange(this);
}

void TGxColor::SetWinColor(std::int32_t value)
{
    std::uint32_t v = static_cast<std::uint32_t>(value);
    if (value < 0)
        v = systemColorValue(static_cast<int>(v & 0xFF));
    SetColorVector(float(v & 0xFF) / 255.0f, float((v >> 8) & 0xFF) / 255.0f, float((v >> 16) & 0xFF) / 255.0f,
                   1.0f);
}

void TGxColor::Assign(const TGxColor& source)
{
    m_rgba = source.m_rgba;
    NotifyChange(this);
}
