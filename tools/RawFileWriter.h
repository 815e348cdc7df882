#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/GameData.h"
#include "game/ProfileProgress.h"
#include "tools/LevelFileWriter.h"

// Models and writers of the game's raw files. A file read with the header check is
// RawFileBytes(build string, body); string files, the symbols file and the sound-name table
// have no header.

constexpr uint32_t kMenuDialogLines = 107;
constexpr uint32_t kMenuLayerPadding = 2;

// u16 version 0x77, u32 length, the build string and its zero.
std::string RawHeaderBytes(const std::string& buildString);
std::string RawFileBytes(const std::string& buildString, const std::string& body);

struct CConstructModel {
    uint32_t constructionNumber = 0;
    std::vector<uint32_t> levelTypes;
    uint32_t tooltipCount = 0;
    uint8_t tutorial = 0;
    float ratio = 1.0f;
};

std::string ConstructBody(const CConstructModel& construct);
std::string TutorialBody(const std::array<uint32_t, kTutorialEntries>& table);

// u8 2, u32 unit count, u8 2, u32 string count, the strings each with its 0 unit, one u16
// offset per string.
std::string StringFileBytes(const std::vector<std::u16string>& strings);
// The remap table as the 257 units of a string file holding one string.
std::string SymbolsFileBytes(const std::array<uint16_t, kCharsetRemapEntries>& remap);

struct CMenuDialogModel {
    std::array<uint32_t, kMenuDialogLines> stringMap{};
    uint16_t clickSound = kNoSound;
    float dialogBorder = 0.0f;
    float buttonBorder = 0.0f;
};

std::string MenuDialogBody(const CMenuDialogModel& dialog);

struct CMenuLayerModel {
    uint32_t part = 0;
    uint8_t hiddenMoving = 0;  // hidden while entering and leaving
    uint8_t hiddenIdle = 0;
    float scale = 1.0f;
    float weightX = 0.0f;
    float weightY = 0.0f;
};

struct CLayeredMenuModel {
    CSceneBlockModel scene;
    std::vector<CMenuLayerModel> layers;
    float baseX = 0.0f;
    float baseY = 0.0f;
    uint32_t thirdValue = 0;
};

std::string LayeredMenuBody(const CLayeredMenuModel& menu);
// The stars' click sound, the hint's sound: one u32 each.
std::string SoundIndexBody(uint32_t sound);

// The hint's profile section of a new game: no charge, count hints.
std::string FreshHintSection(uint16_t count);
// The toolbar's profile section of a new game: no items, none shown, not centred, speed 1.
std::string FreshToolbarSection();

// The blank profile: the profile file's layout from its version on, with the starting state of
// a new game. The counts and totals must be the construction's.
struct CBlankProfileModel {
    uint32_t tooltipCount = 0;
    uint32_t elementTotal = 0;
    uint32_t paramTotal = 0;
    CProgressFields record = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.0f, 0, 0, kNoTimeUnits, kNoTimeCount, kNoTimeCount, {}};
    std::vector<CLevelTime> levelTimes;  // one per level
    std::array<uint32_t, 3> scenes = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};  // current, next, argument
    float abuseTimer = 60.0f;
    uint8_t abuseCounter = 1;
    std::array<float, 3> camera = {-1.0f, 0.0f, 0.0f};  // zoom, x, y
    std::array<uint32_t, 2> popups = {0xFFFFFFFFu, 0xFFFFFFFFu};
    std::string sections;  // the components' sections, as their owners write them
};

std::string BlankProfileBody(const CBlankProfileModel& profile);
