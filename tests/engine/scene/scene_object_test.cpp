#include "engine/scene/GxCustomSceneObject.h"
#include "base/GxException.h"
#include "engine/scene/GxScene.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

class RecordingBuffer : public IGxSceneBuffer {
public:
    void SceneChanged(TGxScene*) override { ++changes; }
    int changes = 0;
};

// A scene with a buffer that counts the change notifications reaching it.
class SceneObjectTest : public ::testing::Test {
protected:
    SceneObjectTest() { scene.AttachBuffer(&buffer); }
    TGxSceneObject* spawn() { return scene.ObjectRoot()->SpawnChild<TGxSceneObject>(); }
    // Rebuilds the matrices so that the next change is heard again.
    static void settle(TGxBaseSceneObject* o) { (void)o->InvWorldMatrix(); }

    RecordingBuffer buffer; // outlives the scene, which tells it when it goes
    TGxScene scene;
};

TGxMatrix rowsMatrix(const TGxVector& r0, const TGxVector& r1, const TGxVector& r2, const TGxVector& r3)
{
    TGxMatrix m;
    m.SetRow(0, r0);
    m.SetRow(1, r1);
    m.SetRow(2, r2);
    m.SetRow(3, r3);
    return m;
}

} // namespace

TEST_F(SceneObjectTest, ANewObjectHasTheDefaultPlacement)
{
    TGxSceneObject o(nullptr);
    EXPECT_EQ(o.Position().Vector4(), VectorMake(0, 0, 0, 1));
    EXPECT_EQ(o.Direction().Vector4(), VectorMake(0, 0, 1, 0));
    EXPECT_EQ(o.Up().Vector4(), VectorMake(0, 1, 0, 0));
    EXPECT_EQ(o.Scale().Vector4(), VectorMake(1, 1, 1, 0));
    EXPECT_EQ(o.Position().Style(), PointStyle);
    EXPECT_EQ(o.Direction().Style(), VectorStyle);
    const TGxObjectChanges all{TGxObjectChange::Transformation, TGxObjectChange::WorldMatrix,
                               TGxObjectChange::InvWorldMatrix, TGxObjectChange::Structure};
    EXPECT_EQ(o.Changes(), all);
    EXPECT_EQ(o.ObjectMatrix(), IdentityMatrix());
    EXPECT_TRUE(o.Visible());
    EXPECT_EQ(o.Count(), 0);
    EXPECT_EQ(o.Children(0), nullptr);
    EXPECT_EQ(o.Parent(), nullptr);
    EXPECT_EQ(o.Scene(), nullptr);
    EXPECT_EQ(o.ObjectsSorting(), osInherited);
    EXPECT_EQ(o.VisibilityCulling(), vcInherited);
    EXPECT_TRUE(o.RenderFlags().Empty());
    EXPECT_EQ(o.PitchAngle(), 0.0f);
}

TEST_F(SceneObjectTest, DirectionAndUpAreKeptOrthonormal)
{
    struct Case {
        const char* name;
        TGxVector startDirection, startUp;
        void (*change)(TGxBaseSceneObject&);
        TGxVector direction, up;
    };
    const Case cases[] = {
        {"Direction.Z := 0 makes it zero: back to Z", VectorMake(0, 0, 1), VectorMake(0, 1, 0),
         [](TGxBaseSceneObject& o) { o.Direction().SetZ(0); }, VectorMake(0, 0, 1), VectorMake(0, 1, 0)},
        {"Up zeroed: back to Y", VectorMake(0, 0, 1), VectorMake(0, 1, 0),
         [](TGxBaseSceneObject& o) { o.Up().SetY(0); }, VectorMake(0, 0, 1), VectorMake(0, 1, 0)},
        {"Direction along Up: right falls back to X x Up", VectorMake(0, 0, 1), VectorMake(0, 0, 1),
         [](TGxBaseSceneObject& o) { o.Direction().AssignVector(0, 0, 1); }, VectorMake(0, 0, 1), VectorMake(-1, 0, 0)},
        {"unnormalized Direction normalized, Up made perpendicular", VectorMake(0, 0, 1), VectorMake(0, 1, 0),
         [](TGxBaseSceneObject& o) { o.Direction().AssignVector(0, 3, 3); },
         VectorMake(0, std::sqrt(0.5f), std::sqrt(0.5f)), VectorMake(0, std::sqrt(0.5f), -std::sqrt(0.5f))},
        {"Up changed: Direction re-derived", VectorMake(0, 0, 1), VectorMake(0, 1, 0),
         [](TGxBaseSceneObject& o) { o.Up().AssignVector(0, 1, 1); },
         VectorMake(0, -std::sqrt(0.5f), std::sqrt(0.5f)), VectorMake(0, std::sqrt(0.5f), std::sqrt(0.5f))},
    };
    for (const Case& c : cases) {
        TGxSceneObject o(nullptr);
        o.Direction().SetSilently(c.startDirection);
        o.Up().SetSilently(c.startUp);
        c.change(o);
        EXPECT_TRUE(VectorNear(o.Direction().Vector4(), c.direction)) << c.name;
        EXPECT_TRUE(VectorNear(o.Up().Vector4(), c.up)) << c.name;
    }
}

TEST_F(SceneObjectTest, HolderPropertyAssignment)
{
    TGxSceneObject o(nullptr);
    TGxSceneObject src(nullptr);
    TGxCoordinates zero(nullptr, VectorMake(0, 0, 0, 0), UnknownStyle);
    o.SetDirection(zero);
    o.SetUp(zero);
    EXPECT_EQ(o.Direction().Vector4(), VectorMake(0, 0, 1, 0)); // a zero vector is ignored
    EXPECT_EQ(o.Up().Vector4(), VectorMake(0, 1, 0, 0));

    TGxCoordinates v(nullptr, VectorMake(3, 4, 5, 9), UnknownStyle);
    o.SetPosition(v);
    EXPECT_EQ(o.Position().Vector4(), PointMake(3, 4, 5));
    o.SetScale(v);
    EXPECT_EQ(o.Scale().Vector4(), VectorMake(3, 4, 5, 9)); // copied as is
    EXPECT_TRUE(o.Changes().Contains(TGxObjectChange::Transformation));
}

TEST_F(SceneObjectTest, ObjectMatrixRowsAreLeftUpDirectionScaledAndPosition)
{
    TGxSceneObject* o = spawn();
    o->Direction().AssignVector(1, 0, 0);
    o->Up().AssignVector(0, 0, 1);
    o->Scale().AssignVector(2, 3, 4);
    o->Position().AssignPoint(7, 8, 9);
    // Left = Up x Direction = (0, 1, 0).
    EXPECT_TRUE(MatrixNear(o->ObjectMatrix(), rowsMatrix(VectorMake(0, 2, 0), VectorMake(0, 0, 3),
                                                         VectorMake(4, 0, 0), PointMake(7, 8, 9))));
    EXPECT_FALSE(o->Changes().Contains(TGxObjectChange::Transformation));
    EXPECT_TRUE(VectorNear(o->RightAxis(), VectorMake(0, -1, 0)));
    EXPECT_TRUE(VectorNear(o->LeftAxis(), VectorMake(0, 1, 0)));
}

TEST_F(SceneObjectTest, WorldMatricesComposeThroughParentsButNotTheRoot)
{
    // The root's own transform never applies.
    scene.ObjectRoot()->Position().AssignPoint(100, 100, 100);
    TGxSceneObject* a = spawn();
    a->Position().AssignPoint(1, 2, 3);
    a->SetTurnAngle(30);
    EXPECT_EQ(a->WorldMatrix(), a->ObjectMatrix());

    auto* b = a->SpawnChild<TGxSceneObject>();
    b->Position().AssignPoint(0, 5, 0);
    b->SetPitchAngle(40);
    auto* c = b->SpawnChild<TGxSceneObject>();
    c->Position().AssignPoint(1, 1, 1);
    c->Scale().AssignVector(2, 0.5f, 3);
    EXPECT_TRUE(MatrixNear(c->WorldMatrix(),
                           MatrixMultiply(c->ObjectMatrix(), MatrixMultiply(b->ObjectMatrix(), a->ObjectMatrix()))));

    // Rigid path (Scale 1) and full inversion (Scale not 1) both invert.
    for (TGxBaseSceneObject* o : {static_cast<TGxBaseSceneObject*>(a), static_cast<TGxBaseSceneObject*>(b),
                                  static_cast<TGxBaseSceneObject*>(c)}) {
        EXPECT_TRUE(MatrixNear(MatrixMultiply(o->WorldMatrix(), o->InvWorldMatrix()), IdentityMatrix(), 1e-5f));
        const TGxVector p = PointMake(3, -2, 7);
        EXPECT_TRUE(VectorNear(o->ToLocal(o->ToWorld(p)), p, 1e-4f));
    }
    EXPECT_TRUE(VectorNear(b->WorldPosition(), b->ToWorld(PointMake(0, 0, 0)), 1e-5f));
    EXPECT_EQ(b->WorldPosition().W, 1.0f);
    EXPECT_NEAR(VectorLength(c->WorldUp()), 1.0f, 1e-6f);

    // Moving a parent is seen by every descendant.
    a->Position().SetX(11);
    EXPECT_TRUE(c->Changes().Contains(TGxObjectChange::WorldMatrix));
    EXPECT_TRUE(MatrixNear(c->WorldMatrix(),
                           MatrixMultiply(c->ObjectMatrix(), MatrixMultiply(b->ObjectMatrix(), a->ObjectMatrix()))));
}

TEST_F(SceneObjectTest, ABurstOfChangesSignalsOnce)
{
    TGxSceneObject* o = spawn();
    settle(o);
    buffer.changes = 0;
    o->Position().SetX(1);
    o->Position().SetY(2);
    o->Direction().AssignVector(1, 0, 0);
    o->Translate(1, 1, 1);
    EXPECT_EQ(buffer.changes, 1);
    settle(o);
    o->Position().SetZ(5);
    EXPECT_EQ(buffer.changes, 2);
    EXPECT_TRUE(VectorNear(o->WorldPosition(), PointMake(2, 3, 5)));
}

TEST_F(SceneObjectTest, UpdateBracketsHoldTheSignalUntilTheEnd)
{
    TGxSceneObject* o = spawn();
    buffer.changes = 0;
    o->BeginUpdate();
    o->SetVisible(false);
    o->GeometryDirty();
    EXPECT_EQ(buffer.changes, 0);
    o->EndUpdate();
    EXPECT_EQ(buffer.changes, 1);

    scene.BeginUpdate();
    o->SetVisible(true);
    EXPECT_EQ(buffer.changes, 1);
    scene.EndUpdate();
    EXPECT_EQ(buffer.changes, 2);

    for (auto end : {std::function<void()>([&] { o->EndUpdate(); }), std::function<void()>([&] { scene.EndUpdate(); })}) {
        try {
            end();
            ADD_FAILURE() << "no assertion failure";
        } catch (const EGxAssertion& e) {
            EXPECT_EQ(e.bareMessage(), "Unbalanced Begin/EndUpdate");
        }
    }
    EXPECT_EQ(o->UpdateCount(), 0);
    EXPECT_EQ(scene.UpdateCount(), 0);
}

TEST_F(SceneObjectTest, GeometryVisibilityAndPartChangesSignal)
{
    TGxSceneObject* o = spawn();
    buffer.changes = 0;
    o->GeometryDirty(); // Structure is still set from construction
    EXPECT_EQ(buffer.changes, 0);
    TGxRenderFlags flags = o->RenderFlags();
    flags.Include(TGxRenderFlag::DrawEveryFrame);
    o->SetRenderFlags(flags);
    o->GeometryDirty();
    EXPECT_EQ(buffer.changes, 1);

    o->SetVisible(true); // unchanged
    EXPECT_EQ(buffer.changes, 1);
    o->SetVisible(false);
    EXPECT_EQ(buffer.changes, 2);

    // An owned part (a material, a colour) reports through the listener interface.
    IGxChangeListener* asOwner = o;
    asOwner->NotifyChange(nullptr);
    EXPECT_EQ(buffer.changes, 3);

    // Nothing reaches the buffers while the scene loads.
    scene.BeginLoading();
    o->SetVisible(true);
    scene.EndLoading();
    EXPECT_EQ(buffer.changes, 3);
    scene.DetachBuffer(&buffer);
    o->SetVisible(false);
    EXPECT_EQ(buffer.changes, 3);
}

TEST_F(SceneObjectTest, PitchNinetyTurnsTheFrameAndAnglesAreStoredNormalized)
{
    TGxSceneObject o(nullptr);
    o.SetPitchAngle(90);
    EXPECT_TRUE(VectorNear(o.Direction().Vector4(), VectorMake(0, 1, 0)));
    EXPECT_TRUE(VectorNear(o.Up().Vector4(), VectorMake(0, 0, -1)));
    EXPECT_EQ(o.PitchAngle(), 90.0f);

    o.SetPitchAngle(540); // a further 450 degrees
    EXPECT_EQ(o.PitchAngle(), 180.0f);
    EXPECT_TRUE(VectorNear(o.Direction().Vector4(), VectorMake(0, 0, -1)));
    EXPECT_TRUE(VectorNear(o.Up().Vector4(), VectorMake(0, -1, 0)));

    TGxSceneObject t(nullptr);
    t.SetTurnAngle(90); // about Up
    EXPECT_TRUE(VectorNear(t.Direction().Vector4(), VectorMake(1, 0, 0)));
    EXPECT_TRUE(VectorNear(t.Up().Vector4(), VectorMake(0, 1, 0)));
    TGxSceneObject r(nullptr);
    r.SetRollAngle(-90); // about Direction
    EXPECT_TRUE(VectorNear(r.Up().Vector4(), VectorMake(1, 0, 0)));
    EXPECT_TRUE(VectorNear(r.Direction().Vector4(), VectorMake(0, 0, 1)));
}

TEST_F(SceneObjectTest, WhileLoadingAnglesAreOnlyStored)
{
    TGxSceneObject o(nullptr);
    o.BeginLoading();
    o.Direction().AssignVector(0, 1, -4.37113883e-8f);
    o.Up().AssignVector(0, -4.37113883e-8f, -1);
    o.SetPitchAngle(90);
    o.Position().SetSilently(VectorMake(1, 2, 3, 0));
    o.EndLoading();
    EXPECT_EQ(o.PitchAngle(), 90.0f);
    EXPECT_TRUE(VectorNear(o.Direction().Vector4(), VectorMake(0, 1, 0)));
    EXPECT_TRUE(VectorNear(o.Up().Vector4(), VectorMake(0, 0, -1)));
    EXPECT_EQ(o.Position().W(), 1.0f);
}

TEST_F(SceneObjectTest, OrbitAroundKeepsTheDistanceAndStopsShortOfThePoles)
{
    TGxSceneObject* centre = spawn();
    centre->Position().AssignPoint(10, 20, 0);
    TGxSceneObject* o = spawn();
    o->Up().AssignVector(0, 0, 1);
    o->Position().AssignPoint(10, 16, 3); // 5 from the centre
    const TGxVector startDirection = o->Direction().Vector4();

    o->OrbitAround(centre, 0, 90);
    EXPECT_NEAR(VectorDistance(o->WorldPosition(), centre->WorldPosition()), 5.0f, 1e-4f);
    EXPECT_NEAR(o->Position().Z(), 3.0f, 1e-4f); // a turn keeps the height
    EXPECT_EQ(o->Direction().Vector4(), startDirection);

    for (float pitchDelta : {1000.0f, -1000.0f}) {
        o->OrbitAround(centre, pitchDelta, 0);
        const TGxVector n = VectorNormalize(VectorSubtract(o->WorldPosition(), centre->WorldPosition()));
        const float angleFromUp = std::acos(std::clamp(n.Z, -1.0f, 1.0f));
        const float expected = pitchDelta > 0 ? 3.1165926f : 0.025f;
        EXPECT_NEAR(angleFromUp, expected, 1e-3f) << pitchDelta;
        EXPECT_NEAR(VectorDistance(o->WorldPosition(), centre->WorldPosition()), 5.0f, 1e-4f);
    }

    const TGxVector before = o->Position().Vector4();
    o->OrbitAround(nullptr, 10, 10);
    EXPECT_EQ(o->Position().Vector4(), before);
}

TEST_F(SceneObjectTest, OrbitAroundWorksInAMovedParentFrame)
{
    TGxSceneObject* parent = spawn();
    parent->Position().AssignPoint(5, 5, 5);
    parent->SetTurnAngle(45);
    auto* o = parent->SpawnChild<TGxSceneObject>();
    o->Position().AssignPoint(0, 0, 4); // level with the parent: 90 degrees from world Up (Y)
    o->OrbitAround(parent, 20, 30);
    const TGxVector offset = VectorSubtract(o->WorldPosition(), parent->WorldPosition());
    EXPECT_NEAR(VectorLength(offset), 4.0f, 1e-4f);
    EXPECT_NEAR(RadToDeg(std::acos(VectorNormalize(offset).Y)), 110.0f, 1e-3f);
    EXPECT_GT(VectorDistance(o->Position().Vector4(), PointMake(0, 0, 4)), 0.5f);
}

TEST_F(SceneObjectTest, BoundsFollowScaleAndPlacement)
{
    TGxSceneObject* o = spawn();
    o->Scale().AssignVector(2, 4, 6);
    o->Position().AssignPoint(10, 0, 0);
    EXPECT_EQ(o->HalfExtentsUnscaled(), VectorMake(0.5f, 0.5f, 0.5f, 0));
    EXPECT_EQ(o->HalfExtents(), VectorMake(1, 2, 3, 0));
    EXPECT_FLOAT_EQ(o->BoundRadius(), std::sqrt(14.0f));
    EXPECT_TRUE(o->ContainsPoint(PointMake(10.9f, 1.9f, 2.9f)));
    EXPECT_FALSE(o->ContainsPoint(PointMake(11.1f, 0, 0)));
    EXPECT_FALSE(o->ContainsPoint(PointMake(10, 2.1f, 0)));

    TGxVector hit, normal;
    const float r = o->BoundRadius();
    ASSERT_TRUE(o->RayHit(PointMake(0, 0, 0), VectorMake(3, 0, 0), &hit, &normal));
    EXPECT_TRUE(VectorNear(hit, PointMake(10 - r, 0, 0), 1e-4f));
    EXPECT_TRUE(VectorNear(normal, VectorMake(-1, 0, 0)));
    EXPECT_FALSE(o->RayHit(PointMake(0, 0, 0), VectorMake(-1, 0, 0)));  // pointing away
    EXPECT_FALSE(o->RayHit(PointMake(0, 10, 0), VectorMake(1, 0, 0)));  // passing by
    ASSERT_TRUE(o->RayHit(PointMake(10, 0, 0), VectorMake(0, 0, 1), &hit, &normal)); // from inside
    EXPECT_TRUE(VectorNear(hit, PointMake(10, 0, r), 1e-4f));
}

TEST_F(SceneObjectTest, ProgressWalksChildrenLastFirstThenSelf)
{
    std::vector<std::string> order;
    auto track = [&](TGxBaseSceneObject* o, const std::string& name) {
        o->SetName(name);
        o->OnProgress = [&order](TGxComponent* sender, double dt, double t) {
            order.push_back(sender->Name() + " " + std::to_string(int(dt * 10)) + " " + std::to_string(int(t)));
        };
    };
    TGxSceneObject* a = spawn();
    TGxSceneObject* b = spawn();
    auto* a1 = a->SpawnChild<TGxSceneObject>();
    auto* cameraChild = scene.CameraRoot()->SpawnChild<TGxSceneObject>();
    track(a, "a");
    track(b, "b");
    track(a1, "a1");
    track(cameraChild, "cam");
    scene.Progress(0.5, 7.0);
    EXPECT_EQ(order, (std::vector<std::string>{"b 5 7", "a1 5 7", "a 5 7", "cam 5 7"}));
}

TEST(SceneBuffers, AFreedSceneTellsItsBuffersOnceAndNothingElse)
{
    class Buffer : public IGxSceneBuffer {
    public:
        void SceneChanged(TGxScene*) override { ++changes; }
        void SceneFreed(TGxScene* s) override { freedScenes.push_back(s); }
        int changes = 0;
        std::vector<TGxScene*> freedScenes;
    } buffer, detached;
    auto* scene = new TGxScene;
    scene->AttachBuffer(&buffer);
    scene->AttachBuffer(&buffer); // once only
    scene->AttachBuffer(&detached);
    scene->DetachBuffer(&detached);
    auto* a = scene->ObjectRoot()->SpawnChild<TGxSceneObject>();
    a->SpawnChild<TGxSceneObject>();
    a->SetVisible(false);
    EXPECT_EQ(buffer.changes, 1);
    delete scene;
    EXPECT_EQ(buffer.changes, 1); // freeing the tree is not a change to draw
    EXPECT_EQ(buffer.freedScenes, std::vector<TGxScene*>{scene});
    EXPECT_TRUE(detached.freedScenes.empty());
}
