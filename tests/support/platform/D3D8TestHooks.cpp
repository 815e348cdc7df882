#include "tests/support/platform/D3D8TestHooks.h"

#include <cstdio>
#include <map>
#include <unordered_map>

#include "platform/d3d8/D3D8Device.h"
#include "platform/d3d8/D3D8FixedFunction.h"

// Reads the device's private state for the hooks below.
class CD3D8DeviceView {
public:
    static CD3D8DeviceInfo Info(const CD3D8Device& device)
    {
        return CD3D8DeviceInfo{device.m_type,
                               device.m_behaviourFlags,
                               device.m_focusWindow,
                               device.m_presentation,
                               device.m_inScene,
                               device.m_recording != nullptr,
                               device.m_liveResources,
                               static_cast<UINT>(device.m_stateBlocks.size()),
                               static_cast<UINT>(device.m_pixelShaders.size()),
                               device.m_stats,
                               device.m_backBuffer.OnWindow()};
    }

    static const CD3D8StateBlock* StateBlock(const CD3D8Device& device, DWORD token)
    {
        auto it = device.m_stateBlocks.find(token);
        return it == device.m_stateBlocks.end() ? nullptr : it->second.get();
    }

    static std::string PixelShader(const CD3D8Device& device, DWORD handle)
    {
        auto it = device.m_pixelShaders.find(handle);
        if (it == device.m_pixelShaders.end())
            return std::string();
        return D3D8FragmentSource(it->second.code.body, it->second.code.samplers, CD3D8FragmentKey{});
    }
};

namespace {

struct CRule {
    D3DDEVTYPE type;
    DWORD flags;
    HRESULT result;
    D3D8Loss loss;

    bool Matches(D3DDEVTYPE otherType, DWORD otherFlags) const { return type == otherType && flags == otherFlags; }
};

struct CResetFailures {
    UINT count;
    HRESULT result;
};

// The harness of the test programs: the trace, the object numbers and the faults.
class CTestHarness final : public CD3D8Harness {
public:
    void Called(const char* name, std::initializer_list<uint64_t> args, HRESULT result) override
    {
        if (tracing)
            calls.push_back(CD3D8TraceCall{name, std::vector<uint64_t>(args), result});
    }
    void Made(const void* object) override { numbers[object] = nextNumber++; }
    void Gone(const void* object) override
    {
        numbers.erase(object);
        resetFailures.erase(object);
    }
    uint64_t Number(const void* object) const override
    {
        auto it = numbers.find(object);
        return it == numbers.end() ? 1 : it->second;
    }

    bool RefusesDirect3D() const override { return refuseDirect3D; }
    bool OverridesCaps(D3DCAPS8* caps) const override
    {
        if (capsOverridden)
            *caps = overriddenCaps;
        return capsOverridden;
    }
    bool OverridesDisplayMode(D3DDISPLAYMODE* mode) const override
    {
        if (modeOverridden)
            *mode = overriddenMode;
        return modeOverridden;
    }
    HRESULT CreateDeviceResult(D3DDEVTYPE type, DWORD flags) const override
    {
        for (const CRule& rule : createFailures) {
            if (rule.Matches(type, flags))
                return rule.result;
        }
        return D3D_OK;
    }
    D3D8Loss StartLoss(D3DDEVTYPE type, DWORD flags) const override
    {
        for (const CRule& rule : startLost) {
            if (rule.Matches(type, flags))
                return rule.loss;
        }
        return D3D8Loss::None;
    }
    HRESULT NextResetResult(const void* device) override
    {
        auto it = resetFailures.find(device);
        if (it == resetFailures.end() || it->second.count == 0)
            return D3D_OK;
        --it->second.count;
        return it->second.result;
    }

    // Faults and the trace back to their defaults; the object numbers stay.
    void Reset()
    {
        tracing = false;
        refuseDirect3D = false;
        createFailures.clear();
        startLost.clear();
        capsOverridden = false;
        modeOverridden = false;
        resetFailures.clear();
    }

    bool tracing = false;
    std::vector<CD3D8TraceCall> calls;
    std::unordered_map<const void*, uint64_t> numbers;
    uint64_t nextNumber = 1;
    bool refuseDirect3D = false;
    std::vector<CRule> createFailures;
    std::vector<CRule> startLost;
    bool capsOverridden = false;
    D3DCAPS8 overriddenCaps{};
    bool modeOverridden = false;
    D3DDISPLAYMODE overriddenMode{};
    std::map<const void*, CResetFailures> resetFailures;
};

CTestHarness& Harness()
{
    static CTestHarness harness;
    return harness;
}

// Installed before any test runs, so every object made is numbered.
struct CInstallHarness {
    CInstallHarness() { SetD3D8Harness(&Harness()); }
} g_installHarness;

CD3D8Device& Device(IDirect3DDevice8* device)
{
    return *static_cast<CD3D8Device*>(device);
}

} // namespace

std::string CD3D8TraceCall::Text() const
{
    std::string text = name + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += std::to_string(args[i]);
    }
    char ending[24];
    std::snprintf(ending, sizeof(ending), ") = 0x%08X", static_cast<unsigned>(result));
    return text + ending;
}

void D3D8TraceStart()
{
    Harness().calls.clear();
    Harness().tracing = true;
}

void D3D8TraceStop()
{
    Harness().tracing = false;
}

const std::vector<CD3D8TraceCall>& D3D8TraceCalls()
{
    return Harness().calls;
}

size_t D3D8TraceCount(const char* name)
{
    size_t count = 0;
    for (const CD3D8TraceCall& call : Harness().calls) {
        if (call.name == name)
            ++count;
    }
    return count;
}

const CD3D8State& D3D8InspectState(IDirect3DDevice8* device)
{
    return Device(device).State();
}

CD3D8DeviceInfo D3D8InspectDevice(IDirect3DDevice8* device)
{
    Device(device).ExecuteRecorded();
    return CD3D8DeviceView::Info(Device(device));
}

const CD3D8StateBlock* D3D8InspectStateBlock(IDirect3DDevice8* device, DWORD token)
{
    return CD3D8DeviceView::StateBlock(Device(device), token);
}

std::string D3D8InspectPixelShader(IDirect3DDevice8* device, DWORD handle)
{
    return CD3D8DeviceView::PixelShader(Device(device), handle);
}

void D3D8FailDirect3DCreate(bool fail)
{
    Harness().refuseDirect3D = fail;
}

void D3D8FailCreateDevice(D3DDEVTYPE type, DWORD behaviourFlags, HRESULT result)
{
    Harness().createFailures.push_back({type, behaviourFlags, result, D3D8Loss::None});
}

void D3D8StartLost(D3DDEVTYPE type, DWORD behaviourFlags, D3D8Loss loss)
{
    Harness().startLost.push_back({type, behaviourFlags, D3D_OK, loss});
}

void D3D8OverrideCaps(const D3DCAPS8* caps)
{
    Harness().capsOverridden = caps != nullptr;
    if (caps)
        Harness().overriddenCaps = *caps;
}

void D3D8OverrideDisplayMode(const D3DDISPLAYMODE* mode)
{
    Harness().modeOverridden = mode != nullptr;
    if (mode)
        Harness().overriddenMode = *mode;
}

void D3D8SetLoss(IDirect3DDevice8* device, D3D8Loss loss)
{
    Device(device).SetLoss(loss);
}

void D3D8FailResets(IDirect3DDevice8* device, UINT count, HRESULT result)
{
    Harness().resetFailures[&Device(device)] = CResetFailures{count, result};
}

void D3D8ResetTestHooks()
{
    Harness().Reset();
}
