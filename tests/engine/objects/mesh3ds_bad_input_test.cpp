// 3DS files are untrusted: damaged ones give an empty mesh or a clear error.
#include "Mesh3DSFixtures.h"

#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/File3DS.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fixture3ds;

namespace {
const std::string kInvalidChunk = "An invalid Chunk structure was encountered while reading\rthe database. "
                                  "Usually caused by a corrupt database or file.";

// A file whose editor data holds `inner` after one good cube.
std::string withInner(const std::function<void(Chunk3DSWriter&)>& inner)
{
    Chunk3DSWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    writeObject3DS(out, cube("Good"));
    inner(out);
    out.end();
    out.end();
    return out.bytes();
}

std::vector<std::string> names(const TGxBaseMesh& mesh)
{
    std::vector<std::string> v;
    for (const auto& o : mesh.MeshObjects())
        v.push_back(o->Name);
    return v;
}
} // namespace

TEST(Mesh3DSBadInput, EmptyTruncatedAndForeignFiles)
{
    const std::string good = file(cube());
    // Not a 3DS root: nothing, and no error.
    std::string foreign = good;
    foreign[0] = 0x4C;
    TGxFreeForm mesh(nullptr);
    EXPECT_EQ(errorOf(mesh, foreign), "(no error)");
    EXPECT_TRUE(mesh.MeshObjects().empty());

    // Empty, cut inside the root header, cut inside the file: the short-file error.
    for (std::size_t size : {std::size_t(0), std::size_t(4), good.size() - 1, good.size() / 2}) {
        TGxFreeForm cut(nullptr);
        const std::string error = errorOf(cut, good.substr(0, size));
        EXPECT_NE(error.find("test.3ds"), std::string::npos) << size << ": " << error;
        EXPECT_NE(error.find("повреждён"), std::string::npos) << size << ": " << error;
        EXPECT_TRUE(cut.MeshObjects().empty());
    }
}

TEST(Mesh3DSBadInput, BadChunkLengthsEndTheirParent)
{
    struct Case {
        const char* what;
        std::function<void(Chunk3DSWriter&)> inner;
    };
    const Case cases[] = {
        // Would re-read its own header forever if it were taken as it says.
        {"length 0", [](Chunk3DSWriter& out) { out.header(0x4000, 0); }},
        {"length 5", [](Chunk3DSWriter& out) { out.header(0x4000, 5); }},
        // Claims more than the editor data holds.
        {"past the parent",
         [](Chunk3DSWriter& out) {
             out.header(0x4000, 1000);
             out.cstring("Big");
         }},
        // A header cut short at the parent's end.
        {"half a header", [](Chunk3DSWriter& out) { out.raw("\x00\x40\x10"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGxFreeForm mesh(nullptr);
        EXPECT_EQ(errorOf(mesh, withInner(c.inner)), "(no error)");
        EXPECT_EQ(names(mesh), std::vector<std::string>{"Good"});
    }
}

TEST(Mesh3DSBadInput, CountsBeyondTheirChunkAreAnError)
{
    struct Case {
        const char* what;
        std::uint16_t id;
        std::string data;
    };
    const Case cases[] = {
        {"vertices", 0x4110, std::string("\x10\x00", 2) + std::string(12, '\0')},
        {"texture vertices", 0x4140, std::string("\x05\x00", 2) + std::string(8, '\0')},
        {"faces", 0x4120, std::string("\x02\x00", 2) + std::string(8, '\0')},
        {"no count", 0x4110, std::string("\x01", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Chunk3DSWriter out;
        out.begin(0x4D4D);
        out.begin(0x3D3D);
        out.begin(0x4000);
        out.cstring("Bad");
        out.begin(0x4100);
        out.begin(c.id);
        out.raw(c.data);
        out.end();
        out.end();
        out.end();
        out.end();
        out.end();
        TGxFreeForm mesh(nullptr);
        EXPECT_EQ(errorOf(mesh, out.bytes()), kInvalidChunk);
    }
}

TEST(Mesh3DSBadInput, FacesPastTheVerticesAreLeftOut)
{
    Model3DSObject o = cube();
    o.faces[3] = {0, 1, 8}; // one past the last vertex
    o.faces[7] = {65535, 0, 1};
    o.groups = {{"M", {3, 4, 900}}}; // a bad face and a face that does not exist
    Model3DS model;
    model.materials = {material("M")};
    model.objects = {o};
    TGxFreeForm mesh(nullptr);
    load(mesh, writeModel3DS(model));
    const TMeshObject& m = *mesh.MeshObjects().at(0);
    const auto& group = static_cast<const TFGVertexIndexList&>(*m.FaceGroups().at(0));
    EXPECT_EQ(group.VertexIndices().size(), 3u); // face 4 only
    for (std::uint32_t v : group.VertexIndices())
        EXPECT_LT(v, m.Vertices.size());

    o.groups.clear();
    TGxFreeForm plain(nullptr);
    load(plain, file(o));
    const auto& all = static_cast<const TFGVertexIndexList&>(*plain.MeshObjects().at(0)->FaceGroups().at(0));
    EXPECT_EQ(all.VertexIndices().size(), 30u);
    // The ten good faces use 30 corners: 8 first uses and 22 copies.
    EXPECT_EQ(plain.MeshObjects()[0]->Vertices.size(), 30u);
}

TEST(Mesh3DSBadInput, FewerSmoothingMasksThanFacesCountAsGroupZero)
{
    Model3DSObject o = hinge(1, 1);
    o.smoothing = std::vector<std::uint32_t>{1}; // the second face has none
    TGxFreeForm mesh(nullptr);
    load(mesh, file(o));
    EXPECT_EQ(mesh.MeshObjects().at(0)->Vertices.size(), 6u); // as for masks 1 and 0
}

TEST(Mesh3DSBadInput, DeepNestingNeitherOverflowsNorHangs)
{
    // 200,000 editor-data chunks inside each other: about 1.2 MB.
    const int depth = 200000;
    std::string bytes;
    std::uint32_t length = 6 * (depth + 1);
    bytes.reserve(length);
    auto header = [&](std::uint16_t id, std::uint32_t len) {
        bytes += char(id & 0xFF);
        bytes += char(id >> 8);
        for (int i = 0; i < 4; ++i)
            bytes += char((len >> (8 * i)) & 0xFF);
    };
    header(0x4D4D, length);
    for (int i = 0; i < depth; ++i) {
        length -= 6;
        header(0x3D3D, length);
    }
    TGxFreeForm mesh(nullptr);
    EXPECT_EQ(errorOf(mesh, bytes), "(no error)");
    EXPECT_TRUE(mesh.MeshObjects().empty());
}

TEST(Mesh3DSBadInput, WorkGrowsWithTheFileNotWithItsSquare)
{
    // Many materials, each found by a face group of its own, and many named
    // objects: every byte of the file is read a few times at most, not once
    // per group or per object.
    constexpr int kMany = 2000;
    Model3DS model;
    Model3DSObject triangle;
    triangle.name = "Tri";
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    for (int i = 0; i < kMany; ++i) {
        Model3DSMaterial m;
        m.name = "m" + std::to_string(i);
        model.materials.push_back(m);
        triangle.groups.push_back({"M" + std::to_string(kMany - 1 - i), {0}}); // names match ignoring case
    }
    model.objects.push_back(triangle);
    for (int i = 0; i < kMany; ++i) {
        Model3DSObject empty;
        empty.name = "e" + std::to_string(i);
        model.objects.push_back(empty);
    }
    const std::string bytes = writeModel3DS(model);

    TGxMaterialLibrary library;
    TGxFreeForm mesh(nullptr);
    mesh.SetMaterialLibrary(&library);
    ByteReader in = reader(bytes);
    mesh.LoadMeshStream("test.3ds", in);
    ASSERT_EQ(mesh.MeshObjects().size(), 1u);
    EXPECT_EQ(mesh.MeshObjects()[0]->FaceGroups().size(), std::size_t(kMany));
    EXPECT_EQ(library.Materials().Count(), kMany);
    EXPECT_LE(in.bytesTaken(), 3 * bytes.size());
}
