#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Math3D.h"
#include "engine3d/Object.h"
#include "levels/objects/LevelTimer.h"
#include "levels/objects/LevelTooltip.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"
#include "tests/game/ScreensFixture.h"
#include "tests/support/LevelTestKit.h"
#include "tests/support/SceneFixture.h"
#include "tools/LevelFileWriter.h"

// A hidden-object level with real scene objects and stars.
class CLevelUnderTest : public CTestLevel {
public:
    CLevelUnderTest(CWorldData* data, C3DEngine* engine) : CTestLevel(data, engine, 0, kLevelTypeHiddenObject) {}
    Result Init() override { return CLevel::Init(); }
    bool AreStarsHidden() override { return false; }
    bool AreStarsHintOnly() override { return m_bHintOnly; }

    using CLevel::m_nActiveStar;
    using CLevel::m_pStars;
    bool m_bHintOnly = false;
};

// A bank sound that counts its plays and says it is playing when told.
class CCountingSound : public CAudio {
public:
    CCountingSound() : CAudio(nullptr) {}
    Result Play() override { return ++m_nPlays, RES_OK; }
    Result Stop() override { return ++m_nStops, RES_OK; }
    uint8_t IsPlaying() override { return m_bPlaying; }
    int m_nPlays = 0;
    int m_nStops = 0;
    uint8_t m_bPlaying = 0;
};

// The world on the memory renderer with the stars (4 per level, 32 wide), two scenes of which
// the first is the level under test, one tooltip, the timer and, on demand, an audio engine with
// a bank of counting sounds. Parts 0 and 1 of the level overlap on the triangle (100, 100),
// (200, 100), (100, 200).
class LevelBaseTest : public ScreensTest {
protected:
    static constexpr uint16_t kBankSounds = 4;

    void SetUp() override
    {
        ScreensTest::SetUp();
        m_settings += "[STARS]\nSTARS_COUNT_PER_LEVEL = " + std::to_string(StarsPerLevel()) + "\nSTARS_WIDTH = " + std::to_string(StarsWidth()) + "\n";
        m_files["stars.png"] = "picture";
        Raw("_menu_stars.raw", SoundIndexBody(1));
        Open();
        ASSERT_EQ(m_world.MakeStars(), RES_OK);
        m_math.Identity(&Game().m_matView[0]);
        m_world.m_fZoom = 1.0f;
        Game().m_fObjectsFadeOutSpeed = 0.0625f;
        Game().m_fStarsFadeInSpeed = 0.0625f;
        Game().m_nAddSecondsPerStar = 15;
        Game().m_nMode = 0;
        RandomSeed(Data()->random, 7);
        m_world.m_pScenes.reset(new std::unique_ptr<CGameLevel>[2]);
        m_world.m_nSceneCount = 2;
        m_world.m_nCurrentScene = 0;
        m_world.m_pTimer.reset(m_timer = new CLevelTimer(Data(), Engine(), 0));
        m_world.m_pTooltips.reset(new std::unique_ptr<CSceneObject3D>[1]);
        m_world.m_nTooltipCount = 1;
    }

    virtual uint32_t StarsPerLevel() const { return 4; }
    virtual uint32_t StarsWidth() const { return 32; }

    // Parts 0 and 1 of phase 6, clickable; part 0 leads to scene 1, and with toEnd a third
    // click target would be the scene count.
    static CLevelModel TwoPartLevel()
    {
        CLevelModel model;
        model.scene.parts.resize(2);
        for (CScenePartModel& part : model.scene.parts)
            part.phase = kSceneStateClickTargets, part.flags = kPartClickable | kPartDrawn;
        model.pairs = {{0, 1}};
        model.records.resize(2);
        return model;
    }

    CLevelUnderTest& MakeLevel(const CLevelModel& model)
    {
        auto* level = new CLevelUnderTest(Data(), Engine());
        m_world.m_pScenes[0].reset(level);
        EXPECT_EQ(level->Init(), RES_OK);
        CSceneTestStream stream(LevelBody(model));
        EXPECT_EQ(level->LoadDescription(&stream), RES_OK);
        BuildOverlap(level->GetCollisionObject(), static_cast<uint32_t>(model.scene.parts.size()));
        return *level;
    }

    CLevelTooltip& MakeTooltip(const CTooltipModel& model)
    {
        auto* tooltip = new CLevelTooltip(Data(), Engine(), 0);
        m_world.m_pTooltips[0].reset(tooltip);
        EXPECT_EQ(tooltip->Init(), RES_OK);
        CSceneTestStream stream(TooltipBody(model));
        EXPECT_EQ(tooltip->ReadDescription(&stream), RES_OK);
        BuildOverlap(tooltip->GetCollisionObject(), static_cast<uint32_t>(model.scene.parts.size()));
        return *tooltip;
    }

    // Every part the same triangle.
    static void BuildOverlap(C3DObject* o, uint32_t parts)
    {
        ASSERT_EQ(o->Create(parts, 3 * parts, 3 * parts), RES_OK);
        ASSERT_EQ(o->Lock(), RES_OK);
        for (uint32_t q = 0; q < parts; ++q) {
            o->SetVertex(3 * q + 0, 100, 100, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            o->SetVertex(3 * q + 1, 200, 100, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            o->SetVertex(3 * q + 2, 100, 200, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            for (uint32_t i = 0; i < 3; ++i)
                o->SetIndex(3 * q + i, i);
            ASSERT_EQ(o->SetPrimitiveGroup(q, 3 * q, 3, 3 * q, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId),
                      RES_OK);
        }
        ASSERT_EQ(o->Unlock(1), RES_OK);
    }

    void UseAudio()
    {
        m_world.m_pAudioEngine.reset(new CAudioEngine(Data()));
        Game().m_pSounds.reset(new CSoundBankEntry[kBankSounds]);
        for (uint16_t i = 0; i < kBankSounds; ++i)
            Game().m_pSounds[i] = {&m_sounds[i], kSoundUsed};
        Game().m_nSoundCount = kBankSounds;
        Game().m_fSoundVolume = 1.0f;
    }

    std::string Saved(CSceneObject3D& object, Result (CSceneObject3D::*save)(CStream*))
    {
        CSceneTestStream stream;
        EXPECT_EQ((object.*save)(&stream), RES_OK);
        return stream.Bytes();
    }

    CLevelTimer* m_timer = nullptr;
    CCountingSound m_sounds[kBankSounds];
};
