#include "TownRoute.h"

#include "PlaceLookup.h"

#include "data/RoadNetworkReader.h"
#include "data/TownModelReader.h"
#include "routing/RouteSummary.h"
#include "routing/Router.h"

#include <exception>
#include <filesystem>

std::string townRouteHelp()
{
    return "Использование: townroute ПАПКА ОТКУДА КУДА [--car]\n"
           "Прокладывает маршрут по дорожной сети города (roads.dat в папке города) и печатает\n"
           "три строки: длину в метрах, время в минутах и улицы, по которым он идёт.\n\n"
           "  ОТКУДА, КУДА   адрес \"улица, номер\", как его понимает поиск программы\n"
           "                 (\"Ленина 5\", \"ул. Ленина, д. 5\"), или точка карты \"x,y\"\n"
           "  --car          на машине: самый быстрый путь по дорогам для машин с учётом\n"
           "                 одностороннего движения; без него - самый короткий путь пешком\n"
           "  --help         эта справка\n\n"
           "Код выхода: 0 - маршрут найден, 1 - адрес не найден, маршрута нет, папка или файл\n"
           "не читаются, 2 - неверные аргументы.\n";
}

int runTownRoute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> positional;
    TravelMode mode = TravelMode::Foot;
    for (const std::string& arg : args) {
        if (arg == "--car")
            mode = TravelMode::Car;
        else if (arg == "--foot")
            mode = TravelMode::Foot;
        else if (arg.size() > 2 && arg.starts_with("--")) {
            err << "townroute: неизвестный ключ " << arg << " (см. --help)\n";
            return 2;
        } else
            positional.push_back(arg);
    }
    if (positional.size() != 3) {
        err << "townroute: нужны папка города, откуда и куда (см. --help)\n";
        return 2;
    }
    const std::filesystem::path folder = positional[0];
    try {
        std::optional<RoadNetwork> network = readRoadNetworkFile((folder / roadnetwork::kFileName).string());
        if (!network) {
            err << "townroute: в папке \"" << folder.string() << "\" нет дорожной сети " << roadnetwork::kFileName
                << ": маршруты не прокладываются\n";
            return 1;
        }
        const TownModel model = readTownModel((folder / "data.mod").string());
        const PlaceLookup places(model);
        RoutePoint ends[2];
        for (int i = 0; i < 2; ++i) {
            const std::string& typed = positional[1 + std::size_t(i)];
            const std::optional<RoutePoint> point = places.find(typed);
            if (!point) {
                err << "townroute: адрес \"" << typed << "\" не найден: нужна улица и номер дома, "
                    << "например \"Ленина, 5\", или точка карты \"x,y\"\n";
                return 1;
            }
            ends[i] = *point;
        }
        const Router router(std::move(*network));
        const std::optional<Route> route = router.route(ends[0], ends[1], mode);
        if (!route) {
            err << "townroute: маршрута " << (mode == TravelMode::Foot ? "пешком" : "на машине") << " от \""
                << positional[1] << "\" до \"" << positional[2] << "\" нет: "
                << (router.snap(ends[0], mode) ? "эти места не связаны дорогами" : "в городе нет подходящих дорог")
                << (mode == TravelMode::Car ? " (с учётом одностороннего движения)" : "") << "\n";
            return 1;
        }
        out << formatMetres(route->metres) << "\n";
        out << formatMinutes(route->seconds) << (mode == TravelMode::Foot ? " пешком" : " на машине") << "\n";
        std::string streets;
        for (const std::string& street : route->streets)
            streets += (streets.empty() ? "" : ", ") + street;
        out << (streets.empty() ? "улицы без названий" : streets) << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "townroute: " << e.what() << "\n";
        return 1;
    }
}
