#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes 3D Studio chunks: each chunk's length is filled in when it ends.
// Used to make the demo town's landmark models and the tests' fixtures.
class Chunk3DSWriter {
public:
    void begin(std::uint16_t id);
    void end();
    // A header with a length of one's own (for damaged fixtures).
    void header(std::uint16_t id, std::uint32_t length);

    void u8(std::uint8_t v);
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void f32(float v);
    // Zero-terminated.
    void cstring(std::string_view s);
    void raw(std::string_view bytes);

    // Every chunk must have ended.
    const std::string& bytes() const;
    void saveTo(const std::string& path) const;

private:
    std::string m_data;
    std::vector<std::size_t> m_open;
};

// A whole file in the shape the landmark reader uses.
struct Model3DSMaterial {
    std::string name;
    std::array<float, 3> ambient{0.2f, 0.2f, 0.2f};
    std::array<float, 3> diffuse{0.8f, 0.8f, 0.8f};
    std::array<float, 3> specular{0, 0, 0};
    bool byteColours = false;        // COLOR_24 instead of COLOR_F
    std::optional<float> shininess;  // fractions 0..1, written as percentages
    std::optional<float> shininessStrength;
    std::string textureFile;         // empty: no texture map
};

struct Model3DSGroup {
    std::string material;
    std::vector<std::uint16_t> faces;
};

struct Model3DSObject {
    std::string name;
    bool hidden = false;
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::array<float, 2>> texVertices;   // empty: no TEX_VERTS chunk
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::optional<std::vector<std::uint32_t>> smoothing; // none: no SMOOTH_GROUP chunk
    std::vector<Model3DSGroup> groups;
};

struct Model3DS {
    std::vector<Model3DSMaterial> materials;
    std::vector<Model3DSObject> objects;
};

// The file: M3DMAGIC, version, editor data with the materials and objects.
std::string writeModel3DS(const Model3DS& model);
void writeMaterial3DS(Chunk3DSWriter& out, const Model3DSMaterial& material);
void writeObject3DS(Chunk3DSWriter& out, const Model3DSObject& object);
