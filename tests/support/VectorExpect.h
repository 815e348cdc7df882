#pragma once
#include <gtest/gtest.h>

constexpr float kVectorTolerance = 1e-5f;

// Each coordinate of the vector within tol of (ex, ey, ez); a failure names the caller's line.
#define EXPECT_VEC3_NEAR(v, ex, ey, ez, tol)                                                                           \
    do {                                                                                                               \
        const auto& vectorUnderTest = (v);                                                                             \
        EXPECT_NEAR(vectorUnderTest.x, (ex), (tol));                                                                   \
        EXPECT_NEAR(vectorUnderTest.y, (ey), (tol));                                                                   \
        EXPECT_NEAR(vectorUnderTest.z, (ez), (tol));                                                                   \
    } while (0)

#define EXPECT_VEC3(v, ex, ey, ez) EXPECT_VEC3_NEAR(v, ex, ey, ez, kVectorTolerance)
