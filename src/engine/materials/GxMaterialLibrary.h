#pragma once

#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/Picture.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ByteReader;
class TGxMaterialLibrary;

// The owned, ordered library materials of one library. Names are unique and
// kept in a hash beside the list, so looking a name up or numbering one more
// duplicate costs the same however many entries there are.
class TGxLibMaterials {
public:
    explicit TGxLibMaterials(TGxMaterialLibrary* library) : m_library(library) {}
    ~TGxLibMaterials() { Clear(); }

    // A new entry with a unique default name ("LibMaterial", "LibMaterial1", ...).
    TGxLibMaterial& Add() { return Add("LibMaterial"); }
    // A new entry named `wanted`, numbered as MakeUniqueName does.
    TGxLibMaterial& Add(const std::string& wanted);
    int Count() const { return static_cast<int>(m_items.size()); }
    TGxLibMaterial& Items(int i) { return *m_items.at(i); }
    const TGxLibMaterial& Items(int i) const { return *m_items.at(i); }
    // Removing an entry unlinks the materials that used it.
    void Delete(int i);
    void Clear();

    TGxLibMaterial* GetLibMaterialByName(const std::string& name) const;
    // `wanted` if no entry other than `except` holds it, else wanted + "1",
    // wanted + "2", ... whichever is free first.
    std::string MakeUniqueName(const std::string& wanted, const TGxLibMaterial* except = nullptr) const;

private:
    friend class TGxLibMaterial;
    // Gives an entry of this list a new name, made unique.
    void rename(TGxLibMaterial& entry, const std::string& wanted);
    bool nameTaken(const std::string& name, const TGxLibMaterial* except) const;
    void forgetName(const std::string& name);

    TGxMaterialLibrary* m_library;
    std::vector<std::unique_ptr<TGxLibMaterial>> m_items;
    std::unordered_map<std::string, TGxLibMaterial*> m_byName;
    // For a duplicated name n: every n + k for 0 < k < the number is taken,
    // so numbering starts there. Dropped when a name that could be one of
    // those goes away.
    mutable std::unordered_map<std::string, long long> m_firstFreeNumber;
};

// Something that keeps a pointer to a library without being a material (a
// mesh whose face groups take their materials from it): told when the
// library goes away.
class IGxMaterialLibraryWatcher {
public:
    virtual void MaterialLibraryDestroyed(TGxMaterialLibrary* library) = 0;

protected:
    ~IGxMaterialLibraryWatcher() = default;
};

// A named collection of materials that scene materials link to by name.
class TGxMaterialLibrary {
public:
    TGxMaterialLibrary();
    ~TGxMaterialLibrary();
    TGxMaterialLibrary(const TGxMaterialLibrary&) = delete;
    TGxMaterialLibrary& operator=(const TGxMaterialLibrary&) = delete;

    TGxLibMaterials& Materials() { return m_materials; }
    const TGxLibMaterials& Materials() const { return m_materials; }

    // The first entry of exactly that name (letter case counts), or none.
    TGxLibMaterial* FindLibMaterial(const std::string& name) const;
    // A new entry (name made unique) whose enabled, modulating, mipmapped
    // texture shows the picture.
    TGxLibMaterial& AddBitmapMaterial(const std::string& name, const Picture& picture);

    // Folders separated by ";"; blanks trimmed, empty parts dropped.
    std::string TexturePaths() const;
    void SetTexturePaths(const std::string& paths);
    const std::vector<std::string>& TexturePathList() const { return m_texturePaths; }
    // May rewrite the file name of a texture one of the entries loads.
    std::function<void(TGxMaterialLibrary& library, std::string& fileName)> OnTextureNeeded;
    // The handler first; then, for a relative name, the first texture
    // folder in which the file exists.
    void TextureNeeded(std::string& fileName);

    // Keep the existing entries when a library file is loaded (off: a load
    // replaces them all).
    bool AddOnLoad = false;

    // Reads a material library file (data.modt). Errors: "File not found:
    // "<path>"" and an unknown version leave the entries alone; a bad tag,
    // a bad or too large picture, pictures of more than 4 x 16777216 pixels
    // together, or a short file stop with the entries read so far.
    void LoadFromFile(const std::string& path);
    void LoadFromStream(ByteReader& in);

    // Materials whose MaterialLibrary is this one; told when it goes away.
    void RegisterMaterial(TGxMaterial* material);
    void UnregisterMaterial(TGxMaterial* material);
    void AddWatcher(IGxMaterialLibraryWatcher* watcher);
    void RemoveWatcher(IGxMaterialLibraryWatcher* watcher);

private:
    TGxLibMaterials m_materials;
    std::vector<std::string> m_texturePaths;
    GxPointerSet<TGxMaterial> m_referencingMaterials;
    std::vector<IGxMaterialLibraryWatcher*> m_watchers;
};
