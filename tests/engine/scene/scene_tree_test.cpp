#include "engine/scene/GxCameraInvariantObject.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "base/GxException.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxScene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records its own destruction by name, to check who frees what and once.
class Tracked : public TGxSceneObject {
public:
    Tracked(TGxComponent* owner, std::vector<std::string>* freed, std::string name)
        : TGxSceneObject(owner), m_freed(freed)
    {
        SetName(name);
    }
    ~Tracked() override { m_freed->push_back(Name()); }

private:
    std::vector<std::string>* m_freed;
};

std::vector<std::string> childNames(const TGxBaseSceneObject* o)
{
    std::vector<std::string> names;
    for (int i = 0; i < o->Count(); ++i)
        names.push_back(o->Children(i)->Name());
    return names;
}

using Names = std::vector<std::string>;

class SceneTreeTest : public ::testing::Test {
protected:
    Tracked* spawn(TGxBaseSceneObject* parent, const std::string& name)
    {
        return parent->SpawnChild<Tracked>(&freed, name);
    }
    TGxBaseSceneObject* root() { return scene->ObjectRoot(); }

    std::vector<std::string> freed;
    std::unique_ptr<TGxScene> scene = std::make_unique<TGxScene>();
};

} // namespace

TEST_F(SceneTreeTest, SceneHasTwoNamedRoots)
{
    EXPECT_EQ(scene->ObjectRoot()->Name(), "ObjectRoot");
    EXPECT_EQ(scene->CameraRoot()->Name(), "CameraRoot");
    EXPECT_EQ(scene->ObjectRoot()->Scene(), scene.get());
    EXPECT_TRUE(scene->ObjectRoot()->RenderFlags().Contains(TGxRenderFlag::DrawEveryFrame));
    EXPECT_EQ(scene->ObjectsSorting(), osRenderBlendedLast);
    EXPECT_EQ(scene->VisibilityCulling(), vcNone);
    scene->SetObjectsSorting(osInherited);
    scene->SetVisibilityCulling(vcInherited);
    EXPECT_EQ(scene->ObjectsSorting(), osRenderBlendedLast);
    EXPECT_EQ(scene->VisibilityCulling(), vcNone);

    TGxComponent plainOwner;
    EXPECT_THROW(TGxSceneRootObject{&plainOwner}, EGxAssertion);
    EXPECT_THROW(TGxSceneRootObject{nullptr}, EGxAssertion);
    EXPECT_EQ(plainOwner.ComponentCount(), 0);
    TGxSceneObject o(nullptr);
    EXPECT_THROW(o.AppendChild(scene->CameraRoot()), EGxAssertion);
    EXPECT_THROW(scene->ObjectRoot()->Reparent(nullptr), EGxAssertion);
    EXPECT_EQ(scene->ObjectRoot()->Scene(), scene.get());
}

TEST_F(SceneTreeTest, SpawnChildBelongsToTheRootAndIsOwnedByTheScene)
{
    Tracked* a = spawn(root(), "a");
    EXPECT_EQ(a->Parent(), root());
    EXPECT_EQ(a->Owner(), scene.get());
    EXPECT_EQ(a->Scene(), scene.get());
    Tracked* a1 = spawn(a, "a1");
    EXPECT_EQ(a1->Owner(), scene.get()); // the parent's owner, not the parent
    EXPECT_EQ(a1->Scene(), scene.get());
    spawn(root(), "b");
    root()->SpawnChildFirst<Tracked>(&freed, "first");
    EXPECT_EQ(childNames(root()), (Names{"first", "a", "b"}));
    EXPECT_EQ(root()->ChildIndex(a), 1);
    EXPECT_EQ(root()->ChildIndex(a1), -1);
    EXPECT_THROW(root()->Children(3), EGxAssertion);
}

TEST_F(SceneTreeTest, AppendInsertAndReparentKeepOneParent)
{
    Tracked* a = spawn(root(), "a");
    Tracked* b = spawn(root(), "b");
    Tracked* c = spawn(root(), "c");

    b->Reparent(root()); // to the current parent: moves to the end
    EXPECT_EQ(childNames(root()), (Names{"a", "c", "b"}));

    a->AppendChild(c); // appending elsewhere takes it off the old parent
    EXPECT_EQ(childNames(root()), (Names{"a", "b"}));
    EXPECT_EQ(c->Parent(), a);

    root()->InsertChild(0, c);
    EXPECT_EQ(childNames(root()), (Names{"c", "a", "b"}));
    EXPECT_EQ(a->Count(), 0);
    root()->InsertChild(2, c); // within the same parent: index counted without it
    EXPECT_EQ(childNames(root()), (Names{"a", "b", "c"}));

    EXPECT_THROW(root()->InsertChild(3, c), EGxAssertion);
    EXPECT_THROW(root()->InsertChild(-1, c), EGxAssertion);
    EXPECT_EQ(childNames(root()), (Names{"a", "b", "c"})); // a failed insert changes nothing

    Tracked* a1 = spawn(a, "a1");
    EXPECT_THROW(a1->AppendChild(a), EGxAssertion); // no cycles
    EXPECT_THROW(a->AppendChild(a), EGxAssertion);
    EXPECT_THROW(a->Reparent(a1), EGxAssertion);
    EXPECT_EQ(a->Parent(), root());

    c->SetParent(nullptr); // leaves the tree and the scene, still owned
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(c->Scene(), nullptr);
    EXPECT_EQ(c->Owner(), scene.get());
    EXPECT_EQ(childNames(root()), (Names{"a", "b"}));
}

TEST_F(SceneTreeTest, RemoveChildDetachesAndCanHandTheGrandchildrenOver)
{
    Tracked* a = spawn(root(), "a");
    Tracked* b = spawn(root(), "b");
    spawn(a, "a1");
    spawn(a, "a2");

    b->RemoveChild(a, false); // not its child: nothing happens
    EXPECT_EQ(a->Parent(), root());
    EXPECT_EQ(childNames(root()), (Names{"a", "b"}));

    root()->RemoveChild(a, true);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(a->Scene(), nullptr);
    EXPECT_EQ(childNames(root()), (Names{"b", "a1", "a2"}));
    EXPECT_EQ(root()->Children(2)->Scene(), scene.get());

    // A child whose component owner is its parent is given up when removed.
    auto* own = new Tracked(b, &freed, "own");
    b->AppendChild(own);
    b->RemoveChild(own, false);
    EXPECT_EQ(own->Owner(), nullptr);
    delete own;
    EXPECT_EQ(freed, Names{"own"});
}

TEST_F(SceneTreeTest, OwnershipFreesEverythingExactlyOnce)
{
    Tracked* a = spawn(root(), "a");
    spawn(a, "a1");
    spawn(a, "a2");
    Tracked* b = spawn(root(), "b");
    Tracked* detached = spawn(root(), "detached");
    detached->Reparent(nullptr);
    spawn(detached, "detached-child");
    auto* unowned = new Tracked(nullptr, &freed, "unowned");
    b->AppendChild(unowned); // a tree parent frees it too

    // (Each name is logged as its destruction starts, before its children go.)
    delete a; // children go with it, the last first, and it leaves its parent's list
    EXPECT_EQ(freed, (Names{"a", "a2", "a1"}));
    EXPECT_EQ(childNames(root()), (Names{"b"}));

    freed.clear();
    scene.reset(); // the detached but owned object goes with the scene
    std::sort(freed.begin(), freed.end());
    EXPECT_EQ(freed, (Names{"b", "detached", "detached-child", "unowned"}));
}

TEST_F(SceneTreeTest, FreeChildrenFreesTheLastFirst)
{
    Tracked* a = spawn(root(), "a");
    spawn(a, "a1");
    spawn(spawn(a, "a2"), "a2x");
    a->FreeChildren();
    EXPECT_EQ(freed, (Names{"a2", "a2x", "a1"}));
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(scene->ComponentCount(), 3); // two roots and a
}

TEST_F(SceneTreeTest, NineLightsTakeEightSlotsInRegistrationOrder)
{
    std::vector<TGxLightSource*> lights;
    for (int i = 0; i < 9; ++i)
        lights.push_back(root()->SpawnChild<TGxLightSource>());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(scene->LightSlots()[i], lights[i]);
        EXPECT_EQ(lights[i]->LightSlot(), i);
        EXPECT_EQ(lights[i]->LightID(), unsigned(GL_LIGHT0 + i));
    }
    EXPECT_EQ(lights[8]->LightSlot(), -1); // the ninth is silently left out
    EXPECT_EQ(lights[8]->LightID(), 0u);

    delete lights[2];
    EXPECT_EQ(scene->LightSlots()[2], nullptr);
    EXPECT_EQ(scene->LightSlots()[3], lights[3]); // slots keep their places
    // The ninth was never registered; re-adding it takes the free slot.
    lights[8]->Reparent(root());
    EXPECT_EQ(lights[8]->LightSlot(), 2);

    // A light deep in a subtree follows the subtree in and out of the scene.
    auto* holder = root()->SpawnChild<TGxSceneObject>();
    lights[0]->Reparent(holder);
    EXPECT_EQ(lights[0]->LightSlot(), 0);
    holder->Reparent(nullptr);
    EXPECT_EQ(lights[0]->LightSlot(), -1);
    EXPECT_EQ(scene->LightSlots()[0], nullptr);
    scene->CameraRoot()->AppendChild(holder);
    EXPECT_EQ(lights[0]->LightSlot(), 0);

    root()->FreeChildren();
    EXPECT_EQ(scene->LightSlots()[0], lights[0]); // under the camera root, still there
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(scene->LightSlots()[i], nullptr) << i;
}

TEST_F(SceneTreeTest, LightPropertiesAndSpotCutOffRule)
{
    TGxLightSource light(nullptr);
    EXPECT_EQ(light.SpotCutOff(), 180.0f);
    EXPECT_EQ(light.LightStyle(), lsSpot);
    EXPECT_TRUE(light.Shining());
    EXPECT_EQ(light.ConstAttenuation(), 1.0f);
    EXPECT_EQ(light.SpotDirection().Vector4(), VectorMake(0, 0, -1, 0));
    const std::pair<float, float> cases[] = {{45, 45}, {120, 45}, {90, 90}, {-1, 90}, {180, 180}, {0, 0}, {180.5f, 0}};
    for (const auto& [set, expected] : cases) {
        light.SetSpotCutOff(set);
        EXPECT_EQ(light.SpotCutOff(), expected) << set;
    }
    light.SpotDirection().SetVector4(VectorMake(1, 0, 0, 1));
    EXPECT_EQ(light.SpotDirection().W(), 0.0f);
    EXPECT_TRUE(light.Changes().Contains(TGxObjectChange::Transformation));
}

TEST_F(SceneTreeTest, ClassNamesAreTheEnginesOwn)
{
    TGxSceneObject so(nullptr);
    TGxCameraInvariantObject ci(nullptr);
    TGxLightSource ls(nullptr);
    EXPECT_EQ(so.ClassName(), "TGxSceneObject");
    EXPECT_EQ(ci.ClassName(), "TGxCameraInvariantObject");
    EXPECT_EQ(ls.ClassName(), "TGxLightSource");
    EXPECT_EQ(scene->ObjectRoot()->ClassName(), "TGxSceneRootObject");
    EXPECT_EQ(scene->ClassName(), "TGxScene");
    Tracked t(nullptr, &freed, "t");
    EXPECT_EQ(t.ClassName(), "TGxSceneObject"); // a subclass without its own name shows the base's
}
