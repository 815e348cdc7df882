#include "game/KvoMusicManager.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "tests/game/GameLoadFixture.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"
#include "tests/support/SceneFixture.h"
#include "tools/RawFileWriter.h"

namespace {

// A level counting its leaves, starts and resumes.
class CCountingLevel : public CTestLevel {
public:
    CCountingLevel(CWorldData* data) : CTestLevel(data, nullptr, 0, kLevelTypeJigsaw) {}
    void OnLeave() override { ++m_nLeaves; }
    Result Start(uint32_t) override { return ++m_nStarts, RES_OK; }
    void Resume() override { ++m_nResumes; }
    // One scene record, starting with the intro sound and no other sound.
    CLevelRecord& GiveRecord(uint16_t introSound)
    {
        m_nRecordCount = 1;
        EXPECT_EQ(AllocRecords(), RES_OK);
        CLevelRecord& record = *GetRecord(0);
        record.introSound = introSound;
        record.introPopup.popupId = kNoPopup;
        record.soundId = kNoSound;
        for (CLevelTimedEffect& effect : record.effects)
            effect.soundId = kNoSound;
        return record;
    }
    int m_nLeaves = 0, m_nStarts = 0, m_nResumes = 0;
};

// The world with a test audio engine, a bank of "a.wav" (present), "b.wav" (missing), "c.wav"
// (present) and the music "music.wav", and two counting levels.
class WorldSoundsTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        m_dir.Write("data/a.wav", "RIFF");
        m_dir.Write("data/c.wav", "RIFF");
        m_dir.Write("data/sounds/music.wav", "RIFF");
        const std::u16string folder = Wide(m_dir.File("data/"));
        WStrCopy(m_world.GetData()->dataFolder, kMaxPathUnits, folder.c_str());
        m_world.m_pAudioEngine.reset(m_engine = new CTestSoundEngine(m_world.GetData()));
        CGameData& g = Data();
        const std::u16string names = u"a.wav#b.wav#c.wav";
        g.m_pSoundNames.reset(new char16_t[names.size() + 1]);
        std::copy(names.begin(), names.end(), g.m_pSoundNames.get());
        g.m_pSoundNames[5] = g.m_pSoundNames[11] = g.m_pSoundNames[17] = 0;
        g.m_pSoundNameOffsets.reset(new uint16_t[3]{0, 6, 12});
        g.m_pSounds.reset(new CSoundBankEntry[3]{
            {m_engine->CreateAudio(0, 0), 0}, {m_engine->CreateAudio(0, 0), 0}, {m_engine->CreateAudio(0, 0), 0}});
        g.m_nSoundCount = 3;
        m_world.m_pScenes.reset(new std::unique_ptr<CGameLevel>[2]);
        for (uint32_t i = 0; i < 2; ++i)
            m_world.m_pScenes[i].reset(m_levels[i] = new CCountingLevel(m_world.GetData()));
        m_world.m_nSceneCount = 2;
        ASSERT_EQ(m_world.LoadProfiles(), RES_OK);
    }
    void TearDown() override
    {
        EXPECT_EQ(m_world.Release(), RES_OK);
        GameWorldTest::TearDown();
    }
    static std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }
    CTestSound* Sound(uint16_t index) { return static_cast<CTestSound*>(Data().m_pSounds[index].m_pSound); }
    uint32_t State(uint16_t index) { return Data().m_pSounds[index].m_nState; }
    // The hint and the stars with the catch sound of these bank indexes.
    void GiveWidgets(uint32_t hintSound, uint32_t starSound)
    {
        m_world.m_pHint = std::make_unique<CHint>(m_world.GetData());
        m_world.m_pStars = std::make_unique<CStars>(m_world.GetData(), nullptr);
        CSceneTestStream hint(SoundIndexBody(hintSound)), stars(SoundIndexBody(starSound));
        ASSERT_EQ(m_world.m_pHint->ReadConstruction(hint), RES_OK);
        ASSERT_EQ(m_world.m_pStars->ReadConstruction(&stars), RES_OK);
    }

    CTestSoundEngine* m_engine = nullptr;
    CCountingLevel* m_levels[2] = {};
};

} // namespace

TEST_F(WorldSoundsTest, ASoundSurvivesOneSweepAndAMissingOneIsTriedAgain)
{
    m_world.AddAudio(0, 1);
    EXPECT_EQ(State(0), 1u);
    EXPECT_EQ(Sound(0)->IsLooping(), 1);
    EXPECT_EQ(Sound(0)->m_fVolume, 1.0f);
    m_world.ReleaseUnusedSounds();
    EXPECT_EQ(State(0), 2u) << "one sweep survived";
    m_world.ReleaseUnusedSounds();
    EXPECT_EQ(State(0), 0u);
    EXPECT_EQ(Sound(0)->m_nReleases, 1);

    m_world.AddAudio(1, 0);
    m_world.AddAudio(1, 0);
    EXPECT_EQ(State(1), 0u);
    size_t missing = 0;
    for (size_t at = s_log.find(u"b.wav\" is missing"); at != std::u16string::npos; at = s_log.find(u"b.wav\" is missing", at + 1))
        ++missing;
    EXPECT_EQ(missing, 2u) << "retried";
    m_world.AddAudio(3, 0);  // the count: refused, nothing changes
    EXPECT_EQ(State(0) * 10 + State(1), 0u);
    m_world.MarkAudio(0);
    EXPECT_EQ(State(0), 0u) << "an unloaded sound stays unloaded";
    m_world.AddAudio(0, 0);
    m_world.MarkAudio(0);  // kept by a level
    for (int sweep = 0; sweep < 3; ++sweep)
        m_world.ReleaseUnusedSounds();
    EXPECT_EQ(State(0), 3u);
    EXPECT_TRUE(Sound(0)->m_bLoaded);
    m_world.AddAudio(0, 0);
    EXPECT_EQ(State(0), 1u) << "used again, swept again";
}

TEST_F(WorldSoundsTest, TheMusicStopsAtZeroPlaysAgainAndOtherwiseOnlyChangesItsVolume)
{
    m_world.m_pMusicManager = std::make_unique<CKvoMusicManager>(m_world.GetData(), m_engine);
    ASSERT_EQ(m_world.m_pMusicManager->Load(), RES_OK);
    auto* music = static_cast<CTestSound*>(m_world.m_pMusicManager->GetSound());
    EXPECT_TRUE(music->IsLooping());
    for (auto [volume, playing] : {std::pair{0.0f, false}, {0.5f, true}, {0.7f, true}}) {
        Data().m_fMusicVolume = volume;
        m_world.ApplyMusicVolume();
        EXPECT_EQ(music->m_bPlaying, playing);
        EXPECT_EQ(music->m_fVolume, volume);
    }
    EXPECT_EQ(music->m_nLoads, 1);
}

TEST_F(WorldSoundsTest, TheSceneSwitchResumesTheRunningLevelOrStartsTheQueuedOne)
{
    Data().m_nMode = 0;
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(m_levels[1]->m_nStarts, 1);
    EXPECT_EQ(m_world.m_nCurrentScene, 1u);
    EXPECT_TRUE(std::filesystem::exists(SaveFile("profile_normal_full_0.sav"))) << "saved";
    m_world.GoToScene(1);
    EXPECT_EQ(m_levels[1]->m_nLeaves, 0) << "the same level without a record";
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(m_levels[1]->m_nResumes, 1);
    EXPECT_EQ(m_levels[1]->m_nStarts, 1);
    m_world.ReloadSceneWithArgument(0);
    EXPECT_EQ(m_levels[1]->m_nLeaves, 1);
    EXPECT_EQ(m_world.m_nNextScene, 1u);

    std::filesystem::remove(SaveFile("profile_normal_full_0.sav"));
    Data().m_bDebugKeys = 1;
    m_world.SwitchToNextScene(0);
    EXPECT_EQ(m_levels[0]->m_nStarts, 1);
    EXPECT_EQ(m_world.m_nSceneArgument, kNoIndex);
    EXPECT_FALSE(std::filesystem::exists(SaveFile("profile_normal_full_0.sav"))) << "not with the developer switch";
}

TEST_F(WorldSoundsTest, TheSceneSwitchKeepsTheWidgetsSoundsAndEndsTheLastScenesGlow)
{
    Data().m_nMode = 0;
    GiveWidgets(0, 2);
    m_world.m_pHint->StartHint({0.0f, 0.0f, 0.0f});
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(State(0) * 10 + State(2), 22u) << "the hint's and the star's sound loaded, swept once";
    EXPECT_TRUE(Sound(0)->m_bLoaded && Sound(2)->m_bLoaded);
    EXPECT_EQ(m_world.m_pHint->GetGlowState(), kGlowOff) << "a stale glow would swallow the next click";
    m_world.m_pHint->FadeOut();
    EXPECT_EQ(m_world.m_pHint->GetGlowState(), kGlowOff) << "nothing left to fade";

    Data().m_fSoundVolume = 0.0f;
    m_world.SwitchToNextScene(0);
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(State(0) * 10 + State(2), 0u) << "silent scenes keep no sound";
    EXPECT_EQ(Sound(0)->m_nReleases, 1);
}

TEST_F(WorldSoundsTest, AResumedLevelReplaysItsStartSoundOnlyWhileItsIntroIsToShow)
{
    Data().m_nMode = 0;
    CLevelRecord& record = m_levels[1]->GiveRecord(2);
    m_world.SwitchToNextScene(1);
    EXPECT_FALSE(Sound(2)->m_bPlaying) << "a fresh start leaves the intro sound to the scene change";
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(m_levels[1]->m_nResumes, 1);
    EXPECT_TRUE(Sound(2)->m_bPlaying);

    EXPECT_EQ(Sound(2)->Stop(), RES_OK);
    record.introPopup.shown = 1;
    m_world.SwitchToNextScene(1);
    record.introPopup.shown = 0;
    Data().m_fSoundVolume = 0.0f;
    m_world.SwitchToNextScene(1);
    record.introSound = kNoSound;
    Data().m_fSoundVolume = 1.0f;
    m_world.SwitchToNextScene(1);
    EXPECT_EQ(m_levels[1]->m_nResumes, 4);
    EXPECT_FALSE(Sound(2)->m_bPlaying) << "not after the intro, not silent, not without a sound";
}
