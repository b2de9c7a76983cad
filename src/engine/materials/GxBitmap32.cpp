#include "engine/materials/GxBitmap32.h"

#include "engine/materials/GxGlCaps.h"
#include "base/GxException.h"

#include <GL/glext.h>
#include <GL/glu.h>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

void TGxBitmap32::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    m_width = width;
    m_height = height;
    m_data.assign(std::size_t(width) * height * 4, 0);
}

void TGxBitmap32::Clear()
{
    m_width = 0;
    m_height = 0;
    m_data.clear();
}

void TGxBitmap32::Assign(const TGxBitmap32& source)
{
    m_width = source.m_width;
    m_height = source.m_height;
    m_data = source.m_data;
}

void TGxBitmap32::Assign(const Picture& picture)
{
    if (picture.isEmpty()) {
        Clear();
        return;
    }
    const QImage& src = picture.image;
    const bool direct = picture.kind == Picture::Kind::Bitmap
                        && (picture.bitsPerPixel == 24 || picture.bitsPerPixel == 32) && src.width() % 4 == 0;
    QImage rgba;
    if (direct) {
        rgba = picture.bitsPerPixel == 32 ? src.convertToFormat(QImage::Format_RGBA8888)
                                          : src.convertToFormat(QImage::Format_RGBX8888);
    } else {
        // Drawn opaque onto a 24-bit bitmap whose width is a multiple of 4.
        const int width = src.width() % 4 == 0 ? src.width() : src.width() / 4 * 4 + 4;
        QImage canvas(width, src.height(), QImage::Format_RGB888);
        canvas.fill(Qt::black);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(QRect(0, 0, width, src.height()), src);
        }
        rgba = canvas.convertToFormat(QImage::Format_RGBX8888);
    }
    SetSize(rgba.width(), rgba.height());
    const std::size_t rowBytes = std::size_t(m_width) * 4;
    for (int y = 0; y < m_height; ++y)
        std::memcpy(Pixel(0, y), rgba.constScanLine(m_height - 1 - y), rowBytes);
}

QImage TGxBitmap32::ToImage() const
{
    if (m_data.empty())
        return {};
    QImage image(m_width, m_height, QImage::Format_RGBA8888);
    for (int y = 0; y < m_height; ++y)
        std::memcpy(image.scanLine(m_height - 1 - y), Pixel(0, y), std::size_t(m_width) * 4);
    return image;
}

const std::array<std::uint8_t, 256>& TGxBitmap32::SqrtTable()
{
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<std::uint8_t>(std::floor(255.0 * std::sqrt(i / 255.0)));
        return t;
    }();
    return table;
}

void TGxBitmap32::ApplyImageAlpha(TGxTextureImageAlpha alpha)
{
    if (m_data.empty() || alpha == tiaDefault)
        return;
    const auto& sqrtTable = SqrtTable();
    const std::uint8_t r0 = m_data[0], g0 = m_data[1], b0 = m_data[2];
    for (std::size_t i = 0; i < m_data.size(); i += 4) {
        std::uint8_t* p = &m_data[i];
        const int intensity = (p[0] + p[1] + p[2]) / 3;
        switch (alpha) {
        case tiaAlphaFromIntensity:
        case tiaLuminance: p[3] = static_cast<std::uint8_t>(intensity); break;
        case tiaSuperBlackTransparent: p[3] = (p[0] == 0 && p[1] == 0 && p[2] == 0) ? 0 : 255; break;
        case tiaLuminanceSqrt: p[3] = sqrtTable[intensity]; break;
        case tiaOpaque: p[3] = 255; break;
        case tiaTopLeftPointColorTransparent: p[3] = (p[0] == r0 && p[1] == g0 && p[2] == b0) ? 0 : 255; break;
        case tiaInverseLuminance: p[3] = static_cast<std::uint8_t>(255 - intensity); break;
        case tiaInverseLuminanceSqrt: p[3] = static_cast<std::uint8_t>(255 - sqrtTable[intensity]); break;
        default: break;
        }
    }
}

void TGxBitmap32::applyTable(const std::array<std::uint8_t, 256>& table)
{
    for (std::size_t i = 0; i < m_data.size(); i += 4) {
        m_data[i] = table[m_data[i]];
        m_data[i + 1] = table[m_data[i + 1]];
        m_data[i + 2] = table[m_data[i + 2]];
    }
}

void TGxBitmap32::SetBrightness(float factor)
{
    gxAssert(factor >= 0, "Brightness factor must not be negative");
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const double scaled = std::nearbyint(v * static_cast<double>(factor)); // halves to even
        table[v] = static_cast<std::uint8_t>(scaled > 255 ? 255 : scaled);
    }
    applyTable(table);
}

void TGxBitmap32::SetGamma(float gamma)
{
    gxAssert(gamma > 0, "Gamma must be above 0");
    const double exponent = gamma < 0.1f ? 10.0 : 1.0 / static_cast<double>(gamma);
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const double mapped = std::nearbyint(255.0 * std::pow(v / 255.0, exponent));
        table[v] = static_cast<std::uint8_t>(mapped > 255 ? 255 : mapped);
    }
    applyTable(table);
}

void TGxBitmap32::ToNormalMap(float scale, bool repeatS, bool repeatT)
{
    if (m_data.empty())
        return;
    std::vector<float> height(std::size_t(m_width) * m_height);
    for (std::size_t i = 0; i < height.size(); ++i)
        height[i] = (m_data[i * 4] + m_data[i * 4 + 1] + m_data[i * 4 + 2]) / (3.0f * 255.0f);
    auto at = [&](int x, int y) {
        x = repeatS ? (x + m_width) % m_width : std::clamp(x, 0, m_width - 1);
        y = repeatT ? (y + m_height) % m_height : std::clamp(y, 0, m_height - 1);
        return height[std::size_t(y) * m_width + x];
    };
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const float dx = (at(x + 1, y) - at(x - 1, y)) * scale * m_width;
            const float dy = (at(x, y + 1) - at(x, y - 1)) * scale * m_height;
            const float length = std::sqrt(dx * dx + dy * dy + 1.0f);
            std::uint8_t* p = Pixel(x, y);
            p[0] = static_cast<std::uint8_t>(std::lround((-dx / length * 0.5f + 0.5f) * 255.0f));
            p[1] = static_cast<std::uint8_t>(std::lround((-dy / length * 0.5f + 0.5f) * 255.0f));
            p[2] = static_cast<std::uint8_t>(std::lround((1.0f / length * 0.5f + 0.5f) * 255.0f));
        }
    }
}

namespace {
int powerOfTwoAtLeast(int v)
{
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

// Level 0 from `pixels`, then each level the mean of 2 x 2 texels of the
// one before (of 2 where a side is 1), down to 1 x 1, as GLU builds them. Each level is
// made over the one before in a single buffer a quarter of the image.
void uploadMipmaps(GLenum target, GLint internalFormat, int w, int h, const std::uint8_t* pixels)
{
    glTexImage2D(target, 0, internalFormat, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    std::vector<std::uint8_t> level;
    const std::uint8_t* from = pixels;
    for (int i = 1; w > 1 || h > 1; ++i) {
        const int nw = std::max(1, w / 2);
        const int nh = std::max(1, h / 2);
        if (level.empty())
            level.resize(std::size_t(nw) * std::size_t(nh) * 4);
        // Texel (x, y) reads texels (2x, 2y) onwards, at or after where it
        // is written: halving in place never reads what it has overwritten.
        const int dx = w > 1 ? 4 : 0;
        const std::size_t dy = h > 1 ? std::size_t(w) * 4 : 0;
        const int terms = (w > 1 ? 2 : 1) * (h > 1 ? 2 : 1);
        std::uint8_t* to = level.data();
        for (int y = 0; y < nh; ++y) {
            const std::uint8_t* row = from + std::size_t(y) * (h > 1 ? 2 : 1) * std::size_t(w) * 4;
            for (int x = 0; x < nw; ++x) {
                const std::uint8_t* t = row + std::size_t(x) * (w > 1 ? 8 : 4);
                for (int c = 0; c < 4; ++c) {
                    const int sum = terms == 4 ? t[c] + t[c + dx] + t[c + dy] + t[c + dy + dx] : t[c] + t[c + dx + dy];
                    // As GLU's builder: 4 texels rounded, 2 truncated.
                    *to++ = std::uint8_t(terms == 4 ? (sum + 2) / 4 : sum / terms);
                }
            }
        }
        glTexImage2D(target, i, internalFormat, nw, nh, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.data());
        from = level.data();
        w = nw;
        h = nh;
    }
}

} // namespace

std::array<int, 2> TGxBitmap32::UploadTexture(GLenum target, TGxMinFilter minFilter, GLenum internalFormat) const
{
    if (m_data.empty())
        return {0, 0};
    const int maxSize = GxGlCaps().maxTextureSize;
    const int w = std::min(powerOfTwoAtLeast(m_width), maxSize);
    const int h = std::min(powerOfTwoAtLeast(m_height), maxSize);
    std::vector<std::uint8_t> scaled;
    const std::uint8_t* pixels = m_data.data();
    if (w != m_width || h != m_height) {
        scaled.resize(std::size_t(w) * h * 4);
        gluScaleImage(GL_RGBA, m_width, m_height, GL_UNSIGNED_BYTE, m_data.data(), w, h, GL_UNSIGNED_BYTE,
                      scaled.data());
        pixels = scaled.data();
    }
    if (minFilter == miNearest || minFilter == miLinear) {
        glTexImage2D(target, 0, static_cast<GLint>(internalFormat), w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    } else {
        // Built here, not by OpenGL's own mipmap generation: the software
        // renderer compiles blit shaders for that, which doubled the first
        // frame of a small town for the same 2 x 2 averages.
        uploadMipmaps(target, static_cast<GLint>(internalFormat), w, h, pixels);
    }
    return {w, h};
}
