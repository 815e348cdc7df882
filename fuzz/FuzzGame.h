#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/BuiltinSettings.h"
#include "core/Math3D.h"
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
    // The pak of the files as the world's main pak.
    void UsePak(const std::map<std::string, std::string>& files);
    // An audio engine of empty sounds and a bank of count of them, loaded, at full volume.
    void UseSoundBank(uint16_t count);
    // Makes the game's objects from a pak of the files (OnPrepareGame), then checks what it made.
    Result Prepare(const std::map<std::string, std::string>& files);

private:
    CParamsText m_game{kGameSettingsText, kGameSettingsLength};
    CTestWorld m_world;
};

class CMemoryEngine;
class CVarnFont;

// The game world drawing through a 1024 x 768 memory renderer with the fixture font as its main
// font, every text size at the fixture scale and a pop-up border of 100; in the charset mode its
// tables and symbols are those of the charset font type.
class CFuzzTextGame : public CFuzzGame {
public:
    explicit CFuzzTextGame(bool charset = false);
    ~CFuzzTextGame();
    // The pak of the files, then the symbols and indivisible characters and the language "en":
    // RES_FAIL when any fails.
    Result Open(const std::map<std::string, std::string>& files);
    CMemoryEngine& Engine();

private:
    CMath3D m_math;
    std::unique_ptr<CVarnFont> m_font;
};

// The pak entry name of a language's string table section ("" main, ".commons" ...).
std::string StringTableName(const std::string& language, const std::string& section, bool charset = false);
// The main and commons tables of "en", keyed by pak entry name.
std::map<std::string, std::string> StringTables(const std::vector<std::u16string>& strings,
                                                const std::vector<std::u16string>& commons = {}, bool charset = false);
// Tables of five names and the pictures the hint and the toolbar load.
std::map<std::string, std::string> WidgetFiles();
// Tables and the intro's layered-menu mesh: kLayeredMenuParts one-triangle parts.
constexpr uint32_t kLayeredMenuParts = 3;
std::map<std::string, std::string> LayeredMenuFiles();
// Shows each of the game table's first count strings in a pop-up, plain and formatted, page after
// page (one page back on the way): every page ends inside its buffer and the last one clears the
// pop-up.
void WalkPopupPages(CFuzzTextGame& game, uint32_t count);

// Runs the preparation on the game's raw files with one of them replaced by the input.
void PrepareGameWith(const std::string& file, const uint8_t* data, size_t size);
