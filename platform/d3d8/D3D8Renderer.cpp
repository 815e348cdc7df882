#include "platform/d3d8/D3D8Renderer.h"

#include <algorithm>

#include "platform/d3d8/D3D8FixedFunction.h"
#include "platform/d3d8/D3D8RasterState.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Uniforms.h"
#include "platform/d3d8/D3D8VertexLayout.h"

namespace {

GLenum Mode(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

GLint Address(DWORD mode)
{
    switch (mode) {
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE:
        return GLEW_ARB_texture_mirror_clamp_to_edge ? GL_MIRROR_CLAMP_TO_EDGE : GL_MIRRORED_REPEAT;
    default:
        return GL_REPEAT;
    }
}

GLint MinFilter(DWORD min, DWORD mip)
{
    bool linear = min != D3DTEXF_NONE && min != D3DTEXF_POINT;
    if (mip == D3DTEXF_POINT)
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mip != D3DTEXF_NONE)
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR : GL_NEAREST;
}

ED3D8ColorSource Source(DWORD source, const CD3D8VertexLayout& layout, bool colorVertex)
{
    if (colorVertex && source == D3DMCS_COLOR1 && layout.diffuse != CD3D8VertexLayout::kAbsent)
        return ED3D8ColorSource::VertexDiffuse;
    if (colorVertex && source == D3DMCS_COLOR2 && layout.specular != CD3D8VertexLayout::kAbsent)
        return ED3D8ColorSource::VertexSpecular;
    return ED3D8ColorSource::Material;
}

void Fog(const CD3D8State& state, bool transformed, ED3D8Fog& fog, DWORD& formula)
{
    fog = ED3D8Fog::None;
    formula = D3DFOG_NONE;
    if (!state.Render(D3DRS_FOGENABLE))
        return;
    DWORD table = state.Render(D3DRS_FOGTABLEMODE);
    DWORD vertex = state.Render(D3DRS_FOGVERTEXMODE);
    if (table != D3DFOG_NONE) {
        fog = ED3D8Fog::PixelDepth;
        formula = table;
    } else {
        fog = ED3D8Fog::VertexFactor;
        formula = transformed ? D3DFOG_NONE : vertex;
    }
}

CD3D8VertexKey VertexKey(const CD3D8State& state, const CD3D8VertexLayout& layout, bool points, UINT stages)
{
    CD3D8VertexKey key;
    key.transformed = layout.transformed;
    key.normal = layout.normal != CD3D8VertexLayout::kAbsent;
    key.diffuse = layout.diffuse != CD3D8VertexLayout::kAbsent;
    key.specular = layout.specular != CD3D8VertexLayout::kAbsent;
    key.pointSize = layout.pointSize != CD3D8VertexLayout::kAbsent;
    key.texSets = layout.texSets;
    key.texComponents = layout.texComponents;
    key.stagesWithCoordinates = stages;
    for (UINT stage = 0; stage < stages; ++stage)
        key.texCoordIndex[stage] = state.Stage(stage, D3DTSS_TEXCOORDINDEX) & 0xFFFF;
    key.lighting = !layout.transformed && state.Render(D3DRS_LIGHTING);
    if (key.lighting) {
        bool colorVertex = state.Render(D3DRS_COLORVERTEX) != 0;
        key.lights = D3D8ActiveLights(state);
        key.diffuseSource = Source(state.Render(D3DRS_DIFFUSEMATERIALSOURCE), layout, colorVertex);
        key.ambientSource = Source(state.Render(D3DRS_AMBIENTMATERIALSOURCE), layout, colorVertex);
        key.specularSource = Source(state.Render(D3DRS_SPECULARMATERIALSOURCE), layout, colorVertex);
        key.emissiveSource = Source(state.Render(D3DRS_EMISSIVEMATERIALSOURCE), layout, colorVertex);
        key.specularLighting = state.Render(D3DRS_SPECULARENABLE) != 0;
        key.localViewer = state.Render(D3DRS_LOCALVIEWER) != 0;
        key.normalize = state.Render(D3DRS_NORMALIZENORMALS) != 0;
    }
    Fog(state, layout.transformed, key.fog, key.fogFormula);
    key.rangeFog = state.Render(D3DRS_RANGEFOGENABLE) != 0;
    key.fogFromW = layout.transformed || state.projection.m[2][3] != 0.0f;
    key.pointScale = points && state.Render(D3DRS_POINTSCALEENABLE);
    return key;
}

CD3D8CombinerKey CombinerKey(const CD3D8State& state)
{
    CD3D8CombinerKey key;
    for (DWORD s = 0; s < D3D8_TEXTURE_STAGES; ++s) {
        CD3D8StageKey stage;
        stage.colorOp = state.Stage(s, D3DTSS_COLOROP);
        if (stage.colorOp == D3DTOP_DISABLE)
            break;
        stage.colorArgs = {state.Stage(s, D3DTSS_COLORARG0), state.Stage(s, D3DTSS_COLORARG1),
                           state.Stage(s, D3DTSS_COLORARG2)};
        stage.alphaOp = state.Stage(s, D3DTSS_ALPHAOP);
        stage.alphaArgs = {state.Stage(s, D3DTSS_ALPHAARG0), state.Stage(s, D3DTSS_ALPHAARG1),
                           state.Stage(s, D3DTSS_ALPHAARG2)};
        stage.toTemp = (state.Stage(s, D3DTSS_RESULTARG) & D3DTA_SELECTMASK) == D3DTA_TEMP;
        stage.texture = state.textures[s] != nullptr;
        key.stages.push_back(stage);
    }
    key.specularAdd = state.Render(D3DRS_SPECULARENABLE) != 0;
    return key;
}

} // namespace

CD3D8Renderer::CD3D8Renderer(CD3D8GLContext& context, CD3D8BackBuffer& backBuffer, const D3DCAPS8& caps)
    : m_context(context), m_backBuffer(backBuffer), m_caps(caps)
{
    glGenSamplers(static_cast<GLsizei>(m_samplers.size()), m_samplers.data());
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, GL_LOWER_LEFT);
    glDisable(GL_DITHER);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (context.HasProvokingVertex())
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
}

CD3D8Renderer::~CD3D8Renderer()
{
    glDeleteSamplers(static_cast<GLsizei>(m_samplers.size()), m_samplers.data());
}

const CD3D8Program* CD3D8Renderer::Program(const CD3D8State& state, DWORD fvf, bool points,
                                           const CD3D8PixelShader* shader)
{
    CD3D8VertexLayout layout(fvf);
    CD3D8FragmentKey fragment;
    Fog(state, layout.transformed, fragment.fog, fragment.fogFormula);
    fragment.alphaFunc = state.Render(D3DRS_ALPHATESTENABLE) ? state.Render(D3DRS_ALPHAFUNC) : D3DCMP_ALWAYS;
    fragment.sprite = points && state.Render(D3DRS_POINTSPRITEENABLE);
    CD3D8CombinerKey combiner;
    std::string key;
    UINT stages = 6;
    if (shader) {
        key = "p" + std::to_string(state.pixelShader) + "|";
    } else {
        combiner = CombinerKey(state);
        key = combiner.Text() + "|";
        stages = static_cast<UINT>(combiner.stages.size());
    }
    CD3D8VertexKey vertex = VertexKey(state, layout, points, stages);
    key += fragment.Text() + "|" + vertex.Text();
    if (const CD3D8Program* found = m_programs.Find(key))
        return found;
    DWORD samplers = shader ? shader->code.samplers : 0;
    std::string body = shader ? shader->code.body : D3D8CombinerBody(combiner, samplers);
    return m_programs.Add(key, D3D8VertexSource(vertex), D3D8FragmentSource(body, samplers, fragment), samplers);
}

void CD3D8Renderer::BindTextures(const CD3D8State& state, const CD3D8Program& program)
{
    DWORD samplers = program.samplers;
    for (DWORD s = 0; s < D3D8_TEXTURE_STAGES; ++s) {
        if (!(samplers & (1u << s)))
            continue;
        auto* texture = static_cast<CD3D8Texture*>(state.textures[s]);
        GLuint sampler = m_samplers[s];
        glActiveTexture(GL_TEXTURE0 + s);
        glBindTexture(GL_TEXTURE_2D, texture ? texture->Name() : 0);
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, Address(state.Stage(s, D3DTSS_ADDRESSU)));
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, Address(state.Stage(s, D3DTSS_ADDRESSV)));
        D3DCOLOR border = state.Stage(s, D3DTSS_BORDERCOLOR);
        float color[4] = {static_cast<float>((border >> 16) & 0xFF) / 255.0f, static_cast<float>((border >> 8) & 0xFF) / 255.0f,
                          static_cast<float>(border & 0xFF) / 255.0f, static_cast<float>(border >> 24) / 255.0f};
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, color);
        DWORD magnify = state.Stage(s, D3DTSS_MAGFILTER);
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                            magnify == D3DTEXF_NONE || magnify == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR);
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                            MinFilter(state.Stage(s, D3DTSS_MINFILTER), state.Stage(s, D3DTSS_MIPFILTER)));
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, D3D8BitsFloat(state.Stage(s, D3DTSS_MIPMAPLODBIAS)));
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(state.Stage(s, D3DTSS_MAXMIPLEVEL)));
        glBindSampler(s, sampler);
        glUniform1i(program.Location(static_cast<ED3D8Uniform>(static_cast<size_t>(ED3D8Uniform::Sampler0) + s)),
                    static_cast<GLint>(s));
    }
    glActiveTexture(GL_TEXTURE0);
}

void CD3D8Renderer::BindVertices(DWORD fvf, const BYTE* vertices, UINT stride)
{
    CD3D8VertexLayout layout(fvf);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    for (GLuint i = 0; i < kD3D8AttributeCount; ++i)
        glDisableVertexAttribArray(i);
    GLsizei step = static_cast<GLsizei>(stride);
    auto attribute = [&](GLuint index, GLint size, GLenum type, GLboolean normalized, UINT offset) {
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, size, type, normalized, step, vertices + offset);
    };
    attribute(kD3D8AttributePosition, layout.transformed ? 4 : 3, GL_FLOAT, GL_FALSE, 0);
    if (layout.normal != CD3D8VertexLayout::kAbsent)
        attribute(kD3D8AttributeNormal, 3, GL_FLOAT, GL_FALSE, layout.normal);
    if (layout.diffuse != CD3D8VertexLayout::kAbsent)
        attribute(kD3D8AttributeDiffuse, 4, GL_UNSIGNED_BYTE, GL_TRUE, layout.diffuse);
    if (layout.specular != CD3D8VertexLayout::kAbsent)
        attribute(kD3D8AttributeSpecular, 4, GL_UNSIGNED_BYTE, GL_TRUE, layout.specular);
    if (layout.pointSize != CD3D8VertexLayout::kAbsent)
        attribute(kD3D8AttributePointSize, 1, GL_FLOAT, GL_FALSE, layout.pointSize);
    for (UINT set = 0; set < layout.texSets; ++set)
        attribute(kD3D8AttributeTexture0 + set, static_cast<GLint>(layout.texComponents[set]), GL_FLOAT, GL_FALSE,
                  layout.texOffsets[set]);
}

HRESULT CD3D8Renderer::Draw(const CD3D8State& state, const CD3D8DrawSource& source, const CD3D8PixelShader* shader)
{
    if (!m_context.MakeCurrent())
        return D3DERR_INVALIDCALL;
    m_backBuffer.Bind();
    bool points = source.type == D3DPT_POINTLIST;
    const CD3D8Program* program = Program(state, state.vertexShader, points, shader);
    if (!program)
        return D3DERR_DRIVERINTERNALERROR;
    glUseProgram(program->name);
    D3D8LoadUniforms(*program, state, m_caps, m_backBuffer.Width(), m_backBuffer.Height());
    CD3D8VertexLayout layout(state.vertexShader);
    D3D8ApplyRasterState(state, m_backBuffer, layout.transformed, points && state.Render(D3DRS_POINTSPRITEENABLE));
    BindTextures(state, *program);
    BindVertices(state.vertexShader, source.vertices, source.stride);
    GLenum mode = Mode(source.type);
    if (source.indices) {
        GLsizei count = static_cast<GLsizei>(D3D8VertexCount(source.type, source.primitiveCount));
        glDrawElements(mode, count, source.indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, source.indices);
    } else {
        glDrawArrays(mode, 0, static_cast<GLsizei>(source.vertexCount));
    }
    return D3D_OK;
}

void CD3D8Renderer::Clear(const CD3D8State& state, DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color,
                          float z, DWORD stencil)
{
    if (!m_context.MakeCurrent())
        return;
    m_backBuffer.Bind();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        mask |= GL_COLOR_BUFFER_BIT;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>(color >> 24) / 255.0f);
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        mask |= GL_DEPTH_BUFFER_BIT;
        glDepthMask(GL_TRUE);
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
    }
    if (flags & D3DCLEAR_STENCIL) {
        mask |= GL_STENCIL_BUFFER_BIT;
        glStencilMask(0xFFFFFFFF);
        glClearStencil(static_cast<GLint>(stencil & 0xFF));
    }
    const D3DVIEWPORT8& viewport = state.viewport;
    RECT area{static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y), static_cast<LONG>(viewport.X + viewport.Width),
              static_cast<LONG>(viewport.Y + viewport.Height)};
    glEnable(GL_SCISSOR_TEST);
    if (count == 0 || !rects) {
        D3D8Scissor(area);
        glClear(mask);
        return;
    }
    for (DWORD i = 0; i < count; ++i) {
        RECT cut{std::max(area.left, rects[i].x1), std::max(area.top, rects[i].y1), std::min(area.right, rects[i].x2),
                 std::min(area.bottom, rects[i].y2)};
        if (cut.left >= cut.right || cut.top >= cut.bottom)
            continue;
        D3D8Scissor(cut);
        glClear(mask);
    }
}

void CD3D8Renderer::ForgetPixelShader(DWORD handle)
{
    if (m_context.MakeCurrent())
        m_programs.Forget("p" + std::to_string(handle) + "|");
}
