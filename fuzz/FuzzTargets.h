#pragma once

#include "FileBundle.h"

#include "base/GxException.h"

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// What a reader made of one input: read, or refused with the program's
// own error message. Anything other than the program's errors (EGxError
// and its kinds) escapes, and so does a crash: both are findings.
struct Result {
    bool loaded = false;
    std::string error;
};

// A reader fed from memory, and the seed inputs the project's own writers
// make for it. The libFuzzer program of a target is fuzz_<name>; its
// corpus folders are named <name>.
struct Target {
    std::string name;
    Result (*run)(std::string_view input);
    Files (*seeds)();
};

// Runs a read: loaded, or refused with the program's error message.
template <class Read>
Result guarded(Read&& read)
{
    try {
        read();
    } catch (const EGxError& e) {
        return {false, e.what()};
    }
    return {true, {}};
}

const std::vector<Target>& targets();
// None for an unknown name.
const Target* findTarget(std::string_view name);

} // namespace fuzz
