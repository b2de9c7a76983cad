#include "engine/objects/VectorFile.h"

#include "engine/objects/Gx3DSVectorFile.h"
#include "engine/objects/GxNativeMeshFile.h"

#include <algorithm>
#include <cctype>

std::string meshFileExtension(const std::string& fileName)
{
    // The extension of the last path element only: "a.b/c" has none.
    const std::size_t slash = fileName.find_last_of("/\\:");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = fileName.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

void TVectorFileFormatsList::Add(const std::string& extension, const std::string& description,
                                 const TVectorFileClass& readerClass)
{
    std::string ext = extension;
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    m_formats.push_back({ext, description, &readerClass});
}

const TVectorFileClass& TVectorFileFormatsList::FindFromFileName(const std::string& fileName) const
{
    const std::string ext = meshFileExtension(fileName);
    for (auto it = m_formats.rbegin(); it != m_formats.rend(); ++it)
        if (it->extension == ext)
            return *it->readerClass;
    std::string upper = ext;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    throw EInvalidVectorFile("Unknown file extension (" + ext + "), maybe no reader is registered for it? (GxFile"
                             + upper + "?)");
}

TVectorFileFormatsList& GetVectorFileFormats()
{
    static TVectorFileFormatsList formats = [] {
        TVectorFileFormatsList list;
        list.Add(TGxNativeMeshFile::cExtension, TGxNativeMeshFile::cDescription, TGxNativeMeshFile::Class());
        list.Add("3ds", "3D Studio files", TGx3DSVectorFile::Class());
        list.Add("prj", "3D Studio project files", TGx3DSVectorFile::Class());
        return list;
    }();
    return formats;
}

void RegisterMeshFormat(const std::string& extension, const std::string& description,
                        const TVectorFileClass& readerClass)
{
    GetVectorFileFormats().Add(extension, description, readerClass);
}

const TVectorFileClass& FindMeshReader(const std::string& fileName)
{
    return GetVectorFileFormats().FindFromFileName(fileName);
}
