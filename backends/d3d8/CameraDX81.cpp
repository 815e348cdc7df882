#include "backends/d3d8/CameraDX81.h"

#include <cmath>
#include <cstring>

#include "backends/d3d8/DX81State.h"
#include "core/WorldData.h"

namespace {

constexpr double kRampTop = 65535.0;

D3DMATRIX ToDevice(const Matrix4& matrix)
{
    static_assert(sizeof(D3DMATRIX) == sizeof(Matrix4), "both matrices are sixteen row-major floats");
    D3DMATRIX out;
    memcpy(&out, &matrix, sizeof out);
    return out;
}

// The corrections may be negative: the words are added as signed numbers.
double GammaScale(uint32_t initial, uint32_t correction)
{
    const int64_t sum = int64_t{static_cast<int32_t>(initial)} + int64_t{static_cast<int32_t>(correction)};
    return static_cast<double>(sum) / 255.0;
}

// Scales at or below 0 and above 1 send the curve past 16 bits or make it undefined; every
// entry is held within 0 .. 65535.
void BuildChannel(WORD* table, double scale)
{
    const double exponent = std::log(scale) / std::log(0.5);
    for (int i = 0; i < 256; ++i) {
        const double value = kRampTop * std::pow(i / 255.0, exponent);
        if (!(value > 0.0))
            table[i] = 0;
        else if (value >= kRampTop)
            table[i] = 0xFFFF;
        else
            table[i] = static_cast<WORD>(value);
    }
}

} // namespace

Result C3DCameraDX81::SetTransforms(const Matrix4& projection, const Matrix4& view)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device)
        return RES_FAIL;
    const D3DMATRIX deviceProjection = ToDevice(projection);
    const D3DMATRIX deviceView = ToDevice(view);
    device->SetTransform(D3DTS_PROJECTION, &deviceProjection);
    device->SetTransform(D3DTS_VIEW, &deviceView);
    return RES_OK;
}

Result C3DCameraDX81::ApplyProjection()
{
    return SetTransforms(m_pWorldData->matrices[kMatrixProjection], m_pWorldData->matrices[kMatrixView]);
}

Result C3DCameraDX81::ApplyScreenProjection()
{
    return SetTransforms(m_pWorldData->matrices[kMatrixScreen], m_pWorldData->screenView);
}

Result C3DCameraDX81::SetGamma()
{
    const CWorldData* d = m_pWorldData;
    BuildChannel(m_ramp.red, GammaScale(d->gammaInitial, d->gammaRed));
    BuildChannel(m_ramp.green, GammaScale(d->gammaInitial, d->gammaGreen));
    BuildChannel(m_ramp.blue, GammaScale(d->gammaInitial, d->gammaBlue));
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device)
        return RES_FAIL;
    device->SetGammaRamp(0, &m_ramp);
    return RES_OK;
}

Result C3DCameraDX81::SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device || x < 0 || y < 0)
        return RES_FAIL;
    const float nearest = m_pWorldData->viewNear;
    const float farthest = m_pWorldData->viewFar;
    const bool inRange = nearest >= 0.0f && farthest <= 1.0f && nearest < farthest;
    const D3DVIEWPORT8 viewport{static_cast<DWORD>(x), static_cast<DWORD>(y), width, height,
                                inRange ? nearest : 0.0f, inRange ? farthest : 1.0f};
    return device->SetViewport(&viewport) < 0 ? RES_FAIL : RES_OK;
}

Result C3DCameraDX81::SetScissor(int32_t, int32_t, uint32_t, uint32_t) { return RES_FAIL; }
