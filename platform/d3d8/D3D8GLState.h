#pragma once
#include <array>
#include <cstdint>

#include "platform/d3d8/D3D8GL.h"
#include "platform/d3d8/D3D8Types.h"

// The fixed-function raster state of OpenGL a draw needs: every field a GL value or float bits,
// so that two settings compare as memory.
struct CD3D8RasterSetting {
    std::array<GLint, 4> viewport;  // x, y, width, height
    std::array<uint32_t, 2> depthRange;
    std::array<GLint, 4> scissor;
    GLenum depthTest, depthFunc, depthMask;
    GLenum stencilTest, stencilFunc;
    GLint stencilRef;
    GLuint stencilMask;
    GLenum stencilFail, stencilDepthFail, stencilPass;
    GLuint stencilWriteMask;
    GLenum blend, blendSource, blendTarget, blendEquation;
    GLenum cull, frontFace, polygonMode, shadeModel;
    GLuint colorMask;  // bit 0 red, 1 green, 2 blue, 3 alpha
    GLenum pointSprite;
};

// Sampling of one texture unit, as sampler object parameters.
struct CD3D8SamplerSetting {
    GLint wrapS, wrapT, magnify, minify;
    std::array<uint32_t, 4> border;  // float bits, red first
    uint32_t lodBias, minLod;        // float bits
};

// What the layer last set in its OpenGL context, so that a call whose value is already in
// place is not made again. Forget drops it all after OpenGL was used past it; the next calls
// then set everything.
class CD3D8GLState {
public:
    static constexpr GLuint kUnits = D3D8_TEXTURE_STAGES;

    CD3D8GLState() { Forget(); }

    void Forget();

    void BindFramebuffer(GLuint framebuffer);
    void UseProgram(GLuint program);
    // Binds the 2D texture on the unit; the unit becomes the active one when the binding changes.
    void BindTexture(GLuint unit, GLuint texture);
    void ActiveUnit(GLuint unit);
    // The texture is deleted: no unit holds it any more.
    void TextureDeleted(GLuint texture);
    // Programs were deleted: the one in use is no longer known.
    void ProgramsDeleted();
    // Binds the sampler object to its unit with the parameters.
    void BindSampler(GLuint unit, GLuint sampler, const CD3D8SamplerSetting& setting);

    void SetRaster(const CD3D8RasterSetting& setting);
    void SetScissorTest(bool enabled);
    void SetScissor(const std::array<GLint, 4>& box);
    void SetColorMask(GLuint mask);
    void SetDepthMask(GLenum mask);
    void SetStencilWriteMask(GLuint mask);
    void SetClearColor(const std::array<float, 4>& color);
    void SetClearDepth(float depth);
    void SetClearStencil(GLint stencil);

    // Points the vertex attributes at one vertex stream of a vertex format; false when they
    // already do.
    bool SetVertexStream(DWORD fvf, const BYTE* vertices, UINT stride);
    // Enables exactly the attributes of the mask.
    void EnableAttributes(uint32_t mask);

private:
    void Enable(GLenum capability, GLenum& held, GLenum wanted);

    GLuint m_framebuffer;
    GLuint m_program;
    GLuint m_activeUnit;
    std::array<GLuint, kUnits> m_textures;
    std::array<GLuint, kUnits> m_samplers;
    std::array<CD3D8SamplerSetting, kUnits> m_sampling;
    CD3D8RasterSetting m_raster;
    GLenum m_scissorTest;
    std::array<float, 4> m_clearColor;
    float m_clearDepth;
    GLint m_clearStencil;
    bool m_buffersUnbound;
    uint32_t m_attributes;
    DWORD m_fvf;
    const BYTE* m_vertices;
    UINT m_stride;
};
