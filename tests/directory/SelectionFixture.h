#pragma once

#include "map/MapState.h"
#include "base/Cp1251.h"
#include "directory/SearchControls.h"
#include "directory/SearchPanel.h"
#include "directory/Selection.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

// The search fields and the tree as plain values.
class FakeSearchControls : public SearchControls {
public:
    std::optional<std::string> OrgNameText() const override { return orgName; }
    std::optional<std::string> StreetText() const override { return street; }
    std::optional<std::string> HouseNoText() const override { return houseNo; }
    void SetOrgNameText(const std::string& raw) override { orgName = raw; }
    void SetStreetText(const std::string& raw) override { street = raw; }
    void SetHouseNoText(const std::string& raw) override { houseNo = raw; }
    void SetHouseNumbers(const std::vector<std::string>& raws) override
    {
        houseNo = "";
        houseNumbers = raws;
    }
    void ClearTree() override
    {
        tree.clear();
        details.clear();
    }
    void AddSimpleRecord(const OrgRecord& entry) override
    {
        tree.push_back(entry.name);
        details.emplace_back();
    }
    void AddOrganisation(std::size_t, const OrgRecord& entry, const QStringList& moreLines) override
    {
        tree.push_back(entry.name);
        details.push_back(moreLines);
    }

    std::optional<std::string> orgName = std::string();
    std::optional<std::string> street = std::string();
    std::optional<std::string> houseNo = std::string();
    std::vector<std::string> houseNumbers;
    std::vector<std::string> tree; // organisation names in tree order
    std::vector<QStringList> details; // the lines of kind and hours of each
};

// A small town of houses with walls and a directory, the selection over it,
// and a record of the label and of the fly-to requests. The label is the
// house it was last made for; MoveToHouse writes the fields as the real one does.
class SelectionFixture : public ::testing::Test {
protected:
    static std::string w(std::string_view utf8) { return cp1251::fromUtf8(utf8); }

    SelectionFixture()
    {
        ground = scene.ObjectRoot()->SpawnChild<TGxDummyCube>();
        state.CurrentObject = scene.ObjectRoot()->SpawnChild<TGxDummyCube>(); // GxDummyCube
        startObject = state.CurrentObject;
    }

    Thouse* addHouse(std::string_view street, std::string_view number, float x = 0, float y = 0)
    {
        auto* h = scene.ObjectRoot()->SpawnChild<Thouse>();
        for (const auto& p : std::array<std::array<float, 2>, 4>{{{0, 0}, {4, 0}, {4, 3}, {0, 3}}})
            h->AppendNode(x + p[0], y + p[1], 0);
        h->SetParam(0, w(street));
        h->SetParam(1, w(number));
        h->BuildWalls();
        h->SetNormalColors();
        return h;
    }

    void addOrg(std::string_view name, std::string_view street, std::string_view number)
    {
        OrgRecord r;
        r.name = w(name);
        r.streetName = w(street);
        r.houseNo = w(number);
        records.push_back(r);
    }

    static bool isRed(const Thouse* h)
    {
        const auto c = h->Material().FrontProperties().Diffuse().Vector();
        return c == std::array<float, 4>{1, 0, 0, 1};
    }

    std::vector<Thouse*> redHouses() { return housesWhere(isRed); }

    // The houses, in child order, for which `holds` is true.
    std::vector<Thouse*> housesWhere(bool (*holds)(const Thouse*))
    {
        std::vector<Thouse*> found;
        selection.ForEachHouse([&](Thouse& h) {
            if (holds(&h))
                found.push_back(&h);
        });
        return found;
    }

    std::vector<std::string> names(std::initializer_list<std::string_view> utf8)
    {
        std::vector<std::string> out;
        for (auto n : utf8)
            out.push_back(w(n));
        return out;
    }

    void pressAt(TGxBaseSceneObject* under, Qt::MouseButton button = Qt::LeftButton)
    {
        objectUnderPointer = under;
        selection.GxSceneViewerMouseDown(button, 10, 20);
    }

    void forgetCalls()
    {
        flights.clear();
        pointFlights.clear();
        hints.clear();
        picks = 0;
    }

    TGxScene scene;
    MapState state;
    OrgRecords records;
    FakeSearchControls controls;
    TGxBaseSceneObject* ground = nullptr;
    TGxBaseSceneObject* startObject = nullptr;

    TGxBaseSceneObject* objectUnderPointer = nullptr;
    int picks = 0;
    Thouse* label = nullptr;             // the house the label shows
    std::vector<Thouse*> hints;          // every label made, in order
    std::vector<Thouse*> flights;        // every MoveToHouse, in order
    std::vector<std::pair<float, float>> pointFlights; // every MoveToPoint, in order
    QDateTime clock{QDate(2026, 12, 11), QTime(10, 30)}; // a Friday

    Selection selection{state, scene, records, controls,
                        Selection::Services{
                            [this](int, int) {
                                ++picks;
                                return objectUnderPointer;
                            },
                            [this](Thouse& h) {
                                flights.push_back(&h);
                                controls.street = h.params()[0];
                                controls.houseNo = h.params()[1];
                            },
                            [this](Thouse& h) {
                                hints.push_back(&h);
                                label = &h;
                            },
                            [this] { label = nullptr; },
                            [this](float x, float y) { pointFlights.push_back({x, y}); },
                            [this] { return clock; },
                        }};
    SearchPanel panel{selection};
};
