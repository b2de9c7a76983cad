#include "routing/RoadSpeeds.h"

#include <algorithm>
#include <array>

namespace {
// By RoadClass's order.
constexpr std::array<double, std::size_t(RoadClass::Count)> kCarSpeeds = {
    90, // Motorway
    70, // Trunk
    60, // Primary
    50, // Secondary
    40, // Tertiary
    30, // Unclassified
    30, // Residential
    10, // LivingStreet
    15, // Service
    15, // Track
    5,  // Pedestrian
    5,  // Footway
    5,  // Path
    5,  // Cycleway
    5,  // Steps
};
} // namespace

double carSpeedKmh(RoadClass roadClass)
{
    const auto index = std::size_t(roadClass);
    return index < kCarSpeeds.size() ? kCarSpeeds[index] : kFootSpeedKmh;
}

double maxCarSpeedKmh()
{
    return *std::max_element(kCarSpeeds.begin(), kCarSpeeds.end());
}
