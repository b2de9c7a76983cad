#include "FuzzTargets.h"

#include "ImporterTarget.h"
#include "ReaderTargets.h"
#include "RoadNetworkTarget.h"

namespace fuzz {

const std::vector<Target>& targets()
{
    static const std::vector<Target> all = {
        {"town", runTown, townSeeds},
        {"model", runTownModel, townModelSeeds},
        {"landmarks", runLandmarkList, landmarkListSeeds},
        {"library", runMaterialLibrary, materialLibrarySeeds},
        {"directory", runDirectory, directorySeeds},
        {"places", runOrgPlaces, orgPlacesSeeds},
        {"roads", runRoadNetwork, roadNetworkSeeds},
        {"mesh3ds", runMesh3DS, mesh3DSSeeds},
        {"bmp", runBmp, bmpSeeds},
        {"jpeg", runJpeg, jpegSeeds},
        {"townini", runTownIni, townIniSeeds},
        {"osm", runOsmImport, osmImportSeeds},
    };
    return all;
}

const Target* findTarget(std::string_view name)
{
    for (const Target& t : targets())
        if (t.name == name)
            return &t;
    return nullptr;
}

} // namespace fuzz
