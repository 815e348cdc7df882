#include "backends/opengl/RendererModule.h"

#include "core/Result.h"
#include "core/WideFormat.h"
#include "core/WorldData.h"

CBaseObject* CreateRendererOpenGL(CWorldData* data)
{
    if (data) {
        WFormat(data->errorDetail, kMaxPathUnits, u"No compatible %s was found", u"OpenGL 1.2");
        data->lastError = RES_NO_DEVICE;
    }
    return nullptr;
}
