#include "levels/jigsaw/LevelJigsaw.h"

#include <algorithm>

#include "tests/levels/minigames/MiniGameFixture.h"

namespace {

// Part 0 the board (100, 100)-(300, 200): two cells of 100 x 100; then the shuffle, preview
// (unlocked, locked) and solve (unlocked, locked) buttons.
const std::vector<CQuadPart> kQuads = {{100, 100, 300, 200},
                                       {600, 100, 640, 140, 4},
                                       {600, 200, 640, 240, 4},
                                       {600, 250, 640, 290, 4},
                                       {600, 300, 640, 340, 4},
                                       {600, 350, 640, 390, 4}};

class LevelJigsawTest : public MiniGameTest {
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        m_model.level.scene = Scene(kQuads);
        m_model.level.records.resize(2);
        m_model.layout.boardPart = 0;
        m_model.layout.buttonParts[kJigsawShuffleButton] = 1;
        m_model.layout.buttonParts[kJigsawPreviewUnlocked] = 2;
        m_model.layout.buttonParts[kJigsawPreviewLocked] = 3;
        m_model.layout.buttonParts[kJigsawSolveUnlocked] = 4;
        m_model.layout.buttonParts[kJigsawSolveLocked] = 5;
        m_model.layout.buttonPositions[kJigsawSolveUnlocked] = {620, 320, 0};
        CJigsawRecordModel record;
        record.exit.nextScene = 2;
        record.exit.hintReward = 3;
        m_model.records = {record, record};
        m_model.records[1].columns = 4, m_model.records[1].rows = 3;
        m_model.records[1].modeFlags = kJigsawRotate;
        GiveHint(0);
    }

    CMiniGameUnderTest<CLevelJigsaw>* Level()
    {
        auto* level = Make<CLevelJigsaw>(JigsawBody(m_model), kQuads);
        EXPECT_NE(level, nullptr);
        if (level) {
            EXPECT_EQ(level->BuildPieces(), RES_OK);
        }
        return level;
    }

    std::vector<uint16_t> Pieces(const CLevelJigsaw& level)
    {
        std::vector<uint16_t> pieces;
        for (uint32_t i = 0; i < level.GetCells().CellCount(); ++i)
            pieces.push_back(level.GetCells().Cell(i)->piece);
        return pieces;
    }

    CJigsawModel m_model;
};

TEST_F(LevelJigsawTest, DescriptionsRoundTripAndRefuseBoardsThatCannotMix)
{
    CLevelJigsaw level(m_world.GetData(), Engine(), 0);
    ASSERT_EQ(Describe(level, JigsawBody(m_model)), RES_OK);
    const auto* record = static_cast<CLevelJigsawRecord*>(level.GetRecord(1));
    EXPECT_EQ(record->columns, 4);
    EXPECT_EQ(record->exit.nextScene, 2u);
    EXPECT_EQ(level.GetLayout().buttonParts[kJigsawSolveLocked], 5u);
    EXPECT_FLOAT_EQ(level.GetLayout().buttonPositions[kJigsawSolveUnlocked].y, 320.0f);
    const auto refused = [&](auto change) {
        CJigsawModel model = m_model;
        change(model);
        CLevelJigsaw other(m_world.GetData(), Engine(), 0);
        return Describe(other, JigsawBody(model)) == RES_FAIL;
    };
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.records[0].shuffleCount = 0; }));
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.records[0].columns = 0; }));
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.records[0].holePiece = 2; }));
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.records[1].modeFlags = kJigsawShift; }));
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.layout.boardPart = 6; }));
    EXPECT_TRUE(refused([](CJigsawModel& m) { m.layout.buttonParts[20] = 9; }));
    EXPECT_EQ(level.Release(), RES_OK);
}

TEST_F(LevelJigsawTest, PlayPaysTheRewardAndLeadsOnOnceTheMessageIsClosed)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);
    EXPECT_EQ(Pieces(*level), (std::vector<uint16_t>{1, 0}));
    EXPECT_EQ(level->OnClick(150, 150), RES_FAIL);  // selects
    EXPECT_EQ(level->GetSelectedCell(), 0);
    EXPECT_EQ(level->OnClick(150, 150), RES_FAIL);  // deselects
    EXPECT_EQ(level->GetSelectedCell(), kNoCell);
    EXPECT_EQ(level->OnClick(150, 150), RES_FAIL);
    EXPECT_EQ(level->OnClick(250, 150), RES_OK);  // swaps: solved
    EXPECT_TRUE(level->IsSolved());
    EXPECT_EQ(m_world.GetPendingState(), uint32_t{GS_LEVEL_MESSAGE});
    EXPECT_EQ(Hint()->GetCount(), 3);
    EXPECT_EQ(level->Update(), RES_OK);
    EXPECT_EQ(m_world.m_nNextScene, kNoIndex);  // the message is pending
    m_world.SetState(GS_IN_GAME, 1);  // the message's OK button
    EXPECT_EQ(level->Update(), RES_OK);
    EXPECT_EQ(m_world.m_nNextScene, 2u);
}

TEST_F(LevelJigsawTest, HintsUnlockThePreviewThenTheSolutionWhichPaysNothing)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);
    EXPECT_EQ(level->OnClick(620, 320), RES_FAIL);  // solve still locked
    level->UseHint();
    EXPECT_TRUE(level->IsButtonShown(kJigsawPreviewUnlocked));
    EXPECT_FALSE(level->IsButtonShown(kJigsawSolveUnlocked));
    EXPECT_FALSE(level->IsHintRechargePaused()) << "the solution is still to give";
    level->UseHint();
    EXPECT_TRUE(level->IsButtonShown(kJigsawSolveUnlocked));
    EXPECT_FALSE(level->IsButtonShown(kJigsawSolveLocked));
    EXPECT_TRUE(level->IsHintRechargePaused()) << "all help given";
    EXPECT_EQ(level->OnClick(620, 320), RES_OK);
    EXPECT_TRUE(level->IsSolved());
    EXPECT_EQ(Hint()->GetCount(), 0);
    level->Shuffle(true);
    EXPECT_FALSE(level->IsHintRechargePaused()) << "locked again";
    m_model.layout.buttonParts[kJigsawPreviewLocked] = m_model.layout.buttonParts[kJigsawSolveLocked] = kNoPart;
    auto* helpless = Level();
    ASSERT_NE(helpless, nullptr);
    ASSERT_EQ(helpless->Start(14), RES_OK);
    EXPECT_TRUE(helpless->IsHintRechargePaused()) << "no help to give";
}

// The tutorial's solve step highlights the solve button at its position times the zoom, away
// from the camera's offset.
TEST_F(LevelJigsawTest, TheTutorialHighlightsAButtonAtItsPositionTimesTheZoom)
{
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    m_world.m_fZoom = 0.5f;
    Matrix4& view = Data().m_matView[0];
    view.m[0] = view.m[5] = 0.5f, view.m[12] = 60.0f;
    Data().m_nTutorialStep = 20;
    Engine()->ClearDraws();
    level->RenderModal();
    const std::vector<MemoryDraw> draws = Engine()->DrawsOf(level->GetDisplayObject());
    ASSERT_FALSE(draws.empty());
    const MemoryDraw& highlight = draws.back();
    EXPECT_EQ(highlight.part, 4u);
    EXPECT_FLOAT_EQ(highlight.matrix.m[0] * 620 + highlight.matrix.m[12], 310.0f);
    EXPECT_FLOAT_EQ(highlight.matrix.m[5] * 320 + highlight.matrix.m[13], 160.0f);
}

TEST_F(LevelJigsawTest, ARecordSwitchRebuildsAndASavedBoardResumes)
{
    m_model.records[1].columnMarks = {0, 1};
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);
    level->SetCurrentRecord(1);
    ASSERT_EQ(level->Start(14), RES_OK);
    Engine()->ClearMisuses();
    Engine()->ClearDraws();
    level->Render();
    level->RenderMessage();
    EXPECT_TRUE(Engine()->Misuses().empty());
    EXPECT_GE(Engine()->Draws().size(), 2 * 12u + 2);  // the pieces twice, the frame and the cover
    EXPECT_EQ(level->GetBoard().columns, 4u);
    const std::vector<uint16_t> before = Pieces(*level);
    const std::string saved = Saved(*level);
    level->Shuffle(false);
    ASSERT_EQ(Restore(*level, saved), RES_OK);
    EXPECT_EQ(Pieces(*level), before);
    std::string broken = saved;
    broken[broken.size() - 21 - 3 - 6 * 12] = '\x40';  // the first cell's piece: past the grid
    EXPECT_EQ(Restore(*level, broken), RES_FAIL);
    EXPECT_EQ(Restore(*level, saved.substr(0, saved.size() - 1)), RES_FAIL);
    // Switched back to the smaller record without a restart: the picture is the built board's.
    level->SetCurrentRecord(0);
    Engine()->ClearDraws();
    level->RenderMessage();
    const auto& draws = Engine()->Draws();
    EXPECT_EQ(std::count_if(draws.begin(), draws.end(), [](const MemoryDraw& d) { return d.kind == MemoryDrawKind::RenderPart; }),
              12 - 3) << "column 1 of the 4 x 3 board is marked";
}

// The board under way (4 x 3, turned pieces), its solved flag, the selection and the buttons,
// in that order after the base's fields; a fresh board takes them all back.
TEST_F(LevelJigsawTest, TheBoardIsSavedFieldByFieldAndDamagedSavesAreRefused)
{
    m_model.records[0] = m_model.records[1];
    m_model.records[0].modeFlags = kJigsawRotate | kJigsawSwap;
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);
    Hint()->AddHints(2);
    level->UseHint();  // the preview unlocked
    EXPECT_EQ(level->OnClick(125, 115), RES_FAIL);  // the first cell selected
    const CJigsawBoard& cells = level->GetCells();
    ASSERT_EQ(cells.CellCount(), 12u);
    ASSERT_EQ(level->GetSelectedCell(), 0);
    CByteWriter expected;
    expected.Text(SavedBase(*level));
    for (uint32_t n = 0; n < cells.CellCount(); ++n) {
        const JigsawCell& cell = *cells.Cell(n);
        expected.U16(cell.piece);
        for (uint8_t byte : {cell.flipped, cell.rotation, cell.slideDirections, cell.reserved})
            expected.U8(byte);
    }
    expected.U8(level->IsSolved() ? 1 : 0);
    expected.U16(level->GetSelectedCell());
    WriteButtons<kJigsawButtonCount>(expected, *level);
    const std::string saved = Saved(*level);
    EXPECT_EQ(saved, expected.Bytes());

    auto* fresh = Level();
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(fresh->Start(14), RES_OK);
    auto state = [&] {
        return BoardState<kJigsawButtonCount>(*fresh) + std::to_string(fresh->IsSolved()) + "," +
               std::to_string(fresh->GetSelectedCell());
    };
    // A piece past the board, a piece twice and a selection past the cells are refused.
    const size_t firstCell = 12 * 6 + 3 + 21;
    ExpectDamageRefused(*fresh, saved, state,
                        {{firstCell, "\x0C"}, {firstCell, saved.substr(saved.size() - firstCell + 6, 2)},
                         {23, "\x0C\x00"}});
    ASSERT_EQ(Restore(*fresh, saved), RES_OK);
    EXPECT_EQ(Saved(*fresh), saved);
    EXPECT_EQ(fresh->GetSelectedCell(), 0);
    EXPECT_TRUE(fresh->IsButtonShown(kJigsawPreviewUnlocked));
}

TEST_F(LevelJigsawTest, ReleasesMoveByWholeCellsPastHalfACell)
{
    m_model.records[0].columns = 3;
    m_model.records[0].holePiece = 2;
    m_model.records[0].modeFlags = kJigsawSlide | kJigsawHorizontal;
    m_model.records[0].shuffleCount = 1;
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);  // one slide: [0, 2, 1] with the hole in the middle
    const float cell = level->GetBoard().cellWidth;
    ASSERT_EQ(Pieces(*level), (std::vector<uint16_t>{0, 2, 1}));
    const float y = level->GetBoard().CentreY(0, 0);
    const float x = level->GetBoard().CentreX(2, 0);
    EXPECT_EQ(level->OnPress(x, y), RES_FAIL);
    EXPECT_EQ(level->OnDrag(x - cell / 2, y, 0), RES_FAIL);
    EXPECT_EQ(level->OnRelease(x - cell / 2, y), RES_FAIL);
    EXPECT_EQ(Pieces(*level), (std::vector<uint16_t>{0, 2, 1}));
    EXPECT_EQ(level->OnPress(x, y), RES_FAIL);
    EXPECT_EQ(level->OnDrag(x - cell, y, 0), RES_FAIL);
    EXPECT_EQ(level->OnRelease(x - cell, y), RES_FAIL);
    EXPECT_EQ(Pieces(*level), (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_TRUE(level->IsSolved());
}

TEST_F(LevelJigsawTest, TheTutorialShowsTheStepsOfTheRecordsToolsAndHelp)
{
    const auto font = UseTutorialPopup(m_world, Engine());
    auto* level = Level();
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(14), RES_OK);
    level->BeginModal();
    EXPECT_EQ(Data().m_nTutorialStep, 11u);
    EXPECT_EQ(std::u16string(m_world.GetTutorialPopup()->GetPage()), u"T118 3 9") << "the reward, the button's most";
    level->RenderModal();
    EXPECT_NE(font->Find(u"T118 3 9"), nullptr);
    EXPECT_EQ(TutorialPages(m_world, *level),
              (std::vector<std::u16string>{u"12 T119 %d %d", u"13 T120 %d %d", u"18 T125 %d %d", u"19 T126 1 %d",
                                           u"20 T127 2 %d"}))
        << "the stars, the swap, the shuffle, the preview and the solution";
    level->SetCurrentRecord(1);  // rotations only
    level->BeginModal();
    EXPECT_EQ(TutorialPages(m_world, *level)[1], u"16 T123 %d %d");
    Data().m_nTutorialStep = 18;
    Engine()->ClearDraws();
    level->RenderModal();
    const auto& draws = Engine()->Draws();
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [&](const MemoryDraw& d) {
        return d.object == level->GetDisplayObject() && d.kind == MemoryDrawKind::RenderPart && d.part == 1;
    })) << "the shuffle button";
    m_model.layout.buttonParts[kJigsawPreviewUnlocked] = m_model.layout.buttonParts[kJigsawSolveUnlocked] = kNoPart;
    auto* helpless = Level();
    ASSERT_NE(helpless, nullptr);
    ASSERT_EQ(helpless->Start(14), RES_OK);
    helpless->BeginModal();
    EXPECT_EQ(TutorialPages(m_world, *helpless).back(), u"18 T125 %d %d") << "no help buttons, no help steps";
}

} // namespace
