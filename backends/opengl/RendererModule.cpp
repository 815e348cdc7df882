#include "backends/opengl/RendererModule.h"

#include <new>

#include "backends/opengl/EngineOpenGL.h"

CBaseObject* CreateRendererOpenGL(CWorldData* data)
{
    return new (std::nothrow) C3DEngineOpenGL(data);
}
