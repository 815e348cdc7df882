#include "base/WideFormat.h"
#include "game/ScenePartKinds.h"
#include "game/HiddenObjectScene.h"
#include "game/VadadiDazidevWorld.h"

namespace {

constexpr uint32_t kKeyUnits = 96;

// Each search state of the chain from the record's initial state once, while it searches.
void ReadRecordKeys(const CParamsReader& external, CHiddenObjectScene& records, uint32_t level, uint32_t record)
{
    char16_t key[kKeyUnits];
    bool visited[kTimedPartKindCount] = {};
    const uint32_t first = records.GetInitialState(record);
    for (uint32_t kind = first; kind < kTimedPartKindCount && !visited[kind];
         kind = records.GetNextState(record, kind)) {
        visited[kind] = true;
        WFormat(key, kKeyUnits, u"LEVEL_%d_PARAM_%d_EXTRA_SECONDS_ON_%S", level + 1, record + 1,
                kScenePartKinds[kind].code);
        records.SetExtraSeconds(record, kind, external.GetU32(u"TIME_ATTACK", key, 0));
    }
    if (first < kTimedPartKindCount) {
        WFormat(key, kKeyUnits, u"LEVEL_%d_PARAM_%d_EXTRA_ZOOM", level + 1, record + 1);
        records.SetRecordZoom(record, static_cast<float>(external.GetFloat(u"ZOOM_RATIO", key, 0.0f)));
    }
}

} // namespace

void CVadadiDazidevWorld::ReadLevelTimeAttackKeys()
{
    const CParamsReader* external = m_GameData.m_pExternalParams.get();
    if (!m_GameData.m_bEnableTimeAttack || !external)
        return;
    for (uint32_t level = 0; level < m_nSceneCount; ++level) {
        CGameLevel* scene = m_pScenes[level].get();
        auto* records = scene && scene->GetType() == kLevelTypeHiddenObject ? dynamic_cast<CHiddenObjectScene*>(scene)
                                                                            : nullptr;
        for (uint32_t record = 0; records && record < records->GetTimedRecordCount(); ++record)
            ReadRecordKeys(*external, *records, level, record);
    }
}
