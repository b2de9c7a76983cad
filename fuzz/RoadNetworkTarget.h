#pragma once

#include "FuzzTargets.h"

namespace fuzz {

// A roads.dat (the road network); what is read must write back to the very
// bytes it was read from, and routes across it on foot and by car must end.
Result runRoadNetwork(std::string_view input);
Files roadNetworkSeeds();

} // namespace fuzz
