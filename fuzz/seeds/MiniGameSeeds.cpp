// Seeds of the mini-game descriptions, made by the writer library.

#include "fuzz/seeds/Seeds.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "tools/MiniGameFileWriter.h"

namespace {

CLevelModel OneRecordLevel(size_t parts)
{
    CLevelModel level;
    level.scene.parts.resize(parts);
    level.records.resize(1);
    return level;
}

} // namespace

FUZZ_SEEDS(JigsawDescription)
{
    CJigsawModel swap;
    swap.level = OneRecordLevel(2);
    swap.layout.boardPart = 0;
    swap.layout.buttonParts[kJigsawShuffleButton] = 1;
    CJigsawModel slide = swap;
    CJigsawRecordModel record;
    record.columns = 4, record.rows = 3, record.holePiece = 11, record.shuffleCount = 20;
    record.modeFlags = kJigsawSlide | kJigsawHorizontal | kJigsawVertical | kJigsawRotate | kJigsawFlip;
    slide.records = {record};
    CJigsawModel shift = swap;
    record.holePiece = kNoHole, record.modeFlags = kJigsawShift | kJigsawHorizontal | kJigsawVertical;
    shift.records = {record};
    return {{"swap.raw", JigsawBody(swap)}, {"slide.raw", JigsawBody(slide)}, {"shift.raw", JigsawBody(shift)}};
}

FUZZ_SEEDS(SlidingDescription)
{
    CSlidingModel model;
    model.level = OneRecordLevel(1);
    model.layout.boardPart = 0;
    CSlidingRecordModel r;
    r.gridColumns = 4, r.gridRows = 3, r.pictureColumns = 4, r.pictureRows = 3;
    r.shapes = {{{{0, 0}, {1, 0}}, kSlideAlongRows}, {{{0, 0}, {0, 1}}, kSlideAlongColumns}};
    r.Place(0, 0, 0, 1, 1, 0, true);
    r.Place(0, 1, 3, 0, 2, 2, false);
    r.Place(1, 0, 1, 1, 1, 0, true);
    r.MarkTarget(0, 2, 1);
    r.MarkTarget(1, 2, 1);
    model.records = {r};
    return {{"two-pieces.raw", SlidingBody(model)}};
}

FUZZ_SEEDS(ShootDescription)
{
    CShootModel list;
    list.level = OneRecordLevel(2);
    list.targets = {{0, 1, {10, 10, 0}}, {1, 1, {300, 10, 0}}};
    CShootModel grid = list;
    CShootRecordModel record;
    record.gridMode = 1, record.gridColumns = 3, record.gridRows = 2, record.maxWave = 6;
    grid.records = {record};
    return {{"list.raw", ShootBody(list)}, {"grid.raw", ShootBody(grid)}};
}
