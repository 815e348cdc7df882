// A sliding level's description: both layouts of a record that reads agree with their shapes
// inside the grid and the picture, and the board set up from them keeps every piece whole when
// each cell's piece is moved as far as its range allows.

#include "fuzz/FuzzMiniGames.h"
#include "levels/sliding/LevelSliding.h"

namespace {

SlidingRules RulesOf(const CLevelSlidingRecord& r)
{
    return {r.shapes.get(), r.shapeCount, r.gridColumns, r.gridRows, uint32_t{r.pictureColumns} * r.pictureRows};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadMiniGameDescription<CLevelSliding>(
        data, size,
        [](CLevelSliding& level) {
            for (uint32_t k = 0; k < level.GetRecordCount(); ++k) {
                const auto* r = static_cast<CLevelSlidingRecord*>(level.GetRecord(k));
                FUZZ_CHECK(SlidingLayoutValid(RulesOf(*r), r->layouts[0].get()));
                FUZZ_CHECK(SlidingLayoutValid(RulesOf(*r), r->layouts[1].get()));
            }
        },
        [](CLevelSliding& level) {
            level.Setup(true);
            const auto* r = static_cast<CLevelSlidingRecord*>(level.GetRecord(level.GetCurrentRecord()));
            CSlidingBoard board;
            FUZZ_CHECK(Succeeded(board.Reset(RulesOf(*r), r->layouts[0].get())));
            for (uint32_t i = 0; i < board.CellCount() && i < 64; ++i) {
                int32_t lo[2], hi[2];
                board.MoveRange(i % board.Columns(), i / board.Columns(), lo, hi);
                board.Move(i, hi[0], 0);
                board.Move(i, 0, lo[1]);
                FUZZ_CHECK(SlidingLayoutValid(RulesOf(*r), board.Cells()));
            }
        });
    return 0;
}
