// The shared vertex buffers of the object root: how captured geometry is
// placed in their blocks.
#include "RenderTestObjects.h"
#include "engine/scene/GxGeometryBatch.h"
#include "support/OffscreenScene.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// A quad whose captured geometry is `vertices` vertices (the quad's two
// triangles over and over), drawn the same whichever way.
class TestSheet : public TestQuad {
public:
    TestSheet(TGxComponent* owner, std::uint32_t vertices)
        : TestQuad(owner, nullptr, "sheet", 2.0f), m_vertices(vertices)
    {
    }
    bool CaptureTriangles(std::vector<float>& out) const override
    {
        static constexpr std::array<std::array<float, 2>, 6> corners{
            {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}}};
        for (std::uint32_t i = 0; i < m_vertices; ++i) {
            const auto& c = corners[i % corners.size()];
            out.insert(out.end(), {c[0], c[1], 0.0f, 0.0f, 0.0f, 1.0f});
        }
        return true;
    }

private:
    std::uint32_t m_vertices;
};

} // namespace

TEST(GeometryBatch, GeometryPlacedAfterAnEmptyBlockWentToOpenGLStaysWithinItsBuffer)
{
    // Objects with nothing to draw make the first block, which goes to
    // OpenGL empty with a block's room; what comes later fills that room or,
    // when larger, gets a buffer of its own.
    struct Case {
        std::uint32_t vertices;
        std::size_t buffers;
    };
    const Case cases[] = {
        {6, 1},
        {TGxGeometryBatch::kBlockVertices, 1},
        {TGxGeometryBatch::kBlockVertices + 6, 2},
        {3 * TGxGeometryBatch::kBlockVertices, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.vertices << " vertices");
        OffscreenScene view;
        // Two: a lone child is drawn the ordinary way.
        for (int i = 0; i < 2; ++i)
            view.root()->SpawnChild<TestSheet>(0u)->SetRenderFlags({TGxRenderFlag::NeverCull});
        view.render();
        const TGxGeometryBatch::Statistics& stats = view.scene.ObjectBatch().Stats();
        ASSERT_EQ(stats.buffers, 1u);
        ASSERT_EQ(stats.vertices, 0u);

        view.root()->SpawnChild<TestSheet>(c.vertices)->SetColour(0, 1, 0);
        EXPECT_NO_THROW(view.render());
        EXPECT_EQ(stats.buffers, c.buffers);
        EXPECT_EQ(stats.vertices, c.vertices);
        EXPECT_EQ(view.pixel(32, 32), QColor(0, 255, 0));
        EXPECT_NO_THROW(view.render()); // drawn again from the buffers
        EXPECT_EQ(view.pixel(32, 32), QColor(0, 255, 0));
    }
}
