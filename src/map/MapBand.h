#pragma once

#include "engine/scene/GxCustomSceneObject.h"

#include <array>
#include <vector>

// A polyline lying on the ground as a flat band of its own colour, a little
// above the roads: the route and the ruler. Each point carries a round cap,
// so corners stay closed and a single point shows as a dot. Not lit, and
// never hit by a pick: a click on it reaches what lies beneath.
class MapBand : public TGxImmaterialSceneObject {
public:
    struct Point {
        float x = 0;
        float y = 0;
        bool operator==(const Point&) const = default;
    };

    // Above the roads (0.035) and the flat areas below them.
    static constexpr float kHeight = 0.1f;

    explicit MapBand(TGxComponent* owner);
    std::string_view ClassName() const override { return "MapBand"; }

    // Map units; an empty list draws nothing.
    const std::vector<Point>& Points() const { return m_points; }
    void SetPoints(std::vector<Point> points);
    // Any points with an x and a y.
    template <class Points>
    void SetPointsOf(const Points& points)
    {
        std::vector<Point> copy;
        copy.reserve(points.size());
        for (const auto& p : points)
            copy.push_back({p.x, p.y});
        SetPoints(std::move(copy));
    }
    // Half the band's width and the radius of the caps, map units.
    float HalfWidth() const { return m_halfWidth; }
    void SetHalfWidth(float halfWidth);
    float CapRadius() const { return m_capRadius; }
    void SetCapRadius(float radius);
    // Red, green, blue in 0..1.
    const std::array<float, 3>& Colour() const { return m_colour; }
    void SetColour(const std::array<float, 3>& colour);

    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void EmitGeometry(TRenderContextInfo& rci) override;
    bool GeometryBoundingBox(TGxAABB& box) const override;

private:
    std::vector<Point> m_points;
    float m_halfWidth = 0.5f;
    float m_capRadius = 0.5f;
    std::array<float, 3> m_colour{0.1f, 0.35f, 0.9f};
};
