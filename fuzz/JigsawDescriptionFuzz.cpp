// A jigsaw level's description: a record that reads can be played (a grid of 1 to 65535 cells, a
// hole inside it, a move kind that applies), the layout's parts lie inside the part table, and
// its shuffle ends (the replay's ten seconds) with every piece once on the board.

#include <vector>

#include "fuzz/FuzzMiniGames.h"
#include "levels/jigsaw/LevelJigsaw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadMiniGameDescription<CLevelJigsaw>(
        data, size,
        [](CLevelJigsaw& level) {
            const auto& layout = level.GetLayout();
            FUZZ_CHECK(layout.boardPart == kNoPart || layout.boardPart < level.GetPartCount());
            for (uint32_t part : layout.buttonParts)
                FUZZ_CHECK(part == kNoPart || part < level.GetPartCount());
            for (uint32_t k = 0; k < level.GetRecordCount(); ++k) {
                const auto* r = static_cast<CLevelJigsawRecord*>(level.GetRecord(k));
                FUZZ_CHECK(JigsawRulesPlayable({r->columns, r->rows, r->holePiece, r->modeFlags, r->shuffleCount}));
                FUZZ_CHECK(r->frontTextureName[kNameBytes - 1] == 0 && r->backTextureName[kNameBytes - 1] == 0);
            }
        },
        [](CLevelJigsaw& level) {
            level.Shuffle(true);
            const CJigsawBoard& board = level.GetCells();
            std::vector<uint8_t> seen(board.CellCount(), 0);
            for (uint32_t i = 0; i < board.CellCount(); ++i) {
                FUZZ_CHECK(board.Cell(i)->piece < board.CellCount() && !seen[board.Cell(i)->piece]);
                seen[board.Cell(i)->piece] = 1;
            }
        });
    return 0;
}
