#include "ReaderTargets.h"

#include "map/MainScene.h"
#include "map/MapState.h"
#include "base/ByteReader.h"
#include "base/FileSource.h"
#include "data/OrgDirectoryReader.h"
#include "data/OrgPlacesReader.h"
#include "data/LandmarkListReader.h"
#include "data/TownIniReader.h"
#include "data/TownModelReader.h"
#include "engine/materials/GxBitmap32.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/GxTextureImage.h"
#include "engine/materials/JpegDecoder.h"
#include "engine/materials/PictureFile.h"
#include "engine/objects/GxFreeForm.h"
#include "base/GxException.h"
#include "directory/Selection.h"

#include <QString>
#include <stdexcept>

namespace fuzz {

namespace {
ByteReader readerOf(std::string_view input, const std::string& name)
{
    return ByteReader(std::vector<char>(input.begin(), input.end()), name);
}

// The pixels an upload would take from a texture.
void takePixels(TGxTexture& texture)
{
    if (texture.Disabled())
        return;
    texture.Image().AcquirePixels(GL_TEXTURE_2D);
    texture.Image().ReleasePixels();
}

void takePicture(const Picture& picture)
{
    TGxBitmap32 pixels;
    pixels.Assign(picture);
}

const std::string kTownFolder = "/town/data/";
} // namespace

Result runTown(std::string_view input)
{
    MemoryFileSource files;
    for (auto& [name, bytes] : unbundleFiles(input))
        files.add(kTownFolder + name, std::vector<char>(bytes.begin(), bytes.end()));
    const ScopedFileSource source(files);
    MainScene scene;
    return guarded([&] {
        scene.LoadObjFromFile(kTownFolder + "data.mod");
        scene.Set3D(MapState{}.HeightScale);
        DeSelectAll(scene.GxScene);
    });
}

Result runTownModel(std::string_view input)
{
    ByteReader in = readerOf(input, "data.mod");
    return guarded([&] {
        const TownModel town = readTownModel(in);
        // What was read writes back to bytes that read the same again.
        const ByteWriter written = writeTownModel(town);
        ByteReader again(written.data(), "again.mod");
        if (writeTownModel(readTownModel(again)).data() != written.data())
            throw std::logic_error("data.mod read back differs from what was written");
    });
}

Result runLandmarkList(std::string_view input)
{
    return guarded([&] {
        const LandmarkList list(splitLines(std::string(input)));
        for (int i = 0; i < list.count(); ++i)
            list.record(i);
    });
}

Result runMaterialLibrary(std::string_view input)
{
    const MemoryFileSource noFiles;
    const ScopedFileSource source(noFiles);
    TGxMaterialLibrary library;
    ByteReader in = readerOf(input, "data.modt");
    return guarded([&] {
        library.LoadFromStream(in);
        for (int i = 0; i < library.Materials().Count(); ++i) {
            TGxMaterial& material = library.Materials().Items(i).Material();
            if (material.HasTexture())
                takePixels(material.Texture());
            if (material.HasTextureEx())
                for (int k = 0; k < material.TextureEx().Count(); ++k)
                    takePixels(material.TextureEx().Items(k).Texture());
        }
    });
}

Result runDirectory(std::string_view input)
{
    ByteReader in = readerOf(input, "data.tmd");
    return guarded([&] {
        const OrgDirectory dir = readOrgDirectory(in);
        if (dir.truncationError)
            throw EGxError(*dir.truncationError);
    });
}

Result runOrgPlaces(std::string_view input)
{
    ByteReader in = readerOf(input, "orgplaces.dat");
    return guarded([&] {
        const OrgPlaces places = readOrgPlaces(in);
        // The layout has one form for each content: no padding, nothing clipped.
        const ByteWriter written = writeOrgPlaces(places);
        if (std::string_view(written.data().data(), written.size()) != input)
            throw std::logic_error("orgplaces.dat written back differs from what was read");
    });
}

Result runMesh3DS(std::string_view input)
{
    const MemoryFileSource noFiles;
    const ScopedFileSource source(noFiles);
    TGxMaterialLibrary library;
    TGxScene scene;
    auto* mesh = scene.ObjectRoot()->SpawnChild<TGxFreeForm>();
    mesh->SetMaterialLibrary(&library);
    mesh->SetSkipMissingTextures(true);
    ByteReader in = readerOf(input, "mesh.3ds");
    return guarded([&] { mesh->LoadMeshStream("mesh.3ds", in); });
}

Result runBmp(std::string_view input)
{
    return guarded([&] { takePicture(decodeBmpPicture(input)); });
}

Result runJpeg(std::string_view input)
{
    return guarded([&] {
        Picture picture;
        picture.kind = Picture::Kind::Jpeg;
        picture.bitsPerPixel = 24;
        picture.image = decodeJpeg(input);
        takePicture(picture);
    });
}

Result runTownIni(std::string_view input)
{
    // As much of the file as the reader looks at, and the caption made of it.
    const std::optional<std::string> title = parseTownTitle(input.substr(0, kTownIniReadLimit));
    if (title && (title->empty() || QString::fromStdString(*title).isEmpty()))
        throw std::logic_error("town.ini gave an empty title");
    return {true, {}};
}

} // namespace fuzz
