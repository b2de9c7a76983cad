#include "engine/objects/FaceGroup.h"

#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/MeshObject.h"

void TFaceGroup::SetMaterialName(const std::string& name)
{
    m_materialName = name;
    m_materialCache = nullptr;
}

void TFaceGroup::PrepareMaterialCache(const TGxMaterialLibrary* library)
{
    m_materialCache = library && !m_materialName.empty() ? library->FindLibMaterial(m_materialName) : nullptr;
}

void TFaceGroup::copyBaseTo(TFaceGroup& other) const
{
    other.m_materialName = m_materialName;
    other.m_lightMapIndex = m_lightMapIndex;
}

GLenum glModeOf(TFaceGroupMeshMode mode)
{
    switch (mode) {
    case fgmmTriangles:
    case fgmmFlatTriangles: return GL_TRIANGLES;
    case fgmmTriangleStrip: return GL_TRIANGLE_STRIP;
    case fgmmTriangleFan: return GL_TRIANGLE_FAN;
    case fgmmQuads: return GL_QUADS;
    }
    return GL_TRIANGLES;
}

void TFGVertexIndexList::BuildList(TMeshDrawContext& context)
{
    if (m_indices.empty())
        return;
    // The arrays are indexed with these numbers: one past the vertices
    // would make OpenGL read outside the lists.
    const std::size_t vertexCount = Owner()->Vertices.size();
    for (std::uint32_t i : m_indices)
        if (i >= vertexCount)
            return;
    Owner()->DeclareArrays(context);
    glDrawElements(glModeOf(m_mode), GLsizei(m_indices.size()), GL_UNSIGNED_INT, m_indices.data());
}

std::unique_ptr<TFaceGroup> TFGVertexIndexList::Clone(TMeshObject* newOwner) const
{
    auto copy = std::make_unique<TFGVertexIndexList>(newOwner);
    copyBaseTo(*copy);
    copy->m_indices = m_indices;
    copy->m_mode = m_mode;
    return copy;
}
