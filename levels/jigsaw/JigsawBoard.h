#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Random.h"

// The jigsaw's move kinds in a record's mode flags.
enum JigsawMode : uint16_t {
    kJigsawSlide = 0x01,
    kJigsawHorizontal = 0x02,
    kJigsawVertical = 0x04,
    kJigsawShift = 0x08,
    kJigsawSwap = 0x10,
    kJigsawRotate = 0x20,
    kJigsawFlip = 0x40,
};

// Slide marks of a cell under a press.
enum JigsawSlideMark : uint8_t { kSlideUp = 1, kSlideDown = 2, kSlideLeft = 4, kSlideRight = 8 };

constexpr uint16_t kNoHole = 0xFFFF;
constexpr uint16_t kNoCell = 0xFFFF;
constexpr uint32_t kJigsawMaxCells = 65535;

// One cell of the board, saved whole (6 bytes); piece p belongs in cell p.
struct JigsawCell {
    uint16_t piece;
    uint8_t flipped;
    uint8_t rotation;  // quarter turns
    uint8_t slideDirections;
    uint8_t reserved;
};
static_assert(sizeof(JigsawCell) == 6, "saved cell layout");

// The shape of a board as a record gives it.
struct JigsawRules {
    uint8_t columns;
    uint8_t rows;
    uint16_t holePiece;
    uint16_t modeFlags;
    uint8_t shuffleCount;
};

// True when the rules can be played: a grid of 1 to 65535 cells, a hole inside it or none, and,
// with any mode flag, a move kind that can apply and a shuffle count above 0.
bool JigsawRulesPlayable(const JigsawRules& rules);

// The jigsaw's board without drawing: cells row-major, the moves and the shuffle.
class CJigsawBoard {
public:
    // A board in order for the rules; they must be playable.
    Result Reset(const JigsawRules& rules);

    uint32_t Columns() const { return m_rules.columns; }
    uint32_t Rows() const { return m_rules.rows; }
    uint32_t CellCount() const { return m_nCells; }
    bool Has(uint16_t flags) const { return (m_rules.modeFlags & flags) == flags; }
    const JigsawRules& Rules() const { return m_rules; }
    // Null past the cells.
    JigsawCell* Cell(uint32_t index) { return index < m_nCells ? &m_pCells[index] : nullptr; }
    const JigsawCell* Cell(uint32_t index) const { return index < m_nCells ? &m_pCells[index] : nullptr; }
    JigsawCell* Cells() { return m_pCells.get(); }
    bool IsHole(uint32_t index) const { return index < m_nCells && m_pCells[index].piece == m_rules.holePiece; }

    bool IsSolved() const;
    // Every piece home, unturned and face up.
    void Solve();
    // The cell holding the hole; false when none.
    bool FindHole(uint32_t* column, uint32_t* row) const;
    // Finds the hole again after the cells were written from outside.
    void Refresh();
    uint8_t HoleNeighbours(uint32_t column, uint32_t row) const;
    bool SlideIntoHole(uint32_t column, uint32_t row);
    void Swap(uint32_t a, uint32_t b);
    void Rotate(uint32_t index);
    void Flip(uint32_t index);
    // The piece of column i moves to column (i + k) mod columns; k may be negative.
    void ShiftRow(uint32_t row, int32_t k);
    void ShiftColumn(uint32_t column, int32_t k);
    // Marks the cells between a pressed cell and the hole in its line with their slide direction.
    void MarkSlide(uint32_t column, uint32_t row);
    void ClearMarks();
    // Slides the pieces between the hole and the pressed cell one place towards the hole along
    // the row (horizontal) or column; false when the pressed cell is off the hole's line or the
    // hole lies at the board's edge in that direction.
    bool SlideLine(uint32_t column, uint32_t row, bool horizontal, int32_t direction);

    // Series of shuffleCount random moves until the board is not solved, at most 16 series;
    // false when it stays solved.
    bool Shuffle(CRandomMT& random);

private:
    uint32_t Index(uint32_t column, uint32_t row) const { return row * m_rules.columns + column; }
    bool RandomMove(CRandomMT& random);
    bool RandomSlide(CRandomMT& random);
    bool RandomShift(CRandomMT& random);

    JigsawRules m_rules{};
    uint32_t m_nCells = 0;
    uint32_t m_nHoleCell = kNoCell;  // where the hole lies, kept by every move
    std::unique_ptr<JigsawCell[]> m_pCells;
};
