#pragma once

#include "base/Cp1251.h"
#include "data/RoadNetworkWriter.h"
#include "data/TownScale.h"
#include "routing/Route.h"

#include <initializer_list>
#include <string>

// Small road networks for the tests, laid out in metres.
struct RoadFixture {
    RoadNetwork network;

    static RoutePoint at(double xMetres, double yMetres)
    {
        return {float(xMetres * kUnitsPerMetre), float(yMetres * kUnitsPerMetre)};
    }

    std::uint32_t node(double xMetres, double yMetres)
    {
        const RoutePoint p = at(xMetres, yMetres);
        network.nodes.push_back({p.x, p.y});
        return std::uint32_t(network.nodes.size() - 1);
    }

    // A way through `nodes`, one piece between each two; `name` in UTF-8.
    void way(std::initializer_list<std::uint32_t> nodes, const std::string& name, RoadClass roadClass,
             std::uint8_t flags = RoadPiece::Foot | RoadPiece::Car)
    {
        std::uint32_t nameIndex = RoadPiece::kNoName;
        if (!name.empty()) {
            network.names.push_back(cp1251::fromUtf8(name));
            nameIndex = std::uint32_t(network.names.size() - 1);
        }
        const std::uint32_t* previous = nullptr;
        for (const std::uint32_t& n : nodes) {
            if (previous)
                network.pieces.push_back({*previous, n, roadClass, flags, nameIndex});
            previous = &n;
        }
    }
};
