#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "tests/support/MemoryDrawLog.h"
#include "tests/support/MemoryObject.h"
#include "tests/support/MemoryTexture.h"

// What the memory renderer's device holds between draws.
struct MemoryDeviceState {
    MemoryCull cull = MemoryCull::None;
    std::array<const C3DTexture*, 2> stages{nullptr, nullptr};
};

// A 3D engine that keeps everything in system memory and draws nothing: every draw of a
// primitive group goes into a draw log, every engine, camera and device call is counted, and
// chosen creations or loads can be made to fail. Misuses that would break a real renderer
// (writes outside Lock, draws while locked, parts naming no record) are collected as texts.
class CMemoryEngine : public C3DEngine {
public:
    explicit CMemoryEngine(CWorldData* data);
    ~CMemoryEngine() override;

    // Null window: last error and RES_NO_WINDOW. Makes the camera.
    Result Load(WindowHandle window) override;
    // Deletes the camera, then the base unload.
    Result Unload() override;
    Result Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                uint8_t restore) override;
    Result LightInit(uint32_t index) override;
    Result PointSpriteInit() override;
    Result FogingInit() override;
    Result BeginFrame() override;
    Result EndFrame() override;
    void Clear() override;
    C3DObject* CreateObject(uint32_t flagsA, uint32_t flagsB) override;
    C3DObjectIndex* CreateIndexBuffer(uint32_t count, uint32_t kind) override;
    C3DTexture* CreateTexture(uint32_t flags, uint32_t parameter) override;
    C3DShader* CreateShader(uint32_t flags, uint32_t parameter) override;
    C3DStencilShadow* CreateStencilShadow(uint32_t casterCount, uint32_t colour) override;
    bool IsStencilShadowSupported() override;

    // The draw log, oldest first.
    const std::vector<MemoryDraw>& Draws() const { return m_draws; }
    std::vector<MemoryDraw> DrawsOf(const C3DObject* object) const;
    void ClearDraws() { m_draws.clear(); }
    void RecordDraw(const MemoryDraw& draw) { m_draws.push_back(draw); }

    CMemoryFailures& Failures() { return m_failures; }
    MemoryDeviceState& Device() { return m_device; }
    CMemoryCamera* Camera() const;

    const std::vector<std::string>& Misuses() const { return m_misuses; }
    void ClearMisuses() { m_misuses.clear(); }
    void ReportMisuse(const std::string& what) { m_misuses.push_back(what); }

    // With decoding on, texture loads go through the texture base's image loaders.
    void SetDecodeImages(bool decode) { m_decodeImages = decode; }
    bool DecodesImages() const { return m_decodeImages; }
    void SetStencilShadowSupported(bool supported) { m_stencilSupported = supported; }

    uint32_t FrameCount() const { return m_frames; }
    uint32_t PresentCount() const { return m_presents; }
    uint32_t ClearCount() const { return m_clears; }
    uint32_t FogInitCount() const { return m_fogInits; }
    uint32_t PointSpriteInitCount() const { return m_pointSpriteInits; }
    // Light indices in the order LightInit received them.
    const std::vector<uint32_t>& LightInits() const { return m_lightInits; }

private:
    std::vector<MemoryDraw> m_draws;
    std::vector<std::string> m_misuses;
    std::vector<uint32_t> m_lightInits;
    CMemoryFailures m_failures;
    MemoryDeviceState m_device;
    bool m_decodeImages = false;
    bool m_stencilSupported = true;
    uint32_t m_frames = 0;
    uint32_t m_presents = 0;
    uint32_t m_clears = 0;
    uint32_t m_fogInits = 0;
    uint32_t m_pointSpriteInits = 0;
};

// A ready memory renderer for tests: a zeroed engine data block with the settings the engine
// reads (1024 x 768 virtual screen, scale 1, no data-root prefix, point sprites 1 to 64, the
// math helper), and a memory engine loaded and initialised on a stand-in window. The
// destructor unloads the engine when the test did not.
class MemoryRenderer {
public:
    MemoryRenderer();
    ~MemoryRenderer();
    MemoryRenderer(const MemoryRenderer&) = delete;
    MemoryRenderer& operator=(const MemoryRenderer&) = delete;

    CWorldData* Data() const { return m_data.get(); }
    CMemoryEngine* Engine() const { return m_engine.get(); }
    CMath3D* Math() { return &m_math; }

    // Unloads the engine (once) and answers the EngineList bits of the lists that still held
    // entries: 0 when the test destroyed everything it made.
    uint32_t Unload();

    static WindowHandle Window();

private:
    CMath3D m_math;
    std::unique_ptr<CWorldData> m_data;
    std::unique_ptr<CMemoryEngine> m_engine;
    bool m_unloaded = false;
};
