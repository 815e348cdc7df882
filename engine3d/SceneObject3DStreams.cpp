#include <memory>
#include <new>

#include "core/Stream.h"
#include "engine3d/SceneGameData.h"
#include "engine3d/SceneObject3D.h"

namespace {

constexpr uint32_t kScenePartBytes = 29;  // in a description

template <typename T> bool ReadOne(CStream* stream, T* value) { return stream->Read(value, sizeof(T), 1); }

template <typename T> bool WriteOne(CStream* stream, const T& value) { return stream->Write(&value, sizeof(T), 1); }

template <typename T> std::unique_ptr<T[]> NewZeroed(uint32_t count)
{
    return std::unique_ptr<T[]>(count ? new (std::nothrow) T[count]() : nullptr);
}

bool ReadPart(CStream* stream, ScenePart* part)
{
    return ReadOne(stream, &part->kind) && ReadOne(stream, &part->phase) && ReadOne(stream, &part->flags) &&
           ReadOne(stream, &part->itemId) && ReadOne(stream, &part->x) && ReadOne(stream, &part->y) &&
           ReadOne(stream, &part->z) && ReadOne(stream, &part->radius);
}

} // namespace

Result CSceneObject3D::LoadDescription(CStream* stream)
{
    if (Failed(CSceneObject::LoadDescription(stream)) || !stream)
        return RES_FAIL;
    float width = 0.0f;
    float height = 0.0f;
    uint32_t word = 0;
    uint32_t count = 0;
    if (!ReadOne(stream, &width) || !ReadOne(stream, &height) || !ReadOne(stream, &word) ||
        !ReadOne(stream, &count) || count > kMaxSceneParts ||
        uint64_t{count} * (kScenePartBytes + sizeof(uint16_t)) > stream->BytesLeft())
        return RES_FAIL;
    std::unique_ptr<ScenePart[]> parts = NewZeroed<ScenePart>(count);
    std::unique_ptr<uint16_t[]> order = NewZeroed<uint16_t>(count);
    if (count && (!parts || !order))
        return RES_OUT_OF_MEMORY;
    for (uint32_t p = 0; p < count; ++p) {
        if (!ReadPart(stream, &parts[p]))
            return RES_FAIL;
    }
    if (count && !stream->Read(order.get(), sizeof(uint16_t), count))
        return RES_FAIL;

    m_fRefWidth = width;
    m_fRefHeight = height;
    m_nDescriptionWord = word;
    m_pParts = std::move(parts);
    m_pPartOrder = std::move(order);
    m_nPartCount = count;
    if (CSceneGameData* game = GetSceneGameData(m_pWorldData))
        game->m_nElementTotal += count;
    return RES_OK;
}

Result CSceneObject3D::SaveObjects(CStream* stream)
{
    if (Failed(CSceneObject::SaveObjects(stream)) || !stream || !WriteOne(stream, m_nPartCount))
        return RES_FAIL;
    for (uint32_t p = 0; p < m_nPartCount; ++p) {
        if (!WriteOne(stream, m_pParts[p].flags) || !WriteOne(stream, m_pParts[p].alpha))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CSceneObject3D::LoadObjects(CStream* stream, uint32_t version)
{
    if (Failed(CSceneObject::LoadObjects(stream, version)) || !stream)
        return RES_FAIL;
    uint32_t count = 0;
    if (!ReadOne(stream, &count) || count != m_nPartCount)
        return RES_FAIL;
    std::unique_ptr<uint32_t[]> flags = NewZeroed<uint32_t>(count);
    std::unique_ptr<float[]> alphas = NewZeroed<float>(count);
    if (count && (!flags || !alphas))
        return RES_OUT_OF_MEMORY;
    for (uint32_t p = 0; p < count; ++p) {
        if (!ReadOne(stream, &flags[p]) || !ReadOne(stream, &alphas[p]))
            return RES_FAIL;
    }
    for (uint32_t p = 0; p < count; ++p) {
        m_pParts[p].flags = flags[p];
        m_pParts[p].alpha = alphas[p];
    }
    return RES_OK;
}

Result CSceneObject3D::SaveProgress(CStream* stream)
{
    if (Failed(CSceneObject::SaveProgress(stream)) || !stream)
        return RES_FAIL;
    if (DisplayPartCount() == 0 || !m_pSnapshot)
        return WriteOne(stream, uint32_t{0}) ? RES_OK : RES_FAIL;
    if (!WriteOne(stream, m_nSnapshotCount) ||
        !stream->Write(m_pSnapshot.get(), sizeof(uint32_t), m_nSnapshotCount))
        return RES_FAIL;
    return RES_OK;
}

Result CSceneObject3D::LoadProgress(CStream* stream, uint32_t version)
{
    if (Failed(CSceneObject::LoadProgress(stream, version)) || !stream)
        return RES_FAIL;
    SetSnapshot(nullptr, 0);
    uint32_t count = 0;
    if (!ReadOne(stream, &count) || count > kMaxSceneParts)
        return RES_FAIL;
    if (count == 0)
        return RES_OK;
    std::unique_ptr<uint32_t[]> snapshot = NewZeroed<uint32_t>(count);
    if (!snapshot)
        return RES_OUT_OF_MEMORY;
    if (!stream->Read(snapshot.get(), sizeof(uint32_t), count))
        return RES_FAIL;
    SetSnapshot(std::move(snapshot), count);
    return RES_OK;
}
