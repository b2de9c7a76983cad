#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzz {

// Named files, in order: (name, bytes).
using Files = std::vector<std::pair<std::string, std::string>>;

// Several files in one input (the town target needs a model, its library,
// its landmark list and meshes): for each file its name, zero-terminated,
// its size as 32 bits little-endian, then its bytes. Reading never fails:
// a name without its zero ends the list, and a file whose size promises
// more than is left gets what is left.
std::string bundleFiles(const Files& files);
Files unbundleFiles(std::string_view input);

} // namespace fuzz
