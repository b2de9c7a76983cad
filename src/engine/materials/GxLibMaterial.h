#pragma once

#include "engine/materials/GxMaterial.h"

#include "engine/materials/GxTextureMatrix.h"
#include "engine/scene/GxPointerSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TGxMaterialLibrary;

// A named material of a material library. Materials link to it by name
// (its Users); it draws for them.
class TGxLibMaterial : public IGxChangeListener {
public:
    explicit TGxLibMaterial(TGxMaterialLibrary* library);
    virtual ~TGxLibMaterial();
    TGxLibMaterial(const TGxLibMaterial&) = delete;
    TGxLibMaterial& operator=(const TGxLibMaterial&) = delete;

    TGxMaterialLibrary* Library() const { return m_library; }
    const std::string& Name() const { return m_name; }
    // A name another entry of the library holds gets the first free number appended.
    void SetName(const std::string& name);
    std::uint32_t NameHash() const { return m_nameHash; }
    static std::uint32_t ComputeNameHash(std::string_view name);

    TGxMaterial& Material() { return m_material; }
    const TGxMaterial& Material() const { return m_material; }
    void SetMaterial(const TGxMaterial& v) { m_material.Assign(v); }
    int Tag = 0;

    const std::array<float, 3>& TextureOffset() const { return m_transform.Offset(); }
    const std::array<float, 3>& TextureScale() const { return m_transform.Scale(); }
    void SetTextureOffset(const std::array<float, 3>& v);
    void SetTextureScale(const std::array<float, 3>& v);
    bool TextureMatrixIsIdentity() const { return m_transform.IsIdentity(); }
    const std::array<float, 16>& TextureMatrix() const { return m_transform.Matrix(); }

    // Another entry whose texture is laid over this one on texture unit 1;
    // looked up at the first use, and cleared then when nothing matches.
    const std::string& Texture2Name() const { return m_texture2Name; }
    void SetTexture2Name(const std::string& name);

    // Materials and library materials linked to this one.
    const std::vector<IGxChangeListener*>& Users() const { return m_users.items(); }
    void RegisterUser(IGxChangeListener* user);
    void UnregisterUser(IGxChangeListener* user);

    void ApplyState(TGxMaterialContext& context);
    bool RestoreState(TGxMaterialContext& context);

    // Lets the library rewrite a texture file name (its handler, then its folders).
    void TextureNeeded(std::string& fileName);

    // Every user hears of a change (guarded against coming back here).
    void NotifyChange(IGxChangeListener* sender) override;
    void StructureChanged() override;

private:
    friend class TGxLibMaterials;
    void setNameUnchecked(const std::string& name);
    void texture2Lost();

    TGxMaterialLibrary* m_library;
    std::string m_name;
    std::uint32_t m_nameHash = 0;
    TGxMaterial m_material;
    TGxTextureTransform m_transform;
    std::string m_texture2Name;
    TGxLibMaterial* m_texture2 = nullptr;
    bool m_usedTexture2 = false;
    bool m_loadedMatrix = false; // unit 0's texture matrix is ours until restored
    GxPointerSet<IGxChangeListener> m_users;
    bool m_notifying = false;
};
