#include "backends/opengl/ObjectOpenGLFormats.h"

#include <GL/glew.h>

#include "engine3d/Camera.h"
#include "engine3d/Engine.h"

namespace {

// Offsets of the coordinate pairs in the formats that have them.
constexpr int32_t kColorTexUV = 16;
constexpr int32_t kNormalTexUV = 32;
constexpr int32_t kNormalTexUV2 = 40;

} // namespace

// ---- 0x10 -----------------------------------------------------------------------------------

Result C3DObjectOpenGLColorTex::PushTransform()
{
    if (C3DCamera* camera = m_pEngine->GetCamera())
        IgnoreResult(camera->ApplyScreenProjection());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (m_pMatrix)
        glLoadMatrixf(m_pMatrix->m);
    else
        glLoadIdentity();
    return RES_OK;
}

void C3DObjectOpenGLColorTex::SetVertexPointer(uint32_t firstVertex) { PointVertexArray(firstVertex); }

void C3DObjectOpenGLColorTex::SetTexCoordPointer(uint32_t firstVertex) { PointTexCoordArray(firstVertex); }

void C3DObjectOpenGLColorTex::SetColorPointer(uint32_t firstVertex) { PointColorArray(firstVertex); }

void C3DObjectOpenGLColorTex::EmitVertex(const uint8_t* vertex)
{
    EmitColour(vertex);
    EmitStageCoordinates(0, vertex, kColorTexUV);
    if (BothStages())
        EmitStageCoordinates(1, vertex, kColorTexUV);
    glNormal3f(0.0f, 0.0f, 0.0f);
    EmitPosition(vertex);
}

// ---- 0x08 -----------------------------------------------------------------------------------

void C3DObjectOpenGLColor::SetVertexPointer(uint32_t firstVertex) { PointVertexArray(firstVertex); }

void C3DObjectOpenGLColor::SetColorPointer(uint32_t firstVertex) { PointColorArray(firstVertex); }

void C3DObjectOpenGLColor::EmitVertex(const uint8_t* vertex)
{
    EmitColour(vertex);
    EmitPosition(vertex);
}

// ---- 0x04 -----------------------------------------------------------------------------------

void C3DObjectOpenGLNormalTex2::SetVertexPointer(uint32_t firstVertex) { PointVertexArray(firstVertex); }

void C3DObjectOpenGLNormalTex2::SetTexCoordPointer(uint32_t firstVertex) { PointTexCoordArray(firstVertex); }

void C3DObjectOpenGLNormalTex2::SetNormalPointer(uint32_t firstVertex) { PointNormalArray(firstVertex); }

void C3DObjectOpenGLNormalTex2::SetColorPointer(uint32_t firstVertex) { PointColorArray(firstVertex); }

void C3DObjectOpenGLNormalTex2::EmitVertex(const uint8_t* vertex)
{
    EmitColour(vertex);
    EmitStageCoordinates(0, vertex, kNormalTexUV);
    if (BothStages())
        EmitStageCoordinates(1, vertex, kNormalTexUV2);
    EmitSpecularMaterial(vertex);
    EmitNormal(vertex);
    EmitPosition(vertex);
}

// ---- 0x02 -----------------------------------------------------------------------------------

void C3DObjectOpenGLNormalTex::SetVertexPointer(uint32_t firstVertex) { PointVertexArray(firstVertex); }

void C3DObjectOpenGLNormalTex::SetTexCoordPointer(uint32_t firstVertex) { PointTexCoordArray(firstVertex); }

void C3DObjectOpenGLNormalTex::SetNormalPointer(uint32_t firstVertex) { PointNormalArray(firstVertex); }

void C3DObjectOpenGLNormalTex::SetColorPointer(uint32_t firstVertex) { PointColorArray(firstVertex); }

void C3DObjectOpenGLNormalTex::EmitVertex(const uint8_t* vertex)
{
    EmitColour(vertex);
    EmitStageCoordinates(0, vertex, kNormalTexUV);
    if (BothStages())
        EmitStageCoordinates(1, vertex, kNormalTexUV);
    EmitSpecularMaterial(vertex);
    EmitNormal(vertex);
    EmitPosition(vertex);
}
