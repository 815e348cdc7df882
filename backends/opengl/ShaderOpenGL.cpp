#include "backends/opengl/ShaderOpenGL.h"

#include <GL/glew.h>

#include <cstdint>

#include "backends/opengl/OpenGLState.h"
#include "core/Log.h"
#include "core/WorldData.h"
#include "engine3d/Texture.h"

namespace {

constexpr const char* kSamplerNames[3] = {"Texture0", "Texture1", "Texture2"};
constexpr GLsizei kInfoLogSize = 1024;

bool HasEntryPoints()
{
    return glCreateShaderObjectARB && glShaderSourceARB && glCompileShaderARB && glCreateProgramObjectARB &&
           glAttachObjectARB && glLinkProgramARB && glDetachObjectARB && glDeleteObjectARB &&
           glUseProgramObjectARB && glGetUniformLocationARB && glUniform1iARB && glGetObjectParameterivARB &&
           glGetInfoLogARB;
}

bool BuildSucceeded(GLhandleARB object, GLenum status)
{
    GLint done = 0;
    glGetObjectParameterivARB(object, status, &done);
    return done != 0;
}

} // namespace

bool HasShaderObjects(const CWorldData* data)
{
    const COpenGLState* state = OpenGLStateOf(data);
    return state && state->glewReady && GLEW_ARB_shader_objects && GLEW_ARB_fragment_shader && HasEntryPoints();
}

C3DShaderOpenGL::~C3DShaderOpenGL() { DeleteObjects(); }

void C3DShaderOpenGL::Apply(C3DShaderTarget* target, const void* value)
{
    if (m_programObject && target)
        IgnoreResult(target->SetShaderValue(0, 1, 0, value));
}

void C3DShaderOpenGL::Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2)
{
    if (!m_programObject)
        return;
    glUseProgramObjectARB(m_programObject);
    C3DTexture* textures[3] = {texture0, texture1, texture2};
    for (uint32_t stage = 3; stage-- > 0;) {
        if (textures[stage])
            textures[stage]->Apply(kShaderTextureFlags, stage);
    }
    for (GLint stage = 0; stage < 3; ++stage)
        glUniform1iARB(glGetUniformLocationARB(m_programObject, kSamplerNames[stage]), stage);
}

void C3DShaderOpenGL::Unbind()
{
    if (m_programObject)
        glUseProgramObjectARB(0);
}

Result C3DShaderOpenGL::Compile(const char* source, uint32_t length)
{
    if (!HasShaderObjects(m_pWorldData))
        return FailNoDevice("no shader objects in this context");
    if (length > INT32_MAX)
        return FailBuild(0, "source too long");
    m_shaderObject = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    if (!m_shaderObject)
        return FailNoDevice("no shader object made");
    const GLcharARB* text = source;
    const GLint textLength = static_cast<GLint>(length);
    glShaderSourceARB(m_shaderObject, 1, &text, &textLength);
    glCompileShaderARB(m_shaderObject);
    if (!BuildSucceeded(m_shaderObject, GL_OBJECT_COMPILE_STATUS_ARB))
        return FailBuild(m_shaderObject, "compile");
    m_programObject = glCreateProgramObjectARB();
    if (!m_programObject)
        return FailNoDevice("no program object made");
    glAttachObjectARB(m_programObject, m_shaderObject);
    glLinkProgramARB(m_programObject);
    if (!BuildSucceeded(m_programObject, GL_OBJECT_LINK_STATUS_ARB))
        return FailBuild(m_programObject, "link");
    return RES_OK;
}

Result C3DShaderOpenGL::ReleaseCompiled()
{
    DeleteObjects();
    return RES_OK;
}

Result C3DShaderOpenGL::FailNoDevice(const char* reason)
{
    DeleteObjects();
    m_pWorldData->lastError = RES_NO_DEVICE;
    LogPrintf(m_pWorldData->logPath, 0, u"# C3DShaderOpenGL::Load failed! \"%s\": %S\n",
              GetName() ? GetName() : u"", reason);
    return RES_NO_DEVICE;
}

// The driver's log of the failed step is kept in the log line, cut to a bounded length.
Result C3DShaderOpenGL::FailBuild(uint32_t object, const char* stage)
{
    char info[kInfoLogSize] = {};
    if (object) {
        GLsizei written = 0;
        glGetInfoLogARB(object, kInfoLogSize, &written, info);
    }
    LogPrintf(m_pWorldData->logPath, 0, u"# C3DShaderOpenGL::Load failed! \"%s\": %S %S\n",
              GetName() ? GetName() : u"", stage, info);
    DeleteObjects();
    return RES_FAIL;
}

// Objects are only deleted while the context that made them can still be reached.
void C3DShaderOpenGL::DeleteObjects()
{
    if ((m_shaderObject || m_programObject) && HasShaderObjects(m_pWorldData)) {
        if (m_shaderObject && m_programObject)
            glDetachObjectARB(m_programObject, m_shaderObject);
        if (m_programObject)
            glDeleteObjectARB(m_programObject);
        if (m_shaderObject)
            glDeleteObjectARB(m_shaderObject);
    }
    m_programObject = 0;
    m_shaderObject = 0;
}
