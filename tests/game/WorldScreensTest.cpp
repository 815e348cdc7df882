#include "engine3d/Object.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"
#include "tests/game/ScreensFixture.h"
#include "tests/support/SceneFixture.h"

namespace {

class CCountedSound : public CAudio {
public:
    CCountedSound() : CAudio(nullptr) {}
    Result Play() override { return ++plays, RES_OK; }
    int plays = 0;
};

// The stars, background, fader and menu files of a world without logos.
class WorldScreensTest : public ScreensTest {
protected:
    void SetUp() override
    {
        ScreensTest::SetUp();
        for (const char* name : {"stars.png", "dlg_background.png", "loading_lower_right.png", "loading_centered.png",
                                 "studio.png", "screenshot.png"})
            m_files[name] = "picture";
        m_settings += "[LOGOS_INTRO]\nLOGO_TEXTURE_STUDIO = studio.png\n";
        Raw("_menu_stars.raw", SoundIndexBody(0x10002));
        Raw("_menu_0.raw", LayeredMenuBody({}));
        Raw("_menu_1.raw", LayeredMenuBody({}));
    }
};

TEST_F(WorldScreensTest, TheStarsAreASquareOfTheLowerLeftQuarterAndPlayTheirSoundWhenTheyCan)
{
    EXPECT_EQ(m_files["_raw.full.Win32/_menu_stars.raw"].size(), 17u) << "header of \"Sample\" and one u32";
    Open();
    ASSERT_EQ(m_world.MakeStars(), RES_OK);
    CStars& stars = *m_world.m_pStars;
    EXPECT_FLOAT_EQ(stars.GetHalfWidth(), 16.0f);
    EXPECT_FLOAT_EQ(stars.GetHalfDiagonal(), 22.627417f);
    EXPECT_EQ(Corners(stars.GetSprite()),
              (std::vector<float>{-16, 16, 0, 0.5f, 16, 16, 0.5f, 0.5f, -16, -16, 0, 1, 16, -16, 0.5f, 1}));
    CCountedSound sounds[3];
    stars.PlayClickSound();  // no audio engine yet
    m_world.m_pAudioEngine.reset(new CAudioEngine(Data()));
    Game().m_pSounds.reset(new CSoundBankEntry[3]{{&sounds[0], 0}, {&sounds[1], 0}, {&sounds[2], 0}});
    Game().m_nSoundCount = 3;
    stars.PlayClickSound();
    EXPECT_EQ(sounds[2].plays, 1) << "index 2: the low 16 bits of 0x10002";
    Game().m_fSoundVolume = 0.0f;
    stars.PlayClickSound();
    Game().m_fSoundVolume = 1.0f;
    for (uint32_t sound : {0xFFFFu, 3u}) {
        CSceneTestStream stream(SoundIndexBody(sound));
        ASSERT_EQ(stars.ReadConstruction(&stream), RES_OK);
        stars.PlayClickSound();
    }
    CSceneTestStream cut(std::string(3, '\0'));
    EXPECT_EQ(stars.ReadConstruction(&cut), RES_FAIL);
    EXPECT_EQ(sounds[0].plays + sounds[1].plays + sounds[2].plays, 1);
    Game().m_pSounds.reset();
}

TEST_F(WorldScreensTest, TheWorldMakesEveryScreenAndReleasesThemAll)
{
    WStrCopy(Game().m_szLogoKey[1], kAppNameUnits, u"STUDIO");
    m_settings += "[TEXTURES]\nSCREENSHOT_1024x768_TEXTURE = screenshot.png\n";
    Open(kModuleId3DDX81);
    ASSERT_EQ(m_world.MakeStars(), RES_OK);
    ASSERT_EQ(m_world.MakeBackground(), RES_OK);
    EXPECT_EQ(m_world.m_nState, 2u) << "logo 2 shows first";
    ASSERT_EQ(m_world.MakeScreenshot(), RES_OK);
    ASSERT_EQ(m_world.MakeLayeredMenus(), RES_OK);
    EXPECT_EQ(s_log, u"");
    m_world.ReleaseScreens();
    EXPECT_EQ(EngineObjects(), 0u);
}

TEST_F(WorldScreensTest, WithoutLogosTheStartStateStaysAndEachFailureLogsItsLine)
{
    m_files.erase("_raw.full.Win32/_menu_stars.raw");
    m_files.erase("screenshot.png");
    Raw("_menu_1.raw", "cut");
    Open();
    ASSERT_EQ(m_world.MakeBackground(), RES_OK);
    EXPECT_EQ(m_world.m_nState, kInitialState);
    EXPECT_EQ(m_world.MakeStars(), RES_FAIL);
    EXPECT_EQ(m_world.MakeScreenshot(), RES_FAIL);
    EXPECT_EQ(m_world.MakeLayeredMenus(), RES_FAIL);
    for (const char16_t* line : {u"\"_raw.full.Win32/_menu_stars.raw\" is missing !!!\n", u"CKvoScreenshot error\n",
                                 u"m_pMenuConclu error\n"})
        EXPECT_NE(s_log.find(std::u16string(u"# CVadadiDazidevWorld::Load failed! ") + line), std::u16string::npos)
            << Utf16ToUtf8(line);
    m_world.ReleaseScreens();
}

} // namespace
