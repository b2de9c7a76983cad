#include "engine/scene/GxCamera.h"
#include "engine/scene/GxCameraInvariantObject.h"
#include "engine/scene/GxScene.h"
#include "support/OffscreenGl.h"
#include "support/VectorAsserts.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TGxMatrix currentMatrix(GLenum which)
{
    TGxMatrix m;
    glGetFloatv(which, m.data());
    return m;
}

// The projection a camera sets up from an identity projection matrix.
TGxMatrix projectionOf(TGxCamera& camera, const TGxRectangle& viewport, int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    camera.ApplyProjection(viewport, width, height, 96);
    return currentMatrix(GL_PROJECTION_MATRIX);
}

class CameraGlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.isValid()); }
    OffscreenGl gl{16, 16};
    TGxScene scene;
};

} // namespace

TEST_F(CameraGlTest, PerspectiveAndOrthogonalLoadTheFrustumOfTheMapView)
{
    auto* camera = scene.ObjectRoot()->SpawnChild<TGxCamera>();
    camera->SetFocalLength(50);
    camera->SetDepthOfView(500);
    camera->SetNearPlaneBias(0.2f);
    const TGxRectangle view{0, 0, 593, 440};

    const TGxMatrix p = projectionOf(*camera, view, 593, 440);
    const double n = 0.127471, f = n + 500, r = 0.1, t = 0.1 * 440 / 593;
    EXPECT_NEAR(camera->NearPlane(), n, 1e-5);
    EXPECT_NEAR(p.M[0][0], n / r, 1e-4);
    EXPECT_NEAR(p.M[1][1], n / t, 1e-4);
    EXPECT_NEAR(p.M[2][2], -(f + n) / (f - n), 1e-5);
    EXPECT_NEAR(p.M[2][3], -1.0, 1e-6);
    EXPECT_NEAR(p.M[3][2], -2 * f * n / (f - n), 1e-5);
    EXPECT_NEAR(camera->ViewPortRadius(), std::sqrt(r * r + t * t) / n, 1e-3);

    camera->SetCameraStyle(csOrthogonal);
    camera->SetNearPlaneBias(1);
    const TGxMatrix o = projectionOf(*camera, view, 593, 440);
    const double on = 0.637352, ofar = on + 500;
    EXPECT_NEAR(o.M[0][0], 1.0, 1e-5); // 2 / (right - left) with right = 1
    EXPECT_NEAR(o.M[1][1], 593.0 / 440, 1e-5);
    EXPECT_NEAR(o.M[3][2], -(ofar + on) / (ofar - on), 1e-5);
    EXPECT_NEAR(o.M[3][3], 1.0, 1e-6);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CameraGlTest, Ortho2DMapsOneUnitToOnePixelFromTheLowerLeft)
{
    TGxCamera camera(nullptr);
    camera.SetCameraStyle(csOrtho2D);
    const TGxMatrix p = projectionOf(camera, {0, 0, 200, 100}, 200, 100);
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(0, 0, 0), p), PointMake(-1, -1, 0)));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(200, 100, 0), p), PointMake(1, 1, 0)));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(1, 0, 0), p), PointMake(-1 + 2.0f / 200, -1, 0)));
    EXPECT_EQ(camera.NearPlane(), -1.0f);
    EXPECT_NEAR(camera.ViewPortRadius(), std::sqrt(200.0f * 200 + 100 * 100) / 2, 1e-3f);
}

TEST_F(CameraGlTest, InfiniteCustomAndEmptyViewports)
{
    TGxCamera camera(nullptr);
    const TGxRectangle view{0, 0, 300, 200};
    camera.SetCameraStyle(csInfinitePerspective);
    const TGxMatrix p = projectionOf(camera, view, 300, 200);
    EXPECT_TRUE(MatrixNear(p, TGxCamera::InfinitePerspectiveMatrix(camera.Frustum(view, 300, 200, 96)), 1e-6f));

    camera.SetCameraStyle(csCustom);
    int calls = 0;
    camera.OnCustomPerspective = [&](const TGxRectangle& v, int w, int h, int dpi, float& radius) {
        ++calls;
        EXPECT_EQ(v.Width, 300);
        EXPECT_EQ(w, 300);
        EXPECT_EQ(h, 200);
        EXPECT_EQ(dpi, 96);
        EXPECT_NEAR(radius, std::sqrt(300.0f * 300 + 200 * 200) / 2, 1e-3f);
        radius = 7;
    };
    EXPECT_EQ(projectionOf(camera, view, 300, 200), IdentityMatrix());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(camera.ViewPortRadius(), 7.0f);

    camera.SetCameraStyle(csPerspective);
    EXPECT_EQ(projectionOf(camera, view, 0, 200), IdentityMatrix());
    EXPECT_EQ(projectionOf(camera, view, 300, 0), IdentityMatrix());
    EXPECT_EQ(camera.ViewPortRadius(), 7.0f); // untouched
}

TEST_F(CameraGlTest, ApplyViewLooksAtTheTargetWithTheStoredUp)
{
    auto* target = scene.ObjectRoot()->SpawnChild<TGxCameraInvariantObject>();
    target->Position().AssignPoint(10, 20, 0);
    auto* camera = target->SpawnChild<TGxCamera>();
    camera->SetTargetObject(target);
    camera->Position().AssignPoint(0, -4, 3);
    camera->Direction().AssignVector(0, -1, 0);
    camera->Up().AssignVector(0, 0, 1);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera->ApplyView();
    const TGxMatrix mv = currentMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(10, 16, 3), mv), PointMake(0, 0, 0), 1e-5f));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(10, 20, 0), mv), PointMake(0, 0, -5), 1e-5f));
    // World up appears upward on screen.
    const TGxVector up = VectorTransform(VectorMake(0, 0, 1), mv);
    EXPECT_NEAR(up.X, 0.0f, 1e-6f);
    EXPECT_GT(up.Y, 0.5f);
    EXPECT_TRUE(VectorNear(camera->LastViewDirection(), VectorMake(0, 0.8f, -0.6f)));
    EXPECT_FALSE(camera->Changes().Contains(TGxObjectChange::Structure));
}

TEST_F(CameraGlTest, ApplyViewWithoutTargetLooksAlongDirection)
{
    auto* camera = scene.CameraRoot()->SpawnChild<TGxCamera>();
    camera->Position().AssignPoint(0, 0, 25);
    camera->Direction().AssignVector(0, 0, -1);
    camera->Up().AssignVector(0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera->ApplyView();
    const TGxMatrix mv = currentMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(0, 0, 20), mv), PointMake(0, 0, -5), 1e-5f));
    EXPECT_TRUE(VectorNear(VectorTransform(PointMake(0, 1, 25), mv), PointMake(0, 1, 0), 1e-5f));
    EXPECT_TRUE(VectorNear(camera->LastViewDirection(), VectorMake(0, 0, -1)));

    int replaced = 0;
    camera->CustomApplyView = [&](TGxCamera*) { ++replaced; };
    glLoadIdentity();
    camera->ApplyView();
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), IdentityMatrix());
}
