#include "data/LandmarkListReader.h"

#include "data/ByteReader.h"

#include <filesystem>

void LoadLandmarks(TGxScene&, const std::string& dataFolder, TGxMaterialLibrary&)
{
    const std::string path = (std::filesystem::path(dataFolder) / "fl.dat").string();
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        ByteReader::readFile(path);
}
