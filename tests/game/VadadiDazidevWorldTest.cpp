#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "game/SystemLanguage.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "game/VadadiDazidevWorld.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldTestModules.h"

namespace {

std::vector<uint32_t> g_events;

Result RecordEvent(uint32_t event, WindowHandle)
{
    g_events.push_back(event);
    return RES_OK;
}

class VadadiDazidevWorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_events.clear();
        const char* appData = getenv("APPDATA");
        m_savedAppData = appData ? appData : "";
        m_hadAppData = appData != nullptr;
        setenv("APPDATA", m_dir.File("appdata").c_str(), 1);
        ASSERT_EQ(m_world.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
    }
    void TearDown() override
    {
        if (m_hadAppData)
            setenv("APPDATA", m_savedAppData.c_str(), 1);
        else
            unsetenv("APPDATA");
    }

    void WriteOptions(const std::string& bytes)
    {
        m_dir.Write("appdata/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.options.sav", bytes);
    }

    Result Send(UINT message, LPARAM lParam)
    {
        CWorldMessage record{nullptr, message, 0, lParam, {0, 0, 0}};
        return m_world.OnMessage(&record);
    }

    TempDir m_dir;
    std::string m_savedAppData;
    bool m_hadAppData = false;
    CParamsText m_game{kGameSettingsText, kGameSettingsLength};
    CVadadiDazidevWorld m_world;
};

} // namespace

TEST_F(VadadiDazidevWorldTest, TheGameDataIsReachedThroughTheDataBlock)
{
    CWorldData* data = m_world.GetData();
    ASSERT_EQ(data->gameData, m_world.GetGameData());
    EXPECT_EQ(GetSceneGameData(data), m_world.GetGameData());
    EXPECT_EQ(m_world.GetGameData()->m_pLevelHost, static_cast<CLevelHost*>(&m_world));
    EXPECT_EQ(m_world.GetGameData()->m_nPlatform, 0u);
    EXPECT_EQ(m_world.GetGameData()->m_nElementTotal, 0u);
    EXPECT_EQ(m_world.GetMainWindowInfo(), nullptr);
}

TEST_F(VadadiDazidevWorldTest, TheConstructorSetsTheStartingValues)
{
    const CGameData& g = *m_world.GetGameData();
    EXPECT_EQ(g.m_nBrightness, kBrightnessUnset);
    EXPECT_EQ(g.m_fMusicVolume + g.m_fSoundVolume + g.m_fMaxZoomRefRatio, 3.0f);
    EXPECT_EQ(g.m_nTutorialStep + g.m_bTutorial, 34u);
    EXPECT_EQ(g.m_nLanguage, LanguageFromLangId(GetSystemDefaultLangID()));
    EXPECT_EQ(LanguageFromLangId(20490) * 100 + LanguageFromLangId(0x0409), 200u);  // Spanish; English
}

TEST_F(VadadiDazidevWorldTest, MousePositionsAreScaledIntoTheVirtualScreen)
{
    CWorldData* data = m_world.GetData();
    data->scaleX = 0.5f;
    data->scaleY = 2.0f;
    EXPECT_EQ(Send(WM_MOUSEMOVE, MAKELPARAM(100, 300)), RES_OK);
    EXPECT_EQ(data->pointerX, 200.0f);
    EXPECT_EQ(data->pointerY, 150.0f);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, MAKELPARAM(10, 11)), RES_OK);
    EXPECT_EQ(data->pressX, 20.0f);
    EXPECT_EQ(data->pressY, 5.0f);
    EXPECT_EQ(Send(WM_LBUTTONUP, 0), RES_OK);
    data->scaleX = 0.0f;
    EXPECT_EQ(Send(WM_MOUSEMOVE, MAKELPARAM(7, 8)), RES_OK);
    EXPECT_EQ(data->pointerX, 7.0f);
}

TEST_F(VadadiDazidevWorldTest, TheCloseMessagesGoOnAndDestroyingTheWindowEndsTheRun)
{
    EXPECT_EQ(Send(WM_SYSKEYDOWN, 0x203E0001), RES_OK);
    EXPECT_EQ(Send(WM_SYSCOMMAND, 0), RES_OK);
    EXPECT_EQ(Send(WM_CLOSE, 0), RES_OK);
    MSG quit;
    m_world.GetData()->recreating = 1;
    EXPECT_EQ(Send(WM_DESTROY, 0), RES_OK);
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    m_world.GetData()->recreating = 0;
    EXPECT_EQ(Send(WM_DESTROY, 0), RES_OK);
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(VadadiDazidevWorldTest, TheTitleIsTheFallbackUntilAStringTableIsLoaded)
{
    char16_t title[8];
    EXPECT_EQ(m_world.GetTitle(u"Kvo Adventure", u"VadadiDazidev", title, 8), RES_OK);
    EXPECT_EQ(std::u16string(title), u"VadadiD");
    EXPECT_EQ(m_world.GetTitle(u"Kvo Adventure", nullptr, title, 8), RES_OK);
    EXPECT_EQ(std::u16string(title), u"");
}

TEST_F(VadadiDazidevWorldTest, LoadRaisesTheLoadingEventsOnlyAfterTheEngineLoaded)
{
    m_world.SetHostEventCallback(RecordEvent);
    EXPECT_EQ(m_world.Load(nullptr, 1024, 768, 32, 0, 0, 0, 1, nullptr, 0xFFFF, 0xFFFF), RES_NO_WINDOW);
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(std::u16string(m_world.GetData()->errorDetail), u"The main module is not correctly registered");
    EXPECT_EQ(m_world.RaiseHostEvent(kHostEventLanguage), RES_OK);
    EXPECT_EQ(g_events, std::vector<uint32_t>{kHostEventLanguage});
    m_world.SetHostEventCallback(nullptr);
    EXPECT_EQ(m_world.RaiseHostEvent(kHostEventLanguage), RES_FAIL);
}

TEST_F(VadadiDazidevWorldTest, ALoadedWorldRaisesEvents14And15)
{
    ResetTestModules();
    m_world.SetHostEventCallback(RecordEvent);
    ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
    // Without game data the game's steps fail; the events still bracket them.
    EXPECT_EQ(m_world.Load(nullptr, 1024, 768, 32, 0, 0, 0, 1, nullptr, 0xFFFF, 0xFFFF), RES_FAIL);
    EXPECT_EQ(g_events, (std::vector<uint32_t>{kHostEventLoadBegin, kHostEventLoadEnd}));
    EXPECT_TRUE(WasCalled("3D Load"));
    EXPECT_EQ(m_world.Release(), RES_OK);
    EXPECT_TRUE(WasCalled("release 3D"));
    ResetTestModules();
}
