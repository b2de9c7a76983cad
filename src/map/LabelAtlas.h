#pragma once

#include <QImage>

#include <string>
#include <unordered_map>

// The pictures of the map's label texts packed side by side into one
// OpenGL texture with its first few mipmap levels, so that all labels of a
// frame draw from one texture in one batch. Pictures are added on first use
// and kept; when the texture is full it starts again empty. Needs the
// OpenGL context it was first used in (or one sharing with it) current.
class LabelAtlas {
public:
    static constexpr int kWidth = 2048;
    static constexpr int kHeight = 1024;
    static constexpr int kLevels = 4; // level 0 and three halvings
    static constexpr int kAlign = 1 << (kLevels - 1); // pictures' sizes and places are multiples of it

    // Where a picture lies, in texture coordinates (v down the picture).
    struct Slot {
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    };

    LabelAtlas() = default;
    LabelAtlas(const LabelAtlas&) = delete;
    LabelAtlas& operator=(const LabelAtlas&) = delete;
    ~LabelAtlas();

    // The texture, made on first use.
    unsigned Texture();
    // The slot of `key`'s picture; `picture` (premultiplied ARGB, sides
    // multiples of kAlign) is made and uploaded when the key is new. False
    // when it does not fit even an empty texture.
    template <class MakePicture>
    bool SlotOf(const std::string& key, MakePicture&& picture, Slot& slot)
    {
        if (const auto it = m_slots.find(key); it != m_slots.end()) {
            slot = it->second;
            return true;
        }
        return add(key, picture(), slot);
    }
    // Forgets every picture (the texture stays); the next ones start at the top.
    void Clear();
    // Forgets the texture without freeing it (its context is gone).
    void Abandon();
    std::size_t Count() const { return m_slots.size(); }

private:
    bool add(const std::string& key, const QImage& picture, Slot& slot);

    unsigned m_texture = 0;
    int m_x = 0, m_y = 0, m_shelf = 0; // next free place, height of the current shelf
    std::unordered_map<std::string, Slot> m_slots;
};
