#include "platform/win32/WindowSurface.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>

namespace {

// The framebuffer-object calls, newer than the system's GL library promises.
struct CFramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

    bool Complete() const
    {
        return genFramebuffers && bindFramebuffer && framebufferRenderbuffer && checkFramebufferStatus &&
               genRenderbuffers && bindRenderbuffer && renderbufferStorage && blitFramebuffer;
    }
};

template <typename Call>
void Load(Call& call, const char* name)
{
    call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
}

const CFramebufferCalls& Calls()
{
    static CFramebufferCalls calls = [] {
        CFramebufferCalls loaded;
        Load(loaded.genFramebuffers, "glGenFramebuffers");
        Load(loaded.bindFramebuffer, "glBindFramebuffer");
        Load(loaded.framebufferRenderbuffer, "glFramebufferRenderbuffer");
        Load(loaded.checkFramebufferStatus, "glCheckFramebufferStatus");
        Load(loaded.genRenderbuffers, "glGenRenderbuffers");
        Load(loaded.bindRenderbuffer, "glBindRenderbuffer");
        Load(loaded.renderbufferStorage, "glRenderbufferStorage");
        Load(loaded.blitFramebuffer, "glBlitFramebuffer");
        return loaded;
    }();
    return calls;
}

GLuint Binding(GLenum which)
{
    GLint name = 0;
    glGetIntegerv(which, &name);
    return static_cast<GLuint>(name);
}

// The state Show changes, put back as it was.
class CShowState {
public:
    CShowState()
    {
        m_draw = Binding(GL_DRAW_FRAMEBUFFER_BINDING);
        m_read = Binding(GL_READ_FRAMEBUFFER_BINDING);
        m_scissorTest = glIsEnabled(GL_SCISSOR_TEST);
        glGetIntegerv(GL_SCISSOR_BOX, m_scissorBox);
        glGetBooleanv(GL_COLOR_WRITEMASK, m_colorMask);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, m_clearColor);
    }
    ~CShowState()
    {
        Calls().bindFramebuffer(GL_DRAW_FRAMEBUFFER, m_draw);
        Calls().bindFramebuffer(GL_READ_FRAMEBUFFER, m_read);
        if (m_scissorTest)
            glEnable(GL_SCISSOR_TEST);
        else
            glDisable(GL_SCISSOR_TEST);
        glScissor(m_scissorBox[0], m_scissorBox[1], m_scissorBox[2], m_scissorBox[3]);
        glColorMask(m_colorMask[0], m_colorMask[1], m_colorMask[2], m_colorMask[3]);
        glClearColor(m_clearColor[0], m_clearColor[1], m_clearColor[2], m_clearColor[3]);
    }
    CShowState(const CShowState&) = delete;
    CShowState& operator=(const CShowState&) = delete;

private:
    GLuint m_draw = 0;
    GLuint m_read = 0;
    GLboolean m_scissorTest = GL_FALSE;
    GLint m_scissorBox[4] = {};
    GLboolean m_colorMask[4] = {};
    GLfloat m_clearColor[4] = {};
};

// Clears a rectangle of the bound framebuffer (counted from the top of a target of that height).
void ClearBar(LONG left, LONG top, LONG right, LONG bottom, int targetHeight)
{
    if (right <= left || bottom <= top)
        return;
    glScissor(left, targetHeight - bottom, right - left, bottom - top);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

unsigned int CWindowSurface::ColorBuffer() const
{
    return m_inUse ? GL_COLOR_ATTACHMENT0 : GL_BACK;
}

bool CWindowSurface::Allocate(int width, int height)
{
    const CFramebufferCalls& gl = Calls();
    if (m_framebuffer && width == m_width && height == m_height)
        return true;
    if (!m_framebuffer) {
        gl.genFramebuffers(1, &m_framebuffer);
        gl.genRenderbuffers(1, &m_color);
        gl.genRenderbuffers(1, &m_depthStencil);
    }
    GLuint renderbuffer = Binding(GL_RENDERBUFFER_BINDING);
    gl.bindRenderbuffer(GL_RENDERBUFFER, m_color);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, m_depthStencil);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    GLuint drawn = Binding(GL_DRAW_FRAMEBUFFER_BINDING);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, m_framebuffer);
    gl.framebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_color);
    gl.framebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_depthStencil);
    bool complete = gl.checkFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, drawn);
    m_width = width;
    m_height = height;
    if (!complete)
        fprintf(stderr, "# The scaled image of %d x %d cannot be made: the window shows it unscaled\n", width, height);
    return complete;
}

void CWindowSurface::Follow(const CScreenScaling& scaling)
{
    bool wanted = !scaling.Identity() && scaling.clientWidth > 0 && scaling.clientHeight > 0 && Calls().Complete();
    GLuint before = Framebuffer();
    GLuint drawn = Binding(GL_DRAW_FRAMEBUFFER_BINDING);
    GLuint read = Binding(GL_READ_FRAMEBUFFER_BINDING);
    m_inUse = wanted && Allocate(scaling.clientWidth, scaling.clientHeight);
    GLuint after = Framebuffer();
    if (before == after)
        return;
    if (drawn == before)
        Calls().bindFramebuffer(GL_DRAW_FRAMEBUFFER, after);
    if (read == before)
        Calls().bindFramebuffer(GL_READ_FRAMEBUFFER, after);
}

void CWindowSurface::Show(const CScreenScaling& scaling) const
{
    if (!m_inUse)
        return;
    const CFramebufferCalls& gl = Calls();
    CShowState kept;
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    const RECT shown = scaling.Shown();
    const int width = scaling.displayWidth;
    const int height = scaling.displayHeight;
    ClearBar(0, 0, shown.left, height, height);
    ClearBar(shown.right, 0, width, height, height);
    ClearBar(shown.left, 0, shown.right, shown.top, height);
    ClearBar(shown.left, shown.bottom, shown.right, height, height);
    glDisable(GL_SCISSOR_TEST);
    gl.blitFramebuffer(0, 0, m_width, m_height, shown.left, height - shown.bottom, shown.right, height - shown.top,
                       GL_COLOR_BUFFER_BIT, GL_LINEAR);
}

void CWindowSurface::Forget()
{
    m_framebuffer = m_color = m_depthStencil = 0;
    m_width = m_height = 0;
    m_inUse = false;
}
