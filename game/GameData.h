#pragma once
#include <cstdint>

#include "engine3d/SceneGameData.h"

class CVadadiDazidevWorld;

constexpr uint32_t kAppNameUnits = 32;

// The game's data record, reached through the engine data block. The scene fields the engine
// reads and writes (element total, view matrices, language) come from its base.
struct CGameData : CSceneGameData {
    CVadadiDazidevWorld* m_pWorld;
    uint8_t m_bForceCharsetFont;  // developer switch, set by start-up
    uint32_t m_nPlatform;         // row of the platform table; 0 = Win32
    char16_t m_szAppName[kAppNameUnits];
};
