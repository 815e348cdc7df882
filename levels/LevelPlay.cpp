#include "core/Log.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/LevelHost.h"
#include "levels/Level.h"
#include "levels/LevelSounds.h"
#include "modules/Audio.h"
#include "modules/AudioEngine.h"

// The level's visit: start and leave, the click targets, the record's sounds and timed effects.

namespace {

constexpr uint32_t kModeTimed = 1;
constexpr uint32_t kPhaseClickTarget = 6;
constexpr uint32_t kPhaseFirst = 1;

// Start actions in the order they apply: hide tooltips, show tooltips, show, hide, disable, enable.
constexpr uint32_t kStartApplyOrder[kStartActionCount] = {4, 5, 0, 1, 2, 3};
// Leave actions in the order they apply: the record switch last.
constexpr uint32_t kLeaveApplyOrder[kLeaveActionCount] = {0, 1, 3, 4, 5, 6, 2};

template <size_t N>
void ApplyInOrder(std::unique_ptr<CLevelAction> (&actions)[N], const uint32_t (&order)[N])
{
    for (uint32_t place : order) {
        if (actions[place])
            IgnoreResult(actions[place]->Apply(-1));  // a kind that needs a level id does nothing on -1
    }
}

// A fade that was under way ends where it was heading.
void SettlePart(ScenePart& part)
{
    if (part.flags & kPartFadingIn)
        part.flags = (part.flags | kPartDrawn) & ~(kPartFadingIn | kPartFadingOut);
    else if (part.flags & kPartFadingOut)
        part.flags &= ~(kPartDrawn | kPartFadingIn | kPartFadingOut);
    if (part.phase == kPhaseFirst && (part.flags & kPartWaiting))
        part.flags = ((part.flags | kPartClickable) ^ kPartDrawn) & ~(kPartWaiting | kPartFadingIn | kPartFadingOut);
    part.flags &= ~(kPartToggles | kPartSecondView);
}

} // namespace

CLevelHost* CLevel::World() const
{
    CGameData* game = Game();
    return game ? game->m_pLevelHost : nullptr;
}

CGameData* CLevel::Game() const
{
    return m_pWorldData ? m_pWorldData->gameData : nullptr;
}

bool CLevel::HasAudio() const
{
    CLevelHost* world = World();
    return world && world->GetAudioEngine();
}

void CLevel::QueuePopup(CLevelPopupGroup& popup)
{
    if (popup.shown || popup.popupId == kNoPopup)
        return;
    PushPopup(popup.popupId);
    popup.shown = popup.repeat == 0;
}

void CLevel::CheckTooltips()
{
    CLevelHost* world = World();
    for (uint32_t n = 0; world && n < world->GetTooltipCount(); ++n) {
        CGameTooltip* tooltip = world->GetTooltip(n);
        if (tooltip && !tooltip->IsDone())
            tooltip->AllStepsDone();
    }
}

void CLevel::ArmEffects()
{
    CLevelRecord* record = CurrentRecord();
    for (uint32_t i = 0; i < kTimedEffectCount; ++i) {
        CLevelEffectClock& clock = m_EffectClocks[i];
        clock.clock = 0.0f;
        if (!record || !m_pWorldData)
            continue;
        CLevelTimedEffect& effect = record->effects[i];
        clock.period = static_cast<float>(effect.minFrames + (effect.maxFrames - effect.minFrames) *
                                                                 RandomFraction(m_pWorldData->random));
        effect.fired = 0;
    }
}

Result CLevel::Start(uint32_t mode)
{
    m_nSceneState = mode;
    IgnoreResult(CGameLevel::Start(mode));  // the scene object's start holds nothing that fails
    CGameData* game = Game();
    const bool timed = game && game->m_nMode == kModeTimed;
    if (timed)
        HideTimer(0);
    CLevelRecord* record = CurrentRecord();
    if (mode == kSceneStateFresh && record) {
        QueuePopup(record->startPopup);
        ApplyInOrder(record->startActions, kStartApplyOrder);
        CheckTooltips();
    }
    ArmEffects();
    if (mode == kSceneStateFresh)
        OfferStarAtStart(timed);
    return RES_OK;
}

void CLevel::Stop()
{
    CGameLevel::Stop();
    if (!m_bDone) {
        if (CLevelRecord* record = CurrentRecord())
            ApplyInOrder(record->leaveActions, kLeaveApplyOrder);
        CheckTooltips();
    }
    ArmEffects();
    for (uint32_t i = 0; i < m_nPartCount; ++i)
        SettlePart(m_pParts[i]);
    m_nActiveStar = kNoStar;
}

Result CLevel::OnClick(float x, float y)
{
    if (Succeeded(CatchStar(x, y)))
        return RES_OK;
    if (m_nSceneState != kSceneStateClickTargets)
        return RES_FAIL;
    uint32_t hit = m_nPartCount;
    for (uint32_t i = m_nPartCount; i-- > 0;) {
        const ScenePart& part = m_pParts[i];
        if (part.phase == kPhaseClickTarget && !(part.flags & kPartWaiting) && (part.flags & kPartClickable) &&
            Succeeded(HitTestPart(i, x, y))) {
            hit = i;
            break;
        }
    }
    if (hit == m_nPartCount)
        return RES_FAIL;
    uint32_t pair = 0;
    while (pair < m_nPairCount && m_pPairs[pair].part != hit)
        ++pair;
    if (pair == m_nPairCount)
        return RES_OK;
    CLevelRecord* record = CurrentRecord();
    if (record && record->pairSounds) {
        const uint16_t sound = record->pairSounds[pair];
        if (CLevelHost* world = HasAudio() ? World() : nullptr)
            world->MarkAudio(sound);
        PlayLoadedBankSound(m_pWorldData, sound);
    }
    CLevelHost* world = World();
    if (!world || m_pPairs[pair].targetScene == world->GetSceneCount())
        EndLevel();
    else
        world->GoToScene(m_pPairs[pair].targetScene);
    return RES_OK;
}

void CLevel::PlaySounds()
{
    CLevelRecord* record = CurrentRecord();
    if (!record)
        return;
    PrepareBankSound(m_pWorldData, record->soundId, 0);
    for (const CLevelTimedEffect& effect : record->effects)
        PrepareBankSound(m_pWorldData, effect.soundId, effect.loop);
    for (uint32_t i = 0; record->pairSounds && i < m_nPairCount; ++i)
        PrepareBankSound(m_pWorldData, record->pairSounds[i], 0);
}

void CLevel::UpdateEffects()
{
    CLevelRecord* record = CurrentRecord();
    if (!record || !HasAudio())
        return;
    for (uint32_t i = 0; i < kTimedEffectCount; ++i) {
        CLevelTimedEffect& effect = record->effects[i];
        CLevelEffectClock& clock = m_EffectClocks[i];
        if (effect.fired || effect.soundId == kNoSound)
            continue;
        clock.clock += static_cast<float>(m_pWorldData->frameFactor);
        if (!(clock.clock > clock.period))
            continue;
        CAudio* sound = LoadedBankSound(m_pWorldData, effect.soundId);
        if (sound && !sound->IsPlaying())
            PlayLoadedBankSound(m_pWorldData, effect.soundId);
        if (effect.loop || effect.minFrames == effect.maxFrames)
            effect.fired = 1;
        clock.period = static_cast<float>(effect.minFrames + (effect.maxFrames - effect.minFrames) *
                                                                 RandomFraction(m_pWorldData->random));
        clock.clock = 0.0f;
    }
}

void CLevel::ResetEffects()
{
    CLevelRecord* record = CurrentRecord();
    for (uint32_t i = 0; record && i < kTimedEffectCount; ++i) {
        CLevelTimedEffect& effect = record->effects[i];
        if (effect.fired && effect.loop) {
            m_EffectClocks[i] = {0.0f, 0.0f};
            effect.fired = 0;
        }
    }
}

void CLevel::HideTimer(uint32_t)
{
    CLevelHost* world = World();
    if (CGameTimer* timer = world ? world->GetTimer() : nullptr)
        timer->Hide();
    m_bTimerShown = 0;
}

void CLevel::EndLevel()
{
    CLevelRecord* record = CurrentRecord();
    CLevelHost* world = World();
    if (record && world && HasAudio()) {
        for (const CLevelTimedEffect& effect : record->effects) {
            if (CAudio* sound = LoadedBankSound(m_pWorldData, effect.soundId)) {
                IgnoreResult(sound->Stop());
                world->MarkAudio(effect.soundId);
            }
        }
    }
    if (world)
        world->OnGameFinished(0);
}
