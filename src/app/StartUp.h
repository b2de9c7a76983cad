#pragma once

#include <QString>

#include <functional>
#include <string>

class MainScene;
struct MapState;

// The main window's start-up: the town loaded into the map's scene before
// anything but the splash is seen, the splash handed the run, the directory
// read while it shows. A failing step ends the sequence; what was done before
// it stays, and the error is shown.
class StartUp {
public:
    // What the sequence asks of the windows around it.
    struct Services {
        std::function<void()> ShowMapPage;             // the map's tab made current
        std::function<void()> ShowSplash;              // the splash at once, before the loading
        std::function<void(int percent)> ShowProgress; // on the splash
        std::function<void()> CompleteSplash;          // the splash becomes a window of the run
        std::function<void()> DropSplash;              // failed before it was completed: no splash
        std::function<void(const std::string& path)> LoadDirectory; // data.tmd into the search lists
        std::function<void()> CentreWindow;            // on the primary screen
        std::function<void(const QString& message)> ShowError;
    };

    // `programFolder` becomes the working directory; `townFolder` holds the four files.
    StartUp(MapState& state, MainScene& scene, QString programFolder, QString townFolder, Services services);

    // The whole sequence; false when a step failed (its error has been shown).
    bool Run();

private:
    void steps();

    MapState& m_state;
    MainScene& m_scene;
    QString m_programFolder;
    QString m_townFolder;
    Services m_services;
};
