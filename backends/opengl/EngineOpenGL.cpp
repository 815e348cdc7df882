#include "backends/opengl/EngineOpenGL.h"

#include <GL/glew.h>

#include <new>

#include "backends/opengl/CameraOpenGL.h"
#include "backends/opengl/OpenGLHelpers.h"
#include "core/Log.h"
#include "base/WideFormat.h"
#include "core/WorldData.h"
#include "platform/win32/GLContext.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr const char16_t* kLongName = u"OpenGL 1.2";
constexpr WORD kDevModeSize = 212;

const char* GLText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

} // namespace

C3DEngineOpenGL::C3DEngineOpenGL(CWorldData* data) : C3DEngine(data)
{
    m_pWorldData->rendererState = &m_state;
}

C3DEngineOpenGL::~C3DEngineOpenGL()
{
    delete m_pCamera;
    m_pCamera = nullptr;
    if (m_pWorldData->rendererState == &m_state)
        m_pWorldData->rendererState = nullptr;
}

Result C3DEngineOpenGL::Load(WindowHandle window)
{
    CWorldData* d = m_pWorldData;
    if (Failed(Init(window, d->configuredWidth, d->configuredHeight, d->fullscreen, d->colorDepth, 0)))
        return RES_FAIL;
    if (Failed(MakeContext())) {
        ReportNoContext();
        return RES_NO_DEVICE;
    }
    const Result camera = MakeCamera();
    if (Failed(camera))
        return camera;
    LogPrintf(d->logPath, 0, u"# OpenGL implementation (%S)\n", GLText(GL_VERSION));
    ReadDriverFlags();
    SetFixedState();
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    d->maxTextureWidth = static_cast<uint32_t>(largest);
    d->maxTextureHeight = static_cast<uint32_t>(largest);
    return Failed(C3DEngine::Load(window)) ? RES_FAIL : RES_OK;
}

// GLEW is initialised once, for this context, right after it is made current.
Result C3DEngineOpenGL::MakeContext()
{
    m_state.context = wglCreateContext(m_state.dc);
    if (!m_state.context || !wglMakeCurrent(m_state.dc, m_state.context))
        return RES_FAIL;
    if (glewInit() != GLEW_OK)
        return RES_FAIL;
    m_state.glewReady = 1;
    return RES_OK;
}

void C3DEngineOpenGL::ReportNoContext()
{
    CWorldData* d = m_pWorldData;
    const CModuleDescriptor* module = d->chosenModules[kModule3D].descriptor;
    const char16_t* name = (module && module->longName) ? module->longName : kLongName;
    WFormat(d->errorDetail, kMaxPathUnits, u"No compatible %s was found", name);
    LogPrintf(d->logPath, 0, u"# C3DEngineDX81::Load failed! %s\n", d->errorDetail);
    d->lastError = RES_NO_DEVICE;
}

Result C3DEngineOpenGL::MakeCamera()
{
    delete m_pCamera;
    m_pCamera = new (std::nothrow) C3DCameraOpenGL(m_pWorldData);
    if (!m_pCamera) {
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    return Failed(m_pCamera->Init()) ? RES_FAIL : RES_OK;
}

// The flags come from the driver's texts; an entry point GLEW did not find leaves its flag off.
void C3DEngineOpenGL::ReadDriverFlags()
{
    const bool pointParameters = glPointParameterf && glPointParameterfv;
    m_state.version14 = (IsVersionAtLeast14(GLText(GL_VERSION)) && pointParameters) ? 1 : 0;
    const bool multitexture = glActiveTextureARB && glMultiTexCoord2fARB;
    m_state.multitexture = (ExtensionTextHas(GLText(GL_EXTENSIONS), "GL_ARB_multitexture") && multitexture) ? 1 : 0;
}

void C3DEngineOpenGL::SetFixedState()
{
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glHint(GL_FOG_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_POINT_SMOOTH);
    glTexEnvf(GL_POINT_SPRITE, GL_COORD_REPLACE, 1.0f);
}

Result C3DEngineOpenGL::Unload()
{
    Result result = Failed(C3DEngine::Unload()) ? RES_FAIL : RES_OK;
    if (Failed(Uninit(0)))
        result = RES_FAIL;
    if (m_state.context) {
        if (!wglDeleteContext(m_state.context))
            result = RES_FAIL;
        m_state.context = nullptr;
        m_state.glewReady = 0;
    }
    if (m_state.palette) {
        DeleteObject(m_state.palette);
        m_state.palette = nullptr;
    }
    return result;
}

Result C3DEngineOpenGL::Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen,
                             uint8_t colorBits, uint8_t restore)
{
    CWorldData* d = m_pWorldData;
    m_state.window = static_cast<HWND>(window);
    if (!window) {
        d->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    if (fullscreen) {
        DEVMODEW mode{};
        mode.dmSize = kDevModeSize;
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        mode.dmBitsPerPel = colorBits;
        if (ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
            fullscreen = 0;
    }
    if (Failed(SetupPixelFormat()))
        return RES_FAIL;
    m_state.dc = GetDC(m_state.window);
    if (!m_state.dc) {
        d->lastError = RES_NO_DEVICE;
        return RES_NO_DEVICE;
    }
    if (m_state.context && !wglMakeCurrent(m_state.dc, m_state.context)) {
        d->lastError = RES_NO_DEVICE;
        return RES_NO_DEVICE;
    }
    return Failed(C3DEngine::Init(window, width, height, fullscreen, colorBits, restore)) ? RES_FAIL : RES_OK;
}

Result C3DEngineOpenGL::Uninit(uint8_t release)
{
    if (Failed(C3DEngine::Uninit(release)))
        return RES_FAIL;
    if (m_pWorldData->fullscreen)
        ChangeDisplaySettingsW(nullptr, 0);
    if (!wglMakeCurrent(nullptr, nullptr))
        return RES_FAIL;
    if (m_state.dc) {
        ReleaseDC(m_state.window, m_state.dc);
        m_state.dc = nullptr;
    }
    return RES_OK;
}

const char* C3DEngineOpenGL::GetDriverVersion() const
{
    return GLGetVersionString();
}

Result C3DEngineOpenGL::BeginFrame()
{
    Clear();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m_pWorldData->matrices[kMatrixView].m);
    if (m_pCamera)
        IgnoreResult(m_pCamera->ApplyProjection());
    IgnoreResult(FogingInit());
    IgnoreResult(LightingInit(0xFFFFFFFFu));
    return RES_OK;
}

Result C3DEngineOpenGL::EndFrame()
{
    SwapBuffers(m_state.dc);
    return RES_OK;
}

void C3DEngineOpenGL::Clear()
{
    float colour[4];
    ArgbToFloats(m_pWorldData->clearColor, colour);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glClearColor(colour[0], colour[1], colour[2], colour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
