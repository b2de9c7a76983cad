#include "map/LabelAtlas.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace {
// Transparent space kept between pictures, so that smaller mipmap levels do
// not mix in a neighbour.
constexpr int kGap = LabelAtlas::kAlign;
} // namespace

LabelAtlas::~LabelAtlas()
{
    if (m_texture != 0)
        glDeleteTextures(1, &m_texture);
}

unsigned LabelAtlas::Texture()
{
    if (m_texture != 0)
        return m_texture;
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, kLevels - 1);
    // Transparent everywhere: what lies between pictures is sampled at their edges.
    const std::vector<unsigned char> clear(std::size_t(kWidth) * kHeight * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (int level = 0; level < kLevels; ++level)
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, kWidth >> level, kHeight >> level, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     clear.data());
    return m_texture;
}

void LabelAtlas::Clear()
{
    m_slots.clear();
    m_x = m_y = m_shelf = 0;
}

void LabelAtlas::Abandon()
{
    m_texture = 0;
    Clear();
}

bool LabelAtlas::add(const std::string& key, const QImage& picture, Slot& slot)
{
    const int w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0 || w + kGap > kWidth || h + kGap > kHeight || w % kAlign != 0 || h % kAlign != 0)
        return false;
    if (m_x + w + kGap > kWidth) { // next shelf
        m_y += m_shelf;
        m_x = 0;
        m_shelf = 0;
    }
    if (m_y + h + kGap > kHeight)
        return false;
    const int x = m_x, y = m_y;
    m_x += w + kGap;
    m_shelf = std::max(m_shelf, h + kGap);

    glBindTexture(GL_TEXTURE_2D, Texture());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Each level halved from the one before, premultiplied so that the
    // transparent edge does not darken it, then straight alpha for blending.
    QImage level = picture;
    for (int l = 0; l < kLevels; ++l) {
        if (l > 0)
            level = level.scaled(w >> l, h >> l, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage straight = level.convertToFormat(QImage::Format_RGBA8888);
        glTexSubImage2D(GL_TEXTURE_2D, l, x >> l, y >> l, straight.width(), straight.height(), GL_RGBA,
                        GL_UNSIGNED_BYTE, straight.constBits());
    }
    slot = {float(x) / kWidth, float(y) / kHeight, float(x + w) / kWidth, float(y + h) / kHeight};
    m_slots.emplace(key, slot);
    return true;
}
