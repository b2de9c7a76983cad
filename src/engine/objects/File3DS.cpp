#include "engine/objects/File3DS.h"

#include "base/ByteReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <optional>

namespace error3ds {
const char* const cInvalidChunk = "An invalid Chunk structure was encountered while reading\r"
                                  "the database. Usually caused by a corrupt database or file.";
const char* const cWrongObjectType = "The Name passed to the functions exists but is not the type of object asked for.\r"
                                     "For example asking for a mesh object with the GetCameraByName3DS function.";
const char* const cOutOfMemory = "Not enough memory to complete operation.";
} // namespace error3ds

using namespace chunk3ds;

namespace {
constexpr std::uint32_t kHeaderSize = 6;
constexpr std::uint32_t kLeaf = 0xFFFFFFFF;

bool isMapChunk(std::uint16_t id)
{
    switch (id) {
    case MAT_TEXMAP:
    case MAT_SPECMAP:
    case MAT_OPACMAP:
    case MAT_REFLMAP:
    case MAT_BUMPMAP:
    case MAT_TEX2MAP:
    case MAT_SHINMAP:
    case MAT_SELFIMAP:
    case MAT_TEXMASK:
    case MAT_TEX2MASK:
    case MAT_OPACMASK:
    case MAT_BUMPMASK:
    case MAT_SHINMASK:
    case MAT_SPECMASK:
    case MAT_SELFIMASK:
    case MAT_REFLMASK: return true;
    default: return false;
    }
}

// Own data before the sub-chunks of a container with a fixed-size header;
// kLeaf for chunks without sub-chunks. The named object and the face list
// are measured from the file.
std::uint32_t fixedOwnData(std::uint16_t id)
{
    switch (id) {
    case M3DMAGIC:
    case CMAGIC:
    case MLIBMAGIC:
    case MDATA:
    case N_TRI_OBJECT:
    case AMBIENT_LIGHT:
    case SOLID_BGND:
    case DEFAULT_VIEW:
    case MAT_ENTRY:
    case MAT_AMBIENT:
    case MAT_DIFFUSE:
    case MAT_SPECULAR:
    case MAT_SHININESS:
    case MAT_SHIN2PCT:
    case MAT_SHIN3PCT:
    case MAT_TRANSPARENCY:
    case MAT_XPFALL:
    case MAT_REFBLUR:
    case MAT_SELF_ILPCT:
    case XDATA_SECTION:
    case XDATA_ENTRY:
    case KFDATA: return 0;
    case V_GRADIENT: return 4;        // midpoint
    case N_DIRECT_LIGHT: return 12;   // position
    case VIEWPORT_LAYOUT: return 14;  // form, top, ready, wstate, swap x3
    case FOG:
    case DISTANCE_CUE:
    case LAYER_FOG: return 16;
    case DL_SPOTLIGHT: return 20;     // target, hotspot, fall-off
    case N_CAMERA: return 32;         // position, target, bank, focal length
    default: break;
    }
    if ((id >= AMBIENT_NODE_TAG && id <= SPOTLIGHT_NODE_TAG) || isMapChunk(id))
        return 0;
    return kLeaf;
}

[[noreturn]] void invalidChunk()
{
    throw E3DSError(error3ds::cInvalidChunk);
}

// The chunk holds fewer bytes than its own counts promise.
void need(const ByteReader& data, std::size_t bytes)
{
    if (data.remaining() < bytes)
        invalidChunk();
}

// Zero-terminated; a string without its zero ends with the data.
std::string readString(ByteReader& data)
{
    std::string s;
    while (!data.atEnd()) {
        const char c = char(data.uint8());
        if (c == '\0')
            break;
        s += c;
    }
    return s;
}

std::uint16_t u16(ByteReader& data)
{
    return std::uint16_t(data.int16());
}

std::string lowerCase(const std::string& s)
{
    std::string lower = s;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
} // namespace

void TFile3DS::ReadDatabase(ByteReader& stream)
{
    m_stream = &stream;
    m_chunks.clear();
    m_meshObjects.clear();
    m_meshObjectsKnown = false;
    m_meshes.clear();
    m_materials.clear();
    m_materialEntries.clear();
    m_materialEntriesKnown = false;
    m_nodeNames.clear();

    stream.seek(0);
    TChunk3DS root;
    root.id = u16(stream);
    root.length = std::uint32_t(stream.int32());
    if (root.id != M3DMAGIC && root.id != MLIBMAGIC && root.id != CMAGIC)
        return;
    if (root.length > stream.size())
        stream.seek(std::size_t(root.length)); // raises the short-file error
    m_chunks.push_back(root);
    if (root.length < kHeaderSize)
        return;
    try {
        indexChildren(0);
    } catch (const std::bad_alloc&) {
        throw E3DSError(error3ds::cOutOfMemory);
    }
    gatherNodeNames();
}

std::uint32_t TFile3DS::ownDataSize(const TChunk3DS& chunk)
{
    const std::uint32_t dataSize = chunk.length - kHeaderSize;
    if (chunk.id == NAMED_OBJECT) {
        m_stream->seek(chunk.position + kHeaderSize);
        std::uint32_t n = 0;
        while (n < dataSize && m_stream->uint8() != 0)
            ++n;
        return std::min(n + 1, dataSize);
    }
    if (chunk.id == FACE_ARRAY) {
        if (dataSize < 2)
            return dataSize;
        m_stream->seek(chunk.position + kHeaderSize);
        const std::uint32_t count = u16(*m_stream);
        return std::min(2 + count * 8, dataSize);
    }
    const std::uint32_t fixed = fixedOwnData(chunk.id);
    return fixed == kLeaf ? dataSize : std::min(fixed, dataSize);
}

// Iterative, so that a file nesting containers deep cannot exhaust the
// stack; each chunk is visited once, so the work is bounded by the file.
void TFile3DS::indexChildren(int rootIndex)
{
    struct Frame {
        int chunk;
        std::uint32_t next; // position of the next header
        std::uint32_t end;
        int lastChild;
    };
    std::vector<Frame> stack;
    auto open = [&](int index) {
        const TChunk3DS& c = m_chunks[std::size_t(index)];
        const std::uint32_t own = ownDataSize(c);
        stack.push_back({index, c.position + kHeaderSize + own, c.position + c.length, -1});
    };
    open(rootIndex);
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next > f.end || f.end - f.next < kHeaderSize) {
            stack.pop_back();
            continue;
        }
        m_stream->seek(f.next);
        TChunk3DS child;
        child.position = f.next;
        child.id = u16(*m_stream);
        child.length = std::uint32_t(m_stream->int32());
        const std::uint16_t parentId = m_chunks[std::size_t(f.chunk)].id;
        // A chunk shorter than its header or reaching past its parent ends
        // the parent: reading on would loop or leave the parent's bytes.
        // Inside an extra-data entry, anything but its own kinds ends it.
        if (child.length < kHeaderSize || child.length > f.end - f.next
            || (parentId == XDATA_ENTRY && (child.id < XDATA_FIRST || child.id > XDATA_LAST))) {
            stack.pop_back();
            continue;
        }
        const int index = int(m_chunks.size());
        m_chunks.push_back(child);
        if (f.lastChild < 0)
            m_chunks[std::size_t(f.chunk)].firstChild = index;
        else
            m_chunks[std::size_t(f.lastChild)].nextSibling = index;
        f.lastChild = index;
        f.next += child.length;
        const bool container = child.id == NAMED_OBJECT || child.id == FACE_ARRAY || fixedOwnData(child.id) != kLeaf;
        if (container && !(parentId == XDATA_ENTRY))
            open(index);
    }
}

int TFile3DS::FindChunk(int from, std::uint16_t id) const
{
    if (from < 0 || std::size_t(from) >= m_chunks.size())
        return -1;
    // Depth-first with an explicit stack: the tree may be deep.
    std::vector<int> pending{from};
    while (!pending.empty()) {
        const int i = pending.back();
        pending.pop_back();
        const TChunk3DS& c = m_chunks[std::size_t(i)];
        if (c.id == id)
            return i;
        std::vector<int> children;
        for (int k = c.firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling)
            children.push_back(k);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return -1;
}

int TFile3DS::FindNextChunk(int from, std::uint16_t id) const
{
    for (int k = from; k >= 0 && std::size_t(k) < m_chunks.size(); k = m_chunks[std::size_t(k)].nextSibling)
        if (m_chunks[std::size_t(k)].id == id)
            return k;
    return -1;
}

std::string TFile3DS::chunkData(const TChunk3DS& chunk)
{
    m_stream->seek(chunk.position + kHeaderSize);
    return m_stream->bytes(chunk.length - kHeaderSize);
}

namespace {
ByteReader dataReader(std::string bytes)
{
    return ByteReader(std::vector<char>(bytes.begin(), bytes.end()), "3ds chunk");
}
} // namespace

const std::vector<int>& TFile3DS::meshObjects()
{
    if (m_meshObjectsKnown)
        return m_meshObjects;
    m_meshObjectsKnown = true;
    const int data = FindChunk(0, MDATA);
    if (data < 0)
        return m_meshObjects;
    for (int k = m_chunks[std::size_t(data)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling)
        if (m_chunks[std::size_t(k)].id == NAMED_OBJECT && FindChunk(k, N_TRI_OBJECT) >= 0)
            m_meshObjects.push_back(k);
    return m_meshObjects;
}

int TFile3DS::CountMeshes()
{
    return int(meshObjects().size());
}

const TMesh3DS& TFile3DS::ReadMesh(int index)
{
    const std::vector<int>& objects = meshObjects();
    if (index < 0 || std::size_t(index) >= objects.size())
        throw EGxAssertion("3DS mesh index " + std::to_string(index) + " out of range");
    const int chunk = objects[std::size_t(index)];
    auto it = m_meshes.find(chunk);
    if (it != m_meshes.end())
        return *it->second;
    try {
        auto mesh = std::make_unique<TMesh3DS>();
        decodeMesh(chunk, *mesh);
        return *m_meshes.emplace(chunk, std::move(mesh)).first->second;
    } catch (const std::bad_alloc&) {
        throw E3DSError(error3ds::cOutOfMemory);
    }
}

void TFile3DS::decodeMesh(int namedObject, TMesh3DS& mesh)
{
    const TChunk3DS& object = m_chunks[std::size_t(namedObject)];
    {
        ByteReader data = dataReader(chunkData(object));
        mesh.name = readString(data);
    }
    int tri = -1;
    for (int k = object.firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        switch (m_chunks[std::size_t(k)].id) {
        case OBJ_HIDDEN: mesh.isHidden = true; break;
        case OBJ_VIS_LOFTER: mesh.isVisLofter = true; break;
        case OBJ_MATTE: mesh.isMatte = true; break;
        case OBJ_DOESNT_CAST: mesh.isNoCast = true; break;
        case OBJ_FAST: mesh.isFast = true; break;
        case OBJ_DONT_RCVSHADOW: mesh.isNoRcvShad = true; break;
        case OBJ_FROZEN: mesh.isFrozen = true; break;
        case OBJ_PROCEDURAL: mesh.useProc = true; break;
        case N_TRI_OBJECT:
            if (tri < 0)
                tri = k;
            break;
        default: break;
        }
    }
    if (tri < 0)
        throw E3DSError(error3ds::cWrongObjectType);

    for (int k = m_chunks[std::size_t(tri)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const TChunk3DS& c = m_chunks[std::size_t(k)];
        switch (c.id) {
        case POINT_ARRAY: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 2);
            const std::size_t n = u16(data);
            need(data, n * 12);
            mesh.vertices.resize(n);
            for (auto& v : mesh.vertices)
                v = {data.float32(), data.float32(), data.float32()};
            break;
        }
        case POINT_FLAG_ARRAY: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 2);
            const std::size_t n = u16(data);
            need(data, n * 2);
            mesh.vertexFlags.resize(n);
            for (auto& f : mesh.vertexFlags)
                f = u16(data);
            break;
        }
        case FACE_ARRAY: {
            // Only the own data: the sub-chunks are read from their own nodes.
            m_stream->seek(c.position + kHeaderSize);
            const std::uint32_t dataSize = c.length - kHeaderSize;
            if (dataSize < 2)
                invalidChunk();
            const std::uint32_t n = u16(*m_stream);
            if (dataSize - 2 < n * 8)
                invalidChunk();
            ByteReader data = dataReader(m_stream->bytes(n * 8));
            mesh.faces.resize(n);
            for (auto& f : mesh.faces)
                f = {u16(data), u16(data), u16(data), u16(data)};
            for (int s = c.firstChild; s >= 0; s = m_chunks[std::size_t(s)].nextSibling) {
                const TChunk3DS& sub = m_chunks[std::size_t(s)];
                ByteReader subData = dataReader(chunkData(sub));
                if (sub.id == MSH_MAT_GROUP) {
                    TMaterialGroup3DS group;
                    group.name = readString(subData);
                    need(subData, 2);
                    const std::size_t count = u16(subData);
                    need(subData, count * 2);
                    group.faces.resize(count);
                    for (auto& face : group.faces)
                        face = u16(subData);
                    mesh.materialGroups.push_back(std::move(group));
                } else if (sub.id == SMOOTH_GROUP) {
                    mesh.smoothGroups.resize(subData.remaining() / 4);
                    for (auto& mask : mesh.smoothGroups)
                        mask = std::uint32_t(subData.int32());
                } else if (sub.id == MSH_BOXMAP) {
                    for (auto& name : mesh.boxMapMaterials)
                        name = readString(subData);
                }
            }
            break;
        }
        case TEX_VERTS: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 2);
            const std::size_t n = u16(data);
            need(data, n * 8);
            mesh.textureVertices.resize(n);
            for (auto& uv : mesh.textureVertices)
                uv = {data.float32(), data.float32()};
            break;
        }
        case MESH_MATRIX: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 48);
            for (float& m : mesh.locMatrix)
                m = data.float32();
            break;
        }
        case MESH_COLOR: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 1);
            mesh.meshColor = data.uint8();
            break;
        }
        case MESH_TEXTURE_INFO: {
            ByteReader data = dataReader(chunkData(c));
            need(data, 92);
            TMapInfo3DS& info = mesh.mapInfo;
            info.mapType = u16(data);
            info.tileX = data.float32();
            info.tileY = data.float32();
            for (float& p : info.iconPos)
                p = data.float32();
            info.iconScaling = data.float32();
            for (float& m : info.matrix)
                m = data.float32();
            info.planeIconW = data.float32();
            info.planeIconH = data.float32();
            info.cylIconH = data.float32();
            mesh.useMapInfo = true;
            break;
        }
        case PROC_NAME: {
            ByteReader data = dataReader(chunkData(c));
            mesh.procName = readString(data);
            break;
        }
        case PROC_DATA: mesh.procData = chunkData(c); break;
        default: break;
        }
    }
}

std::string TFile3DS::materialName(int entry)
{
    const int name = FindNextChunk(m_chunks[std::size_t(entry)].firstChild, MAT_NAME);
    if (name < 0)
        return {};
    ByteReader data = dataReader(chunkData(m_chunks[std::size_t(name)]));
    return readString(data);
}

const TMaterial3DS* TFile3DS::FindMaterialRecord(const std::string& name)
{
    try {
        const auto entry = materialEntries().find(lowerCase(name));
        if (entry == materialEntries().end())
            return nullptr;
        const int k = entry->second;
        auto it = m_materials.find(k);
        if (it == m_materials.end()) {
            auto material = std::make_unique<TMaterial3DS>();
            decodeMaterial(k, *material);
            it = m_materials.emplace(k, std::move(material)).first;
        }
        return it->second.get();
    } catch (const std::bad_alloc&) {
        throw E3DSError(error3ds::cOutOfMemory);
    }
}

const std::unordered_map<std::string, int>& TFile3DS::materialEntries()
{
    if (m_materialEntriesKnown)
        return m_materialEntries;
    m_materialEntriesKnown = true;
    // Each name is read once. The editor data's entries come first; a name
    // met again keeps its first entry.
    for (std::uint16_t containerId : {MDATA, MLIBMAGIC}) {
        const int container = FindChunk(0, containerId);
        if (container < 0)
            continue;
        for (int k = m_chunks[std::size_t(container)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling)
            if (m_chunks[std::size_t(k)].id == MAT_ENTRY)
                m_materialEntries.emplace(lowerCase(materialName(k)), k);
    }
    return m_materialEntries;
}

TColor3DS TFile3DS::readColor(int colourChunk)
{
    // The byte colour, replaced by the float one, replaced by the linear bytes.
    std::array<std::optional<TColor3DS>, 3> found; // byte, float, linear byte
    for (int k = m_chunks[std::size_t(colourChunk)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const TChunk3DS& c = m_chunks[std::size_t(k)];
        if (c.id != COLOR_24 && c.id != COLOR_F && c.id != LIN_COLOR_24)
            continue;
        ByteReader data = dataReader(chunkData(c));
        if (c.id == COLOR_F) {
            need(data, 12);
            found[1] = TColor3DS{data.float32(), data.float32(), data.float32()};
        } else {
            need(data, 3);
            const float r = data.uint8() / 255.0f;
            const float g = data.uint8() / 255.0f;
            const float b = data.uint8() / 255.0f;
            found[c.id == COLOR_24 ? 0 : 2] = TColor3DS{r, g, b};
        }
    }
    TColor3DS colour;
    for (const auto& f : found)
        if (f)
            colour = *f;
    return colour;
}

float TFile3DS::readPercentage(int percentChunk)
{
    std::optional<float> fromInt, fromFloat;
    for (int k = m_chunks[std::size_t(percentChunk)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const TChunk3DS& c = m_chunks[std::size_t(k)];
        if (c.id == INT_PERCENTAGE) {
            ByteReader data = dataReader(chunkData(c));
            need(data, 2);
            fromInt = data.int16() / 100.0f;
        } else if (c.id == FLOAT_PERCENTAGE) {
            ByteReader data = dataReader(chunkData(c));
            need(data, 4);
            fromFloat = data.float32();
        }
    }
    return fromFloat ? *fromFloat : fromInt.value_or(0.0f);
}

void TFile3DS::readMap(int mapChunk, TTextureMap3DS& map)
{
    for (int k = m_chunks[std::size_t(mapChunk)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const TChunk3DS& c = m_chunks[std::size_t(k)];
        ByteReader data = dataReader(chunkData(c));
        auto readFloat = [&] {
            need(data, 4);
            return data.float32();
        };
        switch (c.id) {
        case MAT_MAPNAME: map.name = readString(data); break;
        case INT_PERCENTAGE:
            need(data, 2);
            map.percent = data.int16() / 100.0f;
            break;
        case FLOAT_PERCENTAGE: map.percent = readFloat(); break;
        case MAT_MAP_TILING:
            need(data, 2);
            map.tiling = u16(data);
            break;
        case MAT_MAP_TEXBLUR: map.blur = readFloat(); break;
        case MAT_MAP_USCALE: map.uScale = readFloat(); break;
        case MAT_MAP_VSCALE: map.vScale = readFloat(); break;
        case MAT_MAP_UOFFSET: map.uOffset = readFloat(); break;
        case MAT_MAP_VOFFSET: map.vOffset = readFloat(); break;
        case MAT_MAP_ANG: map.rotation = readFloat(); break;
        case MAT_MAP_COL1:
        case MAT_MAP_COL2:
        case MAT_MAP_RCOL:
        case MAT_MAP_GCOL:
        case MAT_MAP_BCOL: {
            need(data, 3);
            const float r = data.uint8() / 255.0f;
            const float g = data.uint8() / 255.0f;
            const float b = data.uint8() / 255.0f;
            map.tints[std::size_t(c.id - MAT_MAP_COL1) / 2] = {r, g, b};
            break;
        }
        default: break; // older tiling and blur forms
        }
    }
}

void TFile3DS::decodeMaterial(int entry, TMaterial3DS& m)
{
    for (int k = m_chunks[std::size_t(entry)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const std::uint16_t id = m_chunks[std::size_t(k)].id;
        if (isMapChunk(id)) {
            if (id == MAT_TEXMAP) {
                readMap(k, m.texture);
            } else {
                m.otherMaps.emplace_back(id, TTextureMap3DS{});
                readMap(k, m.otherMaps.back().second);
            }
            continue;
        }
        if ((id >= XDATA_SECTION && id <= 0x80FF) || id == MAT_SHIN3PCT || id == MAT_DECAL
            || (id >= MAT_SXP_FIRST && id <= MAT_SXP_LAST) || id == MAT_ACUBIC)
            continue;
        switch (id) {
        case MAT_NAME: {
            ByteReader data = dataReader(chunkData(m_chunks[std::size_t(k)]));
            m.name = readString(data);
            break;
        }
        case MAT_AMBIENT: m.ambient = readColor(k); break;
        case MAT_DIFFUSE: m.diffuse = readColor(k); break;
        case MAT_SPECULAR: m.specular = readColor(k); break;
        case MAT_SHININESS: m.shininess = readPercentage(k); break;
        case MAT_SHIN2PCT: m.shininessStrength = readPercentage(k); break;
        case MAT_TRANSPARENCY: m.transparency = readPercentage(k); break;
        case MAT_XPFALL: m.transparencyFalloff = readPercentage(k); break;
        case MAT_REFBLUR: m.reflectionBlur = readPercentage(k); break;
        case MAT_SELF_ILPCT: m.selfIllumination = readPercentage(k); break;
        case MAT_SELF_ILLUM: m.selfIllum = true; break;
        case MAT_TWO_SIDE: m.twoSided = true; break;
        case MAT_ADDITIVE: m.additive = true; break;
        case MAT_WIRE: m.wire = true; break;
        case MAT_SUPERSMP: m.superSample = true; break;
        case MAT_FACEMAP: m.faceMap = true; break;
        case MAT_XPFALLIN: m.falloffIn = true; break;
        case MAT_PHONGSOFT: m.soften = true; break;
        case MAT_WIREABS: m.wireAbsolute = true; break;
        case MAT_USE_XPFALL: m.useTransparencyFalloff = true; break;
        case MAT_USE_REFBLUR: m.useReflectionBlur = true; break;
        case MAT_WIRESIZE: {
            ByteReader data = dataReader(chunkData(m_chunks[std::size_t(k)]));
            need(data, 4);
            m.wireSize = data.float32();
            break;
        }
        case MAT_SHADING: {
            ByteReader data = dataReader(chunkData(m_chunks[std::size_t(k)]));
            need(data, 2);
            m.shading = u16(data);
            break;
        }
        case MAT_BUMP_PERCENT: {
            ByteReader data = dataReader(chunkData(m_chunks[std::size_t(k)]));
            need(data, 2);
            m.bumpPercent = data.int16();
            break;
        }
        default:
            if (id >= MAT_SELF_ILLUM && id <= MAT_WIREABS)
                break; // the remaining flags of the range
            invalidChunk();
        }
    }
}

void TFile3DS::gatherNodeNames()
{
    const int kf = FindChunk(0, KFDATA);
    if (kf < 0)
        return;
    for (int k = m_chunks[std::size_t(kf)].firstChild; k >= 0; k = m_chunks[std::size_t(k)].nextSibling) {
        const std::uint16_t id = m_chunks[std::size_t(k)].id;
        if (id < AMBIENT_NODE_TAG || id > SPOTLIGHT_NODE_TAG)
            continue;
        const int header = FindNextChunk(m_chunks[std::size_t(k)].firstChild, NODE_HDR);
        if (header < 0)
            continue;
        ByteReader data = dataReader(chunkData(m_chunks[std::size_t(header)]));
        m_nodeNames.push_back(readString(data));
    }
}
