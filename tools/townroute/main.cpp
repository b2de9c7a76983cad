// Prints the route between two places of a town folder.
#include "TownRoute.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << townRouteHelp();
            return 0;
        }
    }
    return runTownRoute(args, std::cout, std::cerr);
}
