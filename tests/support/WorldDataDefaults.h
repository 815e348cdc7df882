#pragma once
#include <cstdint>

class CMath3D;
struct CWorldData;

// The camera settings of the built-in engine text (near 1, far 20000, screen -1000 to 1000,
// 45 degrees) and every matrix the identity; data->math must be set.
void SetDefaultView(CWorldData* data);

// A block ready to draw into: the math helper, unit scale, no data root, the size configured and
// working, 32-bit colour, normal orientation, rendering on, point sprites 1 to 64, the default view.
void SetDefaultWorld(CWorldData* data, CMath3D* math, uint16_t width, uint16_t height);
