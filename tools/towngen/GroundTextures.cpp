#include "GroundTextures.h"

#include "TownRandom.h"

#include <algorithm>
#include <cmath>

namespace {
// Value noise on a lattice that wraps every `period` cells.
class PeriodicNoise {
public:
    PeriodicNoise(int period, std::uint64_t seed) : m_period(period), m_values(std::size_t(period * period))
    {
        TownRandom r(seed);
        for (float& v : m_values)
            v = float(r.uniform());
    }
    // x, y in [0, 1): one period across the picture.
    float at(float x, float y) const
    {
        const float fx = x * float(m_period), fy = y * float(m_period);
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const float tx = smooth(fx - float(x0)), ty = smooth(fy - float(y0));
        const float a = value(x0, y0), b = value(x0 + 1, y0), c = value(x0, y0 + 1), d = value(x0 + 1, y0 + 1);
        return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
    }

private:
    static float smooth(float t) { return t * t * (3 - 2 * t); }
    float value(int x, int y) const
    {
        x = ((x % m_period) + m_period) % m_period;
        y = ((y % m_period) + m_period) % m_period;
        return m_values[std::size_t(y * m_period + x)];
    }
    int m_period;
    std::vector<float> m_values;
};

float fbm(const std::vector<PeriodicNoise>& octaves, float x, float y)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (const PeriodicNoise& n : octaves) {
        sum += amp * n.at(x, y);
        norm += amp;
        amp *= 0.55f;
    }
    return sum / norm;
}

std::uint8_t clampByte(float v) { return std::uint8_t(std::clamp(v, 0.0f, 255.0f)); }
} // namespace

float groundTileSize(GroundKind kind)
{
    switch (kind) {
    case GroundKind::Grass: return 10;
    case GroundKind::Asphalt: return 4;
    case GroundKind::Sand: return 4;
    case GroundKind::Paving: return 2;
    }
    return 4;
}

std::string groundMaterialName(GroundKind kind, float width, float height)
{
    if (kind == GroundKind::Grass)
        return "grass";
    const char* prefix = kind == GroundKind::Asphalt ? "asph" : (kind == GroundKind::Sand ? "sand" : "pave");
    const float tile = groundTileSize(kind);
    return std::string(prefix) + std::to_string(int(std::lround(width / tile))) + "x"
           + std::to_string(int(std::lround(height / tile)));
}

LibMaterialRecord groundMaterial(GroundKind kind, const std::string& name, const std::string& bmp, float width,
                                 float height)
{
    LibMaterialRecord m;
    m.name = name;
    m.image = bmp;
    // A plane is one quad lit at its corners only: the map's light sits at
    // the camera, so a large plane's far corners get almost no light and
    // the whole quad darkens. Most of its brightness comes from emission.
    m.front.ambient = {0.55f, 0.55f, 0.55f};
    m.front.diffuse = {0.35f, 0.35f, 0.35f, 1};
    m.front.emission = {0.6f, 0.6f, 0.6f};
    const float tile = groundTileSize(kind);
    m.textureScale = {width / tile, height / tile, 1};
    return m;
}

GroundPicture groundPicture(GroundKind kind)
{
    GroundPicture pic;
    const int n = pic.size;
    pic.rgb.resize(std::size_t(n * n * 3));
    std::vector<PeriodicNoise> octaves;
    for (int k = 0, period = 4; k < 5; ++k, period *= 2)
        octaves.emplace_back(period, 0x5EED0000ull + std::uint64_t(kind) * 100 + std::uint64_t(k));
    const PeriodicNoise patches(3, 0xBA5Eull + std::uint64_t(kind));
    TownRandom grain(0x6A11ull + std::uint64_t(kind));
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float u = float(x) / float(n), v = float(y) / float(n);
            const float f = fbm(octaves, u, v);
            const float g = float(grain.uniform()) - 0.5f;
            float r = 0, gr = 0, b = 0;
            switch (kind) {
            case GroundKind::Grass: {
                // Late-summer grass, olive with dry patches: the houses are
                // drawn pure green and must stand out from it.
                const float p = patches.at(u, v);
                const float k = 0.74f + 0.5f * f + 0.12f * g;
                r = (104 + 40 * p) * k;
                gr = (130 + 14 * p) * k;
                b = (66 + 12 * p) * k;
                break;
            }
            case GroundKind::Asphalt: {
                const float k = 0.85f + 0.3f * f + 0.22f * g;
                r = 100 * k;
                gr = 100 * k;
                b = 104 * k;
                break;
            }
            case GroundKind::Sand: {
                const float ripple = 0.5f + 0.5f * std::sin(float(2 * 3.14159265) * (6 * v + 1.5f * f));
                const float k = 0.86f + 0.18f * f + 0.06f * ripple + 0.1f * g;
                r = 222 * k;
                gr = 200 * k;
                b = 146 * k;
                break;
            }
            case GroundKind::Paving: {
                // Slabs in running bond: 16 by 8 pixels, every other row shifted.
                const int row = y / 8;
                const int col = (x + (row % 2) * 8) / 16;
                const bool grout = y % 8 == 0 || (x + (row % 2) * 8) % 16 == 0;
                TownRandom slab(std::uint64_t(row * 131 + col % 8) + 0x51ABull);
                const float tone = grout ? 0.72f : 0.92f + 0.16f * float(slab.uniform());
                const float k = tone * (0.93f + 0.12f * f + 0.06f * g);
                r = 188 * k;
                gr = 176 * k;
                b = 160 * k;
                break;
            }
            }
            const std::size_t i = std::size_t((y * n + x) * 3);
            pic.rgb[i] = clampByte(r);
            pic.rgb[i + 1] = clampByte(gr);
            pic.rgb[i + 2] = clampByte(b);
        }
    }
    return pic;
}
