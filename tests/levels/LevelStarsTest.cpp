#include "levels/Level.h"

#include <cmath>

#include "game/widgets/Hint.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/levels/LevelFixture.h"

namespace {

TEST_F(LevelBaseTest, PlacedStarsKeepTwoRadiiApartAndACaughtStarIsFoundOnce)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    ASSERT_FALSE(level.AreStarsDisabled());
    level.PlaceStars();
    for (uint32_t a = 0; a < 4; ++a) {
        for (uint32_t b = a + 1; b < 4; ++b)
            EXPECT_GE(std::hypot(level.GetStar(a)->x - level.GetStar(b)->x, level.GetStar(a)->y - level.GetStar(b)->y),
                      32.0f);
    }
    level.PickStarSlot();
    const uint16_t active = level.GetActiveStar();
    ASSERT_LT(active, 4);
    const CLevelStar star = *level.GetStar(active);
    EXPECT_EQ(star.flags, kPartClickable | kPartFadingIn);
    EXPECT_EQ(level.OnClick(star.x + 17.0f, star.y), RES_FAIL) << "beyond the half width";
    EXPECT_EQ(level.OnClick(star.x + 15.0f, star.y), RES_OK);
    EXPECT_EQ(level.GetStar(active)->flags & (kPartWaiting | kPartFadingOut), kPartWaiting | kPartFadingOut);
    EXPECT_EQ(level.OnClick(star.x, star.y), RES_FAIL) << "a found star is no catch";
    for (int i = 0; i < 16; ++i)
        level.UpdateStars();
    EXPECT_EQ(level.GetStar(active)->flags & (kPartDrawn | kPartFadingIn | kPartFadingOut), 0u)
        << "a fade landing on 0.0 ends";
}

TEST_F(LevelBaseTest, ATimedCatchAddsTimeAndAnotherStarWhileStoryModeGivesAHint)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    level.PlaceStars();
    Game().m_nMode = 1;
    level.PickStarSlot();
    const uint16_t first = level.GetActiveStar();
    EXPECT_EQ(level.OnClick(level.GetStar(first)->x, level.GetStar(first)->y), RES_OK);
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 450.0f);
    EXPECT_NE(level.GetActiveStar(), first);
    EXPECT_TRUE(level.GetStar(level.GetActiveStar())->flags & kPartFadingIn);

    m_world.m_pHint = HintHolding(Data(), 0);
    Game().m_nMode = 0;
    const uint16_t second = level.GetActiveStar(), hints = m_world.m_pHint->GetCount();
    EXPECT_EQ(level.OnClick(level.GetStar(second)->x, level.GetStar(second)->y), RES_OK);
    EXPECT_EQ(level.GetActiveStar(), second) << "no new star in story mode";
    EXPECT_EQ(m_world.m_pHint->GetCount(), hints + 1) << "but a hint";
    EXPECT_FLOAT_EQ(m_timer->GetRemainingFrames(), 450.0f);
    m_world.m_pHint = HintHolding(Data(), 0);
    level.Stop();
    ASSERT_EQ(level.Start(kSceneStateFresh), RES_OK);
    EXPECT_LT(level.GetActiveStar(), 4) << "an empty hint button offers a star at a fresh start";
}

class CrowdedStarsTest : public LevelBaseTest {
protected:
    uint32_t StarsPerLevel() const override { return 40; }
    uint32_t StarsWidth() const override { return 400; }
};

TEST_F(CrowdedStarsTest, ACrowdedBoxStillPlacesEveryStar)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    ASSERT_EQ(level.GetStarCount(), 40);
    level.PlaceStars();
    EXPECT_NE(s_log.find(u"CLevel::PlaceStars warning"), std::u16string::npos);
    for (uint32_t n = 0; n < 40; ++n)
        EXPECT_EQ(level.GetStar(n)->flags, kPartClickable | kPartDrawn);
}

class NoStarsTest : public LevelBaseTest {
protected:
    uint32_t StarsPerLevel() const override { return 0; }
};

TEST_F(NoStarsTest, NoneOrOneStarPerLevelLeavesStarsOffWithoutAHang)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    EXPECT_NE(s_log.find(u"STARS_COUNT_PER_LEVEL 0"), std::u16string::npos);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_TRUE(level.AreStarsDisabled());
        level.PlaceStars();
        level.PickStarSlot();
        EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
        level.UpdateStars();
        level.RenderStar();
        EXPECT_EQ(level.GetActiveStar(), kNoStar);
        // A saved level of one star, that star active.
        SceneBytes saved;
        saved.Put<uint32_t>(0);
        for (int effect = 0; effect < 2; ++effect)
            saved.Put<float>(0).Put<float>(0).Put<uint8_t>(0);
        saved.Put<uint16_t>(1).Put<uint16_t>(0).Put<float>(1).Put<float>(2).Put<float>(0).Put<uint32_t>(2).Put<float>(0);
        CSceneTestStream stream(saved.Bytes());
        ASSERT_EQ(level.LoadProgress(&stream, 63), RES_OK);
        EXPECT_EQ(level.GetStarCount(), 1);
    }
    // The timed mode's fresh start fills an empty hint button without stars too.
    m_world.m_pHint = HintHolding(Data(), 0);
    Game().m_nMode = 1;
    level.Stop();
    ASSERT_EQ(level.Start(kSceneStateFresh), RES_OK);
    EXPECT_EQ(m_world.m_pHint->GetCount(), 1);
}

} // namespace
