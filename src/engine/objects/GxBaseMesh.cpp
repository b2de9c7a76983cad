#include "engine/objects/GxBaseMesh.h"

#include "base/ByteReader.h"
#include "base/FileStream.h"
#include "engine/materials/GxStateCache.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/RenderContextInfo.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

TGxBaseMesh::TGxBaseMesh(TGxComponent* owner)
    : TGxCustomSceneObject(owner), m_autoScaling(nullptr, VectorMake(1, 1, 1, 1), PointStyle)
{
}

TGxBaseMesh::~TGxBaseMesh()
{
    if (m_materialLibrary)
        m_materialLibrary->RemoveWatcher(this);
    if (m_lightmapLibrary && m_lightmapLibrary != m_materialLibrary)
        m_lightmapLibrary->RemoveWatcher(this);
}

TMeshObject& TGxBaseMesh::AddMeshObject()
{
    m_meshObjects.push_back(std::make_unique<TMeshObject>());
    return *m_meshObjects.back();
}

void TGxBaseMesh::ClearMeshObjects()
{
    m_meshObjects.clear();
}

void TGxBaseMesh::watch(TGxMaterialLibrary*& slot, TGxMaterialLibrary* library)
{
    TGxMaterialLibrary* old = slot;
    slot = library;
    if (old && old != m_materialLibrary && old != m_lightmapLibrary)
        old->RemoveWatcher(this);
    if (library)
        library->AddWatcher(this);
}

void TGxBaseMesh::SetMaterialLibrary(TGxMaterialLibrary* library)
{
    if (library == m_materialLibrary)
        return;
    DropMaterialLibraryCache();
    ReleaseGlObjects();
    watch(m_materialLibrary, library);
    GeometryDirty();
}

void TGxBaseMesh::SetLightmapLibrary(TGxMaterialLibrary* library)
{
    if (library == m_lightmapLibrary)
        return;
    DropMaterialLibraryCache();
    ReleaseGlObjects();
    watch(m_lightmapLibrary, library);
    GeometryDirty();
}

void TGxBaseMesh::MaterialLibraryDestroyed(TGxMaterialLibrary* library)
{
    if (library == m_materialLibrary) {
        m_materialLibrary = nullptr;
        DropMaterialLibraryCache();
        GeometryDirty();
    }
    if (library == m_lightmapLibrary) {
        m_lightmapLibrary = nullptr;
        GeometryDirty();
    }
}

void TGxBaseMesh::SetUseMeshMaterials(bool use)
{
    if (use == m_useMeshMaterials)
        return;
    m_useMeshMaterials = use;
    if (!use)
        DropMaterialLibraryCache();
    GeometryDirty();
}

void TGxBaseMesh::SetNormalsOrientation(TMeshNormalsOrientation orientation)
{
    if (orientation == m_normalsOrientation)
        return;
    m_normalsOrientation = orientation;
    GeometryDirty();
}

void TGxBaseMesh::LoadMeshFile(const std::string& fileName)
{
    m_lastLoadedFileName.clear();
    if (fileName.empty())
        return;
    ByteReader stream = openFileStream(fileName);
    LoadMeshStream(fileName, stream);
    m_lastLoadedFileName = fileName;
}

void TGxBaseMesh::LoadMeshStream(const std::string& fileName, ByteReader& stream)
{
    m_lastLoadedFileName.clear();
    if (fileName.empty())
        return;
    ClearMeshObjects();
    const TVectorFileClass* readerClass = nullptr;
    try {
        readerClass = &FindMeshReader(fileName);
    } catch (...) {
        // The old objects are gone: their recorded list must go too.
        GeometryDirty();
        throw;
    }
    std::unique_ptr<TVectorFile> reader = readerClass->create(this);
    reader->SetResourceName(fileName);
    reader->SetNormalsOrientation(m_normalsOrientation);
    TGxScene* scene = Scene();
    if (scene)
        scene->BeginUpdate();
    try {
        reader->LoadFromStream(stream);
    } catch (...) {
        if (scene)
            scene->EndUpdate();
        GeometryDirty();
        throw;
    }
    if (scene)
        scene->EndUpdate();
    reader.reset();
    m_lastLoadedFileName = fileName;
    applyAutoScaling();
    applyAutoCentering();
    GeometryDirty();
}

void TGxBaseMesh::applyAutoScaling()
{
    const TGxAffineVector s = m_autoScaling.Vector3();
    if (s.X == 1 && s.Y == 1 && s.Z == 1)
        return;
    for (auto& object : m_meshObjects)
        object->ScaleBy(s);
}

void TGxBaseMesh::applyAutoCentering()
{
    if (m_autoCentering.Empty())
        return;
    TGxAffineVector delta;
    if (m_autoCentering.Contains(macUseBarycenter)) {
        double sum[3] = {0, 0, 0};
        std::size_t count = 0;
        for (const auto& object : m_meshObjects) {
            for (const TGxAffineVector& v : object->Vertices) {
                sum[0] += v.X;
                sum[1] += v.Y;
                sum[2] += v.Z;
            }
            count += object->Vertices.size();
        }
        if (count == 0)
            return;
        delta = {float(-sum[0] / double(count)), float(-sum[1] / double(count)), float(-sum[2] / double(count))};
    } else {
        TGxAffineVector min{FLT_MAX, FLT_MAX, FLT_MAX};
        TGxAffineVector max{-FLT_MAX, -FLT_MAX, -FLT_MAX};
        for (const auto& object : m_meshObjects)
            object->ExtentsInto(min, max);
        if (min.X > max.X)
            return; // no vertices
        if (m_autoCentering.Contains(macCenterX))
            delta.X = -(min.X + max.X) / 2;
        if (m_autoCentering.Contains(macCenterY))
            delta.Y = -(min.Y + max.Y) / 2;
        if (m_autoCentering.Contains(macCenterZ))
            delta.Z = -(min.Z + max.Z) / 2;
    }
    for (auto& object : m_meshObjects)
        object->Translate(delta);
}

void TGxBaseMesh::Assign(const TGxBaseMesh& source)
{
    SetNormalsOrientation(source.m_normalsOrientation);
    SetMaterialLibrary(source.m_materialLibrary);
    SetLightmapLibrary(source.m_lightmapLibrary);
    SetUseMeshMaterials(source.m_useMeshMaterials);
    m_skipMissingTextures = source.m_skipMissingTextures;
    m_autoCentering = source.m_autoCentering;
    m_autoScaling.Assign(source.m_autoScaling);
    m_meshObjects.clear();
    for (const auto& object : source.m_meshObjects)
        m_meshObjects.push_back(object->Clone());
    GeometryDirty();
}

TGxVector TGxBaseMesh::HalfExtentsUnscaled() const
{
    if (m_halfExtents.X >= 0)
        return m_halfExtents;
    TGxAffineVector min{FLT_MAX, FLT_MAX, FLT_MAX};
    TGxAffineVector max{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (const auto& object : m_meshObjects)
        object->ExtentsInto(min, max);
    if (min.X > max.X)
        m_halfExtents = VectorMake(0, 0, 0, 0); // no vertices
    else
        m_halfExtents = VectorMake(std::max(std::fabs(min.X), std::fabs(max.X)),
                                   std::max(std::fabs(min.Y), std::fabs(max.Y)),
                                   std::max(std::fabs(min.Z), std::fabs(max.Z)), 0);
    return m_halfExtents;
}

void TGxBaseMesh::GeometryDirty()
{
    m_halfExtents.X = -1;
    DropMaterialLibraryCache();
    for (auto& object : m_meshObjects)
        object->Prepare();
    TGxCustomSceneObject::GeometryDirty();
}

void TGxBaseMesh::PrepareMaterialLibraryCache()
{
    for (auto& object : m_meshObjects)
        object->PrepareMaterialCache(m_materialLibrary);
    m_materialCachesPrepared = true;
}

void TGxBaseMesh::DropMaterialLibraryCache()
{
    if (!m_materialCachesPrepared)
        return;
    for (auto& object : m_meshObjects)
        object->DropMaterialCache();
    m_materialCachesPrepared = false;
}

void TGxBaseMesh::ReleaseGlObjects()
{
    DestroyHandle();
    for (TGxMaterialLibrary* library : {m_materialLibrary, m_lightmapLibrary}) {
        if (!library)
            continue;
        for (int i = 0; i < library->Materials().Count(); ++i) {
            TGxMaterial& material = library->Materials().Items(i).Material();
            if (material.HasTexture())
                material.Texture().ReleaseGlObjects();
        }
    }
}

void TGxBaseMesh::uploadLibraryTextures(TGxMaterialContext& context)
{
    // Uploads must not land inside the list being recorded.
    for (const auto& object : m_meshObjects)
        for (const auto& group : object->FaceGroups())
            if (TGxLibMaterial* material = group->MaterialCache()) {
                TGxMaterial& m = material->Material();
                if (m.HasTexture() && m.Texture().Enabled())
                    m.Texture().EnsureUploaded(context.stateCache);
            }
}

bool TGxBaseMesh::vertexColours() const
{
    return std::any_of(m_meshObjects.begin(), m_meshObjects.end(),
                       [](const auto& object) { return object->Visible && object->HasVertexColours(); });
}

void TGxBaseMesh::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf) {
        if (rci.scene)
            rci.scene->SetLastRenderedObject(this);
        TGxStateCache* cache = rci.stateCache;
        const bool invert = m_normalsOrientation == mnoInvert && cache;
        // Put back what the drawing changed, also when it fails.
        struct Restore {
            TRenderContextInfo& rci;
            bool invert;
            bool libraryInside = false;
            ~Restore()
            {
                rci.materialLibrary = nullptr;
                // The library materials changed OpenGL state inside the list,
                // behind the cache's back.
                if (libraryInside)
                    rci.stateCache->Invalidate();
                if (invert)
                    rci.stateCache->SetFrontFace(GL_CCW);
            }
        } restore{rci, invert};
        if (invert)
            cache->SetFrontFace(GL_CW);
        if (rci.ignoreMaterials) {
            EmitGeometry(rci);
        } else {
            TGxMaterialLibrary* library = m_useMeshMaterials ? m_materialLibrary : nullptr;
            if (library && cache) {
                if (!m_materialCachesPrepared)
                    PrepareMaterialLibraryCache();
                uploadLibraryTextures(rci);
                // The list must record every state change of its materials.
                cache->Invalidate();
                restore.libraryInside = true;
            }
            do {
                Material().ApplyState(rci);
                rci.materialLibrary = restore.libraryInside ? library : nullptr;
                DrawGeometry(rci);
                rci.materialLibrary = nullptr;
                if (restore.libraryInside)
                    cache->Invalidate();
                else if (cache && vertexColours())
                    // The colours changed the material behind the cache, at
                    // every replay of the list, not only while it was recorded.
                    cache->ForgetMaterialColors();
            } while (Material().RestoreState(rci));
        }
    }
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

void TGxBaseMesh::EmitGeometry(TRenderContextInfo& rci)
{
    static unsigned frame = 0;
    TMeshDrawContext context;
    context.material = &rci;
    context.library = rci.ignoreMaterials ? nullptr : rci.materialLibrary;
    context.ignoreMaterials = rci.ignoreMaterials;
    context.frame = ++frame == 0 ? ++frame : frame;
    for (auto& object : m_meshObjects)
        if (object->Visible)
            object->BuildList(context);
}
