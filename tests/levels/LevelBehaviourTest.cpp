#include "levels/Level.h"

#include "tests/levels/LevelFixture.h"

namespace {

TEST_F(LevelBaseTest, ClicksTakeTheLaterPartAndLeadOnOnlyFromTargets)
{
    CLevelModel model = TwoPartLevel();
    model.pairs = {{1, 1}};
    CLevelUnderTest& level = MakeLevel(model);
    EXPECT_EQ(level.OnClick(120, 120), RES_FAIL) << "not in the click-target state";
    level.m_nSceneState = kSceneStateClickTargets;
    EXPECT_EQ(level.OnClick(190, 190), RES_FAIL) << "a miss";
    EXPECT_EQ(level.OnClick(120, 120), RES_OK);
    EXPECT_EQ(m_world.m_nNextScene, 1u) << "part 1 lies over part 0";

    m_world.m_nNextScene = kNoIndex;
    level.GetPart(1)->flags |= kPartWaiting;
    EXPECT_EQ(level.OnClick(120, 120), RES_OK) << "part 0 is hit but leads nowhere";
    EXPECT_EQ(m_world.m_nNextScene, kNoIndex);
    EXPECT_EQ(m_world.m_nPendingState, 0u);
}

TEST_F(LevelBaseTest, ATargetOfTheSceneCountFinishesTheGameWithAndWithoutAudio)
{
    CLevelModel model = TwoPartLevel();
    model.pairs = {{1, 2}};
    model.records[0].pairSounds = {2};
    model.records[0].effects[0] = {1.0f, 1.0f, 3, 1};
    for (bool audio : {false, true}) {
        if (audio)
            UseAudio();
        CLevelUnderTest& level = MakeLevel(model);
        level.m_nSceneState = kSceneStateClickTargets;
        m_world.m_nPendingState = 0;
        EXPECT_EQ(level.OnClick(150, 110), RES_OK);
        EXPECT_EQ(m_world.m_nPendingState, static_cast<uint32_t>(GS_GAME_FINISHED)) << audio;
    }
    EXPECT_EQ(m_sounds[2].m_nPlays, 1) << "the pair sound";
    EXPECT_EQ(m_sounds[3].m_nStops, 1) << "the effect sound stops";
}

TEST_F(LevelBaseTest, StartQueuesItsPopupByRepeatAndAppliesShowBeforeHide)
{
    CLevelModel model = TwoPartLevel();
    model.records[0].startPopup = {5, 0, 0, 0};
    model.records[1].startPopup = {6, 1, 0, 0};
    model.records[0].startActions[0] = {0x0000};  // show part 0 of scene 0
    model.records[0].startActions[1] = {0x0000};  // hide it again
    model.records[0].leaveActions[2] = {0x0001};  // record switch to 1, after
    model.records[0].leaveActions[3] = {0x0001};  // showing part 1
    CLevelUnderTest& level = MakeLevel(model);
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_EQ(level.Start(kSceneStateFresh), RES_OK);
        EXPECT_EQ(level.GetSceneState(), kSceneStateFresh);
    }
    EXPECT_EQ(level.GetPopupQueueCount(), 1u) << "repeat 0 shows once";
    EXPECT_FALSE(level.GetPart(0)->flags & kPartDrawn);
    level.GetPart(1)->flags &= ~kPartDrawn;
    level.Stop();
    EXPECT_EQ(level.GetCurrentRecord(), 1u);
    EXPECT_TRUE(level.GetPart(1)->flags & kPartDrawn);
    EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
    EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
    EXPECT_EQ(level.Start(2), RES_OK);
    EXPECT_EQ(level.GetPopupQueueCount(), 3u) << "repeat 1 at every fresh start";

    level.SetDone();
    level.GetPart(1)->flags &= ~kPartDrawn;
    level.SetCurrentRecord(0);
    level.Stop();
    EXPECT_EQ(level.GetCurrentRecord(), 0u) << "a done level keeps its leave actions";
}

TEST_F(LevelBaseTest, StopSettlesFadesAndFirstPhaseParts)
{
    CLevelModel model = TwoPartLevel();
    model.scene.parts.resize(4);
    CLevelUnderTest& level = MakeLevel(model);
    level.GetPart(0)->flags = kPartFadingIn | kPartToggles, level.GetPart(0)->alpha = 1.0f;
    level.GetPart(1)->flags = kPartFadingOut | kPartDrawn | kPartSecondView, level.GetPart(1)->alpha = 0.0f;
    ScenePart& first = *level.GetPart(2);
    first.phase = 1, first.flags = kPartWaiting | kPartDrawn | kPartFadingOut;
    level.m_nActiveStar = 1;
    level.Stop();
    EXPECT_EQ(level.GetPart(0)->flags, kPartDrawn) << "a fade that reached its bound ends too";
    EXPECT_EQ(level.GetPart(1)->flags, 0u);
    EXPECT_EQ(first.flags, kPartClickable | kPartDrawn) << "its fade ends, then its drawn bit turns";
    EXPECT_EQ(level.GetPart(3)->flags, 0u);
    EXPECT_EQ(level.GetActiveStar(), kNoStar);
}

TEST_F(LevelBaseTest, ARecordPastTheRecordsNeitherCrashesNorPlays)
{
    UseAudio();
    CLevelModel model = TwoPartLevel();
    model.records[0].effects[0] = {1.0f, 1.0f, 0, 0};
    CLevelUnderTest& level = MakeLevel(model);
    level.SetCurrentRecord(9);
    EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
    level.PlaySounds();
    for (int i = 0; i < 5; ++i)
        level.UpdateEffects();
    level.Stop();
    level.EndLevel();
    CSceneTestStream saved;
    EXPECT_EQ(level.SaveProgress(&saved), RES_OK);
    EXPECT_EQ(m_sounds[0].m_nPlays, 0);
}

TEST_F(LevelBaseTest, EffectsFireOncePerVisitOrUntilResetAndNeverOverThemselves)
{
    UseAudio();
    CLevelModel model = TwoPartLevel();
    model.records[0].effects[0] = {10.0f, 10.0f, 0, 0};
    model.records[0].effects[1] = {2.0f, 4.0f, 1, 1};
    CLevelUnderTest& level = MakeLevel(model);
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i)
            level.UpdateEffects();
    };
    EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
    m_sounds[1].m_bPlaying = 1;
    frames(40);
    EXPECT_EQ(m_sounds[0].m_nPlays, 1) << "min = max";
    EXPECT_EQ(m_sounds[1].m_nPlays, 0) << "still playing";
    m_sounds[1].m_bPlaying = 0;
    level.ResetEffects();
    frames(40);
    EXPECT_EQ(m_sounds[1].m_nPlays, 1);
    EXPECT_EQ(level.Start(kSceneStateFresh), RES_OK);
    frames(40);
    EXPECT_EQ(m_sounds[0].m_nPlays, 2) << "once more in the next visit";
    EXPECT_EQ(m_sounds[1].m_nPlays, 2);
    frames(40);
    EXPECT_EQ(m_sounds[1].m_nPlays, 2) << "a looping effect waits for ResetEffects";
}

TEST_F(LevelBaseTest, SavedSectionsRoundTripAndCutStreamsKeepWhatWasRead)
{
    CLevelModel model = TwoPartLevel();
    model.records[1].introPopup = {4, 1, 7, 0};
    CLevelUnderTest& level = MakeLevel(model);
    level.PushPopup(11);
    level.PushPopup(12);
    level.SetCurrentRecord(1);
    EXPECT_EQ(level.Start(3), RES_OK);
    level.PickStarSlot();
    const std::string objects = Saved(level, &CSceneObject3D::SaveObjects);
    const std::string progress = Saved(level, &CSceneObject3D::SaveProgress);

    CLevelUnderTest& copy = MakeLevel(model);
    CSceneTestStream objectStream(objects), progressStream(progress);
    ASSERT_EQ(copy.LoadObjects(&objectStream, 63), RES_OK);
    ASSERT_EQ(copy.LoadProgress(&progressStream, 63), RES_OK);
    EXPECT_EQ(Saved(copy, &CSceneObject3D::SaveObjects), objects);
    EXPECT_EQ(Saved(copy, &CSceneObject3D::SaveProgress), progress);
    EXPECT_EQ(copy.PeekPopup(), 11);

    CLevelUnderTest& cut = MakeLevel(model);
    CSceneTestStream cutStream(objects.substr(0, objects.size() - 3));
    EXPECT_EQ(cut.LoadObjects(&cutStream, 63), RES_FAIL);
    EXPECT_EQ(cut.GetSceneState(), 3u) << "read before the cut";
    EXPECT_EQ(cut.GetPopupQueueCount(), 2u);

    const size_t partBytes = 4 + 2 * 8;  // the part states before the level's fields
    std::string tooMany = objects;
    const uint32_t huge = 0xFFFFFFFFu;
    tooMany.replace(partBytes + 12, 4, reinterpret_cast<const char*>(&huge), 4);
    CSceneTestStream hugeQueue(tooMany);
    EXPECT_EQ(cut.LoadObjects(&hugeQueue, 63), RES_FAIL);
    std::string records = objects;
    const uint32_t three = 3;
    records.replace(partBytes + 16 + 2 * 4 + 2, 4, reinterpret_cast<const char*>(&three), 4);
    CSceneTestStream tooManyRecords(records);
    EXPECT_EQ(cut.LoadObjects(&tooManyRecords, 63), RES_FAIL) << "more records than the level has";

    // A damaged save names a record or a pop-up the level cannot show: the state is refused. The
    // table holds fifteen main strings and five commons.
    CStringTable& table = Game().m_GameStrings;
    table.m_nCount = 20;
    table.m_pUnits.reset(new char16_t[20]());
    table.m_pOffsets.reset(new uint32_t[20]());
    Game().m_nCommonsCount = 5;
    auto loads = [&](size_t at, int32_t value) {
        std::string bytes = objects;
        bytes.replace(at, 4, reinterpret_cast<const char*>(&value), 4);
        CSceneTestStream stream(bytes);
        return MakeLevel(model).LoadObjects(&stream, 63);
    };
    EXPECT_EQ(loads(partBytes + 4, 1), RES_OK);
    EXPECT_EQ(loads(partBytes + 4, 2), RES_FAIL) << "past the two records";
    EXPECT_EQ(loads(partBytes + 8, 14), RES_OK);
    for (int32_t popup : {15, 19, -2, INT32_MIN})
        EXPECT_EQ(loads(partBytes + 8, popup), RES_FAIL) << popup;
    EXPECT_EQ(loads(partBytes + 16, 40), RES_FAIL) << "a queued pop-up";
    const size_t introPopup = objects.size() - 2 * 3 * 10 + 3 * 10;  // record 1's first group
    EXPECT_EQ(loads(introPopup, 4), RES_OK);
    EXPECT_EQ(loads(introPopup, 99), RES_FAIL) << "a record's pop-up";
}

uint32_t UndoRight(uint32_t y, int shift)
{
    uint32_t x = y;
    for (int i = 0; i < 32; ++i)
        x = y ^ (x >> shift);
    return x;
}

uint32_t UndoLeft(uint32_t y, int shift, uint32_t mask)
{
    uint32_t x = y;
    for (int i = 0; i < 32; ++i)
        x = y ^ ((x << shift) & mask);
    return x;
}

TEST(LevelRandom, AChoiceIsAlwaysBelowItsCount)
{
    CRandomMT random{};
    random.state[0] = UndoRight(UndoLeft(UndoLeft(UndoRight(0xFFFFFFFFu, 18), 15, 0xefc60000u), 7, 0x9d2c5680u), 11);
    random.state[1] = random.state[0];
    ASSERT_EQ(RandomNext(random), 0xFFFFFFFFu);
    EXPECT_EQ(RandomIndex(random, 4), 3u) << "a float product would give 4";
    EXPECT_EQ(RandomIndex(random, 0), 0u);
}

} // namespace
