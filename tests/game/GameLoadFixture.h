#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/WorldFactory.h"
#include "core/BuiltinSettings.h"
#include "core/Log.h"
#include "core/ParamsReader.h"
#include "engine3d/Container.h"
#include "game/KvoMusicManager.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MoreGamesPage.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldTestModules.h"
#include "tools/vddata/DataBuilder.h"

// The navigation layer's close button.
constexpr uint32_t kMenuCloseButton = kNavClose;

// The sample data of the build (its source tree with the generated pictures, sounds and fonts),
// packed once into a folder of its own; "" outside ctest or when it does not build.
inline const std::string& SampleDataFolder()
{
    static TempDir dir;
    static std::string folder;
    const char* binary = getenv("VD_BINARY_DIR");
    std::string error;
    if (folder.empty() && binary &&
        Succeeded(BuildGameData(std::string(binary) + "/sample_source", dir.File("data"), "", &error)))
        folder = dir.File("data") + "/";
    return folder;
}

// A sound of the test engine: loads when its file exists, plays until stopped.
class CTestSound : public CAudio {
public:
    using CAudio::CAudio;
    Result LoadAudioFromFile(const char16_t* path, uint8_t) override
    {
        std::u16string wide(path);
        m_bLoaded = std::filesystem::exists(std::string(wide.begin(), wide.end()));
        m_nLoads += m_bLoaded;
        return m_bLoaded ? RES_OK : RES_FAIL;
    }
    Result Release() override
    {
        m_bLoaded = false;
        ++m_nReleases;
        return RES_OK;
    }
    Result Play() override { return (m_bPlaying = m_bLoaded) ? RES_OK : RES_FAIL; }
    Result Stop() override
    {
        m_bPlaying = false;
        return RES_OK;
    }
    uint8_t IsPlaying() override { return m_bPlaying; }
    Result SetVolume(float volume) override
    {
        m_fVolume = volume;
        return RES_OK;
    }

    bool m_bLoaded = false;
    bool m_bPlaying = false;
    float m_fVolume = -1.0f;
    int m_nLoads = 0;
    int m_nReleases = 0;
};

class CTestSoundEngine : public CAudioEngine {
public:
    explicit CTestSoundEngine(CWorldData* data) : CAudioEngine(data) {}
    Result Load(void*) override { return RES_OK; }
    CAudio* CreateAudio(uint32_t flags, uint32_t param) override
    {
        return ListNewAudio(new (std::nothrow) CTestSound(m_pData), flags, param);
    }
};

class CLoadWorld : public CVadadiDazidevWorld {
public:
    using CVadadiDazidevWorld::m_nCurrentScene;
    using CVadadiDazidevWorld::m_nNextScene;
    using CVadadiDazidevWorld::m_nPreviousState;
    using CVadadiDazidevWorld::m_nSceneArgument;
    using CVadadiDazidevWorld::m_nSceneCount;
    using CVadadiDazidevWorld::m_nState;
    using CVadadiDazidevWorld::m_pAudioEngine;
    using CVadadiDazidevWorld::m_pHint;
    using CVadadiDazidevWorld::m_pMenuDialog;
    using CVadadiDazidevWorld::m_pMenuCurrent;
    using CVadadiDazidevWorld::m_pMoreGames;
    using CVadadiDazidevWorld::RenderTimerBadge;
    using CVadadiDazidevWorld::m_pPopupIngame;
    using CVadadiDazidevWorld::m_pMusicManager;
    using CVadadiDazidevWorld::m_pScenes;
    using CVadadiDazidevWorld::m_pScreenshot;
    using CVadadiDazidevWorld::m_pToolbar;
};

// The game world over the sample data on the memory renderer, its factories filled as the
// program fills them, with an optional test audio engine; the log lines are collected.
class GameLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (SampleDataFolder().empty())
            GTEST_SKIP() << "run through ctest";
        s_log.clear();
        SetLogDebugHook([](const char16_t* text) { s_log += text; });
        ResetTestModules();
        Prepare(m_world, m_game);
    }
    // A world over the sample data and the game settings, ready to load.
    static void Prepare(CLoadWorld& world, CParamsText& game)
    {
        static const std::u16string pak = Wide(SampleDataFolder() + "VadadiDazidev_full_Win32.pak");
        ASSERT_EQ(world.SetParameters(nullptr, &game, nullptr, pak.c_str(), 0, FindPackerEntry, nullptr), RES_OK);
        ASSERT_EQ(world.GetDataFolder(), RES_OK);
        WStrCopy(world.GetData()->dataFolder, kMaxPathUnits, Wide(SampleDataFolder()).c_str());
        world.GetGameData()->m_bForceCharsetFont = 1;
        FillWorldFactories(&world);
        ChooseTestModule(world.GetData(), kModule3D, [](CWorldData* d) -> CBaseObject* { return new CMemoryEngine(d); });
    }
    void TearDown() override
    {
        EXPECT_EQ(m_world.Release(), RES_OK);
        SetLogDebugHook(nullptr);
        ResetTestModules();
    }

    static std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }
    CWorldData* Data() { return m_world.GetData(); }
    Result Load() { return Load(m_world); }
    static Result Load(CLoadWorld& world)
    {
        return world.Load(MemoryRenderer::Window(), 1024, 768, 32, 0, 0, 0, 1, nullptr, 0, 0);
    }
    // The number of lines of the log that hold text.
    static size_t Count(const std::u16string& text)
    {
        size_t count = 0;
        for (size_t at = s_log.find(text); at != std::u16string::npos; at = s_log.find(text, at + 1))
            ++count;
        return count;
    }
    // One frame as the program runs it: update, then the draw pass.
    void Frame()
    {
        EXPECT_EQ(m_world.Update(), RES_OK);
        EXPECT_EQ(m_world.Render(), RES_OK);
    }
    // A frame with the left button pressed and released at the node's place (none: the origin).
    void ClickFrame(C3DContainer* node)
    {
        Vector3 at{};
        if (node)
            node->GetPosition(&at);
        Data()->pressX = Data()->pointerX = at.x;
        Data()->pressY = Data()->pointerY = at.y;
        Data()->mouseReleased[0] = 1;
        Frame();
        Data()->mouseReleased[0] = 0;
    }

    CGameData& Game() { return *m_world.GetGameData(); }
    CMenuDialog& Dialog() { return *m_world.m_pMenuDialog; }
    uint32_t Page() { return Dialog().GetPage(); }
    // Frames with the left button released over each line or navigation button in turn (close is
    // always the navigation button); the page after each.
    std::vector<uint32_t> Walk(std::initializer_list<uint32_t> ids)
    {
        std::vector<uint32_t> pages;
        for (uint32_t id : ids) {
            C3DContainer* node = id == kMenuCloseButton ? nullptr : Dialog().GetPageContainer()->FindById(id);
            node = node ? node : Dialog().GetNavLayer()->FindById(id);
            EXPECT_NE(node, nullptr) << "page " << Page() << " id " << id;
            ClickFrame(node);
            pages.push_back(Page());
        }
        return pages;
    }

    TempDir m_dir;
    ScopedEnv m_appData{"APPDATA", m_dir.File("appdata").c_str()};
    CParamsText m_game{kGameSettingsText, kGameSettingsLength};
    CLoadWorld m_world;
    static inline std::u16string s_log;
};

// The sample loaded, the memory renderer decoding the pictures it loads.
class DecodedSampleTest : public GameLoadTest {
protected:
    void SetUp() override
    {
        GameLoadTest::SetUp();
        if (IsSkipped())
            return;
        ChooseTestModule(Data(), kModule3D, [](CWorldData* d) -> CBaseObject* {
            auto* engine = new CMemoryEngine(d);
            engine->SetDecodeImages(true);
            return engine;
        });
        ASSERT_EQ(Load(), RES_OK) << std::string(s_log.begin(), s_log.end());
    }
};
