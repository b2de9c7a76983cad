#include "navigation/PointerInput.h"

#include "map/MapState.h"
#include "engine/scene/GxCamera.h"

#include <climits>
#include <cmath>

void PointerOverView(MapState& state)
{
    state.PointerInViewer = true;
}

void PointerOverWindow(MapState& state, MapPointer& pointer)
{
    pointer.SetCursor(MapCursor::Blank);
    state.PointerInViewer = false;
}

bool WheelZoom(MapState& state, TGxCamera& camera, MapCursor viewCursor, double wheelDelta)
{
    if (!state.PointerInViewer || viewCursor != MapCursor::Blank)
        return false;
    camera.ScaleTargetDistance(float(Power(kWheelZoomBase, wheelDelta / kWheelNotch)));
    return true;
}

namespace {
double integerPower(double base, long long exponent)
{
    const bool negative = exponent < 0;
    unsigned long long n = negative ? 0ull - static_cast<unsigned long long>(exponent) : exponent;
    double result = 1.0;
    while (n != 0) {
        if (n & 1u)
            result *= base;
        base *= base;
        n >>= 1;
    }
    return negative ? 1.0 / result : result;
}
} // namespace

double Power(double base, double exponent)
{
    if (exponent == 0.0)
        return 1.0;
    if (base == 0.0 && exponent > 0.0)
        return 0.0;
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= double(INT_MAX))
        return integerPower(base, static_cast<long long>(exponent));
    return std::exp2(exponent * std::log2(base));
}
