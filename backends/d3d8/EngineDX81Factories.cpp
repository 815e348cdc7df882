#include "backends/d3d8/EngineDX81.h"

#include "backends/d3d8/ObjectDX81Formats.h"
#include "backends/d3d8/ObjectIndexDX81.h"
#include "backends/d3d8/ShaderDX81.h"
#include "backends/d3d8/StencilShadowDX81.h"
#include "backends/d3d8/TextureDX81.h"

C3DObject* C3DEngineDX81::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    return CreateObjectOf<C3DObjectDX81NormalTex, C3DObjectDX81NormalTex2, C3DObjectDX81Color,
                          C3DObjectDX81ColorTex>(flagsA, flagsB);
}

C3DObjectIndex* C3DEngineDX81::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    return CreateIndexBufferOf<C3DObjectIndex16DX81, C3DObjectIndex32DX81>(kind);
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
