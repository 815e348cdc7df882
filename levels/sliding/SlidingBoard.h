#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"

constexpr int16_t kEmptyTile = -1;
constexpr uint16_t kSlidingKey = 0x8000;
constexpr uint16_t kSlidingTarget = 0x4000;

enum SlidingMove : uint8_t { kSlideAlongRows = 1, kSlideAlongColumns = 2 };

// One cell of a sliding layout and board (12 bytes, as in the files).
struct SlidingCell {
    int16_t anchorX;
    int16_t anchorY;
    int16_t tile;  // kEmptyTile: empty
    uint16_t shape;
    int16_t pieceId;
    uint16_t flags;
};
static_assert(sizeof(SlidingCell) == 12, "file cell layout");

struct SlidingOffset {
    int16_t dx;
    int16_t dy;
};

// A piece's cells relative to its anchor and the axes it moves along.
struct SlidingShape {
    uint16_t cellCount = 0;
    std::unique_ptr<SlidingOffset[]> offsets;
    uint8_t moveFlags = 0;
};

// The shapes and the grid a board is played on.
struct SlidingRules {
    const SlidingShape* shapes;
    uint16_t shapeCount;
    uint16_t columns;
    uint16_t rows;
    uint32_t tileCount;  // tiles of the picture
};

// True when every cell with a tile names a shape and tile inside their tables, and every cell of
// its piece's shape lies inside the grid and agrees with the piece (id, anchor, shape).
bool SlidingLayoutValid(const SlidingRules& rules, const SlidingCell* layout);

// The sliding board without drawing.
class CSlidingBoard {
public:
    // A copy of the layout; the rules must outlive the board's use and the layout be valid.
    Result Reset(const SlidingRules& rules, const SlidingCell* layout);

    uint32_t Columns() const { return m_rules.columns; }
    uint32_t Rows() const { return m_rules.rows; }
    uint32_t CellCount() const { return m_nCells; }
    SlidingCell* Cells() { return m_pCells.get(); }
    const SlidingCell* Cell(uint32_t index) const { return index < m_nCells ? &m_pCells[index] : nullptr; }
    // The piece's shape; null for an empty cell or a cell past the board.
    const SlidingShape* ShapeOf(uint32_t index) const;

    // True when the piece in the cell fits moved by (dx, dy).
    bool CanMove(uint32_t index, int32_t dx, int32_t dy) const;
    // The free steps of the cell's piece: towards 0 (min, 0 or less) and away (max) along each axis
    // its shape allows; all 0 for an empty cell.
    void MoveRange(uint32_t column, uint32_t row, int32_t minSteps[2], int32_t maxSteps[2]) const;
    // Moves the cell's piece by (sx, sy) steps; the steps must fit.
    void Move(uint32_t index, int32_t sx, int32_t sy);
    // Every target of the layout covered by a key cell with a tile.
    bool IsSolved(const SlidingCell* layout) const;

private:
    bool Inside(int32_t column, int32_t row) const
    {
        return column >= 0 && row >= 0 && column < int32_t{m_rules.columns} && row < int32_t{m_rules.rows};
    }

    SlidingRules m_rules{};
    uint32_t m_nCells = 0;
    std::unique_ptr<SlidingCell[]> m_pCells;
};
