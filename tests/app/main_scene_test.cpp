#include "app/MainScene.h"
#include "directory/Selection.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxXYZGrid.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxLightSource.h"
#include "support/VectorAsserts.h"
#include "town/House.h"

#include <gtest/gtest.h>

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
