#include "base/ByteWriter.h"
#include "base/Cp1251.h"
#include "data/File3DSWriter.h"
#include "data/LandmarkListReader.h"
#include "map/TownBuilder.h"
#include "data/LandmarkListWriter.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/scene/GxScene.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string triangleModel()
{
    Model3DSObject o;
    o.name = "Tri";
    o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    o.faces = {{0, 1, 2}};
    Model3DS model;
    model.objects = {o};
    return writeModel3DS(model);
}

// A data folder whose mesh files are all the same triangle.
class LandmarkListTest : public ::testing::Test {
protected:
    void mesh(const std::string& relative)
    {
        const std::filesystem::path path = std::filesystem::path(dir.path()) / relative;
        std::filesystem::create_directories(path.parent_path());
        ByteWriter out;
        out.bytes(triangleModel());
        out.saveTo(path.string());
    }
    void list(const std::string& text)
    {
        ByteWriter out;
        out.bytes(text);
        out.saveTo(dir.file("fl.dat"));
    }
    void list(const std::vector<LandmarkRecord>& records, char separator = ',', const std::string& lineEnd = "\r\n")
    {
        list(writeLandmarkList(records, separator, lineEnd));
    }
    std::string loadError()
    {
        try {
            LoadLandmarks(scene, dir.path(), library);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }
    int count() const { return scene.ObjectRoot()->Count(); }
    TGxFreeForm& landmark(int i) const { return dynamic_cast<TGxFreeForm&>(*scene.ObjectRoot()->Children(i)); }

    static LandmarkRecord record(const std::string& meshFile)
    {
        LandmarkRecord r;
        r.meshFile = meshFile;
        return r;
    }

    TempDir dir;
    TGxScene scene;
    TGxMaterialLibrary library;
};

} // namespace

TEST_F(LandmarkListTest, EachBlockPlacesAndColoursAFreeForm)
{
    mesh("church.3ds");
    LandmarkRecord r = record("church.3ds");
    r.position = {12.5f, -3.25f, 0.5f};
    r.scale = {2, 3, 4};
    r.direction = {0, 1, 0};
    r.up = {0, 0, 1};
    r.colour = 0x0080FF; // red 255, green 128
    list({r});
    ASSERT_EQ(loadError(), "no error");
    ASSERT_EQ(count(), 1);
    TGxFreeForm& church = landmark(0);
    EXPECT_EQ(church.Name(), "church");
    EXPECT_EQ(church.Owner(), &scene);
    ASSERT_EQ(church.MeshObjects().size(), 1u);
    EXPECT_EQ(church.MeshObjects()[0]->Name, "Tri");
    EXPECT_EQ(church.MaterialLibrary(), nullptr);
    EXPECT_TRUE(VectorNear(church.Position().Vector4(), PointMake(12.5f, -3.25f, 0.5f)));
    EXPECT_TRUE(VectorNear(church.Scale().Vector4(), VectorMake(2, 3, 4, church.Scale().W())));
    EXPECT_TRUE(VectorNear(church.Direction().Vector4(), VectorMake(0, 1, 0)));
    EXPECT_TRUE(VectorNear(church.Up().Vector4(), VectorMake(0, 0, 1)));
    TGxMaterial& m = church.Material();
    EXPECT_EQ(m.FrontProperties().Diffuse().Vector(), (std::array<float, 4>{1, 128 / 255.0f, 0, 1}));
    EXPECT_TRUE(m.HasTexture() && m.Texture().Enabled());
    EXPECT_EQ(m.Texture().TextureMode(), tmModulate);
}

TEST_F(LandmarkListTest, LineCountDecidesHowManyLandmarksAreAskedFor)
{
    struct Case {
        std::size_t lines;
        int landmarks;
        std::string error;
    };
    const Case cases[] = {
        {0, 0, "no error"},
        {6, 0, "no error"},
        {7, 1, "List index out of bounds (7)"},   // no complete block: one more is asked for
        {14, 1, "no error"},
        {20, 1, "no error"},
        {21, 1, "no error"},                        // one block: seven surplus lines ignored
        {22, 2, "List index out of bounds (22)"},
        {28, 2, "no error"},
        {35, 3, "List index out of bounds (35)"},   // two blocks: seven lines ask for a third
    };
    std::vector<LandmarkRecord> records;
    for (int i = 0; i < 3; ++i) {
        mesh("m" + std::to_string(i) + ".3ds");
        records.push_back(record("m" + std::to_string(i) + ".3ds"));
    }
    const std::vector<std::string> all = splitLines(writeLandmarkList(records));
    ASSERT_EQ(all.size(), 42u);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines");
        std::string text;
        for (std::size_t i = 0; i < c.lines; ++i)
            text += all[i] + "\r\n";
        list(text);
        scene.ObjectRoot()->FreeChildren();
        EXPECT_EQ(loadError(), c.error);
        EXPECT_EQ(count(), c.landmarks) << "the landmark that failed stays too";
        EXPECT_EQ(landmarkCount(c.lines), c.landmarks);
    }
}

TEST_F(LandmarkListTest, NumbersTakeACommaOrAFullStopAndLinesAnyEnding)
{
    mesh("a.3ds");
    mesh("b.3ds");
    LandmarkRecord a = record("a.3ds"), b = record("b.3ds");
    a.position = b.position = {1.5f, -2.25f, 1e-5f};
    for (char separator : {',', '.'}) {
        for (const std::string& lineEnd : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
            SCOPED_TRACE(std::string("separator ") + separator + ", line end " + std::to_string(lineEnd.size()));
            scene.ObjectRoot()->FreeChildren();
            list({a, b}, separator, lineEnd);
            ASSERT_EQ(loadError(), "no error");
            ASSERT_EQ(count(), 2);
            EXPECT_TRUE(VectorNear(landmark(1).Position().Vector4(), PointMake(1.5f, -2.25f, 1e-5f), 0));
        }
    }
    // Both forms in one file: a list written here and one written in Russia.
    list("a.3ds\n1,5\n2.5\n 3 \n1\n1\n1\n0\n1\n0\n0\n0\n1\n255\n");
    scene.ObjectRoot()->FreeChildren();
    ASSERT_EQ(loadError(), "no error");
    EXPECT_TRUE(VectorNear(landmark(0).Position().Vector4(), PointMake(1.5f, 2.5f, 3)));
}

TEST_F(LandmarkListTest, BadNumbersNameTheirText)
{
    mesh("a.3ds");
    const std::string head = "a.3ds\n1\n2\n";
    const std::string rest = "\n1\n1\n1\n0\n1\n0\n0\n0\n1\n";
    struct Case {
        std::string z, colour, error;
    };
    const Case cases[] = {
        {"1,5.2", "0", "'1,5.2' is not a valid floating point value"},
        {"1 000", "0", "'1 000' is not a valid floating point value"},
        {"", "0", "'' is not a valid floating point value"},
        {"inf", "0", "'inf' is not a valid floating point value"},
        {"1e", "0", "'1e' is not a valid floating point value"},
        {"-.5E+1", "0", "no error"},
        {"3", "12.5", "'12.5' is not a valid integer value"},
        {"3", "\xE0\xE1", "'аб' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.z + " / " + c.colour);
        scene.ObjectRoot()->FreeChildren();
        list(head + c.z + rest + c.colour + "\n");
        EXPECT_EQ(loadError(), c.error);
    }
}

TEST_F(LandmarkListTest, NamesComeFromTheFileNameAndMustBeUniqueIdentifiers)
{
    struct Name {
        const char* line;
        const char* name;
    };
    for (const Name& n : {Name{"tower.3ds", "tower"}, Name{"sub\\in\\tower.3ds", "tower"},
                          Name{"C:tower.3ds", "tower"}, Name{"sub/tower.3ds", "sub/tower"}, Name{"abc", "abc"},
                          Name{".3ds", ""}, Name{"x.prj", "x"}})
        EXPECT_EQ(landmarkName(n.line), n.name) << n.line;

    mesh("sub/in/tower.3ds");
    mesh("other/Tower.3ds");
    mesh("sub/.3ds");
    mesh("other/.3ds");
    mesh("objectroot.3ds");
    mesh("9lives.3ds");
    mesh("Здания/church.3ds");
    struct Case {
        std::vector<std::string> lines;
        int loaded;
        std::string error;
    };
    const Case cases[] = {
        {{"sub\\in\\tower.3ds"}, 1, "no error"},
        {{"sub\\in\\tower.3ds", "other\\Tower.3ds"}, 2, "A component named Tower already exists"},
        {{"sub\\.3ds", "other\\.3ds"}, 2, "no error"}, // empty names never clash
        {{"sub/in/tower.3ds"}, 1, "''sub/in/tower'' is not a valid component name"},
        {{"objectroot.3ds"}, 1, "A component named objectroot already exists"},
        {{"9lives.3ds"}, 1, "''9lives'' is not a valid component name"},
        {{"sub\\none.3ds"}, 1, "File not found: \"" + dir.path() + "/sub\\none.3ds\""},
        // The list is in the Windows code page, the folder's name on disk in UTF-8.
        {{cp1251::fromUtf8("Здания\\church.3ds")}, 1, "no error"},
        {{cp1251::fromUtf8("Здания\\нет.3ds")}, 1, "File not found: \"" + dir.path() + "/Здания\\нет.3ds\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.back());
        scene.ObjectRoot()->FreeChildren();
        std::vector<LandmarkRecord> records;
        for (const std::string& line : c.lines)
            records.push_back(record(line));
        list(records);
        EXPECT_EQ(loadError(), c.error);
        EXPECT_EQ(count(), c.loaded);
    }
    // The tower came from the sub-folder.
    scene.ObjectRoot()->FreeChildren();
    list({record("sub\\in\\tower.3ds")});
    ASSERT_EQ(loadError(), "no error");
    EXPECT_EQ(landmark(0).LastLoadedFileName(), dir.path() + "/sub\\in\\tower.3ds");
}

TEST_F(LandmarkListTest, MissingListIsAnError)
{
    EXPECT_EQ(loadError(), "Cannot open file \"" + dir.file("fl.dat") + "\". No such file or directory");
    EXPECT_EQ(count(), 0);
}

// The records alone, without a scene or mesh files: what is read writes back
// the same text, and a bad number fails with the loader's own text.
TEST_F(LandmarkListTest, ReadWriteAndReadAgainGiveTheSameList)
{
    LandmarkRecord church = record("sub\\church.3ds");
    church.position = {1.5f, -2.25f, 1e-5f};
    church.scale = {2, 2, 0.5f};
    church.direction = {0, 0, 1};
    church.up = {0, 1, 0};
    church.colour = 0xFF8000;
    LandmarkRecord tower = record(cp1251::fromUtf8("башня.3ds"));
    tower.colour = 0;
    const std::string text = writeLandmarkList({church, tower});
    list(text);

    const std::vector<LandmarkRecord> read = readLandmarkList(dir.path());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].meshFile, church.meshFile);
    EXPECT_EQ(read[0].position, church.position);
    EXPECT_EQ(read[0].scale, church.scale);
    EXPECT_EQ(read[0].direction, church.direction);
    EXPECT_EQ(read[0].up, church.up);
    EXPECT_EQ(read[0].colour, church.colour);
    EXPECT_EQ(read[1].meshFile, tower.meshFile);
    EXPECT_EQ(writeLandmarkList(read), text);

    list("a.3ds\n1\n2\n1 000\n1\n1\n1\n0\n1\n0\n0\n0\n1\n255\n");
    try {
        readLandmarkList(dir.path());
        ADD_FAILURE() << "a bad number";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "'1 000' is not a valid floating point value");
    }
}
