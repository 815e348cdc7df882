#include "game/GameTooltip.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "modules/Audio.h"

// The switches of the loaded resources between the intro screen, the outro screen and the
// levels; each keeps the sounds of what it shows and ends with the sound sweep.

namespace {

void UnloadIfLoaded(CSceneObject* object)
{
    if (object && object->IsLoaded())
        IgnoreResult(object->UnloadFiles());
}

void LoadUnlessLoaded(CSceneObject* object)
{
    if (object && !object->IsLoaded())
        IgnoreResult(object->LoadFiles());
}

} // namespace

// The menu dialog's click sound stays loaded across the switch.
void CVadadiDazidevWorld::KeepClickSound()
{
    if (m_pMenuDialog)
        m_pMenuDialog->PlaySound();
}

// The sounds of the scene just switched to and of the widgets over it stay loaded.
void CVadadiDazidevWorld::KeepSceneSounds(CGameLevel& level)
{
    level.PlaySounds();
    for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
        if (m_pTooltips[i])
            m_pTooltips[i]->PlaySounds();
    }
    if (m_pHint)
        m_pHint->PlayClickSound();
    if (m_pStars)
        m_pStars->PlaySound();
    KeepClickSound();
}

// A resumed level replays the start sound of its record while its intro pop-up is still to show.
void CVadadiDazidevWorld::ReplayStartSound(CGameLevel& level)
{
    const CLevelRecord* record = level.GetRecord(level.GetCurrentRecord());
    if (!m_pAudioEngine || m_GameData.m_fSoundVolume == 0.0f || !record || record->introSound == kNoSound ||
        record->introPopup.shown)
        return;
    PlayBankSound(record->introSound);
}

CScreenLayeredMenu* CVadadiDazidevWorld::LoadIntroScreen()
{
    UnloadIfLoaded(m_pMenuConclu.get());
    UnloadIfLoaded(GetCurrentLevel());
    LoadUnlessLoaded(m_pMenuIntro.get());
    if (m_pMenuIntro)
        m_pMenuIntro->ResetPhase();
    KeepClickSound();
    ReleaseUnusedSounds();
    ApplyMusicVolume();
    return m_pMenuIntro.get();
}

CScreenLayeredMenu* CVadadiDazidevWorld::LoadOutroScreen()
{
    UnloadIfLoaded(m_pMenuIntro.get());
    CGameLevel* level = GetCurrentLevel();
    const uint32_t mode = m_GameData.m_nMode;
    if (level && mode < kProfileModeCount && m_GameData.Progress(mode, m_GameData.m_nSlot).m_bFinished) {
        level->OnLeave();
        level->Stop();
        IgnoreResult(ShowNextPopup(GS_INGAME_POPUP));
    }
    UnloadIfLoaded(level);
    LoadUnlessLoaded(m_pMenuConclu.get());
    if (m_pMenuConclu)
        m_pMenuConclu->ResetPhase();
    if (m_GameData.m_fSoundVolume != 0.0f)
        KeepClickSound();
    ReleaseUnusedSounds();
    ApplyMusicVolume();
    return m_pMenuConclu.get();
}

void CVadadiDazidevWorld::SwitchToNextScene(uint32_t scene)
{
    UnloadIfLoaded(m_pMenuCurrent);
    CGameLevel* next = scene < m_nSceneCount ? m_pScenes[scene].get() : nullptr;
    if (!next) {
        m_nNextScene = kNoIndex;
        return;
    }
    const uint32_t slot = m_GameData.m_nSlot;
    const bool inUse = slot < kProfileSlotCount &&
                       (m_GameData.Progress(0, slot).m_bInUse || m_GameData.Progress(1, slot).m_bInUse);
    if (inUse && scene == m_nCurrentScene && m_nSceneArgument == kNoIndex) {
        m_nNextScene = kNoIndex;
        ReplayStartSound(*next);
        LoadUnlessLoaded(next);
        next->Resume();
    } else {
        CGameLevel* current = GetCurrentLevel();
        if (current && m_nSceneArgument == kNoIndex)
            UnloadIfLoaded(current);
        m_nCurrentScene = scene;
        m_nNextScene = kNoIndex;
        const uint32_t record = m_nSceneArgument;
        m_nSceneArgument = kNoIndex;
        LoadUnlessLoaded(next);
        StartLevel(*next, record);
    }
    const uint32_t mode = m_GameData.m_nMode;
    if (mode < kProfileModeCount && slot < kProfileSlotCount) {
        m_GameData.Progress(mode, slot).m_bInUse = 1;
        if (!m_GameData.m_bDebugKeys)
            IgnoreResult(SaveProfile(slot, mode));
    }
    if (m_GameData.m_fSoundVolume != 0.0f)
        KeepSceneSounds(*next);
    ReleaseUnusedSounds();
    // A glow left from the last scene would swallow the first click of this one.
    if (m_pHint)
        m_pHint->Stop();
    SnapCamera();
    if (m_pToolbar)
        m_pToolbar->UpdateZoomButton(IsZoomLocked());
    ResetTooltips();
    ApplyMusicVolume();
}
