#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/Log.h"
#include "core/ParamsReader.h"
#include "core/Stream.h"
#include "engine3d/Font.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/KvoMusicManager.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MoreGamesPage.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"
#include "tests/support/FontFixtures.h"
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
    using CVadadiDazidevWorld::m_Scroll;
    using CVadadiDazidevWorld::m_pMusicManager;
    using CVadadiDazidevWorld::m_pToolbar;
    using CVadadiDazidevWorld::m_pMenuDialog;
    using CVadadiDazidevWorld::m_pPopupTuto;
    using CVadadiDazidevWorld::m_nLevelBusy, CVadadiDazidevWorld::m_nTooltipBusy;
    using CVadadiDazidevWorld::m_pMenuCurrent;
    // Input reactions.
    using CVadadiDazidevWorld::m_bIgnoreMouse, CVadadiDazidevWorld::m_bZoomToggle, CVadadiDazidevWorld::m_fPenaltyTime,
        CVadadiDazidevWorld::m_fWheelStep, CVadadiDazidevWorld::m_nPendingState, CVadadiDazidevWorld::m_nState;
};

// The game table of the texts, a charset remap that keeps every unit, and the sample's page and
// line-break marks ('#', '|').
inline void SetGameStrings(CGameData& game, const std::vector<std::u16string>& texts)
{
    std::u16string units;
    game.m_GameStrings.m_pOffsets.reset(new uint32_t[texts.size()]);
    for (size_t n = 0; n < texts.size(); ++n) {
        game.m_GameStrings.m_pOffsets[n] = static_cast<uint32_t>(units.size());
        units += texts[n];
        units += u'\0';
    }
    game.m_GameStrings.m_pUnits.reset(new char16_t[units.size()]);
    std::copy(units.begin(), units.end(), game.m_GameStrings.m_pUnits.get());
    game.m_GameStrings.m_nCount = static_cast<uint32_t>(texts.size());
    for (uint32_t unit = 0; unit < kCharsetRemapEntries; ++unit)
        game.m_CharsetRemap[unit] = static_cast<uint16_t>(unit);
    game.m_nPageSeparator = u'#';
    game.m_nLineBreakMark = u'|';
}

// The tutorial entry k names game text kTutorialTextBase + k, which reads "T<index> %d %d".
constexpr uint32_t kTutorialTextBase = 100;

// The tutorial pop-up of the world over that table (texts given in place of some), laid out and
// drawn by the returned main font, which notes what it draws.
inline std::unique_ptr<CNotingFont> UseTutorialPopup(CTestWorld& world, C3DEngine* engine,
                                                     const std::map<uint32_t, std::u16string>& given = {})
{
    CGameData& game = *world.GetGameData();
    auto font = std::make_unique<CNotingFont>(world.GetData(), engine);
    world.m_pMainFont = game.m_pMainFont = font.get();
    std::vector<std::u16string> texts;
    for (uint32_t n = 0; n < kTutorialTextBase + kTutorialEntries; ++n)
        texts.push_back(given.count(n) ? given.at(n) : u"T" + Utf8ToUtf16(std::to_string(n)) + u" %d %d");
    SetGameStrings(game, texts);
    for (uint32_t k = 0; k < kTutorialEntries; ++k)
        game.m_TutorialTable[k] = kTutorialTextBase + k;
    world.m_pPopupTuto = std::make_unique<CPopupText>(world.GetData());
    EXPECT_EQ(world.m_pPopupTuto->Load(16.0f, 16.0f), RES_OK);
    return font;
}

// The level's tutorial paged through as the world's next button does (the step one up, then
// UpdateModal) until it ends: "<step> <page>" for each page shown.
inline std::vector<std::u16string> TutorialPages(CTestWorld& world, CGameLevel& level)
{
    std::vector<std::u16string> pages;
    uint32_t& step = world.GetGameData()->m_nTutorialStep;
    for (int page = 0; page < 64; ++page) {
        ++step;
        if (Failed(level.UpdateModal()))
            break;
        pages.push_back(Utf8ToUtf16(std::to_string(step)) + u" " + world.GetTutorialPopup()->GetPage());
    }
    return pages;
}

// A loaded hint button holding count hints, its charge empty. Where the data holds no hint
// pictures (the level tests' data) the load fails after the counts are read, which is all a
// level needs of it.
inline std::unique_ptr<CHint> HintHolding(CWorldData* data, uint16_t count)
{
    auto hint = std::make_unique<CHint>(data);
    IgnoreResult(hint->Load());
    std::string bytes(4, '\0');
    bytes += {static_cast<char>(count & 0xFF), static_cast<char>(count >> 8)};
    CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(stream.Open(), RES_OK);
    EXPECT_EQ(hint->LoadFromProfile(stream, 1), RES_OK);
    return hint;
}

// A bank sound that counts its plays.
class CCountedSound : public CAudio {
public:
    using CAudio::CAudio;
    Result Play() override { return ++m_nPlays, RES_OK; }
    int m_nPlays = 0;
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

// The world's sound bank of counted sounds, loaded, with an audio engine at full volume; the
// bank is taken back from the world before its sounds go.
class CCountedBank {
public:
    CCountedBank(CTestWorld& world, uint16_t count) : m_game(*world.GetGameData())
    {
        world.m_pAudioEngine.reset(new CEmptySoundEngine(world.GetData()));
        m_game.m_pSounds.reset(new CSoundBankEntry[count]);
        for (uint16_t n = 0; n < count; ++n) {
            m_sounds.push_back(std::make_unique<CCountedSound>(world.GetData()));
            m_game.m_pSounds[n] = {m_sounds.back().get(), 1};
        }
        m_game.m_nSoundCount = count;
        m_game.m_fSoundVolume = 1.0f;
    }
    ~CCountedBank() { m_game.m_pSounds.reset(), m_game.m_nSoundCount = 0; }
    int Plays(uint16_t n) const { return m_sounds[n]->m_nPlays; }
    CCountedSound* operator[](uint16_t n) const { return m_sounds[n].get(); }

private:
    CGameData& m_game;
    std::vector<std::unique_ptr<CCountedSound>> m_sounds;
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
        ASSERT_EQ(m_world.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
        ASSERT_EQ(m_world.GetDataFolder(), RES_OK);
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
