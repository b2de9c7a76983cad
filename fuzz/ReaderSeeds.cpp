// Seed inputs of the reader targets, made by the project's own writers and
// the demo town's generator: small, sound files that reach every record
// kind, so that the fuzzer starts from inputs the readers accept.
#include "ReaderTargets.h"

#include "TownGenerator.h"

#include "base/BmpEncoder.h"
#include "base/ByteWriter.h"
#include "data/File3DSWriter.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/OrgDirectoryWriter.h"
#include "data/OrgPlacesWriter.h"
#include "data/TownIniWriter.h"
#include "data/TownModelWriter.h"
#include "engine/materials/JpegEncoder.h"

#include <QBuffer>
#include <QImage>

namespace fuzz {

namespace {
std::string text(const ByteWriter& out)
{
    return std::string(out.data().begin(), out.data().end());
}

// A picture with some structure in it, so encoders have work to do.
std::vector<std::uint8_t> gradient(int width, int height)
{
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rgb.push_back(std::uint8_t(x * 255 / std::max(1, width - 1)));
            rgb.push_back(std::uint8_t(y * 255 / std::max(1, height - 1)));
            rgb.push_back(std::uint8_t((x ^ y) * 16));
        }
    return rgb;
}

QImage gradientImage(int width, int height)
{
    const std::vector<std::uint8_t> rgb = gradient(width, height);
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::copy_n(rgb.data() + std::size_t(y) * width * 3, width * 3, image.scanLine(y));
    return image;
}

// The toolkit's own BMP writer: other depths than our 24 bits.
std::string qtBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

// The demo town, small: a few houses on its streets, its ground planes and
// its landmarks; textures shrunk so the input stays small.
const GeneratedTown& smallTown()
{
    static const GeneratedTown town = [] {
        TownOptions options;
        options.houses = 12;
        options.organisations = 8;
        GeneratedTown t = generateTown(options);
        for (LibMaterialRecord& m : t.materials)
            if (m.image)
                m.image = encodeBmp24(4, 4, gradient(4, 4));
        return t;
    }();
    return town;
}

// The landmark models of the full demo town (the small one has room for
// the monument only).
const std::vector<LandmarkMesh>& demoLandmarkMeshes()
{
    static const std::vector<LandmarkMesh> meshes = [] {
        TownOptions options;
        options.organisations = 1;
        return generateTown(options).landmarkMeshes;
    }();
    return meshes;
}

Model3DS texturedModel()
{
    Model3DSMaterial brick;
    brick.name = "Brick";
    brick.diffuse = {0.7f, 0.3f, 0.2f};
    brick.shininess = 0.25f;
    brick.shininessStrength = 0.5f;
    brick.textureFile = "brick.bmp";
    Model3DSMaterial slate;
    slate.name = "Slate";
    slate.byteColours = true;
    Model3DSObject box;
    box.name = "Box";
    box.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    box.texVertices = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    box.faces = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4}};
    box.smoothing = std::vector<std::uint32_t>{1, 1, 2, 2, 6, 3};
    box.groups = {{"Brick", {0, 1, 4, 5}}, {"Slate", {2, 3}}};
    Model3DSObject hidden;
    hidden.name = "Hidden";
    hidden.hidden = true;
    hidden.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    hidden.faces = {{0, 1, 2}};
    Model3DS model;
    model.materials = {brick, slate};
    model.objects = {box, hidden};
    return model;
}

LibMaterialRecord material(const std::string& name, bool image)
{
    LibMaterialRecord m;
    m.name = name;
    if (image)
        m.image = encodeBmp24(3, 2, gradient(3, 2));
    return m;
}
} // namespace

Files townSeeds()
{
    const GeneratedTown& town = smallTown();
    Files demo = {{"data.mod", text(writeTownModel(town.model))},
                  {"data.modt", text(writeMaterialLibrary(2, town.materials))},
                  {"fl.dat", writeLandmarkList(town.landmarks)}};
    for (const LandmarkMesh& mesh : town.landmarkMeshes)
        demo.emplace_back(mesh.file, mesh.bytes);

    // Houses with every number of texts, a road with texts, a plane, one
    // landmark in a sub-folder.
    TownModel model;
    TownHouseRecord house;
    house.nodes = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    for (std::size_t texts = 0; texts <= 3; ++texts) {
        house.texts.assign({"Lenina", "12", "3"});
        house.texts.resize(texts);
        model.houses.push_back(house);
    }
    TownRoadRecord road;
    road.nodes = {{0, 0, 0.1f}, {10, 0, 0.1f}, {10, 1, 0.1f}};
    road.texts = {"road"};
    model.roads.push_back(road);
    TownPlaneRecord plane;
    plane.materialName = "grass";
    model.planes.push_back(plane);
    LandmarkRecord landmark;
    landmark.meshFile = "models\\box.3ds";
    const Files small = {{"data.mod", text(writeTownModel(model))},
                         {"data.modt", text(writeMaterialLibrary(1, {material("grass", true)}))},
                         {"fl.dat", writeLandmarkList({landmark}, '.', "\n")},
                         {"models/box.3ds", writeModel3DS(texturedModel())}};
    const Files empty = {{"data.mod", text(writeTownModel({}))},
                         {"data.modt", text(writeMaterialLibrary(2, {}))},
                         {"fl.dat", ""}};
    return {{"demo-town", bundleFiles(demo)}, {"small-town", bundleFiles(small)}, {"empty-town", bundleFiles(empty)}};
}

// One file of each town seed, on its own.
static Files fileOfEachTown(const std::string& file)
{
    Files seeds;
    for (const auto& [town, bundle] : townSeeds())
        for (const auto& [name, bytes] : unbundleFiles(bundle))
            if (name == file)
                seeds.emplace_back(town, bytes);
    return seeds;
}

Files townModelSeeds()
{
    return fileOfEachTown("data.mod");
}

Files landmarkListSeeds()
{
    return fileOfEachTown("fl.dat");
}

Files materialLibrarySeeds()
{
    LibMaterialRecord layered = material("layered", true);
    layered.layers.push_back({encodeBmp24(2, 2, gradient(2, 2)), 1, {0.5f, 0, 0}, {2, 2, 1}});
    layered.layers.push_back({std::nullopt, 2, {0, 0, 0}, {1, 1, 1}});
    layered.texture2Name = "plain";
    layered.blendingMode = 1;
    layered.options = 3;
    const std::vector<LibMaterialRecord> materials = {material("plain", false), layered, material("plain", true)};
    Files seeds;
    for (int version = 0; version <= 2; ++version)
        seeds.emplace_back("version" + std::to_string(version), text(writeMaterialLibrary(version, materials)));
    // Version 0 entries by hand: names and a picture in the other string forms.
    ByteWriter tags;
    tagged::writeInteger(tags, 0);
    tagged::writeInteger(tags, 2);
    const float colours[13] = {0.2f, 0.2f, 0.2f, 0.8f, 0.8f, 0.8f, 1, 0, 0, 0, 0, 0, 0};
    tagged::writeStringAs(tags, tagged::kUtf8String, "utf8");
    tagged::writeBoolean(tags, false);
    tagged::writeColour(tags, colours, 13);
    tagged::writeStringAs(tags, tagged::kWideString, "wide");
    tagged::writeBoolean(tags, true);
    tagged::writeStringAs(tags, tagged::kLongString, encodeBmp24(2, 3, gradient(2, 3)));
    tagged::writeColour(tags, colours, 13);
    seeds.emplace_back("string-tags", text(tags));
    seeds.emplace_back("demo", text(writeMaterialLibrary(2, smallTown().materials)));
    return seeds;
}

Files directorySeeds()
{
    return {{"demo", text(writeOrgDirectory(smallTown().organisations))},
            {"empty", text(writeOrgDirectory({}))},
            {"negative-count", text(writeOrgDirectory({}, -1))}};
}

Files orgPlacesSeeds()
{
    // Every place kind, hours empty, Cyrillic and at the bound.
    OrgPlaces mixed;
    OrgPlace inHouse;
    inHouse.place = OrgPlace::Place::House;
    inHouse.house = 11;
    inHouse.kind = 4;
    inHouse.hours = "Mo-Fr 09:00-18:00; Sa 10:00-16:00; PH off";
    OrgPlace atPoint;
    atPoint.place = OrgPlace::Place::Point;
    atPoint.x = -312.5f;
    atPoint.y = 97.25f;
    atPoint.kind = 17;
    atPoint.hours = "пн-пт 9:00-18:00 \"по записи\"";
    OrgPlace unplaced;
    OrgPlace longHours = atPoint;
    longHours.hours = std::string(255, '7');
    mixed.entries = {inHouse, atPoint, unplaced, longHours, inHouse};
    return {{"mixed", text(writeOrgPlaces(mixed))},
            {"demo", text(writeOrgPlaces(smallTown().places))},
            {"empty", text(writeOrgPlaces({}))}};
}

Files mesh3DSSeeds()
{
    Files seeds = {{"textured-box", writeModel3DS(texturedModel())}};
    for (const LandmarkMesh& mesh : demoLandmarkMeshes())
        seeds.emplace_back(mesh.file, mesh.bytes);
    return seeds;
}

Files bmpSeeds()
{
    const QImage picture = gradientImage(7, 5);
    return {{"rgb24-1x1", encodeBmp24(1, 1, gradient(1, 1))},
            {"rgb24-7x5", encodeBmp24(7, 5, gradient(7, 5))},
            {"rgb32-7x5", qtBmp(picture.convertToFormat(QImage::Format_ARGB32))},
            {"indexed8-7x5", qtBmp(picture.convertToFormat(QImage::Format_Indexed8))},
            {"mono-7x5", qtBmp(picture.convertToFormat(QImage::Format_Mono))}};
}

Files jpegSeeds()
{
    return {{"baseline-8x8", encodeJpeg(gradientImage(8, 8), 90)},
            {"baseline-102x60", encodeJpeg(gradientImage(102, 60), 75)},
            {"progressive-17x9", encodeJpeg(gradientImage(17, 9), 80, true)},
            {"gray-16x16", encodeJpeg(gradientImage(16, 16).convertToFormat(QImage::Format_Grayscale8), 60)}};
}

Files townIniSeeds()
{
    return {{"written", writeTownIni("Москва, Тверской район")},
            {"by-hand", "\xEF\xBB\xBF; made by hand\r\n[other]\r\ntitle=no\r\n# title=old\r\n"
                        "[ Town ]\r\n  TITLE = Тверь = [x] \r\nname=y\r\n[town\r\n"}};
}

} // namespace fuzz
