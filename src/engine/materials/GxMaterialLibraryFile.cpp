// Reading the material library file (data.modt) into a TGxMaterialLibrary.
#include "engine/materials/GxMaterialLibrary.h"

#include "base/ByteReader.h"
#include "base/FileStream.h"
#include "base/PictureLimits.h"
#include "base/TaggedReader.h"
#include "engine/materials/PictureFile.h"

namespace {
// The smallest entry each version can hold, so that a huge count fails
// before anything is read.
constexpr std::size_t kMinEntrySize[] = {55, 143, 145};
constexpr std::size_t kMinLayerSize = 27;


void readFloats(ByteReader& in, float* out, int count)
{
    for (int i = 0; i < count; ++i)
        out[i] = in.float32();
}

std::array<float, 3> readVector(ByteReader& in)
{
    std::array<float, 3> v{};
    readFloats(in, v.data(), 3);
    return v;
}

void readFace(TaggedReader& r, TGxFaceProperties& face, bool withShininessAndMode)
{
    ByteReader& in = r.Raw();
    readFloats(in, face.Ambient().DirectVector().data(), 3);
    readFloats(in, face.Diffuse().DirectVector().data(), 4);
    readFloats(in, face.Emission().DirectVector().data(), 3);
    readFloats(in, face.Specular().DirectVector().data(), 3);
    if (!withShininessAndMode)
        return;
    face.SetShininess(in.uint8());
    const std::int32_t mode = r.ReadInteger();
    if (mode < pmFill || mode > pmPoints)
        in.failDamaged("недопустимый режим многоугольников " + std::to_string(mode));
    face.SetPolygonMode(static_cast<TPolygonMode>(mode));
}

// The pictures of one library together: a few bytes of run-length coded
// bitmap can stand for millions of pixels, so their sum is bounded too.
class PictureBudget {
public:
    explicit PictureBudget(const ByteReader& in) : m_in(in) {}

    Picture read(TaggedReader& r)
    {
        Picture picture = decodeBmpPicture(r.ReadString());
        m_pixels += std::int64_t(picture.image.width()) * picture.image.height();
        if (m_pixels > kMaxLibraryPixels)
            throw EGxError("Библиотека материалов \"" + m_in.fileName() + "\" слишком велика: её изображения вместе "
                           "больше " + std::to_string(kMaxLibraryPixels) + " точек");
        return picture;
    }

    static constexpr std::int64_t kMaxLibraryPixels = 4 * kMaxPicturePixels;

private:
    const ByteReader& m_in;
    std::int64_t m_pixels = 0;
};

void readLayers(TaggedReader& r, TGxMaterial& material, PictureBudget& pictures)
{
    ByteReader& in = r.Raw();
    const std::int32_t count = r.ReadInteger();
    in.requireRecords(count, kMinLayerSize);
    for (std::int32_t i = 0; i < count; ++i) {
        TGxTextureExItem& layer = material.TextureEx().Add();
        if (r.ReadBoolean()) {
            layer.Texture().AssignPicture(pictures.read(r));
            layer.Texture().SetDisabled(false);
        }
        layer.SetTextureIndex(r.ReadInteger());
        layer.SetTextureOffset(readVector(in));
        layer.SetTextureScale(readVector(in));
    }
}
} // namespace

void TGxMaterialLibrary::LoadFromFile(const std::string& path)
{
    ByteReader in = openFileStream(path);
    LoadFromStream(in);
}

void TGxMaterialLibrary::LoadFromStream(ByteReader& in)
{
    TaggedReader r(in);
    const std::int32_t version = r.ReadInteger();
    if (version < 0 || version > 2)
        throw EGxError("TGxMaterialLibrary : unknown archive version " + std::to_string(version));
    if (!AddOnLoad)
        m_materials.Clear();
    const std::int32_t count = r.ReadInteger();
    in.requireRecords(count, kMinEntrySize[version]);
    PictureBudget pictures(in);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string name = r.ReadString();
        TGxLibMaterial* entry;
        if (r.ReadBoolean()) {
            entry = &AddBitmapMaterial(name, pictures.read(r));
        } else {
            entry = &m_materials.Add(name);
        }
        TGxMaterial& material = entry->Material();
        readFace(r, material.FrontProperties(), version >= 1);
        if (version >= 1) {
            readFace(r, material.BackProperties(), true);
            const std::int32_t blending = r.ReadInteger();
            if (blending < bmOpaque || blending > bmModulate)
                in.failDamaged("недопустимый режим смешивания " + std::to_string(blending));
            material.SetBlendingMode(static_cast<TBlendingMode>(blending));
            const std::int32_t optionsSize = r.ReadInteger();
            if (optionsSize < 0)
                in.failDamaged("недопустимый размер параметров материала " + std::to_string(optionsSize));
            // Only the first byte holds options; any further bytes are skipped.
            if (optionsSize > 0) {
                const std::string options = in.bytes(static_cast<std::size_t>(optionsSize));
                material.SetMaterialOptions(static_cast<unsigned char>(options[0]) & (moIgnoreFog | moNoLighting));
            }
            entry->SetTextureOffset(readVector(in));
            entry->SetTextureScale(readVector(in));
            entry->SetTexture2Name(r.ReadString());
        }
        if (version >= 2)
            readLayers(r, material, pictures);
    }
}
