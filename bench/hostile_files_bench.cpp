// Hostile files of up to 10 MB, each made to cost as much as its kind of
// file allows, fed to the same entry points as the fuzzers (the reader, and
// what start-up does next with what it read). Target: each is loaded or
// refused within 2 s. Beside them, the machine's limit for the same bytes:
// reading them once as 32-bit numbers (HostileFile/ReadBytes).
//   build/bin/quorvel_bench --benchmark_filter=HostileFile
#include "FuzzTargets.h"

#include "base/BmpEncoder.h"
#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "data/File3DSWriter.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/OrgDirectoryWriter.h"
#include "data/RoadNetworkWriter.h"
#include "data/TownModelWriter.h"
#include "engine/materials/JpegEncoder.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kLimit = 10 * 1000 * 1000;

std::string text(const ByteWriter& out)
{
    return std::string(out.data().begin(), out.data().end());
}

std::string townBundle(const std::string& model, const std::string& landmarks = "",
                       const fuzz::Files& meshes = {})
{
    fuzz::Files files = {{"data.mod", model}, {"data.modt", text(writeMaterialLibrary(2, {}))},
                         {"fl.dat", landmarks}};
    files.insert(files.end(), meshes.begin(), meshes.end());
    return fuzz::bundleFiles(files);
}

// Houses of `nodes` nodes and no texts, as many as fit: the smallest
// records, the most objects.
std::string smallestHouses(int nodes)
{
    ByteWriter w;
    const std::int32_t count = std::int32_t((kLimit - 16) / (12 + 8 * nodes));
    w.int32(count);
    for (std::int32_t i = 0; i < count; ++i) {
        w.int32(nodes);
        for (int k = 0; k < nodes; ++k) {
            w.float32(float(i % 1000 + k));
            w.float32(float(i / 1000));
        }
        w.int32(0);
        w.int32(0x008000);
    }
    w.int32(0);
    w.int32(0);
    w.int32(0);
    return townBundle(text(w));
}

// Refused: a house without nodes can have no walls.
std::string emptyHouses()
{
    return smallestHouses(0);
}

// The smallest houses that load, each with its one wall.
std::string oneNodeHouses()
{
    return smallestHouses(1);
}

// One house with all the nodes the file holds: as many walls.
std::string houseOfManyNodes()
{
    TownModel model;
    TownHouseRecord house;
    const std::size_t nodes = (kLimit - 200) / 8;
    for (std::size_t i = 0; i < nodes; ++i)
        house.nodes.push_back({float(i % 1000), float(i / 1000)});
    model.houses.push_back(house);
    return townBundle(text(writeTownModel(model)));
}

std::string manyPlanes()
{
    TownModel model;
    model.planes.resize((kLimit - 16) / 55);
    return townBundle(text(writeTownModel(model)));
}

// Planes that all use the library's one material: as many users of it.
std::string manyPlanesOfOneMaterial()
{
    TownModel model;
    model.planes.resize((kLimit - 16) / 55);
    for (TownPlaneRecord& p : model.planes)
        p.materialName = "grass";
    LibMaterialRecord grass;
    grass.name = "grass";
    return fuzz::bundleFiles({{"data.mod", text(writeTownModel(model))},
                              {"data.modt", text(writeMaterialLibrary(2, {grass}))},
                              {"fl.dat", ""}});
}

// Landmarks of one triangle each, every one in a mesh file of its own.
std::string manyLandmarks()
{
    Model3DSObject triangle;
    triangle.name = "Tri";
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    Model3DS model;
    model.objects = {triangle};
    const std::string mesh = writeModel3DS(model);
    std::vector<LandmarkRecord> records;
    fuzz::Files meshes;
    std::size_t size = 0;
    for (int i = 0; size < kLimit - 200; ++i) {
        LandmarkRecord r;
        r.meshFile = "m" + std::to_string(i) + ".3ds";
        records.push_back(r);
        meshes.emplace_back(r.meshFile, mesh);
        size += mesh.size() + 2 * r.meshFile.size() + 40;
    }
    return townBundle(text(writeTownModel({})), writeLandmarkList(records), meshes);
}

std::string duplicateMaterialNames()
{
    LibMaterialRecord m;
    m.name = "grass";
    return text(writeMaterialLibrary(0, std::vector<LibMaterialRecord>((kLimit - 8) / 60, m)));
}

std::string manyTextureLayers()
{
    LibMaterialRecord m;
    m.name = "layers";
    m.layers.resize((kLimit - 200) / 27);
    return text(writeMaterialLibrary(2, {m}));
}

// Run-length coded pictures at the size bound, as many as fit.
std::string largePictures()
{
    LibMaterialRecord m;
    m.image = encodeBmpRle8(4096, 4096, 90, 160, 60);
    return text(writeMaterialLibrary(2, std::vector<LibMaterialRecord>(kLimit / m.image->size(), m)));
}

std::string manyMeshObjects()
{
    Chunk3DSWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    // A named object "o" with an empty triangle mesh: 6 + 2 + 6 bytes.
    for (std::size_t size = 12; size + 14 <= kLimit; size += 14) {
        out.begin(0x4000);
        out.cstring("o");
        out.begin(0x4100);
        out.end();
        out.end();
    }
    out.end();
    out.end();
    return out.bytes();
}

// One triangle in as many face groups as fit, each of a material of its own.
std::string manyMaterialGroups()
{
    Model3DS model;
    Model3DSObject triangle;
    triangle.name = "Tri";
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    const int count = int(kLimit / 128);
    for (int i = 0; i < count; ++i) {
        Model3DSMaterial m;
        m.name = "m" + std::to_string(i);
        model.materials.push_back(m);
        triangle.groups.push_back({m.name, {0}});
    }
    model.objects = {triangle};
    return writeModel3DS(model);
}

std::string nestedChunks()
{
    const std::size_t depth = kLimit / 6;
    std::string bytes;
    bytes.reserve(kLimit);
    for (std::size_t i = 0; i < depth; ++i) {
        const std::uint32_t length = std::uint32_t((depth - i) * 6);
        const std::uint16_t id = i == 0 ? 0x4D4D : 0x3D3D;
        bytes += char(id & 0xFF);
        bytes += char(id >> 8);
        for (int s = 0; s < 32; s += 8)
            bytes += char((length >> s) & 0xFF);
    }
    return bytes;
}

std::string fullDirectory()
{
    OrgRecords records((kLimit - 24) / 273);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].streetName = "street" + std::to_string(i);
    return text(writeOrgDirectory(records));
}

std::string largeBmp()
{
    return encodeBmpRle8(8192, 2048, 200, 40, 40);
}

std::string largeJpeg()
{
    QImage image(4096, 4096, QImage::Format_RGB888);
    image.fill(QColor(40, 120, 200));
    return encodeJpeg(image, 90, true);
}

// Road networks: as many pieces as fit, each across the whole map (none
// in the grid's cells: every snap looks at each), all on one point, or a
// dense grid of streets routed across corner to corner.
std::size_t roadPiecesThatFit(std::size_t nodes)
{
    return (kLimit - roadnetwork::kHeaderSize - nodes * roadnetwork::kNodeSize) / roadnetwork::kPieceSize;
}

std::string roadsAcrossTheMap()
{
    RoadNetwork network;
    for (int i = 0; i < 1000; ++i)
        network.nodes.push_back({float(i % 2 ? 470 : -470), float(i - 500) * 0.9f});
    network.pieces.resize(roadPiecesThatFit(network.nodes.size()));
    for (std::size_t i = 0; i < network.pieces.size(); ++i)
        network.pieces[i] = {std::uint32_t(i % 1000), std::uint32_t((i * 7 + 1) % 1000), RoadClass::Residential,
                             RoadPiece::Foot | RoadPiece::Car, RoadPiece::kNoName};
    return text(writeRoadNetwork(network));
}

std::string roadsOnOnePoint()
{
    RoadNetwork network;
    network.nodes.assign(100000, RoadNode{1, 1});
    network.pieces.resize(roadPiecesThatFit(network.nodes.size()));
    for (std::size_t i = 0; i < network.pieces.size(); ++i)
        network.pieces[i] = {std::uint32_t(i % 100000), std::uint32_t((i + 1) % 100000), RoadClass::Footway,
                             RoadPiece::Foot, RoadPiece::kNoName};
    return text(writeRoadNetwork(network));
}

std::string denseRoadGrid()
{
    // n x n nodes and about 2 n^2 pieces fill the file.
    const int n = 525;
    RoadNetwork network;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            network.nodes.push_back({float(x) * 1.6f - 464, float(y) * 1.6f - 464});
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const auto at = [&](int i, int j) { return std::uint32_t(j * n + i); };
            if (x + 1 < n)
                network.pieces.push_back({at(x, y), at(x + 1, y), RoadClass::Residential,
                                          RoadPiece::Foot | RoadPiece::Car, RoadPiece::kNoName});
            if (y + 1 < n)
                network.pieces.push_back({at(x, y), at(x, y + 1), RoadClass::Primary,
                                          RoadPiece::Foot | RoadPiece::Car | RoadPiece::OneWay, RoadPiece::kNoName});
        }
    return text(writeRoadNetwork(network));
}

void run(benchmark::State& state, const char* target, std::string (*make)())
{
    static std::map<std::string (*)(), std::string> made;
    std::string& input = made[make];
    if (input.empty())
        input = make();
    const fuzz::Target& t = *fuzz::findTarget(target);
    fuzz::Result result;
    for (auto _ : state)
        result = t.run(input);
    state.SetLabel((result.loaded ? "loaded" : "refused: " + result.error.substr(0, 60)) + " ("
                   + std::to_string(input.size() / 1000) + " kB)");
    state.counters["MB"] = double(input.size()) / 1e6;
}

void BM_HostileFile_ReadBytes(benchmark::State& state)
{
    const std::vector<char> bytes(kLimit, 1);
    for (auto _ : state) {
        ByteReader in(bytes, "x");
        std::int32_t sum = 0;
        while (in.remaining() >= 4)
            sum += in.int32();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_HostileFile_ReadBytes)->Unit(benchmark::kMillisecond);

#define HOSTILE(target, make) \
    BENCHMARK_CAPTURE(run, HostileFile_##make, target, make)->Unit(benchmark::kMillisecond)->Iterations(1)
HOSTILE("town", emptyHouses);
HOSTILE("town", oneNodeHouses);
HOSTILE("town", houseOfManyNodes);
HOSTILE("town", manyPlanes);
HOSTILE("town", manyPlanesOfOneMaterial);
HOSTILE("town", manyLandmarks);
HOSTILE("library", duplicateMaterialNames);
HOSTILE("library", manyTextureLayers);
HOSTILE("library", largePictures);
HOSTILE("mesh3ds", manyMeshObjects);
HOSTILE("mesh3ds", manyMaterialGroups);
HOSTILE("mesh3ds", nestedChunks);
HOSTILE("directory", fullDirectory);
HOSTILE("roads", roadsAcrossTheMap);
HOSTILE("roads", roadsOnOnePoint);
HOSTILE("roads", denseRoadGrid);
HOSTILE("bmp", largeBmp);
HOSTILE("jpeg", largeJpeg);

} // namespace
