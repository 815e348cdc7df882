#include "levels/objects/LevelLabels.h"

#include <new>

#include "core/Stream.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "levels/SceneFiles.h"
#include "levels/objects/ObjectStreams.h"

namespace {

constexpr uint32_t kLabelBytes = 22;

bool ReadLabel(CStream& s, CLabelRecord& label)
{
    bool read = ReadValue(s, label.part) && ReadValue(s, label.kind);
    for (uint32_t& value : label.values)
        read = read && ReadValue(s, value);
    return read;
}

} // namespace

CLevelLabels::CLevelLabels(CWorldData* data, C3DEngine* engine, uint32_t id) : CGameLabels(data, engine, id)
{
    m_nType = kSceneTypeLabels;
}

Result CLevelLabels::Release()
{
    m_pLabels.reset();
    m_nLabelCount = 0;
    return CGameLabels::Release();
}

Result CLevelLabels::LoadFiles()
{
    if (Failed(LoadSceneFiles(*this, u"labels", false)))
        return RES_FAIL;
    return Failed(CGameLabels::LoadFiles()) ? RES_FAIL : RES_OK;
}

Result CLevelLabels::UnloadFiles()
{
    const Result scene = CGameLabels::UnloadFiles();
    return Failed(UnloadSceneFiles(*this)) || Failed(scene) ? RES_FAIL : RES_OK;
}

Result CLevelLabels::LoadDescription(CStream* stream)
{
    if (!stream || Failed(CGameLabels::LoadDescription(stream)))
        return RES_FAIL;
    uint32_t count = 0;
    if (!ReadValue(*stream, count) || uint64_t{count} * kLabelBytes > stream->BytesLeft())
        return RES_FAIL;
    std::unique_ptr<CLabelRecord[]> labels(new (std::nothrow) CLabelRecord[count ? count : 1]());
    if (!labels)
        return RES_OUT_OF_MEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        if (!ReadLabel(*stream, labels[i]) || (labels[i].part >= m_nPartCount && labels[i].part != kNoPart))
            return RES_FAIL;
    }
    m_pLabels = std::move(labels);
    m_nLabelCount = count;
    return RES_OK;
}

const CLabelRecord* CLevelLabels::GetLabel(uint32_t n)
{
    return n < m_nLabelCount ? &m_pLabels[n] : nullptr;
}

void CLevelLabels::ShowLabel(int32_t n)
{
    const CLabelRecord* label = n >= 0 ? GetLabel(static_cast<uint32_t>(n)) : nullptr;
    CGameData* game = m_pWorldData ? m_pWorldData->gameData : nullptr;
    if (!label || !game || !m_pDisplay || label->part >= m_pDisplay->GetPartCount())
        return;
    IgnoreResult(m_pDisplay->SetMatrixPointer(&game->m_matView[1]));
    IgnoreResult(m_pDisplay->RenderPart(label->part));
}
