// Writes the seed corpus of every fuzz target (or of those named) into
// FOLDER/<target>/, one file per seed; --list prints the targets' names.
#include "FuzzTargets.h"

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--list") {
        for (const fuzz::Target& t : fuzz::targets())
            std::printf("%s\n", t.name.c_str());
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER [TARGET...] | --list\n");
        return 2;
    }
    std::vector<const fuzz::Target*> chosen;
    for (int i = 2; i < argc; ++i) {
        const fuzz::Target* t = fuzz::findTarget(argv[i]);
        if (!t) {
            std::fprintf(stderr, "fuzz_seeds: no target named %s\n", argv[i]);
            return 2;
        }
        chosen.push_back(t);
    }
    if (chosen.empty())
        for (const fuzz::Target& t : fuzz::targets())
            chosen.push_back(&t);
    for (const fuzz::Target* t : chosen) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / t->name;
        std::filesystem::create_directories(folder);
        for (const auto& [name, bytes] : t->seeds()) {
            std::ofstream out(folder / name, std::ios::binary);
            out.write(bytes.data(), std::streamsize(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", (folder / name).c_str());
                return 1;
            }
        }
    }
    return 0;
}
