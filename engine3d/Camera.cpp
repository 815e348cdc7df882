#include "engine3d/Camera.h"

#include <cmath>
#include <utility>

#include "core/Math3D.h"
#include "core/WorldData.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kDegreesToRadians = 0.017453292f;

} // namespace

C3DCamera::C3DCamera(CWorldData* data) : m_pWorldData(data) {}

Result C3DCamera::Init() { return RES_OK; }

Result C3DCamera::Release() { return RES_OK; }

Result C3DCamera::Update()
{
    CWorldData* d = m_pWorldData;
    d->matrices[kMatrixView] = d->matrices[kMatrixCamera];
    return InvertCameraIntoView();
}

Result C3DCamera::ApplyProjection() { return RES_OK; }

Result C3DCamera::ApplyScreenProjection() { return RES_OK; }

Result C3DCamera::SetGamma() { return RES_OK; }

Result C3DCamera::ResetView()
{
    CWorldData* d = m_pWorldData;
    if (!d->math)
        return RES_FAIL;
    d->matrices[kMatrixView] = d->matrices[kMatrixCamera];
    IgnoreResult(InvertCameraIntoView());
    return RES_OK;
}

Result C3DCamera::SetPerspective()
{
    CWorldData* d = m_pWorldData;
    CMath3D* math = d->math;
    if (!math)
        return RES_FAIL;
    d->aspectRatio = static_cast<float>(d->configuredWidth) / static_cast<float>(d->configuredHeight);

    Matrix4* projection = &d->matrices[kMatrixProjection];
    math->Identity(projection);
    math->Projection(projection, d->viewFieldDeg * kDegreesToRadians, d->aspectRatio, d->viewNear, d->viewFar);
    math->RotateZ(projection, m_screenAngle);

    BuildScreenMatrix();
    return ApplyProjection();
}

Result C3DCamera::SetOrientation(uint32_t orientation)
{
    CWorldData* d = m_pWorldData;
    m_orientation = orientation;
    const bool quarter = IsQuarterTurn(orientation);
    const bool upright = orientation == kOrientationNormal || orientation == kOrientationHalfTurn;
    if ((quarter && !m_sizesSwapped) || (upright && m_sizesSwapped)) {
        std::swap(d->configuredWidth, d->configuredHeight);
        m_sizesSwapped = quarter ? 1 : 0;
    }
    IgnoreResult(SetPerspective());
    return SetViewport(0, 0, d->configuredWidth, d->configuredHeight);
}

float C3DCamera::SetScreenRotation(uint32_t orientation)
{
    CWorldData* d = m_pWorldData;
    m_orientation = orientation;
    switch (orientation) {
    case kOrientationNormal: m_screenAngle = 0.0f; break;
    case kOrientationHalfTurn: m_screenAngle = kPi; break;
    case kOrientationQuarterRight: m_screenAngle = -kPi / 2.0f; break;
    case kOrientationQuarterLeft: m_screenAngle = kPi / 2.0f; break;
    default: break;
    }
    const bool quarter = IsQuarterTurn(orientation);
    const bool upright = orientation == kOrientationNormal || orientation == kOrientationHalfTurn;
    if ((quarter && !m_sizesSwapped) || (upright && m_sizesSwapped)) {
        std::swap(d->workingWidth, d->workingHeight);
        m_sizesSwapped = quarter ? 1 : 0;
    }
    IgnoreResult(SetPerspective());
    return m_screenAngle;
}

Result C3DCamera::SetFullViewport()
{
    return SetViewport(0, 0, m_pWorldData->workingWidth, m_pWorldData->workingHeight);
}

Result C3DCamera::SetViewport(int32_t, int32_t, uint32_t, uint32_t) { return RES_OK; }

Result C3DCamera::DisableScissor() { return RES_OK; }

Result C3DCamera::SetScissor(int32_t, int32_t, uint32_t, uint32_t) { return RES_OK; }

bool C3DCamera::IsQuarterTurn(uint32_t orientation)
{
    return orientation == kOrientationQuarterRight || orientation == kOrientationQuarterLeft;
}

Result C3DCamera::InvertCameraIntoView()
{
    CWorldData* d = m_pWorldData;
    if (!d->math)
        return RES_FAIL;
    float reciprocalDeterminant = 0.0f;
    d->math->Invert(&d->matrices[kMatrixView], &reciprocalDeterminant, &d->matrices[kMatrixView]);
    return std::isfinite(reciprocalDeterminant) ? RES_OK : RES_FAIL;
}

// Screen matrix: virtual-screen units (origin top left, y down) to clip space, turned with the screen.
void C3DCamera::BuildScreenMatrix()
{
    CWorldData* d = m_pWorldData;
    CMath3D* math = d->math;
    const float w = static_cast<float>(d->configuredWidth);
    const float h = static_cast<float>(d->configuredHeight);
    Matrix4* screen = &d->matrices[kMatrixScreen];
    math->Identity(screen);
    if (IsQuarterTurn(m_orientation))
        math->OrthoOffCenter(screen, 0.0f, -w, -h, 0.0f, d->viewNearScreen, d->viewFarScreen);
    else
        math->OrthoOffCenter(screen, 0.0f, w, h, 0.0f, d->viewNearScreen, d->viewFarScreen);
    math->RotateZ(screen, m_screenAngle);
    if (IsQuarterTurn(m_orientation))
        math->Translate(screen, -h / 2.0f, -w / 2.0f, 0.0f);
    else
        math->Translate(screen, -w / 2.0f, -h / 2.0f, 0.0f);
}
