#include "engine/objects/Gx3DSVectorFile.h"

#include "engine/materials/GxMaterialLibrary.h"
#include "engine/materials/GxTexture.h"
#include "engine/objects/File3DS.h"
#include "engine/objects/GxBaseMesh.h"

#include <array>
#include <bit>
#include <cmath>

const TVectorFileClass& TGx3DSVectorFile::Class()
{
    static const TVectorFileClass cls{"TGx3DSVectorFile", [](TGxBaseMesh* owner) {
                                          return std::unique_ptr<TVectorFile>(new TGx3DSVectorFile(owner));
                                      }};
    return cls;
}

void TGx3DSVectorFile::LoadFromStream(ByteReader& stream)
{
    TFile3DS file;
    file.ReadDatabase(stream);
    const int count = file.CountMeshes();
    for (int i = 0; i < count; ++i) {
        const TMesh3DS& mesh = file.ReadMesh(i);
        if (mesh.isHidden || mesh.vertices.size() < 3)
            continue;
        buildObject(file, mesh, Owner()->AddMeshObject());
    }
}

namespace {
TGxAffineVector sub(const TGxAffineVector& a, const TGxAffineVector& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

// Trimmed of blanks and control characters at both ends.
std::string trimmed(const std::string& s)
{
    std::size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ')
        --last;
    return s.substr(first, last - first);
}
} // namespace

void TGx3DSVectorFile::buildObject(TFile3DS& file, const TMesh3DS& mesh, TMeshObject& object)
{
    object.Name = mesh.name;
    object.Mode = momFaceGroups;
    const std::size_t vertexCount = mesh.vertices.size();
    object.Vertices.reserve(vertexCount);
    for (const auto& v : mesh.vertices)
        object.Vertices.push_back({v[0], v[1], v[2]});
    object.Normals.assign(vertexCount, TGxAffineVector{});
    // Texture vertices past the stored ones are (0, 0); extra ones are ignored.
    const bool textured = !mesh.textureVertices.empty();
    if (textured) {
        object.TexCoords.assign(vertexCount, TGxAffineVector{});
        for (std::size_t i = 0; i < vertexCount && i < mesh.textureVertices.size(); ++i)
            object.TexCoords[i] = {mesh.textureVertices[i][0], mesh.textureVertices[i][1], 0};
    }

    const bool invert = NormalsOrientation() == mnoInvert;
    const bool smoothing = !mesh.smoothGroups.empty();
    std::vector<bool> marked(vertexCount, false);
    using Slots = std::array<std::int32_t, 32>;
    constexpr Slots kNoSlots = [] {
        Slots s{};
        s.fill(-1);
        return s;
    }();
    std::vector<Slots> groupSlots(smoothing ? vertexCount : 0, kNoSlots);

    auto addCopy = [&](std::uint32_t v, const TGxAffineVector& normal) {
        const TGxAffineVector position = object.Vertices[v];
        object.Vertices.push_back(position);
        if (textured) {
            const TGxAffineVector uv = object.TexCoords[v];
            object.TexCoords.push_back(uv);
        }
        object.Normals.push_back(normal);
        marked.push_back(false);
        if (smoothing)
            groupSlots.push_back(kNoSlots);
        return std::uint32_t(object.Vertices.size() - 1);
    };

    // Corners rewritten to the split vertices; a face naming a vertex the
    // object does not have is left out.
    std::vector<std::array<std::uint32_t, 3>> corners(mesh.faces.size());
    std::vector<bool> valid(mesh.faces.size(), false);
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const TFace3DS& face = mesh.faces[f];
        if (face.a >= vertexCount || face.b >= vertexCount || face.c >= vertexCount)
            continue;
        valid[f] = true;
        std::array<std::uint32_t, 3>& corner = corners[f];
        corner = {face.a, face.b, face.c};
        const TGxAffineVector& pa = object.Vertices[face.a];
        const TGxAffineVector& pb = object.Vertices[face.b];
        const TGxAffineVector& pc = object.Vertices[face.c];
        const TGxAffineVector n = invert ? VectorCrossProduct(sub(pa, pb), sub(pc, pb))
                                         : VectorCrossProduct(sub(pc, pb), sub(pa, pb));
        if (!smoothing) {
            for (std::uint32_t& v : corner) {
                if (!marked[v]) {
                    object.Normals[v] = n;
                    marked[v] = true;
                } else {
                    v = addCopy(v, n);
                }
            }
            continue;
        }
        // Only the lowest group bit of a face counts.
        const std::uint32_t group = f < mesh.smoothGroups.size() ? mesh.smoothGroups[f] : 0;
        const int k = group ? std::countr_zero(group) : 0;
        for (std::uint32_t& v : corner) {
            if (!marked[v]) {
                object.Normals[v] = n;
                groupSlots[v] = kNoSlots;
                if (group)
                    groupSlots[v][std::size_t(k)] = std::int32_t(v);
                marked[v] = true;
            } else if (group == 0) {
                const std::uint32_t w = addCopy(v, n);
                marked[w] = true;
                v = w;
            } else if (groupSlots[v][std::size_t(k)] < 0) {
                const std::uint32_t w = addCopy(v, n);
                groupSlots[v][std::size_t(k)] = std::int32_t(w);
                groupSlots[w][std::size_t(k)] = std::int32_t(w);
                marked[w] = true;
                v = w;
            } else {
                const std::uint32_t w = std::uint32_t(groupSlots[v][std::size_t(k)]);
                TGxAffineVector& sum = object.Normals[w];
                sum = {sum.X + n.X, sum.Y + n.Y, sum.Z + n.Z};
                v = w;
            }
        }
    }
    for (TGxAffineVector& n : object.Normals)
        if (VectorLength(n) > 0)
            NormalizeVector(n);

    auto addFace = [&](TFGVertexIndexList& group, std::size_t f) {
        if (f < corners.size() && valid[f])
            for (std::uint32_t v : corners[f])
                group.Add(v);
    };
    if (!mesh.materialGroups.empty()) {
        for (const TMaterialGroup3DS& materialGroup : mesh.materialGroups) {
            TFGVertexIndexList& group = object.AddVertexIndexGroup();
            group.SetMaterialName(groupMaterial(file, materialGroup.name));
            group.VertexIndices().reserve(materialGroup.faces.size() * 3);
            for (std::uint16_t f : materialGroup.faces)
                addFace(group, f);
        }
    } else {
        TFGVertexIndexList& group = object.AddVertexIndexGroup();
        group.VertexIndices().reserve(mesh.faces.size() * 3);
        for (std::size_t f = 0; f < mesh.faces.size(); ++f)
            addFace(group, f);
    }
}

std::string TGx3DSVectorFile::groupMaterial(TFile3DS& file, const std::string& name)
{
    const TMaterial3DS* record = file.FindMaterialRecord(name);
    gxAssert(record != nullptr, "The 3DS material \"" + name + "\" of a material group is not in the file");
    TGxMaterialLibrary* library = Owner()->MaterialLibrary();
    if (!library)
        return {};
    if (library->FindLibMaterial(name))
        return name;
    TGxLibMaterial& entry = library->Materials().Add(name);
    TGxFaceProperties& front = entry.Material().FrontProperties();
    const TMaterial3DS& m = *record;
    front.Ambient().SetColorVector(m.ambient.r, m.ambient.g, m.ambient.b, 1);
    front.Diffuse().SetColorVector(m.diffuse.r, m.diffuse.g, m.diffuse.b, 1);
    const float keep = 1 - m.shininess;
    front.Specular().SetColorVector(m.specular.r * keep, m.specular.g * keep, m.specular.b * keep, keep);
    // Halves to even; a strength outside 0..1 must not overflow the integer.
    const double shininess = std::nearbyint((1.0 - double(m.shininessStrength)) * 128.0);
    front.SetShininess(shininess > 0 ? int(std::min(shininess, 128.0)) : 0);
    const std::string textureFile = trimmed(m.texture.name);
    if (!textureFile.empty()) {
        TGxTexture& texture = entry.Material().Texture();
        try {
            auto* image = dynamic_cast<TGxPersistentImage*>(&texture.Image());
            if (!image) {
                texture.SetImage(nullptr);
                image = dynamic_cast<TGxPersistentImage*>(&texture.Image());
            }
            image->LoadPictureFile(textureFile);
            texture.SetDisabled(false);
            texture.SetTextureMode(tmModulate);
        } catch (const ETexture&) {
            if (!Owner()->SkipMissingTextures())
                throw;
        }
    }
    return name;
}
