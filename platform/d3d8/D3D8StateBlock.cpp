#include "platform/d3d8/D3D8StateBlock.h"

#include "platform/d3d8/D3D8Resources.h"

CD3D8StateBlock::~CD3D8StateBlock()
{
    for (auto& entry : m_textures)
        D3D8DropBinding(entry.second);
    if (m_stream)
        D3D8DropBinding(m_stream->buffer);
    if (m_indices)
        D3D8DropBinding(m_indices->buffer);
}

void CD3D8StateBlock::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture)
{
    D3D8HoldBinding(texture);
    if (IDirect3DBaseTexture8** held = m_textures.Find(stage)) {
        D3D8DropBinding(*held);
        *held = texture;
    } else {
        m_textures.Set(stage, texture);
    }
}

void CD3D8StateBlock::SetStream(IDirect3DVertexBuffer8* buffer, UINT stride)
{
    D3D8HoldBinding(buffer);
    if (m_stream)
        D3D8DropBinding(m_stream->buffer);
    m_stream = CStream{buffer, stride};
}

void CD3D8StateBlock::SetIndexBuffer(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex)
{
    D3D8HoldBinding(buffer);
    if (m_indices)
        D3D8DropBinding(m_indices->buffer);
    m_indices = CIndices{buffer, baseVertexIndex};
}

void CD3D8StateBlock::RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture)
{
    SetTexture(stage, texture);
}

void CD3D8StateBlock::RecordStreamSource(IDirect3DVertexBuffer8* buffer, UINT stride)
{
    SetStream(buffer, stride);
}

void CD3D8StateBlock::RecordIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex)
{
    SetIndexBuffer(buffer, baseVertexIndex);
}

void CD3D8StateBlock::Capture(const CD3D8State& state)
{
    for (auto& entry : m_render)
        entry.second = state.renderStates[entry.first];
    for (auto& entry : m_stage)
        entry.second = state.stageStates[entry.first.first][entry.first.second];
    for (auto& entry : m_textures)
        SetTexture(entry.first, state.textures[entry.first]);
    for (auto& entry : m_transforms)
        entry.second = *state.Transform(entry.first);
    for (auto& entry : m_lights) {
        auto light = state.lights.find(entry.first);
        if (light != state.lights.end())
            entry.second = light->second.light;
    }
    for (auto& entry : m_lightEnables) {
        auto light = state.lights.find(entry.first);
        entry.second = light != state.lights.end() && light->second.enabled;
    }
    if (m_material)
        m_material = state.material;
    if (m_viewport)
        m_viewport = state.viewport;
    if (m_stream)
        SetStream(state.streamSource, state.streamStride);
    if (m_indices)
        SetIndexBuffer(state.indices, state.baseVertexIndex);
    if (m_vertexShader)
        m_vertexShader = state.vertexShader;
    if (m_pixelShader)
        m_pixelShader = state.pixelShader;
}

void CD3D8StateBlock::Apply(CD3D8StateSink& sink) const
{
    for (const auto& entry : m_render)
        sink.PutRenderState(static_cast<D3DRENDERSTATETYPE>(entry.first), entry.second);
    for (const auto& entry : m_stage)
        sink.PutStageState(entry.first.first, static_cast<D3DTEXTURESTAGESTATETYPE>(entry.first.second), entry.second);
    for (const auto& entry : m_textures)
        sink.PutTexture(entry.first, entry.second);
    for (const auto& entry : m_transforms)
        sink.PutTransform(entry.first, entry.second);
    for (const auto& entry : m_lights)
        sink.PutLight(entry.first, entry.second);
    for (const auto& entry : m_lightEnables)
        sink.PutLightEnable(entry.first, entry.second);
    if (m_material)
        sink.PutMaterial(*m_material);
    if (m_viewport)
        sink.PutViewport(*m_viewport);
    if (m_stream)
        sink.PutStreamSource(m_stream->buffer, m_stream->stride);
    if (m_indices)
        sink.PutIndices(m_indices->buffer, m_indices->baseVertexIndex);
    if (m_vertexShader)
        sink.PutVertexShader(*m_vertexShader);
    if (m_pixelShader)
        sink.PutPixelShader(*m_pixelShader);
}

size_t CD3D8StateBlock::Count() const
{
    return m_render.size() + m_stage.size() + m_textures.size() + m_transforms.size() + m_lights.size() +
           m_lightEnables.size() + (m_material ? 1 : 0) + (m_viewport ? 1 : 0) + (m_stream ? 1 : 0) +
           (m_indices ? 1 : 0) + (m_vertexShader ? 1 : 0) + (m_pixelShader ? 1 : 0);
}

namespace {

template <class Entries, class Key, class Value>
bool Copy(const Entries& entries, const Key& key, Value* value)
{
    const auto* held = entries.Find(key);
    if (!held)
        return false;
    *value = *held;
    return true;
}

} // namespace

bool CD3D8StateBlock::FindRenderState(D3DRENDERSTATETYPE state, DWORD* value) const
{
    return Copy(m_render, static_cast<DWORD>(state), value);
}

bool CD3D8StateBlock::FindStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) const
{
    return Copy(m_stage, std::pair<DWORD, DWORD>{stage, type}, value);
}

bool CD3D8StateBlock::FindTexture(DWORD stage, IDirect3DBaseTexture8** texture) const
{
    return Copy(m_textures, stage, texture);
}

bool CD3D8StateBlock::FindLightEnable(DWORD index, bool* enable) const
{
    return Copy(m_lightEnables, index, enable);
}
