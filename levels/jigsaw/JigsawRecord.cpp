#include "levels/jigsaw/JigsawRecord.h"

#include "levels/jigsaw/JigsawBoard.h"
#include "levels/minigames/MiniGameDescription.h"

Result ReadJigsawRecord(CStream& s, CLevelJigsawRecord& r)
{
    bool read = ReadValue(s, r.columns) && ReadValue(s, r.rows) && ReadArray(s, r.columnMarks, r.columns) &&
                ReadArray(s, r.rowMarks, r.rows) && ReadValue(s, r.holePiece) && ReadValue(s, r.modeFlags) &&
                ReadValue(s, r.selectColour) && ReadValue(s, r.shuffleCount) && ReadName(s, r.frontTextureName) &&
                ReadName(s, r.backTextureName) && ReadValue(s, r.showPicture) && ReadExit(s, r.exit);
    const JigsawRules rules{r.columns, r.rows, r.holePiece, r.modeFlags, r.shuffleCount};
    return read && JigsawRulesPlayable(rules) ? RES_OK : RES_FAIL;
}
