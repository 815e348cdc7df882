#pragma once
#include "platform/d3d8/D3D8Types.h"

// Pixel formats the layer knows: sizes, what each may be used for, and conversion of single
// pixels to and from 0xAARRGGBB.

UINT D3D8BytesPerPixel(D3DFORMAT format);  // 0 for formats without pixels of their own
bool D3D8IsTextureFormat(D3DFORMAT format);
bool D3D8IsDisplayFormat(D3DFORMAT format);  // back buffer and full-screen formats
bool D3D8IsDepthFormat(D3DFORMAT format);
bool D3D8HasAlpha(D3DFORMAT format);

D3DCOLOR D3D8ReadPixel(D3DFORMAT format, const BYTE* pixel);
void D3D8WritePixel(D3DFORMAT format, BYTE* pixel, D3DCOLOR color);
