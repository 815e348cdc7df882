#include "levels/shoot/ShootField.h"

#include <gtest/gtest.h>

namespace {

class ShootFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RandomSeed(m_random, 7);
        ASSERT_EQ(m_field.Reset(2), RES_OK);
    }

    void Advance(float seconds)
    {
        m_field.AdvanceSlots(seconds, m_targets, 2, true, [](uint32_t slot, float p[3]) {
            p[0] = 100.0f * slot, p[1] = 5.0f, p[2] = 0.0f;
        });
    }

    // Two usable targets far apart: fade in 1 s, vanish 1 s, escaping costs 2.
    ShootTargetInfo m_targets[2] = {{true, 0, 0, 0, 10, 1.0f, 1.0f, -2}, {true, 500, 0, 0, 10, 1.0f, 1.0f, -2}};
    CRandomMT m_random{};
    CShootField m_field;
};

TEST_F(ShootFieldTest, WavesOfAtMostOneNeverSpawn)
{
    const ShootSpawnRules rules{0, 0, 1, 1, 1};
    for (int frame = 0; frame < 200; ++frame)
        m_field.Tick(1.0f, m_random, rules, m_targets, 2);
    EXPECT_EQ(m_field.Slot(0)->target, kFreeSlot);
    EXPECT_EQ(m_field.Slot(1)->target, kFreeSlot);
    const ShootSpawnRules busy{0, 0, 255, 3, 3};
    m_field.SpawnWave(m_random, busy, m_targets, 2);
    EXPECT_NE(m_field.Slot(0)->target, m_field.Slot(1)->target);  // the distance test keeps them apart
    EXPECT_EQ(m_field.Slot(0)->lifeSeconds, 3);
}

TEST_F(ShootFieldTest, SlotsFadeInShowEscapeAndLabelTheirPoints)
{
    m_field.Slots()[1] = ShootSlot{0, {}, 0.0f, 2, {}, kShootFadingIn};
    Advance(0.5f);
    EXPECT_EQ(m_field.Slot(1)->state, kShootFadingIn);
    Advance(0.6f);
    EXPECT_EQ(m_field.Slot(1)->state, kShootShown);
    EXPECT_FLOAT_EQ(m_field.Slot(1)->phase, 1.0f);
    Advance(1.0f);
    EXPECT_EQ(m_field.Slot(1)->state, kShootShown);
    Advance(1.1f);
    EXPECT_EQ(m_field.Slot(1)->state, kShootEscaping);
    Advance(1.1f);
    EXPECT_EQ(m_field.Slot(1)->target, kFreeSlot);
    ASSERT_EQ(m_field.Labels().size(), 1u);
    EXPECT_FLOAT_EQ(m_field.Labels()[0].x, 100.0f);
    EXPECT_EQ(m_field.AdvanceLabels(0.5f, true, 3, -2), ShootOutcome::None);
    EXPECT_EQ(m_field.AdvanceLabels(0.6f, true, 3, -2), ShootOutcome::Lost);
    EXPECT_EQ(m_field.score, -2);
    // Phases of no length end at once.
    m_targets[0].fadeInSeconds = 0.0f;
    m_field.Slots()[0] = ShootSlot{0, {}, 0.0f, 0, {}, kShootFadingIn};
    Advance(0.01f);
    Advance(0.01f);
    EXPECT_EQ(m_field.Slot(0)->state, kShootEscaping);
}

TEST_F(ShootFieldTest, WinningTurnsOnceAndHitsSkipHitTargets)
{
    const float point[3] = {1, 2, 3};
    m_field.AddLabel(0, 1.0f, point);
    EXPECT_TRUE(m_field.Labels().empty());
    m_field.AddLabel(3, 1.0f, point);
    EXPECT_EQ(m_field.AdvanceLabels(1.5f, true, 3, -2), ShootOutcome::Won);
    m_field.AddLabel(1, 1.0f, point);
    EXPECT_EQ(m_field.AdvanceLabels(1.5f, true, 3, -2), ShootOutcome::None);
    EXPECT_EQ(m_field.won, 1);
    EXPECT_TRUE(m_field.Labels().empty());

    m_field.Slots()[0] = ShootSlot{1, {}, 0.4f, 2, {}, kShootShown};
    EXPECT_EQ(m_field.Hit([](uint32_t) { return true; }), 0);
    EXPECT_EQ(m_field.Slot(0)->state, kShootHit);
    EXPECT_FLOAT_EQ(m_field.Slot(0)->phase, 1.0f);
    EXPECT_EQ(m_field.Hit([](uint32_t) { return true; }), -1);
}

} // namespace
