#include "levels/sliding/SlidingRecord.h"

#include "levels/minigames/MiniGameDescription.h"

namespace {

constexpr uint32_t kOffsetBytes = 12;
constexpr uint32_t kShapeMinBytes = 3;  // the cell count and the move flags

bool ReadShape(CStream& s, SlidingShape& shape)
{
    if (!ReadValue(s, shape.cellCount) || !AllocFor(s, shape.offsets, shape.cellCount, kOffsetBytes))
        return false;
    for (uint16_t k = 0; k < shape.cellCount; ++k) {
        uint8_t bytes[kOffsetBytes];
        if (!s.Read(bytes, 1, kOffsetBytes))
            return false;
        shape.offsets[k].dx = static_cast<int16_t>(bytes[0] | bytes[1] << 8);
        shape.offsets[k].dy = static_cast<int16_t>(bytes[4] | bytes[5] << 8);
    }
    return ReadValue(s, shape.moveFlags);
}

bool ReadLayoutCells(CStream& s, CLevelSlidingRecord& r, int which)
{
    const uint32_t cells = uint32_t{r.gridColumns} * r.gridRows;
    return ReadArray(s, r.layouts[which], cells) && ReadValue(s, r.exitDirections[which]);
}

} // namespace

Result ReadSlidingRecord(CStream& s, CLevelSlidingRecord& r)
{
    if (!ReadValue(s, r.pictureColumns) || !ReadValue(s, r.pictureRows) ||
        !ReadArray(s, r.tileMap, uint64_t{r.pictureColumns} * r.pictureRows) || !ReadValue(s, r.shapeCount) ||
        !AllocFor(s, r.shapes, r.shapeCount, kShapeMinBytes))
        return RES_FAIL;
    for (uint16_t k = 0; k < r.shapeCount; ++k) {
        if (!ReadShape(s, r.shapes[k]))
            return RES_FAIL;
    }
    if (!ReadValue(s, r.gridColumns) || !ReadValue(s, r.gridRows) || !ReadLayoutCells(s, r, 0) ||
        !ReadLayoutCells(s, r, 1) || !ReadName(s, r.pictureName) || !ReadExit(s, r.exit))
        return RES_FAIL;
    const SlidingRules rules{r.shapes.get(), r.shapeCount, r.gridColumns, r.gridRows,
                             uint32_t{r.pictureColumns} * r.pictureRows};
    return SlidingLayoutValid(rules, r.layouts[0].get()) && SlidingLayoutValid(rules, r.layouts[1].get()) ? RES_OK
                                                                                                          : RES_FAIL;
}
