#include "tests/support/OpenGLTestRig.h"

#include <GL/gl.h>

#include <memory>

#include "backends/opengl/EngineOpenGL.h"

OpenGLTestRig::OpenGLTestRig(uint16_t width, uint16_t height) : RendererTestRig(width, height)
{
    OpenWindow("OpenGLTestRig", u"OpenGL test");
    SetEngine(std::make_unique<C3DEngineOpenGL>(Data()));
}

C3DEngineOpenGL* OpenGLTestRig::Engine() const
{
    return static_cast<C3DEngineOpenGL*>(BaseEngine());
}

RgbPixel OpenGLTestRig::ReadPixel(int x, int y) const
{
    unsigned char rgba[4] = {};
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, Data()->configuredHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return RgbPixel{rgba[0], rgba[1], rgba[2]};
}
