#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The objects of an extract that the importer needs, read in one pass. The
// file need not be sorted: ways may come before their nodes and relations
// before their members, since nothing is resolved until all is read.

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

struct OsmWay {
    std::int64_t id = 0;
    std::vector<std::int64_t> refs;
    OsmTags tags;
    bool closed() const { return refs.size() >= 4 && refs.front() == refs.back(); }
};

struct OsmMember {
    char type = 'w'; // 'n', 'w' or 'r'
    std::int64_t ref = 0;
    std::string role;
};

struct OsmRelation {
    std::int64_t id = 0;
    std::vector<OsmMember> members;
    OsmTags tags;
};

struct OsmBounds {
    double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
};

class OsmExtract {
public:
    std::optional<OsmBounds> bounds; // from the file's header
    std::vector<OsmNode> nodes;      // every node with a location, sorted by id
    std::vector<OsmTaggedNode> taggedNodes;
    std::vector<OsmWay> ways;        // sorted by id
    std::vector<OsmRelation> relations;
    std::size_t objects = 0;         // nodes, ways and relations read

    const OsmNode* node(std::int64_t id) const;
    const OsmWay* way(std::int64_t id) const;
    // The bounds of the header, else of all nodes; none for an extract without nodes.
    std::optional<OsmBounds> extent() const;
};

// Reads an extract held in memory: OSM XML, plain or compressed with gzip or
// bzip2, or PBF, told apart by their first bytes. A damaged or unreadable
// extract raises ImportError with the reader's reason. `progress` is called
// now and then with the number of objects read so far.
OsmExtract readOsmExtract(std::string_view bytes, const std::function<void(std::size_t)>& progress = {});

// The format name libosmium knows the bytes by ("osm", "osm.gz", "osm.bz2", "pbf").
std::string sniffOsmFormat(std::string_view bytes);
