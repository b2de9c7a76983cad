#include "engine/materials/GxLibMaterial.h"

#include "engine/materials/GxGlCaps.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/materials/GxTextureMatrix.h"

#include <algorithm>

TGxLibMaterial::TGxLibMaterial(TGxMaterialLibrary* library) : m_library(library), m_material(this)
{
}

TGxLibMaterial::~TGxLibMaterial()
{
    const std::vector<IGxChangeListener*> users = m_users.items();
    m_users.clear();
    for (IGxChangeListener* user : users) {
        if (auto* material = dynamic_cast<TGxMaterial*>(user))
            material->UnlinkSilently();
        else if (auto* lib = dynamic_cast<TGxLibMaterial*>(user))
            lib->texture2Lost();
    }
    if (m_texture2)
        m_texture2->UnregisterUser(this);
}

std::uint32_t TGxLibMaterial::ComputeNameHash(std::string_view name)
{
    std::uint32_t hash = static_cast<std::uint32_t>(name.size());
    for (char ch : name)
        hash = static_cast<unsigned char>(ch) + 2u * hash;
    return hash;
}

void TGxLibMaterial::setNameUnchecked(const std::string& name)
{
    m_name = name;
    m_nameHash = ComputeNameHash(name);
}

void TGxLibMaterial::SetName(const std::string& name)
{
    if (name == m_name)
        return;
    if (m_library)
        m_library->Materials().rename(*this, name);
    else
        setNameUnchecked(name);
}

void TGxLibMaterial::SetTextureOffset(const std::array<float, 3>& v)
{
    m_transform.SetOffset(v);
    NotifyChange(this);
}

void TGxLibMaterial::SetTextureScale(const std::array<float, 3>& v)
{
    m_transform.SetScale(v);
    NotifyChange(this);
}

void TGxLibMaterial::SetTexture2Name(const std::string& name)
{
    if (m_texture2) {
        m_texture2->UnregisterUser(this);
        m_texture2 = nullptr;
    }
    m_texture2Name = name;
    NotifyChange(this);
}

void TGxLibMaterial::texture2Lost()
{
    m_texture2 = nullptr;
    m_texture2Name.clear();
}

void TGxLibMaterial::RegisterUser(IGxChangeListener* user)
{
    m_users.insert(user);
}

void TGxLibMaterial::UnregisterUser(IGxChangeListener* user)
{
    m_users.erase(user);
}

void TGxLibMaterial::NotifyChange(IGxChangeListener*)
{
    if (m_notifying)
        return;
    m_notifying = true;
    const std::vector<IGxChangeListener*> users = m_users.items();
    for (IGxChangeListener* user : users)
        user->NotifyChange(this);
    m_notifying = false;
}

void TGxLibMaterial::StructureChanged()
{
    if (m_notifying)
        return;
    m_notifying = true;
    const std::vector<IGxChangeListener*> users = m_users.items();
    for (IGxChangeListener* user : users)
        user->StructureChanged();
    m_notifying = false;
}

void TGxLibMaterial::TextureNeeded(std::string& fileName)
{
    if (m_library)
        m_library->TextureNeeded(fileName);
}

namespace {
bool generated(const TGxTexture& t)
{
    return t.MappingMode() != tmmUser;
}

struct RoutingBracket {
    RoutingBracket() { TGxTexCoordRouter::BeginUpdate(); }
    ~RoutingBracket() { TGxTexCoordRouter::EndUpdate(); }
};
} // namespace

void TGxLibMaterial::ApplyState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    RoutingBracket bracket;
    TGxLibMaterial* second = nullptr;
    if (!m_texture2Name.empty() && GxGlCaps().multitexture) {
        if (!m_texture2) {
            m_texture2 = m_library ? m_library->FindLibMaterial(m_texture2Name) : nullptr;
            if (m_texture2)
                m_texture2->RegisterUser(this);
            else
                m_texture2Name.clear();
        }
        if (m_texture2 && m_texture2->Material().HasTexture() && m_texture2->Material().Texture().Enabled())
            second = m_texture2;
    }
    m_usedTexture2 = second != nullptr;
    const bool ownEnabled = m_material.HasTexture() && m_material.Texture().Enabled();
    cache.SetActiveTexture(0);
    m_loadedMatrix = !m_transform.IsIdentity() && (second || ownEnabled);
    if (m_loadedMatrix)
        cache.SetTextureMatrix(m_transform.Matrix().data());
    if (second) {
        m_material.ApplyOwnState(context);
        TGxTexture& texture2 = second->Material().Texture();
        texture2.ApplyAsTextureN(1, context, second);
        const bool ownOff = !ownEnabled || generated(m_material.Texture());
        if (ownOff && !generated(texture2))
            TGxTexCoordRouter::SetMode(mtcmSecond);
        else if (!generated(texture2))
            TGxTexCoordRouter::SetMode(mtcmDual);
        else
            TGxTexCoordRouter::SetMode(mtcmMain);
    } else {
        m_material.ApplyOwnState(context);
    }
}

bool TGxLibMaterial::RestoreState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    if (m_usedTexture2) {
        m_usedTexture2 = false;
        cache.SetActiveTexture(1);
        cache.Disable(GL_TEXTURE_GEN_S);
        cache.Disable(GL_TEXTURE_GEN_T);
        cache.Disable(GL_TEXTURE_GEN_R);
        cache.Disable(GL_TEXTURE_2D);
        cache.ResetTextureMatrix();
        cache.SetActiveTexture(0);
        TGxTexCoordRouter::SetMode(mtcmMain);
    }
    m_material.RestoreOwnState(context);
    if (m_loadedMatrix) {
        m_loadedMatrix = false;
        cache.SetActiveTexture(0);
        cache.ResetTextureMatrix();
    }
    return false;
}
