#include "levels/objects/LevelTooltip.h"

#include <algorithm>
#include <new>

#include "core/Stream.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/GameLevel.h"
#include "game/GameTooltip.h"
#include "game/LevelHost.h"
#include "game/widgets/ScreenQuads.h"
#include "levels/LevelSounds.h"
#include "levels/SceneFiles.h"
#include "levels/actions/LevelActions.h"
#include "levels/objects/ObjectStreams.h"

namespace {

constexpr float kSlideStep = 0.1f;
// Update's answer while the panel slides.
constexpr Result kTooltipSliding = static_cast<Result>(3);
constexpr uint32_t kStepBytes = 16;
constexpr uint32_t kCollisionColour = 0xFFFFFFFFu;
constexpr uint32_t kPartDone = kPartWaiting;
// Completion actions in the order they apply, the record switch last.
constexpr uint32_t kCompletionOrder[kTooltipCompletionActions] = {1, 2, 3, 4, 0};

bool ReadStep(CStream& s, CTooltipStep& step)
{
    return ReadValue(s, step.part) && ReadValue(s, step.eventValue) && ReadValue(s, step.eventObject) &&
           ReadValue(s, step.nextPage);
}

} // namespace

CLevelTooltip::CLevelTooltip(CWorldData* data, C3DEngine* engine, uint32_t id) : CGameTooltip(data, engine, id)
{
    m_nType = kSceneTypeTooltip;
}

Result CLevelTooltip::Init()
{
    if (Failed(CGameTooltip::Init()))
        return RES_FAIL;
    m_fScale = std::max(m_pWorldData->workingWidth / kVirtualScreenWidth,
                        m_pWorldData->workingHeight / kVirtualScreenHeight);
    for (C3DObject* object : {m_pDisplay, m_pCollision}) {
        IgnoreResult(object->UseOwnMatrix());
        IgnoreResult(object->Identity());
        IgnoreResult(object->ScaleUniform(m_fScale));
    }
    return RES_OK;
}

Result CLevelTooltip::Release()
{
    m_pSteps.reset();
    m_nStepCount = 0;
    for (std::unique_ptr<CLevelAction>& action : m_pActions)
        action.reset();
    return CGameTooltip::Release();
}

Result CLevelTooltip::ReadDescription(CStream* stream)
{
    if (!stream || Failed(CGameTooltip::LoadDescription(stream)))
        return RES_FAIL;
    CStream& s = *stream;
    uint32_t count = 0;
    if (!TakeValue(s, m_bHidden) || !TakeSlideState(s, m_nSlideState) || !TakeValue(s, m_fOffsetX) ||
        !ReadValue(s, count) || uint64_t{count} * kStepBytes > s.BytesLeft())
        return RES_FAIL;
    std::unique_ptr<CTooltipStep[]> steps(new (std::nothrow) CTooltipStep[count ? count : 1]());
    if (!steps)
        return RES_OUT_OF_MEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        const CTooltipStep& step = steps[i];
        if (!ReadStep(s, steps[i]) || (step.part != -1 && (step.part < 0 || uint32_t(step.part) >= m_nPartCount)))
            return RES_FAIL;
    }
    m_pSteps = std::move(steps);
    m_nStepCount = count;
    if (!TakeValue(s, m_nFinalPage))
        return RES_FAIL;
    for (uint32_t i = 0; i < kTooltipCompletionActions; ++i) {
        m_pActions[i] = MakeLevelAction(kTooltipActionKinds[i], m_pWorldData);
        if (!m_pActions[i] || Failed(m_pActions[i]->Load(s)))
            return RES_FAIL;
    }
    return TakeValue(s, m_nDoneSound) && TakeValue(s, m_nStepSound) ? RES_OK : RES_FAIL;
}

Result CLevelTooltip::LoadDescription(CStream* stream)
{
    if (Failed(ReadDescription(stream)) || Failed(LoadSceneFiles(*this, u"tooltip", true)))
        return RES_FAIL;
    return RES_OK;
}

Result CLevelTooltip::SaveObjects(CStream* stream)
{
    if (!stream || Failed(CGameTooltip::SaveObjects(stream)))
        return RES_FAIL;
    CStream& s = *stream;
    return WriteValue(s, m_bDone) && WriteValue(s, m_bHidden) && WriteValue(s, m_fPhase) &&
                   WriteValue(s, m_nSlideState) && WriteValue(s, m_nFinalPage)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelTooltip::LoadObjects(CStream* stream, uint32_t version)
{
    if (!stream || Failed(CGameTooltip::LoadObjects(stream, version)))
        return RES_FAIL;
    CStream& s = *stream;
    return TakeValue(s, m_bDone) && TakeValue(s, m_bHidden) && TakeValue(s, m_fPhase) &&
                   TakeSlideState(s, m_nSlideState) && TakeValue(s, m_nFinalPage)
               ? RES_OK
               : RES_FAIL;
}

void CLevelTooltip::PlaySounds()
{
    if (!m_bHidden)
        PrepareBankSound(m_pWorldData, m_nStepSound, 0);
    PrepareBankSound(m_pWorldData, m_nDoneSound, 0);
}

bool CLevelTooltip::RevertPartStates(uint32_t, uint32_t skipped)
{
    for (uint32_t i = 0; m_pSnapshot && i < std::min(m_nSnapshotCount, m_nPartCount); ++i) {
        if (i != skipped)
            m_pParts[i].flags = m_pSnapshot[i];
    }
    return false;
}

void CLevelTooltip::PlacePanel(float k)
{
    if (!m_pDisplay)
        return;
    CGameData* game = m_pWorldData->gameData;
    CLevelHost* world = game ? game->m_pLevelHost : nullptr;
    CGameLevel* level = world ? world->GetCurrentLevel() : nullptr;
    const float w = level && !level->IsToolbarHidden() ? world->GetToolbarSize().x * game->m_fConstructRatio : 0.0f;
    const Vector3 shift{m_fScale * k * m_fOffsetX + k * w, 0.0f, 0.0f};
    for (C3DObject* object : {m_pDisplay, m_pCollision}) {
        IgnoreResult(object->UseOwnMatrix());
        IgnoreResult(object->Identity());
        IgnoreResult(object->ScaleUniform(m_fScale));
        IgnoreResult(object->SetTranslation(&shift));
    }
}

Result CLevelTooltip::Update()
{
    const float step = static_cast<float>(m_pWorldData->frameFactor) * kSlideStep;
    PlacePanel(StepSlide(m_nSlideState, m_fPhase, step, step));
    return m_nSlideState == kTooltipUnfolding || m_nSlideState == kTooltipFolding ? kTooltipSliding : RES_OK;
}

void CLevelTooltip::Reset()
{
    m_fPhase = 0.0f;
    m_nSlideState = kTooltipFolded;
}

Result CLevelTooltip::OnClick(float x, float y)
{
    if (m_bHidden)
        return RES_FAIL;
    for (uint32_t i = 0; i < m_nPartCount; ++i) {
        const uint32_t flags = m_pParts[i].flags;
        if ((flags & kPartClickable) && !(flags & kPartDone) && Succeeded(HitTestPart(i, x, y))) {
            PlayStepSound();
            const bool open = m_nSlideState == kTooltipShown || m_nSlideState == kTooltipUnfolding;
            m_nSlideState = open ? kTooltipFolding : kTooltipUnfolding;
            return RES_OK;
        }
    }
    return RES_FAIL;
}

void CLevelTooltip::PlayStepSound()
{
    PlayLoadedBankSound(m_pWorldData, m_nStepSound);
}

bool CLevelTooltip::OnObjectEvent(uint32_t value, uint32_t object)
{
    for (uint32_t i = 0; i < m_nStepCount; ++i) {
        const CTooltipStep& step = m_pSteps[i];
        ScenePart* part = step.part != -1 ? GetPart(static_cast<uint32_t>(step.part)) : nullptr;
        if (!part || static_cast<uint32_t>(step.eventValue) != value || static_cast<uint32_t>(step.eventObject) != object)
            continue;
        part->flags = ((part->flags ^ kPartDrawn) & ~(kPartFadingIn | kPartFadingOut)) | kPartDone;
        if (step.nextPage != kNoPopupPage)
            m_nPendingPage = step.nextPage;
        if (!m_bHidden && m_nSlideState != kTooltipShown)
            m_nSlideState = kTooltipUnfolding;
        return true;
    }
    return false;
}

bool CLevelTooltip::AllStepsDone()
{
    for (uint32_t i = 0; i < m_nStepCount; ++i) {
        const ScenePart* part = m_pSteps[i].part != -1 ? GetPart(static_cast<uint32_t>(m_pSteps[i].part)) : nullptr;
        if (part && !(part->flags & kPartDone))
            return false;
    }
    if (m_nFinalPage != kNoPopupPage)
        m_nPendingPage = m_nFinalPage;
    CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    const uint32_t scene = game && game->m_pLevelHost ? game->m_pLevelHost->GetCurrentSceneIndex() : kNoIndex;
    for (uint32_t place : kCompletionOrder) {
        if (m_pActions[place])
            IgnoreResult(m_pActions[place]->Apply(place == 0 ? static_cast<int32_t>(scene) : -1));
    }
    PlayLoadedBankSound(m_pWorldData, m_nDoneSound);
    m_bDone = 1;
    return true;
}

// The drawn parts; with the developer's collision display every collision part too, in white.
void CLevelTooltip::Draw()
{
    if (m_bHidden || !m_pDisplay)
        return;
    for (uint32_t i = 0; i < m_nPartCount; ++i) {
        if (m_pParts[i].flags & kPartDrawn)
            IgnoreResult(m_pDisplay->RenderPart(i));
    }
    const CGameData* game = m_pWorldData->gameData;
    if (!game || !game->m_bDebugKeys || !game->m_bDebugCollision || !m_pCollision)
        return;
    m_pCollision->SetColor(kCollisionColour);
    for (uint32_t i = 0; i < m_nPartCount; ++i)
        IgnoreResult(m_pCollision->RenderPart(i));
}

void CLevelTooltip::RenderObject()
{
    if (m_pDisplay)
        IgnoreResult(m_pDisplay->Render());
}
