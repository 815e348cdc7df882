#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/GameTooltip.h"
#include "game/LevelHost.h"
#include "game/widgets/Toolbar.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"

namespace {

constexpr Result kFadesRun = static_cast<Result>(3);

// A drawn part starts fading out, a hidden one fading in; a fade bit left from before goes.
void StartFade(ScenePart& part)
{
    const bool drawn = (part.flags & kPartDrawn) != 0;
    part.flags = (part.flags & ~(kPartFadingIn | kPartFadingOut)) | (drawn ? kPartFadingOut : kPartFadingIn);
    part.alpha = drawn ? 1.0f : 0.0f;
}

// One fade step; false when the part does not fade. A fade ends on reaching its bound.
bool StepFade(ScenePart& part, float step)
{
    if ((part.flags & kPartFadingOut) && part.alpha > 0.0f) {
        part.alpha -= step;
        if (part.alpha <= 0.0f) {
            part.alpha = 0.0f;
            part.flags &= ~(kPartDrawn | kPartFadingIn | kPartFadingOut);
        }
        return true;
    }
    if ((part.flags & kPartFadingIn) && part.alpha < 1.0f) {
        part.alpha += step;
        if (part.alpha >= 1.0f) {
            part.alpha = 1.0f;
            part.flags = (part.flags | kPartDrawn) & ~(kPartFadingIn | kPartFadingOut);
        }
        return true;
    }
    return false;
}

} // namespace

bool CLevelVadadiDazidev::IsCandidate(const ScenePart& part, const CStateBlock& block) const
{
    if ((part.flags & (kPartWaiting | kPartClickable)) != kPartClickable)
        return false;
    const bool ghost = part.phase == kPhaseGhost;
    if (part.phase != m_nSceneState && !(ghost && block.ghostsClickable))
        return false;
    CToolbar* toolbar = Toolbar();
    return (part.flags & kPartToggles) || ghost || (toolbar && toolbar->IsItemShown(part.itemId));
}

Result CLevelVadadiDazidev::OnClick(float x, float y)
{
    if (m_bBusy || m_nSelectedPart != -1)
        return RES_OK;
    if (m_nSceneState == kStateQuiz)
        return RES_FAIL;
    if (Succeeded(CLevel::OnClick(x, y)))
        return RES_OK;
    const CStateBlock& block = StateBlock();
    for (uint32_t n = m_nPartCount; n-- > 0;) {
        ScenePart& part = m_pParts[n];
        if (IsCandidate(part, block) && Succeeded(HitTestPart(n, x, y))) {
            Collect(n, part);
            return RES_OK;
        }
    }
    return RES_FAIL;
}

void CLevelVadadiDazidev::Collect(uint32_t index, ScenePart& part)
{
    CHiddenObjectRecord* record = Record();
    if (!record)
        return;
    StartFade(part);
    part.flags |= kPartWaiting;
    if (part.phase == kPhaseGhost) {
        PlayLevelSound(record->ghostSound, false);
        return;
    }
    const bool sounded = part.phase < kSearchStateCount;
    if (sounded)
        PlayLevelSound(record->hitSounds[part.phase], false);
    if (part.flags & kPartToggles) {
        m_bToggleWasDrawn = (part.flags & kPartDrawn) ? 1 : 0;
        m_nSelectedPart = static_cast<int32_t>(index);
        return;
    }
    CLevelHost* world = World();
    if (part.phase == 2 && world) {
        for (uint32_t n = 0; n < world->GetTooltipCount(); ++n) {
            if (CGameTooltip* tooltip = world->GetTooltip(n))
                tooltip->OnObjectEvent(m_nId, index);
        }
    }
    CToolbar* toolbar = Toolbar();
    if (toolbar && toolbar->RemoveFoundItem(part.itemId, record->toolbarHeightIgnored == 0) && sounded)
        PlayLevelSound(record->itemsDoneSounds[part.phase], false);
}

Result CLevelVadadiDazidev::FadeParts()
{
    CGameData* game = Game();
    const float step = static_cast<float>(m_pWorldData->frameFactor) * (game ? game->m_fObjectsFadeOutSpeed : 0.0f);
    bool fading = false;
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        if (m_pParts[n].phase != kPhaseArrows && StepFade(m_pParts[n], step))
            fading = true;
    }
    return fading && !IsToolbarHeightIgnored() ? kFadesRun : RES_OK;
}

void CLevelVadadiDazidev::UpdateQuizFade()
{
    m_fQuizFade += static_cast<float>(m_pWorldData->frameFactor) * 0.1f;
    if (m_fQuizFade > 1.0f)
        m_fQuizFade = 1.0f;
    IgnoreResult(FadeParts());  // the quiz does not wait on the fades
}

Result CLevelVadadiDazidev::Update()
{
    Result fade = RES_OK;
    if (m_nSceneState < kSearchStateCount || m_nSceneState == kStateArrows)
        fade = FadeParts();
    else if (m_nSceneState == kStateQuiz)
        UpdateQuizFade();
    CToolbar* toolbar = Toolbar();
    CLevelHost* world = World();
    if (world && world->IsLevelIdle() && fade == RES_OK && m_nSceneState < kSearchStateCount &&
        (!toolbar || toolbar->GetItemCount() == 0) && !m_bTimerShown) {
        const bool collection = m_nSceneState == 2;
        IgnoreResult(AdvanceSceneState(false));
        if (collection)
            CheckTooltips();
    }
    if (m_bBusy && fade != kFadesRun)
        m_bBusy = 0;
    if (m_nSelectedPart != -1 && fade != kFadesRun)
        StepToggleBlink();
    return fade;
}

// The switch part blinks out and back in (or in and back out), then the switch acts.
void CLevelVadadiDazidev::StepToggleBlink()
{
    ScenePart* part = GetPart(static_cast<uint32_t>(m_nSelectedPart));
    if (!part) {
        m_nSelectedPart = -1;
        return;
    }
    const bool drawn = (part->flags & kPartDrawn) != 0;
    if (drawn != (m_bToggleWasDrawn != 0)) {
        StartFade(*part);
    } else {
        part->flags = (part->flags | kPartClickable) & ~kPartWaiting;
        IgnoreResult(CompleteScene(static_cast<uint32_t>(m_nSelectedPart)));
        m_nSelectedPart = -1;
    }
}
