#pragma once

#include "engine/objects/VectorFile.h"

class ByteWriter;

// The engine's own mesh file ("qvm"): the mesh objects exactly as they are
// held in memory, so a mesh can be saved and loaded back without loss.
//
// Layout, little-endian, no padding:
//   magic     8 bytes  "QVMESH1" and a zero byte
//   objects   int32    count, then each object:
//     name      int32 length, then the bytes
//     visible   uint8  (0 or 1)
//     mode      uint8  0 triangles, 1 triangle strip, 2 face groups
//     vertices  int32 count, count x (x, y, z) float32
//     normals   int32 count (0 or the vertex count), count x (x, y, z) float32
//     texcoords int32 count (0 or the vertex count), count x (s, t) float32
//     colours   int32 count (0 or the vertex count), count x (r, g, b, a) float32
//     groups    int32 count, then each face group:
//       material  int32 length, then the bytes (may be empty)
//       mode      uint8  0 triangles, 1 strip, 2 flat triangles, 3 fan, 4 quads
//       indices   int32 count, count x uint32, each below the vertex count
// Any other value, a count the file cannot hold or an index past the
// vertices is an error naming the file.
class TGxNativeMeshFile : public TVectorFile {
public:
    static constexpr const char* cExtension = "qvm";
    static constexpr const char* cDescription = "Quorvel mesh files";

    using TVectorFile::TVectorFile;
    static const TVectorFileClass& Class();

    void LoadFromStream(ByteReader& stream) override;
    // The owner's mesh objects in this format.
    void SaveToStream(ByteWriter& stream) const;
};
