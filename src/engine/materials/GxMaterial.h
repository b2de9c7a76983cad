#pragma once

#include "engine/materials/GxFaceProperties.h"
#include "engine/materials/GxMaterialContext.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/GxTextureEx.h"

#include <memory>
#include <string>

class TGxLibMaterial;
class TGxMaterialLibrary;

enum TBlendingMode { bmOpaque, bmTransparency, bmAdditive, bmAlphaTest50, bmAlphaTest100, bmModulate };
enum TFaceCulling { fcBufferDefault, fcCull, fcNoCull };

// A set of TMaterialOption bits.
using TMaterialOptions = unsigned;
enum TMaterialOption : unsigned { moIgnoreFog = 1u << 0, moNoLighting = 1u << 1 };

// How a scene object's surfaces are coloured, lit, blended and textured.
// Linked by name to a library material, it draws with that one instead of
// its own settings.
class TGxMaterial : public TGxUpdateAbleObject {
public:
    explicit TGxMaterial(IGxChangeListener* owner);
    ~TGxMaterial() override;

    TGxFaceProperties& FrontProperties() { return m_front; }
    const TGxFaceProperties& FrontProperties() const { return m_front; }
    void SetFrontProperties(const TGxFaceProperties& v) { m_front.Assign(v); }
    // Created on first use.
    TGxFaceProperties& BackProperties();
    bool HasBackProperties() const { return m_back != nullptr; }
    void SetBackProperties(const TGxFaceProperties& v) { BackProperties().Assign(v); }

    TBlendingMode BlendingMode() const { return m_blendingMode; }
    void SetBlendingMode(TBlendingMode v);
    TMaterialOptions MaterialOptions() const { return m_options; }
    void SetMaterialOptions(TMaterialOptions v);
    TFaceCulling FaceCulling() const { return m_faceCulling; }
    void SetFaceCulling(TFaceCulling v);

    // Created (disabled) on first access.
    TGxTexture& Texture();
    bool HasTexture() const { return m_texture != nullptr; }
    // None frees the texture; otherwise it is assigned into this one.
    void SetTexture(const TGxTexture* v);

    // Created on first access; filled only by the library file.
    TGxTextureEx& TextureEx();
    bool HasTextureEx() const { return m_textureEx != nullptr; }

    TGxMaterialLibrary* MaterialLibrary() const { return m_library; }
    // Stores the library and links again by the current name.
    void SetMaterialLibrary(TGxMaterialLibrary* library);
    const std::string& LibMaterialName() const { return m_libMaterialName; }
    // Links to the library entry of that name (none when nothing matches).
    // A link chain that comes back to this material or is longer than 16
    // entries is an assertion failure "Error: Cyclic material reference detected!".
    void SetLibMaterialName(const std::string& name);
    TGxLibMaterial* LibMaterial() const { return m_libMaterial; }

    // Around the owner's geometry. RestoreState answers whether the geometry
    // must be drawn again with the material applied once more (never here).
    void ApplyState(TGxMaterialContext& context);
    bool RestoreState(TGxMaterialContext& context);
    // The material's own settings, ignoring any link.
    void ApplyOwnState(TGxMaterialContext& context);
    void RestoreOwnState(TGxMaterialContext& context);

    void Assign(const TGxMaterial& source);

    // Colours, faces and modes only: no texture, no extra texture layers,
    // no library. Such a material can stand for any other of equal settings.
    bool IsPlain() const;
    // Both plain and set alike.
    bool SamePlainSettings(const TGxMaterial& other) const;
    // A plain material's settings in a new material owned by `owner`,
    // which is told nothing.
    std::shared_ptr<TGxMaterial> PlainCopy(IGxChangeListener* owner) const;
    // Nobody is told of changes any more: the material is shared.
    void ReleaseOwner() { SetOwner(nullptr); }

    // Transparency, additive or modulate blending (of the linked entry when linked).
    bool Blended() const;

    // Passed on to the owner: recorded geometry depends on texture use.
    void StructureChanged() override;

    // The library entry or library is going away: forget it without notifying.
    void UnlinkSilently();
    void LibraryDestroyed();

private:
    bool layer0Enabled() const;

    TGxFaceProperties m_front;
    std::unique_ptr<TGxFaceProperties> m_back;
    TBlendingMode m_blendingMode = bmOpaque;
    TMaterialOptions m_options = 0;
    TFaceCulling m_faceCulling = fcBufferDefault;
    std::unique_ptr<TGxTexture> m_texture;
    std::unique_ptr<TGxTextureEx> m_textureEx;
    TGxMaterialLibrary* m_library = nullptr;
    std::string m_libMaterialName;
    TGxLibMaterial* m_libMaterial = nullptr;
    bool m_lightingCounted = false;
    bool m_fogCounted = false;
};
