#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/Picture.h"

// The renderers' tolerance: a pixel agrees when no colour channel lies more than kPixelTolerance
// outside the other picture's 3 x 3 neighbourhood; pictures agree when kAgreeingShare of their
// pixels do.
constexpr int kPixelTolerance = 2;
constexpr double kAgreeingShare = 0.995;
// Side of the square cells a failed comparison names.
constexpr int kDifferenceCell = 128;

// A picture against the one it should look like. On failure the message names every cell of
// the grid where pixels disagree (pixel ranges and the share of the cell), the box around all
// of them and the largest difference, and, when differencePath is not empty, the difference
// picture is written there: the picture greyed, its disagreeing pixels red.
::testing::AssertionResult PictureMatches(const Picture& picture, const Picture& expected,
                                          const std::string& differencePath, int tolerance = kPixelTolerance,
                                          double share = kAgreeingShare);