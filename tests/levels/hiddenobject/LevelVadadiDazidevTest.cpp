#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include <algorithm>

#include "core/Random.h"
#include "game/GameStates.h"
#include "levels/objects/LevelTimer.h"
#include "tests/levels/hiddenobject/HiddenObjectFixture.h"

namespace {

using Items = std::vector<std::pair<uint32_t, uint32_t>>;

class LevelVadadiDazidevTest : public HiddenObjectTest {};

TEST_P(LevelVadadiDazidevTest, ClicksTakeTheLastShownCandidateAndSwallowWhileBusy)
{
    CHiddenObjectRecordModel r;
    r.maxShownItems = 2, r.hitSounds[1] = 2, r.ghostSound = 3;
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 1, 110, 110),
                                           Part(1, kLive, 2, 300, 100), Part(2, kLive, 3, 500, 100),
                                           Part(1, kLive | kPartToggles, kNoItem, 700, 100),
                                           Part(kPhaseGhost, kLive, kNoItem, 900, 100)},
                                          r));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    Toolbar().Layout();
    EXPECT_EQ(level.OnClick(105, 105), RES_OK);
    EXPECT_EQ(Flags(1), kLive | kPartWaiting | kPartFadingOut) << "the later part wins";
    EXPECT_EQ(Flags(0), kLive);
    EXPECT_EQ(m_bank->Plays(2), 1);
    EXPECT_EQ(level.OnClick(300, 100), RES_FAIL) << "item past the shown row";
    EXPECT_EQ(level.OnClick(500, 100), RES_FAIL) << "another phase";
    EXPECT_EQ(level.OnClick(900, 100), RES_FAIL) << "ghosts need their state's leave";
    Record(0).states[1].ghostsClickable = 1;
    EXPECT_EQ(level.OnClick(900, 100), RES_OK);
    EXPECT_EQ(m_bank->Plays(3), 1);
    EXPECT_EQ(Count(2), 1u) << "a ghost leaves the toolbar alone";
    level.m_nSceneState = kStateQuiz;
    EXPECT_EQ(level.OnClick(100, 100), RES_FAIL);
    level.m_nSceneState = 1;
    EXPECT_EQ(level.OnClick(700, 100), RES_OK) << "a switch needs no listed item";
    EXPECT_EQ(level.GetSelectedPart(), 4);
    EXPECT_EQ(level.OnClick(100, 100), RES_OK) << "swallowed during the blink";
    EXPECT_EQ(Flags(0), kLive);
}

TEST_P(LevelVadadiDazidevTest, CollectingEmptiesTheToolbarAndTheStateMovesOn)
{
    CHiddenObjectRecordModel r;
    r.hitSounds[1] = 2, r.itemsDoneSounds[1] = 4, r.states[1].nextState = 2, r.states[2].nextState = kStateQuiz;
    CTestHiddenLevel& level = Build(
        Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 0, 300, 100), Part(2, kLive, 1, 500, 100)}, r));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(Listed(), (Items{{0, 2}}));
    EXPECT_TRUE(Succeeded(Frames(1)));
    ASSERT_EQ(level.OnClick(100, 100), RES_OK);
    EXPECT_EQ(Count(0), 1u);
    EXPECT_EQ(m_bank->Plays(4), 0) << "the toolbar still lists the item";
    ASSERT_EQ(level.OnClick(300, 100), RES_OK);
    EXPECT_EQ(m_bank->Plays(4), 1);
    EXPECT_EQ(Frames(1), 3) << "fades hold the state";
    EXPECT_EQ(level.GetSceneState(), 1u);
    EXPECT_TRUE(Succeeded(Frames(4)));
    EXPECT_EQ(Flags(0), kPartClickable | kPartWaiting) << "faded out, no longer drawn";
    EXPECT_EQ(level.GetSceneState(), 2u);
    EXPECT_EQ(Listed(), (Items{{1, 1}}));
    Toolbar().Layout();
    ASSERT_EQ(level.OnClick(500, 100), RES_OK);
    EXPECT_EQ(m_tooltip->m_events, (Items{{0, 2}})) << "collection objects tell the tooltips";
    const int checks = m_tooltip->m_nChecks;
    EXPECT_TRUE(Succeeded(Frames(6)));
    EXPECT_EQ(level.GetSceneState(), kStateArrows) << "a quiz state without a question falls through";
    EXPECT_GT(m_tooltip->m_nChecks, checks);
}

TEST_P(LevelVadadiDazidevTest, TheDeveloperShortcutFindsTheStateAndTakesTheOnlyArrow)
{
    CHiddenObjectRecordModel r;
    r.states[1].nextState = kStateArrows;
    CHiddenObjectLevelModel model = Scene({Part(1, kLive, 0, 100, 100), Part(2, kLive, 1, 200, 100),
                                           Part(kPhaseArrows, kLive, kNoItem, 300, 100)},
                                          r);
    model.level.pairs = {{2, 3}};
    CTestHiddenLevel& level = Build(model);
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    level.OnKeyShortcuts(false);
    EXPECT_EQ(Flags(0), kPartClickable | kPartWaiting) << "found: hidden at once";
    EXPECT_EQ(Flags(1), kLive);
    EXPECT_EQ(level.GetSceneState(), kStateArrows);
    EXPECT_EQ(level.m_nEnds, 0);
    level.OnKeyShortcuts(true);
    EXPECT_EQ(level.m_nEnds, 1) << "the only arrow's scene is the scene count";
}

TEST_P(LevelVadadiDazidevTest, ACompletedStateEndsTheGameOrLeavesByItsTargetOrArgument)
{
    for (int32_t target : {3, 2, -1}) {
        CHiddenObjectRecordModel r;
        r.states[1].endTargetScene = target, r.states[1].endArgument = 0;
        CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100)}, r));
        m_world.m_nNextScene = kNoIndex, m_world.m_nSceneArgument = kNoIndex;
        EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
        Toolbar().Layout();
        EXPECT_EQ(level.OnClick(100, 100), RES_OK);
        EXPECT_TRUE(Succeeded(Frames(8)));
        EXPECT_EQ(level.m_nEnds > 0, target == 3) << target;
        EXPECT_EQ(m_world.m_nNextScene, target == 3 ? kNoIndex : target == 2 ? 2u : 0u) << target;
        EXPECT_EQ(m_world.m_nSceneArgument, target == -1 ? 0u : kNoIndex) << target;
        EXPECT_EQ(level.Release(), RES_OK);
    }
}

TEST_P(LevelVadadiDazidevTest, ASwitchBlinksOutAndInThenActsByEachOfItsPaths)
{
    for (int path = 0; path < 3; ++path) {
        CHiddenObjectRecordModel r;
        r.switchTargetScene = path == 0 ? 3 : -1;
        r.switchRecord = path == 1 ? 0 : -1;
        r.switchNextState = kSceneStateFresh;
        r.switchPopup = {6, 0, 0, 0};
        CTestHiddenLevel& level = Build(
            Scene({Part(1, kLive | kPartToggles, kNoItem, 100, 100), Part(1, kLive, 0, 300, 100)}, r));
        m_world.m_nSceneArgument = kNoIndex;
        EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
        ASSERT_EQ(level.OnClick(100, 100), RES_OK);
        EXPECT_TRUE(Succeeded(Frames(5)));
        EXPECT_TRUE(Flags(0) & kPartFadingIn) << "out, then back in";
        EXPECT_TRUE(Succeeded(Frames(6)));
        EXPECT_EQ(level.GetSelectedPart(), -1);
        EXPECT_TRUE(Flags(0) & kPartDrawn);
        EXPECT_EQ(level.PeekPopup(), 6);
        EXPECT_EQ(level.m_nEnds > 0, path == 0);
        EXPECT_EQ(m_world.m_nSceneArgument, path == 1 ? 0u : kNoIndex);
        if (path == 2) {
            EXPECT_EQ(level.GetSceneState(), 1u) << "14 restarts the state";
            EXPECT_EQ(Listed(), (Items{{0, 1}}));
            EXPECT_FALSE(level.IsDone());
        }
        EXPECT_EQ(level.Release(), RES_OK);
    }
    // A hidden switch that kept a fading-out bit from before blinks in and back out all the same.
    CTestHiddenLevel& level = Build(
        Scene({Part(1, kPartClickable | kPartToggles | kPartFadingOut, kNoItem, 100, 100), Part(1, kLive, 0, 300, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    ASSERT_EQ(level.OnClick(100, 100), RES_OK);
    EXPECT_TRUE(Succeeded(Frames(5)));
    EXPECT_EQ(level.GetSelectedPart(), 0) << "still blinking once drawn";
    EXPECT_TRUE(Flags(0) & kPartFadingOut);
    EXPECT_TRUE(Succeeded(Frames(6)));
    EXPECT_EQ(level.GetSelectedPart(), -1);
    EXPECT_EQ(Flags(0) & (kPartDrawn | kPartWaiting), 0u) << "hidden again, and clickable";
}

TEST_P(LevelVadadiDazidevTest, TheToolbarPickKeepsOrderOrPlacesAtRandom)
{
    const std::vector<CScenePartModel> parts = {Part(1, kLive, 5, 100, 100), Part(1, kLive, 6, 200, 100),
                                                Part(1, kLive, 5, 300, 100), Part(1, kLive, 7, 400, 100),
                                                Part(1, kLive | kPartToggles, 9, 500, 100),
                                                Part(1, kLive, kNoItem, 600, 100), Part(1, kLive, 8, 700, 100)};
    CHiddenObjectRecordModel r;
    EXPECT_EQ(Build(Scene(parts, r)).AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(Listed(), (Items{{5, 2}, {6, 1}, {7, 1}, {8, 1}})) << "no switch, no missing item";
    EXPECT_EQ(m_level->Release(), RES_OK);

    r.states[1].randomPick = 1, r.maxPickedItems = 2;
    RandomSeed(m_world.GetData()->random, 7);
    EXPECT_EQ(Build(Scene(parts, r)).AdvanceSceneState(true), RES_OK);
    // After the two effect clocks, seed 7 draws 3 and 1 (8 and 6 dropped), then places 0 and 1.
    EXPECT_EQ(Listed(), (Items{{5, 2}, {7, 1}}));
    EXPECT_EQ(m_level->Release(), RES_OK);

    r.maxPickedItems = 6;
    EXPECT_EQ(Build(Scene(parts, r)).AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(Listed().size(), 4u) << "empty places add nothing";
    EXPECT_EQ(m_level->Release(), RES_OK);

    r.maxPickedItems = 1, r.maxShownItems = 4;
    Data().m_bDebugKeys = 1;
    EXPECT_EQ(Build(Scene(parts, r)).AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(Listed().size(), 4u) << "the developer sees every item";
    CStringStream saved;
    ASSERT_EQ(Toolbar().SaveToProfile(saved), RES_OK);
    EXPECT_EQ(saved.m_bytes[8], 0) << "four items, four shown: not centred";
    EXPECT_EQ(m_level->Release(), RES_OK);
    r.maxShownItems = 1;
    EXPECT_EQ(Build(Scene(parts, r)).AdvanceSceneState(true), RES_OK);
    CStringStream centred;
    ASSERT_EQ(Toolbar().SaveToProfile(centred), RES_OK);
    EXPECT_EQ(centred.m_bytes[8], 1);
}

TEST_P(LevelVadadiDazidevTest, TimedStatesGetTheirSecondsAndTheTimeAttackKeysFollowTheChain)
{
    m_world.m_pTimer = std::make_unique<CLevelTimer>(m_world.GetData(), m_engine, 0);
    Data().m_nMode = 1;
    Data().m_nSecondsPerObject[1] = 7;
    m_files["ext.ini"] = "[TIME_ATTACK]\nLEVEL_1_PARAM_1_EXTRA_SECONDS_ON_HO = 30\n"
                         "LEVEL_1_PARAM_1_EXTRA_SECONDS_ON_CO = 5\nLEVEL_1_PARAM_2_EXTRA_SECONDS_ON_HO = 9\n";
    WritePaks();
    Data().m_pExternalParams = std::make_unique<CPackedParams>(u"ext.ini", FindPackerEntry, &m_world.GetData()->pak);
    Data().m_bEnableTimeAttack = 1;
    CHiddenObjectRecordModel r;
    r.states[1].nextState = 2, r.states[2].nextState = 1;  // a loop
    CHiddenObjectRecordModel arrows;
    arrows.initialState = kStateArrows;
    CHiddenObjectLevelModel model = Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 1, 200, 100),
                                           Part(1, kLive | kPartToggles, kNoItem, 300, 100)},
                                          r);
    model.level.records.resize(2);
    model.extensions.push_back(arrows);
    CTestHiddenLevel& level = Build(model);
    m_world.ReadLevelTimeAttackKeys();
    EXPECT_EQ(Record(0).states[1].extraSeconds, 30u);
    EXPECT_EQ(Record(0).states[2].extraSeconds, 5u);
    EXPECT_EQ(Record(0).zoom, 0.0f) << "the zoom key's default";
    EXPECT_EQ(Record(1).states[1].extraSeconds, 0u) << "an arrows record reads no keys";
    EXPECT_EQ(Record(1).zoom, 1.0f);
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    EXPECT_FLOAT_EQ(m_world.GetTimer()->GetRemainingFrames(), (30.0f + 2 * 7.0f) * 30.0f) << "switches do not count";
    CStringStream saved;
    ASSERT_EQ(Toolbar().SaveToProfile(saved), RES_OK);
    float speed = 0.0f;
    memcpy(&speed, &saved.m_bytes[9], 4);
    EXPECT_EQ(speed, 1.0f) << "a zoom of 0 leaves the toolbar's pace";
}

TEST_P(LevelVadadiDazidevTest, AHintPointsAtTheKthCandidate)
{
    Data().m_bDebugKeys = 1;
    CTestHiddenLevel& level = Build(Scene(
        {Part(1, kLive, 0, 100, 100), Part(2, kLive, 1, 200, 600), Part(1, kLive, 1, 300, 600), Part(1, kLive, 2, 400, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    Toolbar().Layout();
    CRandomMT copy = m_world.GetData()->random;
    const uint32_t k = RandomIndex(copy, 3);
    level.UseHint();
    EXPECT_EQ(Toolbar().FindItem(k)->state, kItemFlash) << "candidate " << k << " of parts 0, 2 and 3";
    EXPECT_EQ(m_world.GetHint()->GetGlowState(), kGlowFadeIn);
    std::vector<float> targets;
    for (float y : {600.0f, 100.0f}) {
        CHiddenObjectLevelModel tall = Scene({Part(1, kLive, 0, 100, y)});
        tall.level.scene.refHeight = 3000.0f;  // room for the camera to move
        EXPECT_EQ(Build(tall).AdvanceSceneState(true), RES_OK);
        Toolbar().Layout();
        m_level->UseHint();
        targets.push_back(m_world.m_vCameraTarget.y);
        EXPECT_EQ(m_level->Release(), RES_OK);
    }
    EXPECT_LT(targets[0], targets[1]) << "below the middle to the lower edge, above it to the upper one";
}

TEST_P(LevelVadadiDazidevTest, TheQuizPutsAnswersInTheMiddlePlacesAndAnswersInOrder)
{
    for (uint32_t present = 1; present <= 3; ++present) {
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            CHiddenObjectRecordModel r;
            r.initialState = kStateQuiz, r.quizQuestion = 0;
            for (uint32_t n = 0; n < present; ++n)
                r.answers[(n + seed) % 4].text = n;
            RandomSeed(m_world.GetData()->random, seed);
            CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100)}, r));
            EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
            std::string places;
            for (uint8_t answer : level.m_QuizOrder)
                places += Record(0).answers[answer].IsPresent() ? 'x' : '.';
            EXPECT_EQ(places, present == 1 ? "..x." : present == 2 ? ".x.x" : ".xxx") << seed;
            EXPECT_EQ(level.Release(), RES_OK);
        }
    }
    CHiddenObjectRecordModel r;
    r.initialState = kStateQuiz, r.quizQuestion = 0, r.quizLayout = 1, r.answers[3].text = 1;
    r.answers[3].firstOutcome = 1;
    CQuizOutcomeModel& outcome = r.answers[3].outcomes[0];
    outcome.popupId = 4, outcome.soundId = 5;
    // The tooltip event, show then hide part 0, disable then enable part 1, then record 1.
    outcome.actions = {CActionModel{0x0007}, {0}, {0}, {1}, {1}, {0x0001}};
    CHiddenObjectLevelModel model = Scene({Part(1, kLive, 0, 100, 100), Part(1, kPartDrawn, 0, 300, 100)}, r);
    model.level.records.resize(2);
    CTestHiddenLevel& level = Build(model);
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(level.AnswerQuiz(), RES_FAIL) << "nothing chosen";
    CStringStream progress;
    ASSERT_EQ(level.SaveProgress(&progress), RES_OK);
    SetPointer(512, 440, 512, 440);  // one column: place 2 at 0.5625 of the height
    m_world.GetData()->mouseReleased[0] = 1;
    level.StepQuiz();
    ASSERT_EQ(level.GetChosenAnswer(), 3);
    CStreamMemory in(kStreamRead, progress.m_bytes.data(), static_cast<uint32_t>(progress.m_bytes.size()));
    ASSERT_EQ(in.Open(), RES_OK);
    ASSERT_EQ(level.LoadProgress(&in, 1), RES_OK);
    EXPECT_EQ(level.GetChosenAnswer(), kNoAnswer) << "a load in the quiz state prepares it again";
    level.StepQuiz();
    ASSERT_EQ(level.AnswerQuiz(), RES_OK);
    EXPECT_FALSE(level.IsQuizPrepared());
    EXPECT_EQ(level.PeekPopup(), 4);
    EXPECT_EQ(m_tooltip->m_events, (Items{{0, 7}}));
    EXPECT_EQ(Flags(0) & kPartDrawn, 0u);
    EXPECT_EQ(Flags(1), kPartDrawn | kPartClickable);
    EXPECT_EQ(level.GetSceneState(), kStateArrows);
    EXPECT_EQ(level.GetCurrentRecord(), 1u) << "the record switch comes after the scene change";
    EXPECT_EQ(m_bank->Plays(5), 1);
}

TEST_P(LevelVadadiDazidevTest, DrawingSkipsEffectsArrowsAndMarkedPartsInTheMainPass)
{
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100), Part(kPhaseEffects, kLive, 0, 200, 100),
                                           Part(kPhaseArrows, kLive, 0, 300, 100),
                                           Part(1, kLive | kPartSecondView, 0, 400, 100),
                                           Part(1, kLive | kPartFadingOut, 0, 500, 100), Part(1, kPartClickable, 0, 600, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    level.GetPart(4)->alpha = 0.5f;
    m_engine->ClearDraws();
    level.Render();
    std::vector<std::pair<uint32_t, uint32_t>> drawn;
    for (const MemoryDraw& draw : m_engine->Draws()) {
        EXPECT_EQ(draw.object, level.GetDisplayObject()) << "no star of its own";
        drawn.emplace_back(draw.part, draw.colour);
    }
    EXPECT_EQ(drawn, (Items{{0, 0xFFFFFFFFu}, {4, 0x7FFFFFFFu}, {3, 0xFFFFFFFFu}}));
    EXPECT_EQ(m_engine->Draws().back().matrix.m[12], Data().m_matView[1].m[12]);
}

// One in-game frame: the level, the glow, the toolbar strip with a label per item, the menubar,
// the hint button at its place, then the tooltips with the folded one last.
TEST_P(LevelVadadiDazidevTest, AnInGameFrameDrawsTheToolbarMenubarHintAndGlowAndTheFoldedTooltipLast)
{
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100), Part(1, kLive, 1, 200, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    EXPECT_TRUE(Succeeded(Frames(20)));
    std::vector<uint32_t> order;
    m_world.m_pTooltips.reset(new std::unique_ptr<CSceneObject3D>[3]);
    for (uint32_t n = 0; n < 3; ++n) {
        auto* tooltip = new CNotingTooltip(m_world.GetData(), m_engine, n);
        tooltip->m_nSlide = n == 0 ? kTooltipFolded : kTooltipUnfolding, tooltip->m_pDrawOrder = &order;
        m_world.m_pTooltips[n].reset(tooltip);
    }
    m_world.m_nTooltipCount = 3;
    CHint& hint = *m_world.m_pHint;
    hint.StartHint({100, 100, 0});
    hint.ProcessGlow();
    Data().m_nMode = 0, Data().m_nSlot = 0, Data().Progress(0, 0).m_FirstVisit[0] = 1;
    m_world.SetState(GS_IN_GAME, 0);
    m_world.GetData()->hasFocus = 1;
    m_engine->ClearDraws();
    EXPECT_EQ(m_world.Render(), RES_OK);
    const C3DObject* label = Data().m_pMainFont->GetTextObject();
    std::vector<const C3DObject*> drawn;  // each object once in a row, but every label
    for (const MemoryDraw& draw : m_engine->Draws())
        if (drawn.empty() || drawn.back() != draw.object || draw.object == label)
            drawn.push_back(draw.object);
    const std::vector<const C3DObject*> expected = {level.GetDisplayObject(), hint.GetGlow(), Toolbar().GetToolbarStrip(),
                                                    label, label, Toolbar().GetMenubarStrip()};
    ASSERT_GE(drawn.size(), expected.size() + 1);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), drawn.begin()));
    EXPECT_EQ(m_engine->DrawsOf(hint.GetTimer()).at(0).matrix.m[13], hint.GetPosition().y);
    EXPECT_EQ(order, (std::vector<uint32_t>{1, 2, 0}));
}

// F2 draws the collision parts in the colours of their standing: listed, toggling, collected,
// of another state, clickable, neither. F3 adds the item ids of the state's parts.
TEST_P(LevelVadadiDazidevTest, TheDeveloperOverlayColoursThePartsByStandingAndNumbersThem)
{
    CTestHiddenLevel& level =
        Build(Scene({Part(1, kLive, 3, 100, 100), Part(1, kLive | kPartToggles, 5, 200, 100),
                     Part(1, kLive | kPartWaiting, 1, 300, 100), Part(2, kLive, 2, 400, 100),
                     Part(1, kPartClickable, kNoItem, 500, 100), Part(1, kPartDrawn, kNoItem, 600, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    Data().m_bDebugCollision = 1;
    CNotingFont& font = NoteTexts();
    m_engine->ClearDraws();
    level.Render();
    Items overlay;
    for (const MemoryDraw& draw : m_engine->DrawsOf(level.GetCollisionObject()))
        overlay.emplace_back(draw.part, draw.colour);
    EXPECT_EQ(overlay, (Items{{0, 0xFF00FF00u}, {1, 0xFFFF0000u}, {2, 0xFFFF9600u}, {3, 0xFF808080u},
                              {4, 0xFFC8C800u}, {5, 0xFF0000FFu}}));
    EXPECT_TRUE(font.m_drawn.empty());
    Data().m_bOverlayLevelList = 1;
    level.Render();
    std::vector<std::u16string> numbers;
    for (const CNotingFont::Drawn& drawn : font.m_drawn)
        numbers.push_back(drawn.text);
    EXPECT_EQ(numbers, (std::vector<std::u16string>{u"3", u"5", u"1"}));
}

// The tutorial's toolbar step: its text broken at the marks into three lines, from a quarter of
// the width beside the dialog's border.
TEST_P(LevelVadadiDazidevTest, TheTutorialsToolbarStepBreaksItsTextIntoLinesBesideTheDialogBorder)
{
    Table("en", "", {u"Name", u"Stuck?|Use the hint.|It refills."});
    Open();
    ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
    Data().m_TutorialTable[9] = 1;
    // The dialog's construction: 107 lines, their map, the click sound, a dialog border of 12.
    const std::string construction = std::string("\x6B\0\0\0", 4) + std::string(430, '\0') +
                                   std::string("\0\0\x40\x41\0\0\0\0", 8);
    CStreamMemory stream(kStreamRead, construction.data(), static_cast<uint32_t>(construction.size()));
    ASSERT_EQ(stream.Open(), RES_OK);
    m_world.m_pMenuDialog = std::make_unique<CMenuDialog>(m_world.GetData(), &m_world, nullptr);
    ASSERT_EQ(m_world.m_pMenuDialog->ReadConstruction(stream), RES_OK);
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100)}));
    CNotingFont& font = NoteTexts();
    Data().m_nTutorialStep = 3;
    level.RenderModal();
    const std::u16string lines[3] = {u"Stuck?", u"Use the hint.", u"It refills."};
    ASSERT_EQ(font.m_drawn.size(), 4u) << "the hint button's count, then the lines";
    for (size_t n = 0; n < 3; ++n) {
        const CNotingFont::Drawn& drawn = font.m_drawn[n + 1];
        EXPECT_EQ(drawn.text, lines[n]);
        EXPECT_FLOAT_EQ(drawn.position.x, 256.0f + 12.0f);
        EXPECT_FLOAT_EQ(drawn.position.y, 768.0f * (0.4f + 0.2f * n));
    }
}

// The hint pictures the tutorial explains lie wholly on the screen, in the pop-up's box.
TEST_P(LevelVadadiDazidevTest, TheTutorialsHintPicturesLieInsideTheScreen)
{
    Open();
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100)}));
    const CHint& hint = *m_world.m_pHint;
    for (uint32_t step : {7u, 8u}) {
        Data().m_nTutorialStep = step;
        m_engine->ClearDraws();
        level.RenderModal();
        const std::vector<MemoryDraw> draws = m_engine->DrawsOf(hint.GetTimer());
        ASSERT_EQ(draws.size(), step == 7 ? 4u : 1u);
        for (size_t n = 0; n + (step == 7 ? 1 : 0) < draws.size(); ++n) {
            EXPECT_GT(draws[n].matrix.m[13], 768.0f * 0.5f) << "under the text, step " << step;
            EXPECT_LT(draws[n].matrix.m[13] + 40.0f, 768.0f) << "above the bottom edge, step " << step;
        }
    }
}

TEST_P(LevelVadadiDazidevTest, SavedObjectsLoadBackAndAnotherRecordCountIsRefused)
{
    CHiddenObjectRecordModel r;
    r.states[2].endPopup = {3, 0, 9, 1};
    CHiddenObjectLevelModel model = Scene({Part(1, kLive | kPartToggles, kNoItem, 100, 100)}, r);
    CTestHiddenLevel& level = Build(model);
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    EXPECT_EQ(level.OnClick(100, 100), RES_OK);
    CStringStream saved;
    ASSERT_EQ(level.SaveObjects(&saved), RES_OK);
    EXPECT_EQ(level.Release(), RES_OK);

    CTestHiddenLevel& loaded = Build(model);
    CStreamMemory in(kStreamRead, saved.m_bytes.data(), static_cast<uint32_t>(saved.m_bytes.size()));
    ASSERT_EQ(in.Open(), RES_OK);
    ASSERT_EQ(loaded.LoadObjects(&in, 1), RES_OK);
    EXPECT_EQ(loaded.GetSelectedPart(), 0);
    EXPECT_EQ(Record(0).states[2].endPopup.shown, 1);
    EXPECT_EQ(Record(0).states[2].endPopup.value, 9u);
    EXPECT_EQ(loaded.Release(), RES_OK);

    // Scene states of the scene: the searches, the arrows, the quiz and a fresh entry.
    const size_t stateAt = 4 + 8 * model.level.scene.parts.size();
    for (uint32_t state : {0u, 3u, 6u, 7u, 14u, 8u, 13u, 15u, 0xFFFFFFFFu}) {
        std::string bytes = saved.m_bytes;
        bytes.replace(stateAt, 4, reinterpret_cast<const char*>(&state), 4);
        CTestHiddenLevel& changed = Build(model);
        CStreamMemory in(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_EQ(in.Open(), RES_OK);
        EXPECT_EQ(changed.LoadObjects(&in, 1), state <= 7 || state == 14 ? RES_OK : RES_FAIL) << state;
        EXPECT_EQ(changed.Release(), RES_OK);
    }

    model.level.records.resize(2);
    CTestHiddenLevel& other = Build(model);
    CStreamMemory again(kStreamRead, saved.m_bytes.data(), static_cast<uint32_t>(saved.m_bytes.size()));
    ASSERT_EQ(again.Open(), RES_OK);
    EXPECT_EQ(other.LoadObjects(&again, 1), RES_FAIL);
}

TEST_P(LevelVadadiDazidevTest, TheFirstVisitTutorialSkipsWhatTheGameDoesNotShowAndDrawsTheTimerUntouched)
{
    CTestHiddenLevel& level = Build(Scene({Part(1, kLive, 0, 100, 100)}));
    EXPECT_EQ(level.AdvanceSceneState(true), RES_OK);
    auto* timer = new CLevelTimer(m_world.GetData(), m_engine, 0);
    m_world.m_pTimer.reset(timer);
    const auto font = UseTutorialPopup(m_world, m_engine);
    const auto pages = [&](uint8_t tutorial, uint32_t mode) {
        Data().m_bTutorial = tutorial, Data().m_nMode = mode;
        level.BeginModal();
        EXPECT_EQ(Data().m_nTutorialStep, 1u);
        EXPECT_EQ(std::u16string(m_world.GetTutorialPopup()->GetPage()), u"T103 %d %d");
        return TutorialPages(m_world, level);
    };
    ASSERT_FALSE(level.AreStarsDisabled());
    EXPECT_EQ(pages(1, 1), (std::vector<std::u16string>{u"2 T105 %d %d", u"3 T109 %d %d", u"4 T111 %d %d",
                                                        u"5 T113 %d %d", u"6 T114 %d %d", u"7 T115 %d %d",
                                                        u"8 T116 %d %d", u"9 T117 %d %d", u"10 T118 %d %d"}));
    level.m_nSceneState = kStateArrows;  // no stars there
    const std::vector<std::u16string> shown = pages(0, 0);
    EXPECT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[2], u"6 T114 %d %d") << "no tooltips step without the tutorial, no timer step in the story";
    EXPECT_EQ(shown.back(), u"10 T118 %d %d") << "no star step";
    Data().m_nTutorialStep = 0;
    ASSERT_EQ(level.UpdateModal(), RES_OK);
    EXPECT_EQ(m_world.GetTutorialPopup()->GetStringIndex(), -1) << "steps 0 and 1 show no text";

    Data().m_nTutorialStep = 5;
    font->m_drawn.clear();
    level.RenderModal();
    EXPECT_NE(font->Find(u"01:39"), nullptr) << "the timer showing 99 seconds";
    EXPECT_EQ(timer->GetSlideState(), kTimerHidden) << "a hidden timer stays hidden";
    EXPECT_EQ(timer->GetRemainingFrames(), 0.0f);
    for (uint32_t step : {2u, 9u}) {
        Data().m_nTutorialStep = step;
        m_world.GetTutorialPopup()->SetText(kTutorialTextBase + step, kGameTable);
        m_world.GetTutorialPopup()->OnTextNext();
        font->m_drawn.clear();
        level.RenderModal();
        EXPECT_NE(font->Find(u"T" + Utf8ToUtf16(std::to_string(kTutorialTextBase + step))), nullptr) << step;
    }
    EXPECT_EQ(m_world.m_pPopupTuto->Release(), RES_OK);
    m_world.m_pPopupTuto.reset();
    m_world.m_pMainFont = Data().m_pMainFont = m_font.get();
}

INSTANTIATE_TEST_SUITE_P(FixtureFont, LevelVadadiDazidevTest, ::testing::Values(0u));

} // namespace
