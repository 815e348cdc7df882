#include "fuzz/FuzzGame.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "base/WideString.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"
#include "fuzz/FuzzSupport.h"
#include "game/CharsetRemap.h"
#include "game/PopupText.h"
#include "game/SoundNames.h"
#include "levels/Level.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/LevelTestKit.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/WorldDataDefaults.h"
#include "tools/ObjectFileWriter.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"

namespace {

const char kBuild[] = "VadadiDazidev";

CLevelModel SampleLevel()
{
    CLevelModel level;
    level.scene.parts.resize(2);
    level.startRecord = 1;
    level.pairs = {{1, 1}};
    level.records.resize(3);
    level.records[0].backgroundName = "room.png";
    level.records[0].startActions[0] = {0x0001, 0x8101};
    level.records[1].leaveActions[0] = {3};
    level.records[1].leaveActions[2] = {0x0102};
    level.records[2].pairSounds = {7};
    return level;
}

// A level's current record, click targets and records are as its description promised.
void CheckLevel(CLevel& level, uint32_t sceneCount)
{
    FUZZ_CHECK(level.GetRecordCount() == 0 || level.GetCurrentRecord() < level.GetRecordCount());
    for (uint32_t n = 0; n < level.GetPairCount(); ++n)
        FUZZ_CHECK(level.GetPair(n)->part < level.GetPartCount() && level.GetPair(n)->targetScene <= sceneCount);
    for (uint32_t r = 0; r < level.GetRecordCount(); ++r) {
        const CLevelRecord* record = level.GetRecord(r);
        FUZZ_CHECK(record && memchr(record->backgroundName, 0, kBackgroundNameBytes));
        FUZZ_CHECK(level.GetPairCount() == 0 || record->pairSounds);
        TouchBytes(record->pairSounds.get(), level.GetPairCount() * sizeof(uint16_t));
        level.TakeRecordPopup(r);
    }
}

// Every sound name starts inside the table and ends within a path's length.
void CheckSoundNames(const CGameData& data)
{
    for (uint16_t i = 0; i < data.m_nSoundCount; ++i) {
        const char16_t* name = data.m_pSoundNames.get() + data.m_pSoundNameOffsets[i];
        size_t length = 0;
        while (name[length])
            FUZZ_CHECK(++length <= kMaxSoundNameUnits);
    }
}

} // namespace

std::string GameRawName(const std::string& file)
{
    return file.rfind("strings/", 0) == 0 ? file : "_raw.full.Win32/" + file;
}

std::map<std::string, std::string> GameRawFiles()
{
    CSceneBlockModel scene;
    scene.parts.resize(1);
    CTooltipModel tooltip;
    CLabelsModel labels;
    CTimerModel timer;
    tooltip.scene = labels.scene = timer.scene = scene;
    std::array<uint32_t, kTutorialEntries> tutorial{};
    tutorial[3] = 2;
    const CConstructModel construct{7, {kLevelTypeHiddenObject, kLevelTypeSliding}, 1, 1, 0.5f};
    return {
        {GameRawName("_construct.raw"), RawFileBytes(kBuild, ConstructBody(construct))},
        {GameRawName("_level_0.raw"), RawFileBytes(kBuild, LevelBody(SampleLevel()))},
        {GameRawName("_level_1.raw"), RawFileBytes(kBuild, LevelBody(SampleLevel()))},
        {GameRawName("_tooltip_0.raw"), RawFileBytes(kBuild, TooltipBody(tooltip))},
        {GameRawName("_labels_0.raw"), RawFileBytes(kBuild, LabelsBody(labels))},
        {GameRawName("_timer_0.raw"), RawFileBytes(kBuild, TimerBody(timer))},
        {GameRawName("_menu_tuto.raw"), RawFileBytes(kBuild, TutorialBody(tutorial))},
        {GameRawName("strings/_sounds.ascii.ucs2.raw"), StringFileBytes({u"click.wav", u"music/theme.wav"})},
    };
}

CFuzzGame::CFuzzGame()
{
    static const bool appData = setenv("APPDATA", (FuzzFolder() + "/appdata").c_str(), 1) == 0;
    FUZZ_CHECK(appData);
    RegisterTestLevelMakers(m_world.GetLevelFactory());
    FUZZ_CHECK(m_world.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr) == RES_OK);
    FUZZ_CHECK(m_world.GetDataFolder() == RES_OK);
}

CFuzzGame::~CFuzzGame()
{
    IgnoreResult(m_world.Release());
}

void CFuzzGame::UsePak(const std::map<std::string, std::string>& files)
{
    CPakWriter pak;
    for (const auto& [name, bytes] : files)
        FUZZ_CHECK(pak.Add(name, bytes) == RES_OK);
    const std::string bytes = pak.Bytes();
    const std::string path = WriteFuzzFile("game.pak", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    FUZZ_CHECK(m_world.SetParameters(nullptr, &m_game, nullptr, Utf8ToUtf16(path).c_str(), 0, FindPackerEntry,
                                     nullptr) == RES_OK);
}

Result CFuzzGame::Prepare(const std::map<std::string, std::string>& files)
{
    UsePak(files);
    m_world.m_pAudioEngine.reset(new CEmptySoundEngine(m_world.GetData()));
    const Result result = m_world.OnPrepareGame();
    for (uint32_t i = 0; m_world.m_pScenes && i < m_world.GetSceneCount(); ++i) {
        if (auto* level = dynamic_cast<CLevel*>(m_world.m_pScenes[i].get()))
            CheckLevel(*level, m_world.GetSceneCount());
    }
    FUZZ_CHECK(m_world.m_nTooltipCount <= 256);
    CheckSoundNames(Data());
    return result;
}

void CFuzzGame::UseSoundBank(uint16_t count)
{
    m_world.m_pAudioEngine.reset(new CEmptySoundEngine(m_world.GetData()));
    CGameData& game = Data();
    game.m_pSounds.reset(new CSoundBankEntry[count]());
    for (uint16_t i = 0; i < count; ++i)
        game.m_pSounds[i] = {m_world.m_pAudioEngine->CreateAudio(0, 0), 1};
    game.m_nSoundCount = count;
    game.m_fSoundVolume = 1.0f;
}

CFuzzTextGame::CFuzzTextGame(bool charset)
{
    CWorldData* data = World().GetData();
    SetDefaultWorld(data, &m_math, 1024, 768);
    World().m_p3DEngine.reset(new CMemoryEngine(data));
    FUZZ_CHECK(Engine().Load(MemoryRenderer::Window()) == RES_OK);
    CTextStyles& styles = Data().m_TextStyles;
    for (float* size : {styles.m_MenuSize, styles.m_GameSize, styles.m_ToolbarSize, styles.m_LegalsSize})
        size[0] = size[1] = kFixtureScale;
    styles.m_nPopupBorder = 100;
    Data().m_nLoadFontType = charset ? kFontTypeCharset : kFontTypeGlyph;
    m_font.reset(new CVarnFont(data, &Engine()));
    FUZZ_CHECK(m_font->Create(kFontScreenText, 64) == RES_OK);
    LoadFixtureGlyphs(m_font.get());
    World().m_pMainFont = Data().m_pMainFont = m_font.get();
}

CFuzzTextGame::~CFuzzTextGame()
{
    World().m_pMainFont = Data().m_pMainFont = nullptr;
    m_font.reset();
}

Result CFuzzTextGame::Open(const std::map<std::string, std::string>& files)
{
    UsePak(files);
    if (Failed(World().OnSymbols()) || Failed(World().OnIndivisibleChars()))
        return RES_FAIL;
    return World().LoadLanguage(0);
}

CMemoryEngine& CFuzzTextGame::Engine()
{
    return *static_cast<CMemoryEngine*>(World().m_p3DEngine.get());
}

std::string StringTableName(const std::string& language, const std::string& section, bool charset)
{
    return "strings/_strings." + language + section + (charset ? ".utf8.indexed.ucs2.raw" : ".utf8.ucs2.raw");
}

std::map<std::string, std::string> StringTables(const std::vector<std::u16string>& strings,
                                                const std::vector<std::u16string>& commons, bool charset)
{
    return {{StringTableName("en", "", charset), StringFileBytes(strings)},
            {StringTableName("en", ".commons", charset), StringFileBytes(commons)}};
}

std::map<std::string, std::string> WidgetFiles()
{
    std::map<std::string, std::string> files = StringTables({u"Name", u"Other", u"Third", u"Fourth", u"Fifth"});
    for (const char* name : {"textures.Desktop/toolbar.1024x45.png", "textures.Desktop/menubar.60x768.png",
                             "textures/buttons.ingame.png", "textures/timer.png", "textures/hint.png", "timer.png",
                             "hint.png", "textures/toolbar.png"})
        files[name] = "picture";
    return files;
}

std::map<std::string, std::string> LayeredMenuFiles()
{
    C3dxModel mesh;
    for (uint32_t part = 0; part < kLayeredMenuParts; ++part) {
        mesh.parts.emplace_back().record = {part, 3 * part, 3, 3 * part, 3, 1, kPrimitiveTriangleList, kCullNone};
        mesh.vertices.resize(3 * part + 3, C3dxVertex{{1, 2, 0}, {0, 0, -1}, 0xFFFFFFFFu, 0, {0, 0}});
        mesh.indices.insert(mesh.indices.end(), {0, 1, 2});
    }
    std::map<std::string, std::string> files = StringTables({u"zero"});
    files[GameRawName("_menu_0.obj.3dx")] = Make3dxBytes(mesh, 16, kWrite3dxPositions | kWrite3dxUVs);
    return files;
}

void WalkPopupPages(CFuzzTextGame& game, uint32_t count)
{
    CPopupText popup(game.World().GetData());
    FUZZ_CHECK(popup.Load(kFixtureScale, kFixtureScale) == RES_OK);
    const int32_t numbers[] = {-7, INT32_MAX};
    for (uint32_t i = 0; i < 2 * count; ++i) {
        if (i % 2)
            popup.SetTextFormat(i / 2, kGameTable, numbers, 2);
        else
            popup.SetText(i / 2, kGameTable);
        for (uint32_t page = 0; popup.OnButton(page == 2 ? kPopupButtonBack : kPopupButtonNext, 0.0f) == 0; ++page) {
            FUZZ_CHECK(page <= kPopupTextUnits + 1);
            FUZZ_CHECK(std::find(popup.GetPage(), popup.GetPage() + kPopupTextUnits, 0) != popup.GetPage() + kPopupTextUnits);
        }
        FUZZ_CHECK(!popup.HoldsText());
    }
    FUZZ_CHECK(popup.Release() == RES_OK);
}

void PrepareGameWith(const std::string& file, const uint8_t* data, size_t size)
{
    std::map<std::string, std::string> files = GameRawFiles();
    files[GameRawName(file)] = std::string(reinterpret_cast<const char*>(data), size);
    CFuzzGame game;
    IgnoreResult(game.Prepare(files));
}
