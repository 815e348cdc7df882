#include "backends/opengl/ObjectOpenGL.h"

#include <GL/glew.h>

#include <cstring>

#include "backends/opengl/ObjectIndexOpenGL.h"
#include "backends/opengl/OpenGLHelpers.h"
#include "backends/opengl/OpenGLState.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "engine3d/Texture.h"

namespace {

constexpr uint32_t kStageCount = 2;

void Toggle(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

float ReadFloat(const uint8_t* p)
{
    float value;
    memcpy(&value, p, sizeof value);
    return value;
}

uint32_t ReadWord(const uint8_t* p)
{
    uint32_t value;
    memcpy(&value, p, sizeof value);
    return value;
}

} // namespace

C3DObjectOpenGL::C3DObjectOpenGL(CWorldData* data, C3DEngine* engine)
    : C3DObjectSystemMemory(data, engine, StorageConvention::OpenGL)
{
}

C3DObjectIndexBaseOpenGL* C3DObjectOpenGL::GetOpenGLIndex() const
{
    return dynamic_cast<C3DObjectIndexBaseOpenGL*>(m_pActiveIndex);
}

// ---- Transform ------------------------------------------------------------------------------

Result C3DObjectOpenGL::PushTransform()
{
    IgnoreResult(C3DObjectSystemMemory::PushTransform());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (m_pMatrix)
        glMultMatrixf(m_pMatrix->m);
    return RES_OK;
}

void C3DObjectOpenGL::PopTransform()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// ---- Render state ---------------------------------------------------------------------------

Result C3DObjectOpenGL::RecordRenderState()
{
    const CWorldData* d = m_pWorldData;
    const uint32_t b = m_flagsB;
    Toggle(GL_FOG, (b & kObjectFog) && d->fog.enable[0]);
    const bool blend = (b & kObjectAlphaBlend) != 0;
    Toggle(GL_ALPHA_TEST, blend);
    Toggle(GL_BLEND, blend);
    if (blend)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (m_flagsA & kFormatColor) {
        glEnable(GL_POINT_SPRITE);
        if (m_pointSize > 0.0f)
            glPointSize(m_pointSize);
    } else {
        glDisable(GL_POINT_SPRITE);
    }
    Toggle(GL_COLOR_MATERIAL, (b & kObjectMaterials) != 0);
    Toggle(GL_LIGHT0, (b & kObjectLights) != 0);
    Toggle(GL_LIGHT1, (b & kObjectLights) && d->lights[1].enable[0]);
    Toggle(GL_LIGHTING, (b & kObjectLighting) != 0);
    const bool depthWrites = (b & kObjectDepthWrite) && d->rendererSwitch[0];
    if (b & kObjectDepthTest) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDepthMask(depthWrites ? GL_TRUE : GL_FALSE);
    } else if (depthWrites) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
        glDepthFunc(GL_NEVER);
        glDepthMask(GL_TRUE);
    }
    const bool wireframe = (b & kObjectWireframe) || d->wireframe;
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    return RES_OK;
}

Result C3DObjectOpenGL::ApplyRenderState() { return RecordRenderState(); }

void C3DObjectOpenGL::RestoreRenderState()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
}

// Code 1 draws without culling, as the Direct3D 8 part draws do: content made for that renderer
// is not wound for culling under it. Code 3 culls counter-clockwise faces like Direct3D's value 3.
void C3DObjectOpenGL::ApplyCull(uint32_t cull)
{
    switch (cull) {
    case kCullClockwise:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        break;
    case kCullCounterClockwiseAlt:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        break;
    default:
        glDisable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        break;
    }
    glCullFace(GL_BACK);
}

// ---- Texture stages -------------------------------------------------------------------------

void C3DObjectOpenGL::StagesOff()
{
    if (HasMultitexture(m_pWorldData)) {
        for (uint32_t stage = 0; stage < kStageCount; ++stage) {
            glActiveTextureARB(GL_TEXTURE0_ARB + stage);
            glDisable(GL_TEXTURE_2D);
        }
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void C3DObjectOpenGL::ApplyPartTextures(uint32_t part)
{
    const uint32_t b = m_flagsB;
    if (part >= m_partCount || !m_pTextures || (b & kObjectWireframe))
        return;
    if (b & kTextureStage1) {
        for (uint32_t stage = 0; stage < kStageCount; ++stage) {
            if (C3DTexture* texture = TextureSlot(part, stage))
                texture->Apply(b, stage);
        }
    } else if (b & kTextureStage0) {
        if (C3DTexture* texture = TextureSlot(part, 0))
            texture->Apply(b, 0);
    }
}

// ---- Vertex access --------------------------------------------------------------------------

const uint8_t* C3DObjectOpenGL::VertexAt(uint32_t index) const
{
    const uint8_t* data = m_vertices.Data();
    if (!data || index >= m_vertices.Count())
        return nullptr;
    return data + size_t{index} * m_vertices.VertexSize();
}

const uint8_t* C3DObjectOpenGL::AttributeAt(uint32_t firstVertex, int32_t offset) const
{
    const uint8_t* vertex = VertexAt(firstVertex);
    return (vertex && offset >= 0) ? vertex + offset : nullptr;
}

// ---- Client arrays --------------------------------------------------------------------------

void C3DObjectOpenGL::SetVertexPointer(uint32_t) { glDisableClientState(GL_VERTEX_ARRAY); }

void C3DObjectOpenGL::SetTexCoordPointer(uint32_t) { glDisableClientState(GL_TEXTURE_COORD_ARRAY); }

void C3DObjectOpenGL::SetNormalPointer(uint32_t) { glDisableClientState(GL_NORMAL_ARRAY); }

void C3DObjectOpenGL::SetColorPointer(uint32_t) { glDisableClientState(GL_COLOR_ARRAY); }

void C3DObjectOpenGL::PointVertexArray(uint32_t firstVertex)
{
    const uint8_t* p = AttributeAt(firstVertex, m_vertices.Layout() ? m_vertices.Layout()->position : -1);
    if (!p) {
        glDisableClientState(GL_VERTEX_ARRAY);
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(m_vertices.VertexSize()), p);
}

void C3DObjectOpenGL::PointTexCoordArray(uint32_t firstVertex)
{
    const uint8_t* p = AttributeAt(firstVertex, m_vertices.Layout() ? m_vertices.Layout()->uv : -1);
    if (!p) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        return;
    }
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, static_cast<GLsizei>(m_vertices.VertexSize()), p);
}

void C3DObjectOpenGL::PointNormalArray(uint32_t firstVertex)
{
    const uint8_t* p = AttributeAt(firstVertex, m_vertices.Layout() ? m_vertices.Layout()->normal : -1);
    if (!p) {
        glDisableClientState(GL_NORMAL_ARRAY);
        return;
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, static_cast<GLsizei>(m_vertices.VertexSize()), p);
}

void C3DObjectOpenGL::PointColorArray(uint32_t firstVertex)
{
    const uint8_t* p = AttributeAt(firstVertex, m_vertices.Layout() ? m_vertices.Layout()->colour : -1);
    if (!p) {
        glDisableClientState(GL_COLOR_ARRAY);
        return;
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, static_cast<GLsizei>(m_vertices.VertexSize()), p);
}

// ---- Immediate mode -------------------------------------------------------------------------

void C3DObjectOpenGL::EmitColour(const uint8_t* vertex) const
{
    const uint8_t* c = vertex + m_vertices.Layout()->colour;
    glColor4f(c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f, c[3] / 255.0f);
}

// Stage coordinates go through glMultiTexCoord2fARB only with the multitexture extension;
// without it stage 0 takes glTexCoord2f and stage 1 has no coordinates.
void C3DObjectOpenGL::EmitStageCoordinates(uint32_t stage, const uint8_t* vertex, int32_t offset) const
{
    const float u = ReadFloat(vertex + offset);
    const float v = ReadFloat(vertex + offset + 4);
    if (HasMultitexture(m_pWorldData))
        glMultiTexCoord2fARB(GL_TEXTURE0_ARB + stage, u, v);
    else if (stage == 0)
        glTexCoord2f(u, v);
}

void C3DObjectOpenGL::EmitSpecularMaterial(const uint8_t* vertex) const
{
    float specular[4];
    ArgbToFloats(ReadWord(vertex + m_vertices.Layout()->specular), specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

void C3DObjectOpenGL::EmitNormal(const uint8_t* vertex) const
{
    const uint8_t* n = vertex + m_vertices.Layout()->normal;
    glNormal3f(ReadFloat(n), ReadFloat(n + 4), ReadFloat(n + 8));
}

void C3DObjectOpenGL::EmitPosition(const uint8_t* vertex) const
{
    const uint8_t* p = vertex + m_vertices.Layout()->position;
    glVertex3f(ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8));
}

bool C3DObjectOpenGL::ImmediateDrawable(const C3DPrimitiveGroup& record) const
{
    const C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    uint32_t mode = 0;
    if (!index || !m_vertices.Layout() || !GLModeOfPrimitive(record.primitiveType, &mode))
        return false;
    if (uint64_t{record.firstIndex} + record.indexCount > index->GetIndexCount())
        return false;
    for (uint32_t n = 0; n < record.indexCount; ++n) {
        uint32_t value = 0;
        if (!index->ReadIndex(record.firstIndex + n, &value) ||
            uint64_t{value} + record.firstVertex >= m_vertices.Count())
            return false;
    }
    return true;
}

void C3DObjectOpenGL::DrawImmediate(const C3DPrimitiveGroup& record)
{
    uint32_t mode = 0;
    if (!ImmediateDrawable(record) || !GLModeOfPrimitive(record.primitiveType, &mode))
        return;
    const C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    glBegin(mode);
    for (uint32_t n = 0; n < record.indexCount; ++n) {
        uint32_t value = 0;
        index->ReadIndex(record.firstIndex + n, &value);
        EmitVertex(VertexAt(value + record.firstVertex));
    }
    glEnd();
}

// ---- Display lists --------------------------------------------------------------------------

Result C3DObjectOpenGL::Unlock(uint8_t rebuild)
{
    const Result state = C3DObjectPrivate::Unlock(rebuild);
    if (rebuild && !(m_flagsA & kObjectTextureFactor))
        RebuildDisplayLists();
    const Result storage = UnlockStorage(rebuild);
    return Failed(state) ? state : storage;
}

// One list per part, named by the block's first name plus the number of the record the part
// draws; records that name no record or reach past the buffers get none.
void C3DObjectOpenGL::RebuildDisplayLists()
{
    C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    if (!index)
        return;
    index->DeleteLists();
    IgnoreResult(ApplyRenderState());
    IgnoreResult(PushTransform());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const uint32_t base = index->NewListBlock();
    if (base != 0 && glIsList(base)) {
        glListBase(base);
        for (uint32_t i = 0; i < m_partCount; ++i) {
            const C3DPrimitiveGroup* part = PartRecord(i);
            const C3DPrimitiveGroup* record = DrawnRecord(i);
            if (!part || !record || !ImmediateDrawable(*record))
                continue;
            index->SetList(part->id, base + part->id);
            glNewList(base + part->id, GL_COMPILE);
            DrawImmediate(*record);
            glEndList();
        }
    }
    PopTransform();
}

// ---- Drawing --------------------------------------------------------------------------------

void C3DObjectOpenGL::DrawArrays(const C3DPrimitiveGroup& record)
{
    C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    if (m_flagsB & kObjectTextureFactor) {
        float colour[4];
        ArgbToFloats(m_colour, colour);
        glColor4f(colour[0], colour[1], colour[2], colour[3]);
    }
    if (index && record.firstVertex < m_vertices.Count() &&
        index->CanDraw(record, m_vertices.Count() - record.firstVertex))
        index->Draw(record);
}

void C3DObjectOpenGL::DrawStep(uint32_t recordNumber)
{
    C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    const C3DPrimitiveGroup* record = index ? index->GetRecordAddress(recordNumber) : nullptr;
    if (!record)
        return;
    if (const uint32_t list = index->GetList(recordNumber)) {
        glCallList(list);
        return;
    }
    SetVertexPointer(record->firstVertex);
    SetColorPointer(record->firstVertex);
    SetNormalPointer(record->firstVertex);
    SetTexCoordPointer(record->firstVertex);
    if (m_flagsB & kObjectTextureFactor)
        glDisableClientState(GL_COLOR_ARRAY);
    DrawArrays(*record);
}

Result C3DObjectOpenGL::RenderParts(uint32_t from, uint32_t to)
{
    if (m_flagsB & kObjectStateBlock)
        IgnoreResult(ApplyRenderState());
    IgnoreResult(PushTransform());
    StagesOff();
    for (uint32_t i = from; i < to; ++i) {
        const C3DPrimitiveGroup* part = PartRecord(i);
        const C3DPrimitiveGroup* record = DrawnRecord(i);
        if (!part || !record)
            continue;
        ApplyCull(record->cullCode);
        ApplyPartTextures(part->id);
        DrawStep(part->id);
    }
    if (m_flagsB & kObjectStateBlock)
        RestoreRenderState();
    PopTransform();
    return RES_OK;
}

Result C3DObjectOpenGL::Render()
{
    return GetOpenGLIndex() ? RenderParts(0, m_partCount) : RES_FAIL;
}

Result C3DObjectOpenGL::RenderPart(uint32_t part)
{
    return (GetOpenGLIndex() && part < m_partCount) ? RenderParts(part, part + 1) : RES_FAIL;
}

Result C3DObjectOpenGL::RenderPartsGeometry(uint32_t from, uint32_t to)
{
    IgnoreResult(PushTransform());
    for (uint32_t i = from; i < to; ++i) {
        if (const C3DPrimitiveGroup* part = PartRecord(i))
            DrawStep(part->id);
    }
    PopTransform();
    return RES_OK;
}

Result C3DObjectOpenGL::RenderGeometry()
{
    return GetOpenGLIndex() ? RenderPartsGeometry(0, m_partCount) : RES_FAIL;
}

Result C3DObjectOpenGL::RenderPartGeometry(uint32_t part)
{
    return (GetOpenGLIndex() && part < m_partCount) ? RenderPartsGeometry(part, part + 1) : RES_FAIL;
}

Result C3DObjectOpenGL::ApplyPartState(uint32_t part)
{
    if (m_flagsB & kObjectStateBlock)
        IgnoreResult(ApplyRenderState());
    IgnoreResult(PushTransform());
    const C3DPrimitiveGroup* partRecord = PartRecord(part);
    const C3DPrimitiveGroup* record = DrawnRecord(part);
    if (!partRecord || !record)
        return RES_FAIL;
    ApplyCull(record->cullCode);
    SetVertexPointer(record->firstVertex);
    SetNormalPointer(record->firstVertex);
    SetTexCoordPointer(record->firstVertex);
    if (m_flagsB & kObjectTextureFactor)
        glDisableClientState(GL_COLOR_ARRAY);
    else
        SetColorPointer(record->firstVertex);
    StagesOff();
    ApplyPartTextures(partRecord->id);
    return RES_OK;
}

Result C3DObjectOpenGL::DrawVertices(uint32_t part, uint32_t, uint32_t, int32_t, int32_t)
{
    const C3DPrimitiveGroup* partRecord = PartRecord(part);
    const C3DPrimitiveGroup* record = DrawnRecord(part);
    C3DObjectIndexBaseOpenGL* index = GetOpenGLIndex();
    if (!partRecord || !record || !index)
        return RES_FAIL;
    if (const uint32_t list = index->GetList(partRecord->id))
        glCallList(list);
    else
        DrawArrays(*record);
    return RES_OK;
}

void C3DObjectOpenGL::EndDraw()
{
    if (m_flagsB & kObjectStateBlock)
        RestoreRenderState();
    PopTransform();
}
