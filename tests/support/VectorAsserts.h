#pragma once

#include "engine/scene/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

// EXPECT_TRUE(VectorNear(actual, expected, 1e-5f)): every component within tolerance.
inline std::string FormatVector(const TGxVector& v)
{
    std::ostringstream s;
    s << "(" << v.X << ", " << v.Y << ", " << v.Z << ", " << v.W << ")";
    return s.str();
}

inline ::testing::AssertionResult VectorNear(const TGxVector& actual, const TGxVector& expected,
                                             float tolerance = 1e-5f)
{
    for (int i = 0; i < 4; ++i)
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure()
                << FormatVector(actual) << " is not within " << tolerance << " of "
                << FormatVector(expected);
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult MatrixNear(const TGxMatrix& actual, const TGxMatrix& expected,
                                             float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r) {
        ::testing::AssertionResult row = VectorNear(actual.Row(r), expected.Row(r), tolerance);
        if (!row)
            return ::testing::AssertionFailure() << "row " << r << ": " << row.message();
    }
    return ::testing::AssertionSuccess();
}
