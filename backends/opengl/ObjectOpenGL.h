#pragma once
#include <cstdint>

#include "engine3d/SystemMemoryObject.h"

class C3DObjectIndexBaseOpenGL;

// The OpenGL half of every 3D object: render state, culling, texture stages, display lists
// compiled at Unlock and client-array drawing through the OpenGL index buffer. Vertices live in
// system memory in the OpenGL convention (red and blue exchanged, v stored as 1 - v). One class
// per vertex format derives from it and supplies the immediate-mode vertex and the arrays it has.
// Every part draws the record its id names; records whose ranges or indices reach past the
// buffers are not drawn.
class C3DObjectOpenGL : public C3DObjectSystemMemory {
public:
    C3DObjectOpenGL(CWorldData* data, C3DEngine* engine);

    Result Render() override;
    Result RenderPart(uint32_t part) override;
    // The camera's projection, then the object's matrix on top of the view matrix.
    Result PushTransform() override;
    Result RenderGeometry() override;
    Result RenderPartGeometry(uint32_t part) override;
    // State, matrix, cull, arrays and textures of one part; the matrix stays pushed until EndDraw.
    Result ApplyPartState(uint32_t part) override;
    // Draws the part ApplyPartState prepared; the other arguments are not used.
    Result DrawVertices(uint32_t part, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                        int32_t cull) override;
    void EndDraw() override;
    // Normals, then with rebuild the display lists (not for texture-factor objects), then the storage.
    Result Unlock(uint8_t rebuild) override;
    Result RecordRenderState() override;
    Result ApplyRenderState() override;

    virtual void PopTransform();
    // Depth test on with GL_LESS and writes, separate specular colour.
    virtual void RestoreRenderState();
    // glBegin, the record's vertices in the format's calls, glEnd.
    virtual void DrawImmediate(const C3DPrimitiveGroup& record);
    // Client arrays from a first vertex; here each only disables its array.
    virtual void SetVertexPointer(uint32_t firstVertex);
    virtual void SetTexCoordPointer(uint32_t firstVertex);
    virtual void SetNormalPointer(uint32_t firstVertex);
    virtual void SetColorPointer(uint32_t firstVertex);

    // The OpenGL index buffer drawn, or null.
    C3DObjectIndexBaseOpenGL* GetOpenGLIndex() const;

protected:
    // One vertex of an immediate draw, in the format's order of calls.
    virtual void EmitVertex(const uint8_t* vertex) = 0;

    // Array set-up shared by the formats: the attribute's array at the first vertex.
    void PointVertexArray(uint32_t firstVertex);
    void PointTexCoordArray(uint32_t firstVertex);
    void PointNormalArray(uint32_t firstVertex);
    void PointColorArray(uint32_t firstVertex);

    // Immediate-mode pieces shared by the formats.
    void EmitColour(const uint8_t* vertex) const;
    void EmitStageCoordinates(uint32_t stage, const uint8_t* vertex, int32_t offset) const;
    void EmitSpecularMaterial(const uint8_t* vertex) const;
    void EmitNormal(const uint8_t* vertex) const;
    void EmitPosition(const uint8_t* vertex) const;
    bool BothStages() const { return (m_flagsB & kTextureStage1) != 0; }

private:
    const uint8_t* VertexAt(uint32_t index) const;
    const uint8_t* AttributeAt(uint32_t firstVertex, int32_t offset) const;
    bool ImmediateDrawable(const C3DPrimitiveGroup& record) const;
    void ApplyCull(uint32_t cull);
    void StagesOff();
    void ApplyPartTextures(uint32_t part);
    void DrawStep(uint32_t recordNumber);
    void DrawArrays(const C3DPrimitiveGroup& record);
    Result RenderParts(uint32_t from, uint32_t to);
    Result RenderPartsGeometry(uint32_t from, uint32_t to);
    void RebuildDisplayLists();
};
