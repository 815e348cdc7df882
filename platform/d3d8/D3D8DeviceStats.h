#pragma once
#include "platform/d3d8/D3D8Types.h"

// What the device counts of its work.
struct CD3D8DeviceStats {
    UINT scenes;      // BeginScene calls that began one
    UINT draws;       // draw calls that reached OpenGL
    UINT primitives;  // primitives those draws sent
    UINT clears;
    UINT presents;
    UINT retained;    // presents that showed the last frame again, equal to it, without running it
    UINT resets;      // successful Reset calls
};
