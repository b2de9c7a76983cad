#include "engine/objects/MeshObject.h"

#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/GxMaterialContext.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"

#include <algorithm>

TFGVertexIndexList& TMeshObject::AddVertexIndexGroup()
{
    auto group = std::make_unique<TFGVertexIndexList>(this);
    TFGVertexIndexList& ref = *group;
    m_faceGroups.push_back(std::move(group));
    return ref;
}

void TMeshObject::AddFaceGroup(std::unique_ptr<TFaceGroup> group)
{
    m_faceGroups.push_back(std::move(group));
}

void TMeshObject::ExtentsInto(TGxAffineVector& min, TGxAffineVector& max) const
{
    for (const TGxAffineVector& v : Vertices) {
        min = {std::min(min.X, v.X), std::min(min.Y, v.Y), std::min(min.Z, v.Z)};
        max = {std::max(max.X, v.X), std::max(max.Y, v.Y), std::max(max.Z, v.Z)};
    }
}

void TMeshObject::Translate(const TGxAffineVector& delta)
{
    for (TGxAffineVector& v : Vertices)
        v = {v.X + delta.X, v.Y + delta.Y, v.Z + delta.Z};
}

void TMeshObject::ScaleBy(const TGxAffineVector& factors)
{
    for (TGxAffineVector& v : Vertices)
        v = {v.X * factors.X, v.Y * factors.Y, v.Z * factors.Z};
}

void TMeshObject::PrepareMaterialCache(const TGxMaterialLibrary* library)
{
    for (auto& group : m_faceGroups)
        group->PrepareMaterialCache(library);
}

void TMeshObject::DropMaterialCache()
{
    for (auto& group : m_faceGroups)
        group->DropMaterialCache();
}

void TMeshObject::Prepare()
{
    for (auto& group : m_faceGroups)
        group->RenderedTag = 0;
}

void TMeshObject::DeclareArrays(const TMeshDrawContext& context)
{
    if (m_arraysDeclared)
        return;
    m_arraysDeclared = true;
    const std::size_t count = Vertices.size();
    if (count > 0) {
        glVertexPointer(3, GL_FLOAT, 0, Vertices.data());
        glEnableClientState(GL_VERTEX_ARRAY);
    } else {
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (context.ignoreMaterials)
        return;
    // An attribute list shorter than the vertex list would let OpenGL read
    // past its end: such a list is left out.
    if (count > 0 && Normals.size() >= count) {
        glNormalPointer(GL_FLOAT, 0, Normals.data());
        glEnableClientState(GL_NORMAL_ARRAY);
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (count > 0 && Colors.size() == count) {
        glColorPointer(4, GL_FLOAT, 0, Colors.data());
        glEnableClientState(GL_COLOR_ARRAY);
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
    }
    if (count > 0 && TexCoords.size() >= count)
        TGxTexCoordRouter::EnableTexCoordArray(2, GL_FLOAT, sizeof(TGxAffineVector), TexCoords.data());
    else
        TGxTexCoordRouter::DisableTexCoordArray();
}

void TMeshObject::DisableArrays(const TMeshDrawContext& context)
{
    m_arraysDeclared = false;
    glDisableClientState(GL_VERTEX_ARRAY);
    if (context.ignoreMaterials)
        return;
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    TGxTexCoordRouter::DisableTexCoordArray();
}

void TMeshObject::BuildList(TMeshDrawContext& context)
{
    m_arraysDeclared = false;
    TGxStateCache* cache = context.material ? context.material->stateCache : nullptr;
    const bool vertexColours = !context.ignoreMaterials && cache && HasVertexColours();
    if (vertexColours) {
        glPushAttrib(GL_ENABLE_BIT);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        cache->ResetMaterialColors();
    }
    if (Mode == momFaceGroups)
        buildFaceGroups(context);
    else
        buildImmediate(context);
    if (vertexColours)
        glPopAttrib();
    DisableArrays(context);
}

void TMeshObject::buildFaceGroups(TMeshDrawContext& context)
{
    TGxMaterialContext* mc = context.material;
    if (!context.library || context.ignoreMaterials || !mc || !mc->stateCache) {
        for (auto& group : m_faceGroups)
            group->BuildList(context);
        return;
    }
    const std::size_t n = m_faceGroups.size();
    if (!GroupByMaterial) {
        // Runs of equal material share one apply and restore.
        std::size_t i = 0;
        while (i < n) {
            TGxLibMaterial* material = m_faceGroups[i]->MaterialCache();
            if (!material) {
                m_faceGroups[i++]->BuildList(context);
                continue;
            }
            std::size_t end = i + 1;
            while (end < n && m_faceGroups[end]->MaterialCache() == material)
                ++end;
            do {
                material->ApplyState(*mc);
                for (std::size_t k = i; k < end; ++k)
                    m_faceGroups[k]->BuildList(context);
            } while (material->RestoreState(*mc));
            i = end;
        }
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            TFaceGroup& first = *m_faceGroups[i];
            if (first.RenderedTag == context.frame)
                continue;
            TGxLibMaterial* material = first.MaterialCache();
            if (!material) {
                first.BuildList(context);
                first.RenderedTag = context.frame;
                continue;
            }
            do {
                material->ApplyState(*mc);
                for (std::size_t k = i; k < n; ++k)
                    if (m_faceGroups[k]->RenderedTag != context.frame && m_faceGroups[k]->MaterialCache() == material)
                        m_faceGroups[k]->BuildList(context);
            } while (material->RestoreState(*mc));
            for (std::size_t k = i; k < n; ++k)
                if (m_faceGroups[k]->MaterialCache() == material)
                    m_faceGroups[k]->RenderedTag = context.frame;
        }
    }
    // Library materials may have switched culling for their faces.
    mc->stateCache->SetEnabled(GL_CULL_FACE, mc->bufferCullsFaces);
}

void TMeshObject::buildImmediate(TMeshDrawContext& context)
{
    const std::size_t count = Vertices.size();
    if (count == 0)
        return;
    DeclareArrays(context);
    const bool normals = Normals.size() == count;
    const bool colours = !context.ignoreMaterials && Colors.size() == count;
    const bool texCoords = !context.ignoreMaterials && TexCoords.size() == count;
    glBegin(Mode == momTriangleStrip ? GL_TRIANGLE_STRIP : GL_TRIANGLES);
    for (std::size_t i = 0; i < count; ++i) {
        if (normals)
            glNormal3fv(Normals[i].data());
        if (colours)
            glColor4fv(Colors[i].data());
        if (texCoords)
            TGxTexCoordRouter::TexCoord2fv(TexCoords[i].data());
        glVertex3fv(Vertices[i].data());
    }
    glEnd();
}

std::unique_ptr<TMeshObject> TMeshObject::Clone() const
{
    auto copy = std::make_unique<TMeshObject>();
    copy->Name = Name;
    copy->Visible = Visible;
    copy->Vertices = Vertices;
    copy->Normals = Normals;
    copy->TexCoords = TexCoords;
    copy->LightMapTexCoords = LightMapTexCoords;
    copy->Colors = Colors;
    copy->Mode = Mode;
    copy->GroupByMaterial = GroupByMaterial;
    for (const auto& group : m_faceGroups)
        copy->m_faceGroups.push_back(group->Clone(copy.get()));
    return copy;
}
