#include "data/RoadNetworkWriter.h"

#include <cmath>
#include <stdexcept>

void writeRoadNetworkHeader(ByteWriter& out, std::uint32_t nodes, std::uint32_t pieces, std::uint32_t names,
                            std::uint16_t version)
{
    out.bytes(std::string_view(roadnetwork::kMagic, sizeof roadnetwork::kMagic));
    out.int16(static_cast<std::int16_t>(version));
    out.int32(static_cast<std::int32_t>(nodes));
    out.int32(static_cast<std::int32_t>(pieces));
    out.int32(static_cast<std::int32_t>(names));
}

void writeRoadNode(ByteWriter& out, const RoadNode& node)
{
    out.float32(node.x);
    out.float32(node.y);
}

void writeRoadName(ByteWriter& out, const std::string& name)
{
    out.uint8(static_cast<std::uint8_t>(name.size()));
    out.bytes(name);
}

void writeRoadPiece(ByteWriter& out, const RoadPiece& piece)
{
    out.int32(static_cast<std::int32_t>(piece.from));
    out.int32(static_cast<std::int32_t>(piece.to));
    out.uint8(static_cast<std::uint8_t>(piece.roadClass));
    out.uint8(piece.flags);
    out.int32(static_cast<std::int32_t>(piece.name));
}

ByteWriter writeRoadNetwork(const RoadNetwork& network)
{
    const auto refuse = [](const std::string& what) { throw std::invalid_argument("roads.dat: " + what); };
    if (network.nodes.size() > roadnetwork::kMaxNodes || network.pieces.size() > roadnetwork::kMaxPieces
        || network.names.size() > roadnetwork::kMaxNames)
        refuse("more nodes, pieces or names than the file holds");
    ByteWriter out;
    writeRoadNetworkHeader(out, static_cast<std::uint32_t>(network.nodes.size()),
                           static_cast<std::uint32_t>(network.pieces.size()),
                           static_cast<std::uint32_t>(network.names.size()));
    for (std::size_t i = 0; i < network.nodes.size(); ++i) {
        const RoadNode& node = network.nodes[i];
        if (!std::isfinite(node.x) || !std::isfinite(node.y))
            refuse("node " + std::to_string(i) + " not finite");
        writeRoadNode(out, node);
    }
    for (std::size_t i = 0; i < network.names.size(); ++i) {
        if (network.names[i].size() > roadnetwork::kMaxNameBytes)
            refuse("name " + std::to_string(i) + " of " + std::to_string(network.names[i].size()) + " bytes");
        writeRoadName(out, network.names[i]);
    }
    for (std::size_t i = 0; i < network.pieces.size(); ++i) {
        const RoadPiece& piece = network.pieces[i];
        if (piece.from >= network.nodes.size() || piece.to >= network.nodes.size())
            refuse("piece " + std::to_string(i) + " names a node that is not there");
        if (piece.name != RoadPiece::kNoName && piece.name >= network.names.size())
            refuse("piece " + std::to_string(i) + " names a name that is not there");
        if (piece.roadClass >= RoadClass::Count || (piece.flags & ~RoadPiece::kAllFlags) != 0)
            refuse("piece " + std::to_string(i) + " of an unknown class or flags");
        writeRoadPiece(out, piece);
    }
    return out;
}
