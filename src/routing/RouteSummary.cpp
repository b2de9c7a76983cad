#include "routing/RouteSummary.h"

#include <cmath>

std::string formatMetres(double metres)
{
    return std::to_string(std::llround(metres)) + " м";
}

std::string formatDistance(double metres)
{
    const long long rounded = std::llround(metres);
    if (rounded < 1000)
        return formatMetres(metres);
    const long long tenths = std::llround(metres / 100.0);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " км";
}

namespace {
long long wholeMinutes(double seconds)
{
    const long long minutes = std::llround(seconds / 60.0);
    return minutes == 0 && seconds > 0 ? 1 : minutes;
}
} // namespace

std::string formatMinutes(double seconds)
{
    return std::to_string(wholeMinutes(seconds)) + " мин";
}

std::string formatDuration(double seconds)
{
    const long long minutes = wholeMinutes(seconds);
    if (minutes < 60)
        return std::to_string(minutes) + " мин";
    const std::string hours = std::to_string(minutes / 60) + " ч";
    return minutes % 60 == 0 ? hours : hours + " " + std::to_string(minutes % 60) + " мин";
}

std::string routeSummary(const Route& route, TravelMode mode)
{
    return formatDistance(route.metres) + " · " + formatDuration(route.seconds)
           + (mode == TravelMode::Foot ? " пешком" : " на машине");
}
