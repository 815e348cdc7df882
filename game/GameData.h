#pragma once
#include <cstdint>

#include "core/Vector3.h"

class CVadadiDazidevWorld;

constexpr uint32_t kAppNameUnits = 32;

// The game's data record, reached through the engine data block. Only the fields the engine
// reads or writes are here so far.
struct CGameData {
    CVadadiDazidevWorld* m_pWorld;
    uint8_t m_bForceCharsetFont;  // developer switch, set by start-up
    uint32_t m_nPlatform;         // row of the platform table; 0 = Win32
    uint32_t m_nElementTotal;     // scene parts loaded
    Matrix4 m_matView[2];         // scene to virtual screen; the second for parts drawn in the second pass
    uint32_t m_nLanguage;         // 0 "en" .. 11 "sv"
    char16_t m_szAppName[kAppNameUnits];
};
