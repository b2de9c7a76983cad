#include "engine/materials/GxMaterialLibrary.h"

#include "engine/materials/PictureFile.h"

#include <QString>
#include <algorithm>
#include <filesystem>

TGxLibMaterial& TGxLibMaterials::Add()
{
    auto entry = std::make_unique<TGxLibMaterial>(m_library);
    entry->setNameUnchecked(MakeUniqueName("LibMaterial"));
    m_items.push_back(std::move(entry));
    return *m_items.back();
}

void TGxLibMaterials::Delete(int i)
{
    std::unique_ptr<TGxLibMaterial> entry = std::move(m_items.at(i));
    m_items.erase(m_items.begin() + i);
    entry.reset();
}

void TGxLibMaterials::Clear()
{
    while (!m_items.empty())
        Delete(Count() - 1);
}

TGxLibMaterial* TGxLibMaterials::GetLibMaterialByName(const std::string& name) const
{
    const std::uint32_t hash = TGxLibMaterial::ComputeNameHash(name);
    for (const auto& item : m_items)
        if (item->NameHash() == hash && item->Name() == name)
            return item.get();
    return nullptr;
}

bool TGxLibMaterials::nameTaken(const std::string& name, const TGxLibMaterial* except) const
{
    const std::uint32_t hash = TGxLibMaterial::ComputeNameHash(name);
    return std::any_of(m_items.begin(), m_items.end(), [&](const auto& item) {
        return item.get() != except && item->NameHash() == hash && item->Name() == name;
    });
}

std::string TGxLibMaterials::MakeUniqueName(const std::string& wanted, const TGxLibMaterial* except) const
{
    if (!nameTaken(wanted, except))
        return wanted;
    for (long long i = 1;; ++i) {
        std::string candidate = wanted + std::to_string(i);
        if (!nameTaken(candidate, except))
            return candidate;
    }
}

TGxMaterialLibrary::TGxMaterialLibrary() : m_materials(this) {}

TGxMaterialLibrary::~TGxMaterialLibrary()
{
    m_materials.Clear();
    for (TGxMaterial* material : std::vector<TGxMaterial*>(m_referencingMaterials))
        material->LibraryDestroyed();
    m_referencingMaterials.clear();
    for (IGxMaterialLibraryWatcher* watcher : std::vector<IGxMaterialLibraryWatcher*>(m_watchers))
        watcher->MaterialLibraryDestroyed(this);
}

void TGxMaterialLibrary::AddWatcher(IGxMaterialLibraryWatcher* watcher)
{
    if (std::find(m_watchers.begin(), m_watchers.end(), watcher) == m_watchers.end())
        m_watchers.push_back(watcher);
}

void TGxMaterialLibrary::RemoveWatcher(IGxMaterialLibraryWatcher* watcher)
{
    m_watchers.erase(std::remove(m_watchers.begin(), m_watchers.end(), watcher), m_watchers.end());
}

void TGxMaterialLibrary::RegisterMaterial(TGxMaterial* material)
{
    if (std::find(m_referencingMaterials.begin(), m_referencingMaterials.end(), material)
        == m_referencingMaterials.end())
        m_referencingMaterials.push_back(material);
}

void TGxMaterialLibrary::UnregisterMaterial(TGxMaterial* material)
{
    m_referencingMaterials.erase(std::remove(m_referencingMaterials.begin(), m_referencingMaterials.end(), material),
                                 m_referencingMaterials.end());
}

TGxLibMaterial* TGxMaterialLibrary::FindLibMaterial(const std::string& name) const
{
    return m_materials.GetLibMaterialByName(name);
}

TGxLibMaterial& TGxMaterialLibrary::AddBitmapMaterial(const std::string& name, const Picture& picture)
{
    TGxLibMaterial& entry = m_materials.Add();
    entry.SetName(name);
    TGxTexture& texture = entry.Material().Texture();
    texture.SetMinFilter(miLinearMipmapLinear);
    texture.SetMagFilter(maLinear);
    texture.SetTextureMode(tmModulate);
    texture.SetDisabled(false);
    texture.AssignPicture(picture);
    return entry;
}

std::string TGxMaterialLibrary::TexturePaths() const
{
    std::string joined;
    for (const std::string& folder : m_texturePaths) {
        if (!joined.empty())
            joined += ';';
        joined += folder;
    }
    return joined;
}

void TGxMaterialLibrary::SetTexturePaths(const std::string& paths)
{
    m_texturePaths.clear();
    for (const QString& part : QString::fromStdString(paths).split(';')) {
        std::string folder = part.trimmed().toStdString();
        if (folder.empty())
            continue;
        folder = nativePath(folder);
        if (folder.back() != '/')
            folder += '/';
        m_texturePaths.push_back(folder);
    }
}

void TGxMaterialLibrary::TextureNeeded(std::string& fileName)
{
    if (OnTextureNeeded)
        OnTextureNeeded(*this, fileName);
    // Absolute names (and drive-letter names written on Windows) stay as they are.
    if (fileName.find(':') != std::string::npos || fileName.starts_with('\\') || fileName.starts_with('/'))
        return;
    std::error_code ec;
    for (const std::string& folder : m_texturePaths) {
        const std::string candidate = folder + fileName;
        if (std::filesystem::exists(nativePath(candidate), ec)) {
            fileName = candidate;
            return;
        }
    }
}
