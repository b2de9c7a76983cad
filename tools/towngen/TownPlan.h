#pragma once

#include "Geometry.h"
#include "StreetNames.h"
#include "TownRandom.h"

#include <string>
#include <vector>

enum class GroundKind { Grass, Asphalt, Sand, Paving };
enum class AreaKind { River, Pond, Park, Cemetery, Pitch };

struct PlanStreet {
    Polyline line;           // starts at the end nearer the town centre
    float halfWidth = 0.55f; // of the carriageway
    StreetKind kind = StreetKind::Street;
    bool hasRoad = true;     // the square has houses but no road of its own
    std::string name;        // UTF-8
};

struct PlanArea {
    Polygon outline;
    AreaKind kind = AreaKind::Park;
};

// A textured ground rectangle; `axis` is its local X direction on the ground.
struct PlanPlane {
    Vec2 centre;
    Vec2 axis{1, 0};
    float width = 1;
    float height = 1;
    GroundKind kind = GroundKind::Grass;
};

// The layout of the town before any house stands: river, streets, square,
// parks, ponds and ground planes, and the obstacles houses must keep off.
class TownPlan {
public:
    // `radius` is the town's nominal radius in units, `spacing` scales the
    // street grid (1 for the demo town, smaller to pack very large towns).
    static TownPlan build(float radius, float spacing, TownRandom random);

    // 0 at the centre, 1 at the (irregular) edge of the town.
    float effectiveDistance(Vec2 p) const;
    bool isIndustrial(Vec2 p) const;
    // Whether a house at `streetPoint` on a street's centre line, standing on
    // the side `outward` points to, looks across that street at the square.
    bool facesSquare(Vec2 streetPoint, Vec2 outward) const;

    float radius() const { return m_radius; }
    const Polygon& square() const { return m_square; }
    int squareStreet() const { return m_squareStreet; }

    std::vector<PlanStreet> streets;
    std::vector<PlanArea> areas;
    std::vector<PlanPlane> planes;
    ObstacleGrid obstacles{470, 6};

private:
    float riverX(float y) const;
    float riverHalfWidth(float y) const;
    float riverSideDistance(Vec2 p) const; // horizontal, positive east of the centre line
    std::vector<Vec2> riverOffset(float side, float extra) const;
    void addStreet(std::vector<Vec2> points, StreetKind kind, float halfWidth);
    void addRoadObstacles();

    float m_radius = 60;
    float m_gx = 18, m_gy = 15;
    double m_phase[6] = {};
    float m_riverY0 = -466, m_riverStep = 2.5f;
    std::vector<float> m_riverXs, m_riverHws;
    std::vector<Vec2> m_eastBank; // centre line of the east embankment
    Polygon m_square;
    int m_squareStreet = -1;
};
