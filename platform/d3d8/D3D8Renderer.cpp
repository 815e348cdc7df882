#include "platform/d3d8/D3D8Renderer.h"

#include <algorithm>

#include "platform/d3d8/D3D8FixedFunction.h"
#include "platform/d3d8/D3D8RasterState.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Uniforms.h"
#include "platform/d3d8/D3D8VertexLayout.h"

namespace {

constexpr UINT kNoCoordinates = 0xFF;      // a stage reads a coordinate set the vertices lack
constexpr DWORD kUnknownOperation = 0xFF;  // any operation this layer does not know

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

// Every value past the known formulas draws alike.
DWORD FogFormula(DWORD mode)
{
    return std::min<DWORD>(mode, D3DFOG_LINEAR + 1);
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
        formula = FogFormula(table);
    } else {
        fog = ED3D8Fog::VertexFactor;
        formula = transformed ? D3DFOG_NONE : FogFormula(vertex);
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
    for (UINT stage = 0; stage < stages; ++stage) {
        UINT set = state.Stage(stage, D3DTSS_TEXCOORDINDEX) & 0xFFFF;
        key.texCoordIndex[stage] = set < layout.texSets ? set : kNoCoordinates;
    }
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

// Operations past the known ones draw alike, and arguments keep only the bits that select.
DWORD Operation(DWORD op)
{
    return op >= D3DTOP_DISABLE && op <= D3DTOP_LERP ? op : kUnknownOperation;
}

DWORD Argument(DWORD arg)
{
    return arg & (D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE);
}

CD3D8CombinerKey CombinerKey(const CD3D8State& state)
{
    CD3D8CombinerKey key;
    for (DWORD s = 0; s < D3D8_TEXTURE_STAGES; ++s) {
        CD3D8StageKey& stage = key.stages[key.count];
        stage.colorOp = Operation(state.Stage(s, D3DTSS_COLOROP));
        if (stage.colorOp == D3DTOP_DISABLE)
            break;
        stage.colorArgs = {Argument(state.Stage(s, D3DTSS_COLORARG0)), Argument(state.Stage(s, D3DTSS_COLORARG1)),
                           Argument(state.Stage(s, D3DTSS_COLORARG2))};
        stage.alphaOp = Operation(state.Stage(s, D3DTSS_ALPHAOP));
        stage.alphaArgs = {Argument(state.Stage(s, D3DTSS_ALPHAARG0)), Argument(state.Stage(s, D3DTSS_ALPHAARG1)),
                           Argument(state.Stage(s, D3DTSS_ALPHAARG2))};
        stage.toTemp = (state.Stage(s, D3DTSS_RESULTARG) & D3DTA_SELECTMASK) == D3DTA_TEMP;
        stage.texture = state.textures[s] != nullptr;
        ++key.count;
    }
    key.specularAdd = state.Render(D3DRS_SPECULARENABLE) != 0;
    return key;
}

CD3D8FragmentKey FragmentKey(const CD3D8State& state, const CD3D8VertexLayout& layout, bool points)
{
    CD3D8FragmentKey key;
    Fog(state, layout.transformed, key.fog, key.fogFormula);
    DWORD func = state.Render(D3DRS_ALPHAFUNC);
    bool known = func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS;
    key.alphaFunc = state.Render(D3DRS_ALPHATESTENABLE) && known ? func : D3DCMP_ALWAYS;
    key.sprite = points && state.Render(D3DRS_POINTSPRITEENABLE);
    return key;
}

// Bit s: a texture is set on stage s.
DWORD TextureMask(const CD3D8State& state)
{
    DWORD mask = 0;
    for (DWORD s = 0; s < D3D8_TEXTURE_STAGES; ++s) {
        if (state.textures[s])
            mask |= 1u << s;
    }
    return mask;
}

CD3D8SamplerSetting Sampling(const CD3D8State& state, DWORD s)
{
    CD3D8SamplerSetting setting;
    setting.wrapS = Address(state.Stage(s, D3DTSS_ADDRESSU));
    setting.wrapT = Address(state.Stage(s, D3DTSS_ADDRESSV));
    DWORD magnify = state.Stage(s, D3DTSS_MAGFILTER);
    setting.magnify = magnify == D3DTEXF_NONE || magnify == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR;
    setting.minify = MinFilter(state.Stage(s, D3DTSS_MINFILTER), state.Stage(s, D3DTSS_MIPFILTER));
    D3DCOLOR border = state.Stage(s, D3DTSS_BORDERCOLOR);
    setting.border = {D3D8FloatBits(static_cast<float>((border >> 16) & 0xFF) / 255.0f),
                      D3D8FloatBits(static_cast<float>((border >> 8) & 0xFF) / 255.0f),
                      D3D8FloatBits(static_cast<float>(border & 0xFF) / 255.0f),
                      D3D8FloatBits(static_cast<float>(border >> 24) / 255.0f)};
    setting.lodBias = state.Stage(s, D3DTSS_MIPMAPLODBIAS);
    setting.minLod = D3D8FloatBits(static_cast<float>(state.Stage(s, D3DTSS_MAXMIPLEVEL)));
    return setting;
}

} // namespace

CD3D8Renderer::CD3D8Renderer(CD3D8GLContext& context, CD3D8GLState& gl, CD3D8BackBuffer& backBuffer,
                             const D3DCAPS8& caps)
    : m_context(context), m_gl(gl), m_backBuffer(backBuffer), m_caps(caps)
{
    glGenSamplers(static_cast<GLsizei>(m_samplers.size()), m_samplers.data());
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    glDisable(GL_DITHER);
    glCullFace(GL_BACK);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (context.HasProvokingVertex())
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
}

CD3D8Renderer::~CD3D8Renderer()
{
    glDeleteSamplers(static_cast<GLsizei>(m_samplers.size()), m_samplers.data());
    m_gl.Forget();
}

CD3D8Program* CD3D8Renderer::Program(const CD3D8State& state, bool points, const CD3D8PixelShader* shader)
{
    DWORD textures = TextureMask(state);
    uint64_t serial = state.Serial(kD3D8ChangeProgram);
    if (m_program && serial == m_programSerial && points == m_programPoints && textures == m_programTextures)
        return m_program;
    CD3D8FragmentKey fragment = FragmentKey(state, state.layout, points);
    CD3D8CombinerKey combiner;
    UINT stages = 6;
    if (!shader) {
        combiner = CombinerKey(state);
        stages = combiner.count;
    }
    CD3D8VertexKey vertex = VertexKey(state, state.layout, points, stages);
    CD3D8ProgramKey key = D3D8ProgramKey(shader ? state.pixelShader : 0, vertex, fragment, combiner);
    if (!m_program || !(key == m_programKey)) {
        CD3D8Program* found = m_programs.Find(key);
        m_program = found ? found : Make(key, vertex, fragment, combiner, shader);
        m_programKey = key;
    }
    m_programSerial = serial;
    m_programPoints = points;
    m_programTextures = textures;
    return m_program;
}

CD3D8Program* CD3D8Renderer::Make(const CD3D8ProgramKey& key, const CD3D8VertexKey& vertex,
                                  const CD3D8FragmentKey& fragment, const CD3D8CombinerKey& combiner,
                                  const CD3D8PixelShader* shader)
{
    DWORD samplers = shader ? shader->code.samplers : 0;
    std::string body = shader ? shader->code.body : D3D8CombinerBody(combiner, samplers);
    CD3D8Program* made = m_programs.Add(key, D3D8VertexSource(vertex), D3D8FragmentSource(body, samplers, fragment),
                                        samplers);
    if (!made)
        return nullptr;
    m_gl.UseProgram(made->name);
    for (GLint s = 0; s < static_cast<GLint>(D3D8_TEXTURE_STAGES); ++s) {
        GLint location = made->Location(static_cast<ED3D8Uniform>(static_cast<size_t>(ED3D8Uniform::Sampler0) + s));
        if (location >= 0)
            glUniform1i(location, s);
    }
    return made;
}

void CD3D8Renderer::BindTextures(const CD3D8State& state, const CD3D8Program& program)
{
    for (DWORD s = 0; s < D3D8_TEXTURE_STAGES; ++s) {
        if (!(program.samplers & (1u << s)))
            continue;
        auto* texture = static_cast<CD3D8Texture*>(state.textures[s]);
        if (texture)
            texture->Bind(m_gl, s);
        else
            m_gl.BindTexture(s, 0);
        m_gl.BindSampler(s, m_samplers[s], Sampling(state, s));
    }
}

void CD3D8Renderer::BindVertices(const CD3D8State& state, const BYTE* vertices, UINT stride)
{
    const CD3D8VertexLayout& layout = state.layout;
    if (!m_gl.SetVertexStream(state.vertexShader, vertices, stride))
        return;
    uint32_t enabled = 1u << kD3D8AttributePosition;
    if (layout.normal != CD3D8VertexLayout::kAbsent)
        enabled |= 1u << kD3D8AttributeNormal;
    if (layout.diffuse != CD3D8VertexLayout::kAbsent)
        enabled |= 1u << kD3D8AttributeDiffuse;
    if (layout.specular != CD3D8VertexLayout::kAbsent)
        enabled |= 1u << kD3D8AttributeSpecular;
    if (layout.pointSize != CD3D8VertexLayout::kAbsent)
        enabled |= 1u << kD3D8AttributePointSize;
    for (UINT set = 0; set < layout.texSets; ++set)
        enabled |= 1u << (kD3D8AttributeTexture0 + set);
    m_gl.EnableAttributes(enabled);
    GLsizei step = static_cast<GLsizei>(stride);
    auto attribute = [&](GLuint index, GLint size, GLenum type, GLboolean normalized, UINT offset) {
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
    CD3D8Program* program = Program(state, points, shader);
    if (!program)
        return D3DERR_DRIVERINTERNALERROR;
    m_gl.UseProgram(program->name);
    D3D8LoadUniforms(*program, state, m_caps, m_backBuffer.Width(), m_backBuffer.Height());
    m_gl.SetRaster(D3D8Raster(state, m_backBuffer, state.layout.transformed,
                              points && state.Render(D3DRS_POINTSPRITEENABLE)));
    BindTextures(state, *program);
    BindVertices(state, source.vertices, source.stride);
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
    const D3DVIEWPORT8& viewport = state.viewport;
    RECT area{static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y), static_cast<LONG>(viewport.X + viewport.Width),
              static_cast<LONG>(viewport.Y + viewport.Height)};
    GLbitfield mask = (flags & D3DCLEAR_TARGET ? GL_COLOR_BUFFER_BIT : 0) |
                      (flags & D3DCLEAR_ZBUFFER ? GL_DEPTH_BUFFER_BIT : 0) |
                      (flags & D3DCLEAR_STENCIL ? GL_STENCIL_BUFFER_BIT : 0);
    bool whole = (count == 0 || !rects) && area.left == 0 && area.top == 0 &&
                 static_cast<UINT>(area.right) == m_backBuffer.Width() &&
                 static_cast<UINT>(area.bottom) == m_backBuffer.Height();
    if (whole)
        m_backBuffer.Cleared(mask);
    m_backBuffer.Bind();
    if (flags & D3DCLEAR_TARGET) {
        m_gl.SetColorMask(0xF);
        m_gl.SetClearColor({static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                            static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>(color >> 24) / 255.0f});
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        m_gl.SetDepthMask(GL_TRUE);
        m_gl.SetClearDepth(std::clamp(z, 0.0f, 1.0f));
    }
    if (flags & D3DCLEAR_STENCIL) {
        m_gl.SetStencilWriteMask(0xFFFFFFFF);
        m_gl.SetClearStencil(static_cast<GLint>(stencil & 0xFF));
    }
    m_gl.SetScissorTest(true);
    if (count == 0 || !rects) {
        m_gl.SetScissor(m_backBuffer.Box(area));
        glClear(mask);
        return;
    }
    for (DWORD i = 0; i < count; ++i) {
        RECT cut{std::max(area.left, rects[i].x1), std::max(area.top, rects[i].y1), std::min(area.right, rects[i].x2),
                 std::min(area.bottom, rects[i].y2)};
        if (cut.left >= cut.right || cut.top >= cut.bottom)
            continue;
        m_gl.SetScissor(m_backBuffer.Box(cut));
        glClear(mask);
    }
}

void CD3D8Renderer::ForgetPixelShader(DWORD handle)
{
    if (!m_context.MakeCurrent())
        return;
    m_programs.Forget(handle);
    m_gl.ProgramsDeleted();
    m_program = nullptr;
}
