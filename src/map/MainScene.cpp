#include "map/MainScene.h"

#include "map/TownBuilder.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxXYZGrid.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxLightSource.h"
#include "map/House.h"
#include "map/MapLabels.h"

namespace {

TGxDummyCube* addCube(TGxBaseSceneObject* parent, const char* name)
{
    auto* cube = parent->SpawnChild<TGxDummyCube>();
    cube->SetName(name);
    cube->SetCubeSize(1.0f);
    return cube;
}

TGxLightSource* addLight(TGxBaseSceneObject* parent, const char* name)
{
    auto* light = parent->SpawnChild<TGxLightSource>();
    light->SetName(name);
    light->SetConstAttenuation(1.0f);
    light->SetSpotCutOff(180.0f); // omnidirectional
    return light;
}

} // namespace

MainScene::MainScene()
{
    // The library's one designed material, until the library file replaces it.
    TGxLibMaterial& wandMaterial = GxMaterialLibrary.Materials().Add();
    wandMaterial.SetName("Wand");
    TGxFaceProperties& wandFront = wandMaterial.Material().FrontProperties();
    wandFront.Ambient().SetColorVector(1, 0.25f, 0, 1);
    wandFront.Diffuse().SetColorVector(1, 0.25f, 0, 0.5f);
    wandFront.Emission().SetColorVector(79 / 255.0f, 47 / 255.0f, 79 / 255.0f, 1);
    wandMaterial.Material().SetBlendingMode(bmTransparency);

    TGxBaseSceneObject* root = GxScene.ObjectRoot();

    DCTarget = addCube(root, "DCTarget");
    GxFreeCamera = DCTarget->SpawnChild<TGxCamera>();
    GxFreeCamera->SetName("GxFreeCamera");
    GxFreeCamera->SetDepthOfView(500.0f);
    GxFreeCamera->SetFocalLength(50.0f);
    GxFreeCamera->SetNearPlaneBias(0.2f);
    GxFreeCamera->SetTargetObject(DCTarget);
    GxFreeCamera->Position().AssignPoint(0, -4, 3);
    GxFreeCamera->Direction().AssignVector(0, -1, 0);
    GxFreeCamera->Up().AssignVector(0, 0, 1);
    FreeLightSource = addLight(GxFreeCamera, "FreeLightSource");

    DCSelection = addCube(root, "DCSelection");
    Wand = DCSelection->SpawnChild<TGxCylinder>();
    Wand->SetName("Wand");
    Wand->Material().SetMaterialLibrary(&GxMaterialLibrary);
    Wand->Material().SetLibMaterialName("Wand");
    // Orientation as stored with the design: the angle is recorded, not applied again.
    Wand->BeginLoading();
    Wand->Direction().AssignVector(0, 1, -4.37113883e-8f);
    Wand->SetPitchAngle(90.0f);
    Wand->Up().AssignVector(0, -4.37113883e-8f, -1);
    Wand->EndLoading();
    Wand->SetBottomRadius(0.1f);
    Wand->SetTopRadius(0.05f);
    Wand->SetHeight(200.0f);

    GxXYZGrid = root->SpawnChild<TGxXYZGrid>();
    GxXYZGrid->SetName("GxXYZGrid");
    GxXYZGrid->LineColor().SetColorVector(0.9f, 0.9f, 0.9f, 1);
    GxXYZGrid->SetLineWidth(0.5f);
    for (TGxSamplingScale* axis : {&GxXYZGrid->XSamplingScale(), &GxXYZGrid->YSamplingScale()}) {
        axis->SetMin(-470.0f);
        axis->SetMax(470.0f);
        axis->SetStep(5.0f);
    }
    GxXYZGrid->ZSamplingScale().SetStep(0.1f);
    GxXYZGrid->SetLinesStyle(glsLine);

    GxDummyCube = addCube(root, "GxDummyCube");

    GxCamera = GxScene.CameraRoot()->SpawnChild<TGxCamera>();
    GxCamera->SetName("GxCamera");
    GxCamera->SetDepthOfView(500.0f);
    GxCamera->SetFocalLength(50.0f);
    GxCamera->SetCameraStyle(csOrthogonal);
    GxCamera->Position().AssignPoint(0, 0, 25);
    GxCamera->Direction().AssignVector(0, 0, 1);
    GxLightSource = addLight(GxCamera, "GxLightSource");
}

void MainScene::LoadObjFromFile(const std::string& path, const std::function<void(double)>& progress)
{
    ::LoadObjFromFile(path, GxScene, GxMaterialLibrary, progress);
}

void MainScene::Set3D(float heightScale, const std::function<void(double)>& progress)
{
    TGxBaseSceneObject* root = GxScene.ObjectRoot();
    const int count = root->Count();
    for (int i = 0; i < count; ++i) {
        if (auto* house = dynamic_cast<Thouse*>(root->Children(i)))
            house->BuildWalls(heightScale);
        if (progress && i % 256 == 0)
            progress(double(i) / double(count));
    }
}

TMapLabels* MainScene::AddLabels(const MapState& state)
{
    delete Labels;
    Labels = GxScene.ObjectRoot()->SpawnChild<TMapLabels>(state);
    Labels->Prepare(GxScene);
    return Labels;
}
