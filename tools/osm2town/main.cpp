// Imports a town from an OpenStreetMap extract into a folder of the
// program's data files.
#include "ImportReport.h"
#include "OsmExtract.h"
#include "TownImporter.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

namespace {
void printHelp()
{
    std::printf(
        "Использование: osm2town ВЫГРУЗКА -o ПАПКА [--centre ШИРОТА,ДОЛГОТА] [--title ТЕКСТ]\n"
        "                        [--attach-distance МЕТРЫ]\n"
        "Делает из выгрузки OpenStreetMap (.osm, .osm.gz, .osm.bz2, .osm.pbf) папку с файлами города\n"
        "data.mod, data.modt, fl.dat, data.tmd и orgplaces.dat; программа открывает её командой:\n"
        "quorvel ПАПКА.\n\n"
        "  -o, --out ПАПКА       папка города (создаётся; прежняя с файлами города заменяется)\n"
        "  --centre ШИР,ДОЛ      центр карты в градусах, например 55.8148,37.6048 (по умолчанию\n"
        "                        середина выгрузки); карта охватывает около 11,6 км вокруг него\n"
        "  --title ТЕКСТ         заголовок окна программы (town.ini); без него - название\n"
        "                        города, посёлка или района выгрузки, ближайшего к центру\n"
        "  --attach-distance МЕТРЫ\n"
        "                        организация вне зданий попадает в ближайший дом, если до его контура\n"
        "                        не больше МЕТРОВ (по умолчанию 25, от 0 до 500), иначе стоит на карте\n"
        "                        точкой; организация-здание и стоящая в здании - всегда в нём\n"
        "  --quiet               без хода работы, только отчёт\n"
        "  --help                эта справка\n\n"
        "Данные OpenStreetMap: © OpenStreetMap contributors, ODbL 1.0; папка получает файл ATTRIBUTION.txt.\n");
}

bool parseCentre(const std::string& text, std::pair<double, double>& out)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    char* end = nullptr;
    const std::string lat = text.substr(0, comma), lon = text.substr(comma + 1);
    out.first = std::strtod(lat.c_str(), &end);
    if (lat.empty() || *end != '\0')
        return false;
    out.second = std::strtod(lon.c_str(), &end);
    if (lon.empty() || *end != '\0')
        return false;
    return out.first >= -90 && out.first <= 90 && out.second >= -180 && out.second <= 180;
}
} // namespace

int main(int argc, char** argv)
{
    std::string input, out, title;
    bool quiet = false;
    ImportOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printHelp();
            return 0;
        }
        if (arg == "--quiet") {
            quiet = true;
            continue;
        }
        if (arg == "-o" || arg == "--out" || arg == "--centre" || arg == "--center" || arg == "--title"
            || arg == "--attach-distance") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "osm2town: нет значения у %s (см. --help)\n", arg.c_str());
                return 2;
            }
            const std::string value = argv[++i];
            if (arg == "-o" || arg == "--out") {
                out = value;
            } else if (arg == "--title") {
                title = value;
            } else if (arg == "--attach-distance") {
                char* end = nullptr;
                const double metres = std::strtod(value.c_str(), &end);
                if (value.empty() || *end != '\0' || !(metres >= 0 && metres <= kMostAttachDistance)) {
                    std::fprintf(stderr, "osm2town: неверное расстояние «%s»: нужно число метров от 0 до %g\n",
                                 value.c_str(), double(kMostAttachDistance));
                    return 2;
                }
                options.attachDistance = float(metres);
            } else {
                std::pair<double, double> centre;
                if (!parseCentre(value, centre)) {
                    std::fprintf(stderr, "osm2town: неверный центр «%s»: нужно ШИРОТА,ДОЛГОТА в градусах\n",
                                 value.c_str());
                    return 2;
                }
                options.centre = centre;
            }
            continue;
        }
        if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "osm2town: неизвестный параметр %s (см. --help)\n", arg.c_str());
            return 2;
        }
        if (!input.empty()) {
            std::fprintf(stderr, "osm2town: выгрузка уже указана: %s (см. --help)\n", input.c_str());
            return 2;
        }
        input = arg;
    }
    if (input.empty() || out.empty()) {
        std::fprintf(stderr, "osm2town: нужны выгрузка и папка: osm2town ВЫГРУЗКА -o ПАПКА (см. --help)\n");
        return 2;
    }
    if (!quiet)
        options.progress = [](const std::string& what) { std::fprintf(stderr, "osm2town: %s…\n", what.c_str()); };
    try {
        const ImportedTown town = importTownFile(input, options);
        if (!quiet)
            std::fprintf(stderr, "osm2town: запись в %s…\n", out.c_str());
        // The place named in the extract titles the window unless --title does.
        writeTownFolder(town, out, std::filesystem::path(input).filename().string(),
                        title.empty() ? town.title : title);
        ImportReport report = town.report;
        report.titleGiven = !title.empty();
        std::printf("%s", formatReport(report).c_str());
        std::printf("Город записан в %s. Данные © OpenStreetMap contributors, ODbL 1.0.\n", out.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "osm2town: %s: %s\n", input.c_str(), e.what());
        return 1;
    }
    return 0;
}
