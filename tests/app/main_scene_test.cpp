#include "map/MainScene.h"
#include "data/File3DSWriter.h"
#include "base/FileSource.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/TownModelWriter.h"
#include "directory/Selection.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/objects/GxXYZGrid.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxLightSource.h"
#include "support/VectorAsserts.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(MainScene, DesignedObjectsInOrderWithTheirProperties)
{
    MainScene s;
    TGxBaseSceneObject* root = s.GxScene.ObjectRoot();
    ASSERT_EQ(root->Count(), 4);
    EXPECT_EQ(root->Children(0), s.DCTarget);
    EXPECT_EQ(root->Children(1), s.DCSelection);
    EXPECT_EQ(root->Children(2), s.GxXYZGrid);
    EXPECT_EQ(root->Children(3), s.GxDummyCube);
    for (TGxDummyCube* cube : {s.DCTarget, s.DCSelection, s.GxDummyCube}) {
        EXPECT_EQ(cube->CubeSize(), 1.0f);
        EXPECT_FALSE(cube->VisibleAtRunTime());
    }

    TGxCamera* cam = s.GxFreeCamera;
    EXPECT_EQ(cam->Parent(), s.DCTarget);
    EXPECT_EQ(cam->TargetObject(), s.DCTarget);
    EXPECT_EQ(cam->DepthOfView(), 500.0f);
    EXPECT_EQ(cam->FocalLength(), 50.0f);
    EXPECT_EQ(cam->NearPlaneBias(), 0.2f);
    EXPECT_TRUE(VectorNear(cam->Position().Vector4(), PointMake(0, -4, 3)));
    EXPECT_TRUE(VectorNear(cam->Direction().Vector4(), VectorMake(0, -1, 0)));
    EXPECT_TRUE(VectorNear(cam->Up().Vector4(), VectorMake(0, 0, 1)));
    for (TGxLightSource* light : {s.FreeLightSource, s.GxLightSource}) {
        EXPECT_EQ(light->ConstAttenuation(), 1.0f);
        EXPECT_EQ(light->SpotCutOff(), 180.0f);
        EXPECT_GE(light->LightSlot(), 0) << "the light is in the scene";
    }
    EXPECT_EQ(s.FreeLightSource->Parent(), s.GxFreeCamera);

    TGxCylinder* wand = s.Wand;
    EXPECT_EQ(wand->Parent(), s.DCSelection);
    EXPECT_EQ(wand->BottomRadius(), 0.1f);
    EXPECT_EQ(wand->TopRadius(), 0.05f);
    EXPECT_EQ(wand->Height(), 200.0f);
    EXPECT_EQ(wand->Alignment(), caCenter);
    EXPECT_EQ(wand->PitchAngle(), 90.0f);
    EXPECT_TRUE(VectorNear(wand->Direction().Vector4(), VectorMake(0, 1, 0)));
    EXPECT_TRUE(VectorNear(wand->Up().Vector4(), VectorMake(0, 0, -1)));
    ASSERT_NE(wand->Material().LibMaterial(), nullptr);
    const TGxMaterial& designed = wand->Material().LibMaterial()->Material();
    EXPECT_EQ(designed.FrontProperties().Diffuse().Vector(), (std::array<float, 4>{1, 0.25f, 0, 0.5f}));
    EXPECT_EQ(designed.FrontProperties().Emission().Vector(),
              (std::array<float, 4>{79 / 255.0f, 47 / 255.0f, 79 / 255.0f, 1}));
    EXPECT_EQ(designed.BlendingMode(), bmTransparency);

    TGxXYZGrid* grid = s.GxXYZGrid;
    EXPECT_EQ(grid->LineColor().Vector(), (std::array<float, 4>{0.9f, 0.9f, 0.9f, 1}));
    EXPECT_EQ(grid->LineWidth(), 0.5f);
    EXPECT_EQ(grid->LinesStyle(), glsLine);
    EXPECT_EQ(grid->XSamplingScale().Values(true).size(), 189u);
    EXPECT_EQ(grid->YSamplingScale().Values(true).size(), 189u);
    EXPECT_FLOAT_EQ(grid->ZSamplingScale().Step(), 0.1f);

    ASSERT_EQ(s.GxScene.CameraRoot()->Count(), 1);
    EXPECT_EQ(s.GxScene.CameraRoot()->Children(0), s.GxCamera);
    EXPECT_EQ(s.GxCamera->CameraStyle(), csOrthogonal);
    EXPECT_TRUE(VectorNear(s.GxCamera->Position().Vector4(), PointMake(0, 0, 25)));
    EXPECT_EQ(s.GxLightSource->Parent(), s.GxCamera);
}

TEST(MainScene, Set3DAndDeSelectAllVisitOnlyTheHousesUnderTheRoot)
{
    MainScene s;
    TGxBaseSceneObject* root = s.GxScene.ObjectRoot();
    const auto addHouse = [](TGxBaseSceneObject* parent) {
        auto* h = parent->SpawnChild<Thouse>();
        h->AppendNode(0, 0, 0);
        h->AppendNode(1, 0, 0);
        h->Material().FrontProperties().Diffuse().SetWinColor(0xFF0000);
        h->Material().FrontProperties().Emission().SetColorVector(0.5f, 0.5f, 0, 1);
        return h;
    };
    Thouse* top = addHouse(root);
    Thouse* nested = addHouse(s.GxDummyCube);
    s.Set3D(0.5f);
    EXPECT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Nodes().Items(0).Z(), 15 * 0.5f);
    EXPECT_EQ(nested->Count(), 0);

    DeSelectAll(s.GxScene);
    for (TGxCustomSceneObject* o : {static_cast<TGxCustomSceneObject*>(top),
                                    static_cast<TGxCustomSceneObject*>(top->Children(1))}) {
        EXPECT_EQ(o->Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0, 128 / 255.0f, 0, 1}));
        EXPECT_EQ(o->Material().FrontProperties().Emission().Vector(), (std::array<float, 4>{0, 0, 0, 1}));
    }
    EXPECT_EQ(nested->Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0, 0, 1, 1}));
}

TEST(MainScene, LandmarksClashOnlyWithEachOtherAndTheRoots)
{
    // A landmark is named after its mesh file: "wand.3ds" gives "wand",
    // the name of a designed object, which is no clash.
    Model3DSObject triangle;
    triangle.name = "Tri";
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    Model3DS model;
    model.objects = {triangle};
    const std::string mesh = writeModel3DS(model);
    const std::vector<std::string> designed = {"wand.3ds", "DCTarget.3ds", "gxcamera.3ds", "GxFreeCamera.3ds",
                                               "FreeLightSource.3ds", "GxXYZGrid.3ds", "GxDummyCube.3ds"};
    struct Case {
        std::vector<std::string> meshes;
        std::size_t loaded;
        std::string error;
    };
    const Case cases[] = {
        {designed, designed.size(), "no error"},
        {{"wand.3ds", "sub\\WAND.3ds"}, 2, "A component named WAND already exists"},
        {{"CameraRoot.3ds"}, 1, "A component named CameraRoot already exists"},
        {{"objectROOT.3ds"}, 1, "A component named objectROOT already exists"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meshes.back());
        MemoryFileSource files;
        const auto add = [&](std::string name, const std::string& bytes) {
            std::replace(name.begin(), name.end(), '\\', '/'); // a folder in the list
            files.add("/data/" + name, std::vector<char>(bytes.begin(), bytes.end()));
        };
        const ByteWriter town = writeTownModel({});
        add("data.mod", std::string(town.data().begin(), town.data().end()));
        const ByteWriter library = writeMaterialLibrary(2, {});
        add("data.modt", std::string(library.data().begin(), library.data().end()));
        std::vector<LandmarkRecord> records;
        for (const std::string& file : c.meshes) {
            records.push_back(LandmarkRecord{file});
            add(file, mesh);
        }
        add("fl.dat", writeLandmarkList(records));
        const ScopedFileSource source(files);

        MainScene s;
        const int designedObjects = s.GxScene.ObjectRoot()->Count();
        std::string error = "no error";
        try {
            s.LoadObjFromFile("/data/data.mod");
        } catch (const EGxError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(std::size_t(s.GxScene.ObjectRoot()->Count() - designedObjects), c.loaded);
        EXPECT_EQ(s.Wand->Name(), "Wand");
    }
}
