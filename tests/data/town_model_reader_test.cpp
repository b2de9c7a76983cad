#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "data/File3DSWriter.h"
#include "base/FileSource.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/TownModelReader.h"
#include "map/TownBuilder.h"
#include "data/TownModelWriter.h"
#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/objects/GxPlane.h"
#include "base/GxException.h"
#include "engine/scene/GxScene.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"
#include "map/House.h"
#include "map/Road.h"

#include <gtest/gtest.h>

#include <array>

#include <climits>
#include <filesystem>

namespace {

std::string ru(std::string_view utf8)
{
    return cp1251::fromUtf8(utf8);
}

// A data folder with a material library holding "Grass" and a town model
// written from records or raw bytes, loaded into a fresh scene.
class TownModelReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LibMaterialRecord grass;
        grass.name = "Grass";
        writeMaterialLibrary(1, {grass}).saveTo(model + "t");
        ByteWriter().saveTo(dir.file("fl.dat")); // no landmarks
    }
    void save(const TownModel& town) { writeTownModel(town).saveTo(model); }
    void save(const ByteWriter& bytes) { bytes.saveTo(model); }
    void load() { LoadObjFromFile(model, scene, library); }
    // The error text of a load, or "no error".
    std::string loadError()
    {
        try {
            load();
        } catch (const EGxError& e) {
            return e.what();
        }
        return "no error";
    }
    int objects() const { return scene.ObjectRoot()->Count(); }
    template <class T>
    T* object(int i) const
    {
        auto* o = dynamic_cast<T*>(scene.ObjectRoot()->Children(i));
        EXPECT_NE(o, nullptr) << "object " << i;
        return o;
    }
    static std::array<float, 4> diffuse(TGxCustomSceneObject* o)
    {
        return o->Material().FrontProperties().Diffuse().Vector();
    }

    TempDir dir;
    const std::string model = dir.file("data.mod");
    TGxScene scene;
    TGxMaterialLibrary library;
};

TownHouseRecord houseRecord(std::vector<std::string> texts = {})
{
    TownHouseRecord h;
    h.nodes = {{0, 0}, {4, 0}, {4, 3}};
    h.texts = std::move(texts);
    h.colour = 0x00336699;
    return h;
}

} // namespace

TEST_F(TownModelReaderTest, EmptyTownOfSixteenBytes)
{
    save(TownModel{});
    EXPECT_EQ(std::filesystem::file_size(model), 16u);
    load();
    EXPECT_EQ(objects(), 0);
    EXPECT_EQ(library.Materials().Count(), 1) << "the library is loaded first";
}

TEST_F(TownModelReaderTest, RecordsBecomeObjectsInFileOrder)
{
    TownModel town;
    town.houses = {houseRecord({ru("Ленина"), ru("12а"), "9"}), houseRecord()};
    TownRoadRecord road;
    road.nodes = {{0, 0, 0.5f}, {10, 0, 0.5f}, {10, 2, 0.25f}};
    road.texts = {ru("Река"), "x"};
    road.colour = 0xFF0000;
    town.roads = {road};
    TownPlaneRecord ground;
    ground.position = {1, 2, -0.5f};
    ground.width = 30;
    ground.height = 20;
    ground.materialName = "Grass";
    TownPlaneRecord unknown = ground;
    unknown.materialName = "Nothing";
    town.planes = {ground, unknown};
    town.trailer = 12345;
    save(town);
    load();

    ASSERT_EQ(objects(), 5);
    Thouse* first = object<Thouse>(0);
    EXPECT_EQ(first->params(), (std::array<std::string, 3>{ru("Ленина"), ru("12а"), "9"}));
    ASSERT_EQ(first->Nodes().Count(), 3);
    EXPECT_EQ(first->Nodes().Items(1).X(), 4);
    EXPECT_EQ(first->Nodes().Items(2).Y(), 3);
    EXPECT_EQ(first->Nodes().Items(2).Z(), 0);
    EXPECT_EQ(first->Nodes().Items(2).W(), 1);
    EXPECT_EQ(first->Owner(), &scene);
    EXPECT_EQ(first->Count(), 0) << "walls come later";
    EXPECT_EQ(diffuse(first), (std::array<float, 4>{0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f, 1}));
    EXPECT_EQ(object<Thouse>(1)->params(), (std::array<std::string, 3>{ru("Улица"), ru("Дом"), "5"}));

    Troad* r = object<Troad>(2);
    ASSERT_EQ(r->Nodes().Count(), 3);
    EXPECT_EQ(r->Nodes().Items(0).Z(), 0.5f);
    EXPECT_EQ(r->Nodes().Items(2).Z(), 0.25f);
    EXPECT_EQ(diffuse(r), (std::array<float, 4>{0, 0, 1, 1}));

    TGxPlane* p = object<TGxPlane>(3);
    EXPECT_TRUE(VectorNear(p->Position().Vector4(), PointMake(1, 2, -0.5f)));
    EXPECT_EQ(p->Width(), 30);
    EXPECT_EQ(p->Height(), 20);
    EXPECT_EQ(p->Material().MaterialLibrary(), &library);
    ASSERT_NE(p->Material().LibMaterial(), nullptr);
    EXPECT_EQ(p->Material().LibMaterial()->Name(), "Grass");
    EXPECT_TRUE(p->Material().Texture().Enabled());
    TGxPlane* own = object<TGxPlane>(4);
    EXPECT_EQ(own->Material().LibMaterialName(), "Nothing");
    EXPECT_EQ(own->Material().LibMaterial(), nullptr) << "drawn with its own material";
}

TEST_F(TownModelReaderTest, TextFieldsAlwaysTakeTheirWholeWidth)
{
    // A house whose three texts are empty, at capacity, and announced as
    // 200 bytes long; a road with texts; then a plane named by 15 bytes:
    // each field is clipped to its width and the records behind stay in step.
    ByteWriter out;
    out.int32(1);
    out.int32(1);
    out.float32(7);
    out.float32(8);
    out.int32(3);
    out.shortStringRaw(0, "junk behind an empty text", kTownTextCapacity);
    out.shortString(std::string(30, 'a'), kTownTextCapacity);
    out.shortStringRaw(200, std::string(30, '7'), kTownTextCapacity);
    out.int32(0x0000FF);
    out.int32(2);
    for (const bool withTexts : {true, false}) {
        writeRoadRecord(out, TownRoadRecord{{{1, 2, 3}, {4, 5, 6}}, withTexts ? std::vector<std::string>{"a", "b"}
                                                                              : std::vector<std::string>{}, 0x00FF00});
    }
    out.int32(1);
    writePlaneRecord(out, TownPlaneRecord{});
    // Patch the plane's name: length byte 15 over the 10-byte field "GrassGrass".
    std::vector<char> bytes = out.data();
    const std::size_t nameAt = bytes.size() - 11;
    bytes[nameAt] = 15;
    for (int i = 0; i < 10; ++i)
        bytes[nameAt + 1 + i] = "GrassGrass"[i];
    ByteWriter patched;
    patched.bytes(std::string_view(bytes.data(), bytes.size()));
    patched.int32(0);
    save(patched);
    load();

    ASSERT_EQ(objects(), 4);
    Thouse* h = object<Thouse>(0);
    EXPECT_EQ(h->params(), (std::array<std::string, 3>{"", std::string(30, 'a'), std::string(30, '7')}));
    EXPECT_EQ(diffuse(h), (std::array<float, 4>{1, 0, 0, 1}));
    Troad* withTexts = object<Troad>(1);
    Troad* without = object<Troad>(2);
    for (Troad* r : {withTexts, without}) {
        ASSERT_EQ(r->Nodes().Count(), 2);
        EXPECT_EQ(r->Nodes().Items(1).Z(), 6);
        EXPECT_EQ(diffuse(r), (std::array<float, 4>{0, 1, 0, 1}));
    }
    EXPECT_EQ(object<TGxPlane>(3)->Material().LibMaterialName(), "GrassGrass");
}

TEST_F(TownModelReaderTest, FourthHouseTextStopsTheLoadAndKeepsTheHouse)
{
    TownModel town;
    town.houses = {houseRecord({"a", "b", "3", "d"}), houseRecord()};
    save(town);
    EXPECT_EQ(loadError(), "List index out of bounds (3)");
    ASSERT_EQ(objects(), 1);
    Thouse* h = object<Thouse>(0);
    EXPECT_EQ(h->Nodes().Count(), 3);
    EXPECT_EQ(h->params(), (std::array<std::string, 3>{"a", "b", "3"}));
}

TEST_F(TownModelReaderTest, MissingFiles)
{
    save(TownModel{{houseRecord()}, {}, {}, 0});
    std::filesystem::remove(model + "t");
    EXPECT_EQ(loadError(), "File not found: \"" + model + "t\"");
    EXPECT_EQ(objects(), 0) << "data.mod is not read";

    const std::string missing = dir.file("elsewhere.mod");
    writeMaterialLibrary(1, {}).saveTo(missing + "t");
    try {
        LoadObjFromFile(missing, scene, library);
        ADD_FAILURE();
    } catch (const EGxError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". No such file or directory");
    }
}

TEST_F(TownModelReaderTest, DamagedFilesStopWithAnErrorNamingTheFileAndKeepWhatWasBuilt)
{
    struct Case {
        const char* what;
        std::function<ByteWriter()> bytes;
        int objectsKept;
        const char* reason = "повреждён: ";
    };
    const auto twoHousesCut = [](std::size_t cut) {
        return [cut] {
            ByteWriter w = writeTownModel(TownModel{{houseRecord({"a"}), houseRecord({"b"})}, {}, {}, 0});
            ByteWriter out;
            out.bytes(std::string_view(w.data().data(), w.data().size() - cut));
            return out;
        };
    };
    const auto houseAnnouncing = [](std::int32_t nodes) {
        return [nodes] {
            ByteWriter out;
            out.int32(1);
            out.int32(nodes);
            out.zeros(92);
            return out;
        };
    };
    const Case cases[] = {
        {"ends inside the second house's colour", twoHousesCut(4 + 4 + 4 + 2), 2},
        {"ends inside the second house's text", twoHousesCut(4 + 4 + 4 + 20), 2},
        {"ends before the trailer", twoHousesCut(4), 2},
        {"a house of 2^31 - 1 nodes in 100 bytes", houseAnnouncing(INT_MAX), 1},
        {"a house of 13 nodes in 100 bytes", houseAnnouncing(13), 1},
        // Its walls could not be built.
        {"a house without nodes", houseAnnouncing(0), 1, "повреждён: у дома нет ни одного узла (байт 8 из 100)"},
        {"a house of -5 nodes", houseAnnouncing(-5), 1, "повреждён: у дома нет ни одного узла"},
        {"2^31 - 1 houses", [] { ByteWriter o; o.int32(INT_MAX); o.zeros(40); return o; }, 0},
        {"2^31 - 1 texts",
         [] {
             ByteWriter o;
             o.int32(1);
             o.int32(0);
             o.int32(INT_MAX);
             o.zeros(40);
             return o;
         },
         1},
        {"2^31 - 1 planes",
         [] {
             ByteWriter o;
             o.int32(0);
             o.int32(0);
             o.int32(INT_MAX);
             o.zeros(100);
             return o;
         },
         0},
        {"a plane cut short",
         [] {
             ByteWriter o;
             o.int32(0);
             o.int32(0);
             o.int32(1);
             o.zeros(54);
             return o;
         },
         0},
    };
    for (const Case& c : cases) {
        TGxScene fresh;
        save(c.bytes());
        try {
            LoadObjFromFile(model, fresh, library);
            ADD_FAILURE() << c.what;
        } catch (const EGxError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + model + "\""), std::string::npos) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.what << ": " << e.what();
        }
        EXPECT_EQ(fresh.ObjectRoot()->Count(), c.objectsKept) << c.what;
    }
}

TEST_F(TownModelReaderTest, NegativeCountsMeanNone)
{
    ByteWriter out;
    out.int32(-3); // houses
    out.int32(1);  // roads
    out.int32(-1); //   nodes
    out.int32(-7); //   texts
    out.int32(0x808080);
    out.int32(INT_MIN); // planes
    out.int32(0);
    save(out);
    load();
    ASSERT_EQ(objects(), 1);
    EXPECT_EQ(object<Troad>(0)->Nodes().Count(), 0);
}

TEST_F(TownModelReaderTest, PlaneDirectionFromTheFileWinsOverItsUp)
{
    TownPlaneRecord p;
    p.up = {0, 1, 0};
    p.direction = {0, 3, 3}; // not perpendicular to up
    save(TownModel{{}, {}, {p}, 0});
    load();
    TGxPlane* plane = object<TGxPlane>(0);
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(VectorNear(plane->Direction().Vector4(), VectorMake(0, h, h)));
    EXPECT_TRUE(VectorNear(plane->Up().Vector4(), VectorMake(0, h, -h)));
}

TEST_F(TownModelReaderTest, LandmarkListIsReadLast)
{
    save(TownModel{{houseRecord()}, {}, {}, 0});
    std::filesystem::remove(dir.file("fl.dat"));
    std::filesystem::create_directory(dir.file("fl.dat"));
    EXPECT_EQ(loadError(), "Cannot open file \"" + dir.file("fl.dat") + "\". Is a directory");
    EXPECT_EQ(objects(), 1) << "the town is in the scene before the landmarks";
}

TEST(TownModelCompanions, LibraryAndLandmarksLieBesideTheModelWhateverItsPathLooksLike)
{
    // A bare file name lies in the working folder, and so do its companions:
    // never the root folder.
    Model3DSObject triangle;
    triangle.name = "Tri";
    triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.faces = {{0, 1, 2}};
    Model3DS mesh;
    mesh.objects = {triangle};
    LandmarkRecord landmark;
    landmark.meshFile = "tri.3ds";
    const std::string list = writeLandmarkList({landmark});
    struct Case {
        std::string model, folder;
    };
    for (const Case& c : {Case{"data.mod", "./"}, Case{"sub/data.mod", "sub/"}, Case{"/town/data.mod", "/town/"}}) {
        SCOPED_TRACE(c.model);
        const std::string folder = c.folder == "./" ? "" : c.folder;
        MemoryFileSource files;
        files.add(folder + "data.mod", writeTownModel({}).data());
        files.add(folder + "data.modt", writeMaterialLibrary(1, {}).data());
        files.add(folder + "fl.dat", std::vector<char>(list.begin(), list.end()));
        const std::string meshBytes = writeModel3DS(mesh);
        files.add(folder + "tri.3ds", std::vector<char>(meshBytes.begin(), meshBytes.end()));
        const ScopedFileSource source(files);
        TGxMaterialLibrary library;
        TGxScene scene;
        try {
            LoadObjFromFile(c.model, scene, library);
        } catch (const EGxError& e) {
            FAIL() << e.what();
        }
        ASSERT_EQ(scene.ObjectRoot()->Count(), 1);
        const auto& tri = dynamic_cast<TGxFreeForm&>(*scene.ObjectRoot()->Children(0));
        EXPECT_EQ(tri.LastLoadedFileName(), c.folder + "tri.3ds");
    }
}

// The records alone, without a scene: what is read writes back the same
// bytes, and a damaged file fails with the loader's own text.
TEST(TownModelRecords, ReadWriteAndReadAgainGiveTheSameFile)
{
    TownModel town;
    town.houses = {houseRecord({ru("Садовая улица"), ru("15А"), "5"}), houseRecord()};
    TownRoadRecord road;
    road.nodes = {{0, 0, 0.5f}, {1, 2, 0.5f}};
    road.texts = {ru("Мост"), "2"};
    road.colour = 0x123456;
    town.roads = {road, TownRoadRecord{}};
    TownPlaneRecord plane;
    plane.position = {1, 2, -3};
    plane.up = {0, 0, 1};
    plane.direction = {0, 1, 0};
    plane.width = 940;
    plane.height = 470;
    plane.materialName = "Grass";
    town.planes = {plane};
    town.trailer = 7;

    const ByteWriter first = writeTownModel(town);
    ByteReader in(first.data(), "data.mod");
    const TownModel read = readTownModel(in);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(read.houses.size(), 2u);
    EXPECT_EQ(read.houses[0].nodes, town.houses[0].nodes);
    EXPECT_EQ(read.houses[0].texts, town.houses[0].texts);
    EXPECT_EQ(read.houses[0].colour, town.houses[0].colour);
    ASSERT_EQ(read.roads.size(), 2u);
    EXPECT_EQ(read.roads[0].nodes, road.nodes);
    EXPECT_EQ(read.roads[0].texts, road.texts) << "kept, although the map does not show them";
    ASSERT_EQ(read.planes.size(), 1u);
    EXPECT_EQ(read.planes[0].position, plane.position);
    EXPECT_EQ(read.planes[0].direction, plane.direction);
    EXPECT_EQ(read.planes[0].materialName, "Grass");
    EXPECT_EQ(read.trailer, 7);
    EXPECT_EQ(writeTownModel(read).data(), first.data());

    ByteReader cut(std::vector<char>(first.data().begin(), first.data().end() - 2), "cut.mod");
    try {
        readTownModel(cut);
        ADD_FAILURE() << "a file cut inside its trailer";
    } catch (const EGxError& e) {
        EXPECT_NE(std::string(e.what()).find("\"cut.mod\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("повреждён: "), std::string::npos) << e.what();
    }
}
