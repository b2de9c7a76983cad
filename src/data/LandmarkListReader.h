#pragma once

#include <string>

class TGxMaterialLibrary;
class TGxScene;

// Loads the landmark models listed in fl.dat in `dataFolder` into the scene
// (the last step of loading the town model). For now it only makes sure
// that an fl.dat present there can be read; the models are not loaded yet.
void LoadLandmarks(TGxScene& scene, const std::string& dataFolder, TGxMaterialLibrary& library);
