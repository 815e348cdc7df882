#include "backends/d3d8/TextureDX81.h"

#include <cstring>

#include "backends/d3d8/DX81State.h"
#include "core/WorldData.h"
#include "engine3d/ObjectTypes.h"
#include "platform/d3d8/D3DX8.h"

using namespace DX81Sampling;

namespace {

bool FormatOfBits(uint8_t bits, D3DFORMAT* format)
{
    switch (bits) {
    case 8:
    case 16: *format = D3DFMT_A8L8; return true;
    case 24: *format = D3DFMT_X8R8G8B8; return true;
    case 32: *format = D3DFMT_A8R8G8B8; return true;
    default: return false;
    }
}

// Bytes of one texel on the device: 2 for the luminance formats, 4 for the others.
uint32_t DeviceTexelSize(uint8_t bits)
{
    return bits <= 16 ? 2 : 4;
}

// One source row of the given bits into device texels: 8 and 16 bits into luminance and alpha,
// 24 and 32 bits (red first) into blue-first texels.
void ConvertRow(uint8_t bits, const uint8_t* from, uint8_t* to, uint32_t width)
{
    switch (bits) {
    case 8:
        for (uint32_t x = 0; x < width; ++x) {
            to[2 * x] = from[x];
            to[2 * x + 1] = 0xFF;
        }
        break;
    case 16:
        std::memcpy(to, from, size_t{width} * 2);
        break;
    case 24:
        for (uint32_t x = 0; x < width; ++x) {
            to[4 * x] = from[3 * x + 2];
            to[4 * x + 1] = from[3 * x + 1];
            to[4 * x + 2] = from[3 * x];
            to[4 * x + 3] = 0xFF;
        }
        break;
    default:
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t texel;
            std::memcpy(&texel, from + size_t{x} * 4, 4);
            texel = (texel & 0xFF00FF00u) | ((texel >> 16) & 0xFFu) | ((texel & 0xFFu) << 16);
            std::memcpy(to + size_t{x} * 4, &texel, 4);
        }
        break;
    }
}

uint32_t ReadTexel(uint8_t bits, const uint8_t* texel)
{
    if (bits <= 16) {
        const uint32_t luminance = texel[0];
        const uint32_t alpha = bits == 8 ? 0xFFu : texel[1];
        return (alpha << 24) | (luminance << 16) | (luminance << 8) | luminance;
    }
    const uint32_t alpha = bits == 24 ? 0xFFu : texel[3];
    return (alpha << 24) | (uint32_t{texel[2]} << 16) | (uint32_t{texel[1]} << 8) | texel[0];
}

bool InsideTexture(float coordinate)
{
    return coordinate >= 0.0f && coordinate < 1.0f;
}

} // namespace

C3DTextureDX81::~C3DTextureDX81()
{
    ReleaseDeviceTexture();
}

void C3DTextureDX81::ReleaseDeviceTexture()
{
    if (m_pTexture) {
        m_pTexture->Release();
        m_pTexture = nullptr;
    }
}

Result C3DTextureDX81::Release()
{
    const Result result = C3DTexture::Release();
    ReleaseDeviceTexture();
    return result;
}

Result C3DTextureDX81::Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels,
                              const char16_t* name)
{
    D3DFORMAT format = D3DFMT_UNKNOWN;
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!FormatOfBits(bits, &format) || !pixels || width == 0 || height == 0 || !device)
        return RES_FAIL;
    m_bits = bits;
    m_width = width;
    m_height = height;
    ReleaseDeviceTexture();
    if (D3DXCreateTexture(device, width, height, 1, 0, format, D3DPOOL_MANAGED, &m_pTexture) < 0) {
        m_pTexture = nullptr;
        return RES_FAIL;
    }
    if (Failed(FillLevel(pixels)))
        return RES_FAIL;
    return C3DTexture::Create(width, height, bits, pixels, name);
}

// Rows go in from the last source row up, so the bottom-up image lies top-down; each row starts
// at its row of the locked pitch. A level the utility made smaller or in another format than
// asked is refused rather than overrun.
Result C3DTextureDX81::FillLevel(const uint8_t* pixels)
{
    D3DSURFACE_DESC desc{};
    D3DFORMAT wanted = D3DFMT_UNKNOWN;
    FormatOfBits(m_bits, &wanted);
    if (m_pTexture->GetLevelDesc(0, &desc) < 0 || desc.Width < m_width || desc.Height < m_height ||
        desc.Format != wanted)
        return RES_FAIL;
    D3DLOCKED_RECT locked{};
    if (m_pTexture->LockRect(0, &locked, nullptr, 0) < 0 || !locked.pBits)
        return RES_FAIL;
    const uint32_t sourceSize = m_bits / 8u;
    const size_t sourcePitch = size_t{m_width} * sourceSize;
    for (uint32_t row = 0; row < m_height; ++row) {
        const uint8_t* from = pixels + size_t{m_height - 1u - row} * sourcePitch;
        uint8_t* to = static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * row;
        ConvertRow(m_bits, from, to, m_width);
    }
    return m_pTexture->UnlockRect(0) < 0 ? RES_FAIL : RES_OK;
}

void C3DTextureDX81::Apply(uint32_t objectFlags, uint32_t stage)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device)
        return;
    const BOOL alpha =
        (objectFlags & kObjectAlphaBlend) && (m_parameter & kAlpha) && m_pWorldData->alphaBlending[0] ? TRUE : FALSE;
    device->SetRenderState(D3DRS_ALPHATESTENABLE, alpha);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, alpha);
    SetCombiners(device, objectFlags, stage);
    SetBlending(device, objectFlags, stage);
    SetSampling(device, stage);
    device->SetTexture(stage, m_pTexture);
}

void C3DTextureDX81::SetCombiners(IDirect3DDevice8* device, uint32_t objectFlags, DWORD stage) const
{
    if (objectFlags & kObjectTextureFactor) {
        device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
        device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(stage, D3DTSS_COLORARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    } else if ((m_parameter & kModulate) || !(m_parameter & kMultiplyAdd)) {
        device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(stage, D3DTSS_COLORARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    } else {
        device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MULTIPLYADD);
        device->SetTextureStageState(stage, D3DTSS_COLORARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_COLORARG2, D3DTA_DIFFUSE | D3DTA_COMPLEMENT);
        device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    }
}

void C3DTextureDX81::SetBlending(IDirect3DDevice8* device, uint32_t objectFlags, DWORD stage) const
{
    if (!(m_parameter & kAdditive)) {
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        return;
    }
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    if (objectFlags & kObjectTextureFactor) {
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE2X);
        device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
    }
}

void C3DTextureDX81::SetSampling(IDirect3DDevice8* device, DWORD stage) const
{
    const DWORD addressU = (m_flags & kTextureRepeatU) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
    const DWORD addressV = (m_flags & kTextureRepeatV) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
    device->SetTextureStageState(stage, D3DTSS_ADDRESSU, addressU);
    device->SetTextureStageState(stage, D3DTSS_ADDRESSV, addressV);
    device->SetTextureStageState(stage, D3DTSS_MINFILTER, (m_parameter & kNearestMin) ? D3DTEXF_POINT : D3DTEXF_LINEAR);
    DWORD magnify = D3DTEXF_LINEAR;
    DWORD mip = D3DTEXF_LINEAR;
    if (m_parameter & kNearestMag) {
        magnify = mip = D3DTEXF_POINT;
    } else if (!(m_parameter & kLinearMag) && (m_parameter & kAnisotropic) && !(m_parameter & kProjected)) {
        magnify = mip = D3DTEXF_ANISOTROPIC;
    }
    device->SetTextureStageState(stage, D3DTSS_MAGFILTER, magnify);
    device->SetTextureStageState(stage, D3DTSS_MIPFILTER, mip);
}

void C3DTextureDX81::Bind(uint32_t stage)
{
    if (IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData))
        device->SetTexture(stage, m_pTexture);
}

Result C3DTextureDX81::CopyFrom(uint8_t, uint8_t, uint8_t, int32_t)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device || !m_pTexture)
        return RES_FAIL;
    IDirect3DSurface8* target = nullptr;
    IDirect3DSurface8* level = nullptr;
    HRESULT result = device->GetRenderTarget(&target);
    if (result >= 0)
        result = m_pTexture->GetSurfaceLevel(0, &level);
    if (result >= 0)
        result = D3DXLoadSurfaceFromSurface(level, nullptr, nullptr, target, nullptr, nullptr,
                                            D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, 0);
    if (level)
        level->Release();
    if (target)
        target->Release();
    return result < 0 ? RES_FAIL : RES_OK;
}

uint32_t C3DTextureDX81::GetPixel(float u, float v)
{
    if (!m_pTexture || !InsideTexture(u) || !InsideTexture(v))
        return 0;
    const uint32_t x = static_cast<uint32_t>(static_cast<float>(m_width) * u);
    const uint32_t y = static_cast<uint32_t>(static_cast<float>(m_height) * v);
    if (x >= m_width || y >= m_height)
        return 0;
    D3DLOCKED_RECT locked{};
    if (m_pTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY) < 0 || !locked.pBits)
        return 0;
    const uint8_t* texel = static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y +
                           size_t{x} * DeviceTexelSize(m_bits);
    const uint32_t colour = ReadTexel(m_bits, texel);
    return m_pTexture->UnlockRect(0) < 0 ? 0 : colour;
}
