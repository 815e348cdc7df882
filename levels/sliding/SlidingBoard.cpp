#include "levels/sliding/SlidingBoard.h"

#include <algorithm>
#include <new>

namespace {

bool SamePiece(const SlidingCell& a, const SlidingCell& b)
{
    return b.tile != kEmptyTile && a.pieceId == b.pieceId && a.anchorX == b.anchorX && a.anchorY == b.anchorY &&
           a.shape == b.shape;
}

} // namespace

bool SlidingLayoutValid(const SlidingRules& rules, const SlidingCell* layout)
{
    const int32_t columns = rules.columns, rows = rules.rows;
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            const SlidingCell& cell = layout[r * columns + c];
            if (cell.tile == kEmptyTile)
                continue;
            if (cell.tile < 0 || static_cast<uint32_t>(cell.tile) >= rules.tileCount || cell.shape >= rules.shapeCount)
                return false;
            const SlidingShape& shape = rules.shapes[cell.shape];
            bool coversCell = false;
            for (uint16_t k = 0; k < shape.cellCount; ++k) {
                const int32_t x = cell.anchorX + shape.offsets[k].dx, y = cell.anchorY + shape.offsets[k].dy;
                if (x < 0 || y < 0 || x >= columns || y >= rows || !SamePiece(cell, layout[y * columns + x]))
                    return false;
                coversCell = coversCell || (x == c && y == r);
            }
            if (!coversCell)
                return false;
        }
    }
    return true;
}

Result CSlidingBoard::Reset(const SlidingRules& rules, const SlidingCell* layout)
{
    const uint32_t n = uint32_t{rules.columns} * rules.rows;
    if (n != m_nCells || !m_pCells) {
        m_pCells.reset(new (std::nothrow) SlidingCell[n ? n : 1]);
        if (!m_pCells) {
            m_nCells = 0;
            return RES_OUT_OF_MEMORY;
        }
    }
    m_rules = rules;
    m_nCells = n;
    std::copy_n(layout, n, m_pCells.get());
    return RES_OK;
}

const SlidingShape* CSlidingBoard::ShapeOf(uint32_t index) const
{
    const SlidingCell* cell = Cell(index);
    if (!cell || cell->tile == kEmptyTile || cell->shape >= m_rules.shapeCount)
        return nullptr;
    return &m_rules.shapes[cell->shape];
}

bool CSlidingBoard::CanMove(uint32_t index, int32_t dx, int32_t dy) const
{
    const SlidingShape* shape = ShapeOf(index);
    if (!shape)
        return false;
    const SlidingCell& piece = m_pCells[index];
    for (uint16_t k = 0; k < shape->cellCount; ++k) {
        const int32_t x = piece.anchorX + shape->offsets[k].dx + dx, y = piece.anchorY + shape->offsets[k].dy + dy;
        if (!Inside(x, y))
            return false;
        const SlidingCell& there = m_pCells[y * m_rules.columns + x];
        if (there.tile != kEmptyTile && there.pieceId != piece.pieceId)
            return false;
    }
    return true;
}

void CSlidingBoard::MoveRange(uint32_t column, uint32_t row, int32_t minSteps[2], int32_t maxSteps[2]) const
{
    minSteps[0] = minSteps[1] = maxSteps[0] = maxSteps[1] = 0;
    const uint32_t index = row * m_rules.columns + column;
    const SlidingShape* shape = column < Columns() ? ShapeOf(index) : nullptr;
    if (!shape)
        return;
    const int32_t anchor[2] = {m_pCells[index].anchorX, m_pCells[index].anchorY};
    const int32_t size[2] = {int32_t{m_rules.columns}, int32_t{m_rules.rows}};
    for (int axis = 0; axis < 2; ++axis) {
        if (!(shape->moveFlags & (axis == 0 ? kSlideAlongRows : kSlideAlongColumns)))
            continue;
        auto fits = [&](int32_t step) {
            return CanMove(index, axis == 0 ? step : 0, axis == 0 ? 0 : step);
        };
        for (int32_t to = anchor[axis] - 1; to >= 0 && fits(to - anchor[axis]); --to)
            --minSteps[axis];
        for (int32_t to = anchor[axis] + 1; to < size[axis] && fits(to - anchor[axis]); ++to)
            ++maxSteps[axis];
    }
}

void CSlidingBoard::Move(uint32_t index, int32_t sx, int32_t sy)
{
    if (index >= m_nCells || m_pCells[index].tile == kEmptyTile || !CanMove(index, sx, sy))
        return;
    const int16_t id = m_pCells[index].pieceId;
    std::unique_ptr<SlidingCell[]> before(new (std::nothrow) SlidingCell[m_nCells]);
    if (!before)
        return;
    std::copy_n(m_pCells.get(), m_nCells, before.get());
    for (uint32_t i = 0; i < m_nCells; ++i) {
        SlidingCell& cell = m_pCells[i];
        if (before[i].tile != kEmptyTile && before[i].pieceId == id) {
            cell.anchorX = cell.anchorY = cell.tile = cell.pieceId = -1;
            cell.shape = 0xFFFF;
            cell.flags &= static_cast<uint16_t>(~kSlidingKey);
        }
    }
    const int32_t columns = m_rules.columns;
    for (uint32_t i = 0; i < m_nCells; ++i) {
        if (before[i].tile == kEmptyTile || before[i].pieceId != id)
            continue;
        SlidingCell moved = before[i];
        moved.anchorX = static_cast<int16_t>(moved.anchorX + sx);
        moved.anchorY = static_cast<int16_t>(moved.anchorY + sy);
        const int32_t x = static_cast<int32_t>(i) % columns + sx, y = static_cast<int32_t>(i) / columns + sy;
        m_pCells[y * columns + x] = moved;
    }
}

bool CSlidingBoard::IsSolved(const SlidingCell* layout) const
{
    for (uint32_t i = 0; i < m_nCells; ++i) {
        if ((layout[i].flags & kSlidingTarget) && (!(m_pCells[i].flags & kSlidingKey) || m_pCells[i].tile == kEmptyTile))
            return false;
    }
    return true;
}
