#include "engine3d/Texture.h"

#include "core/PackerFile.h"
#include "engine3d/TextureRaw.h"

namespace {

// A decoded image whose pixels go with it.
class CScopedImage : public C3DTextureRaw {
public:
    using C3DTextureRaw::C3DTextureRaw;
    CScopedImage(const CScopedImage&) = delete;
    CScopedImage& operator=(const CScopedImage&) = delete;
    ~CScopedImage() override { IgnoreResult(Release()); }
};

} // namespace

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

Result C3DTexture::CreateFromRaw(const C3DTextureRaw& image, const char16_t* name)
{
    if (Failed(Release()))
        return RES_FAIL;
    return Create(image.GetWidth(), image.GetHeight(), image.GetBits(), image.GetPixels(), name);
}

Result C3DTexture::MakeTextureFromAddress(const uint8_t* data, uint32_t size, const char16_t* name)
{
    CScopedImage image(m_pWorldData);
    if (Failed(image.LoadFromAddress(data, size, name)))
        return RES_FAIL;
    return CreateFromRaw(image, name);
}

Result C3DTexture::LoadTextureFromPacker(CPackerFile* pak)
{
    CScopedImage image(m_pWorldData);
    if (Failed(image.LoadFromPacker(pak)))
        return RES_FAIL;
    return CreateFromRaw(image, pak->foundName);
}

Result C3DTexture::LoadTextureFromFile(const char16_t* path)
{
    CScopedImage image(m_pWorldData);
    if (Failed(image.LoadFromFile(path)))
        return RES_FAIL;
    return CreateFromRaw(image, path);
}

bool C3DTexture::IsLoaded() { return m_width != 0 || m_height != 0 || m_bits != 0; }
