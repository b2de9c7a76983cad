#include "engine/scene/GxErrorReport.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace {
GxErrorReporter& installedReporter()
{
    static GxErrorReporter reporter;
    return reporter;
}
} // namespace

GxErrorReporter SetGxErrorReporter(GxErrorReporter reporter)
{
    return std::exchange(installedReporter(), std::move(reporter));
}

void ReportGxError()
{
    if (const GxErrorReporter& reporter = installedReporter()) {
        reporter();
        return;
    }
    try {
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unknown error\n");
    }
}
