#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGxLibMaterial;
class TGxMaterialLibrary;
class TMeshObject;
struct TMeshDrawContext;

// A set of faces of one mesh object drawn with one material.
class TFaceGroup {
public:
    explicit TFaceGroup(TMeshObject* owner) : m_owner(owner) {}
    virtual ~TFaceGroup() = default;
    TFaceGroup(const TFaceGroup&) = delete;
    TFaceGroup& operator=(const TFaceGroup&) = delete;

    TMeshObject* Owner() const { return m_owner; }

    // Library material name; empty for none.
    const std::string& MaterialName() const { return m_materialName; }
    void SetMaterialName(const std::string& name);
    int LightMapIndex() const { return m_lightMapIndex; }
    void SetLightMapIndex(int index) { m_lightMapIndex = index; }

    // The library material of MaterialName, found once and kept until dropped.
    TGxLibMaterial* MaterialCache() const { return m_materialCache; }
    void PrepareMaterialCache(const TGxMaterialLibrary* library);
    void DropMaterialCache() { m_materialCache = nullptr; }

    // Draws the group's faces; the owner's arrays are declared already.
    virtual void BuildList(TMeshDrawContext& context) = 0;
    virtual std::unique_ptr<TFaceGroup> Clone(TMeshObject* newOwner) const = 0;

    // The drawing in which the group was last drawn (grouping by material).
    unsigned RenderedTag = 0;

protected:
    void copyBaseTo(TFaceGroup& other) const;

private:
    TMeshObject* m_owner;
    std::string m_materialName;
    int m_lightMapIndex = -1;
    TGxLibMaterial* m_materialCache = nullptr;
};

enum TFaceGroupMeshMode { fgmmTriangles, fgmmTriangleStrip, fgmmFlatTriangles, fgmmTriangleFan, fgmmQuads };

// GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLES, GL_TRIANGLE_FAN, GL_QUADS.
GLenum glModeOf(TFaceGroupMeshMode mode);

// Faces as indices into the owning mesh object's vertex lists (positions,
// normals and texture coordinates share the index).
class TFGVertexIndexList : public TFaceGroup {
public:
    using TFaceGroup::TFaceGroup;

    std::vector<std::uint32_t>& VertexIndices() { return m_indices; }
    const std::vector<std::uint32_t>& VertexIndices() const { return m_indices; }
    TFaceGroupMeshMode Mode() const { return m_mode; }
    void SetMode(TFaceGroupMeshMode mode) { m_mode = mode; }
    void Add(std::uint32_t index) { m_indices.push_back(index); }

    // One glDrawElements over the owner's arrays; nothing for no indices.
    void BuildList(TMeshDrawContext& context) override;
    std::unique_ptr<TFaceGroup> Clone(TMeshObject* newOwner) const override;

private:
    std::vector<std::uint32_t> m_indices;
    TFaceGroupMeshMode m_mode = fgmmTriangles;
};
