#pragma once

class TGxCamera;
struct MapState;

// Turning the map north up (a click on the north arrow): the camera orbits
// its target at its height and distance, a quarter of the remaining angle a
// frame (at least kNorthUpMinStep degrees), until the map's north points up
// the view.

inline constexpr float kNorthUpShare = 0.25f;
inline constexpr float kNorthUpMinStep = 2.0f; // degrees per frame

// Starts the turn; ends the start-up climb and the slow orbit, which would
// turn the map away again.
void StartNorthUp(MapState& state);

// One frame of the turn, while MapState's NorthUpTurn is on; the last one
// puts north exactly up and ends it.
void NorthUpStep(MapState& state, TGxCamera& camera);
