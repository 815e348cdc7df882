#include "tests/support/MemoryTexture.h"

#include <algorithm>
#include <cstring>

#include "base/FileSystem.h"
#include "core/PackerFile.h"
#include "core/WorldData.h"
#include "tests/support/MemoryRenderer.h"

CMemoryTexture::CMemoryTexture(CWorldData* data, CMemoryEngine* engine, uint32_t flags, uint32_t parameter)
    : C3DTexture(data, flags, parameter), m_pMemoryEngine(engine)
{
}

Result CMemoryTexture::Release()
{
    m_pixels.clear();
    return C3DTexture::Release();
}

void CMemoryTexture::Apply(uint32_t, uint32_t stage)
{
    ++m_applies;
    Bind(stage);
}

void CMemoryTexture::Bind(uint32_t stage)
{
    if (stage < 2)
        m_pMemoryEngine->Device().stages[stage] = this;
}

Result CMemoryTexture::CopyFrom(uint8_t, uint8_t, uint8_t, int32_t)
{
    ++m_copies;
    return RES_OK;
}

uint32_t CMemoryTexture::GetPixel(float u, float v)
{
    if (m_width == 0 || m_height == 0 || m_pixels.empty())
        return 0;
    const int64_t x = std::clamp<int64_t>(static_cast<int64_t>(m_width * u), 0, m_width - 1);
    const int64_t yFromTop = std::clamp<int64_t>(static_cast<int64_t>(m_height * v), 0, m_height - 1);
    const int64_t row = m_height - 1 - yFromTop;
    const size_t bytes = m_bits / 8;
    const uint8_t* p = &m_pixels[(static_cast<size_t>(row) * m_width + static_cast<size_t>(x)) * bytes];
    switch (m_bits) {
    case 8:
        return 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[0]} << 8) | p[0];
    case 16:
        return (uint32_t{p[1]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[0]} << 8) | p[0];
    case 24:
        return 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    default:
        return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
}

Result CMemoryTexture::Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels,
                              const char16_t* name)
{
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return RES_FAIL;
    const size_t size = size_t{width} * height * (bits / 8);
    m_pixels.assign(size, 0);
    if (pixels && size > 0)
        memcpy(m_pixels.data(), pixels, size);
    m_width = width;
    m_height = height;
    m_bits = bits;
    return C3DTexture::Create(width, height, bits, pixels, name);
}

Result CMemoryTexture::LoadPlaceholder(uint32_t sourceSize, const char16_t* name)
{
    static const uint8_t kWhite[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    if (Failed(Release()))
        return RES_FAIL;
    m_sourceSize = sourceSize;
    return Create(1, 1, 32, kWhite, name);
}

Result CMemoryTexture::MakeTextureFromAddress(const uint8_t* data, uint32_t size, const char16_t* name)
{
    if (m_pMemoryEngine->Failures().ShouldFail(MemoryOp::LoadTexture))
        return RES_FAIL;
    if (m_pMemoryEngine->DecodesImages())
        return C3DTexture::MakeTextureFromAddress(data, size, name);
    if (!data || size == 0)
        return RES_FAIL;
    return LoadPlaceholder(size, name);
}

Result CMemoryTexture::LoadTextureFromPacker(CPackerFile* pak)
{
    if (m_pMemoryEngine->Failures().ShouldFail(MemoryOp::LoadTexture))
        return RES_FAIL;
    if (m_pMemoryEngine->DecodesImages())
        return C3DTexture::LoadTextureFromPacker(pak);
    if (!pak || !pak->file)
        return RES_FAIL;
    return LoadPlaceholder(pak->foundSize, pak->foundName);
}

Result CMemoryTexture::LoadTextureFromFile(const char16_t* path)
{
    if (m_pMemoryEngine->Failures().ShouldFail(MemoryOp::LoadTexture))
        return RES_FAIL;
    if (m_pMemoryEngine->DecodesImages())
        return C3DTexture::LoadTextureFromFile(path);
    FILE* file = path ? OpenFile(path, "rb") : nullptr;
    if (!file) {
        m_pWorldData->lastError = RES_MISSING_FILE;
        return RES_FAIL;
    }
    const long long size = FileSizeOf(file);
    fclose(file);
    return LoadPlaceholder(size > 0 ? static_cast<uint32_t>(size) : 0, path);
}

Result CMemoryCamera::ApplyProjection()
{
    ++m_state.projections;
    return RES_OK;
}

Result CMemoryCamera::ApplyScreenProjection()
{
    ++m_state.screenProjections;
    return RES_OK;
}

Result CMemoryCamera::SetGamma()
{
    ++m_state.gammaSets;
    return RES_OK;
}

Result CMemoryCamera::SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    m_state.viewport[0] = x;
    m_state.viewport[1] = y;
    m_state.viewport[2] = static_cast<int32_t>(width);
    m_state.viewport[3] = static_cast<int32_t>(height);
    return RES_OK;
}

Result CMemoryCamera::DisableScissor()
{
    m_state.scissorEnabled = false;
    return RES_OK;
}

Result CMemoryCamera::SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    m_state.scissor[0] = x;
    m_state.scissor[1] = y;
    m_state.scissor[2] = static_cast<int32_t>(width);
    m_state.scissor[3] = static_cast<int32_t>(height);
    m_state.scissorEnabled = true;
    return RES_OK;
}
