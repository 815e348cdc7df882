#include "levels/minigames/BoardGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardGeometryTest, CellsMissOnBordersAndStepsRoundPastHalfACell)
{
    const CBoardGeometry board{100.0f, 50.0f, 20.0f, 10.0f, 3, 2};
    uint32_t c = 9, r = 9;
    EXPECT_TRUE(board.CellAt(140.0f, 70.0f, 5.0f, 5.0f, &c, &r));  // translated by (5, 5)
    EXPECT_EQ(c, 1u);
    EXPECT_EQ(r, 1u);
    EXPECT_FALSE(board.CellAt(125.0f, 62.0f, 5.0f, 5.0f, &c, &r));  // on the border of columns 0 and 1
    EXPECT_FALSE(board.CellAt(110.0f, 65.0f, 5.0f, 5.0f, &c, &r));  // on the border of rows 0 and 1
    EXPECT_FALSE(board.CellAt(99.0f, 55.0f, 0.0f, 0.0f, &c, &r));

    EXPECT_EQ(CellSteps(10.0f, 20.0f), 0);   // half a cell
    EXPECT_EQ(CellSteps(-10.0f, 20.0f), 0);
    EXPECT_EQ(CellSteps(10.5f, 20.0f), 1);
    EXPECT_EQ(CellSteps(30.0f, 20.0f), 1);   // one and a half cells
    EXPECT_EQ(CellSteps(30.5f, 20.0f), 2);
    EXPECT_EQ(CellSteps(-51.0f, 20.0f), -3);
    EXPECT_EQ(CellSteps(1e30f, 0.0f), 0);    // no cell size: no step
}

} // namespace
