#include "game/screens/KvoBackground.h"

#include "core/Random.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/game/ScreensFixture.h"
#include "tests/support/ImageFixtures.h"

namespace {

// Pictures for the defaults, the logo STUDIO and a scene; the MAKER logo's picture is missing.
class KvoBackgroundTest : public ScreensTest {
protected:
    void SetUp() override
    {
        ScreensTest::SetUp();
        PngFixture png;
        png.width = png.height = 1;
        png.colorType = 2;
        png.rows = {1, 2, 3};
        for (const char* name : {"dlg_background.png", "loading_lower_right.png", "loading_centered.png", "studio.png",
                                 "scene_a.png"})
            m_files[name] = EncodePng(png);
        m_settings += "[LOGOS_INTRO]\nLOGO_TEXTURE_STUDIO = studio.png\nLOGO_TEXTURE_MAKER = maker.png\n"
                      "[LOADING]\nLOADING_SMALL_POS_X = 10\nLOADING_SMALL_SIZE_WIDTH = 4\nLOADING_BIG_POS_Y = 5\n";
    }
    void TearDown() override
    {
        EXPECT_EQ(background->Release(), RES_OK);
        EXPECT_EQ(EngineObjects(), 0u);
        ScreensTest::TearDown();
    }

    Result Load(std::initializer_list<const char16_t*> logos = {})
    {
        if (!Engine())
            Open();
        uint32_t i = 0;
        for (const char16_t* name : logos)
            WStrCopy(Game().m_szLogoKey[i++], kAppNameUnits, name);
        background = std::make_unique<CKvoBackground>(Data(), Engine());
        return background->Load();
    }
    const C3DTexture* LogoShown()
    {
        Engine()->ClearDraws();
        EXPECT_EQ(background->DrawLogo(), RES_OK);
        return Draws().at(0).textures[0];
    }

    std::unique_ptr<CKvoBackground> background;
};

TEST_F(KvoBackgroundTest, WithoutLogosOrSplashTheStepStaysTwoAndTheTimerRunsThreeSeconds)
{
    ASSERT_EQ(Load(), RES_OK);
    EXPECT_EQ(background->GetLogoStep(), 2u);
    EXPECT_EQ(background->ShowLogo1(), RES_FAIL);
    for (int frame = 1; frame <= 90; ++frame)
        ASSERT_FALSE(background->IsLogoTimeOverReset()) << frame;
    EXPECT_TRUE(background->IsLogoTimeOverReset()) << "the 91st frame";
    EXPECT_FALSE(background->IsLogoTimeOver()) << "started again";
    background->ResetLogoTimer();
    EXPECT_TRUE(background->IsLogoTimeOver());
}

TEST_F(KvoBackgroundTest, LogosNeedTheirPicturesAndAStepAlreadyShownIsRefused)
{
    EXPECT_EQ(Load({u"STUDIO", u"", u"MAKER"}), RES_FAIL) << "the picture of MAKER is missing";
    EXPECT_EQ(background->Release(), RES_OK);
    ASSERT_EQ(Load({u"", u"STUDIO", u"STUDIO"}), RES_OK);
    EXPECT_EQ(background->GetLogoStep(), 1u);
    EXPECT_EQ(WString(LogoShown()->GetName()), u"studio.png");
    EXPECT_EQ(background->ShowLogo2(), RES_FAIL) << "already shown";
    EXPECT_EQ(background->ShowLogo3(), RES_OK);
    EXPECT_EQ(background->ShowLogo3(), RES_FAIL);
    EXPECT_EQ(background->ShowLogo4(), RES_FAIL) << "no name";
    background->ReleaseLogo();
    EXPECT_EQ(LogoShown(), nullptr);
}

TEST_F(KvoBackgroundTest, ASplashPictureOfTheScreenSizeIsLogoOneThroughTheJpegDecoder)
{
    m_dir.Write("splashscreen_1_1024x768.jpg", EncodeJpeg(8, 4, 3, std::vector<uint8_t>(8 * 4 * 3, 200), false));
    m_dir.Write("splashscreen_2_800x600.jpg", "another size");
    Open();
    Engine()->SetDecodeImages(true);
    ASSERT_EQ(Load(), RES_OK);
    EXPECT_TRUE(background->HasSplashPicture(0) && !background->HasSplashPicture(1));
    EXPECT_EQ(background->GetLogoStep(), 0u);
    EXPECT_EQ(LogoShown()->GetWidth(), 8u);
}

TEST_F(KvoBackgroundTest, TheScenePictureFlashAndMirroredIcon)
{
    ASSERT_EQ(Load(), RES_OK);
    EXPECT_EQ(background->DrawLoading(false, false, false, true), RES_OK);
    EXPECT_TRUE(Draws().empty()) << "no scene picture yet";
    ASSERT_EQ(background->SetScenePicture(u"scene_a.png"), RES_OK);
    const uint32_t loads = Engine()->Failures().Calls(MemoryOp::LoadTexture);
    EXPECT_EQ(background->SetScenePicture(u"SCENE_A.png"), RES_OK);
    EXPECT_EQ(Engine()->Failures().Calls(MemoryOp::LoadTexture), loads) << "the name loaded";
    EXPECT_EQ(background->DrawLoading(false, false, false, true), RES_OK);
    EXPECT_EQ(background->DrawAbuseFlash(), RES_OK);
    EXPECT_EQ(Draws().at(0).part, 2u);
    EXPECT_EQ(Draws().at(1).colour, 0xFFFF0000u);

    uint32_t seed = 1;  // one whose first draw mirrors and whose second does not
    while (RandomSeed(Data()->random, ++seed), !(RandomNext(Data()->random) >> 31) || RandomNext(Data()->random) >> 31)
        ;
    RandomSeed(Data()->random, seed);
    background->RandomizeLoadingIcons();
    EXPECT_EQ(background->DrawLoading(true, false, false, false), RES_OK);
    EXPECT_EQ(Corners(const_cast<C3DObject*>(Draws().back().object)),
              (std::vector<float>{8, 0.5f, 1, 0, 12, 0.5f, 0, 0, 8, 1.5f, 1, 1, 12, 1.5f, 0, 1,  // mirrored
                                  0.5f, 4.5f, 0, 0, 1.5f, 4.5f, 1, 0, 0.5f, 5.5f, 0, 1, 1.5f, 5.5f, 1, 1}));
}

} // namespace
