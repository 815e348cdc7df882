#include "levels/objects/LevelTimer.h"

#include <algorithm>
#include <cmath>

#include "base/WideFormat.h"
#include "core/Math3D.h"
#include "core/Stream.h"
#include "engine3d/Font.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/StreamValues.h"
#include "levels/SceneFiles.h"
#include "levels/objects/ObjectStreams.h"

namespace {

constexpr float kAppearStep = 0.01f;
constexpr float kDisappearStep = 0.1f;
constexpr float kSecondsPerFrame = 0.033333335f;
constexpr float kAnchorShare = 0.125f;
constexpr size_t kTimeUnits = 16;

// The whole seconds of the frames as "mm:ss".
void FormatFrames(float frames, char16_t* out, size_t capacity)
{
    const auto seconds = static_cast<uint16_t>(frames * kSecondsPerFrame);
    WFormat(out, capacity, u"%02d:%02d", seconds / 60, seconds % 60);
}

} // namespace

CLevelTimer::CLevelTimer(CWorldData* data, C3DEngine* engine, uint32_t id) : CGameTimer(data, engine, id)
{
    m_nType = kSceneTypeTimer;
}

Result CLevelTimer::LoadFiles()
{
    if (Failed(LoadSceneFiles(*this, u"timer", false)))
        return RES_FAIL;
    return Failed(CGameTimer::LoadFiles()) ? RES_FAIL : RES_OK;
}

Result CLevelTimer::UnloadFiles()
{
    const Result scene = CGameTimer::UnloadFiles();
    return Failed(UnloadSceneFiles(*this)) || Failed(scene) ? RES_FAIL : RES_OK;
}

Result CLevelTimer::SaveObjects(CStream* stream)
{
    if (!stream || Failed(CGameTimer::SaveObjects(stream)))
        return RES_FAIL;
    return WriteValue(*stream, m_fPhase) && WriteValue(*stream, m_nSlideState) &&
                   WriteValue(*stream, m_fRemainingFrames)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelTimer::LoadObjects(CStream* stream, uint32_t version)
{
    if (!stream || Failed(CGameTimer::LoadObjects(stream, version)))
        return RES_FAIL;
    return TakeValue(*stream, m_fPhase) && TakeSlideState(*stream, m_nSlideState) &&
                   TakeValue(*stream, m_fRemainingFrames)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelTimer::LoadDescription(CStream* stream)
{
    if (!stream || Failed(CGameTimer::LoadDescription(stream)))
        return RES_FAIL;
    return TakeValue(*stream, m_vPosition.x) && TakeValue(*stream, m_vPosition.y) &&
                   TakeValue(*stream, m_fValue50) && TakeValue(*stream, m_fSize)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelTimer::Update()
{
    const float frames = m_pWorldData ? static_cast<float>(m_pWorldData->frameFactor) : 0.0f;
    m_fAlpha = StepSlide(m_nSlideState, m_fPhase, frames * kAppearStep, frames * kDisappearStep);
    if (m_nSlideState != kTimerShown && m_nSlideState != kTimerAppearing)
        return RES_OK;
    m_fRemainingFrames -= frames;
    // Landing on 0.0 is the last counted frame; the time runs out below it.
    if (m_fRemainingFrames >= 0.0f)
        return RES_OK;
    m_fRemainingFrames = 0.0f;
    return kTimerRanOut;
}

void CLevelTimer::FormatTime(char16_t* out, size_t capacity) const
{
    FormatFrames(m_fRemainingFrames, out, capacity);
}

void CLevelTimer::DrawText()
{
    DrawFrames(m_fRemainingFrames);
}

void CLevelTimer::DrawSeconds(float seconds)
{
    DrawFrames(seconds * kFramesPerSecond);
}

void CLevelTimer::DrawFrames(float frames)
{
    CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    if (!game || !game->m_pMainFont || !m_pWorldData->math)
        return;
    char16_t text[kTimeUnits];
    FormatFrames(frames, text, kTimeUnits);
    if (IsCharsetMode(*game))
        ApplyCharsetRemap(text, m_pWorldData);
    const float shift = m_fSize * kAnchorShare;
    const Vector3 anchor{m_vPosition.x + shift, m_vPosition.y + shift, m_vPosition.z + shift};
    Vector3 place{};
    m_pWorldData->math->TransformPoint(&place, &anchor, &game->m_matOffsetView);
    const CTextStyles& styles = game->m_TextStyles;
    Vector3 out{};
    game->m_pMainFont->HitTestText(&out, text, &place, kTextCenterX | kTextCenterY, GetTextColour(),
                                   styles.m_TimerSize[0], styles.m_TimerSize[1], nullptr, nullptr, 0);
}

uint32_t CLevelTimer::GetTextColour() const
{
    const CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    const uint32_t colour = game ? game->m_TextStyles.m_GameColors[0] : 0xFFFFFFFFu;
    const uint32_t alpha = std::max(1u, static_cast<uint32_t>(m_fAlpha * 255.0f));
    return (colour & 0x00FFFFFFu) | alpha << 24;
}

void CLevelTimer::SetSeconds(float seconds)
{
    m_fRemainingFrames = seconds * kFramesPerSecond;
    if (m_nSlideState == kTimerHidden || m_nSlideState == kTimerDisappearing)
        m_nSlideState = kTimerAppearing;
}

void CLevelTimer::AddSeconds(float seconds)
{
    m_fRemainingFrames += seconds * kFramesPerSecond;
}

void CLevelTimer::Hide()
{
    if (m_nSlideState == kTimerShown || m_nSlideState == kTimerAppearing)
        m_nSlideState = kTimerDisappearing;
}
