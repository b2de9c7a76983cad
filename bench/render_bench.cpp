// Drawing and picking a generated town through the real engine, off-screen
// at the map view's size: load and walls, the first frame (tessellation and
// display lists), steady frames, one hover pick and one whole tick of the
// frame loop. Peak memory is the process's high-water mark so far.
#include "TownGenerator.h"
#include "app/MainScene.h"
#include "app/MapState.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "navigation/FrameLoop.h"
#include "navigation/MapInput.h"
#include "platform/KeyState.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kViewWidth = 593;
constexpr int kViewHeight = 440;

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class NoKeys : public KeyStateSource {
public:
    bool KeyHeld(int) const override { return false; }
};

// One generated town on disk, written once per size for the whole run.
const QString& townFolder(std::size_t houses)
{
    static std::map<std::size_t, std::unique_ptr<QTemporaryDir>> folders;
    auto& folder = folders[houses];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        TownOptions options;
        options.houses = houses;
        options.organisations = 100;
        writeTownFiles(generateTown(options), folder->path().toStdString());
    }
    static QString path;
    path = folder->path();
    return path;
}

// The main window's scene, loaded as at start-up, with the camera where the
// climb after start-up leaves it, drawn into a framebuffer of the view's size.
struct DrawnTown {
    MapState state;
    MainScene scene;
    TGxSceneBuffer buffer;
    double loadSeconds = 0;
    double firstFrameSeconds = 0;

    explicit DrawnTown(std::size_t houses)
    {
        const QString folder = townFolder(houses);
        const auto start = std::chrono::steady_clock::now();
        scene.LoadObjFromFile(QDir(folder).filePath("data.mod").toStdString());
        scene.Set3D(state.HeightScale);
        loadSeconds = secondsSince(start);

        scene.GxFreeCamera->Position().AssignPoint(37.2f, -41.2f, 40.2f);
        buffer.SetBackgroundColor(clWhite);
        buffer.AmbientColor().SetColorVector(0.4f, 0.4f, 0.4f, 1.0f);
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.Resize(kViewWidth, kViewHeight);
        buffer.CreateRC(
            std::make_unique<TGxOffscreenRenderingContext>(kViewWidth, kViewHeight, buffer.SurfaceFormat()));
        const auto first = std::chrono::steady_clock::now();
        buffer.Render();
        firstFrameSeconds = secondsSince(first);
    }
};

void BM_RenderTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    for (auto _ : state)
        town.buffer.Render();
    state.counters["load_walls_s"] = town.loadSeconds;
    state.counters["first_frame_s"] = town.firstFrameSeconds;
    state.counters["load_to_first_frame_s"] = town.loadSeconds + town.firstFrameSeconds;
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_RenderTown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The hover pick: the object under a pixel in the middle of the view.
void BM_PickTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    int hits = 0;
    int x = kViewWidth / 2;
    for (auto _ : state) {
        hits += town.buffer.ObjectAtPixel(x, kViewHeight / 2) != nullptr;
        x = x == kViewWidth / 2 ? kViewWidth / 2 + 7 : kViewWidth / 2;
    }
    state.counters["hit_ratio"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_PickTown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One tick as the program runs it: the frame loop (ground marker, hover
// pick, orbit) and then the frame it asks for.
void BM_TickTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    NoKeys keys;
    ScriptedPointer pointer({kViewWidth, kViewHeight});
    pointer.MoveTo(kViewWidth / 2, kViewHeight / 2);
    SceneBufferPicker picker(town.buffer);
    FrameLoop loop(town.state, town.scene, keys, pointer, picker);
    town.state.AutoOrbit = true;
    for (auto _ : state) {
        loop.Tick();
        town.buffer.Render();
    }
    state.counters["ticks_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TickTown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace
