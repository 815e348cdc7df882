#include "engine3d/Texture.h"

C3DTexture::C3DTexture(CWorldData* data, uint32_t flags, uint32_t parameter)
    : m_pWorldData(data), m_flags(flags), m_parameter(parameter)
{
}

Result C3DTexture::Init() { return RES_OK; }

Result C3DTexture::Release()
{
    m_bits = 0;
    m_width = 0;
    m_height = 0;
    return RES_OK;
}

void C3DTexture::Apply(uint32_t, uint32_t) {}

void C3DTexture::Bind(uint32_t) {}

Result C3DTexture::CopyFrom(uint8_t, uint8_t, uint8_t, int32_t) { return RES_FAIL; }

uint32_t C3DTexture::GetPixel(float, float) { return 0; }

Result C3DTexture::Create(uint16_t, uint16_t, uint8_t, const uint8_t*, const char16_t* name)
{
    if (name)
        m_name.Set(ResourceNameFromPath(m_pWorldData, name));
    return RES_OK;
}

Result C3DTexture::MakeTextureFromAddress(const uint8_t*, uint32_t, const char16_t*) { return RES_FAIL; }

Result C3DTexture::LoadTextureFromPacker(CPackerFile*) { return RES_FAIL; }

Result C3DTexture::LoadTextureFromFile(const char16_t*) { return RES_FAIL; }

bool C3DTexture::IsLoaded() { return m_width != 0 || m_height != 0 || m_bits != 0; }
