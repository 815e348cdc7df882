#include "platform/d3d8/D3D8BackBuffer.h"

#include <algorithm>

#include "platform/win32/GLContext.h"

namespace {

const char* const kGammaVertex =
    "#version 120\n"
    "void main() {\n"
    "    gl_Position = gl_Vertex;\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";

const char* const kGammaFragment =
    "#version 120\n"
    "uniform sampler2D uImage;\n"
    "uniform sampler2D uRamp;\n"
    "float Through(float value, int channel) {\n"
    "    vec4 entry = texture2D(uRamp, vec2((floor(value * 255.0 + 0.5) + 0.5) / 256.0, 0.5));\n"
    "    return channel == 0 ? entry.r : (channel == 1 ? entry.g : entry.b);\n"
    "}\n"
    "void main() {\n"
    "    vec4 color = texture2D(uImage, gl_TexCoord[0].xy);\n"
    "    gl_FragColor = vec4(Through(color.r, 0), Through(color.g, 1), Through(color.b, 2), 1.0);\n"
    "}\n";

GLenum ColorFormat(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return GL_RGBA8;
    case D3DFMT_R5G6B5:
        return GLEW_ARB_ES2_compatibility ? GL_RGB565 : GL_RGB8;
    case D3DFMT_X1R5G5B5:
        return GL_RGB5;
    case D3DFMT_A1R5G5B5:
        return GL_RGB5_A1;
    default:
        return GL_RGB8;
    }
}

GLuint CompileStage(GLenum kind, const char* source)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The window's default framebuffer can stand for a buffer of the format: eight bits a colour
// channel (and alpha when the format has it), and the depth and stencil bits when asked for.
bool WindowHolds(D3DFORMAT format, bool depthStencil)
{
    if (!(GLEW_VERSION_4_5 || GLEW_ARB_clip_control) || (format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8))
        return false;
    GLint red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    return red == 8 && green == 8 && blue == 8 && (format != D3DFMT_A8R8G8B8 || alpha == 8) &&
           (!depthStencil || (depth == 24 && stencil == 8));
}

void ReverseRows(std::vector<D3DCOLOR>& pixels, size_t width, size_t height)
{
    for (size_t top = 0, bottom = height; top + 1 < bottom; ++top) {
        --bottom;
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(top * width),
                         pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * width),
                         pixels.begin() + static_cast<std::ptrdiff_t>(bottom * width));
    }
}

} // namespace

CD3D8BackBuffer::~CD3D8BackBuffer()
{
    Release();
    if (m_rampTexture)
        glDeleteTextures(1, &m_rampTexture);
    if (m_gammaProgram)
        glDeleteProgram(m_gammaProgram);
}

void CD3D8BackBuffer::Release()
{
    m_gl.Forget();
    if (m_framebuffer)
        glDeleteFramebuffers(1, &m_framebuffer);
    if (m_color)
        glDeleteTextures(1, &m_color);
    if (m_depthStencil)
        glDeleteRenderbuffers(1, &m_depthStencil);
    m_framebuffer = m_color = m_depthStencil = 0;
    m_uncleared = 0;
}

HRESULT CD3D8BackBuffer::Create(UINT width, UINT height, D3DFORMAT format, bool depthStencil, UINT windowWidth,
                                UINT windowHeight)
{
    Release();
    m_width = width;
    m_height = height;
    m_format = format;
    m_hasDepthStencil = depthStencil;
    m_uncleared = GL_COLOR_BUFFER_BIT | (depthStencil ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0);
    m_gl.BindFramebuffer(GLWindowFramebuffer());
    m_onWindow = width == windowWidth && height == windowHeight && WindowHolds(format, depthStencil);
    if (GLEW_VERSION_4_5 || GLEW_ARB_clip_control)
        glClipControl(m_onWindow ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, m_onWindow ? GL_UPPER_LEFT : GL_LOWER_LEFT);
    if (m_onWindow)
        return D3D_OK;
    if (!MakeImage()) {
        Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (depthStencil) {
        glGenRenderbuffers(1, &m_depthStencil);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depthStencil);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width),
                              static_cast<GLsizei>(height));
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_depthStencil);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    return D3D_OK;
}

GLuint CD3D8BackBuffer::Target() const
{
    return m_onWindow ? GLWindowFramebuffer() : m_framebuffer;
}

void CD3D8BackBuffer::BindClampedTexture(GLuint& texture, GLint filter)
{
    if (!texture)
        glGenTextures(1, &texture);
    m_gl.BindTexture(0, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool CD3D8BackBuffer::MakeImage()
{
    if (m_framebuffer)
        return true;
    BindClampedTexture(m_color, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(ColorFormat(m_format)), static_cast<GLsizei>(m_width),
                 static_cast<GLsizei>(m_height), 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &m_framebuffer);
    m_gl.BindFramebuffer(m_framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_color, 0);
    if (m_onWindow && glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &m_framebuffer);
        m_framebuffer = 0;
    }
    m_gl.BindFramebuffer(Target());
    return m_framebuffer != 0;
}

std::array<GLint, 4> CD3D8BackBuffer::Box(const RECT& rect) const
{
    GLint y = m_onWindow ? static_cast<GLint>(m_height) - rect.bottom : rect.top;
    return {rect.left, y, rect.right - rect.left, rect.bottom - rect.top};
}

std::array<GLint, 2> CD3D8BackBuffer::ImageRows(const RECT& source) const
{
    if (m_onWindow)
        return {static_cast<GLint>(m_height) - source.top, static_cast<GLint>(m_height) - source.bottom};
    return {source.top, source.bottom};
}

void CD3D8BackBuffer::ClearFirst()
{
    if (!m_uncleared)
        return;
    m_gl.BindFramebuffer(Target());
    m_gl.SetScissorTest(false);
    m_gl.SetColorMask(0xF);
    m_gl.SetDepthMask(GL_TRUE);
    m_gl.SetStencilWriteMask(0xFFFFFFFF);
    m_gl.SetClearColor({0.0f, 0.0f, 0.0f, 1.0f});
    m_gl.SetClearDepth(1.0f);
    m_gl.SetClearStencil(0);
    glClear(m_uncleared);
    m_uncleared = 0;
}

void CD3D8BackBuffer::Bind()
{
    ClearFirst();
    m_gl.BindFramebuffer(Target());
}

void CD3D8BackBuffer::Read(const RECT& rect, std::vector<D3DCOLOR>& pixels)
{
    ClearFirst();
    GLsizei width = rect.right - rect.left;
    GLsizei height = rect.bottom - rect.top;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    m_gl.BindFramebuffer(Target());
    glReadBuffer(m_onWindow ? GLWindowColorBuffer() : GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    std::array<GLint, 4> box = Box(rect);
    glReadPixels(box[0], box[1], width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    if (m_onWindow)
        ReverseRows(pixels, static_cast<size_t>(width), static_cast<size_t>(height));
    if (m_format != D3DFMT_A8R8G8B8 && m_format != D3DFMT_A1R5G5B5) {
        for (D3DCOLOR& pixel : pixels)
            pixel |= 0xFF000000u;
    }
}

void CD3D8BackBuffer::Write(const RECT& rect, const std::vector<D3DCOLOR>& pixels)
{
    ClearFirst();
    if (!MakeImage())
        return;
    // On the window the rows go top first to the scratch image, then are turned over onto the window.
    RECT at = m_onWindow ? RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top} : rect;
    m_gl.BindTexture(0, m_color);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, at.left, at.top, at.right - at.left, at.bottom - at.top, GL_BGRA,
                    GL_UNSIGNED_BYTE, pixels.data());
    if (!m_onWindow)
        return;
    m_gl.SetScissorTest(false);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    GLint height = static_cast<GLint>(m_height);
    glBlitFramebuffer(0, 0, at.right, at.bottom, rect.left, height - rect.top, rect.right, height - rect.bottom,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, GLWindowFramebuffer());
}

void CD3D8BackBuffer::SetGammaRamp(const WORD* red, const WORD* green, const WORD* blue)
{
    m_identityRamp = true;
    std::vector<WORD> table(256 * 3);
    for (int i = 0; i < 256; ++i) {
        table[i * 3] = red[i];
        table[i * 3 + 1] = green[i];
        table[i * 3 + 2] = blue[i];
        if ((red[i] >> 8) != i || (green[i] >> 8) != i || (blue[i] >> 8) != i)
            m_identityRamp = false;
    }
    BindClampedTexture(m_rampTexture, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16, 256, 1, 0, GL_RGB, GL_UNSIGNED_SHORT, table.data());
}

bool CD3D8BackBuffer::MakeGammaProgram()
{
    if (m_gammaProgram)
        return true;
    GLuint vertex = CompileStage(GL_VERTEX_SHADER, kGammaVertex);
    GLuint fragment = CompileStage(GL_FRAGMENT_SHADER, kGammaFragment);
    if (vertex && fragment) {
        m_gammaProgram = glCreateProgram();
        glAttachShader(m_gammaProgram, vertex);
        glAttachShader(m_gammaProgram, fragment);
        glLinkProgram(m_gammaProgram);
        GLint linked = GL_FALSE;
        glGetProgramiv(m_gammaProgram, GL_LINK_STATUS, &linked);
        if (!linked) {
            glDeleteProgram(m_gammaProgram);
            m_gammaProgram = 0;
        }
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return m_gammaProgram != 0;
}

void CD3D8BackBuffer::Present(const RECT& source, const RECT& destination, UINT windowWidth, UINT windowHeight)
{
    ClearFirst();
    bool whole = source.left == 0 && source.top == 0 && static_cast<UINT>(source.right) == m_width &&
                 static_cast<UINT>(source.bottom) == m_height && destination.left == 0 && destination.top == 0 &&
                 static_cast<UINT>(destination.right) == windowWidth &&
                 static_cast<UINT>(destination.bottom) == windowHeight && windowWidth == m_width &&
                 windowHeight == m_height;
    if (m_onWindow && whole && m_identityRamp)
        return;
    if (!MakeImage())
        return;
    if (m_onWindow) {
        // The window's image goes to the scratch image first, as it is also the target.
        m_gl.BindFramebuffer(GLWindowFramebuffer());
        glReadBuffer(GLWindowColorBuffer());
        m_gl.BindTexture(0, m_color);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, static_cast<GLsizei>(m_width), static_cast<GLsizei>(m_height));
    }
    std::array<GLint, 2> rows = ImageRows(source);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLWindowFramebuffer());
    glDrawBuffer(GLWindowColorBuffer());
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (m_identityRamp || !MakeGammaProgram()) {
        bool sameSize = source.right - source.left == destination.right - destination.left &&
                        source.bottom - source.top == destination.bottom - destination.top;
        GLint target = static_cast<GLint>(windowHeight);
        glBlitFramebuffer(source.left, rows[0], source.right, rows[1], destination.left, target - destination.top,
                          destination.right, target - destination.bottom, GL_COLOR_BUFFER_BIT,
                          sameSize ? GL_NEAREST : GL_LINEAR);
    } else {
        PresentThroughRamp(rows, source, destination, windowHeight);
    }
    m_gl.Forget();
}

void CD3D8BackBuffer::PresentThroughRamp(const std::array<GLint, 2>& rows, const RECT& source, const RECT& destination,
                                         UINT windowHeight)
{
    if (m_onWindow)
        glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glViewport(destination.left, static_cast<GLint>(windowHeight) - destination.bottom,
               destination.right - destination.left, destination.bottom - destination.top);
    glUseProgram(m_gammaProgram);
    glUniform1i(glGetUniformLocation(m_gammaProgram, "uImage"), 0);
    glUniform1i(glGetUniformLocation(m_gammaProgram, "uRamp"), 1);
    glActiveTexture(GL_TEXTURE1);
    glBindSampler(1, 0);
    glBindTexture(GL_TEXTURE_2D, m_rampTexture);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, 0);
    glBindTexture(GL_TEXTURE_2D, m_color);
    float width = static_cast<float>(m_width);
    float height = static_cast<float>(m_height);
    float left = static_cast<float>(source.left) / width;
    float right = static_cast<float>(source.right) / width;
    float top = static_cast<float>(rows[0]) / height;
    float bottom = static_cast<float>(rows[1]) / height;
    glBegin(GL_QUADS);
    glTexCoord2f(left, bottom);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(right, bottom);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(right, top);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(left, top);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glUseProgram(0);
    if (m_onWindow)
        glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}
