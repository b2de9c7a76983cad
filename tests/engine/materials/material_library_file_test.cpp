#include "base/BmpEncoder.h"
#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "data/MaterialLibraryWriter.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
std::string bmp(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {r, g, b});
    return encodeBmp24(width, height, rgb);
}

void load(TGxMaterialLibrary& lib, const ByteWriter& file)
{
    ByteReader in(file.data(), "test.modt");
    lib.LoadFromStream(in);
}

std::string loadError(TGxMaterialLibrary& lib, const ByteWriter& file)
{
    try {
        load(lib, file);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<std::string> names(const TGxMaterialLibrary& lib)
{
    std::vector<std::string> v;
    for (int i = 0; i < lib.Materials().Count(); ++i)
        v.push_back(lib.Materials().Items(i).Name());
    return v;
}

LibMaterialRecord fullRecord()
{
    LibMaterialRecord m;
    m.name = "road";
    m.image = bmp(8, 4, 10, 20, 30);
    m.front.ambient = {0.1f, 0.2f, 0.3f};
    m.front.diffuse = {0.4f, 0.5f, 0.6f, 0.7f};
    m.front.emission = {0.01f, 0.02f, 0.03f};
    m.front.specular = {0.9f, 0.8f, 0.7f};
    m.front.shininess = 33;
    m.front.polygonMode = 1;
    m.back.diffuse = {1, 0, 0, 1};
    m.back.shininess = 200; // above the range: clamped
    m.back.polygonMode = 2;
    m.blendingMode = 5;
    m.options = 0xFF; // only the two known bits count
    m.textureOffset = {0.5f, 0, 0};
    m.textureScale = {2, 2, 1};
    m.texture2Name = "grass";
    LibTextureLayerRecord layer;
    layer.image = bmp(4, 4, 1, 2, 3);
    layer.textureIndex = 3;
    layer.offset = {1, 2, 3};
    layer.scale = {4, 5, 6};
    m.layers = {layer, LibTextureLayerRecord{std::nullopt, -2}};
    return m;
}
} // namespace

TEST(MaterialLibraryFile, Version2ReadsEveryField)
{
    TGxMaterialLibrary lib;
    LibMaterialRecord plain;
    plain.name = "grass";
    load(lib, writeMaterialLibrary(2, {fullRecord(), plain}));
    ASSERT_EQ(names(lib), (std::vector<std::string>{"road", "grass"}));

    TGxLibMaterial& road = lib.Materials().Items(0);
    const TGxMaterial& m = road.Material();
    EXPECT_EQ(m.FrontProperties().Ambient().Vector(), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(m.FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0.4f, 0.5f, 0.6f, 0.7f}));
    EXPECT_EQ(m.FrontProperties().Emission().Vector(), (std::array<float, 4>{0.01f, 0.02f, 0.03f, 1}));
    EXPECT_EQ(m.FrontProperties().Specular().Vector(), (std::array<float, 4>{0.9f, 0.8f, 0.7f, 1}));
    EXPECT_EQ(m.FrontProperties().Shininess(), 33);
    EXPECT_EQ(m.FrontProperties().PolygonMode(), pmLines);
    ASSERT_TRUE(m.HasBackProperties());
    TGxMaterial& mm = road.Material();
    EXPECT_EQ(mm.BackProperties().Diffuse().Vector(), (std::array<float, 4>{1, 0, 0, 1}));
    EXPECT_EQ(mm.BackProperties().Shininess(), 128);
    EXPECT_EQ(mm.BackProperties().PolygonMode(), pmPoints);
    EXPECT_EQ(m.BlendingMode(), bmModulate);
    EXPECT_EQ(m.MaterialOptions(), TMaterialOptions(moIgnoreFog | moNoLighting));
    EXPECT_EQ(road.TextureOffset(), (std::array<float, 3>{0.5f, 0, 0}));
    EXPECT_EQ(road.TextureScale(), (std::array<float, 3>{2, 2, 1}));
    EXPECT_EQ(road.Texture2Name(), "grass");

    TGxTexture& texture = mm.Texture();
    EXPECT_FALSE(texture.Disabled());
    EXPECT_EQ(texture.MinFilter(), miLinearMipmapLinear);
    EXPECT_EQ(texture.MagFilter(), maLinear);
    EXPECT_EQ(texture.TextureMode(), tmModulate);
    const TGxBitmap32* pixels = texture.Image().AcquirePixels(GL_TEXTURE_2D);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->Width(), 8);
    EXPECT_EQ(pixels->Height(), 4);
    EXPECT_EQ(pixels->Pixel(0, 0)[0], 10);
    texture.Image().ReleasePixels();

    TGxTextureEx& layers = mm.TextureEx();
    ASSERT_EQ(layers.Count(), 2);
    EXPECT_EQ(layers.Items(0).TextureIndex(), 3);
    EXPECT_EQ(layers.Items(0).TextureOffset(), (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(layers.Items(0).TextureScale(), (std::array<float, 3>{4, 5, 6}));
    EXPECT_FALSE(layers.Items(0).Texture().Disabled());
    EXPECT_EQ(layers.Items(1).TextureIndex(), 0);
    EXPECT_TRUE(layers.Items(1).Texture().Disabled());

    TGxMaterial& grass = lib.Materials().Items(1).Material();
    EXPECT_TRUE(grass.Texture().Disabled());
    EXPECT_EQ(grass.TextureEx().Count(), 0);
}

TEST(MaterialLibraryFile, OlderVersionsCarryFewerFields)
{
    LibMaterialRecord m = fullRecord();
    TGxMaterialLibrary v0;
    load(v0, writeMaterialLibrary(0, {m}));
    const TGxLibMaterial& e0 = v0.Materials().Items(0);
    EXPECT_EQ(e0.Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0.4f, 0.5f, 0.6f, 0.7f}));
    EXPECT_EQ(e0.Material().FrontProperties().Shininess(), 0);
    EXPECT_EQ(e0.Material().FrontProperties().PolygonMode(), pmFill);
    EXPECT_FALSE(e0.Material().HasBackProperties());
    EXPECT_EQ(e0.Material().BlendingMode(), bmOpaque);
    EXPECT_EQ(e0.Material().MaterialOptions(), 0u);
    EXPECT_TRUE(e0.TextureMatrixIsIdentity());
    EXPECT_EQ(e0.Texture2Name(), "");
    EXPECT_FALSE(e0.Material().HasTextureEx());

    TGxMaterialLibrary v1;
    load(v1, writeMaterialLibrary(1, {m}));
    const TGxLibMaterial& e1 = v1.Materials().Items(0);
    EXPECT_EQ(e1.Material().BlendingMode(), bmModulate);
    EXPECT_EQ(e1.Texture2Name(), "grass");
    EXPECT_FALSE(e1.Material().HasTextureEx());
}

TEST(MaterialLibraryFile, LoadReplacesEntriesAndUnlinksTheirUsers)
{
    TGxMaterialLibrary lib;
    lib.Materials().Add().SetName("Wand");
    TGxMaterial marker(nullptr);
    marker.SetMaterialLibrary(&lib);
    marker.SetLibMaterialName("Wand");
    ASSERT_NE(marker.LibMaterial(), nullptr);

    load(lib, writeMaterialLibrary(2, {}));
    EXPECT_EQ(lib.Materials().Count(), 0);
    EXPECT_EQ(marker.LibMaterial(), nullptr);
    EXPECT_EQ(marker.MaterialLibrary(), nullptr);
    EXPECT_EQ(marker.LibMaterialName(), "");

    lib.Materials().Add();
    ByteWriter negative;
    tagged::writeInteger(negative, 1);
    tagged::writeInteger(negative, -5);
    load(lib, negative);
    EXPECT_EQ(lib.Materials().Count(), 0);
}

TEST(MaterialLibraryFile, DuplicateNamesGetNumbers)
{
    LibMaterialRecord x;
    x.name = "x";
    LibMaterialRecord withImage = x;
    withImage.image = bmp(4, 4, 0, 0, 0);
    LibMaterialRecord upper;
    upper.name = "X";
    TGxMaterialLibrary lib;
    load(lib, writeMaterialLibrary(1, {x, withImage, x, upper}));
    EXPECT_EQ(names(lib), (std::vector<std::string>{"x", "x1", "x2", "X"}));
}

TEST(MaterialLibraryFile, DuplicateNumberingTakesTheSmallestFreeNumberAtAnyScale)
{
    // Names already numbered in the file keep their numbers free of the
    // counting; 20,000 entries of one name read as quickly as distinct ones.
    std::vector<LibMaterialRecord> records;
    std::vector<std::string> expected;
    for (const char* name : {"x", "x1", "x", "x", "x3", "x"}) {
        LibMaterialRecord r;
        r.name = name;
        records.push_back(r);
    }
    expected = {"x", "x1", "x2", "x3", "x31", "x4"};
    constexpr int kMany = 20000;
    for (int i = 0, number = 5; i < kMany; ++i, ++number) {
        records.push_back(records.front());
        if (number == 31)
            ++number;
        expected.push_back("x" + std::to_string(number));
    }
    TGxMaterialLibrary lib;
    load(lib, writeMaterialLibrary(0, records));
    EXPECT_EQ(names(lib), expected);
    EXPECT_EQ(lib.FindLibMaterial("x20005"), &lib.Materials().Items(kMany + 5));
}

TEST(MaterialLibraryFile, SmallestEntryOfEachVersionLoadsAndOneByteLessIsDamaged)
{
    // Empty name, no image, no options byte, no second texture, no layers.
    LibMaterialRecord smallest;
    smallest.optionsSize = 0;
    for (int version = 0; version <= 2; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        const ByteWriter file = writeMaterialLibrary(version, {smallest});
        TGxMaterialLibrary lib;
        EXPECT_EQ(loadError(lib, file), "(no error)");
        EXPECT_EQ(lib.Materials().Count(), 1);

        ByteWriter cut;
        cut.bytes(std::string_view(file.data().data(), file.size() - 1));
        EXPECT_EQ(loadError(lib, cut).find("Файл \"test.modt\" повреждён: "), 0u);
    }
}

TEST(MaterialLibraryFile, PicturesOfOneLibraryAreBoundedTogether)
{
    // Each picture is within the bounds and a few kilobytes long; five of
    // them are more pixels than a library may hold.
    LibMaterialRecord big;
    big.image = encodeBmpRle8(4096, 4096, 90, 160, 60);
    const std::vector<LibMaterialRecord> records(5, big);
    TGxMaterialLibrary lib;
    EXPECT_EQ(loadError(lib, writeMaterialLibrary(2, records)),
              "Библиотека материалов \"test.modt\" слишком велика: её изображения вместе больше 67108864 точек");
    EXPECT_EQ(lib.Materials().Count(), 4);
}

TEST(MaterialLibraryFile, EveryStringTagReadsTheSameName)
{
    const std::string name = cp1251::fromUtf8("Трава") + std::string(300, 'a');
    for (tagged::Tag tag : {tagged::kLongString, tagged::kWideString, tagged::kUtf8String}) {
        ByteWriter file;
        tagged::writeInteger(file, 0);
        tagged::writeInteger(file, 1);
        tagged::writeStringAs(file, tag, name);
        tagged::writeBoolean(file, false);
        for (int i = 0; i < 13; ++i)
            file.float32(0.5f);
        TGxMaterialLibrary lib;
        load(lib, file);
        EXPECT_EQ(names(lib), std::vector<std::string>{name}) << "tag " << int(tag);
    }
}

TEST(MaterialLibraryFile, OptionsBlockOfAnotherSizeStaysInsideTheField)
{
    for (int size : {0, 3}) {
        LibMaterialRecord a = fullRecord();
        a.image.reset();
        a.layers.clear();
        a.optionsSize = size;
        a.options = moNoLighting;
        LibMaterialRecord b;
        b.name = "after";
        TGxMaterialLibrary lib;
        load(lib, writeMaterialLibrary(2, {a, b}));
        ASSERT_EQ(names(lib), (std::vector<std::string>{"road", "after"})) << size;
        EXPECT_EQ(lib.Materials().Items(0).Material().MaterialOptions(), size ? TMaterialOptions(moNoLighting) : 0u);
        EXPECT_EQ(lib.Materials().Items(0).TextureScale(), (std::array<float, 3>{2, 2, 1}));
    }
}

TEST(MaterialLibraryFile, ErrorsAndWhatTheLibraryKeeps)
{
    auto withOldEntry = [](TGxMaterialLibrary& lib) {
        lib.Materials().Clear();
        lib.Materials().Add().SetName("old");
    };
    LibMaterialRecord good;
    good.name = "good";
    LibMaterialRecord badImage;
    badImage.name = "bad";
    badImage.image = "BM but not a bitmap";

    ByteWriter badVersionTag; // a string where the version should be
    tagged::writeString(badVersionTag, "2");
    ByteWriter badBoolean = writeMaterialLibrary(0, {good});
    // Second entry: its HasImage flag carries an integer tag.
    tagged::writeString(badBoolean, "second");
    tagged::writeInteger(badBoolean, 1);
    badBoolean.zeros(100);
    // Patch the count of that file to 2.
    std::vector<char> twoEntries = badBoolean.data();
    twoEntries[3] = 2;
    ByteWriter badBooleanFile;
    badBooleanFile.bytes(std::string_view(twoEntries.data(), twoEntries.size()));

    const ByteWriter full = writeMaterialLibrary(2, {good, fullRecord()});
    ByteWriter truncated;
    truncated.bytes(std::string_view(full.data().data(), full.size() - 10));
    ByteWriter hugeCount;
    tagged::writeInteger(hugeCount, 2);
    tagged::writeInteger(hugeCount, 2000000000);

    struct Case {
        const char* what;
        ByteWriter file;
        std::string message; // empty: a short-file error naming the file
        std::vector<std::string> kept;
    };
    auto versionFile = [](int v) {
        ByteWriter w;
        tagged::writeInteger(w, v);
        tagged::writeInteger(w, 0);
        return w;
    };
    const Case cases[] = {
        {"version 3", versionFile(3), "TGxMaterialLibrary : unknown archive version 3", {"old"}},
        {"version -1", versionFile(-1), "TGxMaterialLibrary : unknown archive version -1", {"old"}},
        {"version 40000", versionFile(40000), "TGxMaterialLibrary : unknown archive version 40000", {"old"}},
        {"tag of the version", badVersionTag, "TaggedReader, read type error", {"old"}},
        {"tag of a flag", badBooleanFile, "TaggedReader, read type error", {"good"}},
        {"bad bitmap", writeMaterialLibrary(1, {good, badImage, good}), "Bitmap image is not valid", {"good"}},
        {"truncated", truncated, "", {"good", "road"}},
        {"huge count", hugeCount, "", {}},
        {"empty file", ByteWriter{}, "", {"old"}},
    };
    for (const Case& c : cases) {
        TGxMaterialLibrary lib;
        withOldEntry(lib);
        const std::string message = loadError(lib, c.file);
        if (c.message.empty())
            EXPECT_NE(message.find("test.modt"), std::string::npos) << c.what << ": " << message;
        else
            EXPECT_EQ(message, c.message) << c.what;
        EXPECT_EQ(names(lib), c.kept) << c.what;
    }
}

TEST(MaterialLibraryFile, MissingFileKeepsTheEntriesAndFileLoads)
{
    TempDir dir;
    TGxMaterialLibrary lib;
    lib.Materials().Add().SetName("Wand");
    const std::string path = dir.file("data.modt");
    try {
        lib.LoadFromFile(path);
        ADD_FAILURE() << "no error";
    } catch (const EGxError& e) {
        EXPECT_EQ(std::string(e.what()), "File not found: \"" + path + "\"");
    }
    EXPECT_EQ(names(lib), std::vector<std::string>{"Wand"});

    LibMaterialRecord grass;
    grass.name = "grass";
    writeMaterialLibrary(2, {grass}).saveTo(path);
    lib.LoadFromFile(path);
    EXPECT_EQ(names(lib), std::vector<std::string>{"grass"});
}
