#include "engine3d/ObjectPrivate.h"

#include "core/Log.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"

namespace {

bool IsEmptyText(const char16_t* text) { return !text || text[0] == u'\0'; }

} // namespace

bool C3DObjectPrivate::ValidTarget(uint32_t part, uint32_t stage) const
{
    return stage < 2 && (part == kAllParts || part < m_partCount);
}

Result C3DObjectPrivate::SetTextureAll(C3DTexture* texture, uint32_t stage)
{
    if (stage >= 2)
        return RES_FAIL;
    Result result = RES_OK;
    for (uint32_t p = 0; p < m_partCount; ++p) {
        if (Failed(SetPartTexture(texture, p, stage)))
            result = RES_FAIL;
    }
    return result;
}

Result C3DObjectPrivate::SetPartTexture(C3DTexture* texture, uint32_t part, uint32_t stage)
{
    if (stage >= 2 || part >= m_partCount)
        return RES_FAIL;
    C3DTexture*& slot = TextureSlot(part, stage);
    if (slot == texture)
        return RES_OK;
    if (texture && Failed(m_pEngine->RetainTexture(texture)))
        return RES_FAIL;
    C3DTexture* previous = slot;
    slot = texture;
    if (previous)
        IgnoreResult(m_pEngine->DestroyTexture(previous));
    return RES_OK;
}

Result C3DObjectPrivate::StoreTexture(C3DTexture* texture, uint32_t part, uint32_t stage)
{
    const Result result = part == kAllParts ? SetTextureAll(texture, stage) : SetPartTexture(texture, part, stage);
    if (texture)
        IgnoreResult(m_pEngine->DestroyTexture(texture));
    return result;
}

Result C3DObjectPrivate::MakeTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data,
                                                uint32_t size, uint32_t stage, const char16_t* name)
{
    return MakeOneTextureFromAddress(flags, parameter, data, size, kAllParts, stage, name);
}

Result C3DObjectPrivate::MakeOneTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data,
                                                   uint32_t size, uint32_t part, uint32_t stage, const char16_t* name)
{
    if (!ValidTarget(part, stage))
        return RES_FAIL;
    if (!data || size == 0)
        return StoreTexture(nullptr, part, stage);
    C3DTexture* texture = m_pEngine->MakeTextureFromAddress(flags, parameter, data, size, name);
    return texture ? StoreTexture(texture, part, stage) : RES_FAIL;
}

Result C3DObjectPrivate::LoadTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t stage)
{
    return LoadOneTextureFromPacker(flags, parameter, pak, kAllParts, stage);
}

Result C3DObjectPrivate::LoadOneTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t part,
                                                  uint32_t stage)
{
    if (!ValidTarget(part, stage))
        return RES_FAIL;
    C3DTexture* texture = m_pEngine->LoadTextureFromPacker(flags, parameter, pak);
    return texture ? StoreTexture(texture, part, stage) : RES_FAIL;
}

Result C3DObjectPrivate::LoadTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path, uint32_t stage)
{
    return LoadOneTextureFromFile(flags, parameter, path, kAllParts, stage);
}

Result C3DObjectPrivate::LoadOneTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path,
                                                uint32_t part, uint32_t stage)
{
    if (!ValidTarget(part, stage))
        return RES_FAIL;
    if (IsEmptyText(path))
        return StoreTexture(nullptr, part, stage);
    C3DTexture* texture = m_pEngine->LoadTextureFromFile(flags, parameter, path);
    return texture ? StoreTexture(texture, part, stage) : RES_FAIL;
}

Result C3DObjectPrivate::SaveTextureToFile(const char16_t*, uint32_t, uint32_t)
{
    LogPrintf(m_pWorldData->logPath, 0, u"# C3DObjectPrivate::SaveTextureToFile not implemented !\n");
    return RES_FAIL;
}

C3DTexture* C3DObjectPrivate::GetTexture(uint32_t part, uint32_t stage)
{
    return stage < 2 && part < m_partCount ? TextureSlot(part, stage) : nullptr;
}

Result C3DObjectPrivate::ReleaseTextureStage(uint32_t stage)
{
    if (stage >= 2)
        return RES_FAIL;
    for (uint32_t p = 0; p < m_partCount; ++p)
        IgnoreResult(ReleaseTexture(p, stage));
    return RES_OK;
}

Result C3DObjectPrivate::ReleaseTexture(uint32_t part, uint32_t stage)
{
    if (stage >= 2 || part >= m_partCount)
        return RES_FAIL;
    C3DTexture*& slot = TextureSlot(part, stage);
    if (slot)
        IgnoreResult(m_pEngine->DestroyTexture(slot));
    slot = nullptr;
    return RES_OK;
}

Result C3DObjectPrivate::Unlock(uint8_t rebuild)
{
    if (HasNormals()) {
        if (m_flagsA & kSmoothNormalsPending)
            IgnoreResult(ComputeSmoothNormals());
        else if (m_flagsA & kFlatNormalsPending)
            IgnoreResult(ComputeNormals());
        m_flagsA &= ~(kSmoothNormalsPending | kFlatNormalsPending);
    }
    return rebuild ? RecordRenderState() : RES_OK;
}

Result C3DObjectPrivate::ComputeNormals() { return NormalPass(false); }

Result C3DObjectPrivate::ComputeSmoothNormals() { return NormalPass(true); }
