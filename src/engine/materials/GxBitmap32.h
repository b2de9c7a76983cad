#pragma once

#include "engine/materials/GxTextureTypes.h"
#include "engine/materials/Picture.h"

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

// An RGBA image, 4 bytes a pixel (R, G, B, A), rows stored from the bottom
// row of the picture up: the first stored row is the one OpenGL maps to t = 0.
class TGxBitmap32 {
public:
    TGxBitmap32() = default;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::size_t DataSize() const { return m_data.size(); }
    std::uint8_t* Data() { return m_data.data(); }
    const std::uint8_t* Data() const { return m_data.data(); }
    // Pixel (x, y) with y counted from the bottom row.
    std::uint8_t* Pixel(int x, int y) { return m_data.data() + (std::size_t(y) * m_width + x) * 4; }
    const std::uint8_t* Pixel(int x, int y) const { return m_data.data() + (std::size_t(y) * m_width + x) * 4; }

    void SetSize(int width, int height); // zeroed pixels
    void Clear();
    void Assign(const TGxBitmap32& source);
    // A toolkit picture: a 24- or 32-bit bitmap whose width is a multiple of
    // 4 is taken as it is; anything else is drawn opaque onto a 24-bit
    // bitmap first, stretched to the next multiple of 4 when its width is
    // not one. An empty picture gives an empty bitmap.
    void Assign(const Picture& picture);
    // A 32-bit toolkit bitmap of the pixels.
    QImage ToImage() const;

    void ApplyImageAlpha(TGxTextureImageAlpha alpha);
    // Each colour byte v becomes round(v * factor), at most 255. factor >= 0.
    void SetBrightness(float factor);
    // Each colour byte v becomes round(255 * (v / 255)^(1/gamma)). gamma > 0.
    void SetGamma(float gamma);
    // Turns the intensities into a normal map (heights scaled by `scale`).
    void ToNormalMap(float scale, bool repeatS, bool repeatT);

    // Uploads the pixels to the bound texture: sizes rounded up to powers of
    // two (and limited to GL_MAX_TEXTURE_SIZE), mipmapped unless the filter
    // is miNearest or miLinear. Returns the uploaded width and height.
    std::array<int, 2> UploadTexture(GLenum target, TGxMinFilter minFilter, GLenum internalFormat) const;

    // floor(255 * sqrt(i / 255)) for i = 0..255.
    static const std::array<std::uint8_t, 256>& SqrtTable();

private:
    void applyTable(const std::array<std::uint8_t, 256>& table);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_data;
};
