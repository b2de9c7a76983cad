// Drawing and picking a generated town through the real engine, off-screen
// at the map view's size: load and walls, the first frame (tessellation and
// vertex buffers), steady frames, one hover pick and one whole tick of the
// frame loop. Peak memory is the process's high-water mark so far. The
// table benchmark puts each figure beside the machine's own limit measured
// in the same run: the same triangles drawn from one buffer.
#define GL_GLEXT_PROTOTYPES
#include "TownGenerator.h"
#include "data/RoadNetworkReader.h"
#include "map/House.h"
#include "map/MainScene.h"
#include "map/MapLabels.h"
#include "map/MapState.h"
#include "directory/MapCorner.h"
#include "directory/MapOverlays.h"
#include "map/MapBand.h"
#include "map/MapState.h"
#include "routing/Router.h"
#include "directory/Selection.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/materials/GxMaterial.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxSceneBuffer.h"
#include "navigation/FrameLoop.h"
#include "navigation/MapInput.h"
#include "platform/KeyState.h"

#include <QDir>
#include <QOpenGLContext>
#include <QOpenGLPaintDevice>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kViewWidth = 593;
constexpr int kViewHeight = 440;

// A size line of /proc/self/status ("VmHWM:" the peak, "VmRSS:" now) in MB.
double statusMegabytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

double peakMegabytes()
{
    return statusMegabytes("VmHWM:");
}

// Hands freed heap back and starts the high-water mark afresh from the
// present resident size, so a town's figures are neither the peak of the
// town generator or of an earlier town nor hidden in pages kept from them.
void resetPeak()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// CPU seconds of the whole process (llvmpipe's threads included): on a
// machine shared with other work it tells what the wall clock cannot.
double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
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
    double contextSeconds = 0; // making the context and drawing one frame without the town
    double loadSeconds = 0;
    double firstFrameSeconds = 0;
    double loadCpuSeconds = 0;
    double firstFrameCpuSeconds = 0;
    // Resident size before loading (the context made and one frame of the
    // designed objects drawn), after loading with the walls, after the
    // town's first frame.
    double rssBeforeMB = 0;
    double rssLoadedMB = 0;
    double rssDrawnMB = 0;

    explicit DrawnTown(std::size_t houses, bool fast = true)
    {
        buffer.SetBatching(fast);
        buffer.SetViewCulling(fast);
        const QString folder = townFolder(houses);
        // The context and its driver belong to the baseline, as they do to
        // the limit's: made, and one frame drawn, before the town loads.
        scene.GxFreeCamera->Position().AssignPoint(37.2f, -41.2f, 40.2f);
        buffer.SetBackgroundColor(clWhite);
        buffer.AmbientColor().SetColorVector(0.4f, 0.4f, 0.4f, 1.0f);
        buffer.SetCamera(scene.GxFreeCamera);
        buffer.Resize(kViewWidth, kViewHeight);
        const auto context = std::chrono::steady_clock::now();
        buffer.CreateRC(
            std::make_unique<TGxOffscreenRenderingContext>(kViewWidth, kViewHeight, buffer.SurfaceFormat()));
        frame();
        contextSeconds = secondsSince(context);
        resetPeak();
        rssBeforeMB = statusMegabytes("VmRSS:");
        const double cpu = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        scene.LoadObjFromFile(QDir(folder).filePath("data.mod").toStdString());
        scene.Set3D(state.HeightScale);
        DeSelectAll(scene.GxScene);
        loadSeconds = secondsSince(start);
        loadCpuSeconds = processCpuSeconds() - cpu;
        rssLoadedMB = statusMegabytes("VmRSS:");

        const double firstCpu = processCpuSeconds();
        const auto first = std::chrono::steady_clock::now();
        frame();
        firstFrameSeconds = secondsSince(first);
        firstFrameCpuSeconds = processCpuSeconds() - firstCpu;
        rssDrawnMB = statusMegabytes("VmRSS:");
    }

    // A frame counts once its pixels are drawn: llvmpipe rasterises in
    // threads of its own, and an off-screen frame has no swap to wait for.
    void frame()
    {
        buffer.Render();
        finish();
    }
    void finish()
    {
        TGxContextActivation active(*buffer.RenderingContext());
        glFinish();
    }
};

void BM_RenderTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    for (auto _ : state)
        town.frame();
    state.counters["load_walls_s"] = town.loadSeconds;
    state.counters["first_frame_s"] = town.firstFrameSeconds;
    state.counters["load_to_first_frame_s"] = town.loadSeconds + town.firstFrameSeconds;
    state.counters["load_to_first_frame_cpu_s"] = town.loadCpuSeconds + town.firstFrameCpuSeconds;
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["town_objects_MB"] = town.rssLoadedMB - town.rssBeforeMB;
    state.counters["gl_first_frame_MB"] = town.rssDrawnMB - town.rssLoadedMB;
}
BENCHMARK(BM_RenderTown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The hover pick: the object under a pixel in the middle of the view,
// drawing everything (mode 0), leaving out objects whose bounds miss the pick
// region by testing each of them (1), or finding the few that can be hit
// through the scene's pick index (2). The modes that leave objects out also
// compare their hits with the full pass on a grid of pixels over the whole
// view and count the pixels where they differ. objects_drawn: objects the
// pick drew; ratio_to_full_pass: the full pass's time over this one's,
// measured in the same run (the pass that draws the whole town is what
// every hover pick cost before anything was left out).
void BM_PickTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    const int mode = int(state.range(1));
    const auto setMode = [&town](int m) {
        town.buffer.SetPickCulling(m != 0);
        town.buffer.SetPickIndexed(m == 2);
    };
    const auto pick = [&town](int x, int y) { return town.buffer.ObjectAtPixel(x, y); };
    int differ = 0;
    if (mode != 0) {
        const int step = state.range(0) > 1000 ? 60 : 30;
        for (int y = step / 2; y < kViewHeight; y += step)
            for (int x = step / 2; x < kViewWidth; x += step) {
                setMode(0);
                const auto full = town.buffer.PickListInRect({x - 1, y - 1, x + 1, y + 1}, 64);
                setMode(mode);
                const auto cut = town.buffer.PickListInRect({x - 1, y - 1, x + 1, y + 1}, 64);
                bool same = full->Count() == cut->Count();
                for (int h = 0; same && h < full->Count(); ++h)
                    same = full->Hit(h) == cut->Hit(h) && full->Record(h).NearDepth == cut->Record(h).NearDepth;
                differ += same ? 0 : 1;
            }
    }
    // The full pass, timed in this run for the ratio.
    double fullSeconds = 0;
    if (mode != 0) {
        setMode(0);
        constexpr int kFullRuns = 5;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kFullRuns; ++i)
            pick(kViewWidth / 2, kViewHeight / 2);
        fullSeconds = secondsSince(start) / kFullRuns;
    }
    setMode(mode);
    int hits = 0;
    int x = kViewWidth / 2;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        hits += pick(x, kViewHeight / 2) != nullptr;
        x = x == kViewWidth / 2 ? kViewWidth / 2 + 7 : kViewWidth / 2;
    }
    const double seconds = secondsSince(start) / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["hit_ratio"] = double(hits) / double(state.iterations());
    state.counters["objects_drawn"] = double(town.buffer.LastPickObjectCount());
    if (mode != 0) {
        state.counters["pixels_differing_from_full_pass"] = differ;
        state.counters["ratio_to_full_pass"] = fullSeconds / seconds;
    }
}
BENCHMARK(BM_PickTown)
    ->ArgNames({"houses", "mode"})
    ->Args({1000, 2})
    ->Args({10000, 2})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// Ticks as the program runs them, the pointer still in the middle of the
// view, the camera orbiting: the frame loop (ground marker, hover pick,
// orbit) and then the frame it asks for.
struct TickingTown {
    DrawnTown& town;
    NoKeys keys;
    ScriptedPointer pointer{{kViewWidth, kViewHeight}};
    SceneBufferPicker picker{town.buffer};
    FrameLoop loop{town.state, town.scene, keys, pointer, picker};

    explicit TickingTown(DrawnTown& drawn) : town(drawn)
    {
        pointer.MoveTo(kViewWidth / 2, kViewHeight / 2);
        town.state.AutoOrbit = true;
    }
    void tick()
    {
        loop.Tick();
        town.frame();
    }
};

void BM_TickTown(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    TickingTown ticking(town);
    for (auto _ : state)
        ticking.tick();
    state.counters["ticks_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TickTown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Every triangle the town draws in one vertex buffer, drawn with one call
// in one material through the same frame (camera, lights, clear, finish):
// what the machine can do with the town's geometry.
class OneBuffer : public TGxSceneObject {
public:
    OneBuffer(TGxComponent* owner, const std::vector<float>& vertices) : TGxSceneObject(owner)
    {
        SetRenderFlags(TGxRenderFlags{TGxRenderFlag::DrawEveryFrame});
        Material().FrontProperties().Diffuse().SetWinColor(0x008000);
        m_vertices = GLsizei(vertices.size() / 6);
        glGenBuffers(1, &m_buffer);
        glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    void EmitGeometry(TRenderContextInfo&) override
    {
        glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        glVertexPointer(3, GL_FLOAT, 24, nullptr);
        glNormalPointer(GL_FLOAT, 24, reinterpret_cast<const void*>(12));
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glDrawArrays(GL_TRIANGLES, 0, m_vertices);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

private:
    GLuint m_buffer = 0;
    GLsizei m_vertices = 0;
};

void collectTriangles(const TGxBaseSceneObject* object, std::vector<float>& out)
{
    for (int i = 0; i < object->Count(); ++i) {
        const TGxBaseSceneObject* child = object->Children(i);
        if (child->Visible())
            child->CaptureTriangles(out);
        collectTriangles(child, out);
    }
}

template <class F>
double medianSeconds(int runs, F&& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(secondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Ticks with the street names and house numbers shown beside ticks with
// them switched off, in one run on the same town: single ticks taking
// turns (off-on, then on-off), the median of each side, so that the
// machine's other work falls on both alike. on_to_off: ticks per second
// with the labels over those without (on_to_off_cpu: the same in CPU time).
void BM_TickLabels(benchmark::State& state)
{
    const auto houses = std::size_t(state.range(0));
    townFolder(houses);
    // What the labels add to the start-up: their preparation (street lines,
    // layout index) beside the town's own load in the same run.
    DrawnTown town(houses);
    const double load = town.loadSeconds;
    const auto start = std::chrono::steady_clock::now();
    town.scene.AddLabels(town.state);
    const double prepare = secondsSince(start);
    TickingTown ticking(town);
    const int pairs = houses > 20000 ? 20 : 60;
    std::vector<double> off, on, offCpu, onCpu;
    std::size_t placed = 0;
    const auto timedTick = [&](bool shown) {
        town.state.ShowStreetNames = shown;
        town.state.ShowHouseNumbers = shown;
        const double cpu = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        ticking.tick();
        (shown ? on : off).push_back(secondsSince(start));
        (shown ? onCpu : offCpu).push_back(processCpuSeconds() - cpu);
        if (shown)
            placed = std::max(placed, town.scene.Labels->LastPlaced().size());
    };
    timedTick(true); // the first pictures of the texts are made once
    on.clear();
    onCpu.clear();
    for (int i = 0; i < pairs; ++i) {
        timedTick(i % 2 == 1);
        timedTick(i % 2 == 0);
    }
    const auto median = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double offTick = median(off), onTick = median(on);
    const double offTickCpu = median(offCpu), onTickCpu = median(onCpu);
    for (auto _ : state)
        benchmark::DoNotOptimize(placed);
    state.counters["ticks_per_s_off"] = 1.0 / offTick;
    state.counters["ticks_per_s_on"] = 1.0 / onTick;
    state.counters["on_to_off"] = offTick / onTick;
    // CPU time of the process (llvmpipe's threads too): what the machine's other work disturbs least.
    state.counters["on_to_off_cpu"] = offTickCpu / onTickCpu;
    state.counters["most_labels"] = double(placed);
    state.counters["load_ms"] = load * 1000;
    state.counters["labels_prepare_ms"] = prepare * 1000;
    state.counters["prepare_to_load"] = prepare / load;
}

// The table for one town: ticks per second (frame loop with the
// hover pick, and the frame), load to first frame and peak memory, each
// beside the same triangles drawn from one buffer in this run.
void BM_TownTable(benchmark::State& state)
{
    const auto houses = std::size_t(state.range(0));
    const bool fast = state.range(1) != 0;
    townFolder(houses); // generated before the clock starts
    DrawnTown town(houses, fast);
    const double loadToFirstFrame = town.loadSeconds + town.firstFrameSeconds;

    TickingTown ticking(town);
    const int ticks = houses > 20000 ? 9 : 31;
    const double tick = medianSeconds(ticks, [&] { ticking.tick(); });
    const double peak = peakMegabytes();

    // The limit, drawn from where the ticks left the camera.
    std::vector<float> vertices;
    collectTriangles(town.scene.GxScene.ObjectRoot(), vertices);
    const auto fileStart = std::chrono::steady_clock::now();
    {
        std::ifstream file(QDir(townFolder(houses)).filePath("data.mod").toStdString(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
    const double readFile = secondsSince(fileStart);
    TGxBaseSceneObject* root = town.scene.GxScene.ObjectRoot();
    for (int i = 0; i < root->Count(); ++i)
        root->Children(i)->SetVisible(false);
    const auto uploadStart = std::chrono::steady_clock::now();
    {
        TGxContextActivation active(*town.buffer.RenderingContext());
        root->SpawnChild<OneBuffer>(vertices);
    }
    town.frame();
    const double limitFirstFrame = secondsSince(uploadStart);
    const double limitFrame = medianSeconds(ticks, [&] { town.frame(); });
    // What a program needs that holds these triangles once, beside the
    // same process with its context made and nothing of the town loaded.
    const double limitMB = town.rssBeforeMB + double(vertices.size() * sizeof(float)) / (1024.0 * 1024.0);

    for (auto _ : state)
        benchmark::DoNotOptimize(tick);
    state.counters["ticks_per_s"] = 1.0 / tick;
    state.counters["limit_frames_per_s"] = 1.0 / limitFrame;
    state.counters["ticks_to_limit"] = limitFrame / tick;
    state.counters["load_to_first_frame_s"] = loadToFirstFrame;
    state.counters["context_s"] = town.contextSeconds;
    state.counters["limit_load_s"] = readFile + limitFirstFrame;
    state.counters["load_to_limit"] = loadToFirstFrame / (readFile + limitFirstFrame);
    state.counters["load_cpu_s"] = town.loadCpuSeconds;
    state.counters["first_frame_cpu_s"] = town.firstFrameCpuSeconds;
    state.counters["peak_MB"] = peak;
    state.counters["limit_MB"] = limitMB;
    state.counters["peak_to_limit"] = peak / limitMB;
    state.counters["triangles"] = double(vertices.size() / 18);
}
BENCHMARK(BM_TickLabels)
    ->ArgNames({"houses"})
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_TownTable)
    ->ArgNames({"houses", "fast"})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({50000, 1})
    ->Args({100000, 1})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The north arrow and the scale bar painted over each frame, as the map
// view paints them after the legend: ticks per second with the corner and
// without it (the legend alone), and their ratio. Three kinds of tick take
// turns in the same run: with the corner, without it, and without it again;
// the ratio of the two without (same_work_ratio) is what the machine's noise
// alone makes of equal work.
void BM_TicksWithMapCorner(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    TickingTown ticking(town);
    MapCorner::Painter cornerPainter;
    const auto tick = [&](bool corner) {
        ticking.loop.Tick();
        town.buffer.Render();
        {
            TGxContextActivation active(*town.buffer.RenderingContext());
            // What the view turns off before its painter; the next frame sets it again.
            glDisable(GL_CULL_FACE);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_LIGHTING);
            glDisable(GL_TEXTURE_2D);
            QOpenGLPaintDevice device(kViewWidth, kViewHeight);
            QPainter painter(&device);
            MapOverlays::Draw(painter, kViewHeight, town.state.CurrentObject);
            if (corner)
                cornerPainter.Draw(painter, {kViewWidth, kViewHeight}, town.state, *town.scene.GxFreeCamera);
        }
        town.finish();
    };
    const int rounds = state.range(0) > 5000 ? 31 : 101;
    std::array<std::vector<double>, 3> times; // with the corner, without, without again
    for (int i = 0; i < rounds; ++i)
        for (int k = 0; k < 3; ++k) {
            const int kind = (i + k) % 3;
            const auto start = std::chrono::steady_clock::now();
            tick(kind == 0);
            times[std::size_t(kind)].push_back(secondsSince(start));
        }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(rounds);
    state.counters["ticks_per_s_with_corner"] = 1.0 / median(times[0]);
    state.counters["ticks_per_s_without"] = 1.0 / median(times[1]);
    state.counters["with_to_without"] = median(times[1]) / median(times[0]);
    state.counters["same_work_ratio"] = median(times[1]) / median(times[2]);
}
BENCHMARK(BM_TicksWithMapCorner)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of a route drawn on the map: frames of the town with a long
// route's band and without it, in alternating blocks of the same run (the
// band's visibility switched between blocks, a frame after each switch left
// untimed). The route runs on foot from the first house to the farthest one
// that a way reaches. ratio_with_route: the frame with the band over the
// frame without it (the target is at most 1.05).
void BM_RenderTownRoute(benchmark::State& state)
{
    DrawnTown town(std::size_t(state.range(0)));
    std::optional<RoadNetwork> network =
        readRoadNetworkFile(QDir(townFolder(std::size_t(state.range(0)))).filePath("roads.dat").toStdString());
    if (!network) {
        state.SkipWithError("the generated town has no roads.dat");
        return;
    }
    const Router router(std::move(*network));
    std::vector<RoutePoint> centres;
    TGxBaseSceneObject* root = town.scene.GxScene.ObjectRoot();
    for (int i = 0; i < root->Count(); ++i)
        if (const auto* house = dynamic_cast<const Thouse*>(root->Children(i)))
            centres.push_back({house->CenterX(), house->CenterY()});
    const auto far = [&](const RoutePoint& p) { return std::hypot(p.x - centres[0].x, p.y - centres[0].y); };
    std::sort(centres.begin() + 1, centres.end(), [&](const RoutePoint& a, const RoutePoint& b) { return far(a) > far(b); });
    std::optional<Route> route;
    for (std::size_t i = 1; i < centres.size() && i < 50 && !route; ++i)
        route = router.route(centres[0], centres[i], TravelMode::Foot);
    if (!route) {
        state.SkipWithError("no route across the town");
        return;
    }
    auto* band = root->SpawnChild<MapBand>();
    band->SetPointsOf(route->points);
    constexpr int kBlock = 5;
    double with = 0, without = 0;
    const auto block = [&](bool shown) {
        band->SetVisible(shown);
        town.frame();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBlock; ++i)
            town.frame();
        return secondsSince(start);
    };
    for (auto _ : state) {
        without += block(false);
        with += block(true);
    }
    const double frames = double(state.iterations()) * kBlock;
    state.counters["frame_ms_without_route"] = without / frames * 1000;
    state.counters["frame_ms_with_route"] = with / frames * 1000;
    state.counters["ratio_with_route"] = with / without;
    state.counters["route_points"] = double(route->points.size());
    state.counters["route_km"] = route->metres / 1000;
}
BENCHMARK(BM_RenderTownRoute)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(4.0);

} // namespace
