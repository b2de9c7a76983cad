// The libFuzzer program of one reader target, chosen when it is built
// (QUORVEL_FUZZ_TARGET is the target's name).
#include "FuzzTargets.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char name[] = "fuzz_" QUORVEL_FUZZ_TARGET;
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (!fuzz::findTarget(QUORVEL_FUZZ_TARGET)) {
        std::fprintf(stderr, "no fuzz target named %s\n", QUORVEL_FUZZ_TARGET);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::Target& target = *fuzz::findTarget(QUORVEL_FUZZ_TARGET);
    target.run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
