#include "levels/shoot/ShootRecord.h"

#include "levels/minigames/MiniGameDescription.h"

namespace {

constexpr uint32_t kEntryBytes = 29;
constexpr uint32_t kMaxShootTargets = 255;  // a slot keeps its target in a byte, 0xFF free

bool ReadShootEntry(CStream& s, CShootEntry& e, uint32_t targetCount)
{
    return ReadValue(s, e.escapePoints) && ReadValue(s, e.hitPoints) && ReadValue(s, e.hitSound) &&
           ReadValue(s, e.fadeInSeconds) && ReadValue(s, e.vanishSeconds) && ReadPopup(s, e.explainPopup) &&
           ReadValue(s, e.sampleTarget) && (e.sampleTarget == 0xFF || e.sampleTarget < targetCount);
}

} // namespace

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
