#include "backends/d3d8/ObjectDX81Formats.h"

#include "engine3d/Camera.h"
#include "engine3d/Engine.h"

Result C3DObjectDX81ColorTex::PushTransform()
{
    C3DCamera* camera = m_pEngine->GetCamera();
    return camera ? camera->ApplyScreenProjection() : RES_OK;
}
