#include "TownRoute.h"

#include "base/Cp1251.h"
#include "data/RoadNetworkWriter.h"
#include "data/TownModelWriter.h"
#include "data/TownScale.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
float units(double metres)
{
    return float(metres * kUnitsPerMetre);
}

// A house of 10 x 10 m whose middle is at (x, y) metres.
TownHouseRecord house(const std::string& streetUtf8, const std::string& number, double x, double y)
{
    TownHouseRecord record;
    for (const auto& [dx, dy] : {std::pair{-5, -5}, {5, -5}, {5, 5}, {-5, 5}})
        record.nodes.push_back({units(x + dx), units(y + dy)});
    record.texts = {cp1251::fromUtf8(streetUtf8), number, "5"};
    return record;
}

// Hohensteinstrasse runs 200 m east from (0, 0), a one-way stub goes on 100 m
// into a dead end, and Ленина lies on a road of its own, joined to nothing.
struct Folder {
    TempDir dir;
    Folder()
    {
        TownModel model;
        model.houses = {house("Hohensteinstrasse", "10", 20, 12), house("Hohensteinstrasse", "12", 180, 12),
                        house("Тупиковая улица", "1", 300, 12), house("улица Ленина", "5", 1000, 1012)};
        writeTownModel(model).saveTo(dir.file("data.mod"));
        RoadNetwork network;
        for (const auto& [x, y] : {std::pair{0, 0}, {200, 0}, {300, 0}, {900, 1000}, {1100, 1000}})
            network.nodes.push_back({units(x), units(y)});
        network.names = {"Hohensteinstrasse", cp1251::fromUtf8("Тупиковая улица"), cp1251::fromUtf8("улица Ленина")};
        const std::uint8_t both = RoadPiece::Foot | RoadPiece::Car;
        network.pieces = {{0, 1, RoadClass::Residential, both, 0},
                          {1, 2, RoadClass::Residential, both | RoadPiece::OneWay, 1},
                          {3, 4, RoadClass::Residential, both, 2}};
        writeRoadNetwork(network).saveTo(dir.file("roads.dat"));
    }
};

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int status = runTownRoute(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(TownRoute, PrintsLengthTimeAndStreetsOrSaysWhyNot)
{
    const Folder town;
    const std::string folder = town.dir.path();
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string errPart; // a part of the message, for a failure
    } cases[] = {
        {"addresses in UTF-8 with the importer's stand-ins, forgiving forms",
         {folder, "Hohensteinstraße, 10", "hohensteinstrasse д. 12"}, 0,
         "160 м\n2 мин пешком\nHohensteinstrasse\n", ""},
        {"map points", {folder, "0,0", "16.22, 0"}, 0, "200 м\n2 мин пешком\nHohensteinstrasse\n", ""},
        {"by car into the one-way dead end", {folder, "Hohensteinstrasse 10", "Тупиковая 1", "--car"}, 0,
         "280 м\n1 мин на машине\nHohensteinstrasse, Тупиковая улица\n", ""},
        {"by car out of it: trapped", {folder, "Тупиковая 1", "Hohensteinstrasse 10", "--car"}, 1, "",
         "эти места не связаны дорогами (с учётом одностороннего движения)"},
        {"on foot out of it", {folder, "Тупиковая 1", "Hohensteinstrasse 10"}, 0,
         "280 м\n3 мин пешком\nТупиковая улица, Hohensteinstrasse\n", ""},
        {"to a part of the network nothing joins", {folder, "Hohensteinstrasse 10", "Ленина 5"}, 1, "",
         "маршрута пешком от \"Hohensteinstrasse 10\" до \"Ленина 5\" нет: эти места не связаны дорогами"},
        {"an unknown number", {folder, "Ленина 7", "Hohensteinstrasse 10"}, 1, "", "адрес \"Ленина 7\" не найден"},
        {"an unknown street", {folder, "Hohensteinstrasse 10", "Пушкина 1"}, 1, "", "адрес \"Пушкина 1\" не найден"},
        {"the same place", {folder, "Ленина 5", "улица Ленина, 5"}, 0, "0 м\n0 мин пешком\nулицы без названий\n", ""},
        {"too few arguments", {folder, "Ленина 5"}, 2, "", "нужны папка города, откуда и куда"},
        {"an unknown option", {folder, "Ленина 5", "Ленина 5", "--bus"}, 2, "", "неизвестный ключ --bus"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const Outcome outcome = run(test.args);
        EXPECT_EQ(outcome.status, test.status) << outcome.err;
        EXPECT_EQ(outcome.out, test.out);
        EXPECT_NE(outcome.err.find(test.errPart), std::string::npos) << outcome.err;
    }
}

TEST(TownRoute, SaysWhenTheFolderHasNoOrADamagedNetwork)
{
    const Folder town;
    std::ofstream(town.dir.file("roads.dat"), std::ios::binary) << "QVRN";
    Outcome outcome = run({town.dir.path(), "0,0", "1,1"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("roads.dat\" повреждён: он короче заголовка"), std::string::npos) << outcome.err;

    std::filesystem::remove(town.dir.file("roads.dat"));
    outcome = run({town.dir.path(), "0,0", "1,1"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("нет дорожной сети roads.dat"), std::string::npos) << outcome.err;

    outcome = run({town.dir.path() + "/nowhere", "0,0", "1,1"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
}
} // namespace
