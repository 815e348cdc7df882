#include "backends/opengl/EngineOpenGL.h"

#include "backends/opengl/ObjectIndexOpenGL.h"
#include "backends/opengl/ObjectOpenGLFormats.h"
#include "backends/opengl/ShaderOpenGL.h"
#include "backends/opengl/StencilShadowOpenGL.h"
#include "backends/opengl/TextureOpenGL.h"

C3DObject* C3DEngineOpenGL::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    return CreateObjectOf<C3DObjectOpenGLNormalTex, C3DObjectOpenGLNormalTex2, C3DObjectOpenGLColor,
                          C3DObjectOpenGLColorTex>(flagsA, flagsB);
}

C3DObjectIndex* C3DEngineOpenGL::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    return CreateIndexBufferOf<C3DObjectIndex16OpenGL, C3DObjectIndex32OpenGL>(kind);
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

bool C3DEngineOpenGL::IsStencilShadowSupported() { return true; }
