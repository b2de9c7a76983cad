#include "RenderTestObjects.h"
#include "base/GxException.h"
#include "engine/scene/GxGlErrorLog.h"
#include "engine/scene/GxLightSource.h"
#include "support/OffscreenScene.h"
#include "support/VectorAsserts.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class SceneBufferTest : public ::testing::Test {
protected:
    TestQuad* quad(float z, float size = 1.0f)
    {
        auto* q = view.root()->SpawnChild<TestQuad>(nullptr, "q", size);
        q->Position().AssignPoint(0, 0, z);
        return q;
    }
    // Reads OpenGL state in the buffer's context.
    template <class F>
    auto inContext(F f)
    {
        TGxContextActivation active(view.context());
        return f();
    }

    OffscreenScene view{64, 64};
};

} // namespace

TEST_F(SceneBufferTest, FrameClearsToWhiteAndLeavesAlphaOpaque)
{
    TestQuad* q = quad(0, 0.5f);
    q->SetColour(1, 0, 0, 0.5f);
    q->Material().SetBlendingMode(bmTransparency);
    view.render();
    EXPECT_EQ(view.pixel(1, 1), QColor(255, 255, 255, 255));
    // Blending wrote alpha below 1 there; the frame's end made it opaque.
    const QColor tinted = view.pixel(32, 32);
    EXPECT_EQ(tinted.alpha(), 255);
    EXPECT_NEAR(tinted.green(), 128, 2);
}

TEST_F(SceneBufferTest, DefaultBackgroundIsTheButtonFaceColour)
{
    TGxSceneBuffer fresh;
    EXPECT_EQ(fresh.BackgroundColor(), clBtnFace);
    view.buffer.SetBackgroundColor(clBtnFace);
    view.render();
    TGxColor face(nullptr);
    face.SetWinColor(clBtnFace);
    const QColor p = view.pixel(1, 1);
    EXPECT_NEAR(p.redF(), face.Red(), 0.01);
    EXPECT_NEAR(p.greenF(), face.Green(), 0.01);
    EXPECT_NEAR(p.blueF(), face.Blue(), 0.01);
}

TEST_F(SceneBufferTest, OnlyTheFirstEightSlotsAndTheDriversLightsAreLoaded)
{
    std::vector<TGxLightSource*> lights;
    for (int i = 0; i < 9; ++i)
        lights.push_back(view.camera->SpawnChild<TGxLightSource>());
    lights[2]->SetShining(false);
    EXPECT_EQ(lights[8]->LightSlot(), -1); // no slot left
    view.render();
    inContext([&] {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(glIsEnabled(GLenum(GL_LIGHT0 + i)), i == 2 ? GL_FALSE : GL_TRUE) << i;
        // A driver with four lights: the slots above are never enabled.
        for (int i = 0; i < 8; ++i)
            glDisable(GLenum(GL_LIGHT0 + i));
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        view.scene.LoadLights(4);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(glIsEnabled(GLenum(GL_LIGHT0 + i)), i < 4 && i != 2 ? GL_TRUE : GL_FALSE) << i;
        return 0;
    });
}

TEST_F(SceneBufferTest, LightsArePlacedThroughTheirParentAndCarryTheirSettings)
{
    auto* light = view.camera->SpawnChild<TGxLightSource>();
    light->Position().AssignPoint(0, 0, 0); // at the camera
    light->Diffuse().SetColorVector(0.5f, 0.25f, 1, 1);
    light->SetLinearAttenuation(0.125f);
    auto* sun = view.root()->SpawnChild<TGxLightSource>();
    sun->SetLightStyle(lsParallel);
    sun->SpotDirection().AssignVector(0, 0, 1);
    view.render();
    inContext([&] {
        // In eye coordinates a light at the camera sits at the origin.
        TGxVector p;
        glGetLightfv(GL_LIGHT0, GL_POSITION, p.data());
        EXPECT_TRUE(VectorNear(p, VectorMake(0, 0, 0, 1), 1e-4f));
        TGxVector diffuse;
        glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse.data());
        EXPECT_TRUE(VectorNear(diffuse, VectorMake(0.5f, 0.25f, 1, 1)));
        GLfloat value = 0;
        glGetLightfv(GL_LIGHT0, GL_LINEAR_ATTENUATION, &value);
        EXPECT_EQ(value, 0.125f);
        glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &value);
        EXPECT_EQ(value, 180.0f);
        // A direction towards the camera (+Z in the world) is +Z in its eye space.
        glGetLightfv(GL_LIGHT1, GL_POSITION, p.data());
        EXPECT_TRUE(VectorNear(p, VectorMake(0, 0, 1, 0), 1e-4f));
        return 0;
    });
}

TEST_F(SceneBufferTest, OpenGLErrorRaisesItsGluTextAndUndoesTheFrame)
{
    class Faulty : public TGxSceneObject {
    public:
        using TGxSceneObject::TGxSceneObject;
        void EmitGeometry(TRenderContextInfo&) override { glEnable(GL_TRIANGLES); }
    };
    auto* faulty = view.root()->SpawnChild<Faulty>();
    faulty->SetRenderFlags({TGxRenderFlag::DrawEveryFrame});
    bool after = false;
    view.buffer.AfterRender = [&](TGxSceneBuffer*) { after = true; };
    const long logged = TGxGlErrorLog::Count();
    try {
        view.render();
        FAIL() << "no error";
    } catch (const EOpenGLError& e) {
        EXPECT_STREQ(e.what(), "invalid enumerant");
    }
    EXPECT_EQ(TGxGlErrorLog::Count(), logged + 1);
    EXPECT_FALSE(after);
    EXPECT_FALSE(view.buffer.Rendering());
    EXPECT_FALSE(view.context().Active());
    delete faulty;
    view.render();
    EXPECT_TRUE(after);
}

TEST_F(SceneBufferTest, ErrorsAFrameDiscardsAreStillLogged)
{
    const long logged = TGxGlErrorLog::Count();
    // Left in the context by something else that drew there (a painter).
    inContext([] { glEnable(GL_TRIANGLES); });
    view.render();
    EXPECT_EQ(TGxGlErrorLog::Count(), logged + 1);
}

TEST_F(SceneBufferTest, CameraMustBelongToASceneAndIsForgottenWhenFreed)
{
    TGxCamera loose(nullptr);
    view.buffer.SetCamera(&loose);
    EXPECT_EQ(view.buffer.Camera(), nullptr);
    // Without a camera a frame still clears and calls AfterRender.
    quad(0)->SetColour(1, 0, 0);
    int afterRenders = 0;
    view.buffer.AfterRender = [&](TGxSceneBuffer*) { ++afterRenders; };
    view.render();
    EXPECT_EQ(afterRenders, 1);
    EXPECT_EQ(view.pixel(32, 32), QColor(255, 255, 255));

    auto* camera = view.scene.CameraRoot()->SpawnChild<TGxCamera>();
    camera->Position().AssignPoint(0, 0, 10);
    view.buffer.SetCamera(camera);
    EXPECT_EQ(view.buffer.Camera(), camera);
    view.render();
    EXPECT_EQ(view.pixel(32, 32), QColor(255, 0, 0));
    delete camera;
    EXPECT_EQ(view.buffer.Camera(), nullptr);
    view.render();
    EXPECT_EQ(afterRenders, 3);
}

TEST_F(SceneBufferTest, SceneChangesAskForAFrameExceptDuringOne)
{
    int changes = 0;
    view.buffer.OnChange = [&] { ++changes; };
    TestQuad* q = quad(0);
    view.render(); // registers with the scene
    changes = 0;
    q->Position().AssignPoint(0.1f, 0, 0);
    EXPECT_EQ(changes, 1);
    view.buffer.AmbientColor().SetRed(0.5f);
    EXPECT_EQ(changes, 2);
    // Changes made while the frame is drawn do not ask for another.
    view.buffer.BeforeRender = [&](TGxSceneBuffer*) { q->Position().AssignPoint(0.2f, 0, 0); };
    view.render();
    EXPECT_EQ(changes, 2);
    // Leaving the scene (a new camera of no scene) stops the notifications.
    view.buffer.SetCamera(nullptr);
    changes = 0;
    q->Position().AssignPoint(0.3f, 0, 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(SceneBufferTest, ViewportNeverBelowOnePixel)
{
    view.buffer.Resize(0, 0);
    EXPECT_EQ(view.buffer.Width(), 1);
    EXPECT_EQ(view.buffer.Height(), 1);
    view.buffer.Resize(64, 32);
    EXPECT_EQ(view.buffer.Width(), 64);
    EXPECT_EQ(view.buffer.Height(), 32);
}

TEST_F(SceneBufferTest, WishesFollowTheProperties)
{
    TGxSceneBuffer b;
    QSurfaceFormat f = b.SurfaceFormat();
    EXPECT_EQ(f.depthBufferSize(), 24);
    EXPECT_EQ(f.stencilBufferSize(), 0);
    EXPECT_EQ(f.alphaBufferSize(), 0);
    EXPECT_EQ(f.samples(), 0);
    EXPECT_EQ(f.redBufferSize(), 8);
    EXPECT_EQ(f.swapBehavior(), QSurfaceFormat::DoubleBuffer);
    int structural = 0;
    b.OnStructuralChange = [&] { ++structural; };
    b.SetContextOptions({TGxContextOption::roStencilBuffer, TGxContextOption::roDestinationAlpha});
    b.SetDepthPrecision(dp16bits);
    b.SetAntiAliasing(aa4x);
    EXPECT_EQ(structural, 3);
    f = b.SurfaceFormat();
    EXPECT_EQ(f.depthBufferSize(), 16);
    EXPECT_EQ(f.stencilBufferSize(), 8);
    EXPECT_EQ(f.alphaBufferSize(), 8);
    EXPECT_EQ(f.samples(), 4);
    EXPECT_EQ(f.swapBehavior(), QSurfaceFormat::SingleBuffer);
}
