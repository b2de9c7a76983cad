#pragma once

#include <ostream>
#include <string>
#include <vector>

// townroute FOLDER FROM TO [--car]: the route between two places of a town
// folder, printed as three lines (length in metres, time, streets passed).
// Returns the exit status: 0 a route, 1 no route or a place, folder or file
// that is not there or damaged, 2 wrong arguments. Messages go to `err`.
int runTownRoute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The --help text.
std::string townRouteHelp();
