#include "data/MaterialLibraryWriter.h"

#include "base/Cp1251.h"

#include <QString>

namespace tagged {

void writeInteger(ByteWriter& out, std::int32_t value)
{
    if (value >= -128 && value <= 127) {
        out.uint8(kInt8);
        out.int8(static_cast<std::int8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        out.uint8(kInt16);
        out.int16(static_cast<std::int16_t>(value));
    } else {
        out.uint8(kInt32);
        out.int32(value);
    }
}

void writeBoolean(ByteWriter& out, bool value)
{
    out.uint8(value ? kTrue : kFalse);
}

void writeString(ByteWriter& out, const std::string& bytes)
{
    if (bytes.size() <= 255) {
        out.uint8(kShortString);
        out.uint8(static_cast<std::uint8_t>(bytes.size()));
    } else {
        out.uint8(kLongString);
        out.int32(static_cast<std::int32_t>(bytes.size()));
    }
    out.bytes(bytes);
}

void writeStringAs(ByteWriter& out, Tag tag, const std::string& bytes)
{
    out.uint8(tag);
    switch (tag) {
    case kShortString:
        out.uint8(static_cast<std::uint8_t>(bytes.size()));
        out.bytes(bytes);
        break;
    case kWideString: {
        const QString text = cp1251::decode(bytes);
        out.int32(static_cast<std::int32_t>(text.size()));
        for (QChar c : text)
            out.int16(static_cast<std::int16_t>(c.unicode()));
        break;
    }
    case kUtf8String: {
        const QByteArray utf8 = cp1251::decode(bytes).toUtf8();
        out.int32(static_cast<std::int32_t>(utf8.size()));
        out.bytes(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        break;
    }
    default:
        out.int32(static_cast<std::int32_t>(bytes.size()));
        out.bytes(bytes);
        break;
    }
}

void writeColour(ByteWriter& out, const float* components, int count)
{
    for (int i = 0; i < count; ++i)
        out.float32(components[i]);
}

} // namespace tagged

namespace {
void writeFace(ByteWriter& out, const LibFaceRecord& f, bool withShininessAndMode)
{
    tagged::writeColour(out, f.ambient.data(), 3);
    tagged::writeColour(out, f.diffuse.data(), 4);
    tagged::writeColour(out, f.emission.data(), 3);
    tagged::writeColour(out, f.specular.data(), 3);
    if (withShininessAndMode) {
        out.uint8(f.shininess);
        tagged::writeInteger(out, f.polygonMode);
    }
}

void writeVector(ByteWriter& out, const std::array<float, 3>& v)
{
    tagged::writeColour(out, v.data(), 3);
}
} // namespace

void writeMaterialEntry(ByteWriter& out, int version, const LibMaterialRecord& m)
{
    tagged::writeString(out, m.name);
    tagged::writeBoolean(out, m.image.has_value());
    if (m.image)
        tagged::writeString(out, *m.image);
    writeFace(out, m.front, version >= 1);
    if (version >= 1) {
        writeFace(out, m.back, true);
        tagged::writeInteger(out, m.blendingMode);
        tagged::writeInteger(out, m.optionsSize);
        if (m.optionsSize > 0) {
            out.uint8(m.options);
            out.zeros(static_cast<std::size_t>(m.optionsSize - 1));
        }
        writeVector(out, m.textureOffset);
        writeVector(out, m.textureScale);
        tagged::writeString(out, m.texture2Name);
    }
    if (version >= 2) {
        tagged::writeInteger(out, static_cast<std::int32_t>(m.layers.size()));
        for (const LibTextureLayerRecord& l : m.layers) {
            tagged::writeBoolean(out, l.image.has_value());
            if (l.image)
                tagged::writeString(out, *l.image);
            tagged::writeInteger(out, l.textureIndex);
            writeVector(out, l.offset);
            writeVector(out, l.scale);
        }
    }
}

ByteWriter writeMaterialLibrary(int version, const std::vector<LibMaterialRecord>& materials)
{
    ByteWriter out;
    tagged::writeInteger(out, version);
    tagged::writeInteger(out, static_cast<std::int32_t>(materials.size()));
    for (const LibMaterialRecord& m : materials)
        writeMaterialEntry(out, version, m);
    return out;
}
