// Loading meshes through LoadMeshFile, one file per iteration:
// - a 3DS mesh of 31,000 faces without smoothing groups (every corner after
//   the first use of a vertex becomes a copy: 93,000 vertices);
// - a 3DS file of 9 meshes with smoothing groups, texture coordinates and 3
//   textured materials, into a fresh material library each time (the three
//   256 x 256 textures are read every time);
// - each landmark of the demo town, as the generator writes it.
#include "TownGenerator.h"

#include "base/BmpEncoder.h"
#include "base/ByteWriter.h"
#include "data/File3DSWriter.h"
#include "data/LandmarkListReader.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void save(const std::string& path, const std::string& bytes)
{
    ByteWriter out;
    out.bytes(bytes);
    out.saveTo(path);
}

// A wavy sheet of columns x rows quads, two triangles each.
Model3DSObject sheet(const std::string& name, int columns, int rows, float x0, bool smooth)
{
    Model3DSObject o;
    o.name = name;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= columns; ++c) {
            o.vertices.push_back({x0 + float(c) * 0.1f, float(r) * 0.1f, std::sin(float(c + r) * 0.3f)});
            o.texVertices.push_back({float(c) / float(columns), float(r) / float(rows)});
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const auto v = std::uint16_t(r * (columns + 1) + c);
            const auto up = std::uint16_t(v + columns + 1);
            o.faces.push_back({v, std::uint16_t(v + 1), std::uint16_t(up + 1)});
            o.faces.push_back({v, std::uint16_t(up + 1), up});
        }
    if (smooth) {
        o.smoothing = std::vector<std::uint32_t>(o.faces.size());
        for (std::size_t f = 0; f < o.faces.size(); ++f)
            (*o.smoothing)[f] = 1u << ((f / std::size_t(columns * 2)) % 3); // bands of rows
    }
    return o;
}

struct Files {
    QTemporaryDir dir;
    std::string large, textured;
    std::vector<std::string> landmarks;
};

Files& files()
{
    static Files f = [] {
        Files files;
        const std::string folder = files.dir.path().toStdString();

        Model3DS large;
        Model3DSObject big = sheet("Terrain", 125, 124, 0, false); // 31,000 faces
        big.texVertices.clear();
        large.objects = {big};
        files.large = folder + "/large.3ds";
        save(files.large, writeModel3DS(large));

        Model3DS textured;
        for (int m = 0; m < 3; ++m) {
            std::vector<std::uint8_t> rgb(256 * 256 * 3);
            for (std::size_t i = 0; i < rgb.size(); ++i)
                rgb[i] = std::uint8_t((i * 7 + std::size_t(m) * 50) % 256);
            const std::string picture = folder + "/tex" + std::to_string(m) + ".bmp";
            save(picture, encodeBmp24(256, 256, rgb));
            Model3DSMaterial material;
            material.name = "Mat" + std::to_string(m);
            material.textureFile = picture;
            material.shininess = 0.2f;
            material.shininessStrength = 0.5f;
            textured.materials.push_back(material);
        }
        for (int i = 0; i < 9; ++i) {
            Model3DSObject o = sheet("Part" + std::to_string(i), 30, 20, float(i) * 4, true);
            for (int m = 0; m < 3; ++m) {
                Model3DSGroup group{"Mat" + std::to_string(m), {}};
                for (std::size_t face = std::size_t(m); face < o.faces.size(); face += 3)
                    group.faces.push_back(std::uint16_t(face));
                o.groups.push_back(group);
            }
            textured.objects.push_back(o);
        }
        files.textured = folder + "/textured.3ds";
        save(files.textured, writeModel3DS(textured));

        TownOptions options;
        const GeneratedTown town = generateTown(options);
        writeTownFiles(town, folder + "/town");
        for (const LandmarkRecord& l : town.landmarks)
            files.landmarks.push_back(folder + "/town/" + l.meshFile);
        return files;
    }();
    return f;
}

void BM_MeshLoad3dsWithoutSmoothing(benchmark::State& state)
{
    const std::string& path = files().large;
    for (auto _ : state) {
        TGxFreeForm mesh(nullptr);
        mesh.LoadMeshFile(path);
        benchmark::DoNotOptimize(mesh.MeshObjects().front()->Vertices.data());
    }
}
BENCHMARK(BM_MeshLoad3dsWithoutSmoothing)->Unit(benchmark::kMillisecond);

void BM_MeshLoad3dsNineTexturedMeshes(benchmark::State& state)
{
    const std::string& path = files().textured;
    for (auto _ : state) {
        TGxMaterialLibrary library;
        TGxFreeForm mesh(nullptr);
        mesh.SetMaterialLibrary(&library);
        mesh.LoadMeshFile(path);
        benchmark::DoNotOptimize(mesh.MeshObjects().size());
    }
}
BENCHMARK(BM_MeshLoad3dsNineTexturedMeshes)->Unit(benchmark::kMillisecond);

void BM_MeshLoadDemoLandmark(benchmark::State& state)
{
    const std::vector<std::string>& landmarks = files().landmarks;
    if (landmarks.empty()) {
        state.SkipWithError("the demo town has no landmarks");
        return;
    }
    const std::string& path = landmarks[std::size_t(state.range(0)) % landmarks.size()];
    state.SetLabel(path.substr(path.rfind('/') + 1));
    for (auto _ : state) {
        TGxFreeForm mesh(nullptr);
        mesh.LoadMeshFile(path);
        benchmark::DoNotOptimize(mesh.MeshObjects().size());
    }
}
BENCHMARK(BM_MeshLoadDemoLandmark)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

} // namespace
