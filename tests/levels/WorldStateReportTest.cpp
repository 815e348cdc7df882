#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "game/GameStates.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/levels/LevelFixture.h"
#include "tests/levels/hiddenobject/HiddenObjectFixture.h"
#include "tests/levels/minigames/MiniGameFixture.h"
#include "tests/support/game/LevelStateReport.h"
#include "tests/support/game/ReportTokens.h"
#include "tests/support/game/WorldStateReport.h"

namespace {

using Fields = std::vector<std::string>;

// Every value of the key, split into its sub-fields.
std::vector<Fields> Values(const std::string& report, const std::string& key)
{
    std::vector<Fields> values;
    std::istringstream tokens(report);
    for (std::string token; tokens >> token;) {
        if (token.compare(0, key.size() + 1, key + "=") != 0)
            continue;
        Fields fields;
        std::istringstream value(token.substr(key.size() + 1));
        for (std::string field; std::getline(value, field, ',');)
            fields.push_back(field);
        if (token.back() == ',')
            fields.emplace_back();
        values.push_back(fields);
    }
    return values;
}

// The centre of the rectangle at sub-fields first to first + 3.
Vector2 Centre(const Fields& fields, size_t first)
{
    return {std::stof(fields[first]) + std::stof(fields[first + 2]) / 2,
            std::stof(fields[first + 1]) + std::stof(fields[first + 3]) / 2};
}

bool SameRandomState(const CRandomMT& a, const CRandomMT& b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

TEST(ReportTokensTest, TextsKeepOnlyThePlainBytesAndPixelsFollowTheWindowScale)
{
    EXPECT_EQ(CReportTokens::Encode("New game (1, 2)\n\xC3\xA9-a_b.c:d/e"), "New%20game%20%281%2C%202%29%0A%C3%A9-a_b.c:d/e");
    CWorldData data{};
    data.scaleX = 2.0f, data.scaleY = 0.5f;
    CReportTokens tokens(&data);
    tokens.Add("rect", tokens.Rect(10.2f, 20.0f, 30.0f, 41.0f));
    tokens.AddList("goal", {3, -1});
    EXPECT_EQ(tokens.Text(), "rect=20,10,60,21 goal=3,-1");
}

// The sample data's main menu: its page, lines and buttons where a release finds them.
class MenuStateReportTest : public GameLoadTest {};

TEST_F(MenuStateReportTest, TheMainMenuPageIsReportedWhereItsButtonsAreClicked)
{
    ASSERT_EQ(Load(), RES_OK);
    m_world.m_pScreenshot->StopFade();
    m_world.SetState(GS_MAIN_MENU, 0);
    Data()->hasFocus = 1;
    Frame();
    const CRandomMT random = Data()->random;
    const std::string report = ReportWorldState(&m_world);
    EXPECT_EQ(ReportWorldState(&m_world), report);
    EXPECT_TRUE(SameRandomState(random, Data()->random));
    EXPECT_EQ(Values(report, "state"), std::vector<Fields>{{"10"}});
    EXPECT_EQ(Values(report, "page"), std::vector<Fields>{{"0"}});
    EXPECT_EQ(Values(report, "level"), std::vector<Fields>{{"none"}});
    Fields play;
    for (const Fields& button : Values(report, "button")) {
        ASSERT_EQ(button.size(), 7u) << report;
        if (button[0] == "2")
            play = button;
    }
    ASSERT_FALSE(play.empty()) << report;
    EXPECT_EQ(play[5], "1");
    EXPECT_EQ(play[6], "Play");

    const Vector2 at = Centre(play, 1);
    Data()->pressX = Data()->pointerX = at.x;
    Data()->pressY = Data()->pointerY = at.y;
    Data()->mouseReleased[0] = 1;
    Frame();
    EXPECT_EQ(m_world.m_pMenuDialog->GetPage(), uint32_t{kPagePlay});
    EXPECT_EQ(Values(ReportWorldState(&m_world), "page"), std::vector<Fields>{{"1"}});
}

TEST(WorldStateReportTest, WithoutAWorldOnlyTheScalarsAreReported)
{
    EXPECT_EQ(ReportWorldState(nullptr),
              "state=-1 pending=-1 page=-1 scene=-1 record=-1 scenestate=-1 level=none hints=-1");
}

// A scene in the world's in-game state: each live part is reported at a point where a click
// takes it, also where a later part overlaps it.
class SceneStateReportTest : public HiddenObjectTest {
protected:
    void Start(const CHiddenObjectLevelModel& model)
    {
        Build(model);
        m_world.SetState(GS_IN_GAME, 0);
        m_world.m_nPendingState = GS_NONE;
        Data().m_nMode = 0, Data().m_nSlot = 1;
        ASSERT_EQ(m_level->AdvanceSceneState(true), RES_OK);
        ASSERT_TRUE(Succeeded(Frames(1)));
    }
};

TEST_P(SceneStateReportTest, LivePartsAreReportedWhereAClickTakesThem)
{
    CHiddenObjectRecordModel r;
    r.states[1].ghostsClickable = 1;
    // Part 1 covers the right half of part 0; part 3 waits for state 2 and part 4 is an arrow.
    Start(Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 1, 115, 100), Part(kPhaseGhost, kLive, kNoItem, 300, 300),
                 Part(2, kLive, 2, 400, 100), Part(kPhaseArrows, kLive, kNoItem, 500, 500)},
                r));
    ASSERT_EQ(m_level->GetSceneState(), 1u);
    const std::string report = ReportWorldState(&m_world);
    EXPECT_EQ(Values(report, "level"), std::vector<Fields>{{"hiddenobject"}});
    EXPECT_EQ(Values(report, "scenestate"), std::vector<Fields>{{"1"}});
    EXPECT_EQ(Values(report, "record"), std::vector<Fields>{{"1"}}) << "the profile slot played";
    EXPECT_EQ(Values(report, "scenerecord"), std::vector<Fields>{{"0"}});
    const std::vector<Fields> items = Values(report, "item");
    ASSERT_EQ(items.size(), 2u) << report;
    EXPECT_EQ(items[0][0], "0");
    EXPECT_EQ(items[0][1], "0");
    EXPECT_EQ(items[0][6], "Name");
    EXPECT_EQ(Values(report, "tool").size(), 4u) << "menu, zoom, tutorial and the hint: " << report;

    const std::vector<Fields> parts = Values(report, "part");
    ASSERT_EQ(parts.size(), 3u) << report;
    const std::vector<std::pair<std::string, std::string>> expected = {{"part2", "ghost"}, {"Other", "object"},
                                                                       {"Name", "object"}};
    const uint32_t indexes[] = {2, 1, 0};
    for (size_t n = 0; n < parts.size(); ++n) {
        EXPECT_EQ(parts[n][0], expected[n].first);
        EXPECT_EQ(parts[n][3], expected[n].second);
    }
    // The covered part first, so that the part over it is still there.
    for (size_t n : {size_t{2}, size_t{1}, size_t{0}}) {
        const float x = std::stof(parts[n][1]), y = std::stof(parts[n][2]);
        EXPECT_EQ(m_level->OnClick(x, y), RES_OK) << parts[n][0];
        EXPECT_TRUE(Flags(indexes[n]) & kPartWaiting) << parts[n][0] << " at " << x << ", " << y;
        EXPECT_TRUE(Succeeded(Frames(8)));
    }
}

TEST_P(SceneStateReportTest, TheQuizReportsItsAnswersWhereTheyAreChosen)
{
    CHiddenObjectRecordModel r;
    r.initialState = kStateQuiz, r.quizQuestion = 0, r.quizLayout = 1;
    r.answers[0].text = 1, r.answers[2].text = 2;
    Table("en", ".commons", {u"Question?", u"Yes, sure", u"No"});
    Open();
    ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
    Start(Scene({Part(1, kLive, 0, 100, 100)}, r));
    ASSERT_EQ(m_level->GetSceneState(), kStateQuiz);
    const CRandomMT random = m_world.GetData()->random;
    const std::vector<Fields> answers = Values(ReportWorldState(&m_world), "quiz");
    EXPECT_TRUE(SameRandomState(random, m_world.GetData()->random));
    EXPECT_TRUE(Values(ReportWorldState(&m_world), "part").empty());
    ASSERT_EQ(answers.size(), 2u);
    for (const Fields& answer : answers) {
        EXPECT_EQ(answer[5], answer[0] == "0" ? "Yes%2C%20sure" : "No");
        const Vector2 at = Centre(answer, 1);
        SetPointer(at.x, at.y, at.x, at.y);
        m_world.GetData()->mouseReleased[0] = 1;
        m_level->StepQuiz();
        EXPECT_EQ(m_level->GetChosenAnswer(), std::stoi(answer[0]));
    }
}

INSTANTIATE_TEST_SUITE_P(FontTypes, SceneStateReportTest, ::testing::Values(0u, 2u));

TEST_F(LevelBaseTest, TheActiveStarIsReportedWhereAClickCatchesIt)
{
    CLevelUnderTest& level = MakeLevel(TwoPartLevel());
    level.PlaceStars();
    level.PickStarSlot();
    CReportTokens tokens(Data());
    ReportLevelState(tokens, m_world, level);
    const std::vector<Fields> star = Values(tokens.Text(), "star");
    ASSERT_EQ(star.size(), 1u) << tokens.Text();
    EXPECT_EQ(star[0][0], std::to_string(level.GetActiveStar()));
    EXPECT_EQ(level.OnClick(std::stof(star[0][1]), std::stof(star[0][2])), RES_OK);
    CReportTokens caught(Data());
    ReportLevelState(caught, m_world, level);
    EXPECT_TRUE(Values(caught.Text(), "star").empty()) << "a caught star is gone";
}

// The mini-games' share of the report, read from the level alone.
class MiniGameStateReportTest : public MiniGameTest {
protected:
    std::string Report(CGameLevel& level)
    {
        CReportTokens tokens(m_world.GetData());
        ReportLevelState(tokens, m_world, level);
        return tokens.Text();
    }
};

// A 2 x 1 jigsaw with its shuffle and preview buttons (part 0 the board (100, 100)-(300, 200)).
TEST_F(MiniGameStateReportTest, AJigsawsBoardItsSlotsAndItsShownButtonsAreReported)
{
    const std::vector<CQuadPart> quads = {{100, 100, 300, 200}, {600, 100, 640, 140, 4}, {600, 200, 640, 240, 4}};
    CJigsawModel model;
    model.level.scene = Scene(quads);
    model.level.records.resize(1);
    model.layout.boardPart = 0;
    model.layout.buttonParts[kJigsawShuffleButton] = 1;
    model.layout.buttonParts[kJigsawPreviewLocked] = 2;
    model.records = {CJigsawRecordModel{}};
    auto* level = Make<CLevelJigsaw>(JigsawBody(model), quads);
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->BuildPieces(), RES_OK);
    ASSERT_EQ(level->Start(kSceneStateFresh), RES_OK);

    const std::string report = Report(*level);
    const std::vector<Fields> board = Values(report, "board");
    ASSERT_EQ(board.size(), 1u) << report;
    const JigsawCell& first = *level->GetCells().Cell(0);
    EXPECT_EQ(board[0], (Fields{"jigsaw", "2", "1", std::to_string(first.piece) + ":" + std::to_string(first.rotation),
                                std::to_string(level->GetCells().Cell(1)->piece) + ":" +
                                    std::to_string(level->GetCells().Cell(1)->rotation)}));
    const std::vector<Fields> slots = Values(report, "slot");
    ASSERT_EQ(slots.size(), 2u);
    for (uint32_t n = 0; n < 2; ++n) {
        uint32_t column = 9, row = 9;
        const Vector2 at = Centre(slots[n], 1);
        EXPECT_TRUE(level->CellAt(at.x, at.y, &column, &row));
        EXPECT_EQ(column, n);
        EXPECT_EQ(slots[n][3], "100");
    }
    const std::vector<Fields> buttons = Values(report, "button");
    ASSERT_EQ(buttons.size(), 2u) << report;
    EXPECT_EQ(buttons[0][0], std::to_string(2000 + kJigsawShuffleButton));
    EXPECT_EQ(buttons[1][0], std::to_string(2000 + kJigsawPreviewLocked));
    const Vector2 shuffle = Centre(buttons[0], 1);
    EXPECT_NEAR(shuffle.x, 620, 20);
    EXPECT_NEAR(shuffle.y, 120, 20);
    EXPECT_EQ(level->OnClick(shuffle.x, shuffle.y), RES_OK);
}

// Two targets of radius 80: the first drawn at its part's centre, the second's point below its
// part, so that a click must land on the part within the radius.
TEST_F(MiniGameStateReportTest, ShootTargetsAreReportedWhereAClickHitsThem)
{
    const std::vector<CQuadPart> quads = {{0, 0, 1024, 768, 11},
                                          {100, 100, 200, 200, 0, kPartDrawn | kPartClickable, 80},
                                          {500, 100, 600, 200, 0, kPartDrawn | kPartClickable, 80}};
    CShootModel model;
    model.level.scene = Scene(quads);
    model.level.records.resize(1);
    model.targets = {{1, 1, {150, 150, 0}}, {2, 1, {550, 230, 0}}};
    model.records.resize(1);
    model.records[0].goal = 5;
    auto* level = Make<CLevelShoot>(ShootBody(model), quads);
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(kSceneStateFresh), RES_OK);
    ASSERT_GE(level->GetField().SlotCount(), 2u);
    for (uint8_t target = 0; target < 2; ++target)
        level->GetField().Slots()[target] = ShootSlot{target, {}, 1.0f, 9, {}, kShootShown};

    const std::string report = Report(*level);
    EXPECT_EQ(Values(report, "goal"), (std::vector<Fields>{{"0", "5"}}));
    const std::vector<Fields> targets = Values(report, "target");
    ASSERT_EQ(targets.size(), 2u) << report;
    EXPECT_EQ(targets[0], (Fields{"0", "150", "150", "0"}));
    for (uint32_t n = 0; n < 2; ++n) {
        EXPECT_EQ(level->OnClick(std::stof(targets[n][1]), std::stof(targets[n][2])), RES_OK) << report;
        EXPECT_EQ(level->GetField().Slot(n)->state, kShootHit);
    }
    EXPECT_TRUE(Values(Report(*level), "target").empty()) << "hit targets are no longer live";
}

// A 4 x 3 sliding board (part 0 (100, 100)-(500, 400)) with a two-cell key piece at (0, 1) and its
// targets at (2, 1) and (3, 1).
TEST_F(MiniGameStateReportTest, TheSlidingBoardReportsItsKeyPieceAndWhereItMustGo)
{
    const std::vector<CQuadPart> quads = {{100, 100, 500, 400}};
    CSlidingModel model;
    model.level.scene = Scene(quads);
    model.level.records.resize(1);
    model.layout.boardPart = 0;
    CSlidingRecordModel r;
    r.gridColumns = 4, r.gridRows = 3, r.pictureColumns = 4, r.pictureRows = 3;
    r.shapes = {{{{0, 0}, {1, 0}}, kSlideAlongRows}, {{{0, 0}}, 0}};
    r.Place(0, 0, 0, 1, 1, 0, true);
    r.Place(0, 1, 1, 0, 2, 2, false);
    r.MarkTarget(0, 2, 1);
    r.MarkTarget(0, 3, 1);
    r.exitDirections[0] = 4;
    model.records = {r};
    auto* level = Make<CLevelSliding>(SlidingBody(model), quads);
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->Start(kSceneStateFresh), RES_OK);

    const std::string report = Report(*level);
    EXPECT_EQ(Values(report, "board"), (std::vector<Fields>{{"sliding", "4", "3", "-1", "2", "-1", "-1", "1", "1", "-1",
                                                             "-1", "-1", "-1", "-1", "-1"}}));
    EXPECT_EQ(Values(report, "key"), std::vector<Fields>{{"1"}});
    EXPECT_EQ(Values(report, "exit"), (std::vector<Fields>{{"300", "200", "200", "100"}}));
    EXPECT_EQ(Values(report, "exitdir"), std::vector<Fields>{{"4"}});
    EXPECT_EQ(Values(report, "slot").size(), 12u);
}

} // namespace
