#include "levels/jigsaw/JigsawBoard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint16_t> Pieces(const CJigsawBoard& board)
{
    std::vector<uint16_t> pieces;
    for (uint32_t i = 0; i < board.CellCount(); ++i)
        pieces.push_back(board.Cell(i)->piece);
    return pieces;
}

class JigsawBoardTest : public ::testing::Test {
protected:
    CJigsawBoard Board(uint8_t columns, uint8_t rows, uint16_t hole, uint16_t flags, uint8_t count = 1)
    {
        CJigsawBoard board;
        EXPECT_EQ(board.Reset({columns, rows, hole, flags, count}), RES_OK);
        return board;
    }

    CRandomMT m_random{};
};

TEST_F(JigsawBoardTest, RulesThatCanNeverMixAreRefused)
{
    const JigsawRules refused[] = {
        {0, 3, kNoHole, 0, 1},                                   // empty grid
        {2, 2, 4, 0, 1},                                         // hole outside the grid
        {2, 2, kNoHole, kJigsawSwap, 0},                         // nothing per series
        {2, 2, 0, kJigsawSlide, 1},                              // slide without a direction
        {2, 2, kNoHole, kJigsawSlide | kJigsawHorizontal, 1},    // slide without a hole
        {2, 2, kNoHole, kJigsawShift, 1},                        // shifting without a direction
        {1, 1, kNoHole, kJigsawSwap, 1},                         // swap on one cell
    };
    for (const JigsawRules& rules : refused)
        EXPECT_FALSE(JigsawRulesPlayable(rules)) << int(rules.columns) << "x" << int(rules.rows);
    EXPECT_TRUE(JigsawRulesPlayable({255, 255, kNoHole, kJigsawSwap, 1}));
    EXPECT_TRUE(JigsawRulesPlayable({1, 1, kNoHole, 0, 0}));  // never mixed
    EXPECT_TRUE(JigsawRulesPlayable({2, 2, kNoHole, kJigsawShift | kJigsawVertical, 1}));
    CJigsawBoard board;
    EXPECT_EQ(board.Reset({0, 3, kNoHole, 0, 1}), RES_FAIL);
}

TEST_F(JigsawBoardTest, ShufflesAreBoundedAndFollowTheDraws)
{
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        RandomSeed(m_random, seed);
        CJigsawBoard one = Board(2, 1, kNoHole, kJigsawSwap, 1);
        EXPECT_TRUE(one.Shuffle(m_random));
        EXPECT_EQ(Pieces(one), (std::vector<uint16_t>{1, 0}));
        // Two swaps of two cells always undo each other: every series ends solved.
        CJigsawBoard two = Board(2, 1, kNoHole, kJigsawSwap, 2);
        EXPECT_FALSE(two.Shuffle(m_random));
        EXPECT_TRUE(two.IsSolved());
    }
    CJigsawBoard still = Board(3, 3, kNoHole, 0);
    EXPECT_TRUE(still.Shuffle(m_random));
    EXPECT_TRUE(still.IsSolved());
    CJigsawBoard slide = Board(3, 3, 8, kJigsawSlide | kJigsawHorizontal | kJigsawVertical, 30);
    EXPECT_TRUE(slide.Shuffle(m_random));
    uint32_t column = 9, row = 9;
    ASSERT_TRUE(slide.FindHole(&column, &row));
}

TEST_F(JigsawBoardTest, SolvedIgnoresTheHoleCellButNotTurns)
{
    CJigsawBoard board = Board(2, 2, 3, kJigsawSlide | kJigsawHorizontal | kJigsawVertical);
    EXPECT_TRUE(board.IsSolved());
    EXPECT_TRUE(board.SlideIntoHole(1, 0));  // piece 1 goes down into the hole
    EXPECT_FALSE(board.IsSolved());
    EXPECT_EQ(board.Cell(3)->piece, 1);
    EXPECT_TRUE(board.SlideIntoHole(1, 1));
    EXPECT_TRUE(board.IsSolved());
    EXPECT_FALSE(board.SlideIntoHole(0, 0));  // no hole beside it
    board.Rotate(0);
    EXPECT_FALSE(board.IsSolved());
    for (int turn = 0; turn < 3; ++turn)
        board.Rotate(0);
    board.Flip(2);
    EXPECT_FALSE(board.IsSolved());
    board.Flip(2);
    EXPECT_TRUE(board.IsSolved());
}

TEST_F(JigsawBoardTest, ShiftsWrapBothWays)
{
    CJigsawBoard board = Board(4, 2, kNoHole, kJigsawShift | kJigsawHorizontal);
    board.ShiftRow(0, 4);
    EXPECT_TRUE(board.IsSolved());
    board.ShiftRow(0, -1);
    EXPECT_EQ(Pieces(board), (std::vector<uint16_t>{1, 2, 3, 0, 4, 5, 6, 7}));
    board.ShiftRow(0, -7);
    EXPECT_EQ(Pieces(board), (std::vector<uint16_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    board.ShiftColumn(3, 1);
    EXPECT_EQ(Pieces(board), (std::vector<uint16_t>{0, 1, 2, 7, 4, 5, 6, 3}));
}

TEST_F(JigsawBoardTest, SlideLinesMoveOnlyAlongTheHolesLine)
{
    CJigsawBoard board = Board(4, 2, 0, kJigsawSlide | kJigsawHorizontal | kJigsawVertical);
    EXPECT_FALSE(board.SlideLine(2, 1, true, -1));  // off the hole's row
    EXPECT_TRUE(board.SlideLine(2, 0, true, -1));   // pieces 1 and 2 slide left
    EXPECT_EQ(Pieces(board), (std::vector<uint16_t>{1, 2, 0, 3, 4, 5, 6, 7}));
    board.MarkSlide(0, 0);
    EXPECT_EQ(board.Cell(0)->slideDirections, kSlideRight);
    EXPECT_EQ(board.Cell(1)->slideDirections, kSlideRight);
    EXPECT_EQ(board.Cell(3)->slideDirections, 0);
    EXPECT_TRUE(board.SlideLine(0, 0, true, 1));
    EXPECT_TRUE(board.IsSolved());
}

} // namespace
