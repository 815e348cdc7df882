#pragma once
#include <cstdint>

#include "backends/d3d8/ObjectDX81.h"

// Flexible vertex format codes of the four object formats.
constexpr DWORD kFvfNormalTex = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
constexpr DWORD kFvfNormalTex2 = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;
constexpr DWORD kFvfColor = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr DWORD kFvfColorTex = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Format 0x02 (40 bytes: position, normal, colour, specular, uv).
class C3DObjectDX81NormalTex : public C3DObjectDX81 {
public:
    C3DObjectDX81NormalTex(CWorldData* data, C3DEngine* engine)
        : C3DObjectDX81(data, engine, kFormatNormalTex, kFvfNormalTex)
    {
    }
};

// Format 0x04 (48 bytes: as 0x02 plus a second uv; SetVertex writes its u, v into both sets).
class C3DObjectDX81NormalTex2 : public C3DObjectDX81 {
public:
    C3DObjectDX81NormalTex2(CWorldData* data, C3DEngine* engine)
        : C3DObjectDX81(data, engine, kFormatNormalTex2, kFvfNormalTex2)
    {
    }
};

// Format 0x08 (16 bytes: position, colour): drawn as point sprites.
class C3DObjectDX81Color : public C3DObjectDX81 {
public:
    C3DObjectDX81Color(CWorldData* data, C3DEngine* engine) : C3DObjectDX81(data, engine, kFormatColor, kFvfColor) {}
};

// Format 0x10 (24 bytes: position, colour, uv): drawn in virtual-screen units through the
// camera's screen projection.
class C3DObjectDX81ColorTex : public C3DObjectDX81 {
public:
    C3DObjectDX81ColorTex(CWorldData* data, C3DEngine* engine)
        : C3DObjectDX81(data, engine, kFormatColorTex, kFvfColorTex)
    {
    }

    Result PushTransform() override;
};
