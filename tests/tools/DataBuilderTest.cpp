#include "tools/vddata/DataBuilder.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "base/WideString.h"
#include "game/Construction.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/LevelTestKit.h"
#include "tests/support/ToolRun.h"
#include "tools/PakIndex.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"
#include "tools/RawFileWriter.h"
#include "tools/vddata/LevelTypeSources.h"

namespace {

const char kConstruction[] = R"(app: VadadiDazidev
construction: 3
tutorial: 1
ratio: 0.75
tutorialTable: [5, 6]
charsetFont: fonts/main.charset
sounds: [click.wav]
menuDialog: {stringMap: [1, 2, 3], clickSound: 0, dialogBorder: 8, buttonBorder: 4}
menus:
  - scene: {parts: [{kind: 1}]}
    layers: [{part: 0, scale: 2}]
  - display: meshes/outro.3dx
    scene: {parts: [{kind: 1}, {kind: 2}]}
stars: {clickSound: 0}
hint: {sound: 0xFFFF}
levels: [levels/first.yaml, {type: 0x4004, records: [{}]}]
tooltips:
  - scene: {parts: [{flags: 3}]}
    steps: [{part: 0, eventValue: 0, eventObject: 1}]
    actions: {showObjects: [0x0001]}
labels: {scene: {parts: [{kind: 0}]}, labels: [{part: 0, value: 1, values: [1, 2, 3, 4]}]}
timer: {display: meshes/timer.3dx, x: 10, y: 20, size: 30}
prefetch: {debugKeys: 1}
)";

const char kFirstLevel[] = R"(type: 0x4001
display: meshes/level.3dx
collision: meshes/level.3dx
scene:
  parts:
    - {kind: 0, phase: 6, flags: 3, itemId: -1, x: 1.5, radius: 10}
    - {kind: 1}
pairs: [{part: 0, targetScene: 1}, {part: 1, targetScene: 2}]
records:
  - backgroundName: bg.jpg
    startActions: {showObjects: [0x0001], hideTooltips: [0]}
    leaveActions: {recordSwitch: [0x0100]}
    effects: [{minFrames: 30, maxFrames: 60, soundId: 0, loop: 1}]
    pairSounds: [0]
  - {}
startRecord: 1
)";

// One level of each type with its own part; the mini-games' meshes are quads.
const char kTypedLevels[] = R"(app: VadadiDazidev
levels:
  - type: 0x4001
    scene: {parts: [{phase: 1, flags: 3, itemId: 2}, {phase: 6, flags: 3}]}
    pairs: [{part: 1, targetScene: 1}]
    records: [{}]
    hiddenObject:
      - initialState: 1
        maxPickedItems: 1
        switchPopup: {popupId: 9, repeat: 1}
        states: [{}, {randomPick: 1, nextState: 7, showTooltips: [0], endPopup: {popupId: 8}}]
        quizQuestion: 3
        answers:
          - {text: 4, outcomes: [{}, {popupId: 5, actions: {recordSwitch: [0x0100]}}]}
          - {text: 5, firstOutcome: 1, outcomes: [{targetScene: 1}]}
  - type: 0x4002
    quads:
      - {rect: [0, 0, 300, 300], texture: pictures/bg.png}
      - {rect: [400, 0, 440, 40], phase: 4, flags: 3}
    records: [{}]
    jigsaw:
      boardPart: 0
      buttons: [{button: 12, part: 1, x: 420, y: 20}]
      records: [{columns: 3, rows: 3, modeFlags: 0x30, shuffleCount: 4, frontTexture: pictures/bg.png}]
  - type: 0x4003
    quads: [{rect: [0, 0, 100, 100], flags: 3, radius: 50}, {rect: [200, 0, 300, 100], flags: 3, radius: 50}]
    records: [{}]
    shoot:
      targets: [{part: 0}, {part: 1, entry: 1}]
      records: [{goal: 4, entries: [{}, {hitPoints: 2}], entryOfTarget: [0, 1]}]
  - type: 0x4004
    quads: [{rect: [0, 0, 400, 400]}]
    records: [{}]
    sliding:
      boardPart: 0
      records:
        - gridColumns: 4
          gridRows: 4
          pictureColumns: 4
          pictureRows: 4
          shapes: [{offsets: [0, 0, 1, 0], moveFlags: 1}]
          pieces: [{layout: 0, shape: 0, x: 0, y: 1, piece: 0, key: 1}, {layout: 1, shape: 0, x: 1, y: 1, piece: 0, key: 1}]
          targets: [{layout: 0, column: 3, row: 1}, {layout: 1, column: 3, row: 1}]
          exit: {nextScene: 4}
)";

// A charset font whose codes are not its characters: ' ' 1, '#' 2, 'a' 3, 'b' 4, '日' 256.
std::string ShuffledCharset()
{
    std::vector<CharsetFilePage> pages(2);
    pages[0].characters = std::u16string(u"\0 #ab", 5);
    pages[1].characters = u"日";
    for (CharsetFilePage& page : pages) {
        page.rects.assign(256, GlyphRect{});
        page.info = kFixtureInfo;
    }
    return CharsetFileBytes(pages, 2);
}

std::map<std::string, std::string> PakEntries(const std::string& path)
{
    std::vector<PakIndexEntry> index;
    std::string error;
    std::map<std::string, std::string> entries;
    if (Failed(ReadPakIndex(path, 0, &index, &error)))
        return entries;
    std::ifstream pak(path, std::ios::binary);
    for (const PakIndexEntry& entry : index) {
        std::string bytes(entry.size, '\0');
        pak.seekg(static_cast<std::streamoff>(entry.dataOffset));
        pak.read(bytes.data(), entry.size);
        entries[entry.name] = bytes;
    }
    return entries;
}

class DataBuilderTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        Source("construction.yaml", kConstruction);
        Source("levels/first.yaml", kFirstLevel);
        Source("fonts/main.charset", ShuffledCharset());
        Source("strings/en/main.txt", "ab\n# a\n");
        Source("strings/en/commons.txt", "日");
        Source("disk/click.wav", "RIFF");
        for (const char* mesh : {"meshes/level.3dx", "meshes/outro.3dx", "meshes/timer.3dx"})
            Source(mesh, mesh);
        Source("pictures/bg.png", "png");
        m_dir.Write("ext/strings/fr/main.txt", "b");
        m_dir.Write("ext/VadadiDazidev.External.Desktop.ini", "[X]");
    }

    void Source(const std::string& name, const std::string& bytes) { m_dir.Write("src/" + name, bytes); }
    int Build(std::string* err)
    {
        std::string out;
        return RunTool(RunDataBuilder, "vddata",
                       {m_src.c_str(), m_out.c_str(), m_ext.c_str()}, &out, err);
    }
    std::string Output(const std::string& name) const { return m_dir.File("out/" + name); }

    const std::string m_src = m_dir.File("src");
    const std::string m_out = m_dir.File("out");
    const std::string m_ext = m_dir.File("ext");
};

TEST_F(DataBuilderTest, ASourceTreeBuildsPaksAndDiskFilesThatTheGameReads)
{
    std::string err;
    ASSERT_EQ(Build(&err), 0) << err;
    std::map<std::string, std::string> pak = PakEntries(Output("VadadiDazidev_full_Win32.pak"));
    for (const char* name : {"_raw.full.Win32/_level_0.obj.3dx", "_raw.full.Win32/_level_0.col.3dx",
                             "_raw.full.Win32/_menu_1.obj.3dx", "_raw.full.Win32/_timer_0.obj.3dx",
                             "pictures/bg.png", "fonts/main.charset"})
        EXPECT_EQ(pak.count(name), 1u) << name;
    for (const char* name : {"meshes/level.3dx", "construction.yaml", "levels/first.yaml", "strings/en/main.txt",
                             "disk/click.wav"})
        EXPECT_EQ(pak.count(name), 0u) << name;
    EXPECT_EQ(pak["_raw.full.Win32/_level_0.obj.3dx"], "meshes/level.3dx");
    EXPECT_EQ(pak["strings/_strings.en.utf8.ucs2.raw"], StringFileBytes({u"ab", u"# a"}));
    EXPECT_EQ(pak["strings/_strings.en.utf8.indexed.ucs2.raw"], StringFileBytes({{3, 4}, {2, 1, 3}}));
    EXPECT_EQ(pak["strings/_strings.en.commons.utf8.indexed.ucs2.raw"], StringFileBytes({{256}}));
    std::array<uint16_t, kCharsetRemapEntries> symbols{};
    for (uint32_t c = 0; c < kCharsetRemapEntries; ++c)
        symbols[c] = c == 35 ? 2 : (c == 10 || c == 13 ? c : (c == 97 ? 3 : (c == 98 ? 4 : 1)));
    symbols[256] = 0;
    EXPECT_EQ(pak["strings/_symbols.utf8.indexed.ucs2.raw"], SymbolsFileBytes(symbols));
    EXPECT_EQ(TempDir::Read(Output("click.wav")), "RIFF");
    EXPECT_EQ(TempDir::Read(Output("prefetch.params")), std::string("\x02\x01\x00\x01\x00\x00", 6));
    std::map<std::string, std::string> external = PakEntries(Output("VadadiDazidev_external_Win32.pak"));
    EXPECT_EQ(external.size(), 3u) << "the settings, and the French table plain and indexed";
    EXPECT_EQ(external["strings/_strings.fr.utf8.indexed.ucs2.raw"], StringFileBytes({{4}}));
}

TEST_F(DataBuilderTest, TheBlankProfilesTotalsAreTheGamesOwn)
{
    std::string err;
    ASSERT_EQ(Build(&err), 0) << err;
    RegisterTestLevelMakers(m_world.GetLevelFactory());
    m_world.m_pAudioEngine.reset(new CEmptySoundEngine(m_world.GetData()));
    const std::u16string pak = Utf8ToUtf16(Output("VadadiDazidev_full_Win32.pak"));
    ASSERT_EQ(m_world.SetParameters(nullptr, &m_game, nullptr, pak.c_str(), 0, FindPackerEntry, nullptr), RES_OK);
    for (const char16_t* menu : {u"_raw.full.Win32/_menu_0.raw", u"_raw.full.Win32/_menu_1.raw"}) {
        CTestLevelObject layered(m_world.GetData(), nullptr, 0, kSceneTypeLayeredMenu);
        std::unique_ptr<CStream> stream = CheckConstruction(m_world.GetData(), menu, true);
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(layered.LoadDescription(stream.get()), RES_OK);
    }
    ASSERT_EQ(m_world.OnPrepareGame(), RES_OK);
    EXPECT_EQ(Data().m_nSoundCount, 1u);
    EXPECT_EQ(std::u16string(&Data().m_pSoundNames[0]), u"click.wav");
    EXPECT_EQ(Data().m_nConstructionNumber, 3u);
    EXPECT_EQ(Data().m_TutorialTable[1], 6u);
    const CTestLevel& first = static_cast<CTestLevel&>(*m_world.m_pScenes[0]);
    EXPECT_EQ(first.GetCurrentRecord(), 1u);
    EXPECT_EQ(m_world.m_pScenes[1]->GetType(), kLevelTypeSliding);
    EXPECT_EQ(Data().m_nElementTotal, 3u + 2u + 1u + 1u);
    EXPECT_EQ(Data().m_nParamTotal, 3u);
    ASSERT_EQ(m_world.LoadProfiles(), RES_OK);
    EXPECT_EQ(m_world.OnLoadVirginProfile(0, 1), RES_OK) << "the counts and totals match";
}

// Each type's part is read by the game's level of that type, and a level fresh from its file
// saves exactly the section that the blank profile gives it.
TEST_F(DataBuilderTest, EachLevelTypesPartReadsBackAndSavesAsItsFreshSection)
{
    Source("construction.yaml", kTypedLevels);
    CGameSource source;
    CSourceErrors errors;
    ASSERT_TRUE(ReadGameSource(m_src, &source, errors)) << errors.Text();
    ASSERT_EQ(source.levels.size(), 4u);
    m_world.m_nSceneCount = 4;
    CLevelVadadiDazidev scene(m_world.GetData(), nullptr, 0);
    CLevelJigsaw jigsaw(m_world.GetData(), nullptr, 1);
    CLevelShoot shoot(m_world.GetData(), nullptr, 2);
    CLevelSliding sliding(m_world.GetData(), nullptr, 3);
    CLevel* levels[] = {&scene, &jigsaw, &shoot, &sliding};
    for (size_t i = 0; i < 4; ++i) {
        const std::string body = LevelFileBody(source.levels[i]);
        CStreamMemory in(kStreamRead, body.data(), static_cast<uint32_t>(body.size()));
        ASSERT_EQ(in.Open(), RES_OK);
        ASSERT_EQ(levels[i]->LoadDescription(&in), RES_OK) << "level " << i;
        EXPECT_EQ(in.BytesLeft(), 0u) << "level " << i;
        CStringStream saved;
        ASSERT_EQ(levels[i]->SaveObjects(&saved), RES_OK);
        EXPECT_EQ(saved.m_bytes, FreshLevelSection(source.levels[i])) << "level " << i;
    }
    const auto* record = static_cast<CHiddenObjectRecord*>(scene.GetRecord(0));
    EXPECT_EQ(record->states[1].randomPick, 1);
    EXPECT_EQ(record->answers[0].Chosen().popupId, 5);
    EXPECT_NE(record->answers[0].Chosen().actions[kOutcomeActionCount - 1], nullptr);
    EXPECT_EQ(record->answers[1].Chosen().targetScene, 1);
    const auto* board = static_cast<CLevelJigsawRecord*>(jigsaw.GetRecord(0));
    EXPECT_EQ(board->modeFlags, kJigsawSwap | kJigsawRotate);
    EXPECT_STREQ(board->frontTextureName, "pictures/bg.png");
    EXPECT_EQ(jigsaw.GetLayout().buttonParts[kJigsawShuffleButton], 1u);
    EXPECT_FLOAT_EQ(jigsaw.GetPart(1)->x, 420.0f) << "a quad's part stands at its centre";
    EXPECT_FLOAT_EQ(shoot.GetTargets().points[1].x, 250.0f) << "a target stands at its part";
    EXPECT_EQ(static_cast<CLevelSlidingRecord*>(sliding.GetRecord(0))->exit.nextScene, 4u);
    for (CLevel* level : levels)
        EXPECT_EQ(level->Release(), RES_OK);
}

TEST_F(DataBuilderTest, ASourceErrorNamesFileAndLineAndWritesNothing)
{
    const struct {
        std::string file, content, message;
    } cases[] = {
        {"levels/first.yaml", "type: 0x4001\nrecords:\n  - {zoom: fast}\n",
         "levels/first.yaml:3: \"zoom\" needs a number"},
        {"levels/first.yaml", "type: 0x4001\nscene: {parts: [{}]}\npairs: [{part: 1, targetScene: 0}]\n",
         "levels/first.yaml:3: the click target's part is past the parts"},
        {"construction.yaml", std::string(kConstruction) + "colour: 1\n", "construction.yaml:24: unknown field \"colour\""},
        {"strings/en/main.txt", "a\nb\xC3\n", "strings/en/main.txt:2: not UTF-8 text"},
        {"strings/en/main.txt", "a\nZ", "strings/en/main.txt:2: the charset font has no glyph for U+005A"},
        {"construction.yaml", "app: [1\n", "construction.yaml:2: "},
        {"levels/first.yaml", "type: 0x4001\njigsaw: {boardPart: 0}\n",
         "levels/first.yaml:2: the level's type has no such part"},
        {"levels/first.yaml", "type: 0x4005\n", "levels/first.yaml:1: \"type\" needs a level type, 0x4001 to 0x4004"},
        {"levels/first.yaml", "type: -1\n", "levels/first.yaml:1: \"type\" needs a level type, 0x4001 to 0x4004"},
        {"levels/first.yaml", "type: 0x4004\nsliding: {}\nshoot: {}\n",
         "levels/first.yaml:3: the level's type has no such part"},
        {"levels/first.yaml", "type: 0x4002\nquads: [{texture: pictures/bg.png}]\n",
         "levels/first.yaml:2: a quad needs its \"rect\""},
        {"levels/first.yaml", "type: 0x4002\ndisplay: meshes/level.3dx\nquads: [{rect: [0, 0, 1, 1]}]\n",
         "levels/first.yaml:3: quads replace the mesh files and the scene's parts"},
    };
    for (const auto& c : cases) {
        SetUp();
        Source(c.file, c.content);
        std::string err;
        EXPECT_EQ(Build(&err), 1) << c.message;
        EXPECT_EQ(err.find("vddata: " + c.message), 0u) << err;
        EXPECT_FALSE(std::filesystem::exists(Output("VadadiDazidev_full_Win32.pak")));
    }
}

} // namespace
