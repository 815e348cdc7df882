#pragma once
#include <cstdint>

#include "backends/opengl/ObjectOpenGL.h"

// Format 0x10 (24 bytes: position, colour, uv): drawn in virtual-screen units through the
// camera's screen projection, the object's matrix being the whole model-view matrix.
class C3DObjectOpenGLColorTex : public C3DObjectOpenGL {
public:
    using C3DObjectOpenGL::C3DObjectOpenGL;

    Result PushTransform() override;
    void SetVertexPointer(uint32_t firstVertex) override;
    void SetTexCoordPointer(uint32_t firstVertex) override;
    void SetColorPointer(uint32_t firstVertex) override;

protected:
    void EmitVertex(const uint8_t* vertex) override;
};

// Format 0x08 (16 bytes: position, colour): point sprites.
class C3DObjectOpenGLColor : public C3DObjectOpenGL {
public:
    using C3DObjectOpenGL::C3DObjectOpenGL;

    void SetVertexPointer(uint32_t firstVertex) override;
    void SetColorPointer(uint32_t firstVertex) override;

protected:
    void EmitVertex(const uint8_t* vertex) override;
};

// Format 0x04 (48 bytes: position, normal, colour, specular, uv, uv2).
class C3DObjectOpenGLNormalTex2 : public C3DObjectOpenGL {
public:
    using C3DObjectOpenGL::C3DObjectOpenGL;

    void SetVertexPointer(uint32_t firstVertex) override;
    void SetTexCoordPointer(uint32_t firstVertex) override;
    void SetNormalPointer(uint32_t firstVertex) override;
    void SetColorPointer(uint32_t firstVertex) override;

protected:
    void EmitVertex(const uint8_t* vertex) override;
};

// Format 0x02 (40 bytes: position, normal, colour, specular, uv).
class C3DObjectOpenGLNormalTex : public C3DObjectOpenGL {
public:
    using C3DObjectOpenGL::C3DObjectOpenGL;

    void SetVertexPointer(uint32_t firstVertex) override;
    void SetTexCoordPointer(uint32_t firstVertex) override;
    void SetNormalPointer(uint32_t firstVertex) override;
    void SetColorPointer(uint32_t firstVertex) override;

protected:
    void EmitVertex(const uint8_t* vertex) override;
};
