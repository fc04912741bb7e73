#pragma once
// Comparisons of math records in tests, with a tolerance for single precision.

#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <gtest/gtest.h>

#include <cmath>

inline constexpr float kMathTolerance = 1e-5f;

inline testing::AssertionResult NearVec(const Vec3& actual, const Vec3& expected, float tolerance = kMathTolerance)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not ("
                                       << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

// q and -q are the same rotation.
inline testing::AssertionResult SameRotation(const Quaternion& actual, const Quaternion& expected)
{
    const float dot = actual.x * expected.x + actual.y * expected.y + actual.z * expected.z + actual.w * expected.w;
    if (std::fabs(std::fabs(dot) - 1.0f) <= 1e-4f) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ", " << actual.w
                                       << ") is not (" << expected.x << ", " << expected.y << ", " << expected.z
                                       << ", " << expected.w << ")";
}

inline testing::AssertionResult NearMatrix(const Matrix44& actual, const Matrix44& expected,
                                           float tolerance = kMathTolerance)
{
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (std::fabs(actual.m[r][c] - expected.m[r][c]) > tolerance) {
                return testing::AssertionFailure() << "element [" << r << "][" << c << "] is " << actual.m[r][c]
                                                   << ", expected " << expected.m[r][c];
            }
        }
    }
    return testing::AssertionSuccess();
}
