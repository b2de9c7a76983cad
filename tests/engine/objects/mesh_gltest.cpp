#include "Mesh3DSFixtures.h"

#include "engine/materials/GxMaterialLibrary.h"
#include "support/OffscreenScene.h"

#include <gtest/gtest.h>

using namespace fixture3ds;

namespace {

// Two small quads side by side in the plane z = 0, facing the camera: the
// left one (faces 0, 1) in the materials "Red", the right one (faces 2, 3)
// in "Blue", as three groups: Red, Red, Blue.
std::string panels()
{
    Model3DSObject o;
    o.name = "Panels";
    o.vertices = {{-.2f, -.2f, 0}, {0, -.2f, 0}, {0, .2f, 0}, {-.2f, .2f, 0},
                  {0, -.2f, 0},    {.2f, -.2f, 0}, {.2f, .2f, 0}, {0, .2f, 0}};
    o.faces = {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}};
    o.smoothing = std::vector<std::uint32_t>(4, 1);
    o.groups = {{"Red", {0}}, {"Red", {1}}, {"Blue", {2, 3}}};
    Model3DSMaterial red = material("Red"), blue = material("Blue");
    red.diffuse = {1, 0, 0};
    blue.diffuse = {0, 0, 1};
    Model3DS model;
    model.materials = {red, blue};
    model.objects = {o};
    return writeModel3DS(model);
}

class MeshGlTest : public ::testing::Test {
protected:
    MeshGlTest()
    {
        mesh = view.root()->SpawnChild<TGxFreeForm>();
        mesh->Material().FrontProperties().Diffuse().SetColorVector(0, 1, 0, 1);
    }
    QColor left() { return view.pixel(26, 32); }
    QColor right() { return view.pixel(38, 32); }

    OffscreenScene view{64, 64};
    TGxMaterialLibrary library;
    TGxFreeForm* mesh = nullptr;
};

} // namespace

TEST_F(MeshGlTest, FaceGroupsDrawWithTheirLibraryMaterials)
{
    mesh->SetMaterialLibrary(&library);
    load(*mesh, panels());
    view.render();
    EXPECT_EQ(left(), QColor(255, 0, 0));
    EXPECT_EQ(right(), QColor(0, 0, 255));
    // From the recorded list, after another object drew in between.
    view.render();
    EXPECT_EQ(left(), QColor(255, 0, 0));
    EXPECT_EQ(right(), QColor(0, 0, 255));

    // Grouped by material: the same picture.
    mesh->MeshObjects()[0]->GroupByMaterial = true;
    mesh->GeometryDirty();
    view.render();
    EXPECT_EQ(left(), QColor(255, 0, 0));
    EXPECT_EQ(right(), QColor(0, 0, 255));

    // Without mesh materials everything takes the mesh's own colour.
    mesh->SetUseMeshMaterials(false);
    view.render();
    EXPECT_EQ(left(), QColor(0, 255, 0));
    EXPECT_EQ(right(), QColor(0, 255, 0));
}

TEST_F(MeshGlTest, WithoutALibraryTheMeshsOwnMaterialDrawsEveryGroup)
{
    library.Materials().Add().SetName("Red"); // not the mesh's library
    load(*mesh, panels());
    EXPECT_EQ(mesh->MeshObjects()[0]->FaceGroups()[0]->MaterialName(), "");
    view.render();
    EXPECT_EQ(left(), QColor(0, 255, 0));
    EXPECT_EQ(right(), QColor(0, 255, 0));
    // A library set afterwards finds no names in the groups.
    mesh->SetMaterialLibrary(&library);
    view.render();
    EXPECT_EQ(left(), QColor(0, 255, 0));
}

TEST_F(MeshGlTest, InvertedMeshesWindTheOtherWay)
{
    view.buffer.SetFaceCulling(true);
    load(*mesh, panels());
    view.render();
    EXPECT_EQ(left(), QColor(0, 255, 0));
    mesh->SetNormalsOrientation(mnoInvert);
    view.render();
    EXPECT_EQ(left(), QColor(255, 255, 255)); // its faces now face away
}

TEST_F(MeshGlTest, PickingFirstLeavesTheFrameItsMaterials)
{
    mesh->SetMaterialLibrary(&library);
    load(*mesh, panels());
    EXPECT_EQ(view.buffer.ObjectAtPixel(26, 32), mesh);
    EXPECT_EQ(view.buffer.ObjectAtPixel(2, 2), nullptr);
    view.render();
    EXPECT_EQ(left(), QColor(255, 0, 0));
    EXPECT_EQ(right(), QColor(0, 0, 255));
}

TEST_F(MeshGlTest, ColoursPerVertexReplaceTheMaterialColour)
{
    TMeshObject& o = mesh->AddMeshObject();
    o.Mode = momFaceGroups;
    o.Vertices = {{-.2f, -.2f, 0}, {.2f, -.2f, 0}, {.2f, .2f, 0}, {-.2f, .2f, 0}};
    o.Colors.assign(4, TGxVector{1, 1, 0, 1});
    o.AddVertexIndexGroup().VertexIndices() = {0, 1, 2, 0, 2, 3};
    mesh->GeometryDirty();
    view.render();
    EXPECT_EQ(left(), QColor(255, 255, 0));
    // A colour list of another length is not used.
    o.Colors.pop_back();
    mesh->GeometryDirty();
    view.render();
    EXPECT_EQ(left(), QColor(0, 255, 0));
}

TEST_F(MeshGlTest, ColoursPerVertexLeaveTheNextObjectItsMaterial)
{
    // Lit, without lights: a surface shows its ambient colour.
    view.buffer.SetLighting(true);
    view.buffer.AmbientColor().SetColorVector(1, 1, 1, 1);
    view.root()->SetObjectsSorting(osNone);
    auto* plain = view.root()->SpawnChild<TGxFreeForm>();
    const std::pair<TGxFreeForm*, float> quads[] = {{mesh, -.2f}, {plain, 0}};
    for (auto [m, x] : quads) {
        m->Material().FrontProperties().Ambient().SetColorVector(1, 0, 0, 1);
        TMeshObject& o = m->AddMeshObject();
        o.Mode = momFaceGroups;
        o.Vertices = {{x, -.2f, 0}, {x + .2f, -.2f, 0}, {x + .2f, .2f, 0}, {x, .2f, 0}};
        o.AddVertexIndexGroup().VertexIndices() = {0, 1, 2, 0, 2, 3};
        m->GeometryDirty();
    }
    mesh->MeshObjects()[0]->Colors.assign(4, TGxVector{0, 1, 0, 1});
    // Recorded, then replayed: the material the colours changed is the
    // right quad's own, which must still reach OpenGL.
    for (int frame = 0; frame < 3; ++frame) {
        view.render();
        EXPECT_EQ(left(), QColor(0, 255, 0)) << frame;
        EXPECT_EQ(right(), QColor(255, 0, 0)) << frame;
    }
}

TEST_F(MeshGlTest, ALoadThatFailsLeavesNothingOfTheOldMeshOnScreen)
{
    // No reader for the name, and a reader failing on a cut file: either
    // way the old objects are gone, and so is their recorded list.
    const std::string cut = panels().substr(0, 60);
    const std::pair<std::string, std::string> attempts[] = {{"panels.xyz", panels()}, {"cut.3ds", cut}};
    for (const auto& [name, bytes] : attempts) {
        SCOPED_TRACE(name);
        load(*mesh, panels());
        view.render();
        ASSERT_EQ(left(), QColor(0, 255, 0));
        EXPECT_NE(errorOf(*mesh, bytes, name), "(no error)");
        view.render();
        EXPECT_EQ(left(), QColor(255, 255, 255));
    }
}
