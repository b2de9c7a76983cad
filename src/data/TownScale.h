#pragma once

// The map's scale, shared by the program and the tools that make towns. A
// metre of the town is 0.0811 units of the map; a storey is 3 metres.
inline constexpr double kUnitsPerMetre = 0.0811;
inline constexpr int kMetresPerStorey = 3;

// The roof height of a house is its floors x kMetresPerStorey x this scale
// (the same float as 0.000811f * 100.0f, bit for bit).
inline constexpr float kHeightScale = float(kUnitsPerMetre);
