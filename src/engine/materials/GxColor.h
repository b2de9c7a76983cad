#pragma once

#include "engine/scene/GxUpdateAble.h"

#include <array>
#include <cstdint>

// An RGBA colour of four floats, handed to OpenGL as one vector. Tells its
// owner when it changes.
class TGxColor : public TGxUpdateAbleObject {
public:
    explicit TGxColor(IGxChangeListener* owner, float r = 0, float g = 0, float b = 0, float a = 1);

    float Red() const { return m_rgba[0]; }
    float Green() const { return m_rgba[1]; }
    float Blue() const { return m_rgba[2]; }
    float Alpha() const { return m_rgba[3]; }
    void SetRed(float v) { setComponent(0, v); }
    void SetGreen(float v) { setComponent(1, v); }
    void SetBlue(float v) { setComponent(2, v); }
    void SetAlpha(float v) { setComponent(3, v); }

    void SetColorVector(float r, float g, float b, float a = 1);
    // A Windows colour value: lowest byte red, then green, then blue; alpha 1.
    // A negative value is a system colour, index (value and 0xFF).
    void SetWinColor(std::int32_t value);
    void Assign(const TGxColor& source);

    const float* AsArray() const { return m_rgba.data(); }
    const std::array<float, 4>& Vector() const { return m_rgba; }
    // Writes components without telling anybody (readers fill colours this way).
    std::array<float, 4>& DirectVector() { return m_rgba; }

private:
    void setComponent(int i, float v);

    std::array<float, 4> m_rgba;
};
