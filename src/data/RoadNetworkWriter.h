#pragma once

#include "base/ByteWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The town's roads as a graph for finding routes: the optional roads.dat
// beside data.mod. Nodes are points of the map; a piece is a straight stretch
// of road between two of them. Ways that share a node meet there.

// What kind of road a piece is (OpenStreetMap's highway classes, folded).
// The car speeds (routing/RoadSpeeds.h) go by it.
enum class RoadClass : std::uint8_t {
    Motorway = 0,
    Trunk,
    Primary,
    Secondary,
    Tertiary,
    Unclassified,
    Residential,
    LivingStreet,
    Service,
    Track,
    Pedestrian,
    Footway,
    Path,
    Cycleway,
    Steps,
    Count // not a class: the number of them
};

struct RoadNode {
    float x = 0; // map units, as data.mod's house nodes
    float y = 0;

    bool operator==(const RoadNode&) const = default;
};

struct RoadPiece {
    // Who may use a piece, and how.
    enum Flag : std::uint8_t {
        Foot = 1,   // a person on foot may use it, either way
        Car = 2,    // a car may use it
        OneWay = 4, // a car only from `from` to `to`
    };
    static constexpr std::uint8_t kAllFlags = Foot | Car | OneWay;
    static constexpr std::uint32_t kNoName = 0xFFFFFFFF;

    std::uint32_t from = 0; // node indices
    std::uint32_t to = 0;
    RoadClass roadClass = RoadClass::Residential;
    std::uint8_t flags = Foot | Car;
    std::uint32_t name = kNoName; // index into RoadNetwork::names, or kNoName

    bool allows(Flag flag) const { return (flags & flag) != 0; }
    bool operator==(const RoadPiece&) const = default;
};

struct RoadNetwork {
    std::vector<RoadNode> nodes;
    std::vector<RoadPiece> pieces;
    // Street names in Windows-1251, as data.mod's street names (the same
    // text for the same street, so a route's streets match the houses').
    std::vector<std::string> names;

    bool operator==(const RoadNetwork&) const = default;
};

namespace roadnetwork {
// "QVRN", a version, the counts of nodes, pieces and names.
inline constexpr char kMagic[4] = {'Q', 'V', 'R', 'N'};
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 18;
inline constexpr std::size_t kNodeSize = 8;
inline constexpr std::size_t kPieceSize = 14;
inline constexpr std::size_t kMinNameSize = 1;
inline constexpr std::size_t kMaxNodes = 20'000'000;
inline constexpr std::size_t kMaxPieces = 20'000'000;
inline constexpr std::size_t kMaxNames = 1'000'000;
inline constexpr std::size_t kMaxNameBytes = 255;
inline constexpr const char* kFileName = "roads.dat";
} // namespace roadnetwork

// Writes the whole file. A network the reader would refuse (a piece naming a
// node or name that is not there, a class or flag out of range, a point not
// finite, a name longer than 255 bytes, counts above the bounds) raises
// std::invalid_argument naming it: a file written is always readable.
ByteWriter writeRoadNetwork(const RoadNetwork& network);

// The parts, for fixtures: the header with any counts and version, then the
// records as they are (unchecked).
void writeRoadNetworkHeader(ByteWriter& out, std::uint32_t nodes, std::uint32_t pieces, std::uint32_t names,
                            std::uint16_t version = roadnetwork::kVersion);
void writeRoadNode(ByteWriter& out, const RoadNode& node);
void writeRoadName(ByteWriter& out, const std::string& name);
void writeRoadPiece(ByteWriter& out, const RoadPiece& piece);
