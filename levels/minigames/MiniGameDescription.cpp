#include "levels/minigames/MiniGameDescription.h"

#include <new>

#include "game/StreamValues.h"
#include "levels/minigames/JigsawBoard.h"

namespace {

constexpr uint32_t kOffsetBytes = 12;
constexpr uint32_t kShapeMinBytes = 3;  // the cell count and the move flags
constexpr uint32_t kEntryBytes = 29;
constexpr uint32_t kMaxShootTargets = 255;  // a slot keeps its target in a byte, 0xFF free

bool PartOrNone(uint32_t part, uint32_t partCount) { return part == kNoPart || part < partCount; }

// A fixed name field; its last byte is cut so that the name always ends.
bool ReadName(CStream& stream, char (&name)[kNameBytes])
{
    if (!stream.Read(name, 1, kNameBytes))
        return false;
    name[kNameBytes - 1] = '\0';
    return true;
}

// Zeroed room for count elements of fileBytes each in the file, refused before allocation when
// the stream can't hold them.
template <typename T>
bool AllocFor(CStream& stream, std::unique_ptr<T[]>& array, uint64_t count, uint64_t fileBytes)
{
    if (count * fileBytes > stream.BytesLeft())
        return false;
    array.reset(new (std::nothrow) T[count ? count : 1]());
    return array != nullptr;
}

// count elements stored as they lie in the file.
template <typename T>
bool ReadArray(CStream& stream, std::unique_ptr<T[]>& array, uint64_t count)
{
    return AllocFor(stream, array, count, sizeof(T)) &&
           (count == 0 || stream.Read(array.get(), sizeof(T), static_cast<uint32_t>(count)));
}

bool ReadPopup(CStream& s, CLevelPopupGroup& p)
{
    return ReadValue(s, p.popupId) && ReadValue(s, p.repeat) && ReadValue(s, p.value) && ReadValue(s, p.shown);
}

bool ReadExit(CStream& s, CMiniGameExit& e)
{
    return ReadValue(s, e.reloadArgument) && ReadValue(s, e.nextScene) && ReadValue(s, e.extraValue) &&
           ReadValue(s, e.moveSound) && ReadValue(s, e.solvedSound) && ReadValue(s, e.hintReward);
}

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

bool ReadShootEntry(CStream& s, CShootEntry& e, uint32_t targetCount)
{
    return ReadValue(s, e.escapePoints) && ReadValue(s, e.hitPoints) && ReadValue(s, e.hitSound) &&
           ReadValue(s, e.fadeInSeconds) && ReadValue(s, e.vanishSeconds) && ReadPopup(s, e.explainPopup) &&
           ReadValue(s, e.sampleTarget) && (e.sampleTarget == 0xFF || e.sampleTarget < targetCount);
}

} // namespace

template <uint32_t N>
Result ReadMiniGameLayout(CStream& stream, CMiniGameLayout<N>& layout, uint32_t partCount)
{
    if (!ReadValue(stream, layout.maskPart) || !ReadValue(stream, layout.boardPart) ||
        !stream.Read(layout.buttonParts, sizeof(uint32_t), N) || !stream.Read(layout.buttonPositions, sizeof(CPoint3), N))
        return RES_FAIL;
    if (!PartOrNone(layout.maskPart, partCount) || !PartOrNone(layout.boardPart, partCount))
        return RES_FAIL;
    for (uint32_t part : layout.buttonParts) {
        if (!PartOrNone(part, partCount))
            return RES_FAIL;
    }
    return RES_OK;
}

template Result ReadMiniGameLayout(CStream&, CMiniGameLayout<kJigsawButtonCount>&, uint32_t);
template Result ReadMiniGameLayout(CStream&, CMiniGameLayout<kSlidingButtonCount>&, uint32_t);

Result ReadJigsawRecord(CStream& s, CLevelJigsawRecord& r)
{
    bool read = ReadValue(s, r.columns) && ReadValue(s, r.rows) && ReadArray(s, r.columnMarks, r.columns) &&
                ReadArray(s, r.rowMarks, r.rows) && ReadValue(s, r.holePiece) && ReadValue(s, r.modeFlags) &&
                ReadValue(s, r.selectColour) && ReadValue(s, r.shuffleCount) && ReadName(s, r.frontTextureName) &&
                ReadName(s, r.backTextureName) && ReadValue(s, r.showPicture) && ReadExit(s, r.exit);
    const JigsawRules rules{r.columns, r.rows, r.holePiece, r.modeFlags, r.shuffleCount};
    return read && JigsawRulesPlayable(rules) ? RES_OK : RES_FAIL;
}

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

Result ReadShootTargets(CStream& s, CShootTargets& t, uint32_t partCount)
{
    uint32_t count = 0;
    if (!ReadValue(s, count) || count == 0 || count > kMaxShootTargets || !ReadArray(s, t.targets, count) ||
        !ReadArray(s, t.points, count) || !ReadValue(s, t.counterX) || !ReadValue(s, t.counterY))
        return RES_FAIL;
    t.count = count;
    bool anyUsable = false;
    for (uint32_t k = 0; k < count; ++k) {
        if (!PartOrNone(t.targets[k].part, partCount) || (t.targets[k].usable && t.targets[k].part == kNoPart))
            return RES_FAIL;
        anyUsable = anyUsable || t.targets[k].usable;
    }
    return anyUsable ? RES_OK : RES_FAIL;
}

Result ReadShootRecord(CStream& s, CLevelShootRecord& r, const CShootTargets& t)
{
    if (!ReadValue(s, r.gridMode) || !ReadValue(s, r.gridColumns) || !ReadValue(s, r.gridRows) ||
        !ReadValue(s, r.gridOffsetY) || !ReadName(s, r.targetTextureName) || !ReadValue(s, r.minSpawnSeconds) ||
        !ReadValue(s, r.maxSpawnSeconds) || !ReadValue(s, r.maxWave) || !ReadValue(s, r.minLifeSeconds) ||
        !ReadValue(s, r.maxLifeSeconds) || !ReadValue(s, r.value2FC) || !ReadValue(s, r.winArgument) ||
        !ReadValue(s, r.winTargetScene) || !ReadValue(s, r.value2CC) || !ReadValue(s, r.goal) ||
        !ReadValue(s, r.hintPoints) || !ReadValue(s, r.loseThreshold) || !ReadValue(s, r.hintLabelSeconds) ||
        !ReadValue(s, r.missSound) || !ReadValue(s, r.wonSound) || !ReadValue(s, r.entryCount) ||
        !AllocFor(s, r.entries, r.entryCount, kEntryBytes))
        return RES_FAIL;
    for (uint8_t e = 0; e < r.entryCount; ++e) {
        if (!ReadShootEntry(s, r.entries[e], t.count))
            return RES_FAIL;
    }
    if (!ReadArray(s, r.entryOfTarget, t.count) || !ReadPopup(s, r.losePopup) || !ReadValue(s, r.winHints))
        return RES_FAIL;
    for (uint32_t k = 0; k < t.count; ++k) {
        if (r.entryOfTarget[k] >= r.entryCount)
            return RES_FAIL;
    }
    if (r.minSpawnSeconds > r.maxSpawnSeconds || r.minLifeSeconds > r.maxLifeSeconds)
        return RES_FAIL;
    const uint32_t cells = r.gridMode ? uint32_t{r.gridColumns} * r.gridRows : 0;
    r.cellPoints.reset(new (std::nothrow) CPoint3[cells ? cells : 1]());
    return r.cellPoints ? RES_OK : RES_OUT_OF_MEMORY;
}
