#include "fuzz/FuzzGame.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "base/WideString.h"
#include "fuzz/FuzzSupport.h"
#include "game/SoundNames.h"
#include "levels/Level.h"
#include "tests/support/LevelTestKit.h"
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
    m_world.SetParameters(nullptr, &m_game, nullptr, nullptr, 0, nullptr, nullptr);
    m_world.GetDataFolder();
}

CFuzzGame::~CFuzzGame()
{
    m_world.Release();
}

Result CFuzzGame::Prepare(const std::map<std::string, std::string>& files)
{
    CPakWriter pak;
    for (const auto& [name, bytes] : files)
        FUZZ_CHECK(pak.Add(name, bytes) == RES_OK);
    const std::string bytes = pak.Bytes();
    const std::string path = WriteFuzzFile("game.pak", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    m_world.SetParameters(nullptr, &m_game, nullptr, Utf8ToUtf16(path).c_str(), 0, FindPackerEntry, nullptr);
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

void PrepareGameWith(const std::string& file, const uint8_t* data, size_t size)
{
    std::map<std::string, std::string> files = GameRawFiles();
    files[GameRawName(file)] = std::string(reinterpret_cast<const char*>(data), size);
    CFuzzGame game;
    game.Prepare(files);
}
