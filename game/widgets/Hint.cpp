#include "game/widgets/Hint.h"

#include <algorithm>
#include <cmath>

#include "base/WideFormat.h"
#include "core/Stream.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/SoundBank.h"
#include "game/StreamValues.h"
#include "game/widgets/ScreenQuads.h"
#include "modules/Audio.h"
#include "world/World.h"

namespace {

constexpr uint32_t kAllIds = 0xFFFFFFFFu;
constexpr uint32_t kSharedTexture = 1;
constexpr uint32_t kAlphaLinear = 0x52;
constexpr uint16_t kCountAlign = 0x103;
constexpr float kFramesPerSecond = 30.0f;
constexpr float kSpinStep = 0.1f;
constexpr float kTwoPi = 6.2831855f;
constexpr uint32_t kTimerColumns = 4;
constexpr uint32_t kTutorialImages[3] = {6, 10, 14};

} // namespace

CHint::CHint(CWorldData* data) : m_pData(data) {}

CHint::~CHint()
{
    IgnoreResult(Release());
}

C3DEngine* CHint::Engine() const
{
    return m_pData->world ? m_pData->world->Get3DEngine() : nullptr;
}

Result CHint::Load()
{
    IgnoreResult(Release());
    ReadSettings();
    Result result = MakeObjects();
    if (Succeeded(result))
        result = MakeCountText();
    if (Failed(result))
        IgnoreResult(Release());
    return result;
}

CHintCounts ReadHintCounts(const CParamsReader* external)
{
    constexpr uint32_t kDefaultCount = 9;
    const auto max = static_cast<uint16_t>(external ? external->GetU32(u"HINT", u"HINT_MAX_COUNT", kDefaultCount)
                                                    : kDefaultCount);
    const auto start = static_cast<uint16_t>(external ? external->GetU32(u"HINT", u"HINT_START_COUNT", kDefaultCount)
                                                      : kDefaultCount);
    return {max, std::min(start, max)};
}

void CHint::ReadSettings()
{
    const CHintCounts counts = ReadHintCounts(m_pData->gameData->m_pExternalParams.get());
    m_nMaxCount = counts.max;
    m_nCount = counts.start;
    const CParamsReader& p = *m_pData->gameParams;
    auto read = [&p](const char16_t* key, float fallback) {
        return static_cast<float>(p.GetFloat(u"HINT", key, fallback));
    };
    // No charge time: the button is always charged.
    m_fFullCharge = std::max(read(u"TIMER_CHARGE_SECONDS", 10.0f) * kFramesPerSecond, 0.0f);
    m_fHalfWidth = read(u"TIMER_WIDTH", 32.0f) * 0.5f;
    m_vPosition = {read(u"TIMER_POS_X", 0.0f), read(u"TIMER_POS_Y", 0.0f), 0.0f};
    m_fFadeInSpeed = read(u"HINT_FADE_IN_SPEED", 0.1f);
    m_fRenderingSpeed = read(u"HINT_RENDERING_SPEED", 0.01f);
    m_fFadeOutSpeed = read(u"HINT_FADE_OUT_SPEED", 0.1f);
}

Result CHint::MakeObjects()
{
    CScreenRect cells[kTimerImages];
    const float side = m_fHalfWidth * 2.0f;
    for (uint32_t i = 0; i < kTimerImages; ++i) {
        const float u = static_cast<float>(i % kTimerColumns) * 0.25f;
        const float v = static_cast<float>(i / kTimerColumns) * 0.25f;
        cells[i] = CentredSquare(side, u, v, u + 0.25f, v + 0.25f);
    }
    m_pTimer = CreateScreenQuads(Engine(), kScreenQuadFlagsA, kScreenQuadFlagsB, cells, kTimerImages);
    const float glowSide = static_cast<float>(m_pData->gameParams->GetFloat(u"HINT", u"HINT_WIDTH", 256.0f));
    const CScreenRect glow = CentredSquare(glowSide, 0.0f, 0.0f, 1.0f, 1.0f);
    m_pGlow = CreateScreenQuads(Engine(), kDisplayObjectFlagsA, kDisplayObjectFlagsB, &glow, 1);
    if (!m_pTimer || !m_pGlow)
        return RES_FAIL;
    const Result result = AutoLoad3DObjectTextureFromParam(kSourcePacker, m_pTimer, kSharedTexture, kAlphaLinear, 0,
                                                           u"HINT", u"TIMER_TEXTURE_FILE_NAME", u"timer.png",
                                                           m_pData->gameParams, m_pData);
    if (Failed(result))
        return result;
    return AutoLoad3DObjectTextureFromParam(kSourcePacker, m_pGlow, kSharedTexture, kAlphaLinear, 0, u"HINT",
                                            u"HINT_TEXTURE_FILE_NAME", u"hint.png", m_pData->gameParams, m_pData);
}

Result CHint::MakeCountText()
{
    m_pCountText = static_cast<C3DContainerText*>(Engine()->CreateContainerText(kAllIds, 0));
    if (!m_pCountText)
        return RES_FAIL;
    const CTextStyles& styles = m_pData->gameData->m_TextStyles;
    m_pCountText->SetDrawRoutine(DrawTextObjectCallback);
    m_pCountText->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
    m_pCountText->SetScale(styles.m_GameSize[0], styles.m_GameSize[1]);
    m_pCountText->SetAlign(kCountAlign);
    m_pCountText->SetColor(styles.m_GameColors[0] | 0xFF000000u, 0, 0);
    UpdateCountText();
    return RES_OK;
}

Result CHint::Release()
{
    C3DEngine* engine = Engine();
    DestroyScreenObject(engine, m_pTimer);
    DestroyScreenObject(engine, m_pGlow);
    if (m_pCountText && engine)
        IgnoreResult(engine->DestroyContainer(m_pCountText));
    m_pCountText = nullptr;
    return RES_OK;
}

Result CHint::ReadConstruction(CStream& stream)
{
    return ReadValue(stream, m_nSoundIndex) ? RES_OK : RES_FAIL;
}

void CHint::PlayClickSound()
{
    CSoundBank* bank = SoundBankOf(m_pData);
    const uint32_t index = m_nSoundIndex & 0xFFFF;
    if (bank && index != kNoHintSound)
        bank->AddAudio(static_cast<uint16_t>(index), 0);
}

// The bank's sound of the index when it is loaded, an audio engine exists and sounds are heard.
void CHint::PlaySound()
{
    const CGameData& game = *m_pData->gameData;
    const uint32_t index = m_nSoundIndex & 0xFFFF;
    if (!m_pData->world || !m_pData->world->GetAudioEngine() || index == kNoHintSound || index >= game.m_nSoundCount ||
        !game.m_pSounds || game.m_fSoundVolume == 0.0f)
        return;
    const CSoundBankEntry& entry = game.m_pSounds[index];
    if (entry.m_nState != 0 && entry.m_pSound)
        IgnoreResult(entry.m_pSound->Play());
}

void CHint::ProcessGlow()
{
    if (m_nGlowState == kGlowOff || !m_pGlow)
        return;
    const auto frame = static_cast<float>(m_pData->frameFactor);
    switch (m_nGlowState) {
    case kGlowFadeIn:
        m_fPhase += frame * m_fFadeInSpeed;
        if (m_fPhase > 1.0f) {
            m_nGlowState = kGlowShow;
            m_fPhase = 1.0f;
        }
        m_pGlow->SetAlpha(static_cast<uint8_t>(m_fPhase * 255.0f));
        break;
    case kGlowShow:
        m_fPhase -= frame * m_fRenderingSpeed;
        if (m_fPhase < 0.0f) {
            m_nGlowState = kGlowFadeOut;
            m_fPhase = 1.0f;
        }
        break;
    default:
        m_fPhase -= frame * m_fFadeOutSpeed;
        if (m_fPhase < 0.0f) {
            m_nGlowState = kGlowOff;
            m_fPhase = 0.0f;
        }
        m_pGlow->SetAlpha(static_cast<uint8_t>(m_fPhase * 255.0f));
        break;
    }
    m_fAngle = std::fmod(m_fAngle - frame * kSpinStep, kTwoPi);
    if (m_fAngle < 0.0f)
        m_fAngle += kTwoPi;
    if (!(m_fAngle < kTwoPi))  // a tiny negative angle rounds up to the full turn
        m_fAngle = 0.0f;
    const Vector3 place = {m_vTarget.x, m_vTarget.y, 0.0f};
    IgnoreResult(m_pGlow->UseOwnMatrix());
    IgnoreResult(m_pGlow->SetMatrix(&m_pData->gameData->m_matView[0]));
    IgnoreResult(m_pGlow->Translate(&place));
    IgnoreResult(m_pGlow->RotateZ(m_fAngle));
}

void CHint::Recharge()
{
    if (m_nCount == 0)
        return;
    m_fCharge = std::min(m_fCharge + static_cast<float>(m_pData->frameFactor), m_fFullCharge);
    m_nFrame = m_fFullCharge > 0.0f
                   ? static_cast<uint32_t>(static_cast<double>(m_fCharge) / m_fFullCharge * kChargedImage)
                   : kChargedImage;
}

void CHint::RenderGlow()
{
    if (m_nGlowState != kGlowOff && m_pGlow)
        IgnoreResult(m_pGlow->Render());
}

void CHint::DrawTimer(uint32_t image, const Vector3& position)
{
    IgnoreResult(m_pTimer->UseOwnMatrix());
    IgnoreResult(m_pTimer->Identity());
    IgnoreResult(m_pTimer->SetTranslation(&position));
    IgnoreResult(m_pTimer->RenderPart(image));
}

void CHint::RenderAt(float y)
{
    if (!m_pTimer || !m_pCountText)
        return;
    const Vector3 position = y == 0.0f ? m_vPosition : Vector3{kVirtualScreenWidth * 0.5f, y, 0.0f};
    DrawTimer(m_nFrame, position);
    IgnoreResult(m_pCountText->Identity());
    IgnoreResult(m_pCountText->SetTranslation(&position));
    m_pCountText->UpdateWorldMatrix();
    m_pCountText->Render(0);
}

void CHint::RenderTutorialTimers(float y)
{
    if (!m_pTimer)
        return;
    for (uint32_t i = 0; i < 3; ++i)
        DrawTimer(kTutorialImages[i], {kVirtualScreenWidth * 0.25f * static_cast<float>(i + 1), y, 0.0f});
}

void CHint::UpdateCountText()
{
    char16_t* text = m_pData->scratch;
    WFormat(text, kScratchUnits, u"%d", static_cast<int32_t>(m_nCount));
    if (IsCharsetMode(*m_pData->gameData))
        ApplyCharsetRemap(text, m_pData);
    if (m_pCountText)
        m_pCountText->SetText(text);
}

void CHint::AddHints(uint16_t n)
{
    m_nCount = static_cast<uint16_t>(std::min<uint32_t>(uint32_t{m_nCount} + n, m_nMaxCount));
    UpdateCountText();
}

void CHint::FillTimer()
{
    if (m_nCount == 0)
        return;
    m_nFrame = kChargedImage;
    m_fCharge = m_fFullCharge;
}

void CHint::EmptyTimer()
{
    m_fCharge = 0.0f;
    m_nFrame = 0;
}

Result CHint::TryUseHint()
{
    if (!m_pData->gameData->m_bDebugKeys && (m_nFrame != kChargedImage || m_nCount == 0))
        return RES_FAIL;
    auto inside = [this](float x, float y) {
        return m_vPosition.x - m_fHalfWidth <= x && x < m_vPosition.x + m_fHalfWidth &&
               m_vPosition.y - m_fHalfWidth <= y && y < m_vPosition.y + m_fHalfWidth;
    };
    if (!inside(m_pData->pointerX, m_pData->pointerY) || !inside(m_pData->pressX, m_pData->pressY))
        return RES_FAIL;
    if (m_nCount > 0) {
        --m_nCount;
        UpdateCountText();
    }
    m_fPhase = 0.0f;
    EmptyTimer();
    return RES_OK;
}

void CHint::StartHint(const Vector3& target)
{
    m_vTarget = target;
    m_nGlowState = kGlowFadeIn;
    m_fPhase = 0.0f;
    m_fCharge = 0.0f;
    PlaySound();
}

void CHint::FadeOut()
{
    if (m_nGlowState != kGlowFadeIn && m_nGlowState != kGlowShow)
        return;
    m_nGlowState = kGlowFadeOut;
    m_fPhase = 1.0f;
}

void CHint::Stop()
{
    m_nGlowState = kGlowOff;
    m_fPhase = 0.0f;
}

Result CHint::SaveToProfile(CStream& stream)
{
    return WriteValue(stream, m_fCharge) && WriteValue(stream, m_nCount) ? RES_OK : RES_FAIL;
}

Result CHint::LoadFromProfile(CStream& stream, uint16_t)
{
    float charge = 0.0f;
    uint16_t count = 0;
    if (!ReadValue(stream, charge) || !ReadValue(stream, count))
        return RES_FAIL;
    m_fCharge = std::isfinite(charge) ? std::clamp(charge, 0.0f, m_fFullCharge) : 0.0f;
    m_nCount = std::min(count, m_nMaxCount);
    UpdateCountText();
    return RES_OK;
}
