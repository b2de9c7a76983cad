#pragma once

#include "engine/materials/GxTexture.h"

#include "engine/materials/GxTextureMatrix.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

struct TGxMaterialContext;

// One texture layer of a material, drawn on its own texture unit.
class TGxTextureExItem : public TGxUpdateAbleObject {
public:
    TGxTextureExItem(IGxChangeListener* owner, int id);

    TGxTexture& Texture() { return m_texture; }
    const TGxTexture& Texture() const { return m_texture; }
    // The texture unit; a negative value is stored as 0.
    int TextureIndex() const { return m_textureIndex; }
    void SetTextureIndex(int v);
    const std::array<float, 3>& TextureOffset() const { return m_transform.Offset(); }
    const std::array<float, 3>& TextureScale() const { return m_transform.Scale(); }
    void SetTextureOffset(const std::array<float, 3>& v);
    void SetTextureScale(const std::array<float, 3>& v);
    bool TextureMatrixIsIdentity() const { return m_transform.IsIdentity(); }
    const std::array<float, 16>& TextureMatrix() const { return m_transform.Matrix(); }
    int ID() const { return m_id; }
    std::string DisplayName() const;
    void Assign(const TGxTextureExItem& source);

    bool Applied = false; // applied in the current drawing

private:

    TGxTexture m_texture;
    int m_id;
    int m_textureIndex;
    TGxTextureTransform m_transform;
};

// The ordered, owned texture layers of a material.
class TGxTextureEx {
public:
    explicit TGxTextureEx(IGxChangeListener* owner) : m_owner(owner) {}

    // A new layer numbered after every layer ever added (numbers of removed
    // layers are not reused); its unit starts at that number.
    TGxTextureExItem& Add();
    int Count() const { return static_cast<int>(m_items.size()); }
    TGxTextureExItem& Items(int i) { return *m_items.at(i); }
    const TGxTextureExItem& Items(int i) const { return *m_items.at(i); }
    void Delete(int i);
    void Clear();
    void Assign(const TGxTextureEx& source);

    // Whether a layer on texture unit `unit` has an enabled texture.
    bool IsTextureEnabled(int unit) const;
    // Only with multitexturing; layers on units OpenGL lacks are skipped.
    void Apply(TGxMaterialContext& context);
    void UnApply(TGxMaterialContext& context);

private:
    IGxChangeListener* m_owner;
    std::vector<std::unique_ptr<TGxTextureExItem>> m_items;
    int m_nextId = 0;
};
