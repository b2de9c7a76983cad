#pragma once

#include "engine/objects/Types3DS.h"
#include "base/GxException.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ByteReader;

// A 3D Studio file that cannot be read as one.
class E3DSError : public EGxError {
public:
    using EGxError::EGxError;
};

// The texts of E3DSError.
namespace error3ds {
extern const char* const cInvalidChunk;
extern const char* const cWrongObjectType;
extern const char* const cOutOfMemory;
} // namespace error3ds

// One chunk of the file: where it lies and its place in the tree.
struct TChunk3DS {
    std::uint16_t id = 0;
    std::uint32_t length = 0;   // header included
    std::uint32_t position = 0; // of the header
    int firstChild = -1;        // indices into the chunk table
    int nextSibling = -1;
};

// The chunk tree of a 3D Studio file, indexed from the headers alone, and
// the meshes and materials decoded from it on demand. The stream given to
// ReadDatabase must stay alive while records are decoded.
//
// The file is untrusted: a chunk shorter than its header or reaching past
// its parent ends the indexing of that parent, and a count that promises
// more than its chunk holds raises E3DSError.
class TFile3DS {
public:
    TFile3DS() = default;
    TFile3DS(const TFile3DS&) = delete;
    TFile3DS& operator=(const TFile3DS&) = delete;

    // Indexes the tree below a root 4D4D, 3DAA or C23D; any other root id
    // indexes nothing. A file shorter than its root chunk says raises the
    // stream's error.
    void ReadDatabase(ByteReader& stream);

    // Named objects of the editor data that hold a triangle mesh.
    int CountMeshes();
    // The index-th of them, decoded once. E3DSError when its triangle mesh
    // is not a direct child of the named object.
    const TMesh3DS& ReadMesh(int index);
    // The first material entry of that name (letter case ignored), decoded
    // once; none when there is none.
    const TMaterial3DS* FindMaterialRecord(const std::string& name);

    // The node names of the keyframer section (gathered, not used).
    const std::vector<std::string>& KeyframerNodeNames() const { return m_nodeNames; }

    const std::vector<TChunk3DS>& Chunks() const { return m_chunks; }
    // Depth-first from `from` (itself first); -1 when not found.
    int FindChunk(int from, std::uint16_t id) const;
    // `from` and its following siblings only.
    int FindNextChunk(int from, std::uint16_t id) const;

private:
    void indexChildren(int parent);
    std::uint32_t ownDataSize(const TChunk3DS& chunk);
    std::string chunkData(const TChunk3DS& chunk);
    const std::vector<int>& meshObjects();
    // Material entries by name, letter case ignored.
    const std::unordered_map<std::string, int>& materialEntries();
    void decodeMesh(int namedObject, TMesh3DS& mesh);
    void decodeMaterial(int entry, TMaterial3DS& material);
    std::string materialName(int entry);
    TColor3DS readColor(int colourChunk);
    float readPercentage(int percentChunk);
    void readMap(int mapChunk, TTextureMap3DS& map);
    void gatherNodeNames();

    ByteReader* m_stream = nullptr;
    std::vector<TChunk3DS> m_chunks; // [0] is the root
    std::vector<int> m_meshObjects;
    bool m_meshObjectsKnown = false;
    std::map<int, std::unique_ptr<TMesh3DS>> m_meshes;
    std::map<int, std::unique_ptr<TMaterial3DS>> m_materials;
    std::unordered_map<std::string, int> m_materialEntries;
    bool m_materialEntriesKnown = false;
    std::vector<std::string> m_nodeNames;
};
