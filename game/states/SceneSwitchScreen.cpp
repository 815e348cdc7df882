#include "game/states/SceneSwitchScreen.h"

#include "base/StringHelpers.h"
#include "core/Log.h"
#include "game/LevelRecord.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/states/PopupScreen.h"

void CSceneSwitchScreen::Update()
{
    if (m_world.m_nState == GS_SCENE_INTRO_TEXT)
        m_popups.StepPages();
}

void CSceneSwitchScreen::Render()
{
    switch (m_world.m_nState) {
    case GS_SCENE_CHANGE: return PrepareNextScene();
    case GS_SCENE_SWITCH: return SwitchWithoutIntro();
    default: return RenderSceneIntro();
    }
}

void CSceneSwitchScreen::PrepareNextScene()
{
    CVadadiDazidevWorld& world = m_world;
    world.DrawBackdrop();
    if (world.IsFadeOver() || world.m_nSceneArgument != kNoIndex) {
        if (world.m_nNextScene >= world.m_nSceneCount) {
            LogPrintf(world.m_pData->logPath, 1, u"# CVadadiDazidevWorld::GoToScene failed! invalid scene (%d)\n",
                      world.m_nNextScene);
            world.m_nNextScene = kNoIndex;
            world.m_nSceneArgument = kNoIndex;
            world.SetState(GS_MAIN_MENU, 1);
            return;
        }
        CGameLevel* current = world.GetCurrentLevel();
        CGameLevel* next = world.m_pScenes[world.m_nNextScene].get();
        if (current && (current != next || world.m_nSceneArgument != kNoIndex))
            current->Stop();
        const CLevelRecord* record = world.QueuedRecord();
        if (Failed(world.ShowNextScenePopup())) {
            world.SetState(GS_SCENE_SWITCH, 0);
        } else {
            if (record && record->backgroundName[0] && world.m_pBackground) {
                char16_t name[kBackgroundNameBytes];
                WidenString(record->backgroundName, name, kBackgroundNameBytes);
                IgnoreResult(world.m_pBackground->SetScenePicture(name));
            }
            world.SetState(GS_SCENE_INTRO_FADE, 1);
        }
    }
    if (world.m_nSceneArgument == kNoIndex && world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawLoadingBig());
}

void CSceneSwitchScreen::RenderSceneIntro()
{
    CVadadiDazidevWorld& world = m_world;
    const uint32_t state = world.m_nState;
    if (CPopupText* popup = world.m_pPopupWaiting.get()) {
        popup->DrawBackdrop(true, false, true);
        IgnoreResult(popup->Render());
    }
    if (state != GS_SCENE_INTRO_TEXT && world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawLoading(true, false, false, false));
    if (state == GS_SCENE_INTRO_FADE && world.IsFadeOver()) {
        world.SetState(GS_SCENE_SWITCH_WITH_INTRO, 0);
    } else if (state == GS_SCENE_SWITCH_WITH_INTRO) {
        world.SetState(GS_SCENE_INTRO_TEXT, 0);
        world.SwitchToNextScene(world.m_nNextScene);
        world.Resync();
    } else if (state == GS_SCENE_INTRO_TEXT) {
        world.RenderNavButtons();
        if (world.m_nPendingState != GS_NONE)
            world.Resync();
    }
}

void CSceneSwitchScreen::SwitchWithoutIntro()
{
    CVadadiDazidevWorld& world = m_world;
    world.DrawBackdrop();
    if (world.m_nSceneArgument == kNoIndex && world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawLoading(false, true, true, false));
    world.SetState(GS_IN_GAME, 0);
    world.SwitchToNextScene(world.m_nNextScene);
    world.Resync();
}
