#include "game/widgets/TouchScreen.h"

#include "core/WorldData.h"
#include "core/Vector3.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "game/widgets/ScreenQuads.h"

namespace {

constexpr uint32_t kSharedTexture = 1;
constexpr uint32_t kAlphaLinear = 0x52;
constexpr float kFadeStep = 0.075f;

} // namespace

CTouchScreen::~CTouchScreen()
{
    IgnoreResult(Release());
}

Result CTouchScreen::Load(float side, uint32_t colour, const char16_t* section, const char16_t* key)
{
    IgnoreResult(Release());
    if (!MakeQuad(side, colour) ||
        Failed(AutoLoad3DObjectTextureFromParam(kSourcePacker, m_pMarker, kSharedTexture, kAlphaLinear, 0, section,
                                                key, u"touch.png", m_pData->gameParams, m_pData))) {
        IgnoreResult(Release());
        return RES_FAIL;
    }
    m_pMarker->SetColor(colour);
    return RES_OK;
}

bool CTouchScreen::MakeQuad(float side, uint32_t colour)
{
    m_pMarker = m_pEngine ? m_pEngine->CreateObject(kDisplayObjectFlagsA, kDisplayObjectFlagsB) : nullptr;
    if (!m_pMarker || Failed(m_pMarker->Create(1, 4, 4)))
        return false;
    const float h = side / 2.0f;
    IgnoreResult(m_pMarker->Lock());
    m_pMarker->ResetIndices();
    IgnoreResult(
        m_pMarker->SetPrimitiveGroup(0, 0, 4, 0, 4, 2, kPrimitiveTriangleStrip, kCullCounterClockwise, kPartNumberId));
    m_pMarker->FillIndexRange(0, 4);
    for (uint32_t corner = 0; corner < 4; ++corner) {
        const bool right = corner & 1;
        const bool bottom = corner & 2;
        m_pMarker->SetVertex(corner, right ? h : -h, bottom ? h : -h, 0.0f, colour, right ? 1.0f : 0.0f,
                             bottom ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f, 0);
    }
    IgnoreResult(m_pMarker->Unlock(0));
    return true;
}

Result CTouchScreen::Release()
{
    if (m_pMarker)
        IgnoreResult(m_pEngine->DestroyObject(m_pMarker));
    m_pMarker = nullptr;
    return RES_OK;
}

void CTouchScreen::Touch(float x, float y, bool second)
{
    Marker& marker = m_Markers[second ? 1 : 0];
    marker = {true, 1.0f, x, y, 0.0f};
}

Result CTouchScreen::Process()
{
    m_bBusy = false;
    for (Marker& marker : m_Markers) {
        if (!marker.active)
            continue;
        marker.alpha -= static_cast<float>(m_pData->frameFactor) * kFadeStep;
        // A marker that reaches 0.0 exactly ends too.
        if (marker.alpha <= 0.0f) {
            marker.alpha = 0.0f;
            marker.active = false;
        }
        if (m_pMarker)
            m_pMarker->SetAlpha(static_cast<uint8_t>(marker.alpha * 255.0f));
        m_bBusy = true;
    }
    return RES_OK;
}

Result CTouchScreen::Render()
{
    if (!m_pMarker)
        return RES_OK;
    for (const Marker& marker : m_Markers) {
        if (!marker.active || marker.alpha == 0.0f)
            continue;
        const Vector3 position = {marker.x, marker.y, marker.z};
        IgnoreResult(m_pMarker->SetTranslation(&position));
        IgnoreResult(m_pMarker->Render());
    }
    return RES_OK;
}
