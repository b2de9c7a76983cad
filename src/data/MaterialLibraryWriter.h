#pragma once

#include "base/ByteWriter.h"
#include "base/TaggedReader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Tagged values of the material library file.
namespace tagged {
// The shortest integer form that holds the value.
void writeInteger(ByteWriter& out, std::int32_t value);
void writeBoolean(ByteWriter& out, bool value);
// Tag 6 up to 255 bytes, tag 12 beyond.
void writeString(ByteWriter& out, const std::string& bytes);
// Windows-1251 text with a chosen string tag (6, 12, 18 or 20), converted
// to UTF-16 or UTF-8 for the last two.
void writeStringAs(ByteWriter& out, Tag tag, const std::string& bytes);
void writeColour(ByteWriter& out, const float* components, int count);
} // namespace tagged

struct LibTextureLayerRecord {
    std::optional<std::string> image; // a complete BMP file
    std::int32_t textureIndex = 0;
    std::array<float, 3> offset{0, 0, 0};
    std::array<float, 3> scale{1, 1, 1};
};

struct LibFaceRecord {
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    std::array<float, 3> emission{0, 0, 0};
    std::array<float, 3> specular{0, 0, 0};
    std::uint8_t shininess = 0;
    std::int32_t polygonMode = 0;
};

struct LibMaterialRecord {
    std::string name;
    std::optional<std::string> image; // a complete BMP file
    LibFaceRecord front;
    LibFaceRecord back;              // version >= 1
    std::int32_t blendingMode = 0;   // version >= 1
    std::uint8_t options = 0;        // version >= 1
    std::int32_t optionsSize = 1;    // the options block: the byte, then zeros
    std::array<float, 3> textureOffset{0, 0, 0};
    std::array<float, 3> textureScale{1, 1, 1};
    std::string texture2Name;
    std::vector<LibTextureLayerRecord> layers; // version >= 2
};

// A data.modt material library of the given archive version (0, 1 or 2).
ByteWriter writeMaterialLibrary(int version, const std::vector<LibMaterialRecord>& materials);
void writeMaterialEntry(ByteWriter& out, int version, const LibMaterialRecord& m);
