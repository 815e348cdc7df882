#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "modules/Audio.h"
#include "modules/AudioEngine.h"
#include "core/BuiltinSettings.h"
#include "core/Log.h"
#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "game/VadadiDazidevWorld.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tools/ByteWriter.h"

// A text as a saved field of units (complemented: each unit before the terminator inverted).
inline std::string SavedUnits(const std::u16string& text, size_t units, bool complemented)
{
    std::string bytes;
    for (size_t i = 0; i < units; ++i) {
        char16_t unit = i < text.size() ? text[i] : 0;
        unit = complemented && unit ? static_cast<char16_t>(~unit) : unit;
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}

// The game world with the state its profile files carry in reach of the tests.
class CTestWorld : public CVadadiDazidevWorld {
public:
    using CVadadiDazidevWorld::m_fAbuseTimer;
    using CVadadiDazidevWorld::m_nNextScene;
    using CVadadiDazidevWorld::m_pAudioEngine;
    using CVadadiDazidevWorld::m_pNetworkEngine;
    using CVadadiDazidevWorld::m_pMoreGames;
    using CVadadiDazidevWorld::m_pLabels;
    using CVadadiDazidevWorld::m_pScenes;
    using CVadadiDazidevWorld::m_pTimer;
    using CVadadiDazidevWorld::m_pHint;
    using CVadadiDazidevWorld::m_pStars;
    using CVadadiDazidevWorld::m_pTooltips;
    using CVadadiDazidevWorld::m_fSpeedFactor;
    using CVadadiDazidevWorld::m_fZoom;
    using CVadadiDazidevWorld::m_nCurrentScene;
    using CVadadiDazidevWorld::m_nMisses;
    using CVadadiDazidevWorld::m_nSceneArgument;
    using CVadadiDazidevWorld::m_nSceneCount;
    using CVadadiDazidevWorld::m_nTooltipCount;
    using CVadadiDazidevWorld::m_vCamera;
    using CVadadiDazidevWorld::m_vCameraTarget;
    using CVadadiDazidevWorld::m_p3DEngine;
    using CVadadiDazidevWorld::m_pMainFont;
    using CVadadiDazidevWorld::m_pCreditsText;
    using CVadadiDazidevWorld::m_fCreditsHeight;
    using CVadadiDazidevWorld::m_fCreditsOffset;
    using CVadadiDazidevWorld::m_bCreditsEntering;
    using CVadadiDazidevWorld::m_Legals;
    using CVadadiDazidevWorld::m_pMusicManager;
    using CVadadiDazidevWorld::m_pToolbar;
    using CVadadiDazidevWorld::m_pMenuDialog;
    using CVadadiDazidevWorld::m_pMenuCurrent;
    // Input reactions.
    using CVadadiDazidevWorld::m_bIgnoreMouse, CVadadiDazidevWorld::m_bZoomToggle, CVadadiDazidevWorld::m_fPenaltyTime,
        CVadadiDazidevWorld::m_fWheelStep, CVadadiDazidevWorld::m_nPendingState, CVadadiDazidevWorld::m_nState;
};

// An audio engine whose sounds are empty base sounds.
class CEmptySoundEngine : public CAudioEngine {
public:
    explicit CEmptySoundEngine(CWorldData* data) : CAudioEngine(data) {}
    CAudio* CreateAudio(uint32_t flags, uint32_t param) override
    {
        return ListNewAudio(new (std::nothrow) CAudio(m_pData), flags, param);
    }
};

// Collects what is written to it; with a limit, the write that crosses it passes its first
// bytes on and fails, as does every later one.
class CStringStream : public CStream {
public:
    explicit CStringStream(CStream* inner = nullptr, size_t limit = SIZE_MAX)
        : CStream(kStreamWrite), m_inner(inner), m_left(limit)
    {
    }
    Result Open() override { return RES_OK; }
    Result Close() override { return RES_OK; }
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override
    {
        size_t bytes = size_t(elementSize) * count;
        size_t passed = std::min(bytes, m_left);
        m_left -= passed;
        m_bytes.append(static_cast<const char*>(buffer), passed);
        return (!m_inner || m_inner->Write(buffer, 1, static_cast<uint32_t>(passed))) && passed == bytes;
    }

    CStream* m_inner;
    size_t m_left;
    std::string m_bytes;
};

// A fresh application-data folder and a world over the built-in game settings, with the
// game's log lines collected.
class GameWorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_log.clear();
        SetLogDebugHook([](const char16_t* text) { s_log += text; });
        m_world.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr);
        m_world.GetDataFolder();
    }
    void TearDown() override { SetLogDebugHook(nullptr); }

    CGameData& Data() { return *m_world.GetGameData(); }
    std::string SaveFile(const std::string& name) const { return m_dir.File(kSaveFolder + "VadadiDazidev.v1." + name); }
    size_t SaveFolderFileCount() const
    {
        auto entries = std::filesystem::directory_iterator(m_dir.File(kSaveFolder));
        return static_cast<size_t>(std::distance(begin(entries), end(entries)));
    }

    const std::string kSaveFolder = "appdata/Kvo Adventure/VadadiDazidev/";
    TempDir m_dir;
    ScopedEnv m_appData{"APPDATA", m_dir.File("appdata").c_str()};
    CParamsText m_game{kGameSettingsText, kGameSettingsLength};
    CTestWorld m_world;
    static inline std::u16string s_log;
};
