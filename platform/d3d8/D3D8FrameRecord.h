#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "platform/d3d8/D3D8State.h"

// One clear or draw of a frame, kept as values: the state it ran in, the content version of each
// texture it could sample, and copies of the vertices and indices it reads.
struct CD3D8FrameCommand {
    bool draw = false;
    CD3D8State state;
    std::array<uint64_t, D3D8_TEXTURE_STAGES> textureVersions{};
    // A clear.
    std::vector<D3DRECT> rects;
    DWORD flags = 0;
    D3DCOLOR color = 0;
    DWORD depthBits = 0;
    DWORD stencil = 0;
    bool wholeTarget = false;  // leaves nothing of the buffers as they were before it
    // A draw.
    D3DPRIMITIVETYPE type = D3DPT_POINTLIST;
    UINT primitiveCount = 0;
    UINT vertexCount = 0;
    UINT stride = 0;
    UINT indexSize = 0;
    std::vector<BYTE> vertices;  // from the first (or base) vertex on
    std::vector<BYTE> indices;   // empty: vertices in order
};

// Whether two states draw alike: every value but the change serials.
bool D3D8SameDrawState(const CD3D8State& a, const CD3D8State& b);

// The clears and draws of one frame, in order, and how many of them already ran.
class CD3D8FrameRecord {
public:
    void Add(CD3D8FrameCommand&& command) { m_commands.push_back(std::move(command)); }
    const std::vector<CD3D8FrameCommand>& Commands() const { return m_commands; }
    size_t Executed() const { return m_executed; }
    void MarkExecuted() { m_executed = m_commands.size(); }
    void Clear();
    // The picture depends on these commands alone: one of them clears the whole of every buffer.
    bool StandsAlone() const;
    // Both hold the same commands with the same values.
    bool SameAs(const CD3D8FrameRecord& other) const;

private:
    std::vector<CD3D8FrameCommand> m_commands;
    size_t m_executed = 0;
};
