#include "Mesh3DSFixtures.h"

#include "base/BmpEncoder.h"
#include "base/ByteWriter.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/File3DS.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fixture3ds;

namespace {
TGxVector vec(const TGxAffineVector& v)
{
    return VectorMake(v.X, v.Y, v.Z, 0);
}

std::vector<std::uint32_t> indices(const TMeshObject& object, std::size_t group = 0)
{
    return static_cast<const TFGVertexIndexList&>(*object.FaceGroups().at(group)).VertexIndices();
}

// The unnormalised normal of a triangle as the reader weighs it.
TGxAffineVector faceNormal(const TMeshObject& o, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    const TGxAffineVector &pa = o.Vertices[a], &pb = o.Vertices[b], &pc = o.Vertices[c];
    return VectorCrossProduct(TGxAffineVector{pc.X - pb.X, pc.Y - pb.Y, pc.Z - pb.Z},
                              TGxAffineVector{pa.X - pb.X, pa.Y - pb.Y, pa.Z - pb.Z});
}

// A cube whose face 0 uses the material "M", written by hand: the entry's
// chunks after its name come from `body`.
std::string cubeWithMaterial(const std::function<void(Chunk3DSWriter&)>& body)
{
    Chunk3DSWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    out.begin(0xAFFF);
    out.begin(0xA000);
    out.cstring("M");
    out.end();
    body(out);
    out.end();
    Model3DSObject o = cube();
    o.groups = {{"M", {0}}};
    writeObject3DS(out, o);
    out.end();
    out.end();
    return out.bytes();
}
} // namespace

TEST(Mesh3DS, CubeWithOneSmoothingGroupKeepsItsVerticesWithSummedNormals)
{
    Model3DSObject cubeObject = cube();
    cubeObject.smoothing = std::vector<std::uint32_t>(12, 1);
    TGxFreeForm mesh(nullptr);
    load(mesh, file(cubeObject));

    ASSERT_EQ(mesh.MeshObjects().size(), 1u);
    const TMeshObject& o = *mesh.MeshObjects()[0];
    EXPECT_EQ(o.Name, "Cube");
    EXPECT_EQ(o.Mode, momFaceGroups);
    ASSERT_EQ(o.Vertices.size(), 8u);
    ASSERT_EQ(o.Normals.size(), 8u);
    EXPECT_TRUE(o.TexCoords.empty());
    // Every vertex: the normalised sum of the (area-weighted) normals of its faces.
    std::vector<TGxAffineVector> sums(8);
    const std::vector<std::uint32_t> corners = indices(o);
    ASSERT_EQ(corners.size(), 36u);
    for (std::size_t f = 0; f < 12; ++f) {
        const auto& face = cubeObject.faces[f];
        EXPECT_EQ(corners[3 * f], face[0]);
        const TGxAffineVector n = faceNormal(o, face[0], face[1], face[2]);
        for (std::uint16_t v : face)
            sums[v] = {sums[v].X + n.X, sums[v].Y + n.Y, sums[v].Z + n.Z};
    }
    for (std::size_t v = 0; v < 8; ++v) {
        TGxVector expected = vec(sums[v]);
        NormalizeVector(expected);
        EXPECT_TRUE(VectorNear(vec(o.Normals[v]), expected)) << "vertex " << v;
        // and it points out of the cube
        EXPECT_GT(VectorDotProduct(vec(o.Normals[v]), vec(o.Vertices[v])), 0.0f);
    }
}

TEST(Mesh3DS, CubeWithoutSmoothingChunkGetsFlatFacesOf36Vertices)
{
    TGxFreeForm mesh(nullptr);
    load(mesh, file(cube()));
    const TMeshObject& o = *mesh.MeshObjects().at(0);
    ASSERT_EQ(o.Vertices.size(), 36u);
    const std::vector<std::uint32_t> corners = indices(o);
    ASSERT_EQ(corners.size(), 36u);
    std::vector<bool> used(36, false);
    for (std::size_t f = 0; f < 12; ++f) {
        const TGxAffineVector &p0 = o.Vertices[corners[3 * f]];
        const TGxAffineVector &p1 = o.Vertices[corners[3 * f + 1]];
        const TGxAffineVector &p2 = o.Vertices[corners[3 * f + 2]];
        // the face's own unit normal, the same at each corner: an axis
        TGxVector expected = vec(VectorCrossProduct(TGxAffineVector{p2.X - p1.X, p2.Y - p1.Y, p2.Z - p1.Z},
                                                    TGxAffineVector{p0.X - p1.X, p0.Y - p1.Y, p0.Z - p1.Z}));
        NormalizeVector(expected);
        EXPECT_FLOAT_EQ(std::fabs(expected.X) + std::fabs(expected.Y) + std::fabs(expected.Z), 1.0f);
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t v = corners[3 * f + std::size_t(k)];
            EXPECT_FALSE(used[v]) << "corner shares vertex " << v;
            used[v] = true;
            EXPECT_TRUE(VectorNear(vec(o.Normals[v]), expected)) << "face " << f;
        }
    }
    // The first eight keep their places; the copies repeat their positions.
    for (std::size_t v = 0; v < 8; ++v)
        EXPECT_EQ(o.Vertices[v].X, (v & 1) ? 1.f : -1.f);
}

TEST(Mesh3DS, SmoothingGroupsShareByTheirLowestBitOnly)
{
    struct Case {
        std::uint32_t mask0, mask1;
        std::size_t vertices;
    };
    for (const Case c : {Case{1, 2, 6}, Case{3, 1, 4}, Case{2, 6, 4}, Case{0, 0, 6}, Case{1, 0, 6},
                         Case{0x80000000u, 0x80000000u, 4}}) {
        SCOPED_TRACE(std::to_string(c.mask0) + " / " + std::to_string(c.mask1));
        TGxFreeForm mesh(nullptr);
        load(mesh, file(hinge(c.mask0, c.mask1)));
        const TMeshObject& o = *mesh.MeshObjects().at(0);
        ASSERT_EQ(o.Vertices.size(), c.vertices);
        const std::vector<std::uint32_t> corners = indices(o);
        const TGxAffineVector flat = faceNormal(o, 0, 1, 2);
        const TGxAffineVector folded = faceNormal(o, 2, 1, 3);
        // Vertex 0 serves only the flat face, vertex 3 only the folded one.
        EXPECT_TRUE(VectorNear(vec(o.Normals[corners[0]]), VectorNormalize(vec(flat))));
        EXPECT_TRUE(VectorNear(vec(o.Normals[corners[5]]), VectorNormalize(vec(folded))));
        // The shared edge (1, 2): one normal for both faces, or one each.
        const TGxVector both = VectorNormalize(VectorAdd(vec(flat), vec(folded)));
        for (auto [inFlat, inFolded] : {std::pair{1, 4}, std::pair{2, 3}}) {
            const std::uint32_t a = corners[std::size_t(inFlat)], b = corners[std::size_t(inFolded)];
            if (c.vertices == 4) {
                EXPECT_EQ(a, b);
                EXPECT_TRUE(VectorNear(vec(o.Normals[a]), both));
            } else {
                EXPECT_NE(a, b);
                EXPECT_EQ(o.Vertices[a], o.Vertices[b]);
                EXPECT_TRUE(VectorNear(vec(o.Normals[a]), VectorNormalize(vec(flat))));
                EXPECT_TRUE(VectorNear(vec(o.Normals[b]), VectorNormalize(vec(folded))));
            }
        }
    }
}

TEST(Mesh3DS, InvertedOrientationTurnsEveryNormalRound)
{
    for (bool smoothed : {false, true}) {
        Model3DSObject cubeObject = cube();
        if (smoothed)
            cubeObject.smoothing = std::vector<std::uint32_t>(12, 1);
        TGxFreeForm plain(nullptr), inverted(nullptr);
        inverted.SetNormalsOrientation(mnoInvert);
        load(plain, file(cubeObject));
        load(inverted, file(cubeObject));
        const TMeshObject &a = *plain.MeshObjects().at(0), &b = *inverted.MeshObjects().at(0);
        ASSERT_EQ(a.Normals.size(), b.Normals.size());
        for (std::size_t i = 0; i < a.Normals.size(); ++i)
            EXPECT_TRUE(VectorNear(vec(b.Normals[i]), VectorScale(vec(a.Normals[i]), -1)));
    }
}

TEST(Mesh3DS, HiddenAndTooSmallObjectsAreSkipped)
{
    Model3DS model;
    Model3DSObject hidden = cube("Hidden");
    hidden.hidden = true;
    Model3DSObject line;
    line.name = "Line";
    line.vertices = {{0, 0, 0}, {1, 0, 0}};
    Model3DSObject empty;
    empty.name = "Empty";
    model.objects = {cube("First"), hidden, line, empty, cube("Last")};
    TGxFreeForm mesh(nullptr);
    load(mesh, writeModel3DS(model));
    ASSERT_EQ(mesh.MeshObjects().size(), 2u);
    EXPECT_EQ(mesh.MeshObjects()[0]->Name, "First");
    EXPECT_EQ(mesh.MeshObjects()[1]->Name, "Last");
}

TEST(Mesh3DS, TextureVerticesFollowTheirVerticesIntoCopies)
{
    Model3DSObject o = hinge(1, 2);
    o.texVertices = {{0, 0}, {1, 0}, {0, 1}}; // one short: vertex 3 gets (0, 0)
    TGxFreeForm mesh(nullptr);
    load(mesh, file(o));
    const TMeshObject& m = *mesh.MeshObjects().at(0);
    ASSERT_EQ(m.TexCoords.size(), m.Vertices.size());
    const std::vector<std::uint32_t> corners = indices(m);
    EXPECT_EQ(m.TexCoords[corners[4]], (TGxAffineVector{1, 0, 0})); // copy of vertex 1
    EXPECT_EQ(m.TexCoords[corners[3]], (TGxAffineVector{0, 1, 0})); // copy of vertex 2
    EXPECT_EQ(m.TexCoords[corners[5]], (TGxAffineVector{0, 0, 0}));
}

TEST(Mesh3DS, MaterialGroupsBecomeFaceGroupsNamedOnlyWithALibrary)
{
    Model3DS model;
    model.materials = {material("Walls"), material("Roof")};
    Model3DSObject o = cube();
    o.smoothing = std::vector<std::uint32_t>(12, 1); // no copies: the corners keep their numbers
    o.groups = {{"Roof", {10, 11}}, {"walls", {0, 1, 2, 3}}}; // names match ignoring case
    model.objects = {o};

    TGxFreeForm bare(nullptr);
    load(bare, writeModel3DS(model));
    const TMeshObject& b = *bare.MeshObjects().at(0);
    ASSERT_EQ(b.FaceGroups().size(), 2u);
    EXPECT_EQ(b.FaceGroups()[0]->MaterialName(), "");
    EXPECT_EQ(b.FaceGroups()[1]->MaterialName(), "");
    EXPECT_EQ(indices(b, 0).size(), 6u);
    EXPECT_EQ(indices(b, 1).size(), 12u);

    TGxMaterialLibrary library;
    TGxFreeForm mesh(nullptr);
    mesh.SetMaterialLibrary(&library);
    load(mesh, writeModel3DS(model));
    const TMeshObject& m = *mesh.MeshObjects().at(0);
    EXPECT_EQ(m.FaceGroups()[0]->MaterialName(), "Roof");
    EXPECT_EQ(m.FaceGroups()[1]->MaterialName(), "walls");
    // The corners of the listed faces, in the listed order.
    const std::vector<std::uint32_t> roof = indices(m, 0);
    EXPECT_EQ(std::vector<std::uint32_t>(roof.begin(), roof.begin() + 3),
              (std::vector<std::uint32_t>{o.faces[10][0], o.faces[10][1], o.faces[10][2]}));
    ASSERT_EQ(library.Materials().Count(), 2);
    EXPECT_NE(library.FindLibMaterial("Roof"), nullptr);
    EXPECT_NE(library.FindLibMaterial("walls"), nullptr);
}

TEST(Mesh3DS, LibraryMaterialsTakeTheFileColoursAndShininess)
{
    Model3DSMaterial floatColours = material("F");
    floatColours.ambient = {0.1f, 0.2f, 0.3f};
    floatColours.diffuse = {0.4f, 0.5f, 0.6f};
    floatColours.specular = {1.0f, 0.5f, 0.25f};
    floatColours.shininess = 0.25f;
    floatColours.shininessStrength = 0.3f;
    Model3DSMaterial byteColours = floatColours;
    byteColours.name = "B";
    byteColours.byteColours = true;
    byteColours.diffuse = {1.0f, 0.2f, 0.0f};

    Model3DS model;
    model.materials = {floatColours, byteColours};
    Model3DSObject o = cube();
    o.groups = {{"F", {0}}, {"B", {1}}};
    model.objects = {o};
    TGxMaterialLibrary library;
    TGxLibMaterial& existing = library.Materials().Add();
    existing.SetName("B");
    existing.Material().FrontProperties().Diffuse().SetColorVector(0, 0, 1, 1);
    TGxFreeForm mesh(nullptr);
    mesh.SetMaterialLibrary(&library);
    load(mesh, writeModel3DS(model));

    ASSERT_EQ(library.Materials().Count(), 2);
    const TGxFaceProperties& f = library.FindLibMaterial("F")->Material().FrontProperties();
    EXPECT_EQ(f.Ambient().Vector(), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(f.Diffuse().Vector(), (std::array<float, 4>{0.4f, 0.5f, 0.6f, 1}));
    // specular times (1 - shininess), alpha included
    EXPECT_EQ(f.Specular().Vector(), (std::array<float, 4>{0.75f, 0.375f, 0.1875f, 0.75f}));
    EXPECT_EQ(f.Shininess(), 90); // (1 - 0.3) * 128 = 89.6
    // An entry of that name already there is used as it is.
    EXPECT_EQ(library.FindLibMaterial("B"), &existing);
    EXPECT_EQ(existing.Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0, 0, 1, 1}));
}

TEST(Mesh3DS, ShininessRoundsHalvesToEvenAndStaysInRange)
{
    // (1 - strength) * 128 to the nearest integer, halves to even; the
    // strength as a float percentage, so that the halves are exact.
    struct Case {
        float strength;
        int shininess;
    };
    for (const Case& c : {Case{0.0f, 128}, Case{1.0f, 0}, Case{0.30078125f, 90}, Case{0.30859375f, 88},
                          Case{1.5f, 0}, Case{-1.0f, 128}}) {
        SCOPED_TRACE(c.strength);
        const std::string bytes = cubeWithMaterial([&](Chunk3DSWriter& out) {
            out.begin(0xA041);
            out.begin(0x0031);
            out.f32(c.strength);
            out.end();
            out.end();
        });
        TGxMaterialLibrary library;
        TGxFreeForm mesh(nullptr);
        mesh.SetMaterialLibrary(&library);
        load(mesh, bytes);
        ASSERT_NE(library.FindLibMaterial("M"), nullptr);
        EXPECT_EQ(library.FindLibMaterial("M")->Material().FrontProperties().Shininess(), c.shininess);
    }
}

TEST(Mesh3DS, ColourChunksPreferFloatThenLinearBytes)
{
    // Byte colour alone; byte and float; byte, float and linear byte.
    struct Case {
        std::vector<std::uint16_t> kinds;
        std::array<float, 4> expected;
    };
    for (const Case& c : {Case{{0x0011}, {1, 0.2f, 0, 1}}, Case{{0x0011, 0x0010}, {0.5f, 0.25f, 0.125f, 1}},
                          Case{{0x0010, 0x0011}, {0.5f, 0.25f, 0.125f, 1}},
                          Case{{0x0012, 0x0010, 0x0011}, {0, 1, 0.2f, 1}}}) {
        const std::string bytes = cubeWithMaterial([&](Chunk3DSWriter& out) {
            out.begin(0xA020);
            for (std::uint16_t kind : c.kinds) {
                out.begin(kind);
                if (kind == 0x0010) {
                    out.f32(0.5f);
                    out.f32(0.25f);
                    out.f32(0.125f);
                } else if (kind == 0x0011) {
                    out.raw(std::string("\xFF\x33\x00", 3));
                } else {
                    out.raw(std::string("\x00\xFF\x33", 3));
                }
                out.end();
            }
            out.end();
        });
        TGxMaterialLibrary library;
        TGxFreeForm mesh(nullptr);
        mesh.SetMaterialLibrary(&library);
        load(mesh, bytes);
        ASSERT_NE(library.FindLibMaterial("M"), nullptr);
        EXPECT_EQ(library.FindLibMaterial("M")->Material().FrontProperties().Diffuse().Vector(), c.expected);
    }
}

TEST(Mesh3DS, TextureMapsLoadThroughTheLibrary)
{
    TempDir dir;
    const std::vector<std::uint8_t> rgb(4 * 4 * 3, 200);
    const std::string bmp = encodeBmp24(4, 4, rgb);
    ByteWriter picture;
    picture.bytes(bmp);
    picture.saveTo(dir.file("brick.bmp"));

    Model3DS model;
    model.materials = {material("Found", " brick.bmp "), material("Lost", "nothing.bmp")};
    Model3DSObject o = cube();
    o.groups = {{"Found", {0}}, {"Lost", {1}}};
    model.objects = {o};

    TGxMaterialLibrary library;
    library.SetTexturePaths(dir.path()); // where the relative name is looked for
    TGxFreeForm mesh(nullptr);
    mesh.SetMaterialLibrary(&library);
    EXPECT_EQ(errorOf(mesh, writeModel3DS(model)), "Could not open file: nothing.bmp");
    const TGxTexture& found = library.FindLibMaterial("Found")->Material().Texture();
    EXPECT_TRUE(found.Enabled());
    EXPECT_EQ(found.TextureMode(), tmModulate);

    TGxMaterialLibrary second;
    second.SetTexturePaths(dir.path());
    TGxFreeForm skipping(nullptr);
    skipping.SetMaterialLibrary(&second);
    skipping.SetSkipMissingTextures(true);
    load(skipping, writeModel3DS(model));
    ASSERT_EQ(skipping.MeshObjects().size(), 1u);
    EXPECT_TRUE(second.FindLibMaterial("Found")->Material().Texture().Enabled());
    EXPECT_FALSE(second.FindLibMaterial("Lost")->Material().Texture().Enabled());
}

TEST(Mesh3DS, MaterialErrors)
{
    // A group naming a material the file lacks is a programming error of the file's maker.
    Model3DSObject o = cube();
    o.groups = {{"Nowhere", {0}}};
    TGxFreeForm mesh(nullptr);
    EXPECT_THROW(load(mesh, file(o)), EGxAssertion);

    // An unknown chunk inside a material entry.
    const std::string bytes = cubeWithMaterial([](Chunk3DSWriter& out) {
        out.begin(0x1234);
        out.end();
    });
    TGxFreeForm broken(nullptr);
    EXPECT_EQ(errorOf(broken, bytes),
              "An invalid Chunk structure was encountered while reading\rthe database. Usually caused by a "
              "corrupt database or file.");
}

TEST(File3DS, CountsOnlyNamedObjectsWithATriangleMesh)
{
    Chunk3DSWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    writeObject3DS(out, cube("A"));
    out.begin(0x4000); // a camera
    out.cstring("Camera01");
    out.begin(0x4700);
    for (int i = 0; i < 8; ++i)
        out.f32(1);
    out.end();
    out.end();
    out.begin(0x4000); // a mesh one level too deep, inside a light
    out.cstring("Deep");
    out.begin(0x4600);
    for (int i = 0; i < 3; ++i)
        out.f32(0);
    out.begin(0x4100);
    out.end();
    out.end();
    out.end();
    out.begin(0xAFFF);
    out.begin(0xA000);
    out.cstring("Brick");
    out.end();
    out.end();
    out.end();
    out.end();

    ByteReader in = reader(out.bytes());
    TFile3DS file;
    file.ReadDatabase(in);
    ASSERT_EQ(file.CountMeshes(), 2);
    EXPECT_EQ(file.ReadMesh(0).name, "A");
    EXPECT_EQ(file.ReadMesh(0).faces.size(), 12u);
    EXPECT_EQ(&file.ReadMesh(0), &file.ReadMesh(0)); // decoded once
    try {
        file.ReadMesh(1);
        ADD_FAILURE() << "no error";
    } catch (const E3DSError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The Name passed to the functions exists but is not the type of object asked for.\rFor example "
                  "asking for a mesh object with the GetCameraByName3DS function.");
    }
    ASSERT_NE(file.FindMaterialRecord("bRICK"), nullptr);
    EXPECT_EQ(file.FindMaterialRecord("bRICK")->name, "Brick");
    EXPECT_EQ(file.FindMaterialRecord("Stone"), nullptr);
}
