#pragma once
#include <cstdint>

#include "engine3d/SystemMemoryObject.h"
#include "tests/support/MemoryDrawLog.h"

class CMemoryEngine;

// The memory renderer's 3D object, for any of the four formats: vertices in system memory
// with the interface's conventions; every draw goes into the engine's draw log.
class CMemoryObject : public C3DObjectSystemMemory {
public:
    CMemoryObject(CWorldData* data, CMemoryEngine* engine);

    Result Render() override;
    Result RenderPart(uint32_t part) override;
    Result PushTransform() override;
    Result RenderGeometry() override;
    Result RenderPartGeometry(uint32_t part) override;
    Result ApplyPartState(uint32_t part) override;
    Result DrawVertices(uint32_t part, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                        int32_t cull) override;
    Result Create(uint32_t parts, uint32_t vertices, uint32_t indices) override;
    Result RecordRenderState() override;
    Result ApplyRenderState() override;
    Result RebuildStateBlock() override;
    Result ReleaseStateBlock() override;

    uint32_t RecordStateCount() const { return m_recordStates; }
    uint32_t RebuildCount() const { return m_rebuilds; }
    uint32_t ReleaseStateCount() const { return m_releaseStates; }
    // The vertex bytes as stored, readable at any time.
    const uint8_t* VertexBytes() const { return m_vertices.Data(); }

protected:
    void OnStorageMisuse(const char* operation) override;

private:
    // The 0x10 format draws through the camera's screen projection.
    bool IsScreenFormat() const { return (m_flagsA & kFormatMask) == kFormatColorTex; }
    Result DrawParts(MemoryDrawKind kind, uint32_t from, uint32_t to, bool withState, bool withCull);
    void BindPartTextures(uint32_t part);
    void Log(MemoryDrawKind kind, uint32_t part, uint32_t recordNumber, const C3DPrimitiveGroup& record);

    CMemoryEngine* m_pMemoryEngine;
    uint32_t m_recordStates = 0;
    uint32_t m_rebuilds = 0;
    uint32_t m_releaseStates = 0;
};

// The memory renderer's index buffer of kind 1 or 2.
class CMemoryIndexBuffer : public C3DObjectIndexSystemMemory {
public:
    CMemoryIndexBuffer(CWorldData* data, CMemoryEngine* engine, uint32_t kind);

    Result OnDeviceRestore() override;
    Result OnDeviceLost() override;

    uint32_t RestoreCount() const { return m_restores; }
    uint32_t LostCount() const { return m_losts; }

protected:
    void OnStorageMisuse(const char* operation) override;

private:
    CMemoryEngine* m_pMemoryEngine;
    uint32_t m_restores = 0;
    uint32_t m_losts = 0;
};
