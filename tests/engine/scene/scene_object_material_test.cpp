#include "engine/materials/GxMaterialLibrary.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxScene.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

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

TEST_F(SceneObjectMaterialTest, SharedMaterialIsCopiedBeforeAnyChange)
{
    auto* other = scene.ObjectRoot()->SpawnChild<Probe<TGxSceneObject>>();
    object->Material().FrontProperties().Diffuse().SetColorVector(0.25f, 0.5f, 0.75f, 1);
    buffer.changes = 0;
    other->ShareMaterial(*object);
    EXPECT_EQ(buffer.changes, 1) << "sharing is a change of the sharer's material";
    EXPECT_EQ(&std::as_const(*other).Material(), &std::as_const(*object).Material());
    EXPECT_TRUE(object->SharesMaterial());

    // Each side's change is its own, and each is told of it.
    for (const auto& [changed, kept] : {std::pair{object, other}, std::pair{other, object}}) {
        other->ShareMaterial(*object);
        buffer.changes = 0;
        changed->Material().FrontProperties().Diffuse().SetRed(1);
        EXPECT_EQ(buffer.changes, 1);
        EXPECT_EQ(std::as_const(*changed).Material().FrontProperties().Diffuse().Red(), 1.0f);
        EXPECT_EQ(std::as_const(*kept).Material().FrontProperties().Diffuse().Vector(),
                  (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1}));
        EXPECT_FALSE(changed->SharesMaterial());
        changed->Material().FrontProperties().Diffuse().SetRed(0.25f);
    }
    // A copy made before a change keeps everything of a plain material.
    object->Material().SetBlendingMode(bmTransparency);
    object->Material().SetFaceCulling(fcNoCull);
    object->Material().BackProperties().Diffuse().SetGreen(0.125f);
    other->ShareMaterial(*object);
    other->Material().FrontProperties().Emission().SetBlue(1);
    EXPECT_TRUE(other->NeedsBlending());
    EXPECT_EQ(other->Material().FaceCulling(), fcNoCull);
    ASSERT_TRUE(other->Material().HasBackProperties());
    EXPECT_EQ(other->Material().BackProperties().Diffuse().Green(), 0.125f);
}

TEST_F(SceneObjectMaterialTest, OnlyPlainMaterialsAreShared)
{
    auto* other = scene.ObjectRoot()->SpawnChild<Probe<TGxSceneObject>>();
    const auto textured = [](TGxCustomSceneObject* o) { o->Material().Texture(); };
    const auto linked = [this](TGxCustomSceneObject* o) { o->Material().SetMaterialLibrary(&library); };
    const std::function<void(TGxCustomSceneObject*)> cases[] = {textured, linked};
    for (const auto& make : cases) {
        auto* source = scene.ObjectRoot()->SpawnChild<Probe<TGxSceneObject>>();
        make(source);
        other->ShareMaterial(*source);
        source->ShareMaterial(*other);
        EXPECT_NE(&std::as_const(*other).Material(), &std::as_const(*source).Material());
        EXPECT_FALSE(source->SharesMaterial());
    }
}
