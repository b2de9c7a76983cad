#include "map/TownBuilder.h"

#include "base/ByteReader.h"
#include "base/Cp1251.h"
#include "base/GxException.h"
#include "data/LandmarkListReader.h"
#include "data/TownModelReader.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/objects/GxPlane.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"
#include "map/Road.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// Objects read with equal materials share the first one's: a town's
// thousands of houses and roads come in a handful of colours.
class SharedLooks {
public:
    void add(TGxBaseSceneObject* object)
    {
        auto* o = dynamic_cast<TGxCustomSceneObject*>(object);
        if (!o)
            return;
        const TGxMaterial& look = std::as_const(*o).Material();
        for (TGxCustomSceneObject* model : m_models)
            if (look.SamePlainSettings(std::as_const(*model).Material())) {
                o->ShareMaterial(*model);
                return;
            }
        // Beyond a few dozen colours the search would cost more than it saves.
        if (m_models.size() < 32)
            m_models.push_back(o);
    }

private:
    std::vector<TGxCustomSceneObject*> m_models;
};

TGxBaseSceneObject* lastObject(TGxScene& scene)
{
    TGxBaseSceneObject* root = scene.ObjectRoot();
    return root->Count() > 0 ? root->Children(root->Count() - 1) : nullptr;
}

bool isIdentifier(const std::string& name)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (name.empty() || !letter(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::string lowerAscii(const std::string& s)
{
    std::string lower = s;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return lower;
}

std::string display(const std::string& bytes)
{
    return cp1251::decode(bytes).toStdString();
}

// A landmark's name must be an identifier and differ, letter case aside,
// from the names already taken: the other landmarks' and the two roots'.
// The scene's other objects do not count (the main window's own "Wand" does
// not stop a landmark made from wand.3ds).
class LandmarkNames {
public:
    explicit LandmarkNames(const TGxScene& scene)
        : m_taken{lowerAscii(scene.ObjectRoot()->Name()), lowerAscii(scene.CameraRoot()->Name())}
    {
    }

    void name(TGxComponent& landmark, const std::string& name)
    {
        if (!name.empty()) {
            if (!isIdentifier(name))
                throw EGxError("''" + display(name) + "'' is not a valid component name");
            if (!m_taken.insert(lowerAscii(name)).second)
                throw EGxError("A component named " + display(name) + " already exists");
        }
        landmark.SetName(name);
    }

private:
    std::unordered_set<std::string> m_taken;
};

} // namespace

void BuildHouse(Thouse& house, const TownHouseRecord& record)
{
    house.Nodes().Reserve(int(record.nodes.size()));
    for (const auto& node : record.nodes)
        house.AppendNode(node[0], node[1], 0);
    for (std::size_t i = 0; i < record.texts.size(); ++i)
        house.SetParam(int(i), record.texts[i]);
    house.Material().FrontProperties().Diffuse().SetWinColor(record.colour);
}

void BuildRoad(Troad& road, const TownRoadRecord& record)
{
    road.Nodes().Reserve(int(record.nodes.size()));
    for (const auto& node : record.nodes)
        road.AppendNode(node[0], node[1], node[2]);
    if (!record.texts.empty())
        road.SetStreetName(record.texts[0]);
    road.Material().FrontProperties().Diffuse().SetWinColor(record.colour);
}

void BuildPlane(TGxPlane& plane, const TownPlaneRecord& record, TGxMaterialLibrary& library)
{
    plane.Position().SetX(record.position[0]);
    plane.Position().SetY(record.position[1]);
    plane.Position().SetZ(record.position[2]);
    // Up first, then Direction: each is made perpendicular to the other as it
    // is set, so the file's direction wins when the two disagree.
    plane.Up().AssignVector(record.up[0], record.up[1], record.up[2]);
    plane.Direction().AssignVector(record.direction[0], record.direction[1], record.direction[2]);
    plane.SetWidth(record.width);
    plane.SetHeight(record.height);
    TGxMaterial& material = plane.Material();
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName(record.materialName);
    material.Texture().SetEnabled(true);
}

void LoadHouseFromStream(ByteReader& in, TGxScene& scene)
{
    // Made before its record is read: a record that fails leaves it behind.
    auto* house = scene.ObjectRoot()->SpawnChild<Thouse>();
    BuildHouse(*house, readHouseRecord(in));
}

void LoadPolyFromStream(ByteReader& in, TGxScene& scene)
{
    auto* road = scene.ObjectRoot()->SpawnChild<Troad>();
    BuildRoad(*road, readRoadRecord(in));
}

void LoadPlaneFromStream(ByteReader& in, TGxScene& scene, TGxMaterialLibrary& library)
{
    // The whole record first: a short one leaves no half-set plane behind.
    const TownPlaneRecord record = readPlaneRecord(in);
    BuildPlane(*scene.ObjectRoot()->SpawnChild<TGxPlane>(), record, library);
}

void BuildTown(const TownModel& town, TGxScene& scene, TGxMaterialLibrary& library)
{
    SharedLooks looks;
    for (const TownHouseRecord& record : town.houses) {
        BuildHouse(*scene.ObjectRoot()->SpawnChild<Thouse>(), record);
        looks.add(lastObject(scene));
    }
    for (const TownRoadRecord& record : town.roads) {
        BuildRoad(*scene.ObjectRoot()->SpawnChild<Troad>(), record);
        looks.add(lastObject(scene));
    }
    for (const TownPlaneRecord& record : town.planes)
        BuildPlane(*scene.ObjectRoot()->SpawnChild<TGxPlane>(), record, library);
}

void LoadObjFromFile(const std::string& path, TGxScene& scene, TGxMaterialLibrary& library,
                     const std::function<void(double)>& progress)
{
    library.LoadFromFile(path + "t");
    ByteReader in = ByteReader::fromFile(path);
    const auto report = [&in, &progress](std::int32_t record) {
        if (progress && record % 256 == 0)
            progress(in.size() > 0 ? double(in.position()) / double(in.size()) : 1.0);
    };
    SharedLooks looks;
    const std::int32_t houses = readHouseOrRoadCount(in);
    for (std::int32_t i = 0; i < houses; ++i) {
        LoadHouseFromStream(in, scene);
        looks.add(lastObject(scene));
        report(i);
    }
    const std::int32_t roads = readHouseOrRoadCount(in);
    for (std::int32_t i = 0; i < roads; ++i) {
        LoadPolyFromStream(in, scene);
        looks.add(lastObject(scene));
        report(i);
    }
    const std::int32_t planes = readPlaneCount(in);
    for (std::int32_t i = 0; i < planes; ++i)
        LoadPlaneFromStream(in, scene, library);
    in.int32(); // the trailer
    // A bare file name lies in the working folder; its parent path is empty.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    LoadLandmarks(scene, folder.empty() ? "." : folder, library);
}

void PlaceLandmark(TGxFreeForm& landmark, const LandmarkRecord& record)
{
    // One component at a time: for Direction and Up each is followed by the
    // coordinate rule, so the order matters.
    auto assign = [](TGxCoordinates& v, const std::array<float, 3>& value) {
        v.SetX(value[0]);
        v.SetY(value[1]);
        v.SetZ(value[2]);
    };
    assign(landmark.Position(), record.position);
    assign(landmark.Scale(), record.scale);
    assign(landmark.Direction(), record.direction);
    assign(landmark.Up(), record.up);
    TGxMaterial& material = landmark.Material();
    material.FrontProperties().Diffuse().SetWinColor(record.colour);
    material.Texture().SetEnabled(true);
    material.Texture().SetTextureMode(tmModulate);
}

void LoadLandmarks(TGxScene& scene, const std::string& folder, TGxMaterialLibrary&)
{
    // An empty folder is the working folder, never the root.
    const std::string dataFolder = folder.empty() ? "." : folder;
    const LandmarkList list = LandmarkList::fromFolder(dataFolder);
    LandmarkNames names(scene);
    for (int i = 0; i < list.count(); ++i) {
        auto* landmark = scene.ObjectRoot()->SpawnChild<TGxFreeForm>();
        const std::string& meshLine = list.meshLine(i);
        // The list is in the Windows code page; paths here are UTF-8.
        landmark->LoadFromFile(dataFolder + "/" + display(meshLine));
        names.name(*landmark, landmarkName(meshLine));
        PlaceLandmark(*landmark, list.record(i));
    }
}
