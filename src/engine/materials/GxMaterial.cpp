#include "engine/materials/GxMaterial.h"

#include "engine/materials/GxGlApi.h"
#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/materials/GxStateCache.h"

TGxMaterial::TGxMaterial(IGxChangeListener* owner) : TGxUpdateAbleObject(owner), m_front(this) {}

TGxMaterial::~TGxMaterial()
{
    if (m_libMaterial)
        m_libMaterial->UnregisterUser(this);
    if (m_library)
        m_library->UnregisterMaterial(this);
}

TGxFaceProperties& TGxMaterial::BackProperties()
{
    if (!m_back)
        m_back = std::make_unique<TGxFaceProperties>(this);
    return *m_back;
}

void TGxMaterial::SetBlendingMode(TBlendingMode v)
{
    if (v == m_blendingMode)
        return;
    m_blendingMode = v;
    NotifyChange(this);
}

void TGxMaterial::SetMaterialOptions(TMaterialOptions v)
{
    if (v == m_options)
        return;
    m_options = v;
    NotifyChange(this);
}

void TGxMaterial::SetFaceCulling(TFaceCulling v)
{
    if (v == m_faceCulling)
        return;
    m_faceCulling = v;
    NotifyChange(this);
}

TGxTexture& TGxMaterial::Texture()
{
    if (!m_texture) {
        m_texture = std::make_unique<TGxTexture>(this);
        if (auto* lib = dynamic_cast<TGxLibMaterial*>(Owner()))
            m_texture->OnTextureNeeded = [lib](std::string& name) { lib->TextureNeeded(name); };
    }
    return *m_texture;
}

void TGxMaterial::SetTexture(const TGxTexture* v)
{
    if (!v) {
        m_texture.reset();
        NotifyChange(this);
        return;
    }
    Texture().Assign(*v);
    NotifyChange(this);
}

TGxTextureEx& TGxMaterial::TextureEx()
{
    if (!m_textureEx)
        m_textureEx = std::make_unique<TGxTextureEx>(this);
    return *m_textureEx;
}

void TGxMaterial::SetMaterialLibrary(TGxMaterialLibrary* library)
{
    if (library != m_library) {
        if (m_library)
            m_library->UnregisterMaterial(this);
        m_library = library;
        if (m_library)
            m_library->RegisterMaterial(this);
    }
    SetLibMaterialName(m_libMaterialName);
}

void TGxMaterial::SetLibMaterialName(const std::string& name)
{
    TGxLibMaterial* found = m_library ? m_library->FindLibMaterial(name) : nullptr;
    int steps = 0;
    for (TGxLibMaterial* entry = found; entry; entry = entry->Material().LibMaterial()) {
        gxAssert(&entry->Material() != this && steps < 16, "Error: Cyclic material reference detected!");
        ++steps;
    }
    m_libMaterialName = name;
    if (found == m_libMaterial)
        return;
    if (m_libMaterial)
        m_libMaterial->UnregisterUser(this);
    m_libMaterial = found;
    if (m_libMaterial)
        m_libMaterial->RegisterUser(this);
    StructureChanged();
}

void TGxMaterial::StructureChanged()
{
    if (Owner())
        Owner()->StructureChanged();
}

void TGxMaterial::UnlinkSilently()
{
    if (m_library)
        m_library->UnregisterMaterial(this);
    m_library = nullptr;
    m_libMaterialName.clear();
    m_libMaterial = nullptr;
}

void TGxMaterial::LibraryDestroyed()
{
    m_library = nullptr;
}

bool TGxMaterial::layer0Enabled() const
{
    return m_textureEx && m_textureEx->IsTextureEnabled(0);
}

void TGxMaterial::ApplyState(TGxMaterialContext& context)
{
    if (m_libMaterial)
        m_libMaterial->ApplyState(context);
    else
        ApplyOwnState(context);
}

bool TGxMaterial::RestoreState(TGxMaterialContext& context)
{
    if (m_libMaterial)
        return m_libMaterial->RestoreState(context);
    RestoreOwnState(context);
    return false;
}

void TGxMaterial::ApplyOwnState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    m_lightingCounted = false;
    m_fogCounted = false;
    if ((m_options & moNoLighting) && cache.IsEnabled(GL_LIGHTING)) {
        cache.Disable(GL_LIGHTING);
        ++context.lightingDisabledCounter;
        m_lightingCounted = true;
    }
    if (cache.IsEnabled(GL_LIGHTING))
        m_front.ApplyLit(cache, GL_FRONT);
    else
        m_front.ApplyUnlit(cache, GL_FRONT);

    const bool culling = cache.IsEnabled(GL_CULL_FACE);
    switch (m_faceCulling) {
    case fcBufferDefault:
        if (culling) {
            if (!context.bufferCullsFaces) {
                cache.Disable(GL_CULL_FACE);
                BackProperties().ApplyLit(cache, GL_BACK);
            }
        } else if (context.bufferCullsFaces) {
            cache.Enable(GL_CULL_FACE);
        } else {
            BackProperties().ApplyLit(cache, GL_BACK);
        }
        break;
    case fcCull:
        if (!culling)
            cache.Enable(GL_CULL_FACE);
        break;
    case fcNoCull:
        if (culling)
            cache.Disable(GL_CULL_FACE);
        BackProperties().ApplyLit(cache, GL_BACK);
        break;
    }

    if (!context.ignoreBlendingRequests) {
        switch (m_blendingMode) {
        case bmOpaque:
            cache.Disable(GL_BLEND);
            cache.Disable(GL_ALPHA_TEST);
            break;
        case bmTransparency:
            cache.Enable(GL_BLEND);
            cache.Enable(GL_ALPHA_TEST);
            cache.SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case bmAdditive:
            cache.Enable(GL_BLEND);
            cache.Enable(GL_ALPHA_TEST);
            cache.SetBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case bmAlphaTest50:
            cache.Disable(GL_BLEND);
            cache.Enable(GL_ALPHA_TEST);
            cache.SetAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case bmAlphaTest100:
            cache.Disable(GL_BLEND);
            cache.Enable(GL_ALPHA_TEST);
            cache.SetAlphaFunc(GL_GEQUAL, 1.0f);
            break;
        case bmModulate:
            cache.Enable(GL_BLEND);
            cache.Enable(GL_ALPHA_TEST);
            cache.SetBlendFunc(GL_DST_COLOR, GL_ZERO);
            break;
        }
    }

    if ((m_options & moIgnoreFog) && cache.IsEnabled(GL_FOG)) {
        cache.Disable(GL_FOG);
        ++context.fogDisabledCounter;
        m_fogCounted = true;
    }

    if (!m_textureEx) {
        if (m_texture)
            m_texture->ApplyState(context);
    } else if (m_texture && !layer0Enabled()) {
        m_texture->ApplyState(context);
    } else if (m_textureEx->Count() > 0) {
        m_textureEx->Apply(context);
    }
}

void TGxMaterial::RestoreOwnState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    if (m_blendingMode == bmAlphaTest50 || m_blendingMode == bmAlphaTest100)
        cache.SetAlphaFunc(GL_GREATER, 0.0f);
    if (m_lightingCounted) {
        m_lightingCounted = false;
        if (--context.lightingDisabledCounter == 0)
            cache.Enable(GL_LIGHTING);
    }
    if (m_fogCounted) {
        m_fogCounted = false;
        if (--context.fogDisabledCounter == 0)
            cache.Enable(GL_FOG);
    }
    if (!m_texture || m_texture->Disabled() || layer0Enabled()) {
        if (m_textureEx)
            m_textureEx->UnApply(context);
    } else {
        m_texture->RestoreState(context);
    }
}

void TGxMaterial::Assign(const TGxMaterial& source)
{
    if (&source == this)
        return;
    if (source.m_back)
        BackProperties().Assign(*source.m_back);
    else
        m_back.reset();
    m_front.Assign(source.m_front);
    m_blendingMode = source.m_blendingMode;
    m_options = source.m_options;
    if (source.m_texture)
        Texture().Assign(*source.m_texture);
    else
        m_texture.reset();
    m_faceCulling = source.m_faceCulling;
    if (source.m_library != m_library) {
        if (m_library)
            m_library->UnregisterMaterial(this);
        m_library = source.m_library;
        if (m_library)
            m_library->RegisterMaterial(this);
    }
    SetLibMaterialName(source.m_libMaterialName);
    if (source.m_textureEx)
        TextureEx().Assign(*source.m_textureEx);
    else
        TextureEx().Clear();
    NotifyChange(this);
}

bool TGxMaterial::IsPlain() const
{
    return !m_texture && (!m_textureEx || m_textureEx->Count() == 0) && !m_library && m_libMaterialName.empty()
           && !m_libMaterial && !OnNotifyChange && UpdateCount() == 0;
}

namespace {

bool sameFace(const TGxFaceProperties& a, const TGxFaceProperties& b)
{
    return a.Ambient().Vector() == b.Ambient().Vector() && a.Diffuse().Vector() == b.Diffuse().Vector()
           && a.Emission().Vector() == b.Emission().Vector() && a.Specular().Vector() == b.Specular().Vector()
           && a.Shininess() == b.Shininess() && a.PolygonMode() == b.PolygonMode();
}

} // namespace

bool TGxMaterial::SamePlainSettings(const TGxMaterial& other) const
{
    if (!IsPlain() || !other.IsPlain())
        return false;
    if (this == &other)
        return true;
    if (bool(m_back) != bool(other.m_back) || (m_back && !sameFace(*m_back, *other.m_back)))
        return false;
    return sameFace(m_front, other.m_front) && m_blendingMode == other.m_blendingMode
           && m_options == other.m_options && m_faceCulling == other.m_faceCulling;
}

std::shared_ptr<TGxMaterial> TGxMaterial::PlainCopy(IGxChangeListener* owner) const
{
    auto copy = std::make_shared<TGxMaterial>(nullptr);
    if (m_back)
        copy->BackProperties().Assign(*m_back);
    copy->m_front.Assign(m_front);
    copy->m_blendingMode = m_blendingMode;
    copy->m_options = m_options;
    copy->m_faceCulling = m_faceCulling;
    copy->SetOwner(owner);
    return copy;
}

bool TGxMaterial::Blended() const
{
    const TBlendingMode mode = m_libMaterial ? m_libMaterial->Material().BlendingMode() : m_blendingMode;
    return mode == bmTransparency || mode == bmAdditive || mode == bmModulate;
}
