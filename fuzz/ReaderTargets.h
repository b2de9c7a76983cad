#pragma once

#include "FuzzTargets.h"

namespace fuzz {

// The town as start-up loads it: a bundle (FileBundle.h) of data.mod,
// data.modt, fl.dat and meshes, served from memory to the main window's
// scene; the model with its library and landmarks, then the walls and the
// normal colours.
Result runTown(std::string_view input);
Files townSeeds();

// The readers alone, without a scene: a data.mod into its records (which
// must write back as they were read), and an fl.dat into its landmarks.
Result runTownModel(std::string_view input);
Files townModelSeeds();
Result runLandmarkList(std::string_view input);
Files landmarkListSeeds();

// A data.modt library, then every texture's pixels as an upload takes them.
Result runMaterialLibrary(std::string_view input);
Files materialLibrarySeeds();

// A data.tmd directory.
Result runDirectory(std::string_view input);
Files directorySeeds();

// An orgplaces.dat (the organisations' places, kinds and hours); what is
// read must write back to the very bytes it was read from.
Result runOrgPlaces(std::string_view input);
Files orgPlacesSeeds();

// A 3DS mesh into a free form with a material library (so the file's
// materials are made too); texture files named by it are missing.
Result runMesh3DS(std::string_view input);
Files mesh3DSSeeds();

// A BMP file (as stored in a library), then its texture pixels.
Result runBmp(std::string_view input);
Files bmpSeeds();

// A JPEG file (a texture a mesh names), then its texture pixels.
Result runJpeg(std::string_view input);
Files jpegSeeds();

// A town.ini as the main window reads it for its caption.
Result runTownIni(std::string_view input);
Files townIniSeeds();

} // namespace fuzz
