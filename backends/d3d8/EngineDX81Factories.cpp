#include "backends/d3d8/EngineDX81.h"

#include <new>

#include "backends/d3d8/ObjectDX81Formats.h"
#include "backends/d3d8/ObjectIndexDX81.h"
#include "backends/d3d8/ShaderDX81.h"
#include "backends/d3d8/StencilShadowDX81.h"
#include "backends/d3d8/TextureDX81.h"
#include "core/WorldData.h"

C3DObject* C3DEngineDX81::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    CWorldData* d = m_pWorldData;
    C3DObject* object = nullptr;
    if (flagsA & kFormatNormalTex)
        object = new (std::nothrow) C3DObjectDX81NormalTex(d, this);
    else if (flagsA & kFormatNormalTex2)
        object = new (std::nothrow) C3DObjectDX81NormalTex2(d, this);
    else if (flagsA & kFormatColor)
        object = new (std::nothrow) C3DObjectDX81Color(d, this);
    else if (flagsA & kFormatColorTex)
        object = new (std::nothrow) C3DObjectDX81ColorTex(d, this);
    else {
        d->lastError = RES_UNKNOWN_KIND;
        return nullptr;
    }
    return AdoptObject(object, flagsA, flagsB);
}

C3DObjectIndex* C3DEngineDX81::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    if (kind == kIndexKind16)
        return AdoptIndexBuffer(new (std::nothrow) C3DObjectIndex16DX81(m_pWorldData));
    if (kind == kIndexKind32)
        return AdoptIndexBuffer(new (std::nothrow) C3DObjectIndex32DX81(m_pWorldData));
    return nullptr;
}

C3DTexture* C3DEngineDX81::CreateTexture(uint32_t flags, uint32_t parameter)
{
    return AdoptTexture(new (std::nothrow) C3DTextureDX81(m_pWorldData, flags, parameter));
}

C3DShader* C3DEngineDX81::CreateShader(uint32_t flags, uint32_t)
{
    return AdoptShader(new (std::nothrow) C3DShaderDX81(m_pWorldData), flags);
}

C3DStencilShadow* C3DEngineDX81::CreateStencilShadow(uint32_t casterCount, uint32_t colour)
{
    return AdoptStencilShadow(new (std::nothrow) C3DStencilShadowDX81(m_pWorldData), casterCount, colour);
}
