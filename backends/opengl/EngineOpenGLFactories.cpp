#include "backends/opengl/EngineOpenGL.h"

#include <new>

#include "backends/opengl/ObjectIndexOpenGL.h"
#include "backends/opengl/ObjectOpenGLFormats.h"
#include "backends/opengl/ShaderOpenGL.h"
#include "backends/opengl/StencilShadowOpenGL.h"
#include "backends/opengl/TextureOpenGL.h"
#include "core/WorldData.h"

C3DObject* C3DEngineOpenGL::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    CWorldData* d = m_pWorldData;
    C3DObject* object = nullptr;
    if (flagsA & kFormatNormalTex)
        object = new (std::nothrow) C3DObjectOpenGLNormalTex(d, this);
    else if (flagsA & kFormatNormalTex2)
        object = new (std::nothrow) C3DObjectOpenGLNormalTex2(d, this);
    else if (flagsA & kFormatColor)
        object = new (std::nothrow) C3DObjectOpenGLColor(d, this);
    else if (flagsA & kFormatColorTex)
        object = new (std::nothrow) C3DObjectOpenGLColorTex(d, this);
    else {
        d->lastError = RES_UNKNOWN_KIND;
        return nullptr;
    }
    return AdoptObject(object, flagsA, flagsB);
}

C3DObjectIndex* C3DEngineOpenGL::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    if (kind == kIndexKind16)
        return AdoptIndexBuffer(new (std::nothrow) C3DObjectIndex16OpenGL(m_pWorldData));
    if (kind == kIndexKind32)
        return AdoptIndexBuffer(new (std::nothrow) C3DObjectIndex32OpenGL(m_pWorldData));
    return nullptr;
}

C3DTexture* C3DEngineOpenGL::CreateTexture(uint32_t flags, uint32_t parameter)
{
    return AdoptTexture(new (std::nothrow) C3DTextureOpenGL(m_pWorldData, flags, parameter));
}

C3DShader* C3DEngineOpenGL::CreateShader(uint32_t flags, uint32_t)
{
    return AdoptShader(new (std::nothrow) C3DShaderOpenGL(m_pWorldData), flags);
}

C3DStencilShadow* C3DEngineOpenGL::CreateStencilShadow(uint32_t casterCount, uint32_t colour)
{
    return AdoptStencilShadow(new (std::nothrow) C3DStencilShadowOpenGL(m_pWorldData, this), casterCount,
                              colour);
}

Result C3DEngineOpenGL::IsStencilShadowSupported() { return RES_OK; }
