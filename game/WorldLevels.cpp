#include <algorithm>
#include <new>
#include <utility>

#include "core/Stream.h"
#include "game/GameLabels.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "game/widgets/Toolbar.h"

// The world's side of the levels: access to the levels and their helper objects, tooltips shown
// and hidden, the time running out, the level start, and the profile sections of the timer, the
// tooltips, the levels and the current scene.

namespace {

constexpr uint32_t kTooltipsBusy = 3;

// One of the level sections of a profile file.
class CLevelSection : public CProfileSection {
public:
    using Save = Result (CVadadiDazidevWorld::*)(CStream&);
    using Load = Result (CVadadiDazidevWorld::*)(CStream&, uint16_t);
    CLevelSection(CVadadiDazidevWorld* world, Save save, Load load) : m_pWorld(world), m_save(save), m_load(load) {}
    Result SaveToProfile(CStream& stream) override { return (m_pWorld->*m_save)(stream); }
    Result LoadFromProfile(CStream& stream, uint16_t version) override { return (m_pWorld->*m_load)(stream, version); }

private:
    CVadadiDazidevWorld* m_pWorld;
    Save m_save;
    Load m_load;
};

bool IsSlideDone(uint32_t state)
{
    return state == kTimerShown || state == kTimerAppearing;
}

} // namespace

CGameLabels* CVadadiDazidevWorld::GetLabels() const
{
    return dynamic_cast<CGameLabels*>(m_pLabels.get());
}

CGameLevel* CVadadiDazidevWorld::GetScene(uint32_t n) const
{
    return m_pScenes && n < m_nSceneCount ? m_pScenes[n].get() : nullptr;
}

CGameTooltip* CVadadiDazidevWorld::GetTooltip(uint32_t n) const
{
    return m_pTooltips && n < m_nTooltipCount ? dynamic_cast<CGameTooltip*>(m_pTooltips[n].get()) : nullptr;
}

CGameTimer* CVadadiDazidevWorld::GetTimer() const
{
    return dynamic_cast<CGameTimer*>(m_pTimer.get());
}

float CVadadiDazidevWorld::GetSceneZoom() const
{
    if (m_fZoom > 0.0f)
        return m_fZoom;
    CGameLevel* level = GetCurrentLevel();
    return level ? GetFitZoomRatio(level->GetRefWidth(), level->GetRefHeight(), level->IsToolbarHeightIgnored(),
                                   level->IsToolbarHidden())
                 : 1.0f;
}

void CVadadiDazidevWorld::ShowTooltip(uint8_t index)
{
    m_nTooltipBusy = kTooltipsBusy;
    if (CGameTooltip* tooltip = GetTooltip(index)) {
        if (tooltip->GetSlideState() != kTooltipShown)
            tooltip->SetSlideState(kTooltipUnfolding);
        tooltip->SetHidden(false);
    }
}

void CVadadiDazidevWorld::HideTooltip(uint8_t index)
{
    if (CGameTooltip* tooltip = GetTooltip(index)) {
        if (tooltip->GetSlideState() != kTooltipFolded) {
            m_nTooltipBusy = kTooltipsBusy;
            tooltip->SetSlideState(kTooltipFolding);
        }
        tooltip->SetHidden(true);
    }
}

void CVadadiDazidevWorld::MarkAudio(uint16_t index)
{
    if (m_pAudioEngine && m_GameData.m_pSounds && index < m_GameData.m_nSoundCount &&
        m_GameData.m_pSounds[index].m_nState != kSoundUnloaded)
        m_GameData.m_pSounds[index].m_nState = kSoundMarked;
}

void CVadadiDazidevWorld::OnTimeUp()
{
    CGameTimer* timer = GetTimer();
    if (!timer || !IsSlideDone(timer->GetSlideState()))
        return;
    timer->Hide();
    CGameLevel* level = GetCurrentLevel();
    if (!level || !m_pToolbar || m_pToolbar->GetItemCount() == 0 || level->GetType() != kLevelTypeHiddenObject)
        return;
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        if (CGameTooltip* tooltip = GetTooltip(i))
            tooltip->RevertPartStates(level->GetSceneState(), kNoPart);
    }
    level->RevertPartStates(level->GetSceneState(), kNoPart);
    level->SetDone();
    ReloadSceneWithArgument(level->GetCurrentRecord());
}




Result CVadadiDazidevWorld::RenderTimerBadge(CMenuDialog& dialog, float alpha)
{
    dialog.HideNavButtons();
    dialog.ShowTimerBadge(static_cast<uint8_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
    dialog.UpdateNavButtons();
    const uint32_t clicked = dialog.GetClickedButton(0);
    dialog.RenderNavButtons();
    return clicked == kNavTimerBadge ? RES_OK : RES_FAIL;
}


int32_t CVadadiDazidevWorld::TakeTooltipPage()
{
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        CGameTooltip* tooltip = GetTooltip(i);
        if (tooltip && tooltip->GetPendingPage() != kNoPopupPage) {
            const int32_t page = tooltip->GetPendingPage();
            tooltip->SetPendingPage(kNoPopupPage);
            return page;
        }
    }
    return kNoPopupPage;
}

void CVadadiDazidevWorld::ResetTooltips()
{
    for (uint32_t i = 0; i < m_nTooltipCount; ++i) {
        if (CGameTooltip* tooltip = GetTooltip(i))
            tooltip->Reset();
    }
}

void CVadadiDazidevWorld::StartLevel(CGameLevel& level, uint32_t record)
{
    if (record != kNoIndex)
        level.SetCurrentRecord(record);
    IgnoreResult(level.Start(kSceneStateFresh));
    const uint32_t mode = m_GameData.m_nMode, slot = m_GameData.m_nSlot, visit = level.GetFirstVisitIndex();
    if (level.ResetsFirstVisit() && mode < kProfileModeCount && slot < kProfileSlotCount &&
        visit < sizeof(CProfileProgress::m_FirstVisit))
        m_GameData.Progress(mode, slot).m_FirstVisit[visit] = 0;
    level.ResetEffects();
}

const CLevelRecord* CVadadiDazidevWorld::QueuedRecord() const
{
    CGameLevel* next = GetScene(m_nNextScene);
    if (!next)
        return nullptr;
    return next->GetRecord(m_nSceneArgument == kNoIndex ? next->GetCurrentRecord() : m_nSceneArgument);
}

void CVadadiDazidevWorld::RegisterLevelSections()
{
    using W = CVadadiDazidevWorld;
    const std::pair<CLevelSection::Save, CLevelSection::Load> sections[kLevelSectionCount] = {
        {&W::SaveTimerSection, &W::LoadTimerSection},
        {&W::SaveTooltipSections, &W::LoadTooltipSections},
        {&W::SaveLevelSections, &W::LoadLevelSections},
        {&W::SaveSceneSection, &W::LoadSceneSection},
    };
    const ProfileSectionSlot slots[kLevelSectionCount] = {kProfileSectionTimer, kProfileSectionTooltips,
                                                         kProfileSectionLevels, kProfileSectionScenes};
    for (uint32_t i = 0; i < kLevelSectionCount; ++i) {
        m_pLevelSections[i].reset(new (std::nothrow) CLevelSection(this, sections[i].first, sections[i].second));
        SetProfileSection(slots[i], m_pLevelSections[i].get());
    }
}

Result CVadadiDazidevWorld::SaveTimerSection(CStream& stream)
{
    return m_pTimer ? m_pTimer->SaveObjects(&stream) : RES_OK;
}

Result CVadadiDazidevWorld::LoadTimerSection(CStream& stream, uint16_t version)
{
    return m_pTimer ? m_pTimer->LoadObjects(&stream, version) : RES_OK;
}

Result CVadadiDazidevWorld::SaveTooltipSections(CStream& stream)
{
    for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
        if (m_pTooltips[i] && Failed(m_pTooltips[i]->SaveObjects(&stream)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::LoadTooltipSections(CStream& stream, uint16_t version)
{
    for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
        if (m_pTooltips[i] && Failed(m_pTooltips[i]->LoadObjects(&stream, version)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::SaveLevelSections(CStream& stream)
{
    for (uint32_t i = 0; m_pScenes && i < m_nSceneCount; ++i) {
        if (m_pScenes[i] && Failed(m_pScenes[i]->SaveObjects(&stream)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::LoadLevelSections(CStream& stream, uint16_t version)
{
    for (uint32_t i = 0; m_pScenes && i < m_nSceneCount; ++i) {
        if (m_pScenes[i] && Failed(m_pScenes[i]->LoadObjects(&stream, version)))
            return RES_FAIL;
    }
    return RES_OK;
}

// The current level's progress, then each tooltip's (their results are not looked at).
Result CVadadiDazidevWorld::SaveSceneSection(CStream& stream)
{
    CGameLevel* level = GetCurrentLevel();
    if (level && Failed(level->SaveProgress(&stream)))
        return RES_FAIL;
    for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
        if (m_pTooltips[i])
            IgnoreResult(m_pTooltips[i]->SaveProgress(&stream));
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::LoadSceneSection(CStream& stream, uint16_t version)
{
    CGameLevel* level = GetCurrentLevel();
    if (level && Failed(level->LoadProgress(&stream, version)))
        return RES_FAIL;
    for (uint32_t i = 0; m_pTooltips && i < m_nTooltipCount; ++i) {
        if (m_pTooltips[i])
            IgnoreResult(m_pTooltips[i]->LoadProgress(&stream, version));
    }
    if (level && level->GetType() == kLevelTypeHiddenObject)
        level->ResetEffects();
    return RES_OK;
}
