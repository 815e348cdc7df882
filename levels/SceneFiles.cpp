#include "levels/SceneFiles.h"

#include "base/WideFormat.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/SceneObject3D.h"
#include "game/GameData.h"

namespace {

Result LoadOne(CSceneObject3D& object, C3DObject* target, const char16_t* kind, const char16_t* suffix)
{
    const CGameData* game = object.GetWorldData() ? object.GetWorldData()->gameData : nullptr;
    if (!game || !target)
        return RES_FAIL;
    char16_t name[kMaxPathUnits];
    if (WFormat(name, kMaxPathUnits, u"%s_%s_%u.%s.3dx", game->m_szRawFolder, kind, object.GetId(), suffix) + 1 >=
        kMaxPathUnits)
        return RES_FAIL;
    return object.Load3DX(target, name);
}

} // namespace

Result LoadSceneFiles(CSceneObject3D& object, const char16_t* kind, bool collision)
{
    if (Failed(LoadOne(object, object.GetDisplayObject(), kind, u"obj")) ||
        (collision && Failed(LoadOne(object, object.GetCollisionObject(), kind, u"col"))))
        return RES_FAIL;
    return RES_OK;
}

Result UnloadSceneFiles(CSceneObject3D& object)
{
    Result result = RES_OK;
    for (C3DObject* target : {object.GetDisplayObject(), object.GetCollisionObject()}) {
        if (target && Failed(target->Release()))
            result = RES_FAIL;
    }
    return result;
}
