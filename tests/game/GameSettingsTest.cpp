#include <memory>

#include "tests/game/GameWorldFixture.h"
#include "tests/support/WorldTestModules.h"
#include "tools/PakWriter.h"

namespace {

// A world loaded on the test modules over a game text, with a main pak holding the external
// configuration and the more-games file.
class GameSettingsTest : public GameWorldTest {
protected:
    void TearDown() override
    {
        EXPECT_EQ(m_world.Release(), RES_OK);
        ResetTestModules();
        GameWorldTest::TearDown();
    }

    Result LoadWith(const std::string& gameText, const std::string& external, const std::string& moreGames)
    {
        m_text = gameText;
        m_params = std::make_unique<CParamsText>(m_text.c_str(), static_cast<uint32_t>(m_text.size()));
        CPakWriter pak;
        EXPECT_EQ(pak.Add("VadadiDazidev.External.Desktop.ini", external), RES_OK);
        EXPECT_EQ(pak.Add("VadadiDazidev.MoreGames.Win32.ini", moreGames), RES_OK);
        EXPECT_EQ(pak.Write(m_dir.File("main.pak")), RES_OK);
        EXPECT_EQ(m_world.SetParameters(nullptr, m_params.get(), nullptr, m_dir.WideFile("main.pak").c_str(), 0,
                                        FindPackerEntry, nullptr),
                  RES_OK);
        Data().m_pExternalParams = std::make_unique<CPackedParams>(u"VadadiDazidev.External.Desktop.ini",
                                                                   FindPackerEntry, &m_world.GetData()->pak);
        ChooseTestModule(m_world.GetData(), kModule3D, CreateTest3D);
        return m_world.Load(nullptr, 1024, 768, 32, 0, 0, 0, 1, nullptr, 0xFFFF, 0xFFFF);
    }

    std::string m_text;
    std::unique_ptr<CParamsText> m_params;
};

} // namespace

TEST_F(GameSettingsTest, KeysAreClampedAndTruncatedAsRead)
{
    const std::string game =
        "[CAMERA]\nMAX_ZOOM_REF_RATIO = 0.5\nSPEED_FACTOR = -0.2\n[QUIZZ]\nQUIZZ_QUESTION_TEXT_BORDER = 51.9\nQUIZZ_ANSWERS_TEXT_BORDER = -3\n"
        "[STARS]\nADD_SECONDS_PER_STAR_IN_TIMED_MODE = 300\n[ABUSE]\nABUSE_SECONDS_SHOWED = 2.5\n"
        "IS_ABUSING_UNDER_SECONDS = 1.9\nABUSE_OVER_CLICK = 1\n[LOGOS_INTRO]\nLOGO_TEXTURE_002_WIN32 = LOGO_B\n"
        "[MAIN_FONT]\nLOAD_FONT_TYPE = 1\n";
    const std::string external = "[BRIGHTNESS]\nDEFAULT_BRIGHTNESS = 65636\n[TIME_ATTACK]\nSECONDS_PER_HIDDEN_OBJECT = 7\n";
    Data().m_bForceCharsetFont = 1;  // as start-up sets it
    // The test engine makes no font: the load stops there, after the settings were read.
    ASSERT_EQ(LoadWith(game, external, "[MORE_GAMES]\nENABLE_MORE_GAMES = 1\n"), RES_FAIL);
    EXPECT_NE(s_log.find(u"CVarnFont error"), std::u16string::npos);
    const CGameData& g = Data();
    EXPECT_EQ(g.m_fMaxZoomRefRatio, 1.0f);
    EXPECT_EQ(m_world.m_fSpeedFactor, 0.0f);
    EXPECT_EQ(g.m_nQuizQuestionBorder * 1000 + g.m_nQuizAnswersBorder, 51000);
    EXPECT_EQ(g.m_nAddSecondsPerStar, 44u);  // low 8 bits
    EXPECT_EQ(g.m_fAbuseSecondsShowed, 2.0f);
    EXPECT_EQ(g.m_fIsAbusingUnderSeconds, 1.0f);
    EXPECT_EQ(m_world.m_fAbuseTimer, 30.0f);
    EXPECT_EQ(g.m_nAbuseOverClick, 2);
    EXPECT_EQ(g.m_nBrightness, 255);  // read as 32 bits, capped
    EXPECT_EQ(g.m_nSecondsPerObject[1] * 100 + g.m_nSecondsPerObject[0], 710u);
    EXPECT_EQ(std::u16string(g.m_szLogoKey[1]), u"LOGO_B");
    EXPECT_EQ(g.m_TextStyles.m_nPopupBorder, 100);
    EXPECT_EQ(g.m_nLoadFontType, 2u) << "the charset switch holds over the configured type";
    EXPECT_EQ(g.m_bEnableMoreGames, 1);
}
