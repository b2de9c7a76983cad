#pragma once

#include <functional>
#include <string>

class ByteReader;
class TGxMaterialLibrary;
class TGxScene;

// Loads the town model data.mod into the scene: first the material library
// (the path with "t" appended, replacing the library's materials), then the
// houses, roads and ground planes under the object root, in file order,
// then the landmark models of fl.dat beside it. Errors propagate; the
// objects created before an error stay in the scene.
//   missing library: "File not found: "<path>t""
//   missing model:   "Cannot open file "<path>". <reason>"
//   a fourth house text: "List index out of bounds (3)"
//   a file that ends inside a record, a count its bytes cannot hold, or a
//   house without nodes (no walls to build): the damaged-file error naming
//   the file.
// `progress`, when given, hears the share of the file read so far (0..1)
// every few hundred records.
void LoadObjFromFile(const std::string& path, TGxScene& scene, TGxMaterialLibrary& library,
                     const std::function<void(double)>& progress = {});

// Each reads one record at the reader's position and adds its object.
void LoadHouseFromStream(ByteReader& in, TGxScene& scene);
void LoadPolyFromStream(ByteReader& in, TGxScene& scene);
void LoadPlaneFromStream(ByteReader& in, TGxScene& scene, TGxMaterialLibrary& library);
