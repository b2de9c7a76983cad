#include "engine/materials/GxMaterialLibrary.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxScene.h"

#include <gtest/gtest.h>

namespace {

class RecordingBuffer : public IGxSceneBuffer {
public:
    void SceneChanged(TGxScene*) override { ++changes; }
    int changes = 0;
};

// Clears change flags the way compiling a display list does.
template <class Base>
class Probe : public Base {
public:
    using Base::Base;
    using TGxBaseSceneObject::ClearChange;
};

class SceneObjectMaterialTest : public ::testing::Test {
protected:
    SceneObjectMaterialTest()
    {
        scene.AttachBuffer(&buffer);
        object = scene.ObjectRoot()->SpawnChild<Probe<TGxSceneObject>>();
    }
    template <class T>
    static void compiled(Probe<T>* o)
    {
        o->ClearChange(TGxObjectChange::Structure);
    }

    RecordingBuffer buffer;
    TGxMaterialLibrary library; // outlives the materials linked to it
    TGxScene scene;
    Probe<TGxSceneObject>* object;
};

} // namespace

TEST_F(SceneObjectMaterialTest, MaterialChangesReachTheBuffers)
{
    buffer.changes = 0;
    object->Material().FrontProperties().Diffuse().SetColorVector(1, 0, 0, 1);
    EXPECT_EQ(buffer.changes, 1);
    object->Material().SetBlendingMode(bmTransparency);
    EXPECT_EQ(buffer.changes, 2);
    // A plain material change leaves the recorded geometry valid...
    compiled(object);
    object->Material().FrontProperties().Diffuse().SetRed(0.5f);
    EXPECT_FALSE(object->Changes().Contains(TGxObjectChange::Structure));
    // ...texture use does not.
    object->Material().Texture().SetEnabled(true);
    EXPECT_TRUE(object->Changes().Contains(TGxObjectChange::Structure));
}

TEST_F(SceneObjectMaterialTest, NeedsBlendingFollowsTheMaterialOrItsLibraryEntry)
{
    const std::pair<TBlendingMode, bool> cases[] = {{bmOpaque, false},      {bmTransparency, true},
                                                    {bmAdditive, true},     {bmAlphaTest50, false},
                                                    {bmAlphaTest100, false}, {bmModulate, true}};
    for (const auto& [mode, blended] : cases) {
        object->Material().SetBlendingMode(mode);
        EXPECT_EQ(object->NeedsBlending(), blended) << mode;
    }

    TGxLibMaterial& wand = library.Materials().Add();
    wand.Material().SetBlendingMode(bmTransparency);
    object->Material().SetBlendingMode(bmOpaque);
    object->Material().SetMaterialLibrary(&library);
    compiled(object);
    object->Material().SetLibMaterialName(wand.Name());
    EXPECT_TRUE(object->NeedsBlending());
    EXPECT_TRUE(object->Changes().Contains(TGxObjectChange::Structure)); // re-linking
}

TEST_F(SceneObjectMaterialTest, LightColoursHaveTheirDefaultsAndNotify)
{
    auto* light = scene.ObjectRoot()->SpawnChild<Probe<TGxLightSource>>();
    EXPECT_EQ(light->Ambient().Vector(), (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(light->Diffuse().Vector(), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(light->Specular().Vector(), (std::array<float, 4>{0, 0, 0, 1}));
    // A colour held by the object itself counts as a geometry change.
    compiled(light);
    buffer.changes = 0;
    light->Diffuse().SetGreen(0.5f);
    EXPECT_GE(buffer.changes, 1);
    EXPECT_TRUE(light->Changes().Contains(TGxObjectChange::Structure));
    buffer.changes = 0;
    light->SetShining(false);
    light->SetConstAttenuation(2);
    light->SetLightStyle(lsOmni);
    EXPECT_EQ(buffer.changes, 3);
}
