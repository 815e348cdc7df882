#include "levels/shoot/LevelShoot.h"

#include <algorithm>
#include <utility>

#include "tests/levels/minigames/MiniGameFixture.h"

namespace {

// Part 0 the scenery; parts 1 and 2 two targets of radius 80 around (150, 150) and (550, 150).
const std::vector<CQuadPart> kQuads = {{0, 0, 1024, 768, 11},
                                       {100, 100, 200, 200, 0, kPartDrawn | kPartClickable, 80},
                                       {500, 100, 600, 200, 0, kPartDrawn | kPartClickable, 80}};

class LevelShootTest : public MiniGameTest {
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        m_model.level.scene = Scene(kQuads);
        m_model.level.records.resize(1);
        m_model.targets = {{1, 1, {150, 150, 0}}, {2, 1, {550, 150, 0}}};
        CShootRecordModel& r = m_record;
        r.entries[0].escapePoints = -1;
        r.goal = 2;
        r.loseThreshold = -2;
        r.winTargetScene = 1;
        r.winHints = 2;
        r.losePopup = {5, 0, 0, 0};
        GiveHint(0);
    }

    CMiniGameUnderTest<CLevelShoot>* Level()
    {
        m_model.records = {m_record};
        auto* level = Make<CLevelShoot>(ShootBody(m_model), kQuads);
        EXPECT_NE(level, nullptr);
        if (level) {
            EXPECT_EQ(level->Start(14), RES_OK);
        }
        return level;
    }

    static void Show(CLevelShoot& level, uint32_t slot, uint8_t target)
    {
        level.GetField().Slots()[slot] = ShootSlot{target, {}, 1.0f, 9, {}, kShootShown};
    }

    static void Run(CLevelShoot& level, int frames)
    {
        for (int frame = 0; frame < frames; ++frame)
            ASSERT_EQ(level.Update(), RES_OK);
    }

    CShootModel m_model;
    CShootRecordModel m_record;
};

TEST_F(LevelShootTest, DescriptionsWithoutAPlayableRoundAreRefused)
{
    const auto refused = [&](auto change) {
        CShootModel model = m_model;
        model.records = {m_record};
        change(model);
        CLevelShoot level(m_world.GetData(), Engine(), 0);
        const Result result = Describe(level, ShootBody(model));
        EXPECT_EQ(level.Release(), RES_OK);
        return result == RES_FAIL;
    };
    EXPECT_FALSE(refused([](CShootModel&) {}));
    EXPECT_TRUE(refused([](CShootModel& m) { m.targets.clear(); }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.targets[0].usable = m.targets[1].usable = 0; }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.targets[1].part = 3; }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.records[0].minSpawnSeconds = 3; }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.records[0].maxLifeSeconds = 0; }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.targets[1].entry = 1; }));
    EXPECT_TRUE(refused([](CShootModel& m) { m.records[0].entries[0].sampleTarget = 2; }));
}

TEST_F(LevelShootTest, HitsReachTheGoalWhichPaysOnceAndLeadsOnOnceNoTooltipSlides)
{
    m_record.entries[0].hitSound = 1, m_record.missSound = 2, m_record.wonSound = 3;
    CCountedBank bank(m_world, 4);
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->OnClick(900, 700), RES_FAIL);  // a miss
    EXPECT_EQ(bank.Plays(2), 1);
    Show(*level, 0, 0);
    Show(*level, 1, 1);
    EXPECT_EQ(level->OnClick(150, 150), RES_OK);
    EXPECT_EQ(level->GetField().Slot(0)->state, kShootHit);
    EXPECT_EQ(level->OnClick(150, 150), RES_FAIL);  // already hit
    EXPECT_EQ(level->OnClick(560, 160), RES_OK);
    EXPECT_EQ(level->GetField().Labels().size(), 2u);
    EXPECT_EQ(bank.Plays(1) * 10 + bank.Plays(2), 22) << "each hit sounds, the second miss too";
    m_world.m_nTooltipBusy = 3;
    Run(*level, 31);
    EXPECT_EQ(level->GetField().won, 1);
    EXPECT_EQ(Hint()->GetCount(), 2);
    EXPECT_EQ(bank.Plays(3), 1);
    EXPECT_EQ(m_world.m_nNextScene, kNoIndex) << "not while a tooltip slides";
    m_world.m_nTooltipBusy = 0;
    Run(*level, 40);
    EXPECT_EQ(Hint()->GetCount(), 2);
    EXPECT_EQ(m_world.m_nNextScene, 1u);
}

TEST_F(LevelShootTest, TheCounterTheLabelsAndTheTargetsAreDrawnAndAHintIsWorthItsPoints)
{
    m_record.hintPoints = 4;
    m_model.counterX = 700, m_model.counterY = 50;
    Data().m_TextStyles.m_GameColors[0] = 0x123456;
    Data().m_TextStyles.m_TimerSize[0] = Data().m_TextStyles.m_TimerSize[1] = 20.0f;
    const auto font = UseTutorialPopup(m_world, Engine());
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    EXPECT_TRUE(level->IsHintRechargePaused()) << "hints are points here";
    EXPECT_FALSE(level->IsPlayerHelpLocked());
    Show(*level, 1, 1);
    ASSERT_EQ(level->OnClick(560, 160), RES_OK);
    level->UseHint();
    const float point[3] = {300, 400, 0};
    level->GetField().AddLabel(-1, 1.0f, point);
    Run(*level, 3);
    Engine()->ClearDraws();
    level->Render();
    const CNotingFont::Drawn* counter = font->Find(u"0/2");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->position.x * 1000 + counter->position.y, 700050.0f);
    EXPECT_EQ(counter->colour, 0xFF123456u);
    for (auto [text, colour] : {std::pair{u"+1", 0x00FF00u}, {u"+4", 0x00FF00u}, {u"-1", 0xFF0000u}}) {
        const CNotingFont::Drawn* label = font->Find(text);
        ASSERT_NE(label, nullptr) << colour;
        EXPECT_EQ(label->colour & 0xFFFFFF, colour);
        EXPECT_EQ(label->colour >> 24, 229u) << "three frames of a second faded";
    }
    EXPECT_LT(font->Find(u"-1")->position.y, 400.0f) << "a label rises as it fades";
    const auto& draws = Engine()->Draws();
    const auto target = std::find_if(draws.begin(), draws.end(), [&](const MemoryDraw& d) {
        return d.object == level->GetDisplayObject() && d.kind == MemoryDrawKind::RenderPart && d.part == 2;
    });
    ASSERT_NE(target, draws.end()) << "the hit target vanishes where it was";
    EXPECT_EQ(target->colour >> 24, uint32_t(level->GetField().Slot(1)->phase * 255.0f));
    m_record.hintPoints = 0;
    m_model.records = {m_record};
    auto* plain = Make<CLevelShoot>(ShootBody(m_model), kQuads);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->IsPlayerHelpLocked()) << "no points, no hint";
}

TEST_F(LevelShootTest, TheInstructionsShowTheHintTheStarAndEachExplainedKindThenClose)
{
    m_record.hintPoints = 4, m_record.winHints = 2;
    m_record.entries = {CShootEntryModel{}, CShootEntryModel{}, CShootEntryModel{}};
    m_record.entries[0].hitPoints = 1, m_record.entries[0].escapePoints = -1;
    m_record.entries[0].explainPopup = {40, 0, 0, 0}, m_record.entries[0].sampleTarget = 1;
    m_record.entries[2].hitPoints = -3, m_record.entries[2].explainPopup = {41, 0, 0, 0};
    const auto font = UseTutorialPopup(m_world, Engine());
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    CPopupText& popup = *m_world.GetTutorialPopup();
    uint32_t& step = Data().m_nTutorialStep;
    level->BeginModal();
    EXPECT_EQ(step, 21u);
    EXPECT_EQ(std::u16string(popup.GetPage()), u"T129 2 9") << "the won hints and the button's most";
    level->RenderModal();
    EXPECT_NE(font->Find(u"T129 2 9"), nullptr);
    const std::u16string pages[] = {u"T130 4 %d", u"T131 %d %d", u"T40 1 1", u"T41 3 0", u"T102 %d %d"};
    const int32_t explained[] = {-1, -1, 0, 2, -1};
    for (uint32_t n = 0; n < 5; ++n) {
        step = 22 + n;
        ASSERT_EQ(level->UpdateModal(), RES_OK) << step;
        EXPECT_EQ(std::u16string(popup.GetPage()), pages[n]) << step;
        EXPECT_EQ(level->GetExplainedEntry(), explained[n]) << step;
        font->m_drawn.clear();
        Engine()->ClearDraws();
        level->RenderModal();
        EXPECT_NE(font->Find(pages[n].substr(0, 4)), nullptr) << step;
    }
    step = 24;
    EXPECT_EQ(level->UpdateModal(), RES_OK);
    Engine()->ClearDraws();
    level->RenderModal();
    const auto& draws = Engine()->Draws();
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [](const MemoryDraw& d) { return d.part == 2; }))
        << "the explained kind's sample target";
    step = 27;
    EXPECT_EQ(level->UpdateModal(), RES_FAIL) << "one closing page after the kinds";
}

TEST_F(LevelShootTest, LosingRestartsTheRoundAndQueuesThePopupByItsRepeat)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    const float point[3] = {0, 0, 0};
    for (int round = 0; round < 2; ++round) {
        Show(*level, 0, 0);
        level->GetField().AddLabel(-2, 1.0f, point);
        Run(*level, 31);
        EXPECT_EQ(level->GetField().score, 0);
        EXPECT_EQ(level->GetField().Slot(0)->target, kFreeSlot);
        EXPECT_EQ(level->GetPopupQueueCount(), 1u);  // shown once: repeat 0
    }
}

TEST_F(LevelShootTest, GridTargetsAreHitAtTheirCells)
{
    m_record.gridMode = 1, m_record.gridColumns = 2, m_record.gridRows = 1;
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    Show(*level, 1, 0);
    const Vector3 cell = level->SlotPoint(1);
    EXPECT_NEAR(cell.x, 2 * 1024.0f / 3, 0.01f);
    EXPECT_NEAR(cell.y, 384.0f, 0.01f);
    EXPECT_EQ(level->OnClick(150, 150), RES_FAIL);  // the target's own place shows nothing
    EXPECT_EQ(level->OnClick(cell.x + 10, cell.y - 10), RES_OK);
    const std::string saved = Saved(*level);
    level->ResetRound();
    ASSERT_EQ(Restore(*level, saved), RES_OK);
    EXPECT_EQ(level->GetField().Slot(1)->state, kShootHit);
}

// The hint's label rises from the hint button's top; the collision overlay follows F2 only.
TEST_F(LevelShootTest, TheHintLabelStartsAtTheHintButtonAndTheOverlayFollowsF2)
{
    m_record.hintPoints = 1;
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    level->UseHint();
    ASSERT_EQ(level->GetField().Labels().size(), 1u);
    EXPECT_EQ(level->GetField().Labels().front().y, Hint()->GetPosition().y - Hint()->GetHalfWidth());
    Show(*level, 0, 0);
    for (auto [overlay, collision] : {std::pair{1, 0}, std::pair{0, 1}}) {
        Data().m_bOverlay = static_cast<uint8_t>(overlay), Data().m_bDebugCollision = static_cast<uint8_t>(collision);
        Engine()->ClearDraws();
        level->Render();
        EXPECT_EQ(Engine()->DrawsOf(level->GetCollisionObject()).size(), static_cast<size_t>(collision));
    }
}

// The round under way: every slot, the score, the won flag and the lose pop-up, in that order
// after the base's fields; a fresh round takes them all back.
TEST_F(LevelShootTest, TheRoundIsSavedFieldByFieldAndDamagedSavesAreRefused)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    level->GetField().Slots()[0] = ShootSlot{1, {}, 0.25f, 3, {}, kShootEscaping};
    level->GetField().Slots()[1] = ShootSlot{0, {}, 0.75f, 7, {}, kShootShown};
    level->GetField().score = -1;
    level->GetField().won = 1;
    auto* record = static_cast<CLevelShootRecord*>(level->GetRecord(0));
    record->losePopup = {5, 1, 0x01020304u, 1};
    CByteWriter expected;
    expected.Text(SavedBase(*level));
    for (const ShootSlot& slot : {level->GetField().Slots()[0], level->GetField().Slots()[1]}) {
        expected.U8(slot.target);
        expected.Fill(3, '\0');
        expected.F32(slot.phase);
        expected.U8(slot.lifeSeconds);
        expected.Fill(3, '\0');
        expected.U32(slot.state);
    }
    expected.U32(static_cast<uint32_t>(-1));
    expected.U8(1);
    expected.U32(5);
    expected.U8(1);
    expected.U32(0x01020304u);
    expected.U8(1);
    const std::string saved = Saved(*level);
    EXPECT_EQ(saved, expected.Bytes());

    auto* fresh = Level();
    ASSERT_NE(fresh, nullptr);
    auto* freshRecord = static_cast<CLevelShootRecord*>(fresh->GetRecord(0));
    auto state = [&] {
        const CShootField& f = fresh->GetField();
        const CLevelPopupGroup& p = freshRecord->losePopup;
        return std::vector<int64_t>{f.Slot(0)->target, f.Slot(0)->state, f.Slot(0)->lifeSeconds,
                                    static_cast<int64_t>(f.Slot(0)->phase * 100), f.Slot(1)->target,
                                    f.Slot(1)->state, f.score, f.won, p.popupId, p.repeat, p.value, p.shown};
    };
    // A target past the table, a phase that is no number and a slot state past the four are
    // refused, as is every cut.
    ExpectDamageRefused(*fresh, saved, state,
                        {{2 * 16 + 15, "\x02"}, {2 * 16 + 15 - 4, std::string("\x00\x00\xC0\x7F", 4)},
                         {16 + 15 - 12, "\x04"}});
    ASSERT_EQ(Restore(*fresh, saved), RES_OK);
    EXPECT_EQ(state(), (std::vector<int64_t>{1, kShootEscaping, 3, 25, 0, kShootShown, -1, 1, 5, 1, 0x01020304, 1}));
    EXPECT_EQ(Saved(*fresh), saved);
}

} // namespace
