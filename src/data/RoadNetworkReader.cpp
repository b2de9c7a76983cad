#include "data/RoadNetworkReader.h"

#include "data/FileHead.h"
#include "data/OptionalFile.h"

#include <algorithm>
#include <cmath>

namespace {
std::string recordText(const char* kind, std::size_t index, const std::string& what)
{
    return std::string(kind) + " " + std::to_string(index) + ": " + what;
}
} // namespace

RoadNetwork readRoadNetwork(ByteReader& in)
{
    readFileMark(in, roadnetwork::kHeaderSize, roadnetwork::kMagic, roadnetwork::kVersion, "файла дорожной сети QVRN");
    const std::uint32_t nodeCount = readBoundedCount(in, roadnetwork::kMaxNodes, "узлов");
    const std::uint32_t pieceCount = readBoundedCount(in, roadnetwork::kMaxPieces, "отрезков");
    const std::uint32_t nameCount = readBoundedCount(in, roadnetwork::kMaxNames, "названий");
    // Fails before anything is allocated when the bytes cannot hold the counts.
    const std::uint64_t least = std::uint64_t(nodeCount) * roadnetwork::kNodeSize
                                + std::uint64_t(pieceCount) * roadnetwork::kPieceSize
                                + std::uint64_t(nameCount) * roadnetwork::kMinNameSize;
    if (least > in.remaining())
        in.failDamaged("объявлено " + std::to_string(nodeCount) + " узлов, " + std::to_string(pieceCount)
                       + " отрезков и " + std::to_string(nameCount) + " названий, а данных осталось "
                       + std::to_string(in.remaining()) + " байт");

    RoadNetwork network;
    network.nodes.resize(nodeCount);
    for (std::size_t i = 0; i < nodeCount; ++i) {
        RoadNode& node = network.nodes[i];
        node.x = in.float32();
        node.y = in.float32();
        if (!std::isfinite(node.x) || !std::isfinite(node.y))
            in.failDamaged(recordText("узел", i, "координаты не конечны"));
    }
    network.names.reserve(nameCount);
    for (std::size_t i = 0; i < nameCount; ++i) {
        const std::uint8_t length = in.uint8();
        network.names.push_back(in.bytes(length));
    }
    network.pieces.resize(pieceCount);
    for (std::size_t i = 0; i < pieceCount; ++i) {
        RoadPiece& piece = network.pieces[i];
        piece.from = static_cast<std::uint32_t>(in.int32());
        piece.to = static_cast<std::uint32_t>(in.int32());
        const std::uint8_t roadClass = in.uint8();
        piece.flags = in.uint8();
        piece.name = static_cast<std::uint32_t>(in.int32());
        if (piece.from >= nodeCount || piece.to >= nodeCount)
            in.failDamaged(recordText("отрезок", i, "узел " + std::to_string(std::max(piece.from, piece.to))
                                                       + ", а узлов " + std::to_string(nodeCount)));
        if (roadClass >= std::uint8_t(RoadClass::Count))
            in.failDamaged(recordText("отрезок", i, "неизвестный класс дороги " + std::to_string(roadClass)));
        piece.roadClass = static_cast<RoadClass>(roadClass);
        if ((piece.flags & ~RoadPiece::kAllFlags) != 0)
            in.failDamaged(recordText("отрезок", i, "неизвестные признаки " + std::to_string(piece.flags)));
        if (piece.name != RoadPiece::kNoName && piece.name >= nameCount)
            in.failDamaged(recordText("отрезок", i, "название " + std::to_string(piece.name) + ", а названий "
                                                       + std::to_string(nameCount)));
    }
    if (!in.atEnd())
        in.failDamaged("после последнего отрезка ещё " + std::to_string(in.remaining()) + " байт");
    return network;
}

std::optional<RoadNetwork> readRoadNetworkFile(const std::string& path)
{
    std::optional<ByteReader> in = readOptionalFile(path);
    if (!in)
        return std::nullopt;
    return readRoadNetwork(*in);
}
