#include "tests/support/WorldDataDefaults.h"

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"

void SetDefaultView(CWorldData* data)
{
    data->viewNear = 1.0f;
    data->viewFar = 20000.0f;
    data->viewNearScreen = -1000.0f;
    data->viewFarScreen = 1000.0f;
    data->viewFieldDeg = 45.0f;
    for (Matrix4& m : data->matrices)
        data->math->Identity(&m);
    data->math->Identity(&data->screenView);
}

void SetDefaultWorld(CWorldData* data, CMath3D* math, uint16_t width, uint16_t height)
{
    data->math = math;
    data->scaleX = data->scaleY = data->scaleZ = 1.0f;
    data->dataRootPrefixLength = -1;
    data->configuredWidth = data->workingWidth = width;
    data->configuredHeight = data->workingHeight = height;
    data->colorDepth = 32;
    data->orientation = kOrientationNormal;
    data->renderingEnabled = 1;
    data->pointSpriteMinSize = 1.0f;
    data->pointSpriteMaxSize = 64.0f;
    SetDefaultView(data);
}
