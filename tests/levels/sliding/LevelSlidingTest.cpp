#include "levels/sliding/LevelSliding.h"

#include <algorithm>

#include "tests/levels/minigames/MiniGameFixture.h"

namespace {

// Part 0 the board (100, 100)-(500, 400): a 4 x 3 grid of 100 x 100 cells; then the restart,
// easier-layout (unlocked, locked, used) and skip (unlocked, locked) buttons.
const std::vector<CQuadPart> kQuads = {{100, 100, 500, 400},        {600, 100, 640, 140, 4},
                                       {600, 200, 640, 240, 4},     {600, 250, 640, 290, 4},
                                       {600, 300, 640, 340, 4},     {600, 350, 640, 390, 4},
                                       {600, 400, 640, 440, 4}};

class LevelSlidingTest : public MiniGameTest {
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        m_model.level.scene = Scene(kQuads);
        m_model.level.records.resize(1);
        m_model.layout.boardPart = 0;
        const uint32_t buttons[] = {kSlidingRestart, kSlidingEasyUnlocked, kSlidingEasyLocked,
                                    kSlidingEasyUsed, kSlidingSkipUnlocked, kSlidingSkipLocked};
        for (uint32_t i = 0; i < 6; ++i)
            m_model.layout.buttonParts[buttons[i]] = i + 1;
        // Layout A: a two-cell key piece at (0, 1) with targets (2, 1) and (3, 1), a fixed cell at
        // (1, 0). Layout B: the key one step from the targets.
        CSlidingRecordModel& r = m_record;
        r.gridColumns = 4, r.gridRows = 3, r.pictureColumns = 4, r.pictureRows = 3;
        r.shapes = {{{{0, 0}, {1, 0}}, kSlideAlongRows}, {{{0, 0}}, 0}};
        r.Place(0, 0, 0, 1, 1, 0, true);
        r.Place(0, 1, 1, 0, 2, 2, false);
        r.Place(1, 0, 1, 1, 1, 0, true);
        for (int which = 0; which < 2; ++which) {
            r.MarkTarget(which, 2, 1);
            r.MarkTarget(which, 3, 1);
        }
        r.exitDirections[0] = 4;
        r.exit.nextScene = 1;
        r.exit.hintReward = 2;
        GiveHint(0);
    }

    CMiniGameUnderTest<CLevelSliding>* Level()
    {
        m_model.records = {m_record};
        auto* level = Make<CLevelSliding>(SlidingBody(m_model), kQuads);
        EXPECT_NE(level, nullptr);
        if (level) {
            EXPECT_EQ(level->Start(14), RES_OK);
        }
        return level;
    }

    // Drags the piece under (column, row) by the cells; the board answers each input unhandled.
    static void Drag(CLevelSliding& level, uint32_t column, uint32_t row, float cells)
    {
        const float x = 150 + 100.0f * column, y = 150 + 100.0f * row;
        ASSERT_EQ(level.OnPress(x, y), RES_FAIL);
        ASSERT_EQ(level.OnDrag(x + cells * 50, y, 0), RES_FAIL);
        ASSERT_EQ(level.OnDrag(x + cells * 100, y, 0), RES_FAIL);
        ASSERT_EQ(level.OnRelease(x + cells * 100, y), RES_FAIL);
    }

    CSlidingModel m_model;
    CSlidingRecordModel m_record;
};

TEST_F(LevelSlidingTest, InvalidLayoutsAndShapesAreRefused)
{
    const auto refused = [&](auto change) {
        CSlidingRecordModel record = m_record;
        change(record);
        CSlidingModel model = m_model;
        model.records = {record};
        CLevelSliding level(m_world.GetData(), Engine(), 0);
        const Result result = Describe(level, SlidingBody(model));
        EXPECT_EQ(level.Release(), RES_OK);
        return result == RES_FAIL;
    };
    EXPECT_FALSE(refused([](CSlidingRecordModel&) {}));
    EXPECT_TRUE(refused([](CSlidingRecordModel& r) { r.shapes[1].offsets[0] = {0, -1}; }));  // off the grid
    EXPECT_TRUE(refused([](CSlidingRecordModel& r) { r.layouts[0][4].pieceId = 9; }));       // key cell of another id
    EXPECT_TRUE(refused([](CSlidingRecordModel& r) { r.layouts[1][5].shape = 5; }));         // past the shapes
    EXPECT_TRUE(refused([](CSlidingRecordModel& r) { r.pictureColumns = 1, r.pictureRows = 2; }));  // tiles past the picture
}

TEST_F(LevelSlidingTest, TheKeyPieceSolvesLayoutAForTheRewardAndLeaves)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->OnPress(250, 150), RES_FAIL);  // the fixed cell never drags
    EXPECT_EQ(level->GetDragX(), -1);
    EXPECT_EQ(level->GetDragY(), -1);
    EXPECT_EQ(level->OnRelease(250, 150), RES_FAIL);
    Drag(*level, 0, 1, 0.4f);
    EXPECT_EQ(level->GetCells().Cell(4)->pieceId, 1);  // less than half a cell: still there
    Drag(*level, 0, 1, 2.0f);
    EXPECT_TRUE(level->IsSolved());
    EXPECT_EQ(Hint()->GetCount(), 2);
    EXPECT_TRUE(level->IsPlayerHelpLocked());
    for (int frame = 0; frame < 21 && !level->IsExitDone(); ++frame)
        EXPECT_EQ(level->Update(), RES_OK);
    EXPECT_TRUE(level->IsExitDone());
    EXPECT_EQ(level->Update(), RES_OK);
    EXPECT_EQ(m_world.m_nNextScene, 1u);
}

TEST_F(LevelSlidingTest, TheEasierLayoutPaysNothingAndASkipIsNotSavedAsDone)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    EXPECT_FALSE(level->IsHintRechargePaused());
    level->UseHint();
    EXPECT_TRUE(level->IsButtonShown(kSlidingEasyUnlocked));
    EXPECT_EQ(level->OnClick(620, 220), RES_OK);
    EXPECT_TRUE(level->IsEasyLayout());
    EXPECT_FALSE(level->IsHintRechargePaused()) << "the skip is still to give";
    const std::string easy = Saved(*level);
    level->UseHint();
    EXPECT_TRUE(level->IsButtonShown(kSlidingSkipUnlocked));
    EXPECT_TRUE(level->IsHintRechargePaused()) << "the easier layout in use counts as given";
    ASSERT_EQ(Restore(*level, easy), RES_OK);
    Drag(*level, 1, 1, 1.0f);
    EXPECT_TRUE(level->IsSolved());
    EXPECT_EQ(Hint()->GetCount(), 0);

    auto* skipped = Level();
    ASSERT_NE(skipped, nullptr);
    skipped->UseHint();
    skipped->UseHint();  // the easier layout is unlocked, not used: the skip is next
    EXPECT_TRUE(skipped->IsButtonShown(kSlidingSkipUnlocked));
    EXPECT_TRUE(skipped->IsHintRechargePaused());
    EXPECT_EQ(skipped->OnClick(620, 370), RES_OK);
    const std::string saved = Saved(*skipped);
    EXPECT_TRUE(skipped->IsExitDone());
    ASSERT_EQ(Restore(*skipped, saved), RES_OK);
    EXPECT_FALSE(skipped->IsExitDone());
    EXPECT_FALSE(skipped->IsSolved());
    EXPECT_EQ(Restore(*skipped, saved.substr(0, saved.size() - 1)), RES_FAIL);
}

TEST_F(LevelSlidingTest, TheTutorialShowsTheRestartTheEasierLayoutAndTheSkip)
{
    const auto font = UseTutorialPopup(m_world, Engine());
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    level->BeginModal();
    EXPECT_EQ(Data().m_nTutorialStep, 28u);
    EXPECT_EQ(std::u16string(m_world.GetTutorialPopup()->GetPage()), u"T135 2 9");
    level->RenderModal();
    EXPECT_NE(font->Find(u"T135 2 9"), nullptr);
    EXPECT_EQ(TutorialPages(m_world, *level), (std::vector<std::u16string>{u"29 T136 %d %d", u"30 T137 %d %d",
                                                                           u"31 T138 1 %d", u"32 T139 2 %d"}));
    const uint32_t shown[] = {1, 2, 5};  // the restart, easier-layout and skip buttons' parts
    for (uint32_t step = 30; step <= 32; ++step) {
        Data().m_nTutorialStep = step;
        Engine()->ClearDraws();
        font->m_drawn.clear();
        level->RenderModal();
        const auto& draws = Engine()->Draws();
        EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [&](const MemoryDraw& d) {
            return d.object == level->GetDisplayObject() && d.kind == MemoryDrawKind::RenderPart &&
                   d.part == shown[step - 30];
        })) << step;
        EXPECT_FALSE(font->m_drawn.empty()) << "and the pop-up";
    }
    m_model.layout.buttonParts[kSlidingEasyUnlocked] = kNoPart;
    auto* noEasier = Level();
    ASSERT_NE(noEasier, nullptr);
    noEasier->BeginModal();
    EXPECT_EQ(TutorialPages(m_world, *noEasier).back(), u"32 T139 2 %d") << "the easier layout's step is skipped";
    m_model.layout.buttonParts[kSlidingSkipUnlocked] = kNoPart;
    auto* noHelp = Level();
    ASSERT_NE(noHelp, nullptr);
    noHelp->BeginModal();
    EXPECT_EQ(TutorialPages(m_world, *noHelp).back(), u"30 T137 %d %d");
}

// The board under way, the easier layout's flag, the exit and the buttons, in that order after
// the base's fields; a fresh board takes them all back.
TEST_F(LevelSlidingTest, TheBoardIsSavedFieldByFieldAndDamagedSavesAreRefused)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    Hint()->AddHints(1);
    level->UseHint();
    EXPECT_EQ(level->OnClick(620, 220), RES_OK);  // the easier layout
    ASSERT_TRUE(level->IsEasyLayout());
    Drag(*level, 0, 1, 1.0f);  // the key one cell right, short of the targets
    ASSERT_FALSE(level->IsSolved());
    const CSlidingBoard& cells = level->GetCells();
    CByteWriter expected;
    expected.Text(SavedBase(*level));
    for (uint32_t n = 0; n < cells.CellCount(); ++n) {
        const SlidingCell& cell = *cells.Cell(n);
        for (uint16_t word : {uint16_t(cell.anchorX), uint16_t(cell.anchorY), uint16_t(cell.tile), cell.shape,
                              uint16_t(cell.pieceId), cell.flags})
            expected.U16(word);
    }
    expected.U8(1);  // the easier layout
    expected.U8(0);  // not out
    WriteButtons<kSlidingButtonCount>(expected, *level);
    const std::string saved = Saved(*level);
    EXPECT_EQ(saved, expected.Bytes());

    auto* fresh = Level();
    ASSERT_NE(fresh, nullptr);
    auto state = [&] {
        return BoardState<kSlidingButtonCount>(*fresh) + std::to_string(fresh->IsEasyLayout()) + "," +
               std::to_string(fresh->IsExitDone());
    };
    // A piece's cell with a shape the record lacks, or a tile past the picture, is refused.
    uint32_t taken = 0;
    while (taken < cells.CellCount() && cells.Cell(taken)->tile == kEmptyTile)
        ++taken;
    ASSERT_LT(taken, cells.CellCount());
    const size_t cell = 12 * (12 - taken) + 2 + 9;
    ExpectDamageRefused(*fresh, saved, state, {{cell - 6, "\x09\x00"}, {cell - 4, "\x40\x00"}});
    ASSERT_EQ(Restore(*fresh, saved), RES_OK);
    EXPECT_EQ(Saved(*fresh), saved);
    EXPECT_TRUE(fresh->IsEasyLayout());
}

} // namespace
