#include "app/StartUp.h"

#include "app/LoadProgress.h"
#include "map/MainScene.h"
#include "map/MapState.h"
#include "data/TownScale.h"
#include "directory/Selection.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxCylinder.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "platform/ErrorBox.h"

#include <QDir>

StartUp::StartUp(MapState& state, MainScene& scene, QString programFolder, QString townFolder, Services services)
    : m_state(state), m_scene(scene), m_programFolder(std::move(programFolder)), m_townFolder(std::move(townFolder)),
      m_services(std::move(services))
{
}

bool StartUp::Run()
{
    try {
        steps();
        return true;
    } catch (...) {
        // Failing before its completion, start-up goes on without a splash.
        if (m_services.DropSplash)
            m_services.DropSplash();
        const QString message = currentExceptionText();
        if (m_services.ShowError)
            m_services.ShowError(message);
        return false;
    }
}

void StartUp::steps()
{
    const auto call = [](const std::function<void()>& service) {
        if (service)
            service();
    };
    call(m_services.ShowMapPage);
    m_state.ShowNonBuildings = true;
    m_state.AutoMoveTo = true;
    // The rod's own material: loading the library unlinks the designed one.
    m_scene.Wand->Material().FrontProperties().Diffuse().SetWinColor(0x0000FF); // red
    QDir::setCurrent(m_programFolder);
    m_state.CurrentObject = m_scene.GxDummyCube;
    m_state.HeightScale = kHeightScale;

    // The splash shows the loading from the start and stays alive through
    // it; it becomes the splash of the run once the town is in the scene.
    call(m_services.ShowSplash);
    LoadProgress progress([this](int percent) {
        if (m_services.ShowProgress)
            m_services.ShowProgress(percent);
    });
    m_scene.LoadObjFromFile(QDir(m_townFolder).filePath("data.mod").toStdString(), progress.Stage(0, 0.7));
    m_scene.Set3D(m_state.HeightScale, progress.Stage(0.7, 0.95));
    m_scene.AddLabels(m_state);
    // Houses take the normal colours whatever the model gave them.
    DeSelectAll(m_scene.GxScene);
    progress.Report(0.96);
    call(m_services.CompleteSplash);

    if (m_services.LoadDirectory)
        m_services.LoadDirectory(QDir(m_townFolder).filePath("data.tmd").toStdString());
    call(m_services.CentreWindow);
    m_scene.GxFreeCamera->OrbitTarget(0, 0.01f);
    progress.Report(1);
}
