// Seeds of the game's readers: the raw files of the writer library, and option and profile
// files as the game world writes them.

#include "core/Stream.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/seeds/Seeds.h"
#include "tools/LevelFileWriter.h"
#include "tools/RawFileWriter.h"

namespace {

FuzzSeeds RawFile(const std::string& file, const FuzzSeeds& more = {})
{
    FuzzSeeds seeds = more;
    seeds.emplace_back(file.substr(file.rfind('/') + 1), GameRawFiles()[GameRawName(file)]);
    return seeds;
}

// The ProfilesFuzz layout: level count, tooltip count, bits, then the file.
std::string Profile(uint8_t levels, uint8_t tooltips, bool inUse)
{
    CFuzzGame game;
    game.World().m_nSceneCount = levels;
    game.World().m_nTooltipCount = tooltips;
    game.World().m_nCurrentScene = levels ? 0 : kNoIndex;
    CProfileProgress record{};
    FUZZ_CHECK(PrepareProgressRecord(record, levels) == RES_OK);
    record.m_bInUse = inUse;
    CFuzzWriteStream out;
    FUZZ_CHECK(game.World().WriteProfile(out, record) == RES_OK);
    return std::string{static_cast<char>(levels), static_cast<char>(tooltips), '\x03'} + out.Bytes();
}

} // namespace

FUZZ_SEEDS(Construction)
{
    return RawFile("_construct.raw", {{"no-levels.raw", RawFileBytes("VadadiDazidev", ConstructBody({1, {}, 0, 0, 1.0f}))},
                                      {"other-build.raw", RawFileBytes("Another", ConstructBody({1, {}, 0, 0, 1.0f}))}});
}

FUZZ_SEEDS(LevelDescription)
{
    CLevelModel empty;
    return RawFile("_level_0.raw", {{"no-records.raw", RawFileBytes("VadadiDazidev", LevelBody(empty))}});
}

FUZZ_SEEDS(HiddenObjectScene)
{
    CHiddenObjectLevelModel scene;
    scene.level.scene.parts.resize(2);
    scene.level.records.resize(2);
    CHiddenObjectRecordModel quiz;
    quiz.initialState = kStateQuiz;
    quiz.quizQuestion = 0;
    quiz.answers[1].text = 1;
    quiz.answers[1].firstOutcome = 1;
    quiz.answers[1].outcomes[0].actions[1] = {0x0001};
    quiz.states[0].hideTooltips = {0};
    scene.extensions = {CHiddenObjectRecordModel{}, quiz};
    return {{"plain-and-quiz.raw", HiddenObjectLevelBody(scene)}};
}

FUZZ_SEEDS(Labels)
{
    return RawFile("_labels_0.raw");
}

FUZZ_SEEDS(MenuTuto)
{
    return RawFile("_menu_tuto.raw");
}

FUZZ_SEEDS(SoundNames)
{
    return RawFile("strings/_sounds.ascii.ucs2.raw", {{"none.raw", StringFileBytes({})}});
}

FUZZ_SEEDS(Options)
{
    CFuzzGame game;
    CGameData& g = game.Data();
    WStrCopy(g.m_szProfileNames[1], kProfileNameUnits, u"Ann");
    WStrCopy(g.m_szLogin, kLoginUnits, u"login");
    WStrCopy(g.m_szEmail, kEmailUnits, u"ann@example.org");
    g.m_bAccount = 1;
    g.m_nSlot = 1;
    CFuzzWriteStream out;
    game.World().WriteOptions(out);
    return {{"options.sav", out.Bytes()}};
}

FUZZ_SEEDS(Prefetch)
{
    return {{"switches.params", std::string("\x02\x01\x00\x01\x00\x01", 6)}, {"old.params", "\x01"}};
}

FUZZ_SEEDS(Profiles)
{
    return {{"empty.sav", Profile(0, 0, false)}, {"three-levels.sav", Profile(3, 1, true)}};
}

// Kind bytes, each followed by an action of that kind.
FUZZ_SEEDS(LevelActions)
{
    CByteWriter out;
    for (uint8_t kind = 0; kind < 10; ++kind) {
        out.U8(kind);
        WriteAction(out, {static_cast<uint16_t>(kind), 0x8101, 0xFFFF}, static_cast<LevelActionKind>(kind));
    }
    return {{"every-kind", out.Bytes()}};
}

// The harness reads the version first, then a description, the objects and the progress.
FUZZ_SEEDS(SceneObject)
{
    CSceneBlockModel scene;
    scene.parts.resize(3);
    scene.parts[1].flags = 5;
    scene.order = {2, 0, 1};
    CByteWriter out;
    out.U8(1);
    WriteSceneBlock(out, scene);
    out.U32(3);
    for (uint32_t part = 0; part < 3; ++part) {
        out.U32(part);
        out.F32(0.5f);
    }
    out.U32(2);
    out.U32(7);
    out.U32(8);
    return {{"three-parts", out.Bytes()}};
}

// The timer's description, then its saved section.
FUZZ_SEEDS(LevelTimer)
{
    CTimerModel timer;
    timer.scene.parts.resize(1);
    CByteWriter section;
    section.U32(1);
    section.U32(1);
    section.F32(1.0f);
    section.F32(0.5f);
    section.U32(2);
    section.F32(90.0f);
    return {{"timer", TimerBody(timer) + section.Bytes()}};
}

// A tooltip of one step and its actions, then its saved section.
FUZZ_SEEDS(LevelTooltip)
{
    CTooltipModel tooltip;
    tooltip.scene.parts.resize(2);
    tooltip.steps = {{0, 0, 1, 3}, {-1, 0, 0, -1}};
    tooltip.finalPage = 4;
    tooltip.actions[1] = {0x0001, 0x8000};
    CByteWriter section;
    section.U32(2);
    for (int part = 0; part < 2; ++part) {
        section.U32(5);
        section.F32(1.0f);
    }
    section.U8(0);
    section.U8(1);
    section.F32(0.5f);
    section.U32(3);
    section.U32(4);
    return {{"one-step", TooltipBody(tooltip) + section.Bytes()}};
}

// A level's saved state and progress as the level of the small game writes them.
FUZZ_SEEDS(LevelSaves)
{
    CByteWriter out;
    out.U32(2);
    for (int part = 0; part < 2; ++part) {
        out.U32(3);
        out.F32(1.0f);
    }
    for (uint32_t value : {6u, 1u, 0xFFFFFFFFu, 1u, 7u})
        out.U32(value);
    out.U8(0);
    out.U8(1);
    out.U32(3);
    for (int group = 0; group < 9; ++group) {
        out.U32(2);
        out.U8(1);
        out.U32(0);
        out.U8(0);
    }
    out.U32(0);
    for (int effect = 0; effect < 2; ++effect) {
        out.F32(3.0f);
        out.F32(9.0f);
        out.U8(1);
    }
    out.U16(0);
    out.U16(0xFFFF);
    return {{"state-and-progress", out.Bytes()}};
}

FUZZ_SEEDS(LevelLabels)
{
    CLabelsModel labels;
    labels.scene.parts.resize(2);
    labels.labels = {{1, 2, {1, 2, 3, 4}}, {0xFFFFFFFFu, 0, {}}};
    return {{"two-labels", LabelsBody(labels)}};
}

// The bits, the configuration text after its u16 size, then the more-games text.
FUZZ_SEEDS(ExternalSettings)
{
    const std::string configuration =
        "[BRIGHTNESS]\nDEFAULT_BRIGHTNESS = 300\n[WEB_SCORING]\nWEB_SCORING_SERVER_URL = http://127.0.0.1/score\n"
        "MAIN_WEB_SITE_URL = https://www.example.com/\n[FACEBOOK]\nENABLE_FACEBOOK = 1\n[TIME_ATTACK]\n"
        "ENABLE_TIME_ATTACK = 1\nSECONDS_PER_EXTRA_OBJECT = 10\n";
    std::string moreGames = "[MORE_GAMES]\nENABLE_MORE_GAMES = 1\n";
    for (int i = 1; i <= 6; ++i)
        moreGames += "MORE_GAMES_" + std::to_string(i) + "_ENABLE = 1\nMORE_GAMES_" + std::to_string(i) +
                     "_URL = https://games.example/" + std::to_string(i) + "\n";
    FuzzSeeds seeds;
    for (uint8_t bits : {0, 1, 3, 4}) {
        CByteWriter out;
        out.U8(bits);
        out.U16(static_cast<uint16_t>(configuration.size()));
        out.Text(configuration);
        out.Text(moreGames);
        seeds.emplace_back("bits-" + std::to_string(bits), out.Bytes());
    }
    return seeds;
}

// The blank profile of the raw files' game (two levels, a tooltip), as the world writes it,
// for the first and the last slot.
FUZZ_SEEDS(BlankProfile)
{
    CFuzzGame game;
    FUZZ_CHECK(game.Prepare(GameRawFiles()) == RES_OK);
    CProfileProgress record{};
    FUZZ_CHECK(PrepareProgressRecord(record, game.World().GetSceneCount()) == RES_OK);
    record.m_fPlayUnits = 0.0f;
    record.m_nPlayMinutes = record.m_nPlayHours = 0;
    CFuzzWriteStream out;
    FUZZ_CHECK(game.World().WriteProfile(out, record) == RES_OK);
    return {{"first-slot", std::string(1, '\0') + out.Bytes()}, {"last-timed-slot", "\x05" + out.Bytes()}};
}
