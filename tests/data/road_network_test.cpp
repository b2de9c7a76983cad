#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/GxException.h"
#include "data/RoadNetworkReader.h"
#include "data/RoadNetworkWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

namespace {

RoadNetwork sample()
{
    RoadNetwork network;
    network.nodes = {{0, 0}, {8.11f, 0}, {8.11f, -4.5f}, {-470, 470}};
    network.names = {"\xcb\xe5\xed\xe8\xed\xe0", ""}; // "Ленина" in Windows-1251, and an empty name
    network.pieces = {
        {0, 1, RoadClass::Residential, RoadPiece::Foot | RoadPiece::Car, 0},
        {1, 2, RoadClass::Primary, RoadPiece::Car | RoadPiece::OneWay, 1},
        {2, 3, RoadClass::Steps, RoadPiece::Foot, RoadPiece::kNoName},
    };
    return network;
}

std::string readOutcome(const std::vector<char>& bytes)
{
    try {
        ByteReader in(bytes, "roads.dat");
        readRoadNetwork(in);
        return "read";
    } catch (const EGxError& e) {
        return e.what();
    }
}

std::string damaged(const std::string& what)
{
    return "Файл \"roads.dat\" повреждён: " + what;
}

TEST(RoadNetworkFile, ReadsBackWhatWasWritten)
{
    const RoadNetwork network = sample();
    ByteReader in(writeRoadNetwork(network).data(), "roads.dat");
    EXPECT_EQ(readRoadNetwork(in), network);

    const RoadNetwork empty;
    ByteReader none(writeRoadNetwork(empty).data(), "roads.dat");
    EXPECT_EQ(readRoadNetwork(none), empty);
}

TEST(RoadNetworkFile, RefusesDamagedFilesWithTheDamagedFileError)
{
    const RoadNode node{1, 2};
    const RoadPiece piece{0, 1, RoadClass::Residential, RoadPiece::Foot, RoadPiece::kNoName};
    // Two nodes, one name, one piece, changed by `spoil`.
    const auto file = [&](std::function<void(ByteWriter&)> spoil, std::uint32_t nodes = 2, std::uint32_t pieces = 1,
                          std::uint32_t names = 1, std::uint16_t version = roadnetwork::kVersion) {
        ByteWriter out;
        writeRoadNetworkHeader(out, nodes, pieces, names, version);
        spoil(out);
        return out.data();
    };
    const auto records = [&](RoadNode second, RoadPiece last, std::string name = "a") {
        return [=](ByteWriter& out) {
            writeRoadNode(out, node);
            writeRoadNode(out, second);
            writeRoadName(out, name);
            writeRoadPiece(out, last);
        };
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    RoadPiece pastNodes = piece, unknownClass = piece, unknownFlags = piece, pastNames = piece;
    pastNodes.to = 2;
    unknownClass.roadClass = RoadClass::Count;
    unknownFlags.flags = 8;
    pastNames.name = 1;
    std::vector<char> trailing = file(records(node, piece));
    trailing.push_back(0);
    std::vector<char> cut = file(records(node, piece));
    cut.pop_back();

    const struct {
        const char* what;
        std::vector<char> bytes;
        std::string error;
    } cases[] = {
        {"intact", file(records(node, piece)), "read"},
        {"shorter than the header", {'Q', 'V', 'R', 'N', 1}, damaged("он короче заголовка (5 байт из 18)")},
        {"another mark", [] { std::vector<char> b(18, 0); b[0] = 'X'; return b; }(),
         damaged("в начале нет метки файла дорожной сети QVRN")},
        {"another version", file(records(node, piece), 2, 1, 1, 2),
         damaged("версия 2 неизвестна (программа читает версию 1)")},
        {"too many nodes", file([](ByteWriter&) {}, 20'000'001, 0, 0),
         damaged("объявлено 20000001 узлов, больше предела 20000000")},
        {"too many names", file([](ByteWriter&) {}, 0, 0, 1'000'001),
         damaged("объявлено 1000001 названий, больше предела 1000000")},
        {"counts the bytes cannot hold", file([](ByteWriter&) {}, 1000, 1000, 0),
         damaged("объявлено 1000 узлов, 1000 отрезков и 0 названий, а данных осталось 0 байт")},
        {"cut short", cut, damaged("данные обрываются внутри записи (байт 46 из 49)")},
        {"bytes after the last piece", trailing, damaged("после последнего отрезка ещё 1 байт")},
        {"a point not finite", file(records({nan, 0}, piece)), damaged("узел 1: координаты не конечны")},
        {"a point infinite", file(records({0, inf}, piece)), damaged("узел 1: координаты не конечны")},
        {"a piece past the nodes", file(records(node, pastNodes)), damaged("отрезок 0: узел 2, а узлов 2")},
        {"an unknown class", file(records(node, unknownClass)), damaged("отрезок 0: неизвестный класс дороги 15")},
        {"unknown flags", file(records(node, unknownFlags)), damaged("отрезок 0: неизвестные признаки 8")},
        {"a name that is not there", file(records(node, pastNames)), damaged("отрезок 0: название 1, а названий 1")},
        {"a name cut short", file([](ByteWriter& out) { out.uint8(200); out.bytes("ab"); }, 0, 0, 1),
         damaged("данные обрываются внутри записи (байт 19 из 21)")},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(readOutcome(test.bytes), test.error);
    }
}

TEST(RoadNetworkFile, WriterRefusesWhatTheReaderWould)
{
    const auto refuses = [](std::function<void(RoadNetwork&)> spoil) {
        RoadNetwork network = sample();
        spoil(network);
        EXPECT_THROW(writeRoadNetwork(network), std::invalid_argument);
    };
    refuses([](RoadNetwork& n) { n.pieces[0].to = 4; });
    refuses([](RoadNetwork& n) { n.pieces[0].name = 2; });
    refuses([](RoadNetwork& n) { n.pieces[0].flags = 0x10; });
    refuses([](RoadNetwork& n) { n.pieces[0].roadClass = RoadClass::Count; });
    refuses([](RoadNetwork& n) { n.nodes[0].x = std::numeric_limits<float>::infinity(); });
    refuses([](RoadNetwork& n) { n.names[0] = std::string(256, 'a'); });
}

TEST(RoadNetworkFile, AMissingFileIsNoNetworkButAFolderInItsPlaceIsAnError)
{
    TempDir dir;
    EXPECT_FALSE(readRoadNetworkFile(dir.path() + "/roads.dat"));
    writeRoadNetwork(sample()).saveTo(dir.path() + "/roads.dat");
    EXPECT_EQ(readRoadNetworkFile(dir.path() + "/roads.dat"), sample());
    EXPECT_THROW(readRoadNetworkFile(dir.path()), EGxError);
}

} // namespace
