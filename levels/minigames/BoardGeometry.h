#pragma once
#include <cstdint>

// Where a mini-game's grid lies on the screen: the cell size and the grid's top-left corner
// before the view translation.
struct CBoardGeometry {
    float originX = 0.0f, originY = 0.0f;
    float cellWidth = 0.0f, cellHeight = 0.0f;
    uint32_t columns = 0, rows = 0;

    // The cell under (x, y) with the view translated by (tx, ty); bounds are exclusive, so a
    // point on a border is in no cell.
    bool CellAt(float x, float y, float tx, float ty, uint32_t* column, uint32_t* row) const
    {
        for (uint32_t c = 0; c < columns; ++c) {
            const float left = originX + tx + c * cellWidth;
            if (!(left < x && x < left + cellWidth))
                continue;
            for (uint32_t r = 0; r < rows; ++r) {
                const float top = originY + ty + r * cellHeight;
                if (top < y && y < top + cellHeight) {
                    *column = c;
                    *row = r;
                    return true;
                }
            }
        }
        return false;
    }

    // The centre of cell (c, r) with the view translated by (tx, ty).
    float CentreX(uint32_t c, float tx) const { return originX + tx + (c + 0.5f) * cellWidth; }
    float CentreY(uint32_t r, float ty) const { return originY + ty + (r + 0.5f) * cellHeight; }
};

// Whole cell steps of a drag offset: within half a cell none; past it one, and one more for
// every further whole cell.
inline int32_t CellSteps(float offset, float cell)
{
    if (!(cell > 0.0f) || (offset >= -cell / 2 && offset <= cell / 2))
        return 0;
    const int32_t sign = offset > 0 ? 1 : -1;
    float rest = offset * sign - cell / 2;
    int32_t steps = 1;
    for (; rest > cell && steps < 0xFFFF; ++steps)
        rest -= cell;
    return steps * sign;
}
