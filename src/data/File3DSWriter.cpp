#include "data/File3DSWriter.h"

#include "base/ByteWriter.h"
#include "base/GxException.h"

#include <cstring>

void Chunk3DSWriter::begin(std::uint16_t id)
{
    m_open.push_back(m_data.size());
    u16(id);
    u32(0);
}

void Chunk3DSWriter::end()
{
    gxAssert(!m_open.empty(), "Chunk3DSWriter: end without begin");
    const std::size_t start = m_open.back();
    m_open.pop_back();
    const std::uint32_t length = std::uint32_t(m_data.size() - start);
    for (int i = 0; i < 4; ++i)
        m_data[start + 2 + std::size_t(i)] = char((length >> (8 * i)) & 0xFF);
}

void Chunk3DSWriter::header(std::uint16_t id, std::uint32_t length)
{
    u16(id);
    u32(length);
}

void Chunk3DSWriter::u8(std::uint8_t v)
{
    m_data += char(v);
}

void Chunk3DSWriter::u16(std::uint16_t v)
{
    m_data += char(v & 0xFF);
    m_data += char(v >> 8);
}

void Chunk3DSWriter::u32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_data += char((v >> (8 * i)) & 0xFF);
}

void Chunk3DSWriter::f32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void Chunk3DSWriter::cstring(std::string_view s)
{
    m_data.append(s);
    m_data += '\0';
}

void Chunk3DSWriter::raw(std::string_view bytes)
{
    m_data.append(bytes);
}

const std::string& Chunk3DSWriter::bytes() const
{
    gxAssert(m_open.empty(), "Chunk3DSWriter: a chunk is still open");
    return m_data;
}

void Chunk3DSWriter::saveTo(const std::string& path) const
{
    ByteWriter out;
    out.bytes(bytes());
    out.saveTo(path);
}

namespace {
void colour(Chunk3DSWriter& out, std::uint16_t id, const std::array<float, 3>& c, bool asBytes)
{
    out.begin(id);
    if (asBytes) {
        out.begin(0x0011);
        for (float v : c)
            out.u8(std::uint8_t(v * 255.0f + 0.5f));
    } else {
        out.begin(0x0010);
        for (float v : c)
            out.f32(v);
    }
    out.end();
    out.end();
}

void percentage(Chunk3DSWriter& out, std::uint16_t id, float fraction)
{
    out.begin(id);
    out.begin(0x0030);
    out.u16(std::uint16_t(std::int16_t(fraction * 100.0f + (fraction >= 0 ? 0.5f : -0.5f))));
    out.end();
    out.end();
}
} // namespace

void writeMaterial3DS(Chunk3DSWriter& out, const Model3DSMaterial& m)
{
    out.begin(0xAFFF);
    out.begin(0xA000);
    out.cstring(m.name);
    out.end();
    colour(out, 0xA010, m.ambient, m.byteColours);
    colour(out, 0xA020, m.diffuse, m.byteColours);
    colour(out, 0xA030, m.specular, m.byteColours);
    if (m.shininess)
        percentage(out, 0xA040, *m.shininess);
    if (m.shininessStrength)
        percentage(out, 0xA041, *m.shininessStrength);
    out.begin(0xA100); // shading: Phong
    out.u16(3);
    out.end();
    if (!m.textureFile.empty()) {
        out.begin(0xA200);
        out.begin(0x0030);
        out.u16(100);
        out.end();
        out.begin(0xA300);
        out.cstring(m.textureFile);
        out.end();
        out.end();
    }
    out.end();
}

void writeObject3DS(Chunk3DSWriter& out, const Model3DSObject& o)
{
    out.begin(0x4000);
    out.cstring(o.name);
    if (o.hidden) {
        out.begin(0x4010);
        out.end();
    }
    out.begin(0x4100);
    out.begin(0x4110);
    out.u16(std::uint16_t(o.vertices.size()));
    for (const auto& v : o.vertices)
        for (float c : v)
            out.f32(c);
    out.end();
    if (!o.texVertices.empty()) {
        out.begin(0x4140);
        out.u16(std::uint16_t(o.texVertices.size()));
        for (const auto& uv : o.texVertices)
            for (float c : uv)
                out.f32(c);
        out.end();
    }
    out.begin(0x4160); // identity local matrix
    for (float c : {1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f})
        out.f32(c);
    out.end();
    out.begin(0x4120);
    out.u16(std::uint16_t(o.faces.size()));
    for (const auto& f : o.faces) {
        for (std::uint16_t i : f)
            out.u16(i);
        out.u16(7); // all three edges visible
    }
    for (const Model3DSGroup& g : o.groups) {
        out.begin(0x4130);
        out.cstring(g.material);
        out.u16(std::uint16_t(g.faces.size()));
        for (std::uint16_t f : g.faces)
            out.u16(f);
        out.end();
    }
    if (o.smoothing) {
        out.begin(0x4150);
        for (std::uint32_t mask : *o.smoothing)
            out.u32(mask);
        out.end();
    }
    out.end(); // faces
    out.end(); // triangle mesh
    out.end(); // named object
}

std::string writeModel3DS(const Model3DS& model)
{
    Chunk3DSWriter out;
    out.begin(0x4D4D);
    out.begin(0x0002);
    out.u32(3);
    out.end();
    out.begin(0x3D3D);
    out.begin(0x3D3E);
    out.u32(3);
    out.end();
    for (const Model3DSMaterial& m : model.materials)
        writeMaterial3DS(out, m);
    out.begin(0x0100); // master scale
    out.f32(1);
    out.end();
    for (const Model3DSObject& o : model.objects)
        writeObject3DS(out, o);
    out.end();
    out.end();
    return out.bytes();
}
