#pragma once
#include <array>
#include <string>
#include <vector>

#include "platform/d3d8/D3D8BackBuffer.h"
#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8GLContext.h"
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
// OpenGL state and generated programs, vertex data through client arrays.
class CD3D8Renderer {
public:
    CD3D8Renderer(CD3D8GLContext& context, CD3D8BackBuffer& backBuffer, const D3DCAPS8& caps);
    CD3D8Renderer(const CD3D8Renderer&) = delete;
    CD3D8Renderer& operator=(const CD3D8Renderer&) = delete;
    ~CD3D8Renderer();  // the context must be current

    HRESULT Draw(const CD3D8State& state, const CD3D8DrawSource& source, const CD3D8PixelShader* shader);
    void Clear(const CD3D8State& state, DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
               DWORD stencil);
    void ForgetPixelShader(DWORD handle);

private:
    const CD3D8Program* Program(const CD3D8State& state, DWORD fvf, bool points, const CD3D8PixelShader* shader);
    void BindTextures(const CD3D8State& state, const CD3D8Program& program);
    void BindVertices(DWORD fvf, const BYTE* vertices, UINT stride);

    CD3D8GLContext& m_context;
    CD3D8BackBuffer& m_backBuffer;
    const D3DCAPS8& m_caps;
    CD3D8ProgramCache m_programs;
    std::array<GLuint, 8> m_samplers{};
};
