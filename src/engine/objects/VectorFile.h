#pragma once

#include "base/GxException.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ByteReader;
class ByteWriter;
class TGxBaseMesh;

enum TMeshNormalsOrientation { mnoDefault, mnoInvert };

// No reader is registered for a mesh file's extension.
class EInvalidVectorFile : public EGxError {
public:
    using EGxError::EGxError;
};

// A mesh file reader, made for one load: it fills its owner's mesh objects
// from a stream.
class TVectorFile {
public:
    explicit TVectorFile(TGxBaseMesh* owner) : m_owner(owner) {}
    virtual ~TVectorFile() = default;
    TVectorFile(const TVectorFile&) = delete;
    TVectorFile& operator=(const TVectorFile&) = delete;

    TGxBaseMesh* Owner() const { return m_owner; }
    const std::string& ResourceName() const { return m_resourceName; }
    void SetResourceName(const std::string& name) { m_resourceName = name; }
    TMeshNormalsOrientation NormalsOrientation() const { return m_normalsOrientation; }
    void SetNormalsOrientation(TMeshNormalsOrientation v) { m_normalsOrientation = v; }

    virtual void LoadFromStream(ByteReader& stream) = 0;

private:
    TGxBaseMesh* m_owner;
    std::string m_resourceName;
    TMeshNormalsOrientation m_normalsOrientation = mnoDefault;
};

// A reader class: its name and how to make one.
struct TVectorFileClass {
    std::string className;
    std::function<std::unique_ptr<TVectorFile>(TGxBaseMesh* owner)> create;
};

// The registered mesh file formats, in registration order.
class TVectorFileFormatsList {
public:
    struct Format {
        std::string extension; // lower case, no dot
        std::string description;
        const TVectorFileClass* readerClass;
    };

    // Appends an entry; a later entry for the same extension wins.
    void Add(const std::string& extension, const std::string& description, const TVectorFileClass& readerClass);
    // The reader for the file's extension, letter case ignored, the last
    // registration first. None raises EInvalidVectorFile "Unknown file
    // extension (<ext>), maybe no reader is registered for it? (GxFile<EXT>?)".
    const TVectorFileClass& FindFromFileName(const std::string& fileName) const;
    const std::vector<Format>& Formats() const { return m_formats; }

private:
    std::vector<Format> m_formats;
};

// The program's registry: the native format, then "3ds" and "prj", both
// read by the 3DS reader, registered before the first use.
TVectorFileFormatsList& GetVectorFileFormats();
void RegisterMeshFormat(const std::string& extension, const std::string& description,
                        const TVectorFileClass& readerClass);
const TVectorFileClass& FindMeshReader(const std::string& fileName);

// The extension of a file name without the dot, in lower case ("" for none).
std::string meshFileExtension(const std::string& fileName);
