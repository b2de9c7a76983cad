#pragma once

#include <array>

// The texture transform of a library material or a texture layer: scale by
// `scale`, then translate by `offset`, so (s, t) becomes
// (sx*s + ox, sy*t + oy). The matrix is column-major, as glLoadMatrixf takes it.
class TGxTextureTransform {
public:
    const std::array<float, 3>& Offset() const { return m_offset; }
    const std::array<float, 3>& Scale() const { return m_scale; }
    void SetOffset(const std::array<float, 3>& v) { m_offset = v; rebuild(); }
    void SetScale(const std::array<float, 3>& v) { m_scale = v; rebuild(); }
    bool IsIdentity() const { return m_identity; }
    const std::array<float, 16>& Matrix() const { return m_matrix; }

private:
    void rebuild()
    {
        m_identity = m_offset == std::array<float, 3>{0, 0, 0} && m_scale == std::array<float, 3>{1, 1, 1};
        m_matrix = {m_scale[0], 0, 0, 0, 0, m_scale[1], 0, 0, 0, 0, m_scale[2], 0, m_offset[0], m_offset[1],
                    m_offset[2], 1};
    }

    std::array<float, 3> m_offset{0, 0, 0};
    std::array<float, 3> m_scale{1, 1, 1};
    bool m_identity = true;
    std::array<float, 16> m_matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
