#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The objects of an extract that the importer needs. The file is parsed once
// and its objects put in order of type and id, so it need not be sorted (ways
// may come before their nodes and relations before their members) and an
// object read twice is kept once. libosmium then places the ways' nodes and
// assembles the areas of closed ways and multipolygon relations.

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tags the importer looks at; all others are not kept.
class OsmTags {
public:
    void add(std::string key, std::string value) { m_items.emplace_back(std::move(key), std::move(value)); }
    // Empty when the tag is absent.
    std::string_view get(std::string_view key) const;
    bool has(std::string_view key) const;
    bool empty() const { return m_items.empty(); }
    const std::vector<std::pair<std::string, std::string>>& items() const { return m_items; }

private:
    std::vector<std::pair<std::string, std::string>> m_items;
};

struct OsmNode {
    std::int64_t id = 0;
    double lat = 0;
    double lon = 0;
};

struct OsmTaggedNode {
    OsmNode node;
    OsmTags tags;
};

struct OsmPoint {
    double lat = 0;
    double lon = 0;
};

// A highway or waterway with the places of its nodes; none where a node is
// missing from the extract.
struct OsmWay {
    std::int64_t id = 0;
    std::vector<std::int64_t> refs;
    std::vector<std::optional<OsmPoint>> points;
    OsmTags tags;
    bool closed() const { return refs.size() >= 4 && refs.front() == refs.back(); }
};

struct OsmMember {
    char type = 'w'; // 'n', 'w' or 'r'
    std::int64_t ref = 0;
    std::string role;
};

// A relation naming the street of its houses (type=associatedStreet).
struct OsmRelation {
    std::int64_t id = 0;
    std::vector<OsmMember> members;
    OsmTags tags;
};

// A closed ring: its last point is its first.
using OsmRing = std::vector<OsmPoint>;

struct OsmPolygon {
    OsmRing outer;
    std::vector<OsmRing> inners; // holes
};

// A closed way or multipolygon relation that may be a building, a part, an
// organisation or a flat area, with the rings libosmium's assembler made of it.
struct OsmArea {
    char type = 'w'; // 'w' or 'r'
    std::int64_t id = 0;
    OsmTags tags;
    std::vector<OsmPolygon> polygons;
    // A node or member missing from the extract, or rings that do not close
    // or cross: the polygons are what could be made of the rest (often none),
    // `known` the nodes of it that the extract has.
    bool broken = false;
    std::vector<OsmPoint> known;
};

struct OsmBounds {
    double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
};

class OsmExtract {
public:
    std::optional<OsmBounds> bounds;     // from the file's header
    std::optional<OsmBounds> nodeBounds; // of every node with a location
    std::vector<OsmTaggedNode> taggedNodes;
    std::vector<OsmWay> ways;            // highways and waterways, by id
    std::vector<OsmArea> areas;          // closed ways by id, then relations by id
    std::vector<OsmRelation> relations;  // associatedStreet relations
    std::size_t objects = 0;             // nodes, ways and relations read
    std::size_t duplicates = 0;          // objects read again (a joined extract), the last one kept
    std::size_t brokenRelations = 0;     // multipolygons missing members or not closing
    std::size_t unassembledWays = 0;     // closed ways the assembler refused (crossing), kept as drawn

    // The bounds of the header, else of all nodes; none for an extract without nodes.
    std::optional<OsmBounds> extent() const { return bounds ? bounds : nodeBounds; }
};

// Reads an extract held in memory: OSM XML, plain or compressed with gzip or
// bzip2, or PBF, told apart by their first bytes. A damaged or unreadable
// extract raises ImportError with the reader's reason. `progress` is called
// now and then with the number of objects read so far.
OsmExtract readOsmExtract(std::string_view bytes, const std::function<void(std::size_t)>& progress = {});

// The format name libosmium knows the bytes by ("osm", "osm.gz", "osm.bz2", "pbf").
std::string sniffOsmFormat(std::string_view bytes);
