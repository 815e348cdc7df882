#include "levels/sliding/SlidingBoard.h"

#include <gtest/gtest.h>

#include "tools/MiniGameFileWriter.h"

namespace {

// A 5 x 3 board: a two-cell key piece at (0, 1) moving along rows with targets at (1, 1) and
// (2, 1), a two-cell piece at (4, 0) moving along columns, and a fixed cell at (2, 2).
class SlidingBoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_record.gridColumns = 5, m_record.gridRows = 3;
        m_record.pictureColumns = 4, m_record.pictureRows = 2;
        m_record.shapes = {{{{0, 0}, {1, 0}}, kSlideAlongRows}, {{{0, 0}, {0, 1}}, kSlideAlongColumns}, {{{0, 0}}, 0}};
        m_record.Place(0, 0, 0, 1, 1, 0, true);
        m_record.Place(0, 1, 4, 0, 2, 2, false);
        m_record.Place(0, 2, 2, 2, 3, 4, false);
        m_record.MarkTarget(0, 1, 1);
        m_record.MarkTarget(0, 2, 1);
        Rebuild();
    }

    void Rebuild()
    {
        m_shapes.reset(new SlidingShape[m_record.shapes.size()]);
        for (size_t k = 0; k < m_record.shapes.size(); ++k) {
            const CSlidingShapeModel& model = m_record.shapes[k];
            m_shapes[k].cellCount = static_cast<uint16_t>(model.offsets.size());
            m_shapes[k].offsets.reset(new SlidingOffset[model.offsets.size()]);
            std::copy(model.offsets.begin(), model.offsets.end(), m_shapes[k].offsets.get());
            m_shapes[k].moveFlags = model.moveFlags;
        }
        m_rules = {m_shapes.get(), static_cast<uint16_t>(m_record.shapes.size()), 5, 3, 8};
    }

    uint32_t Index(uint32_t column, uint32_t row) const { return row * 5 + column; }

    CSlidingRecordModel m_record;
    std::unique_ptr<SlidingShape[]> m_shapes;
    SlidingRules m_rules{};
    CSlidingBoard m_board;
};

TEST_F(SlidingBoardTest, RangesFollowShapesAndNeighbours)
{
    ASSERT_TRUE(SlidingLayoutValid(m_rules, m_record.layouts[0].data()));
    ASSERT_EQ(m_board.Reset(m_rules, m_record.layouts[0].data()), RES_OK);
    int32_t lo[2], hi[2];
    m_board.MoveRange(1, 1, lo, hi);  // the key piece, pressed on its second cell
    EXPECT_EQ(lo[0], 0);
    EXPECT_EQ(hi[0], 2);  // (4, 1) is taken
    EXPECT_EQ(lo[1] | hi[1], 0);
    m_board.MoveRange(4, 1, lo, hi);
    EXPECT_EQ(lo[1], 0);
    EXPECT_EQ(hi[1], 1);
    EXPECT_EQ(lo[0] | hi[0], 0);
    m_board.MoveRange(2, 2, lo, hi);  // moveFlags 0
    EXPECT_EQ(lo[0] | hi[0] | lo[1] | hi[1], 0);
    m_board.MoveRange(3, 0, lo, hi);  // empty
    EXPECT_EQ(lo[0] | hi[0] | lo[1] | hi[1], 0);
    EXPECT_TRUE(m_board.CanMove(Index(4, 0), 0, 1));
    EXPECT_FALSE(m_board.CanMove(Index(4, 0), 0, 2));
    EXPECT_FALSE(m_board.CanMove(Index(0, 1), -1, 0));
}

TEST_F(SlidingBoardTest, SolvedWantsTheKeyOnEveryTargetNow)
{
    ASSERT_EQ(m_board.Reset(m_rules, m_record.layouts[0].data()), RES_OK);
    const SlidingCell* layout = m_record.layouts[0].data();
    m_board.Move(Index(4, 0), 0, 1);
    EXPECT_EQ(m_board.Cell(Index(4, 0))->tile, kEmptyTile);
    EXPECT_EQ(m_board.Cell(Index(4, 2))->pieceId, 2);
    EXPECT_EQ(m_board.Cell(Index(4, 2))->anchorY, 1);
    EXPECT_FALSE(m_board.IsSolved(layout));  // covers (1, 1) only
    m_board.Move(Index(0, 1), 2, 0);         // covers (2, 1) and (3, 1): past the first target
    EXPECT_EQ(m_board.Cell(Index(1, 1))->flags & kSlidingKey, 0);
    EXPECT_EQ(m_board.Cell(Index(3, 1))->anchorX, 2);
    EXPECT_FALSE(m_board.IsSolved(layout));
    m_board.Move(Index(3, 1), -1, 0);
    EXPECT_TRUE(m_board.IsSolved(layout));
}

TEST_F(SlidingBoardTest, LayoutsThatDisagreeWithTheirShapesAreInvalid)
{
    std::vector<SlidingCell> cells = m_record.layouts[0];
    cells[Index(1, 1)].pieceId = 7;  // the key's second cell claims another piece
    EXPECT_FALSE(SlidingLayoutValid(m_rules, cells.data()));
    cells = m_record.layouts[0];
    cells[Index(2, 2)].shape = 3;  // past the shapes
    EXPECT_FALSE(SlidingLayoutValid(m_rules, cells.data()));
    cells = m_record.layouts[0];
    cells[Index(2, 2)].tile = 8;  // past the picture's tiles
    EXPECT_FALSE(SlidingLayoutValid(m_rules, cells.data()));
    m_record.shapes[2].offsets[0] = {0, 1};  // the fixed cell's shape reaches off the grid
    Rebuild();
    EXPECT_FALSE(SlidingLayoutValid(m_rules, m_record.layouts[0].data()));
}

} // namespace
