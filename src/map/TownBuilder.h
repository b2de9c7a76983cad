#pragma once

#include "data/LandmarkListWriter.h"
#include "data/TownModelWriter.h"

#include <functional>
#include <string>

class ByteReader;
class TGxFreeForm;
class TGxMaterialLibrary;
class TGxPlane;
class TGxScene;
class Thouse;
class Troad;

// Loads the town model data.mod into the scene: first the material library
// (the path with "t" appended, replacing the library's materials), then the
// houses, roads and ground planes under the object root, in file order,
// then the landmark models of fl.dat beside it. Each record is read
// (data/TownModelReader.h) and built before the next is read. Errors
// propagate; the objects created before an error stay in the scene, the
// house or road being read among them.
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

// The objects of records already read. A house takes at most three texts
// (a fourth raises "List index out of bounds (3)" after the nodes and the
// first three are set); of a road's texts the first is kept as the street
// it belongs to.
void BuildHouse(Thouse& house, const TownHouseRecord& record);
void BuildRoad(Troad& road, const TownRoadRecord& record);
void BuildPlane(TGxPlane& plane, const TownPlaneRecord& record, TGxMaterialLibrary& library);

// The houses, roads and planes of a town model read whole, under the object
// root in file order, sharing the materials of equal looks as loading does.
void BuildTown(const TownModel& town, TGxScene& scene, TGxMaterialLibrary& library);

// Loads the landmark models listed in fl.dat in `dataFolder` (empty: the
// working folder), the last step of loading the town model: a TGxFreeForm
// under the object root for each, in file order. A landmark's name must
// differ (letter case aside) from the other landmarks' and the two roots'
// only. The library is not the landmarks': they draw with their own
// material, coloured by the list. Errors end the load; the landmarks made
// before stay in the scene.
//   missing fl.dat, a block cut short, a bad number: as LandmarkList reads
//                       them (data/LandmarkListReader.h)
//   missing mesh file:  "File not found: "<path>""
//   a bad name:         "''<name>'' is not a valid component name",
//                       "A component named <name> already exists"
void LoadLandmarks(TGxScene& scene, const std::string& dataFolder, TGxMaterialLibrary& library);

// Places and colours a landmark whose mesh is loaded.
void PlaceLandmark(TGxFreeForm& landmark, const LandmarkRecord& record);
