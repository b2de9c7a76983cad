// Loading the organisation directory: 100,000 records with 2,000 distinct
// streets, read and put into the sorted name and street lists. Target: the
// whole load under 1 s.
#include "base/Cp1251.h"
#include "data/OrgDirectoryReader.h"
#include "data/OrgDirectoryWriter.h"
#include "directory/OrgDirectoryLoader.h"
#include "directory/SortedComboBox.h"

#include <QTemporaryDir>
#include "SyllableWords.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kRecords = 100000;
constexpr int kStreets = 2000;

// The demo directory's shape at scale: every name different, streets shared.
const std::string& directoryFile()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        std::mt19937 rng(7);
        std::vector<std::string> streets;
        for (int i = 0; i < kStreets; ++i)
            streets.push_back(cp1251::fromUtf8("улица " + syllableWord(rng, 3) + " " + std::to_string(i)));
        OrgRecords records(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            OrgRecord& r = records[static_cast<std::size_t>(i)];
            r.name = cp1251::fromUtf8("ООО «" + syllableWord(rng, 4) + "» " + std::to_string(i));
            r.streetName = streets[rng() % streets.size()];
            r.houseNo = std::to_string(1 + rng() % 120);
            r.phone = "8-800-" + std::to_string(rng() % 10000000);
            r.email = "info" + std::to_string(i) + "@vereskola.ru";
            r.web = "www.org" + std::to_string(i) + ".ru";
        }
        const std::string file = dir.filePath("data.tmd").toStdString();
        writeOrgDirectory(records).saveTo(file);
        return file;
    }();
    return path;
}

void BM_ReadOrgDirectoryFile(benchmark::State& state)
{
    const std::string& path = directoryFile();
    for (auto _ : state) {
        OrgDirectory dir = readOrgDirectoryFile(path);
        benchmark::DoNotOptimize(dir.streets.size());
    }
}
BENCHMARK(BM_ReadOrgDirectoryFile)->Unit(benchmark::kMillisecond);

void BM_SortNamesIntoList(benchmark::State& state)
{
    const OrgDirectory dir = readOrgDirectoryFile(directoryFile());
    for (auto _ : state) {
        SortedListModel names;
        names.AddItems(dir.names);
        benchmark::DoNotOptimize(names.Count());
    }
}
BENCHMARK(BM_SortNamesIntoList)->Unit(benchmark::kMillisecond);

void BM_LoadOrgDirectory(benchmark::State& state)
{
    const std::string& path = directoryFile();
    for (auto _ : state) {
        OrgRecords records;
        SortedComboBox orgName;
        SortedComboBox street;
        LoadOrgDirectory(records, orgName, street, path);
        benchmark::DoNotOptimize(street.Count());
    }
    state.counters["records"] = kRecords;
    state.counters["streets"] = kStreets;
}
BENCHMARK(BM_LoadOrgDirectory)->Unit(benchmark::kMillisecond);

} // namespace
