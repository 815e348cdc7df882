#pragma once
#include <cstddef>
#include <cstdint>

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

// Reads the input as a mini-game level's description in a game world. When it reads, check gets
// the level; then a few frames of play run (play) and the level is released, whatever was read.
template <class Level, class Check, class Play>
void ReadMiniGameDescription(const uint8_t* data, size_t size, Check check, Play play)
{
    CFuzzGame game;
    game.World().m_nSceneCount = 3;
    Level level(game.World().GetData(), nullptr, 0);
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    FUZZ_CHECK(stream.Open() == RES_OK);
    const bool read = Succeeded(level.LoadDescription(&stream));
    FUZZ_CHECK(level.GetRecordCount() == 0 || level.GetCurrentRecord() < level.GetRecordCount());
    if (read && level.GetRecordCount()) {
        check(level);
        play(level);
    }
    FUZZ_CHECK(level.Release() == RES_OK);
}
