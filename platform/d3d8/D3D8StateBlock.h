#pragma once
#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "platform/d3d8/D3D8State.h"

// Where a state block puts its states when applied: the device's own setters.
class CD3D8StateSink {
public:
    virtual void PutRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual void PutStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
    virtual void PutTexture(DWORD stage, IDirect3DBaseTexture8* texture) = 0;
    virtual void PutTransform(DWORD state, const D3DMATRIX& matrix) = 0;
    virtual void PutLight(DWORD index, const D3DLIGHT8& light) = 0;
    virtual void PutLightEnable(DWORD index, bool enable) = 0;
    virtual void PutMaterial(const D3DMATERIAL8& material) = 0;
    virtual void PutViewport(const D3DVIEWPORT8& viewport) = 0;
    virtual void PutStreamSource(IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
    virtual void PutIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) = 0;
    virtual void PutVertexShader(DWORD handle) = 0;
    virtual void PutPixelShader(DWORD handle) = 0;

protected:
    ~CD3D8StateSink() = default;
};

// Entries sorted by key in one run of memory: a block applied at every draw is read in one go.
template <class Key, class Value>
class CD3D8Entries {
public:
    using Entry = std::pair<Key, Value>;

    // Null when the key has no entry.
    Value* Find(const Key& key)
    {
        auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                   [](const Entry& entry, const Key& wanted) { return entry.first < wanted; });
        return it != m_entries.end() && it->first == key ? &it->second : nullptr;
    }
    const Value* Find(const Key& key) const { return const_cast<CD3D8Entries*>(this)->Find(key); }

    void Set(const Key& key, const Value& value)
    {
        if (Value* held = Find(key)) {
            *held = value;
            return;
        }
        auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                   [](const Entry& entry, const Key& wanted) { return entry.first < wanted; });
        m_entries.insert(it, Entry{key, value});
    }

    size_t size() const { return m_entries.size(); }
    typename std::vector<Entry>::iterator begin() { return m_entries.begin(); }
    typename std::vector<Entry>::iterator end() { return m_entries.end(); }
    typename std::vector<Entry>::const_iterator begin() const { return m_entries.begin(); }
    typename std::vector<Entry>::const_iterator end() const { return m_entries.end(); }

private:
    std::vector<Entry> m_entries;
};

// The states set while a block was recorded, with their values; capture refreshes those values
// from the device, apply sets them again. Textures and buffers named in the block stay alive
// until the block is deleted.
class CD3D8StateBlock {
public:
    CD3D8StateBlock() = default;
    CD3D8StateBlock(const CD3D8StateBlock&) = delete;
    CD3D8StateBlock& operator=(const CD3D8StateBlock&) = delete;
    ~CD3D8StateBlock();

    void RecordRenderState(D3DRENDERSTATETYPE state, DWORD value) { m_render.Set(state, value); }
    void RecordStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) { m_stage.Set({stage, type}, value); }
    void RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture);
    void RecordTransform(DWORD state, const D3DMATRIX& matrix) { m_transforms.Set(state, matrix); }
    void RecordLight(DWORD index, const D3DLIGHT8& light) { m_lights.Set(index, light); }
    void RecordLightEnable(DWORD index, bool enable) { m_lightEnables.Set(index, enable); }
    void RecordMaterial(const D3DMATERIAL8& material) { m_material = material; }
    void RecordViewport(const D3DVIEWPORT8& viewport) { m_viewport = viewport; }
    void RecordStreamSource(IDirect3DVertexBuffer8* buffer, UINT stride);
    void RecordIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex);
    void RecordVertexShader(DWORD handle) { m_vertexShader = handle; }
    void RecordPixelShader(DWORD handle) { m_pixelShader = handle; }

    void Capture(const CD3D8State& state);
    void Apply(CD3D8StateSink& sink) const;

    // What the block holds, for tests.
    size_t Count() const;
    bool FindRenderState(D3DRENDERSTATETYPE state, DWORD* value) const;
    bool FindStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) const;
    bool FindTexture(DWORD stage, IDirect3DBaseTexture8** texture) const;
    bool FindLightEnable(DWORD index, bool* enable) const;

private:
    struct CStream {
        IDirect3DVertexBuffer8* buffer;
        UINT stride;
    };
    struct CIndices {
        IDirect3DIndexBuffer8* buffer;
        UINT baseVertexIndex;
    };

    void SetStream(IDirect3DVertexBuffer8* buffer, UINT stride);
    void SetIndexBuffer(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex);
    void SetTexture(DWORD stage, IDirect3DBaseTexture8* texture);

    CD3D8Entries<DWORD, DWORD> m_render;
    CD3D8Entries<std::pair<DWORD, DWORD>, DWORD> m_stage;
    CD3D8Entries<DWORD, IDirect3DBaseTexture8*> m_textures;
    CD3D8Entries<DWORD, D3DMATRIX> m_transforms;
    CD3D8Entries<DWORD, D3DLIGHT8> m_lights;
    CD3D8Entries<DWORD, bool> m_lightEnables;
    std::optional<D3DMATERIAL8> m_material;
    std::optional<D3DVIEWPORT8> m_viewport;
    std::optional<CStream> m_stream;
    std::optional<CIndices> m_indices;
    std::optional<DWORD> m_vertexShader;
    std::optional<DWORD> m_pixelShader;
};
