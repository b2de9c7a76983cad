#include "RenderTestObjects.h"
#include "engine/scene/GxCameraInvariantObject.h"
#include "base/GxException.h"
#include "engine/scene/GxListHandle.h"
#include "support/OffscreenScene.h"

#include <GL/gl.h>
#include <QCoreApplication>
#include <QOpenGLContext>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Names = std::vector<std::string>;

// Channels within one step of the expected colour.
::testing::AssertionResult ColourNear(const QColor& actual, const QColor& expected)
{
    const int tolerance = 2;
    if (std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance
        && std::abs(actual.alpha() - expected.alpha()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name(QColor::HexArgb).toStdString() << ", expected "
                                         << expected.name(QColor::HexArgb).toStdString();
}

class RenderTraversalTest : public ::testing::Test {
protected:
    TestQuad* quad(TGxBaseSceneObject* parent, const std::string& name, float z, bool everyFrame = true)
    {
        auto* q = parent->SpawnChild<TestQuad>(&log, name);
        q->Position().AssignPoint(0, 0, z);
        if (everyFrame)
            q->SetRenderFlags({TGxRenderFlag::DrawEveryFrame});
        return q;
    }
    static void makeBlended(TestQuad* q, float r, float g, float b)
    {
        q->SetColour(r, g, b, 0.5f);
        q->Material().SetBlendingMode(bmTransparency);
    }
    Names renderAndLog()
    {
        log.clear();
        view.render();
        return EmittedNames(log);
    }
    QColor centre() { return view.pixel(32, 32); }

    OffscreenScene view;
    EmitLog log;
};

} // namespace

TEST_F(RenderTraversalTest, BlendedLastDrawsOpaqueFirstThenBlendedFarthestFirst)
{
    // List order: near blended, opaque, far blended, opaque.
    makeBlended(quad(view.root(), "nearBlended", 2), 0, 1, 0);
    quad(view.root(), "opaque1", 0)->SetColour(1, 0, 0);
    makeBlended(quad(view.root(), "farBlended", 1), 0, 0, 1);
    quad(view.root(), "opaque2", -1)->SetColour(1, 0, 0);
    EXPECT_EQ(renderAndLog(), (Names{"opaque1", "opaque2", "farBlended", "nearBlended"}));
    // Red, then blue at half over it, then green at half over that.
    EXPECT_TRUE(ColourNear(centre(), QColor(64, 128, 64, 255)));
}

TEST_F(RenderTraversalTest, OpaqueDrawnBeforeBlendedInFrontOfIt)
{
    // Drawn first, the blended square would fill the depth buffer and hide
    // the red one behind it instead of tinting it.
    makeBlended(quad(view.root(), "blended", 1), 0, 1, 0);
    quad(view.root(), "opaque", 0)->SetColour(1, 0, 0);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(128, 128, 0, 255)));
}

TEST_F(RenderTraversalTest, SortingModesOrderChildren)
{
    struct Case {
        TGxObjectsSorting sorting;
        Names expected;
    };
    // Children listed b (z 1), a (z 3), c (z 2); all opaque.
    const Case cases[] = {
        {osNone, {"b", "a", "c"}},
        {osRenderFarthestFirst, {"b", "c", "a"}},
        {osRenderNearestFirst, {"a", "c", "b"}},
        {osRenderBlendedLast, {"b", "a", "c"}},
    };
    auto* parent = view.root()->SpawnChild<TGxSceneObject>();
    quad(parent, "b", 1);
    quad(parent, "a", 3);
    quad(parent, "c", 2);
    for (const Case& c : cases) {
        parent->SetObjectsSorting(c.sorting);
        EXPECT_EQ(renderAndLog(), c.expected) << "sorting " << c.sorting;
    }
}

TEST_F(RenderTraversalTest, ParentWithoutSortingKeepsListOrderWhileSiblingsAreSorted)
{
    auto* group = view.root()->SpawnChild<TGxSceneObject>();
    group->SetName("group");
    group->SetObjectsSorting(osNone);
    makeBlended(quad(group, "g1", 2), 0, 1, 0);
    quad(group, "g2", 0);
    makeBlended(quad(view.root(), "sibling", 3), 0, 0, 1);
    quad(view.root(), "opaque", 0);
    // The group is opaque itself: it comes before the blended sibling; inside
    // it the blended child keeps its place in the list.
    EXPECT_EQ(renderAndLog(), (Names{"g1", "g2", "opaque", "sibling"}));
}

TEST_F(RenderTraversalTest, InvisibleParentHidesVisibleChildren)
{
    auto* parent = view.root()->SpawnChild<TGxSceneObject>();
    quad(parent, "child", 0, false)->SetColour(1, 0, 0);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(255, 0, 0)));
    parent->SetVisible(false);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(255, 255, 255)));
}

TEST_F(RenderTraversalTest, GeometryChangeRecompilesOnlyThatList)
{
    TestQuad* a = quad(view.root(), "a", 0, false);
    quad(view.root(), "b", 1, false)->Position().AssignPoint(0.7f, 0.7f, 1);
    EXPECT_EQ(renderAndLog(), (Names{"a", "b"})); // compiled once each
    EXPECT_EQ(renderAndLog(), Names{});          // replayed
    a->GeometryDirty();
    EXPECT_EQ(renderAndLog(), Names{"a"});
    a->SetColour(0, 0, 1); // a material change is no geometry change
    EXPECT_EQ(renderAndLog(), Names{});
    EXPECT_TRUE(ColourNear(centre(), QColor(0, 0, 255)));
}

TEST_F(RenderTraversalTest, FailingGeometryEndsTheListAndIsCompiledAgain)
{
    class Failing : public TGxSceneObject {
    public:
        using TGxSceneObject::TGxSceneObject;
        void EmitGeometry(TRenderContextInfo&) override
        {
            ++attempts;
            glBegin(GL_TRIANGLES);
            glEnd();
            throw EGxError("broken mesh");
        }
        int attempts = 0;
    };
    auto* failing = view.root()->SpawnChild<Failing>();
    EXPECT_THROW(view.render(), EGxError);
    EXPECT_FALSE(view.buffer.Rendering());
    EXPECT_THROW(view.render(), EGxError);
    EXPECT_EQ(failing->attempts, 2);
    // The list was closed: the context is usable and the next frame draws.
    delete failing;
    quad(view.root(), "after", 0)->SetColour(0, 1, 0);
    EXPECT_NO_THROW(view.render());
    EXPECT_TRUE(ColourNear(centre(), QColor(0, 255, 0)));
}

TEST_F(RenderTraversalTest, FreeingAnObjectDeletesItsList)
{
    TestQuad* a = quad(view.root(), "a", 0, false);
    view.render();
    TGxContextActivation active(view.context());
    GLint lists = 0;
    for (GLuint name = 1; name < 64; ++name)
        lists += glIsList(name) ? 1 : 0;
    ASSERT_GE(lists, 1);
    // Freed while its context is current: deleted at once.
    delete a;
    GLint after = 0;
    for (GLuint name = 1; name < 64; ++name)
        after += glIsList(name) ? 1 : 0;
    EXPECT_EQ(after, lists - 1);
}

TEST_F(RenderTraversalTest, ListFreedWithoutItsContextIsDeletedWhenTheContextComesBack)
{
    TestQuad* a = quad(view.root(), "a", 0, false);
    view.render();
    delete a; // no context current
    EXPECT_EQ(TGxListHandle::PendingCount(), 1u);
    view.render();
    EXPECT_EQ(TGxListHandle::PendingCount(), 0u);
}

TEST_F(RenderTraversalTest, ListsOfAGroupNoContextOfWhichCanBeMadeCurrentAreKept)
{
    // A context OpenGL cannot make (OpenVG is no OpenGL) still has a group
    // of its own, and can never be made current.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenVG);
    auto unusable = std::make_unique<QOpenGLContext>();
    unusable->setFormat(format);
    ASSERT_FALSE(unusable->create());
    ASSERT_NE(unusable->shareGroup(), nullptr);

    TGxListHandle::ReleaseName(TGxListHandle::DisplayList, unusable->shareGroup(), 7);
    TestQuad* a = quad(view.root(), "a", 0, false);
    view.render();
    delete a; // no context current
    EXPECT_EQ(TGxListHandle::PendingCount(), 2u);
    // The deletion the event loop runs: the view's list goes, the other is
    // kept for when its group can be reached.
    QCoreApplication::processEvents();
    EXPECT_EQ(TGxListHandle::PendingCount(), 1u);
    view.render();
    EXPECT_EQ(TGxListHandle::PendingCount(), 1u);

    // Gone with its group.
    unusable.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TGxListHandle::PendingCount(), 0u);
}

TEST_F(RenderTraversalTest, PickingPassWritesNoColourAndAppliesNoMaterialButNamesEveryObject)
{
    TestQuad* blended = quad(view.root(), "blended", 1);
    makeBlended(blended, 0, 1, 0);
    quad(view.root(), "opaque", 0)->SetColour(1, 1, 1);
    view.render();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[1].colourWrites);
    EXPECT_TRUE(log[1].blending);

    log.clear();
    const auto picks = view.buffer.PickListInRect({31, 31, 33, 33}, 64);
    ASSERT_EQ(log.size(), 2u);
    for (const EmitRecord& r : log) {
        EXPECT_EQ(r.drawState, dsPicking);
        EXPECT_FALSE(r.colourWrites) << r.name;
        EXPECT_FALSE(r.blending) << r.name;
    }
    ASSERT_EQ(picks->Count(), 2);
    EXPECT_EQ(picks->Hit(0), blended);
    EXPECT_EQ(picks->Hit(1)->Name(), "opaque");
    // The picture is untouched by the pick.
    EXPECT_TRUE(ColourNear(centre(), QColor(128, 255, 128)));
}

TEST_F(RenderTraversalTest, CulledObjectsAreLeftOutByTheirBounds)
{
    TestQuad* inside = quad(view.root(), "inside", 0);
    TestQuad* outside = quad(view.root(), "outside", 0);
    outside->Position().AssignPoint(50, 0, 0);
    TestQuad* parentOutside = quad(view.root(), "parentOutside", 0);
    parentOutside->Position().AssignPoint(-50, 0, 0);
    quad(parentOutside, "childBack", 0)->Position().AssignPoint(50, 0, 0);

    struct Case {
        TGxVisibilityCulling culling;
        Names expected;
    };
    const Case cases[] = {
        {vcNone, {"inside", "outside", "parentOutside", "childBack"}},
        {vcObjectBased, {"inside", "childBack"}},
        // The parent's box joined with its child's reaches into the view.
        {vcHierarchical, {"inside", "parentOutside", "childBack"}},
    };
    // The scene's own culling modes, without the buffer's.
    view.buffer.SetViewCulling(false);
    for (const Case& c : cases) {
        view.scene.SetVisibilityCulling(c.culling);
        EXPECT_EQ(renderAndLog(), c.expected) << "culling " << c.culling;
    }
    outside->SetRenderFlags({TGxRenderFlag::DrawEveryFrame, TGxRenderFlag::NeverCull});
    view.scene.SetVisibilityCulling(vcObjectBased);
    EXPECT_EQ(renderAndLog(), (Names{"inside", "outside", "childBack"}));

    // The buffer leaves out every object whose own bounds lie outside the
    // view, whatever the scene's mode; its children are still looked at.
    view.buffer.SetViewCulling(true);
    view.scene.SetVisibilityCulling(vcNone);
    EXPECT_EQ(renderAndLog(), (Names{"inside", "outside", "childBack"})) << "NeverCull";
    outside->SetRenderFlags({TGxRenderFlag::DrawEveryFrame});
    EXPECT_EQ(renderAndLog(), (Names{"inside", "childBack"}));
    (void)inside;
}

TEST_F(RenderTraversalTest, NoDepthTestObjectDrawsOverNearerOnes)
{
    quad(view.root(), "near", 2)->SetColour(1, 0, 0);
    TestQuad* far = quad(view.root(), "far", 0);
    far->SetColour(0, 0, 1);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(255, 0, 0)));
    far->SetRenderFlags({TGxRenderFlag::DrawEveryFrame, TGxRenderFlag::NoDepthTest});
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(0, 0, 255)));
}

TEST_F(RenderTraversalTest, PositionInvariantObjectTravelsWithTheCamera)
{
    auto* invariant = view.root()->SpawnChild<TGxCameraInvariantObject>();
    invariant->SetCamInvarianceMode(cimPosition);
    // Seven units in front of the camera, wherever the camera is.
    quad(invariant, "hud", -7)->SetColour(1, 0, 0);
    view.camera->Position().AssignPoint(100, 0, 10);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(255, 0, 0)));
    invariant->SetCamInvarianceMode(cimNone);
    view.render();
    EXPECT_TRUE(ColourNear(centre(), QColor(255, 255, 255)));
}
