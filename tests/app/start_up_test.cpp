// The start-up sequence on real town files, with the windows around it recorded.
#include "map/MainScene.h"
#include "map/MapState.h"
#include "app/StartUp.h"
#include "base/Cp1251.h"
#include "data/LandmarkListWriter.h"
#include "data/MaterialLibraryWriter.h"
#include "data/OrgDirectoryReader.h"
#include "data/OrgDirectoryWriter.h"
#include "data/TownModelWriter.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "support/TempDir.h"
#include "support/VectorAsserts.h"
#include "map/House.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

TownHouseRecord house(float x, int floors)
{
    TownHouseRecord h;
    h.nodes = {{x, 0}, {x + 4, 0}, {x + 4, 3}, {x, 3}};
    h.texts = {cp1251::fromUtf8("Садовая"), "1", std::to_string(floors)};
    return h;
}

class StartUpSequence : public ::testing::Test {
protected:
    void SetUp() override { m_previousDir = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(m_previousDir); }

    QString town() const { return QString::fromStdString(m_town.path()); }
    QString program() const { return QString::fromStdString(m_program.path()); }

    // The four files of a two-house town with one organisation.
    void writeTown()
    {
        TownModel model;
        model.houses = {house(0, 2), house(10, 5)};
        writeTownModel(model).saveTo(m_town.file("data.mod"));
        writeMaterialLibrary(2, {}).saveTo(m_town.file("data.modt"));
        QFile landmarks(QString::fromStdString(m_town.file("fl.dat")));
        ASSERT_TRUE(landmarks.open(QIODevice::WriteOnly));
        landmarks.write(QByteArray::fromStdString(writeLandmarkList({})));
        landmarks.close();
        OrgRecord org;
        org.name = "Apteka";
        org.streetName = cp1251::fromUtf8("Садовая");
        org.houseNo = "1";
        writeOrgDirectory({org}).saveTo(m_town.file("data.tmd"));
    }

    // Runs the sequence on `on` (the fixture's scene by default); the
    // windows' part is recorded in `calls`.
    bool run(MainScene* on = nullptr)
    {
        StartUp::Services services;
        services.ShowMapPage = [this] { calls.push_back("map page"); };
        services.ShowSplash = [this] { calls.push_back("splash"); };
        services.ShowProgress = [this](int percent) { progress.push_back(percent); };
        services.CompleteSplash = [this] { calls.push_back("splash completed"); };
        services.DropSplash = [this] { calls.push_back("splash dropped"); };
        services.LoadDirectory = [this](const std::string& path) {
            calls.push_back("directory");
            directory = readOrgDirectoryFile(path);
        };
        services.CentreWindow = [this] { calls.push_back("centred"); };
        services.ShowError = [this](const QString& message) {
            calls.push_back("error");
            errors << message;
        };
        return StartUp(state, on ? *on : scene, program(), town(), std::move(services)).Run();
    }

    static std::vector<Thouse*> housesOf(MainScene& s)
    {
        std::vector<Thouse*> found;
        TGxBaseSceneObject* root = s.GxScene.ObjectRoot();
        for (int i = 0; i < root->Count(); ++i)
            if (auto* h = dynamic_cast<Thouse*>(root->Children(i)))
                found.push_back(h);
        return found;
    }
    std::vector<Thouse*> houses() { return housesOf(scene); }

    MapState state;
    MainScene scene;
    std::vector<std::string> calls;
    std::vector<int> progress;
    QStringList errors;
    OrgDirectory directory;

private:
    TempDir m_town;
    TempDir m_program;
    QString m_previousDir;
};

TEST_F(StartUpSequence, LoadsTheTownThenHandsTheSplashTheRunAndReadsTheDirectory)
{
    writeTown();
    state.ShowNonBuildings = false;
    state.AutoMoveTo = false;
    state.HeightScale = 1;
    const TGxVector camera = scene.GxFreeCamera->Position().Vector4();

    EXPECT_TRUE(run());

    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(calls, (std::vector<std::string>{"map page", "splash", "splash completed", "directory", "centred"}));
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(directory.records.size(), 1u);

    EXPECT_TRUE(state.ShowNonBuildings);
    EXPECT_TRUE(state.AutoMoveTo);
    EXPECT_EQ(state.HeightScale, 0.000811f * 100.0f);
    EXPECT_EQ(state.CurrentObject, scene.GxDummyCube);
    EXPECT_EQ(QDir::current(), QDir(program()));
    EXPECT_EQ(scene.Wand->Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{1, 0, 0, 1}));
    // Both houses behind the designed objects, with walls and the normal green.
    ASSERT_EQ(houses().size(), 2u);
    for (Thouse* h : houses()) {
        EXPECT_GT(h->Count(), 0) << "walls";
        EXPECT_EQ(h->Material().FrontProperties().Diffuse().Vector(), (std::array<float, 4>{0, 128.0f / 255, 0, 1}));
    }
    EXPECT_FALSE(VectorNear(scene.GxFreeCamera->Position().Vector4(), camera, 0)) << "the camera has orbited";
}

// A file that cannot be read stops the sequence where it is read: the steps
// after it are skipped, what came before stays, and its error is shown once.
TEST_F(StartUpSequence, StopsAtTheFirstFailingFileAndReportsIt)
{
    const std::vector<std::string> beforeTheSplash = {"map page", "splash", "splash dropped", "error"};
    const struct {
        const char* what;
        std::vector<const char*> missing; // the first fails
        const char* damaged;              // cut short instead
        std::vector<std::string> calls;
        size_t houses;
    } cases[] = {
        {"town model", {"data.mod", "data.tmd"}, nullptr, beforeTheSplash, 0},
        {"damaged town model", {}, "data.mod", beforeTheSplash, 0},
        {"material library", {"data.modt"}, nullptr, beforeTheSplash, 0},
        {"landmarks", {"fl.dat", "data.tmd"}, nullptr, beforeTheSplash, 2},
        {"directory",
         {"data.tmd"},
         nullptr,
         {"map page", "splash", "splash completed", "directory", "splash dropped", "error"},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        state = MapState();
        state.ShowNonBuildings = false;
        calls.clear();
        errors.clear();
        writeTown();
        for (const char* name : c.missing)
            QFile::remove(town() + "/" + name);
        if (c.damaged) {
            QFile file(town() + "/" + c.damaged);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.resize(7);
        }
        MainScene fresh; // a scene of its own each time
        const TGxVector camera = fresh.GxFreeCamera->Position().Vector4();

        EXPECT_FALSE(run(&fresh));

        EXPECT_EQ(calls, c.calls);
        ASSERT_EQ(errors.size(), 1);
        const QString file = c.damaged ? QString::fromUtf8(c.damaged) : QString::fromUtf8(c.missing.front());
        EXPECT_TRUE(errors[0].contains(QDir(town()).filePath(file))) << errors[0].toStdString();
        // The steps before the file stay done; the camera's turn after it is skipped.
        EXPECT_TRUE(state.ShowNonBuildings);
        EXPECT_EQ(state.CurrentObject, fresh.GxDummyCube);
        EXPECT_TRUE(VectorNear(fresh.GxFreeCamera->Position().Vector4(), camera, 0));
        EXPECT_EQ(housesOf(fresh).size(), c.houses);
    }
}

} // namespace
