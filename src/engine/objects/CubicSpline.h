#pragma once

#include "engine/scene/VectorGeometry.h"

#include <vector>

// The natural cubic spline through n values per coordinate, with the node
// index 0 .. n - 1 as parameter. Outside that range the end segments go on.
class TCubicSpline {
public:
    TCubicSpline(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z,
                 const std::vector<float>& w = {});

    float SplineX(float t) const { return evaluate(m_x, t); }
    float SplineY(float t) const { return evaluate(m_y, t); }
    float SplineZ(float t) const { return evaluate(m_z, t); }
    float SplineW(float t) const { return evaluate(m_w, t); }
    TGxAffineVector SplineAffineVector(float t) const { return {SplineX(t), SplineY(t), SplineZ(t)}; }

private:
    // Segment j: p_j + D_j u + K2 u^2 + K3 u^3 with u = t - j.
    struct Segment {
        float p, d, k2, k3;
    };
    using Curve = std::vector<Segment>;

    static Curve build(const std::vector<float>& values);
    static float evaluate(const Curve& curve, float t);

    Curve m_x, m_y, m_z, m_w;
};
