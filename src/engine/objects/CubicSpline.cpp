#include "engine/objects/CubicSpline.h"

#include <algorithm>

TCubicSpline::TCubicSpline(const std::vector<float>& x, const std::vector<float>& y,
                           const std::vector<float>& z, const std::vector<float>& w)
    : m_x(build(x)), m_y(build(y)), m_z(build(z)), m_w(build(w))
{
}

TCubicSpline::Curve TCubicSpline::build(const std::vector<float>& values)
{
    const std::size_t n = values.size();
    Curve curve;
    if (n == 0)
        return curve;
    if (n == 1) {
        curve.push_back({values[0], 0, 0, 0});
        return curve;
    }
    // Slopes of the natural spline: the tridiagonal system
    //   2 D0 + D1 = 3 (p1 - p0)
    //   D(i-1) + 4 Di + D(i+1) = 3 (p(i+1) - p(i-1))
    //   D(n-2) + 2 D(n-1) = 3 (p(n-1) - p(n-2))
    // solved by elimination (the matrix is symmetric and diagonally dominant).
    std::vector<double> diag(n), rhs(n), d(n);
    for (std::size_t i = 0; i < n; ++i) {
        diag[i] = (i == 0 || i == n - 1) ? 2.0 : 4.0;
        const double next = values[std::min(i + 1, n - 1)];
        const double prev = values[i == 0 ? 0 : i - 1];
        rhs[i] = 3.0 * (next - prev);
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double m = 1.0 / diag[i - 1];
        diag[i] -= m;
        rhs[i] -= m * rhs[i - 1];
    }
    d[n - 1] = rhs[n - 1] / diag[n - 1];
    for (std::size_t i = n - 1; i-- > 0;)
        d[i] = (rhs[i] - d[i + 1]) / diag[i];

    curve.reserve(n - 1);
    for (std::size_t j = 0; j + 1 < n; ++j) {
        const double delta = double(values[j + 1]) - values[j];
        curve.push_back({values[j], float(d[j]), float(3.0 * delta - 2.0 * d[j] - d[j + 1]),
                         float(-2.0 * delta + d[j] + d[j + 1])});
    }
    return curve;
}

float TCubicSpline::evaluate(const Curve& curve, float t)
{
    if (curve.empty())
        return 0.0f;
    const int last = static_cast<int>(curve.size()) - 1;
    int j = 0;
    if (t > 0.0f)
        j = t > float(last) ? last : std::min(static_cast<int>(t), last);
    const Segment& s = curve[j];
    const float u = t - float(j);
    return ((s.k3 * u + s.k2) * u + s.d) * u + s.p;
}
