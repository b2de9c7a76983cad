#pragma once

#include "navigation/MapInput.h"

class TGxCamera;
struct MapState;

// Wheel turns are counted in units of 120 per notch.
inline constexpr double kWheelNotch = 120.0;
// Camera distance factor per notch.
inline constexpr double kWheelZoomBase = 1.1;

// The pointer moved over the map view: from now on the wheel zooms.
void PointerOverView(MapState& state);
// The pointer moved over the main window's own background: the wheel no
// longer zooms, and the view shows the blank pointer again.
void PointerOverWindow(MapState& state, MapPointer& pointer);

// A wheel turn reaching the main window: while the pointer is over the view
// and the view is not in pan mode (its pointer is blank), the camera's
// distance to its target is multiplied by 1.1 per notch away from the user
// (positive delta) and divided by it per notch toward; a fine-grained wheel
// gives fractional powers. Returns whether it zoomed.
bool WheelZoom(MapState& state, TGxCamera& camera, MapCursor viewCursor, double wheelDelta);

// base ^ exponent: 1 for exponent 0, 0 for base 0 and a positive exponent,
// repeated multiplication for whole exponents (the reciprocal for negative
// ones), else 2 ^ (exponent x log2 base).
double Power(double base, double exponent);
