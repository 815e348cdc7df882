#include "game/screens/ScreenLayeredMenu.h"

#include <cmath>
#include <new>

#include "base/WideFormat.h"
#include "core/Log.h"
#include "core/Stream.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/StreamValues.h"

namespace {

constexpr float kHalfPi = 1.5707963267948966f;
constexpr float kEnterSpeed = 0.01f;
constexpr float kLeaveSpeed = 0.5f;
// Base x, base y and the third value after the layers.
constexpr uint32_t kMenuTailBytes = 12;

bool ReadLayer(CStream& stream, CMenuLayer& layer)
{
    Bytes<2> padding{};
    return ReadValue(stream, layer.m_nPart) && ReadValue(stream, layer.m_bHiddenMoving) &&
           ReadValue(stream, layer.m_bHiddenIdle) && ReadValue(stream, padding) && ReadValue(stream, layer.m_fScale) &&
           ReadValue(stream, layer.m_fWeightX) && ReadValue(stream, layer.m_fWeightY);
}

} // namespace

CScreenLayeredMenu::CScreenLayeredMenu(CWorldData* data, C3DEngine* engine, uint32_t menu)
    : CSceneObject3D(data, engine, menu)
{
    m_nType = kSceneTypeLayeredMenu;
}

Result CScreenLayeredMenu::LoadFiles()
{
    return LoadMesh();
}

Result CScreenLayeredMenu::LoadMesh()
{
    const CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    if (!game || !m_pDisplay)
        return RES_FAIL;
    char16_t name[kMaxPathUnits];
    WFormat(name, kMaxPathUnits, u"%s_menu_%u.obj.3dx", game->m_szRawFolder, m_nId);
    if (Failed(Load3DX(m_pDisplay, name)))
        return RES_FAIL;
    const uint32_t parts = m_pDisplay->GetPartCount();
    for (uint32_t i = 0; i < m_nLayerCount; ++i) {
        if (m_pLayers[i].m_nPart >= parts)
            LogPrintf(m_pWorldData->logPath, 1, u"# CScreenLayeredMenu::LoadMesh warning! layer %u names part %u of %u\n",
                      i, m_pLayers[i].m_nPart, parts);
    }
    return Failed(CSceneObject3D::LoadFiles()) ? RES_FAIL : RES_OK;
}

Result CScreenLayeredMenu::UnloadFiles()
{
    if (Failed(CSceneObject3D::UnloadFiles()) || !m_pDisplay)
        return RES_FAIL;
    return Failed(m_pDisplay->Release()) ? RES_FAIL : RES_OK;
}

Result CScreenLayeredMenu::LoadDescription(CStream* stream)
{
    if (Failed(CSceneObject3D::LoadDescription(stream)))
        return RES_FAIL;
    uint32_t count = 0;
    if (!ReadValue(*stream, count) || uint64_t{count} * kMenuLayerBytes + kMenuTailBytes > stream->BytesLeft())
        return RES_FAIL;
    std::unique_ptr<CMenuLayer[]> layers(new (std::nothrow) CMenuLayer[count ? count : 1]());
    if (!layers)
        return RES_OUT_OF_MEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        if (!ReadLayer(*stream, layers[i]))
            return RES_FAIL;
    }
    float baseX = 0.0f;
    float baseY = 0.0f;
    uint32_t third = 0;
    if (!ReadValue(*stream, baseX) || !ReadValue(*stream, baseY) || !ReadValue(*stream, third))
        return RES_FAIL;
    m_pLayers = std::move(layers);
    m_nLayerCount = count;
    m_fBaseX = baseX;
    m_fBaseY = baseY;
    m_nThirdValue = third;
    return RES_OK;
}

bool CScreenLayeredMenu::StepPhase(float speed)
{
    const double frameFactor = m_pWorldData ? m_pWorldData->frameFactor : 0.0;
    m_fPhase += static_cast<float>(frameFactor * speed);
    if (!(m_fPhase > 1.0f))
        return false;
    m_fPhase = 0.0f;
    return true;
}

bool CScreenLayeredMenu::StepEnter()
{
    return StepPhase(kEnterSpeed);
}

bool CScreenLayeredMenu::StepLeave()
{
    return StepPhase(kLeaveSpeed);
}

Result CScreenLayeredMenu::DrawEnter()
{
    return DrawLayers(Vector3{}, std::sin(m_fPhase * kHalfPi), true, false);
}

Result CScreenLayeredMenu::DrawEnterReverse()
{
    return DrawLayers(Vector3{}, 2.0f - std::sin(m_fPhase * kHalfPi), true, false);
}

Result CScreenLayeredMenu::DrawLeave()
{
    const Vector3 offset{m_vExitDirection.x * m_fPhase, m_vExitDirection.y * m_fPhase, m_vExitDirection.z * m_fPhase};
    return DrawLayers(offset, 1.0f, true, false);
}

Result CScreenLayeredMenu::DrawIdle(bool skipFirst, bool skipSecond)
{
    const CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    return DrawLayers(game ? game->m_vPointerOffset : Vector3{}, 1.0f, skipFirst, skipSecond);
}

Result CScreenLayeredMenu::DrawLayers(const Vector3& offset, float factor, bool skipFirst, bool skipSecond)
{
    const CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    if (!game || !m_pDisplay)
        return RES_OK;
    const uint32_t parts = m_pDisplay->GetPartCount();
    for (uint32_t i = 0; i < m_nLayerCount; ++i) {
        const CMenuLayer& layer = m_pLayers[i];
        if ((skipFirst && layer.m_bHiddenMoving) || (skipSecond && layer.m_bHiddenIdle) || layer.m_nPart >= parts)
            continue;
        const Vector3 move{layer.m_fWeightX * offset.x + m_fBaseX, layer.m_fWeightY * offset.y + m_fBaseY, 0.0f};
        IgnoreResult(m_pDisplay->SetMatrix(&game->m_matView[0]));
        IgnoreResult(m_pDisplay->Translate(&move));
        IgnoreResult(m_pDisplay->ScaleUniform(1.0f + factor * layer.m_fScale));
        IgnoreResult(m_pDisplay->RenderPart(layer.m_nPart));
    }
    return RES_OK;
}
