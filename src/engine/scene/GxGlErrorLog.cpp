#include "engine/scene/GxGlErrorLog.h"

#include <GL/glu.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::atomic<long> g_count{0};
} // namespace

bool TGxGlErrorLog::Enabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv("QUORVEL_LOG_GL_ERRORS");
        return value && *value && std::strcmp(value, "0") != 0;
    }();
    return enabled;
}

void TGxGlErrorLog::Report(GLenum error, const char* where)
{
    const long n = ++g_count;
    if (!Enabled())
        return;
    const auto* text = reinterpret_cast<const char*>(gluErrorString(error));
    std::fprintf(stderr, "OpenGL error 0x%04X (%s) %s [%ld]\n", unsigned(error), text ? text : "unknown", where, n);
    std::fflush(stderr);
}

long TGxGlErrorLog::Count()
{
    return g_count;
}
