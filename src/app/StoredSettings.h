#pragma once

#include <memory>

class QSettings;
struct MapState;

// The settings kept between runs: what is drawn over the map to read it
// (street names, house numbers, the north arrow, the scale bar). The other
// two settings live in memory only.
namespace StoredSettings {

// The user's settings file (~/.config/quorvel/quorvel.conf on Linux).
inline constexpr char kOrganisation[] = "quorvel";
inline constexpr char kApplication[] = "quorvel";
std::unique_ptr<QSettings> UserSettings();

// The keys, in the group "map".
inline constexpr char kStreetNames[] = "map/streetNames";
inline constexpr char kHouseNumbers[] = "map/houseNumbers";
inline constexpr char kNorthArrow[] = "map/northArrow";
inline constexpr char kScaleBar[] = "map/scaleBar";

// Sets the four flags from the settings; a flag without a value, or with
// one that is not "true" or "false", stays as it is (on, after start-up).
void Load(MapState& state, QSettings& settings);
// Writes the four flags; raises an error naming the file when it cannot be
// written (the flags stay in effect for this run).
void Save(const MapState& state, QSettings& settings);

} // namespace StoredSettings
