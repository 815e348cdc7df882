#pragma once
#include <cstdint>

#include "engine3d/ObjectPrivate.h"
#include "platform/d3d8/D3D8.h"

struct VertexLayout;

// The Direct3D 8 half of every 3D object: a device vertex buffer in system memory in the layout
// of the object's format, the render state recorded in a device state block, and the draws. Each
// part draws the record its id names, with that record's material and textures; records that
// name no record, have an unknown type or reach past the buffers are not drawn. Vertex setters
// and getters act only between Lock and Unlock and below the vertex count; outside they write
// nothing and read zeros. One class per vertex format derives from it.
class C3DObjectDX81 : public C3DObjectPrivate {
public:
    C3DObjectDX81(CWorldData* data, C3DEngine* engine, uint32_t format, DWORD fvf);
    // Releases the vertex buffer and the state block if Release did not.
    ~C3DObjectDX81() override;

    // Usage word := D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY.
    Result Init() override;
    // The vertex buffer, the state block, then the inherited release.
    Result Release() override;
    Result Render() override;
    // As Render, without the depth-test state.
    Result RenderPart(uint32_t part) override;
    // Transform, stream and per part the cull mode, indices and draw; no other state.
    Result RenderGeometry() override;
    // As RenderGeometry for one part, leaving the cull mode as it was.
    Result RenderPartGeometry(uint32_t part) override;
    // Everything RenderPart sets for the part but the point size and cull mode; draws nothing.
    Result ApplyPartState(uint32_t part) override;
    // DrawPrimitive from the stream ApplyPartState set; type -1 draws points, cull -1 culls
    // counter-clockwise faces. The part argument is not used.
    Result DrawVertices(uint32_t part, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                        int32_t cull) override;
    // The format's vertex size; the locked vertex memory, null while unlocked.
    void* GetVertexSize(uint8_t* outSize) override;
    // The inherited create, then a vertex buffer of the format (a previous one released).
    Result Create(uint32_t parts, uint32_t vertices, uint32_t indices) override;
    // The active index buffer, then the vertex buffer.
    Result Lock() override;
    // Normals and (with rebuild) the render state while locked, then both buffers unlocked.
    Result Unlock(uint8_t rebuild) override;
    void SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx, float ny,
                   float nz, uint32_t specular) override;
    void SetPosition(uint32_t i, const Vector3* position) override;
    void SetUV(uint32_t i, const Vector2* uv) override;
    void SetUV2(uint32_t i, const Vector2* uv) override;
    void SetNormal(uint32_t i, const Vector3* normal) override;
    void SetVertexColor(uint32_t i, uint32_t argb) override;
    void SetSpecular(uint32_t i, uint32_t argb) override;
    void GetVertex(uint32_t i, Vector3* position, uint32_t* colour, Vector2* uv, Vector3* normal,
                   uint32_t* specular) override;
    Vector3* GetPosition(Vector3* out, uint32_t i) override;
    Vector2* GetUV(Vector2* out, uint32_t i) override;
    Vector2* GetUV2(Vector2* out, uint32_t i) override;
    Vector3* GetNormal(Vector3* out, uint32_t i) override;
    uint32_t GetVertexColor(uint32_t i) override;
    uint32_t GetSpecular(uint32_t i) override;
    // Records the fixed render state into the object's state block (made on first use).
    Result RecordRenderState() override;
    // Applies the state block, then the texture factor from the object's colour.
    Result ApplyRenderState() override;
    Result RebuildStateBlock() override;
    Result ReleaseStateBlock() override;

    IDirect3DVertexBuffer8* GetVertexBuffer() const { return m_pVertexBuffer; }
    uint32_t GetDeviceVertexSize() const { return m_vertexSize; }
    DWORD GetFvf() const { return m_fvf; }
    uint32_t GetUsage() const { return m_usage; }
    DWORD GetStateBlock() const { return m_stateBlock; }

protected:
    IDirect3DDevice8* Device() const;
    bool IsPointFormat() const { return (m_flagsA & kFormatColor) != 0; }

private:
    void ReleaseVertexBuffer();
    uint8_t* Field(uint32_t i, int32_t offset) const;
    void WriteFloats(uint32_t i, int32_t offset, const float* values, size_t count);
    void ReadFloats(uint32_t i, int32_t offset, float* values, size_t count) const;
    void WriteWord(uint32_t i, int32_t offset, uint32_t value);
    uint32_t ReadWord(uint32_t i, int32_t offset) const;

    // Drawing steps.
    Result DrawParts(uint32_t from, uint32_t to, bool depthTest);
    Result DrawPartsGeometry(uint32_t from, uint32_t to, bool setCull);
    void SetObjectStates(IDirect3DDevice8* device, bool depthTest) const;
    void SetStream(IDirect3DDevice8* device);
    void SetPartState(IDirect3DDevice8* device, uint32_t part, bool factorStage) const;
    void SetTextureFactorStage(IDirect3DDevice8* device) const;
    void SelectAndDraw(IDirect3DDevice8* device, const C3DPrimitiveGroup& record);
    bool CanDraw(const C3DPrimitiveGroup& record) const;

    // Recording steps.
    void RecordStages(IDirect3DDevice8* device) const;
    void RecordSwitches(IDirect3DDevice8* device) const;
    void RecordFixedStates(IDirect3DDevice8* device) const;
    void RecordPointStates(IDirect3DDevice8* device) const;

    const VertexLayout* m_pLayout;
    IDirect3DVertexBuffer8* m_pVertexBuffer = nullptr;
    uint32_t m_vertexSize = 0;
    DWORD m_fvf = 0;
    const DWORD m_formatFvf;
    uint32_t m_usage = 0;
    uint8_t* m_pLocked = nullptr;
    DWORD m_stateBlock = 0;
};
