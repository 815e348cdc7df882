#pragma once
#include <cstdint>

#include "engine3d/Engine.h"

// A 3D engine for the tools: objects and index buffers keep their data in system memory and
// draw nothing; there are no textures, shaders or shadows. Enough to read a font and use its
// tables.
class CNullEngine : public C3DEngine {
public:
    explicit CNullEngine(CWorldData* data) : C3DEngine(data) {}
    ~CNullEngine() override { IgnoreResult(Unload()); }

    Result LightInit(uint32_t) override { return RES_OK; }
    Result PointSpriteInit() override { return RES_OK; }
    Result FogingInit() override { return RES_OK; }
    C3DObject* CreateObject(uint32_t flagsA, uint32_t flagsB) override;
    C3DObjectIndex* CreateIndexBuffer(uint32_t count, uint32_t kind) override;
    C3DTexture* CreateTexture(uint32_t, uint32_t) override { return nullptr; }
    C3DShader* CreateShader(uint32_t, uint32_t) override { return nullptr; }
    C3DStencilShadow* CreateStencilShadow(uint32_t, uint32_t) override { return nullptr; }
    bool IsStencilShadowSupported() override { return false; }
};
