#pragma once

#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/MeshObject.h"
#include "engine/objects/VectorFile.h"
#include "engine/scene/GxCoordinates.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxFlagSet.h"

#include <memory>
#include <string>
#include <vector>

class ByteReader;

enum TMeshAutoCentering { macCenterX, macCenterY, macCenterZ, macUseBarycenter };
using TMeshAutoCenterings = TGxFlagSet<TMeshAutoCentering>;

// A scene object drawn from triangle meshes read from a file: a list of
// mesh objects whose face groups may take their materials from a library.
class TGxBaseMesh : public TGxCustomSceneObject, private IGxMaterialLibraryWatcher {
public:
    explicit TGxBaseMesh(TGxComponent* owner);
    ~TGxBaseMesh() override;
    std::string_view ClassName() const override { return "TGxBaseMesh"; }

    // ---- Mesh objects (owned, in order) ----
    const std::vector<std::unique_ptr<TMeshObject>>& MeshObjects() const { return m_meshObjects; }
    TMeshObject& AddMeshObject();
    void ClearMeshObjects();

    // ---- Properties ----
    // Library in which face-group materials are looked up (and created by
    // readers). A library that goes away leaves none.
    TGxMaterialLibrary* MaterialLibrary() const { return m_materialLibrary; }
    void SetMaterialLibrary(TGxMaterialLibrary* library);
    TGxMaterialLibrary* LightmapLibrary() const { return m_lightmapLibrary; }
    void SetLightmapLibrary(TGxMaterialLibrary* library);
    bool UseMeshMaterials() const { return m_useMeshMaterials; }
    void SetUseMeshMaterials(bool use);
    TMeshNormalsOrientation NormalsOrientation() const { return m_normalsOrientation; }
    void SetNormalsOrientation(TMeshNormalsOrientation orientation);
    TMeshAutoCenterings AutoCentering() const { return m_autoCentering; }
    void SetAutoCentering(TMeshAutoCenterings centering) { m_autoCentering = centering; }
    // Per-axis factor applied to the vertices after loading.
    TGxCoordinates& AutoScaling() { return m_autoScaling; }
    const TGxCoordinates& AutoScaling() const { return m_autoScaling; }
    // A reader that cannot open a texture file goes on without it.
    bool SkipMissingTextures() const { return m_skipMissingTextures; }
    void SetSkipMissingTextures(bool skip) { m_skipMissingTextures = skip; }
    const std::string& LastLoadedFileName() const { return m_lastLoadedFileName; }

    // ---- Loading ----
    // Replaces the mesh objects with those of the file; a missing file
    // raises "File not found: "<name>"", an extension no reader claims
    // EInvalidVectorFile. An empty name only forgets the last file.
    void LoadMeshFile(const std::string& fileName);
    void LoadFromFile(const std::string& fileName) { LoadMeshFile(fileName); }
    // The reader chosen by the name's extension reads the stream with the
    // scene's notifications held back; then auto scaling and centring.
    void LoadMeshStream(const std::string& fileName, ByteReader& stream);

    // Copies the settings and the mesh objects.
    void Assign(const TGxBaseMesh& source);

    // ---- Scene object ----
    // Componentwise max(|min|, |max|) of all vertices, cached.
    TGxVector HalfExtentsUnscaled() const override;
    // Also forgets the extents and the resolved face-group materials.
    void GeometryDirty() override;
    // The mesh's own material around the geometry, the face groups'
    // library materials inside it; inverted meshes wind the other way.
    // Picking draws the positions directly, so that a list is only ever
    // recorded with everything a visible frame needs.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    // Every visible mesh object in order.
    void EmitGeometry(TRenderContextInfo& rci) override;

    // Resolves every face group's material in the library (none without one).
    void PrepareMaterialLibraryCache();
    void DropMaterialLibraryCache();
    bool MaterialLibraryCachesPrepared() const { return m_materialCachesPrepared; }
    // Releases the recorded list and the textures this mesh draws with.
    void ReleaseGlObjects();

private:
    void MaterialLibraryDestroyed(TGxMaterialLibrary* library) override;
    void watch(TGxMaterialLibrary*& slot, TGxMaterialLibrary* library);
    void applyAutoScaling();
    void applyAutoCentering();
    void uploadLibraryTextures(TGxMaterialContext& context);
    // A visible mesh object draws with its per-vertex colours.
    bool vertexColours() const;

    std::vector<std::unique_ptr<TMeshObject>> m_meshObjects;
    TGxMaterialLibrary* m_materialLibrary = nullptr;
    TGxMaterialLibrary* m_lightmapLibrary = nullptr;
    bool m_useMeshMaterials = true;
    TMeshNormalsOrientation m_normalsOrientation = mnoDefault;
    TMeshAutoCenterings m_autoCentering;
    TGxCoordinates m_autoScaling;
    bool m_skipMissingTextures = false;
    std::string m_lastLoadedFileName;
    mutable TGxVector m_halfExtents{-1, 0, 0, 0}; // negative X: to be computed
    bool m_materialCachesPrepared = false;
};
