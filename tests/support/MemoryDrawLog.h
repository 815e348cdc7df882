#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Vector3.h"
#include "engine3d/ObjectTypes.h"

class C3DObject;
class C3DTexture;

// The operations of the memory renderer that can be made to fail.
enum class MemoryOp : uint8_t {
    Load,
    CreateObject,
    CreateIndexBuffer,
    CreateTexture,
    LoadTexture,  // any of the three texture loaders
    CreateShader,
    CreateStencilShadow,
    CreateVertices,  // the vertex storage of an object's Create
    RebuildStateBlock,
    ReleaseStateBlock,
    DeviceRestore,  // an index buffer's OnDeviceRestore
    DeviceLost,     // an index buffer's OnDeviceLost
    BeginFrame,
    EndFrame,
    Count
};

// Failure injection: counts every call of each operation and makes chosen calls fail.
class CMemoryFailures {
public:
    // The nth call of op from now on fails (1: the next one); one failure per request.
    void FailNth(MemoryOp op, uint32_t nth);
    // Every call of op fails until Clear.
    void FailAlways(MemoryOp op);
    void Clear();
    // Counts one call of op; true when that call is to fail.
    bool ShouldFail(MemoryOp op);
    // Calls of op counted since construction.
    uint32_t Calls(MemoryOp op) const { return m_calls[Index(op)]; }

private:
    static size_t Index(MemoryOp op) { return static_cast<size_t>(op); }

    std::array<uint32_t, static_cast<size_t>(MemoryOp::Count)> m_calls{};
    std::array<uint32_t, static_cast<size_t>(MemoryOp::Count)> m_failAt{};  // call number, 0: none
    std::array<bool, static_cast<size_t>(MemoryOp::Count)> m_always{};
};

enum class MemoryDrawKind : uint8_t { Render, RenderPart, RenderGeometry, RenderPartGeometry, DrawVertices };

// Cull state in effect at a draw, in the neutral codes: none, counter-clockwise faces culled,
// clockwise faces culled (record code 3 draws as counter-clockwise).
enum class MemoryCull : uint8_t { None = 0, CounterClockwise = 1, Clockwise = 2 };

// One primitive-group draw as the memory renderer saw it.
struct MemoryDraw {
    const C3DObject* object;
    MemoryDrawKind kind;
    uint32_t part;          // the part drawn (DrawVertices: its part argument)
    uint32_t recordNumber;  // the record drawn: the id in the part's record
    C3DPrimitiveGroup record;
    uint32_t primitiveType;
    uint32_t primitiveCount;
    uint32_t indexCount;
    uint32_t vertexCount;
    MemoryCull cull;                             // the cull state in effect
    std::array<const C3DTexture*, 2> textures;   // the textures bound on stages 0 and 1
    uint32_t colour;                             // the object's colour word
    Matrix4 matrix;                              // the object's current matrix
    uint32_t flagsA;
    uint32_t flagsB;
    bool screenSpace;  // through the screen projection (format 0x10)
    bool locked;       // drawn while the object was locked
    uint32_t frame;    // BeginFrame count at the draw
};
