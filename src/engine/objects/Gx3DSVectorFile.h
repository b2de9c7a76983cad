#pragma once

#include "engine/objects/VectorFile.h"

class TFile3DS;
class TMeshObject;
struct TMesh3DS;

// Reads 3D Studio files (and project files) into a mesh: one mesh object
// per visible triangle mesh, normals from the faces and their smoothing
// groups, one face group per material group, and, when the mesh has a
// material library, library materials made from the file's materials.
class TGx3DSVectorFile : public TVectorFile {
public:
    using TVectorFile::TVectorFile;
    static const TVectorFileClass& Class();

    void LoadFromStream(ByteReader& stream) override;

private:
    void buildObject(TFile3DS& file, const TMesh3DS& mesh, TMeshObject& object);
    std::string groupMaterial(TFile3DS& file, const std::string& name);
};
