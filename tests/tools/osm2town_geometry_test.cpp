#include "FlatAreas.h"
#include "MapPolygons.h"
#include "MapProjection.h"
#include "OsmExtract.h"
#include "tools/OsmFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// The normal the map gives a polygon: from its first three nodes.
float normalZ(const Polygon& p) { return cross(p[1] - p[0], p[2] - p[0]); }

double area(const Polygon& p) { return signedArea(p); }
using Tags = OsmFixture::Tags;
} // namespace

TEST(Osm2TownGeometry, LocalMetresAtTheMapScale)
{
    const MapProjection projection(OsmFixture::kLat, OsmFixture::kLon);
    struct Case {
        double east, north; // metres from the centre
        float x, y;         // scene units
    } cases[] = {
        {0, 0, 0, 0},
        {0, 1000, 0, 81.1f},       // north is up
        {1000, 0, 81.1f, 0},       // east is right
        {-250, -3, -20.275f, -0.2433f}, // 3 m is one storey: 3 × 0.0811
        {5795, 5795, 469.9745f, 469.9745f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.east << " m east, " << c.north << " m north");
        const Vec2 v = projection.toMap(OsmFixture::latOf(c.north), OsmFixture::lonOf(c.east));
        EXPECT_NEAR(v.x, c.x, 2e-3f);
        EXPECT_NEAR(v.y, c.y, 2e-3f);
    }
    EXPECT_TRUE(MapProjection::insideSquare(Vec2{470, -470}));
    EXPECT_FALSE(MapProjection::insideSquare(Vec2{470.01f, 0}));
    EXPECT_FALSE(MapProjection::insideSquare(Polygon{{0, 0}, {1, 0}, {0, -471}}));
}

TEST(Osm2TownGeometry, LongitudesAreTakenTheShortWayRound)
{
    struct Case {
        double centre, lon;
        double east; // degrees east of the centre
    } cases[] = {
        {37.6, 37.7, 0.1},      {37.6, 37.5, -0.1},   {179.9, -179.9, 0.2}, {-179.9, 179.9, -0.2},
        {180, -179.99, 0.01},   {-180, 179.99, -0.01}, {0, 180, 180},       {0, -180, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lon << " seen from " << c.centre);
        const MapProjection projection(65, c.centre);
        EXPECT_NEAR(projection.longitudeFromCentre(c.lon), c.east, 1e-9);
        // A degree of longitude at 65 N is 46,993 m.
        const double x = c.east * 46993 * mapscale::kUnitsPerMetre;
        EXPECT_NEAR(projection.toMap(65, c.lon).x, x, 1e-4 * std::fabs(x) + 1e-3);
    }
    struct Extent {
        double west, east, middle;
    } extents[] = {
        {37.5, 37.7, 37.6}, {-0.1, 0.1, 0}, {-179.95, 179.85, 179.95}, {-179.9, 179.9, 180},
        {179.9, -179.9, 180}, {179.8, -179.9, 179.95}, {-170, 179, -175.5},
    };
    for (const Extent& e : extents) {
        SCOPED_TRACE(testing::Message() << e.west << " to " << e.east);
        EXPECT_NEAR(MapProjection::middleLongitude(e.west, e.east), e.middle, 1e-9);
    }
}

TEST(Osm2TownGeometry, OutlinesTurnLeftFromTheirFirstNode)
{
    struct Case {
        const char* what;
        Polygon ring;
        std::size_t nodes; // 0: no outline
    } cases[] = {
        {"clockwise square, closing node repeated", {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}, 4},
        {"repeated and collinear nodes", {{0, 0}, {0.5f, 0}, {1, 0}, {1, 0}, {1, 1}, {0, 1}}, 4},
        // An L whose given start is its one inner corner.
        {"L starting at its inner corner", {{1, 1}, {2, 1}, {2, 2}, {0, 2}, {0, 0}, {1, 0}}, 6},
        {"all on one line", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0},
        {"two nodes", {{0, 0}, {1, 0}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<Polygon> p = mapOutline(c.ring);
        if (c.nodes == 0) {
            EXPECT_FALSE(p);
            continue;
        }
        ASSERT_TRUE(p);
        EXPECT_EQ(p->size(), c.nodes);
        EXPECT_GT(area(*p), 0);
        EXPECT_GT(normalZ(*p), 0) << "the polygon would face down and stay unlit";
    }
}

TEST(Osm2TownGeometry, MemberWaysJoinIntoRings)
{
    const Tags park{{"type", "multipolygon"}, {"leisure", "park"}};
    auto fixture = [&](bool stray) {
        OsmFixture f;
        f.node(1, 0, 0).node(2, 100, 0).node(3, 100, 100).node(4, 0, 100).node(7, 300, 0).node(8, 300, 50);
        // Two halves, the second drawn backwards; and a piece that closes nothing.
        f.way(11, {1, 2, 3}).way(12, {1, 4, 3}).way(13, {7, 8});
        std::vector<OsmFixture::Member> members{{'w', 11, "outer"}, {'w', 12, "outer"}};
        if (stray)
            members.push_back({'w', 13, "outer"});
        f.relation(20, members, park);
        return readOsmExtract(f.xml());
    };
    const OsmExtract closed = fixture(false);
    ASSERT_EQ(closed.areas.size(), 1u);
    ASSERT_EQ(closed.areas[0].polygons.size(), 1u);
    const OsmRing& ring = closed.areas[0].polygons[0].outer;
    ASSERT_EQ(ring.size(), 5u);
    EXPECT_EQ(ring.front().lat, ring.back().lat);
    EXPECT_EQ(ring.front().lon, ring.back().lon);
    EXPECT_FALSE(closed.areas[0].broken);
    EXPECT_EQ(closed.brokenRelations, 0u);
    // A ring that does not close makes the relation broken, counted, with its nodes known.
    const OsmExtract open = fixture(true);
    ASSERT_EQ(open.areas.size(), 1u);
    EXPECT_TRUE(open.areas[0].broken);
    EXPECT_TRUE(open.areas[0].polygons.empty());
    EXPECT_EQ(open.areas[0].known.size(), 8u);
    EXPECT_EQ(open.brokenRelations, 1u);
}

TEST(Osm2TownGeometry, LinesBecomeChainsOfShortPieces)
{
    struct Case {
        const char* what;
        std::vector<Vec2> line;
        std::size_t pieces;
        std::size_t outside;
    } cases[] = {
        {"short", {{0, 0}, {10, 0}}, 1, 0},
        {"100 units straight", {{0, 0}, {50, 0}, {100, 0}}, 7, 0},
        {"gentle bends stay in one piece", {{0, 0}, {5, 1}, {10, 1}, {14, 0}}, 1, 0},
        {"a right angle: two pieces and a joint", {{0, 0}, {10, 0}, {10, 10}}, 3, 0},
        {"crossing the square's edge", {{440, 0}, {500, 0}}, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t outside = 0;
        const std::vector<Polygon> pieces = bandPieces(c.line, 0.5f, kRoadPiece, &outside);
        EXPECT_EQ(pieces.size(), c.pieces);
        EXPECT_EQ(outside, c.outside);
        for (const Polygon& p : pieces) {
            const Box b = boundsOf(p);
            EXPECT_LE(std::max(b.maxX - b.minX, b.maxY - b.minY), kRoadPiece + 1.01f);
            EXPECT_GT(normalZ(p), 0);
            EXPECT_TRUE(MapProjection::insideSquare(p));
        }
    }
    // The pieces of a straight road cover its band without gaps.
    double covered = 0;
    for (const Polygon& p : bandPieces({{0, 0}, {100, 0}}, 0.5f, kRoadPiece))
        covered += area(p);
    EXPECT_NEAR(covered, 101.0, 1e-3); // 100 long with half a width more at each end, 1 wide
}

TEST(Osm2TownGeometry, LargeAreasAreCutIntoTiles)
{
    // A concave area (a U) much larger than a tile.
    const Polygon u{{-100, -100}, {100, -100}, {100, 100}, {60, 100}, {60, -60}, {-60, -60}, {-60, 100}, {-100, 100}};
    const std::vector<Polygon> tiles = tileArea(u, kAreaTile);
    double total = 0;
    for (const Polygon& t : tiles) {
        total += area(t);
        const Box b = boundsOf(t);
        EXPECT_LE(b.maxX - b.minX, kAreaTile + 1e-3f);
        EXPECT_LE(b.maxY - b.minY, kAreaTile + 1e-3f);
        EXPECT_GT(normalZ(t), 0);
    }
    EXPECT_NEAR(total, area(u), 1e-2);
    EXPECT_GT(tiles.size(), 40u);
    // Only what lies inside the map square is kept.
    const std::vector<Polygon> edge = tileArea({{460, 0}, {500, 0}, {500, 10}, {460, 10}}, kAreaTile);
    double inside = 0;
    for (const Polygon& t : edge)
        inside += area(t);
    EXPECT_NEAR(inside, 100.0, 1e-3);
}

TEST(Osm2TownGeometry, TilesGoAroundHoles)
{
    const Polygon outer{{-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
    struct Case {
        const char* what;
        std::vector<Polygon> holes;
        std::vector<Vec2> inHoles; // points no tile may cover
    } cases[] = {
        {"a small hole inside one tile", {{{2, 2}, {6, 2}, {6, 6}, {2, 6}}}, {{4, 4}}},
        {"a hole across many tiles", {{{-40, -30}, {35, -30}, {35, 45}, {-40, 45}}}, {{0, 0}, {-39, 44}, {34, -29}}},
        {"a concave hole (an L)", {{{-50, -50}, {10, -50}, {10, -30}, {-30, -30}, {-30, 20}, {-50, 20}}},
         {{-40, 0}, {0, -40}}},
        {"two holes, one drawn clockwise",
         {{{-80, 60}, {-60, 60}, {-60, 80}, {-80, 80}}, {{50, 50}, {50, 90}, {90, 90}, {90, 50}}},
         {{-70, 70}, {70, 70}}},
        {"a triangle", {{{-20, -20}, {40, -10}, {0, 50}}}, {{5, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Polygon> tiles = tileArea(outer, c.holes, kAreaTile);
        double expected = area(outer), total = 0;
        for (const Polygon& h : c.holes)
            expected -= std::fabs(area(h));
        for (const Polygon& t : tiles) {
            total += area(t);
            const Box b = boundsOf(t);
            EXPECT_LE(b.maxX - b.minX, kAreaTile + 1e-3f);
            EXPECT_LE(b.maxY - b.minY, kAreaTile + 1e-3f);
            EXPECT_GT(normalZ(t), 0);
            for (Vec2 v : c.inHoles)
                EXPECT_FALSE(pointInPolygon(t, v)) << v.x << "," << v.y;
        }
        EXPECT_NEAR(total, expected, 0.05);
        // Only the tiles a hole touches are cut further.
        EXPECT_LT(tiles.size(), tileArea(outer, kAreaTile).size() + 200);
    }
}

TEST(Osm2TownGeometry, KindsKeepApartInHeightAndReadInTheirColours)
{
    const FlatKind order[] = {FlatKind::Forest, FlatKind::Green, FlatKind::Pitch, FlatKind::Water,
                              FlatKind::Square, FlatKind::Footway, FlatKind::Road};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_GT(flatStyle(order[i]).z, flatStyle(order[i - 1]).z);
    auto rgb = [](FlatKind k) {
        const std::int32_t c = flatStyle(k).colour;
        return std::array<int, 3>{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
    };
    EXPECT_GT(rgb(FlatKind::Water)[2], rgb(FlatKind::Water)[0] + 60);  // blue
    EXPECT_GT(rgb(FlatKind::Green)[1], rgb(FlatKind::Green)[0] + 40);  // green
    const auto road = rgb(FlatKind::Road);                             // grey
    EXPECT_LE(std::abs(road[0] - road[2]), 8);
    EXPECT_GT(flatStyle(FlatKind::Green).z, 0.0f); // above the ground plane

    struct Line {
        OsmFixture::Tags tags;
        std::optional<FlatKind> kind;
        float width;
    } lines[] = {
        {{{"highway", "trunk"}}, FlatKind::Road, 18},
        {{{"highway", "residential"}}, FlatKind::Road, 7},
        {{{"highway", "footway"}}, FlatKind::Footway, 2.5f},
        {{{"highway", "service"}, {"width", "3.5"}}, FlatKind::Road, 3.5f},
        {{{"waterway", "river"}}, FlatKind::Water, 20},
        {{{"waterway", "river"}, {"tunnel", "culvert"}}, std::nullopt, 0},
        {{{"highway", "pedestrian"}, {"area", "yes"}}, std::nullopt, 0},
        {{{"building", "yes"}}, std::nullopt, 0},
    };
    for (const Line& l : lines) {
        OsmTags tags;
        for (const auto& [k, v] : l.tags)
            tags.add(k, v);
        const std::optional<FlatLine> line = flatLine(tags);
        SCOPED_TRACE(l.tags[0].second);
        ASSERT_EQ(line.has_value(), l.kind.has_value());
        if (line) {
            EXPECT_EQ(line->kind, *l.kind);
            EXPECT_FLOAT_EQ(line->widthMetres, l.width);
        }
    }
    EXPECT_GT(flatLine([] { OsmTags t; t.add("highway", "trunk"); return t; }())->widthMetres,
              flatLine([] { OsmTags t; t.add("highway", "footway"); return t; }())->widthMetres);
}
