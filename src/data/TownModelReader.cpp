#include "data/TownModelReader.h"

#include "data/ByteReader.h"
#include "data/LandmarkListReader.h"
#include "data/TownModelWriter.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxPlane.h"
#include "engine/scene/GxException.h"
#include "engine/scene/GxScene.h"
#include "town/House.h"
#include "town/Road.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace {

// Smallest records: a count, nothing behind it, a second count and a colour.
constexpr std::size_t kMinPolygonRecord = 12;
constexpr std::size_t kPlaneRecord = 55;
constexpr std::size_t kTextRecord = 1 + kTownTextCapacity;

std::int32_t readCount(ByteReader& in, std::size_t minRecordSize)
{
    const std::int32_t count = in.int32();
    in.requireRecords(count, minRecordSize);
    return count;
}

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

} // namespace

void LoadHouseFromStream(ByteReader& in, TGxScene& scene)
{
    auto* house = scene.ObjectRoot()->SpawnChild<Thouse>();
    const std::int32_t nodes = readCount(in, 2 * sizeof(float));
    // Its walls could not be built: the whole start-up would stop there.
    if (nodes <= 0)
        in.failDamaged("у дома нет ни одного узла (байт " + std::to_string(in.position()) + " из "
                       + std::to_string(in.size()) + ")");
    house->Nodes().Reserve(nodes);
    for (std::int32_t i = 0; i < nodes; ++i) {
        const float x = in.float32();
        const float y = in.float32();
        house->AppendNode(x, y, 0);
    }
    const std::int32_t texts = readCount(in, kTextRecord);
    for (std::int32_t i = 0; i < texts; ++i)
        house->SetParam(i, in.shortString(kTownTextCapacity));
    house->Material().FrontProperties().Diffuse().SetWinColor(in.int32());
}

void LoadPolyFromStream(ByteReader& in, TGxScene& scene)
{
    auto* road = scene.ObjectRoot()->SpawnChild<Troad>();
    const std::int32_t nodes = readCount(in, 3 * sizeof(float));
    road->Nodes().Reserve(nodes);
    for (std::int32_t i = 0; i < nodes; ++i) {
        const float x = in.float32();
        const float y = in.float32();
        const float z = in.float32();
        road->AppendNode(x, y, z);
    }
    // The texts of roads are not kept.
    const std::int32_t texts = readCount(in, kTextRecord);
    for (std::int32_t i = 0; i < texts; ++i)
        in.skip(kTextRecord);
    road->Material().FrontProperties().Diffuse().SetWinColor(in.int32());
}

void LoadPlaneFromStream(ByteReader& in, TGxScene& scene, TGxMaterialLibrary& library)
{
    // The whole record first: a short one leaves no half-set plane behind.
    in.requireRecords(1, kPlaneRecord);
    auto* plane = scene.ObjectRoot()->SpawnChild<TGxPlane>();
    float v[11];
    for (float& f : v)
        f = in.float32();
    plane->Position().SetX(v[0]);
    plane->Position().SetY(v[1]);
    plane->Position().SetZ(v[2]);
    // Up first, then Direction: each is made perpendicular to the other as it
    // is set, so the file's direction wins when the two disagree.
    plane->Up().AssignVector(v[3], v[4], v[5]);
    plane->Direction().AssignVector(v[6], v[7], v[8]);
    plane->SetWidth(v[9]);
    plane->SetHeight(v[10]);
    const std::string materialName = in.shortString(kPlaneMaterialNameCapacity);
    TGxMaterial& material = plane->Material();
    material.SetMaterialLibrary(&library);
    material.SetLibMaterialName(materialName);
    material.Texture().SetEnabled(true);
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
    // Every record is at least 12 bytes (houses, roads) or 55 (planes).
    SharedLooks looks;
    const std::int32_t houses = readCount(in, kMinPolygonRecord);
    for (std::int32_t i = 0; i < houses; ++i) {
        LoadHouseFromStream(in, scene);
        looks.add(lastObject(scene));
        report(i);
    }
    const std::int32_t roads = readCount(in, kMinPolygonRecord);
    for (std::int32_t i = 0; i < roads; ++i) {
        LoadPolyFromStream(in, scene);
        looks.add(lastObject(scene));
        report(i);
    }
    const std::int32_t planes = readCount(in, kPlaneRecord);
    for (std::int32_t i = 0; i < planes; ++i)
        LoadPlaneFromStream(in, scene, library);
    in.int32(); // the trailer
    // A bare file name lies in the working folder; its parent path is empty.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    LoadLandmarks(scene, folder.empty() ? "." : folder, library);
}
