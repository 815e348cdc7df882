#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;

// Screen orientation codes; 3 and 4 are quarter turns, for which width and height swap.
enum ScreenOrientation : uint32_t {
    kOrientationNormal = 1,
    kOrientationHalfTurn = 2,
    kOrientationQuarterRight = 3,
    kOrientationQuarterLeft = 4,
};

// Renderer-neutral camera: builds the perspective and screen matrices of the engine data block
// and keeps its view matrix as the inverse of the camera matrix. Back ends override the
// operations that touch the device (Apply*, SetGamma, SetViewport, DisableScissor, SetScissor).
// Needs the data block's CMath3D helper.
class C3DCamera : public CBaseObject {
public:
    explicit C3DCamera(CWorldData* data);
    C3DCamera(const C3DCamera&) = delete;
    C3DCamera& operator=(const C3DCamera&) = delete;
    ~C3DCamera() override = default;

    virtual Result Init();
    virtual Result Release();
    // View matrix = inverse of the camera matrix; fails when the camera matrix is singular.
    virtual Result Update();
    virtual Result ApplyProjection();
    virtual Result ApplyScreenProjection();
    virtual Result SetGamma();
    virtual Result ResetView();
    virtual Result SetPerspective();
    virtual Result SetOrientation(uint32_t orientation);
    virtual float SetScreenRotation(uint32_t orientation);
    virtual Result SetFullViewport();
    virtual Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height);
    virtual Result DisableScissor();
    virtual Result SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height);

    uint32_t GetOrientation() const { return m_orientation; }
    bool SizesSwapped() const { return m_sizesSwapped != 0; }

protected:
    CWorldData* m_pWorldData;
    uint32_t m_orientation = kOrientationNormal;
    float m_screenAngle = 0.0f;
    uint8_t m_sizesSwapped = 0;

private:
    static bool IsQuarterTurn(uint32_t orientation);
    Result InvertCameraIntoView();
    void BuildScreenMatrix();
};
