#pragma once

#include "engine/objects/FaceGroup.h"
#include "engine/scene/VectorGeometry.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TGxMaterialLibrary;
struct TGxMaterialContext;

enum TMeshObjectMode { momTriangles, momTriangleStrip, momFaceGroups };

// What a mesh object needs from the pass that draws it.
struct TMeshDrawContext {
    TGxMaterialContext* material = nullptr; // state cache and the buffer's culling wish
    // The library the face groups take their materials from; none draws
    // every group with the mesh's own material.
    TGxMaterialLibrary* library = nullptr;
    bool ignoreMaterials = false; // picking: positions only
    unsigned frame = 0;           // tells the groups of one drawing apart
};

// One object of a mesh: its vertex lists and the faces made of them.
class TMeshObject {
public:
    TMeshObject() = default;
    TMeshObject(const TMeshObject&) = delete;
    TMeshObject& operator=(const TMeshObject&) = delete;

    std::string Name;
    bool Visible = true;
    std::vector<TGxAffineVector> Vertices;
    std::vector<TGxAffineVector> Normals;       // empty, or one per vertex
    std::vector<TGxAffineVector> TexCoords;     // (s, t, unused); empty, or one per vertex
    std::vector<std::array<float, 2>> LightMapTexCoords;
    std::vector<TGxVector> Colors;              // RGBA; used only with one per vertex
    TMeshObjectMode Mode = momTriangles;
    // Draw all groups of one material together instead of in list order.
    bool GroupByMaterial = false;

    const std::vector<std::unique_ptr<TFaceGroup>>& FaceGroups() const { return m_faceGroups; }
    // A new vertex-index group appended to the list.
    TFGVertexIndexList& AddVertexIndexGroup();
    void AddFaceGroup(std::unique_ptr<TFaceGroup> group);
    void ClearFaceGroups() { m_faceGroups.clear(); }

    // One colour per vertex: the colours replace the material's ambient and diffuse.
    bool HasVertexColours() const { return !Vertices.empty() && Colors.size() == Vertices.size(); }
    // Componentwise minimum and maximum of the vertices, widening min/max.
    void ExtentsInto(TGxAffineVector& min, TGxAffineVector& max) const;
    void Translate(const TGxAffineVector& delta);
    void ScaleBy(const TGxAffineVector& factors);

    void PrepareMaterialCache(const TGxMaterialLibrary* library);
    void DropMaterialCache();
    // Forgets what was kept for drawing (the group marks of the last frame).
    void Prepare();

    // Points OpenGL's arrays at the vertex lists (normals, colours and
    // texture coordinates only when materials are drawn), once per drawing.
    void DeclareArrays(const TMeshDrawContext& context);
    void DisableArrays(const TMeshDrawContext& context);
    // Emits the object's faces (see TGxBaseMesh for the whole drawing).
    void BuildList(TMeshDrawContext& context);

    std::unique_ptr<TMeshObject> Clone() const;

private:
    void buildFaceGroups(TMeshDrawContext& context);
    void buildImmediate(TMeshDrawContext& context);

    std::vector<std::unique_ptr<TFaceGroup>> m_faceGroups;
    bool m_arraysDeclared = false;
};
