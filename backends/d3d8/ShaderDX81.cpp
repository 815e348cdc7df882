#include "backends/d3d8/ShaderDX81.h"

#include <memory>

#include "backends/d3d8/DX81State.h"
#include "core/Log.h"
#include "core/WorldData.h"
#include "platform/d3d8/D3DX8.h"

namespace {

struct BufferReleaser {
    void operator()(ID3DXBuffer* buffer) const { buffer->Release(); }
};
using BufferPtr = std::unique_ptr<ID3DXBuffer, BufferReleaser>;

// Longest part of the assembler's messages kept in the log line.
constexpr size_t kLoggedErrorSize = 512;

} // namespace

C3DShaderDX81::~C3DShaderDX81() { DeleteHandle(); }

void C3DShaderDX81::Apply(C3DShaderTarget* target, const void* value)
{
    if (m_handle && target)
        IgnoreResult(target->SetShaderValue(0, 1, 0, value));
}

void C3DShaderDX81::Bind(C3DTexture*, C3DTexture*, C3DTexture*)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (m_handle && device)
        device->SetPixelShader(m_handle);
}

void C3DShaderDX81::Unbind()
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (m_handle && device)
        device->SetPixelShader(0);
}

Result C3DShaderDX81::Compile(const char* source, uint32_t length)
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (!device)
        return Fail("no device", "");
    ID3DXBuffer* compiledOut = nullptr;
    ID3DXBuffer* errorsOut = nullptr;
    const HRESULT assembled = D3DXAssembleShader(source, length, 0, nullptr, &compiledOut, &errorsOut);
    const BufferPtr compiled(compiledOut);
    const BufferPtr errors(errorsOut);
    if (assembled < 0 || !compiled || compiled->GetBufferSize() < sizeof(DWORD)) {
        const char* detail = errors ? static_cast<const char*>(errors->GetBufferPointer()) : "";
        return Fail("assembly", detail);
    }
    DWORD handle = 0;
    if (device->CreatePixelShader(static_cast<const DWORD*>(compiled->GetBufferPointer()), &handle) < 0 || !handle)
        return Fail("the device refused the shader", "");
    m_handle = handle;
    return RES_OK;
}

Result C3DShaderDX81::ReleaseCompiled()
{
    DeleteHandle();
    return RES_OK;
}

Result C3DShaderDX81::Fail(const char* reason, const char* detail)
{
    char kept[kLoggedErrorSize] = {};
    for (size_t i = 0; i + 1 < kLoggedErrorSize && detail[i] != '\0'; ++i)
        kept[i] = detail[i];
    LogPrintf(m_pWorldData->logPath, 0, u"# C3DShaderDX81::Load failed! \"%s\": %S %S\n",
              GetName() ? GetName() : u"", reason, kept);
    return RES_FAIL;
}

// A handle outlives no device: without one there is nothing left to delete.
void C3DShaderDX81::DeleteHandle()
{
    IDirect3DDevice8* device = DX81DeviceOf(m_pWorldData);
    if (m_handle && device)
        device->DeletePixelShader(m_handle);
    m_handle = 0;
}
