#pragma once
#include <cstdint>

#include "tests/support/RendererTestRig.h"

class C3DEngineOpenGL;

// The rig with an OpenGL engine.
class OpenGLTestRig : public RendererTestRig {
public:
    explicit OpenGLTestRig(uint16_t width = 64, uint16_t height = 64);

    C3DEngineOpenGL* Engine() const;

    // The back buffer's pixel at (x, y) counted from the top left.
    RgbPixel ReadPixel(int x, int y) const;
};
