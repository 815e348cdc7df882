#include "engine3d/SceneObject.h"

#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectFile.h"

CSceneObject::CSceneObject(CWorldData* data, uint32_t id) : m_pWorldData(data), m_nId(id) {}

Result CSceneObject::Init() { return RES_OK; }

Result CSceneObject::Release() { return RES_OK; }

void CSceneObject::Process() {}

void CSceneObject::Render() {}

Result CSceneObject::OnPress(float, float) { return RES_FAIL; }

Result CSceneObject::OnDrag(float, float, float) { return RES_FAIL; }

Result CSceneObject::OnRelease(float, float) { return RES_FAIL; }

Result CSceneObject::OnClick(float, float) { return RES_FAIL; }

Result CSceneObject::LoadFiles()
{
    m_nLoaded = 1;
    return RES_OK;
}

Result CSceneObject::UnloadFiles()
{
    m_nLoaded = 0;
    return RES_OK;
}

Result CSceneObject::Load3DX(C3DObject* object, const char16_t* name)
{
    if (!object || !name || !m_pWorldData || !m_pWorldData->pakLookup)
        return RES_FAIL;
    C3DObjectFile reader(m_pWorldData);
    if (Failed(m_pWorldData->pakLookup(name, &m_pWorldData->pak)))
        return RES_FAIL;
    if (Failed(reader.LoadFromPacker(&m_pWorldData->pak)))
        return RES_FAIL;
    if (object->GetFlagsB() & kTextureStage0)
        LocalizeTextures(&reader);
    if (Failed(object->LoadFromRaw(&reader, nullptr, m_pWorldData->pakLookup, nullptr)))
        return RES_FAIL;
    return RES_OK;
}

Result CSceneObject::SaveObjects(CStream*) { return RES_OK; }

Result CSceneObject::SaveProgress(CStream*) { return RES_OK; }

Result CSceneObject::LoadObjects(CStream*, uint32_t) { return RES_OK; }

Result CSceneObject::LoadProgress(CStream*, uint32_t) { return RES_OK; }

Result CSceneObject::LoadDescription(CStream*) { return RES_OK; }

uint32_t CSceneObject::GetCameraMode() { return 0; }

bool CSceneObject::IsSceneOptionSet() { return false; }

float CSceneObject::GetZoomRatio() { return 1.0f; }

float CSceneObject::GetRecordZoom() { return 1.0f; }

bool CSceneObject::IsClickPenaltyFree() { return false; }

bool CSceneObject::IsDragEnabled() { return false; }

bool CSceneObject::IsCameraDraggable() { return false; }

bool CSceneObject::IsToolbarHidden() { return false; }

bool CSceneObject::IsToolbarHeightIgnored() { return false; }

bool CSceneObject::IsHintRechargePaused() { return false; }

bool CSceneObject::IsPlayerHelpLocked() { return false; }
