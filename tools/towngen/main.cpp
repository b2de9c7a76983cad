// Writes the demo town's data files: the town model, its material library,
// the landmark list and the organisation directory.
#include "TownGenerator.h"
#include "TownPreview.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>
#include <string>

namespace {
void printHelp()
{
    std::printf(
        "Usage: towngen [options]\n"
        "Writes a generated town (data.mod, data.modt, fl.dat, data.tmd, orgplaces.dat) into a folder.\n"
        "The same options always give the same files, byte for byte.\n\n"
        "Options:\n"
        "  --out FOLDER         folder for the files (default: data)\n"
        "  --houses N           number of houses (default: 1100)\n"
        "  --orgs N             number of organisations in the directory (default: 1500)\n"
        "  --seed N             random seed (default: 1)\n"
        "  --preview FILE.png   also save a top view of the town as a PNG picture\n"
        "  --preview-size PX    size of the preview picture in pixels (default: 2400)\n"
        "  --preview-extent U   half-width shown in the preview, in units (default: the whole town)\n"
        "  --startup-view FILE.png  also save the town as the start-up camera sees it\n"
        "  --help               show this text\n");
}

bool parseCount(const char* text, unsigned long long& out)
{
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return end && *end == '\0' && text[0] != '-' && text[0] != '\0';
}
} // namespace

int main(int argc, char** argv)
{
    TownOptions options;
    std::string out = "data", preview, startupView;
    unsigned long long previewSize = 2400;
    double previewExtent = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printHelp();
            return 0;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "towngen: unknown option or missing value: %s (see --help)\n", arg.c_str());
            return 2;
        }
        const char* value = argv[++i];
        unsigned long long n = 0;
        bool ok = true;
        if (arg == "--out")
            out = value;
        else if (arg == "--preview")
            preview = value;
        else if (arg == "--startup-view")
            startupView = value;
        else if (arg == "--preview-extent")
            ok = (previewExtent = std::atof(value)) > 0;
        else if (!parseCount(value, n))
            ok = false;
        else if (arg == "--houses" && n <= 200000)
            options.houses = n;
        else if (arg == "--orgs" && n <= 2000000)
            options.organisations = n;
        else if (arg == "--seed")
            options.seed = n;
        else if (arg == "--preview-size" && n >= 100 && n <= 10000)
            previewSize = n;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "towngen: bad value for %s: %s (see --help)\n", arg.c_str(), value);
            return 2;
        }
    }

    try {
        const auto start = std::chrono::steady_clock::now();
        const GeneratedTown town = generateTown(options);
        writeTownFiles(town, out);
        std::set<int> streets;
        for (const PlacedHouse& h : town.houses)
            streets.insert(h.street);
        const std::size_t named = streets.size();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("towngen: %zu houses on %zu streets, %zu organisations, town radius %.0f units; %s (%.2f s)\n",
                    town.houses.size(), named, town.organisations.size(), double(town.plan.radius()), out.c_str(),
                    seconds);
        if (town.houses.size() < options.houses)
            std::fprintf(stderr, "towngen: only %zu of %zu houses fit in the town square\n", town.houses.size(),
                         options.houses);
        if (!preview.empty() || !startupView.empty()) {
            // Text needs a GUI application; without a display it draws off screen.
            if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            if (!preview.empty()) {
                const float extent = previewExtent > 0 ? float(previewExtent)
                                                       : std::min(470.0f, town.plan.radius() * 1.25f);
                saveTownPreview(town, preview, int(previewSize), extent);
                std::printf("towngen: preview %s\n", preview.c_str());
            }
            if (!startupView.empty()) {
                saveStartupView(town, startupView, 1186, 880);
                std::printf("towngen: start-up view %s\n", startupView.c_str());
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "towngen: %s\n", e.what());
        return 1;
    }
    return 0;
}
