#pragma once

#include <map>
#include <string>

#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "tests/game/GameWorldFixture.h"

// The raw files of a small game, made by the writer library: a construction of two levels
// (hidden-object and sliding) and one tooltip, the levels' descriptions (two scene parts, three
// records, a click target and actions), the tooltip, labels and timer, the tutorial table and
// two sound names. Keyed by pak entry name.
std::map<std::string, std::string> GameRawFiles();
// The pak entry name of a raw file of the game ("_construct.raw" ...).
std::string GameRawName(const std::string& file);

// The game world over the built-in game settings, in an application-data folder of this process;
// tests' levels and level objects are registered, and the sounds are empty ones.
class CFuzzGame {
public:
    CFuzzGame();
    ~CFuzzGame();
    CFuzzGame(const CFuzzGame&) = delete;
    CFuzzGame& operator=(const CFuzzGame&) = delete;
    CTestWorld& World() { return m_world; }
    CGameData& Data() { return *m_world.GetGameData(); }
    // Makes the game's objects from a pak of the files (OnPrepareGame), then checks what it made.
    Result Prepare(const std::map<std::string, std::string>& files);

private:
    CParamsText m_game{kGameSettingsText, kGameSettingsLength};
    CTestWorld m_world;
};

// Runs the preparation on the game's raw files with one of them replaced by the input.
void PrepareGameWith(const std::string& file, const uint8_t* data, size_t size);
