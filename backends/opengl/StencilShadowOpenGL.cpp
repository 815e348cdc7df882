#include "backends/opengl/StencilShadowOpenGL.h"

#include <GL/glew.h>

#include <algorithm>

#include "backends/opengl/OpenGLState.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr GLuint kAllStencilBits = 0xFFFFFFFFu;

// The whole triangles of a volume buffer, within its room.
void DrawTriangles(const Vector3* points, uint32_t count, uint32_t capacity)
{
    if (!points)
        return;
    count = std::min(count, capacity);
    count -= count % 3;
    glBegin(GL_TRIANGLES);
    for (uint32_t i = 0; i < count; ++i)
        glVertex3f(points[i].x, points[i].y, points[i].z);
    glEnd();
}

void DrawBoth(const C3DShadowCaster& caster)
{
    DrawTriangles(caster.sideVertices.get(), caster.sideCount, caster.capacity);
    if (caster.capCount != 0)
        DrawTriangles(caster.capVertices.get(), caster.capCount, caster.capacity);
}

} // namespace

Result C3DStencilShadowOpenGL::Create(uint32_t casterCount, uint32_t colour)
{
    return Failed(C3DStencilShadow::Create(casterCount, colour)) ? RES_FAIL : RES_OK;
}

Result C3DStencilShadowOpenGL::Render(uint32_t index)
{
    const C3DShadowCaster* caster = GetCaster(index);
    if (!caster)
        return RES_FAIL;
    if (caster->sideCount == 0 || !caster->sideVertices)
        return RES_OK;
    BeginVolume();
    CountVolume(*caster);
    Darken();
    RestoreState();
    if (ShowsConstruct())
        DrawConstruct(*caster);
    glPopMatrix();
    return RES_OK;
}

// The frame's view matrix stays on the model-view stack: the volume points are in world space.
void C3DStencilShadowOpenGL::BeginVolume()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_TEXTURE_2D);
    ApplyProjection();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void C3DStencilShadowOpenGL::CountVolume(const C3DShadowCaster& caster)
{
    glCullFace(GL_FRONT);
    glEnable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_ALWAYS, 1, kAllStencilBits);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);

    glFrontFace(GL_CCW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    DrawBoth(caster);
    glFrontFace(GL_CW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    DrawBoth(caster);
}

// One quad over the whole window in clip space, drawn with the viewport opened to the window;
// the screen projection stays loaded afterwards.
void C3DStencilShadowOpenGL::Darken()
{
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glStencilFunc(GL_NOTEQUAL, 0, kAllStencilBits);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glFrontFace(GL_CCW);
    if (C3DCamera* camera = m_pEngine ? m_pEngine->GetCamera() : nullptr)
        IgnoreResult(camera->ApplyScreenProjection());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    int32_t width = 0;
    int32_t height = 0;
    WindowSize(&width, &height);
    glViewport(0, 0, width, height);

    const float opacity = 1.0f - static_cast<float>(m_colour >> 24) / 255.0f;
    glColor4f(0.0f, 0.0f, 0.0f, opacity);
    glBegin(GL_QUADS);  // clockwise on the window, as the screen projection's corners would be
    glVertex2i(-1, 1);
    glVertex2i(1, 1);
    glVertex2i(1, -1);
    glVertex2i(-1, -1);
    glEnd();

    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void C3DStencilShadowOpenGL::RestoreState()
{
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
}

void C3DStencilShadowOpenGL::DrawConstruct(const C3DShadowCaster& caster)
{
    ApplyProjection();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHT0);
    glDisable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawTriangles(caster.sideVertices.get(), caster.sideCount, caster.capacity);
    DrawTriangles(caster.capVertices.get(), caster.capCount, caster.capacity);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void C3DStencilShadowOpenGL::ApplyProjection()
{
    if (C3DCamera* camera = m_pEngine ? m_pEngine->GetCamera() : nullptr)
        IgnoreResult(camera->ApplyProjection());
}

void C3DStencilShadowOpenGL::WindowSize(int32_t* width, int32_t* height) const
{
    *width = m_pWorldData->workingWidth;
    *height = m_pWorldData->workingHeight;
    const COpenGLState* state = OpenGLStateOf(m_pWorldData);
    RECT client{};
    if (state && state->window && GetClientRect(state->window, &client) && client.right > client.left &&
        client.bottom > client.top) {
        *width = client.right - client.left;
        *height = client.bottom - client.top;
    }
}
