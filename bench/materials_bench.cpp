// Materials. Loading a material library of 30 textured entries (256 x 256
// bitmaps, as the town's ground planes use): target under 0.5 s. Applying
// and restoring house materials through the state cache, the way a frame of
// 50,000 houses with their walls does (350,000 objects, two colours
// alternating): target under 100 ms.
#include "base/BmpEncoder.h"
#include "base/ByteReader.h"
#include "data/MaterialLibraryWriter.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/materials/GxStateCache.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <benchmark/benchmark.h>

namespace {

const std::vector<char>& libraryBytes()
{
    static const std::vector<char> bytes = [] {
        std::vector<std::uint8_t> rgb(256 * 256 * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<std::uint8_t>(i * 7);
        const std::string bitmap = encodeBmp24(256, 256, rgb);
        std::vector<LibMaterialRecord> entries(30);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i].name = "ground" + std::to_string(i);
            entries[i].image = bitmap;
        }
        return writeMaterialLibrary(2, entries).data();
    }();
    return bytes;
}

void BM_LoadMaterialLibrary(benchmark::State& state)
{
    for (auto _ : state) {
        TGxMaterialLibrary lib;
        ByteReader in(libraryBytes(), "data.modt");
        lib.LoadFromStream(in);
        benchmark::DoNotOptimize(lib.Materials().Count());
    }
}
BENCHMARK(BM_LoadMaterialLibrary)->Unit(benchmark::kMillisecond);

void BM_ApplyHouseMaterials(benchmark::State& state)
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TGxMaterial green(nullptr), wall(nullptr);
    green.FrontProperties().Diffuse().SetWinColor(0x00A000);
    wall.FrontProperties().Diffuse().SetWinColor(0x008000);
    TGxStateCache cache;
    TGxMaterialContext info;
    info.stateCache = &cache;
    for (auto _ : state) {
        cache.Invalidate();
        cache.Enable(GL_LIGHTING);
        cache.ResetForPass();
        for (int i = 0; i < 350000; ++i) {
            TGxMaterial& m = i % 7 == 0 ? green : wall;
            m.ApplyState(info);
            m.RestoreState(info);
        }
        glFinish();
    }
    context.doneCurrent();
}
BENCHMARK(BM_ApplyHouseMaterials)->Unit(benchmark::kMillisecond);

} // namespace
