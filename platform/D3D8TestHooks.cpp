#include "platform/D3D8TestHooks.h"

#include "platform/d3d8/D3D8Device.h"
#include "platform/D3D8Faults.h"
#include "platform/D3D8Trace.h"

namespace {

CD3D8Device& Device(IDirect3DDevice8* device)
{
    return *static_cast<CD3D8Device*>(device);
}

bool Matches(const CD3D8Faults::CRule& rule, D3DDEVTYPE type, DWORD flags)
{
    return rule.type == type && rule.flags == flags;
}

} // namespace

CD3D8Faults& CD3D8Faults::Get()
{
    static CD3D8Faults faults;
    return faults;
}

HRESULT CD3D8Faults::CreateResult(D3DDEVTYPE type, DWORD flags) const
{
    for (const CRule& rule : createFailures) {
        if (Matches(rule, type, flags))
            return rule.result;
    }
    return D3D_OK;
}

D3D8Loss CD3D8Faults::StartLoss(D3DDEVTYPE type, DWORD flags) const
{
    for (const CRule& rule : startLost) {
        if (Matches(rule, type, flags))
            return rule.loss;
    }
    return D3D8Loss::None;
}

const CD3D8State& D3D8InspectState(IDirect3DDevice8* device)
{
    return Device(device).State();
}

CD3D8DeviceInfo D3D8InspectDevice(IDirect3DDevice8* device)
{
    return Device(device).Info();
}

const CD3D8StateBlock* D3D8InspectStateBlock(IDirect3DDevice8* device, DWORD token)
{
    return Device(device).FindStateBlock(token);
}

std::string D3D8InspectPixelShader(IDirect3DDevice8* device, DWORD handle)
{
    return Device(device).PixelShaderSource(handle);
}

void D3D8FailDirect3DCreate(bool fail)
{
    CD3D8Faults::Get().failCreate = fail;
}

void D3D8FailCreateDevice(D3DDEVTYPE type, DWORD behaviourFlags, HRESULT result)
{
    CD3D8Faults::Get().createFailures.push_back({type, behaviourFlags, result, D3D8Loss::None});
}

void D3D8StartLost(D3DDEVTYPE type, DWORD behaviourFlags, D3D8Loss loss)
{
    CD3D8Faults::Get().startLost.push_back({type, behaviourFlags, D3D_OK, loss});
}

void D3D8OverrideCaps(const D3DCAPS8* caps)
{
    CD3D8Faults& faults = CD3D8Faults::Get();
    faults.capsOverridden = caps != nullptr;
    if (caps)
        faults.caps = *caps;
}

void D3D8OverrideDisplayMode(const D3DDISPLAYMODE* mode)
{
    CD3D8Faults& faults = CD3D8Faults::Get();
    faults.modeOverridden = mode != nullptr;
    if (mode)
        faults.mode = *mode;
}

void D3D8SetLoss(IDirect3DDevice8* device, D3D8Loss loss)
{
    Device(device).SetLoss(loss);
}

void D3D8FailResets(IDirect3DDevice8* device, UINT count, HRESULT result)
{
    Device(device).FailResets(count, result);
}

void D3D8ResetTestHooks()
{
    CD3D8Faults::Get() = CD3D8Faults{};
    D3D8TraceStop();
}
