#include "platform/d3d8/D3D8GLState.h"

#include <cstring>

#include "platform/d3d8/D3D8ProgramCache.h"

namespace {

constexpr GLuint kUnknown = 0xFFFFFFFFu;

template <class T>
bool Same(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

float Float(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

void CD3D8GLState::Forget()
{
    m_framebuffer = kUnknown;
    m_program = kUnknown;
    m_activeUnit = kUnknown;
    m_textures.fill(kUnknown);
    m_samplers.fill(kUnknown);
    std::memset(m_sampling.data(), 0xFF, sizeof(m_sampling));
    std::memset(&m_raster, 0xFF, sizeof(m_raster));
    m_scissorTest = kUnknown;
    std::memset(m_clearColor.data(), 0xFF, sizeof(m_clearColor));
    std::memset(&m_clearDepth, 0xFF, sizeof(m_clearDepth));
    m_clearStencil = -1;
    m_buffersUnbound = false;
    m_attributes = kUnknown;
    m_fvf = kUnknown;
    m_vertices = nullptr;
    m_stride = 0;
}

void CD3D8GLState::BindFramebuffer(GLuint framebuffer)
{
    if (m_framebuffer == framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    m_framebuffer = framebuffer;
}

void CD3D8GLState::UseProgram(GLuint program)
{
    if (m_program == program)
        return;
    glUseProgram(program);
    m_program = program;
}

void CD3D8GLState::ActiveUnit(GLuint unit)
{
    if (m_activeUnit == unit)
        return;
    glActiveTexture(GL_TEXTURE0 + unit);
    m_activeUnit = unit;
}

void CD3D8GLState::BindTexture(GLuint unit, GLuint texture)
{
    if (m_textures[unit] == texture)
        return;
    ActiveUnit(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    m_textures[unit] = texture;
}

void CD3D8GLState::TextureDeleted(GLuint texture)
{
    for (GLuint& held : m_textures) {
        if (held == texture)
            held = 0;
    }
}

void CD3D8GLState::ProgramsDeleted()
{
    m_program = kUnknown;
}

void CD3D8GLState::BindSampler(GLuint unit, GLuint sampler, const CD3D8SamplerSetting& setting)
{
    if (m_samplers[unit] != sampler) {
        glBindSampler(unit, sampler);
        m_samplers[unit] = sampler;
    }
    CD3D8SamplerSetting& held = m_sampling[unit];
    if (held.wrapS != setting.wrapS)
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, setting.wrapS);
    if (held.wrapT != setting.wrapT)
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, setting.wrapT);
    if (held.magnify != setting.magnify)
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, setting.magnify);
    if (held.minify != setting.minify)
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, setting.minify);
    if (!Same(held.border, setting.border)) {
        const float color[4] = {Float(setting.border[0]), Float(setting.border[1]), Float(setting.border[2]),
                                Float(setting.border[3])};
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, color);
    }
    if (held.lodBias != setting.lodBias)
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, Float(setting.lodBias));
    if (held.minLod != setting.minLod)
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, Float(setting.minLod));
    held = setting;
}

void CD3D8GLState::Enable(GLenum capability, GLenum& held, GLenum wanted)
{
    if (held == wanted)
        return;
    if (wanted)
        glEnable(capability);
    else
        glDisable(capability);
    held = wanted;
}

void CD3D8GLState::SetScissorTest(bool enabled)
{
    Enable(GL_SCISSOR_TEST, m_scissorTest, enabled ? GL_TRUE : GL_FALSE);
}

void CD3D8GLState::SetScissor(const std::array<GLint, 4>& box)
{
    if (Same(m_raster.scissor, box))
        return;
    glScissor(box[0], box[1], box[2], box[3]);
    m_raster.scissor = box;
}

void CD3D8GLState::SetColorMask(GLuint mask)
{
    if (m_raster.colorMask == mask)
        return;
    glColorMask((mask & 1) ? GL_TRUE : GL_FALSE, (mask & 2) ? GL_TRUE : GL_FALSE, (mask & 4) ? GL_TRUE : GL_FALSE,
                (mask & 8) ? GL_TRUE : GL_FALSE);
    m_raster.colorMask = mask;
}

void CD3D8GLState::SetDepthMask(GLenum mask)
{
    if (m_raster.depthMask == mask)
        return;
    glDepthMask(static_cast<GLboolean>(mask));
    m_raster.depthMask = mask;
}

void CD3D8GLState::SetStencilWriteMask(GLuint mask)
{
    if (m_raster.stencilWriteMask == mask)
        return;
    glStencilMask(mask);
    m_raster.stencilWriteMask = mask;
}

void CD3D8GLState::SetClearColor(const std::array<float, 4>& color)
{
    if (Same(m_clearColor, color))
        return;
    glClearColor(color[0], color[1], color[2], color[3]);
    m_clearColor = color;
}

void CD3D8GLState::SetClearDepth(float depth)
{
    if (Same(m_clearDepth, depth))
        return;
    glClearDepth(depth);
    m_clearDepth = depth;
}

void CD3D8GLState::SetClearStencil(GLint stencil)
{
    if (m_clearStencil == stencil)
        return;
    glClearStencil(stencil);
    m_clearStencil = stencil;
}

void CD3D8GLState::SetRaster(const CD3D8RasterSetting& setting)
{
    if (Same(m_raster, setting) && m_scissorTest == GL_TRUE)
        return;
    CD3D8RasterSetting& held = m_raster;
    if (!Same(held.viewport, setting.viewport))
        glViewport(setting.viewport[0], setting.viewport[1], setting.viewport[2], setting.viewport[3]);
    if (!Same(held.depthRange, setting.depthRange))
        glDepthRange(Float(setting.depthRange[0]), Float(setting.depthRange[1]));
    SetScissorTest(true);
    SetScissor(setting.scissor);
    Enable(GL_DEPTH_TEST, held.depthTest, setting.depthTest);
    if (held.depthFunc != setting.depthFunc)
        glDepthFunc(setting.depthFunc);
    SetDepthMask(setting.depthMask);
    Enable(GL_STENCIL_TEST, held.stencilTest, setting.stencilTest);
    if (held.stencilFunc != setting.stencilFunc || held.stencilRef != setting.stencilRef ||
        held.stencilMask != setting.stencilMask)
        glStencilFunc(setting.stencilFunc, setting.stencilRef, setting.stencilMask);
    if (held.stencilFail != setting.stencilFail || held.stencilDepthFail != setting.stencilDepthFail ||
        held.stencilPass != setting.stencilPass)
        glStencilOp(setting.stencilFail, setting.stencilDepthFail, setting.stencilPass);
    SetStencilWriteMask(setting.stencilWriteMask);
    Enable(GL_BLEND, held.blend, setting.blend);
    if (held.blendSource != setting.blendSource || held.blendTarget != setting.blendTarget)
        glBlendFunc(setting.blendSource, setting.blendTarget);
    if (held.blendEquation != setting.blendEquation)
        glBlendEquation(setting.blendEquation);
    Enable(GL_CULL_FACE, held.cull, setting.cull);
    if (held.frontFace != setting.frontFace)
        glFrontFace(setting.frontFace);
    if (held.polygonMode != setting.polygonMode)
        glPolygonMode(GL_FRONT_AND_BACK, setting.polygonMode);
    if (held.shadeModel != setting.shadeModel)
        glShadeModel(setting.shadeModel);
    SetColorMask(setting.colorMask);
    Enable(GL_POINT_SPRITE, held.pointSprite, setting.pointSprite);
    held = setting;
}

bool CD3D8GLState::SetVertexStream(DWORD fvf, const BYTE* vertices, UINT stride)
{
    if (!m_buffersUnbound) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        m_buffersUnbound = true;
    }
    if (m_fvf == fvf && m_vertices == vertices && m_stride == stride)
        return false;
    m_fvf = fvf;
    m_vertices = vertices;
    m_stride = stride;
    return true;
}

void CD3D8GLState::EnableAttributes(uint32_t mask)
{
    if (m_attributes == mask)
        return;
    for (GLuint i = 0; i < kD3D8AttributeCount; ++i) {
        uint32_t bit = 1u << i;
        if (m_attributes != kUnknown && (m_attributes & bit) == (mask & bit))
            continue;
        if (mask & bit)
            glEnableVertexAttribArray(i);
        else
            glDisableVertexAttribArray(i);
    }
    m_attributes = mask;
}
