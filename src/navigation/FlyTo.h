#pragma once

#include <functional>
#include <string>

class MainScene;
struct MapState;
class Thouse;

// The glide of the view to a chosen house: DCTarget walks one unit per axis
// per frame to the goal while the camera settles at (20, 20, 20) above it;
// on arrival the slow orbit takes over.

// Starts a flight of DCTarget to (x, y, z), or turns a running one there;
// ends the climb and the orbit.
void SmoothMoveTo(MapState& state, float x, float y, float z);

// One frame of the flight: the camera, then DCTarget, one unit per axis.
// Arrival is decided by DCTarget alone.
void MoveCam(MapState& state, MainScene& scene);

// Where MoveToHouse shows the address (Windows-1251 street and house number).
using ShowAddress = std::function<void(const std::string& street, const std::string& number)>;

// Puts GxDummyCube on the house's first outline node, shows the house's
// address and, unless AutoMoveTo is off or the map is being panned, flies there.
void MoveToHouse(MapState& state, MainScene& scene, const Thouse& house, const ShowAddress& showAddress);

// The unit step (-1, 0 or +1) of one axis at `position` toward `goal`: 0 once
// both round to the same integer (to nearest, ties to even), and also when a
// step would carry the rounded position past the goal's, which only happens
// from an exact half less than a unit from the goal. So an axis never steps
// back and forth across its goal.
int FlightStep(float position, float goal);

// The camera's goal position relative to DCTarget, on every axis.
inline constexpr float kFlightCameraOffset = 20.0f;
