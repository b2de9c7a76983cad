#include "engine/scene/GxCamera.h"
#include "engine/scene/GxCameraInvariantObject.h"
#include "engine/scene/GxLightSource.h"
#include "engine/scene/GxScene.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class RecordingBuffer : public IGxSceneBuffer {
public:
    void SceneChanged(TGxScene*) override { ++changes; }
    int changes = 0;
};

// The map's camera rig: the target cube under the root, the free camera
// (0, -4, 3) from it, looking at it.
class CameraTest : public ::testing::Test {
protected:
    CameraTest()
    {
        target = scene.ObjectRoot()->SpawnChild<TGxCameraInvariantObject>();
        target->Position().AssignPoint(30, -20, 0);
        camera = target->SpawnChild<TGxCamera>();
        camera->SetDepthOfView(500);
        camera->SetFocalLength(50);
        camera->SetNearPlaneBias(0.2f);
        camera->SetTargetObject(target);
        camera->Position().AssignPoint(0, -4, 3);
        camera->Direction().AssignVector(0, -1, 0);
        camera->Up().AssignVector(0, 0, 1);
    }
    TGxVector offset() const { return VectorSubtract(camera->WorldPosition(), target->WorldPosition()); }
    // Angle between the map's up axis (Z) and the target-to-camera vector.
    float angleFromUp() const { return std::acos(std::clamp(VectorNormalize(offset()).Z, -1.0f, 1.0f)); }

    RecordingBuffer buffer; // outlives the scene, which tells it when it goes
    TGxScene scene;
    TGxCameraInvariantObject* target;
    TGxCamera* camera;
};

} // namespace

TEST_F(CameraTest, DefaultsAndSetterRules)
{
    TGxCamera c(nullptr);
    EXPECT_EQ(c.Direction().Vector4(), VectorMake(0, 0, -1, 0));
    EXPECT_EQ(c.Up().Vector4(), VectorMake(0, 1, 0, 0));
    EXPECT_EQ(c.FocalLength(), 50.0f);
    EXPECT_EQ(c.DepthOfView(), 100.0f);
    EXPECT_EQ(c.NearPlaneBias(), 1.0f);
    EXPECT_EQ(c.SceneScale(), 1.0f);
    EXPECT_EQ(c.CameraStyle(), csPerspective);
    EXPECT_EQ(c.TargetObject(), nullptr);
    EXPECT_EQ(c.ClassName(), "TGxCamera");

    c.SetFocalLength(-3);
    EXPECT_EQ(c.FocalLength(), 1.0f);
    c.SetFocalLength(0);
    EXPECT_EQ(c.FocalLength(), 1.0f);
    c.SetNearPlaneBias(0);
    EXPECT_EQ(c.NearPlaneBias(), 1.0f);
    c.SetNearPlaneBias(0.5f);
    EXPECT_EQ(c.NearPlaneBias(), 0.5f);
    c.SetSceneScale(0);
    EXPECT_EQ(c.SceneScale(), 1.0f);
    c.SetSceneScale(-2); // only zero is replaced
    EXPECT_EQ(c.SceneScale(), -2.0f);
    EXPECT_FALSE(c.RayHit(PointMake(0, 0, 5), VectorMake(0, 0, -1)));
}

TEST_F(CameraTest, LensChangesNotify)
{
    scene.AttachBuffer(&buffer);
    (void)camera->ObjectMatrix(); // clears Transformation, so a lens change is heard
    camera->SetFocalLength(60);
    EXPECT_EQ(buffer.changes, 1);
    camera->SetFocalLength(60);
    camera->SetNearPlaneBias(0.2f);
    EXPECT_EQ(buffer.changes, 1); // unchanged values are silent
    camera->SetCameraStyle(csOrthogonal);
    camera->SetSceneScale(3);
    camera->SetNearPlaneBias(0.3f);
    EXPECT_EQ(buffer.changes, 4);
}

TEST_F(CameraTest, FrustumNumbers)
{
    struct Case {
        const char* name;
        TGxCameraStyle style;
        float focal, bias, sceneScale;
        TGxRectangle viewport;
        int width, height;
        TGxCameraFrustum expected;
    };
    const Case cases[] = {
        // The map view: 593 x 440 at 96 dpi.
        {"map perspective", csPerspective, 50, 0.2f, 1, {0, 0, 593, 440}, 593, 440,
         {-0.1, 0.1, -0.1 * 440 / 593, 0.1 * 440 / 593, 0.127471f, 500.127471f}},
        {"scene scale 2 halves the window", csPerspective, 50, 0.2f, 2, {0, 0, 593, 440}, 593, 440,
         {-0.05, 0.05, -0.05 * 440 / 593, 0.05 * 440 / 593, 0.127471f, 500.127471f}},
        {"left half of a window", csPerspective, 50, 1, 1, {0, 0, 200, 300}, 400, 300,
         {-0.5, 0.0, -0.375, 0.375, 0.944882f, 500.944882f}},
        // The map's other camera, orthogonal with FocalLength 50.
        {"orthogonal", csOrthogonal, 50, 1, 1, {0, 0, 593, 440}, 593, 440,
         {-1.0, 1.0, -440.0 / 593, 440.0 / 593, 0.637352f, 500.637352f}},
    };
    for (const Case& c : cases) {
        camera->SetCameraStyle(c.style);
        camera->SetFocalLength(c.focal);
        camera->SetNearPlaneBias(c.bias);
        camera->SetSceneScale(c.sceneScale);
        const TGxCameraFrustum f = camera->Frustum(c.viewport, c.width, c.height, 96);
        EXPECT_NEAR(f.Left, c.expected.Left, 1e-6) << c.name;
        EXPECT_NEAR(f.Right, c.expected.Right, 1e-6) << c.name;
        EXPECT_NEAR(f.Bottom, c.expected.Bottom, 1e-6) << c.name;
        EXPECT_NEAR(f.Top, c.expected.Top, 1e-6) << c.name;
        EXPECT_NEAR(f.NearPlane, c.expected.NearPlane, 1e-5) << c.name;
        EXPECT_NEAR(f.FarPlane, c.expected.FarPlane, 1e-3) << c.name;
    }
}

TEST_F(CameraTest, InfinitePerspectiveMatrixEntries)
{
    const TGxCameraFrustum f{-0.1, 0.3, -0.2, 0.2, 0.5f, 100.0f};
    const TGxMatrix m = TGxCamera::InfinitePerspectiveMatrix(f);
    TGxMatrix expected = IdentityMatrix();
    expected.M[0][0] = 2 * 0.5f / 0.4f;
    expected.M[1][1] = 2 * 0.5f / 0.4f;
    expected.M[2][0] = 0.2f / 0.4f;
    expected.M[2][1] = 0.0f;
    expected.M[2][2] = 0.0001f - 1;
    expected.M[2][3] = -1;
    expected.M[3][2] = (0.0001f - 2) * 0.5f;
    expected.M[3][3] = 0;
    EXPECT_TRUE(MatrixNear(m, expected, 1e-6f));
}

TEST_F(CameraTest, OrbitTargetTurnsCounterClockwiseSeenFromAbove)
{
    camera->OrbitTarget(0, 90);
    EXPECT_TRUE(VectorNear(camera->Position().Vector4(), PointMake(4, 0, 3), 1e-5f));
    EXPECT_TRUE(VectorNear(camera->Direction().Vector4(), VectorMake(0, -1, 0))); // untouched

    camera->OrbitTarget(10, 0); // positive pitch lowers the camera
    EXPECT_LT(camera->Position().Z(), 3.0f);
    EXPECT_NEAR(VectorLength(offset()), 5.0f, 1e-5f);
}

TEST_F(CameraTest, OrbitTargetFullTurnInHalfDegreesReturnsToStart)
{
    const TGxVector start = camera->Position().Vector4();
    for (int i = 0; i < 720; ++i) {
        camera->OrbitTarget(0, 0.5f);
        ASSERT_NEAR(VectorLength(offset()), 5.0f, 1e-3f) << i;
    }
    EXPECT_TRUE(VectorNear(camera->Position().Vector4(), start, 2e-3f));
}

TEST_F(CameraTest, OrbitTargetStopsShortOfEitherPole)
{
    camera->OrbitTarget(1000, 0);
    EXPECT_NEAR(angleFromUp(), 3.1165926f, 1e-4f);
    EXPECT_NEAR(VectorLength(offset()), 5.0f, 1e-4f);
    camera->OrbitTarget(1000, 0); // already at the limit
    EXPECT_NEAR(angleFromUp(), 3.1165926f, 1e-4f);
    camera->OrbitTarget(-1000, 0);
    EXPECT_NEAR(angleFromUp(), 0.025f, 1e-4f);
    EXPECT_NEAR(VectorLength(offset()), 5.0f, 1e-4f);
}

TEST_F(CameraTest, OrbitFromStraightAboveFallsBackToTheXAxis)
{
    camera->Position().AssignPoint(0, 0, 5);
    camera->OrbitTarget(10, 0);
    EXPECT_NEAR(VectorLength(offset()), 5.0f, 1e-4f);
    EXPECT_NEAR(angleFromUp(), DegToRad(10), 1e-4f);
    EXPECT_NEAR(camera->Position().X(), 0.0f, 1e-5f); // tilted about X
}

TEST_F(CameraTest, ScaleTargetDistanceMovesAlongTheLine)
{
    camera->ScaleTargetDistance(1.1f);
    EXPECT_NEAR(VectorLength(offset()), 5.5f, 1e-5f);
    EXPECT_TRUE(VectorNear(camera->Position().Vector4(), PointMake(0, -4.4f, 3.3f), 1e-5f));
    camera->ScaleTargetDistance(1 / 1.1f);
    EXPECT_TRUE(VectorNear(camera->Position().Vector4(), PointMake(0, -4, 3), 1e-5f));
    camera->ScaleTargetDistance(0);
    EXPECT_TRUE(VectorNear(camera->WorldPosition(), target->WorldPosition(), 1e-5f));
}

TEST_F(CameraTest, FieldOfView)
{
    EXPECT_NEAR(camera->GetFieldOfView(440), 154.39146f, 1e-4f);
    camera->SetFieldOfView(90, 440);
    EXPECT_NEAR(camera->FocalLength(), 220.0f, 1e-3f);
    EXPECT_NEAR(camera->GetFieldOfView(440), 90.0f, 1e-4f);
}

TEST_F(CameraTest, AFreedTargetIsForgotten)
{
    auto* other = scene.ObjectRoot()->SpawnChild<TGxCameraInvariantObject>();
    camera->SetTargetObject(other);
    camera->SetTargetObject(target);
    delete other; // no longer the target: nothing to forget
    EXPECT_EQ(camera->TargetObject(), target);

    // The camera is the target's child here: move it out before freeing the target.
    camera->Reparent(scene.CameraRoot());
    const TGxVector before = camera->Position().Vector4();
    delete target;
    EXPECT_EQ(camera->TargetObject(), nullptr);
    camera->OrbitTarget(10, 10);
    camera->ScaleTargetDistance(2);
    EXPECT_EQ(camera->Position().Vector4(), before);
    const TGxCameraLookAt view = camera->LookAt(); // along Direction now
    EXPECT_TRUE(VectorNear(VectorSubtract(view.Centre, view.Eye), VectorMake(0, -1, 0)));
}

TEST_F(CameraTest, LookAtWithoutTargetTurnsWithTheParent)
{
    camera->SetTargetObject(nullptr);
    target->SetTurnAngle(90); // about the cube's Up (Y): its Z axis becomes world X
    const TGxCameraLookAt view = camera->LookAt();
    const TGxVector d = VectorSubtract(view.Centre, view.Eye);
    EXPECT_TRUE(VectorNear(d, VectorTransform(VectorMake(0, -1, 0), target->WorldMatrix())));
    EXPECT_TRUE(VectorNear(view.Up, VectorTransform(VectorMake(0, 0, 1), target->WorldMatrix())));
    EXPECT_TRUE(VectorNear(view.Up, VectorMake(1, 0, 0)));
}

TEST_F(CameraTest, CamerasAreFreedFirstAndTheirChildrenWithTheRest)
{
    auto* light = camera->SpawnChild<TGxLightSource>();
    EXPECT_EQ(light->LightSlot(), 0);
    delete target; // frees the camera, its light and the cube
    EXPECT_EQ(scene.ObjectRoot()->Count(), 0);
    EXPECT_EQ(scene.LightSlots()[0], nullptr);
    EXPECT_EQ(scene.ComponentCount(), 2); // only the roots are left
}
