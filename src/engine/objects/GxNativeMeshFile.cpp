#include "engine/objects/GxNativeMeshFile.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "engine/objects/GxBaseMesh.h"

#include <string_view>

namespace {
constexpr std::string_view kMagic{"QVMESH1\0", 8};


std::int32_t readCount(ByteReader& in, std::size_t recordSize)
{
    const std::int32_t count = in.int32();
    if (count < 0)
        in.failDamaged("отрицательное число записей (" + std::to_string(count) + ")");
    in.requireRecords(count, recordSize);
    return count;
}

std::string readText(ByteReader& in)
{
    return in.bytes(std::size_t(readCount(in, 1)));
}

void writeText(ByteWriter& out, const std::string& text)
{
    out.int32(std::int32_t(text.size()));
    out.bytes(text);
}

// Normals, texture coordinates and colours: none, or one per vertex.
std::int32_t readAttributeCount(ByteReader& in, std::size_t recordSize, std::size_t vertexCount)
{
    const std::int32_t count = readCount(in, recordSize);
    if (count != 0 && std::size_t(count) != vertexCount)
        in.failDamaged(std::to_string(count) + " значений на " + std::to_string(vertexCount) + " вершин");
    return count;
}
} // namespace

const TVectorFileClass& TGxNativeMeshFile::Class()
{
    static const TVectorFileClass cls{"TGxNativeMeshFile", [](TGxBaseMesh* owner) {
                                          return std::unique_ptr<TVectorFile>(new TGxNativeMeshFile(owner));
                                      }};
    return cls;
}

void TGxNativeMeshFile::LoadFromStream(ByteReader& in)
{
    if (in.bytes(kMagic.size()) != kMagic)
        in.failDamaged("это не файл сетки Quorvel");
    const std::int32_t objects = readCount(in, 26);
    for (std::int32_t o = 0; o < objects; ++o) {
        TMeshObject& object = Owner()->AddMeshObject();
        object.Name = readText(in);
        object.Visible = in.uint8() != 0;
        const std::uint8_t mode = in.uint8();
        if (mode > momFaceGroups)
            in.failDamaged("неизвестный вид объекта " + std::to_string(mode));
        object.Mode = TMeshObjectMode(mode);
        object.Vertices.resize(std::size_t(readCount(in, 12)));
        for (TGxAffineVector& v : object.Vertices)
            v = {in.float32(), in.float32(), in.float32()};
        const std::size_t vertexCount = object.Vertices.size();
        object.Normals.resize(std::size_t(readAttributeCount(in, 12, vertexCount)));
        for (TGxAffineVector& n : object.Normals)
            n = {in.float32(), in.float32(), in.float32()};
        object.TexCoords.resize(std::size_t(readAttributeCount(in, 8, vertexCount)));
        for (TGxAffineVector& t : object.TexCoords)
            t = {in.float32(), in.float32(), 0};
        object.Colors.resize(std::size_t(readAttributeCount(in, 16, vertexCount)));
        for (TGxVector& c : object.Colors)
            c = {in.float32(), in.float32(), in.float32(), in.float32()};
        const std::int32_t groups = readCount(in, 9);
        for (std::int32_t g = 0; g < groups; ++g) {
            TFGVertexIndexList& group = object.AddVertexIndexGroup();
            group.SetMaterialName(readText(in));
            const std::uint8_t groupMode = in.uint8();
            if (groupMode > fgmmQuads)
                in.failDamaged("неизвестный вид группы граней " + std::to_string(groupMode));
            group.SetMode(TFaceGroupMeshMode(groupMode));
            group.VertexIndices().resize(std::size_t(readCount(in, 4)));
            for (std::uint32_t& index : group.VertexIndices()) {
                index = std::uint32_t(in.int32());
                if (index >= vertexCount)
                    in.failDamaged("номер вершины " + std::to_string(index) + " при " + std::to_string(vertexCount)
                                    + " вершинах");
            }
        }
    }
}

void TGxNativeMeshFile::SaveToStream(ByteWriter& out) const
{
    out.bytes(kMagic);
    out.int32(std::int32_t(Owner()->MeshObjects().size()));
    for (const auto& object : Owner()->MeshObjects()) {
        writeText(out, object->Name);
        out.uint8(object->Visible ? 1 : 0);
        out.uint8(std::uint8_t(object->Mode));
        const std::size_t vertexCount = object->Vertices.size();
        out.int32(std::int32_t(vertexCount));
        for (const TGxAffineVector& v : object->Vertices)
            for (float c : {v.X, v.Y, v.Z})
                out.float32(c);
        // Lists of another length than the vertices cannot be drawn: left out.
        const bool normals = object->Normals.size() == vertexCount;
        out.int32(normals ? std::int32_t(vertexCount) : 0);
        if (normals)
            for (const TGxAffineVector& n : object->Normals)
                for (float c : {n.X, n.Y, n.Z})
                    out.float32(c);
        const bool texCoords = object->TexCoords.size() == vertexCount;
        out.int32(texCoords ? std::int32_t(vertexCount) : 0);
        if (texCoords)
            for (const TGxAffineVector& t : object->TexCoords)
                for (float c : {t.X, t.Y})
                    out.float32(c);
        const bool colours = object->Colors.size() == vertexCount;
        out.int32(colours ? std::int32_t(vertexCount) : 0);
        if (colours)
            for (const TGxVector& c : object->Colors)
                for (float v : {c.X, c.Y, c.Z, c.W})
                    out.float32(v);
        std::vector<const TFGVertexIndexList*> groups;
        for (const auto& group : object->FaceGroups())
            if (auto* list = dynamic_cast<const TFGVertexIndexList*>(group.get()))
                groups.push_back(list);
        out.int32(std::int32_t(groups.size()));
        for (const TFGVertexIndexList* group : groups) {
            writeText(out, group->MaterialName());
            out.uint8(std::uint8_t(group->Mode()));
            out.int32(std::int32_t(group->VertexIndices().size()));
            for (std::uint32_t index : group->VertexIndices())
                out.int32(std::int32_t(index));
        }
    }
}
