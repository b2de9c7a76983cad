#include "engine/materials/GxMaterialLibrary.h"

#include "base/FileSource.h"
#include "engine/materials/PictureFile.h"

#include <QString>
#include <algorithm>

TGxLibMaterial& TGxLibMaterials::Add(const std::string& wanted)
{
    auto entry = std::make_unique<TGxLibMaterial>(m_library);
    entry->setNameUnchecked(MakeUniqueName(wanted));
    m_byName.emplace(entry->Name(), entry.get());
    m_items.push_back(std::move(entry));
    return *m_items.back();
}

void TGxLibMaterials::Delete(int i)
{
    std::unique_ptr<TGxLibMaterial> entry = std::move(m_items.at(i));
    m_items.erase(m_items.begin() + i);
    m_byName.erase(entry->Name());
    forgetName(entry->Name());
    entry.reset();
}

void TGxLibMaterials::Clear()
{
    while (!m_items.empty())
        Delete(Count() - 1);
}

void TGxLibMaterials::rename(TGxLibMaterial& entry, const std::string& wanted)
{
    const std::string name = MakeUniqueName(wanted, &entry);
    const auto it = m_byName.find(entry.Name());
    const bool listed = it != m_byName.end() && it->second == &entry;
    if (listed) {
        m_byName.erase(it);
        forgetName(entry.Name());
    }
    entry.setNameUnchecked(name);
    if (listed)
        m_byName.emplace(name, &entry);
}

void TGxLibMaterials::forgetName(const std::string& name)
{
    // The name may have been base + number for any base it ends a run of
    // digits after.
    for (std::size_t end = name.size(); end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9'; --end)
        m_firstFreeNumber.erase(name.substr(0, end - 1));
}

TGxLibMaterial* TGxLibMaterials::GetLibMaterialByName(const std::string& name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second;
}

bool TGxLibMaterials::nameTaken(const std::string& name, const TGxLibMaterial* except) const
{
    const auto it = m_byName.find(name);
    return it != m_byName.end() && it->second != except;
}

std::string TGxLibMaterials::MakeUniqueName(const std::string& wanted, const TGxLibMaterial* except) const
{
    if (!nameTaken(wanted, except))
        return wanted;
    // An entry being renamed may itself hold one of the numbered names, so
    // it starts from 1; a new entry (a library file's next duplicate)
    // starts where the last numbering of this name stopped.
    long long first = 1;
    if (!except)
        if (const auto it = m_firstFreeNumber.find(wanted); it != m_firstFreeNumber.end())
            first = it->second;
    for (long long i = first;; ++i) {
        std::string candidate = wanted + std::to_string(i);
        if (!nameTaken(candidate, except)) {
            if (!except)
                m_firstFreeNumber[wanted] = i;
            return candidate;
        }
    }
}

TGxMaterialLibrary::TGxMaterialLibrary() : m_materials(this) {}

TGxMaterialLibrary::~TGxMaterialLibrary()
{
    m_materials.Clear();
    for (TGxMaterial* material : std::vector<TGxMaterial*>(m_referencingMaterials.items()))
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
    m_referencingMaterials.insert(material);
}

void TGxMaterialLibrary::UnregisterMaterial(TGxMaterial* material)
{
    m_referencingMaterials.erase(material);
}

TGxLibMaterial* TGxMaterialLibrary::FindLibMaterial(const std::string& name) const
{
    return m_materials.GetLibMaterialByName(name);
}

TGxLibMaterial& TGxMaterialLibrary::AddBitmapMaterial(const std::string& name, const Picture& picture)
{
    TGxLibMaterial& entry = m_materials.Add(name);
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
    for (const std::string& folder : m_texturePaths) {
        const std::string candidate = folder + fileName;
        if (fileSource().isFile(nativePath(candidate))) {
            fileName = candidate;
            return;
        }
    }
}
