#include "Mesh3DSFixtures.h"

#include "base/ByteWriter.h"
#include "engine/objects/GxNativeMeshFile.h"
#include "engine/scene/GxScene.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

using namespace fixture3ds;

namespace {
// A reader that makes one object named after itself.
struct NamedReader : TVectorFile {
    NamedReader(TGxBaseMesh* owner, std::string name) : TVectorFile(owner), name(std::move(name)) {}
    void LoadFromStream(ByteReader&) override { Owner()->AddMeshObject().Name = name; }
    std::string name;
};

TVectorFileClass namedClass(const std::string& name)
{
    return {name, [name](TGxBaseMesh* owner) { return std::make_unique<NamedReader>(owner, name); }};
}

std::string errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

void save(const std::string& path, const std::string& bytes)
{
    ByteWriter out;
    out.bytes(bytes);
    out.saveTo(path);
}
} // namespace

TEST(MeshRegistry, TheLastRegistrationWinsAndCaseIsIgnored)
{
    TVectorFileFormatsList formats;
    const TVectorFileClass first = namedClass("first"), second = namedClass("second");
    formats.Add("Abc", "first", first);
    formats.Add("xyz", "other", first);
    formats.Add("ABC", "second", second);
    EXPECT_EQ(formats.Formats()[0].extension, "abc");
    EXPECT_EQ(&formats.FindFromFileName("model.aBc"), &second);
    EXPECT_EQ(&formats.FindFromFileName("C:\\models.3ds\\model.XYZ"), &first);
    EXPECT_EQ(errorText([&] { formats.FindFromFileName("model.3ds"); }),
              "Unknown file extension (3ds), maybe no reader is registered for it? (GxFile3DS?)");
    EXPECT_EQ(errorText([&] { formats.FindFromFileName("dir.abc/model"); }),
              "Unknown file extension (), maybe no reader is registered for it? (GxFile?)");
}

TEST(MeshRegistry, TheProgramReadsNative3dsAndPrjFiles)
{
    const auto& formats = GetVectorFileFormats().Formats();
    ASSERT_GE(formats.size(), 3u);
    EXPECT_EQ(formats[0].extension, TGxNativeMeshFile::cExtension);
    EXPECT_EQ(formats[1].extension, "3ds");
    EXPECT_EQ(formats[1].description, "3D Studio files");
    EXPECT_EQ(formats[2].extension, "prj");
    EXPECT_EQ(formats[2].description, "3D Studio project files");
    EXPECT_EQ(FindMeshReader("TOWER.3DS").className, "TGx3DSVectorFile");
    EXPECT_EQ(FindMeshReader("tower.prj").className, "TGx3DSVectorFile");
    EXPECT_EQ(FindMeshReader("tower.qvm").className, "TGxNativeMeshFile");

    TGxFreeForm mesh(nullptr);
    try {
        load(mesh, file(cube()), "model.xyz");
        ADD_FAILURE() << "no error";
    } catch (const EInvalidVectorFile& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unknown file extension (xyz), maybe no reader is registered for it? (GxFileXYZ?)");
    }
    EXPECT_TRUE(mesh.MeshObjects().empty());
    load(mesh, file(cube("Upper")), "MODEL.3DS");
    EXPECT_EQ(mesh.MeshObjects().at(0)->Name, "Upper");
}

TEST(MeshLoading, LoadingReplacesTheObjectsAndRecordsTheName)
{
    TempDir dir;
    save(dir.file("a.3ds"), file(cube("A")));
    Model3DS two;
    two.objects = {cube("B1"), cube("B2")};
    save(dir.file("b.3ds"), writeModel3DS(two));

    TGxScene scene;
    auto* mesh = scene.ObjectRoot()->SpawnChild<TGxFreeForm>();
    mesh->LoadMeshFile(dir.file("a.3ds"));
    mesh->LoadMeshFile(dir.file("b.3ds"));
    ASSERT_EQ(mesh->MeshObjects().size(), 2u);
    EXPECT_EQ(mesh->MeshObjects()[0]->Name, "B1");
    EXPECT_EQ(mesh->LastLoadedFileName(), dir.file("b.3ds"));
    EXPECT_EQ(scene.UpdateCount(), 0);
    EXPECT_TRUE(VectorNear(mesh->HalfExtentsUnscaled(), VectorMake(1, 1, 1, 0)));

    const std::string missing = dir.file("none.3ds");
    EXPECT_EQ(errorText([&] { mesh->LoadMeshFile(missing); }), "File not found: \"" + missing + "\"");
    EXPECT_EQ(mesh->LastLoadedFileName(), "");
    // A failing reader leaves the scene's notifications running again.
    save(dir.file("cut.3ds"), file(cube()).substr(0, 40));
    EXPECT_NE(errorText([&] { mesh->LoadMeshFile(dir.file("cut.3ds")); }), "(no error)");
    EXPECT_EQ(scene.UpdateCount(), 0);
    EXPECT_TRUE(mesh->MeshObjects().empty());

    mesh->LoadMeshFile(dir.file("a.3ds"));
    mesh->LoadMeshFile("");
    EXPECT_EQ(mesh->MeshObjects().size(), 1u); // an empty name only forgets the name
    EXPECT_EQ(mesh->LastLoadedFileName(), "");
}

TEST(MeshLoading, AutoScalingAndCentring)
{
    Model3DSObject box;
    box.name = "Box";
    box.vertices = {{10, -4, 0}, {20, 0, 5}, {12, -1, 1}, {10, 0, 0}};
    box.faces = {{0, 1, 2}};
    const std::string bytes = file(box);
    auto firstVertex = [&](TGxBaseMesh& mesh) {
        load(mesh, bytes);
        return VectorMake(mesh.MeshObjects()[0]->Vertices[0], 0);
    };

    TGxFreeForm plain(nullptr);
    EXPECT_TRUE(VectorNear(firstVertex(plain), VectorMake(10, -4, 0)));
    // extents x 10..20, y -4..0, z 0..5: moved by (-15, 2, 0)
    TGxFreeForm centred(nullptr);
    centred.SetAutoCentering({macCenterX, macCenterY});
    EXPECT_TRUE(VectorNear(firstVertex(centred), VectorMake(-5, -2, 0)));
    // the mean of the four vertices is (13, -1.25, 1.5)
    TGxFreeForm barycentred(nullptr);
    barycentred.SetAutoCentering({macUseBarycenter, macCenterX});
    EXPECT_TRUE(VectorNear(firstVertex(barycentred), VectorMake(-3, -2.75f, -1.5f)));
    // scaling comes first, then centring
    TGxFreeForm scaled(nullptr);
    scaled.AutoScaling().AssignPoint(2, 2, 2);
    EXPECT_TRUE(VectorNear(firstVertex(scaled), VectorMake(20, -8, 0)));
    scaled.SetAutoCentering({macCenterZ});
    EXPECT_TRUE(VectorNear(firstVertex(scaled), VectorMake(20, -8, -5)));
    EXPECT_TRUE(VectorNear(scaled.HalfExtentsUnscaled(), VectorMake(40, 8, 5)));
}

TEST(MeshLoading, NativeFilesKeepEveryList)
{
    TGxFreeForm source(nullptr);
    TMeshObject& o = source.AddMeshObject();
    o.Name = "Объект";
    o.Visible = false;
    o.Mode = momFaceGroups;
    o.Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    o.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, -1}};
    o.TexCoords = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    o.Colors = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 0.5f}};
    TFGVertexIndexList& strip = o.AddVertexIndexGroup();
    strip.SetMode(fgmmTriangleStrip);
    strip.SetMaterialName("stone");
    strip.VertexIndices() = {0, 1, 2, 3};
    o.AddVertexIndexGroup(); // empty, without material
    TMeshObject& bare = source.AddMeshObject();
    bare.Vertices = {{5, 5, 5}};

    ByteWriter out;
    TGxNativeMeshFile(&source).SaveToStream(out);
    const std::string bytes(out.data().begin(), out.data().end());
    TGxFreeForm copy(nullptr);
    load(copy, bytes, "copy.QVM");
    ASSERT_EQ(copy.MeshObjects().size(), 2u);
    const TMeshObject& c = *copy.MeshObjects()[0];
    EXPECT_EQ(c.Name, o.Name);
    EXPECT_FALSE(c.Visible);
    EXPECT_EQ(c.Mode, momFaceGroups);
    EXPECT_EQ(c.Vertices, o.Vertices);
    EXPECT_EQ(c.Normals, o.Normals);
    EXPECT_EQ(c.TexCoords, o.TexCoords);
    EXPECT_EQ(c.Colors, o.Colors);
    ASSERT_EQ(c.FaceGroups().size(), 2u);
    const auto& g = static_cast<const TFGVertexIndexList&>(*c.FaceGroups()[0]);
    EXPECT_EQ(g.Mode(), fgmmTriangleStrip);
    EXPECT_EQ(g.MaterialName(), "stone");
    EXPECT_EQ(g.VertexIndices(), strip.VertexIndices());
    EXPECT_TRUE(copy.MeshObjects()[1]->Normals.empty());

    // Damage: an index past the vertices, a huge count, a cut file, another file.
    auto patched = [&](std::size_t at, std::int32_t value) {
        std::string b = bytes;
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = char((std::uint32_t(value) >> (8 * i)) & 0xFF);
        return b;
    };
    const std::size_t firstIndex = bytes.find(std::string("stone", 5)) + 5 + 1 + 4;
    const std::size_t objectCount = 8;
    for (const std::string& bad : {patched(firstIndex, 4), patched(objectCount, 0x7FFFFFFF),
                                   bytes.substr(0, bytes.size() - 3), file(cube())}) {
        TGxFreeForm broken(nullptr);
        const std::string error = errorOf(broken, bad, "bad.qvm");
        EXPECT_EQ(error.rfind("Файл \"bad.qvm\" повреждён", 0), 0u) << error;
    }
}
