#pragma once
#include <cstdint>
#include <initializer_list>

#include "platform/d3d8/D3D8Types.h"

// Whether a device can draw (TestCooperativeLevel).
enum class D3D8Loss {
    None,      // D3D_OK
    Lost,      // D3DERR_DEVICELOST: draws do nothing, Present and Reset fail with it
    NotReset,  // D3DERR_DEVICENOTRESET: Reset brings the device back
};

// What a harness may watch and steer in the Direct3D 8 layer. The program installs none: the
// calls then go unwatched and the layer answers every one itself.
class CD3D8Harness {
public:
    virtual ~CD3D8Harness() = default;

    // A call of an interface method or utility function, its arguments as numbers, its result.
    virtual void Called(const char* name, std::initializer_list<uint64_t> args, HRESULT result) = 0;
    // An object was made, or is going away.
    virtual void Made(const void* object) = 0;
    virtual void Gone(const void* object) = 0;
    // The number a made object goes by instead of its address; 1 for any other.
    virtual uint64_t Number(const void* object) const = 0;

    // Direct3DCreate8 fails.
    virtual bool RefusesDirect3D() const = 0;
    // Fill in what GetDeviceCaps and GetAdapterDisplayMode report instead; false: the layer's own.
    virtual bool OverridesCaps(D3DCAPS8* caps) const = 0;
    virtual bool OverridesDisplayMode(D3DDISPLAYMODE* mode) const = 0;
    // The failure CreateDevice gives for that device type and behaviour, or D3D_OK.
    virtual HRESULT CreateDeviceResult(D3DDEVTYPE type, DWORD behaviourFlags) const = 0;
    // The loss a new device of that type and behaviour starts in.
    virtual D3D8Loss StartLoss(D3DDEVTYPE type, DWORD behaviourFlags) const = 0;
    // The failure the device's next Reset gives, or D3D_OK.
    virtual HRESULT NextResetResult(const void* device) = 0;
};

// The installed harness; null in the program.
CD3D8Harness* D3D8Harness();
void SetD3D8Harness(CD3D8Harness* harness);

// Tells the harness of a call; returns the result.
inline HRESULT D3D8Record(const char* name, std::initializer_list<uint64_t> args, HRESULT result)
{
    if (CD3D8Harness* harness = D3D8Harness())
        harness->Called(name, args, result);
    return result;
}

inline void D3D8NameObject(const void* object)
{
    if (CD3D8Harness* harness = D3D8Harness())
        harness->Made(object);
}

inline void D3D8ForgetObject(const void* object)
{
    if (CD3D8Harness* harness = D3D8Harness())
        harness->Gone(object);
}

// How a call names an object among its arguments: 0 for null.
inline uint64_t D3D8ObjectNumber(const void* object)
{
    if (!object)
        return 0;
    const CD3D8Harness* harness = D3D8Harness();
    return harness ? harness->Number(object) : 1;
}
