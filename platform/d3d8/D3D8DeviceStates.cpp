#include "platform/d3d8/D3D8Device.h"

#include <cstring>

#include "platform/d3d8/D3D8FixedFunction.h"
#include "platform/d3d8/D3D8ProgramCache.h"
#include "platform/d3d8/D3D8Resources.h"
#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Harness.h"
#include "platform/d3d8/D3D8VertexLayout.h"

namespace {

constexpr size_t kLongestShader = 4096;  // tokens read before a missing end token is an error

template <class Resource>
bool OwnedBy(Resource* resource, const CD3D8Device* device)
{
    return !resource || &resource->Device() == device;
}

} // namespace

// ---- What the setters put into the state ------------------------------------------------------

void CD3D8Device::PutRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    DWORD& held = m_state.renderStates[state];
    if (held == value)
        return;
    held = value;
    m_state.Touch(D3D8RenderStateChanges(state));
}

void CD3D8Device::PutStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    DWORD& held = m_state.stageStates[stage][type];
    if (held == value)
        return;
    held = value;
    m_state.Touch(D3D8StageStateChanges(type));
}

void CD3D8Device::PutTexture(DWORD stage, IDirect3DBaseTexture8* texture)
{
    if (m_state.textures[stage] == texture)
        return;
    D3D8HoldBinding(texture);
    D3D8DropBinding(m_state.textures[stage]);
    m_state.textures[stage] = texture;
}

void CD3D8Device::PutTransform(DWORD state, const D3DMATRIX& matrix)
{
    D3DMATRIX& held = *m_state.Transform(state);
    if (memcmp(&held, &matrix, sizeof matrix) == 0)
        return;
    uint32_t changes = 0;
    if (state == D3DTS_VIEW)
        changes = kD3D8ChangeTransforms | kD3D8ChangeLights;
    else if (state == D3DTS_PROJECTION)
        changes = kD3D8ChangeTransforms | ((held.m[2][3] != 0.0f) != (matrix.m[2][3] != 0.0f) ? kD3D8ChangeProgram : 0);
    else if (state == D3DTS_WORLD)
        changes = kD3D8ChangeTransforms;
    held = matrix;
    m_state.Touch(changes);
}

void CD3D8Device::PutLight(DWORD index, const D3DLIGHT8& light)
{
    auto it = m_state.lights.find(index);
    if (it == m_state.lights.end())
        m_state.lights.emplace(index, CD3D8Light{light, false});
    else if (memcmp(&it->second.light, &light, sizeof light) != 0)
        it->second.light = light;
    else
        return;
    m_state.Touch(kD3D8ChangeLights);
}

void CD3D8Device::PutLightEnable(DWORD index, bool enable)
{
    auto it = m_state.lights.find(index);
    if (it == m_state.lights.end())
        m_state.lights.emplace(index, CD3D8Light{D3D8DefaultLight(), enable});
    else if (it->second.enabled != enable)
        it->second.enabled = enable;
    else
        return;
    m_state.Touch(kD3D8ChangeLights | kD3D8ChangeProgram);
}

void CD3D8Device::PutMaterial(const D3DMATERIAL8& material)
{
    if (memcmp(&m_state.material, &material, sizeof material) == 0)
        return;
    m_state.material = material;
    m_state.Touch(kD3D8ChangeMaterial);
}

void CD3D8Device::PutViewport(const D3DVIEWPORT8& viewport)
{
    if (memcmp(&m_state.viewport, &viewport, sizeof viewport) == 0)
        return;
    m_state.viewport = viewport;
    m_state.Touch(kD3D8ChangeConstants);
}

void CD3D8Device::PutStreamSource(IDirect3DVertexBuffer8* buffer, UINT stride)
{
    if (m_state.streamSource != buffer) {
        D3D8HoldBinding(buffer);
        D3D8DropBinding(m_state.streamSource);
        m_state.streamSource = buffer;
    }
    m_state.streamStride = stride;
}

void CD3D8Device::PutIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex)
{
    if (m_state.indices != buffer) {
        D3D8HoldBinding(buffer);
        D3D8DropBinding(m_state.indices);
        m_state.indices = buffer;
    }
    m_state.baseVertexIndex = baseVertexIndex;
}

void CD3D8Device::PutVertexShader(DWORD handle)
{
    if (m_state.vertexShader == handle)
        return;
    m_state.vertexShader = handle;
    m_state.layout = CD3D8VertexLayout(handle);
    m_state.Touch(kD3D8ChangeProgram);
}

void CD3D8Device::PutPixelShader(DWORD handle)
{
    if (m_state.pixelShader == handle)
        return;
    m_state.pixelShader = handle;
    m_state.Touch(kD3D8ChangeProgram);
}

// ---- Setters and getters ----------------------------------------------------------------------

HRESULT CD3D8Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (D3D8IsRenderState(state)) {
        if (m_recording)
            m_recording->RecordRenderState(state, value);
        else
            PutRenderState(state, value);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetRenderState", {state, value}, result);
}

HRESULT CD3D8Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (value && !IsPure() && D3D8IsRenderState(state)) {
        *value = m_state.renderStates[state];
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetRenderState", {state}, result);
}

HRESULT CD3D8Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (stage < D3D8_TEXTURE_STAGES && D3D8IsStageState(type)) {
        if (m_recording)
            m_recording->RecordStageState(stage, type, value);
        else
            PutStageState(stage, type, value);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetTextureStageState", {stage, type, value}, result);
}

HRESULT CD3D8Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (value && !IsPure() && stage < D3D8_TEXTURE_STAGES && D3D8IsStageState(type)) {
        *value = m_state.stageStates[stage][type];
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetTextureStageState", {stage, type}, result);
}

HRESULT CD3D8Device::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (stage < D3D8_TEXTURE_STAGES && OwnedBy(static_cast<CD3D8Texture*>(texture), this)) {
        if (m_recording)
            m_recording->RecordTexture(stage, texture);
        else
            PutTexture(stage, texture);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetTexture", {stage, D3D8ObjectNumber(texture)}, result);
}

HRESULT CD3D8Device::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (texture && stage < D3D8_TEXTURE_STAGES) {
        *texture = m_state.textures[stage];
        if (*texture)
            (*texture)->AddRef();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetTexture", {stage}, result);
}

HRESULT CD3D8Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (matrix && m_state.Transform(state)) {
        if (m_recording)
            m_recording->RecordTransform(state, *matrix);
        else
            PutTransform(state, *matrix);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetTransform", {state, matrix ? 1u : 0u}, result);
}

HRESULT CD3D8Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (matrix && !IsPure() && m_state.Transform(state)) {
        *matrix = *m_state.Transform(state);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetTransform", {state}, result);
}

HRESULT CD3D8Device::SetViewport(const D3DVIEWPORT8* viewport)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (viewport && viewport->Width > 0 && viewport->Height > 0 &&
        static_cast<uint64_t>(viewport->X) + viewport->Width <= m_backBuffer.Width() &&
        static_cast<uint64_t>(viewport->Y) + viewport->Height <= m_backBuffer.Height()) {
        if (m_recording)
            m_recording->RecordViewport(*viewport);
        else
            PutViewport(*viewport);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetViewport",
                      {viewport ? viewport->X : 0u, viewport ? viewport->Y : 0u, viewport ? viewport->Width : 0u,
                       viewport ? viewport->Height : 0u},
                      result);
}

HRESULT CD3D8Device::GetViewport(D3DVIEWPORT8* viewport)
{
    if (viewport)
        *viewport = m_state.viewport;
    return D3D8Record("IDirect3DDevice8::GetViewport", {}, viewport ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::SetMaterial(const D3DMATERIAL8* material)
{
    if (material) {
        if (m_recording)
            m_recording->RecordMaterial(*material);
        else
            PutMaterial(*material);
    }
    return D3D8Record("IDirect3DDevice8::SetMaterial", {material ? 1u : 0u}, material ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::GetMaterial(D3DMATERIAL8* material)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (material && !IsPure()) {
        *material = m_state.material;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetMaterial", {}, result);
}

HRESULT CD3D8Device::SetLight(DWORD index, const D3DLIGHT8* light)
{
    HRESULT result = D3DERR_INVALIDCALL;
    bool known = light && light->Type >= D3DLIGHT_POINT && light->Type <= D3DLIGHT_DIRECTIONAL;
    if (known && light->Range >= 0.0f && light->Attenuation0 >= 0.0f && light->Attenuation1 >= 0.0f &&
        light->Attenuation2 >= 0.0f) {
        if (m_recording)
            m_recording->RecordLight(index, *light);
        else
            PutLight(index, *light);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetLight", {index, light ? static_cast<uint64_t>(light->Type) : 0u}, result);
}

HRESULT CD3D8Device::GetLight(DWORD index, D3DLIGHT8* light)
{
    HRESULT result = D3DERR_INVALIDCALL;
    auto it = m_state.lights.find(index);
    if (light && !IsPure() && it != m_state.lights.end()) {
        *light = it->second.light;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetLight", {index}, result);
}

HRESULT CD3D8Device::LightEnable(DWORD index, BOOL enable)
{
    if (m_recording)
        m_recording->RecordLightEnable(index, enable != FALSE);
    else
        PutLightEnable(index, enable != FALSE);
    return D3D8Record("IDirect3DDevice8::LightEnable", {index, enable ? 1u : 0u}, D3D_OK);
}

HRESULT CD3D8Device::GetLightEnable(DWORD index, BOOL* enable)
{
    HRESULT result = D3DERR_INVALIDCALL;
    auto it = m_state.lights.find(index);
    if (enable && !IsPure() && it != m_state.lights.end()) {
        *enable = it->second.enabled ? TRUE : FALSE;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetLightEnable", {index}, result);
}

// ---- State blocks -----------------------------------------------------------------------------

HRESULT CD3D8Device::BeginStateBlock()
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (!m_recording) {
        m_recording = std::make_unique<CD3D8StateBlock>();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::BeginStateBlock", {}, result);
}

HRESULT CD3D8Device::EndStateBlock(DWORD* token)
{
    HRESULT result = D3DERR_INVALIDCALL;
    DWORD made = 0;
    if (m_recording && token) {
        made = m_nextStateBlock++;
        m_stateBlocks[made] = std::move(m_recording);
        *token = made;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::EndStateBlock", {made}, result);
}

HRESULT CD3D8Device::ApplyStateBlock(DWORD token)
{
    HRESULT result = D3DERR_INVALIDCALL;
    auto it = m_stateBlocks.find(token);
    if (!m_recording && it != m_stateBlocks.end()) {
        it->second->Apply(*this);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::ApplyStateBlock", {token}, result);
}

HRESULT CD3D8Device::CaptureStateBlock(DWORD token)
{
    HRESULT result = D3DERR_INVALIDCALL;
    auto it = m_stateBlocks.find(token);
    if (!m_recording && it != m_stateBlocks.end()) {
        it->second->Capture(m_state);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::CaptureStateBlock", {token}, result);
}

HRESULT CD3D8Device::DeleteStateBlock(DWORD token)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (!m_recording && m_stateBlocks.erase(token) > 0)
        result = D3D_OK;
    return D3D8Record("IDirect3DDevice8::DeleteStateBlock", {token}, result);
}

// ---- Vertex input -----------------------------------------------------------------------------

HRESULT CD3D8Device::SetVertexShader(DWORD handle)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (CD3D8VertexLayout(handle).valid) {
        if (m_recording)
            m_recording->RecordVertexShader(handle);
        else
            PutVertexShader(handle);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetVertexShader", {handle}, result);
}

HRESULT CD3D8Device::GetVertexShader(DWORD* handle)
{
    if (handle)
        *handle = m_state.vertexShader;
    return D3D8Record("IDirect3DDevice8::GetVertexShader", {}, handle ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (stream < m_caps.MaxStreams && stride <= m_caps.MaxStreamStride &&
        OwnedBy(static_cast<CD3D8VertexBuffer*>(buffer), this)) {
        if (m_recording)
            m_recording->RecordStreamSource(buffer, stride);
        else
            PutStreamSource(buffer, stride);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetStreamSource", {stream, D3D8ObjectNumber(buffer), stride}, result);
}

HRESULT CD3D8Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (buffer && stride && stream < m_caps.MaxStreams) {
        *buffer = m_state.streamSource;
        *stride = m_state.streamStride;
        if (*buffer)
            (*buffer)->AddRef();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetStreamSource", {stream}, result);
}

HRESULT CD3D8Device::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (OwnedBy(static_cast<CD3D8IndexBuffer*>(buffer), this)) {
        if (m_recording)
            m_recording->RecordIndices(buffer, baseVertexIndex);
        else
            PutIndices(buffer, baseVertexIndex);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetIndices", {D3D8ObjectNumber(buffer), baseVertexIndex}, result);
}

HRESULT CD3D8Device::GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (buffer && baseVertexIndex) {
        *buffer = m_state.indices;
        *baseVertexIndex = m_state.baseVertexIndex;
        if (*buffer)
            (*buffer)->AddRef();
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::GetIndices", {}, result);
}

// ---- Pixel shaders ----------------------------------------------------------------------------

HRESULT CD3D8Device::CreatePixelShader(const DWORD* function, DWORD* handle)
{
    HRESULT result = DoCreatePixelShader(function, handle);
    return D3D8Record("IDirect3DDevice8::CreatePixelShader", {function ? 1u : 0u, result >= 0 ? *handle : 0u}, result);
}

HRESULT CD3D8Device::DoCreatePixelShader(const DWORD* function, DWORD* handle)
{
    if (!function || !handle)
        return D3DERR_INVALIDCALL;
    D3D8Shader::CProgram program;
    std::string error;
    CD3D8PixelShader shader;
    if (!D3D8Shader::Decode(function, kLongestShader, program, error) ||
        !D3D8TranslatePixelShader(program, shader.code, error) || !m_context.MakeCurrent() ||
        !CD3D8ProgramCache::Compiles(D3D8FragmentSource(shader.code.body, shader.code.samplers, CD3D8FragmentKey{})))
        return D3DERR_INVALIDCALL;
    *handle = m_nextPixelShader++;
    m_pixelShaders[*handle] = std::move(shader);
    return D3D_OK;
}

HRESULT CD3D8Device::SetPixelShader(DWORD handle)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (handle == 0 || m_pixelShaders.count(handle) > 0) {
        if (m_recording)
            m_recording->RecordPixelShader(handle);
        else
            PutPixelShader(handle);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::SetPixelShader", {handle}, result);
}

HRESULT CD3D8Device::GetPixelShader(DWORD* handle)
{
    if (handle)
        *handle = m_state.pixelShader;
    return D3D8Record("IDirect3DDevice8::GetPixelShader", {}, handle ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::DeletePixelShader(DWORD handle)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (m_pixelShaders.count(handle) > 0)
        ExecuteRecorded();
    if (m_pixelShaders.erase(handle) > 0) {
        if (m_state.pixelShader == handle)
            PutPixelShader(0);
        m_renderer->ForgetPixelShader(handle);
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::DeletePixelShader", {handle}, result);
}
