#include "backends/opengl/CameraOpenGL.h"

#include <GL/glew.h>

#include "core/WorldData.h"

Result C3DCameraOpenGL::ApplyProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m_pWorldData->matrices[kMatrixProjection].m);
    return RES_OK;
}

Result C3DCameraOpenGL::ApplyScreenProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m_pWorldData->matrices[kMatrixScreen].m);
    return RES_OK;
}

Result C3DCameraOpenGL::SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    glViewport(x, y, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    return RES_OK;
}

Result C3DCameraOpenGL::DisableScissor()
{
    glDisable(GL_SCISSOR_TEST);
    return RES_OK;
}

Result C3DCameraOpenGL::SetScissor(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    const int32_t bottom = static_cast<int32_t>(m_pWorldData->configuredHeight) - y - static_cast<int32_t>(height);
    glScissor(x, bottom, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glEnable(GL_SCISSOR_TEST);
    return RES_OK;
}
