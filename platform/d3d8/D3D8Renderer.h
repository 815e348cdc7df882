#pragma once
#include <array>
#include <cstdint>

#include "platform/d3d8/D3D8BackBuffer.h"
#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8GLContext.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8ProgramCache.h"
#include "platform/d3d8/D3D8ShaderTranslator.h"
#include "platform/d3d8/D3D8State.h"

struct CD3D8PixelShader {
    CD3D8PixelShaderCode code;
};

// One draw as the device checked it.
struct CD3D8DrawSource {
    D3DPRIMITIVETYPE type;
    UINT primitiveCount;
    UINT vertexCount;      // vertices sent, in order, when there are no indices
    const BYTE* vertices;  // the first vertex (the base vertex for indexed draws)
    UINT stride;
    const void* indices;   // null: vertices in order
    UINT indexSize;        // 2 or 4
};

// Draws with OpenGL what the device state describes: the fixed-function states turned into
// OpenGL state and generated programs, vertex data through client arrays. Only what changed
// since the last draw reaches OpenGL: the program is looked for again after a state that picks
// it changed, values are loaded into a program when they changed since it last had them, and
// the rest goes through the context's state record.
class CD3D8Renderer {
public:
    CD3D8Renderer(CD3D8GLContext& context, CD3D8GLState& gl, CD3D8BackBuffer& backBuffer, const D3DCAPS8& caps);
    CD3D8Renderer(const CD3D8Renderer&) = delete;
    CD3D8Renderer& operator=(const CD3D8Renderer&) = delete;
    ~CD3D8Renderer();  // the context must be current

    HRESULT Draw(const CD3D8State& state, const CD3D8DrawSource& source, const CD3D8PixelShader* shader);
    void Clear(const CD3D8State& state, DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
               DWORD stencil);
    void ForgetPixelShader(DWORD handle);

private:
    CD3D8Program* Program(const CD3D8State& state, bool points, const CD3D8PixelShader* shader);
    CD3D8Program* Make(const CD3D8ProgramKey& key, const CD3D8VertexKey& vertex, const CD3D8FragmentKey& fragment,
                       const CD3D8CombinerKey& combiner, const CD3D8PixelShader* shader);
    void BindTextures(const CD3D8State& state, const CD3D8Program& program);
    void BindVertices(const CD3D8State& state, const BYTE* vertices, UINT stride);

    CD3D8GLContext& m_context;
    CD3D8GLState& m_gl;
    CD3D8BackBuffer& m_backBuffer;
    const D3DCAPS8& m_caps;
    CD3D8ProgramCache m_programs;
    std::array<GLuint, 8> m_samplers{};
    // The program of the last draw and what it was picked by.
    CD3D8Program* m_program = nullptr;
    CD3D8ProgramKey m_programKey;
    uint64_t m_programSerial = 0;
    bool m_programPoints = false;
    DWORD m_programTextures = 0;
};
