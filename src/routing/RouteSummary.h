#pragma once

#include "routing/Route.h"

#include <string>

// Texts of a route for the window and the tool, UTF-8.

// "850 м" below a kilometre, else "1,2 км".
std::string formatDistance(double metres);

// Whole metres: "1234 м" (the tool's first line, exact to the metre).
std::string formatMetres(double metres);

// "15 мин", "1 ч 5 мин"; rounded to the nearest minute, at least 1 minute
// for any way at all.
std::string formatDuration(double seconds);

// The same in minutes only: "65 мин" (the tool's second line).
std::string formatMinutes(double seconds);

// "1,2 км · 15 мин пешком" or "3,4 км · 7 мин на машине".
std::string routeSummary(const Route& route, TravelMode mode);
