#pragma once
#include <cstdint>

#include "levels/LevelWithRecords.h"
#include "levels/minigames/LevelMiniGame.h"
#include "levels/minigames/MiniGameDescription.h"

// A mini-game on a board with its buttons (JIGSAW, SLIDING): its description places the board,
// the mask and ButtonCount buttons after the level base, then gives each record's own part,
// which ReadRecord reads; each record has its exit. The pieces are built as the files load.
template <typename RecordType, uint32_t ButtonCount, Result (*ReadRecord)(CStream&, RecordType&)>
class CBoardGameLevel : public CLevelWithRecords<CLevelMiniGame, RecordType> {
public:
    using CLevelWithRecords<CLevelMiniGame, RecordType>::CLevelWithRecords;

    Result LoadDescription(CStream* stream) override
    {
        if (Failed(CLevelMiniGame::LoadDescription(stream)) ||
            Failed(ReadMiniGameLayout(*stream, m_layout, this->m_nPartCount)))
            return RES_FAIL;
        return this->ReadOwnRecords(*stream, ReadRecord);
    }

    Result LoadFiles() override
    {
        return Failed(CLevelMiniGame::LoadFiles()) || Failed(BuildPieces()) ? RES_FAIL : RES_OK;
    }
    // The pieces' quads and textures of the current record.
    virtual Result BuildPieces() = 0;

    const CMiniGameLayout<ButtonCount>& GetLayout() const { return m_layout; }

protected:
    const CMiniGameExit* CurrentExit() override
    {
        const RecordType* record = this->Record();
        return record ? &record->exit : nullptr;
    }

    CMiniGameLayout<ButtonCount> m_layout;
};
