#include "tests/support/MemoryRenderer.h"

#include <gtest/gtest.h>

#include <new>

#include "engine3d/SystemMemoryStorage.h"
#include "tests/support/MemoryShaderShadow.h"
#include "tests/support/WorldDataDefaults.h"

CMemoryEngine::CMemoryEngine(CWorldData* data) : C3DEngine(data) {}

CMemoryEngine::~CMemoryEngine()
{
    delete m_pCamera;
}

CMemoryCamera* CMemoryEngine::Camera() const { return static_cast<CMemoryCamera*>(m_pCamera); }

Result CMemoryEngine::Load(WindowHandle window)
{
    if (!window) {
        m_pWorldData->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    if (m_failures.ShouldFail(MemoryOp::Load)) {
        m_pWorldData->lastError = RES_NO_DEVICE;
        return RES_NO_DEVICE;
    }
    delete m_pCamera;
    m_pCamera = new (std::nothrow) CMemoryCamera(m_pWorldData);
    if (!m_pCamera) {
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    if (Failed(m_pCamera->Init()))
        return RES_FAIL;
    return C3DEngine::Load(window);
}

Result CMemoryEngine::Unload()
{
    Result released = RES_OK;
    if (m_pCamera) {
        released = m_pCamera->Release();
        delete m_pCamera;
        m_pCamera = nullptr;
    }
    const Result unloaded = C3DEngine::Unload();
    return Failed(released) ? released : unloaded;
}

Result CMemoryEngine::Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen,
                           uint8_t colorBits, uint8_t restore)
{
    if (!window) {
        m_pWorldData->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    return C3DEngine::Init(window, width, height, fullscreen, colorBits, restore);
}

Result CMemoryEngine::LightInit(uint32_t index)
{
    m_lightInits.push_back(index);
    return RES_OK;
}

Result CMemoryEngine::PointSpriteInit()
{
    ++m_pointSpriteInits;
    return RES_OK;
}

Result CMemoryEngine::FogingInit()
{
    ++m_fogInits;
    return RES_OK;
}

Result CMemoryEngine::BeginFrame()
{
    if (m_failures.ShouldFail(MemoryOp::BeginFrame))
        return RES_FAIL;
    ++m_frames;
    Clear();
    m_device = MemoryDeviceState{};
    return RES_OK;
}

Result CMemoryEngine::EndFrame()
{
    if (m_failures.ShouldFail(MemoryOp::EndFrame))
        return RES_FAIL;
    ++m_presents;
    return RES_OK;
}

void CMemoryEngine::Clear() { ++m_clears; }

C3DObject* CMemoryEngine::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    if (!VertexLayoutForFlags(flagsA)) {
        m_pWorldData->lastError = RES_UNKNOWN_KIND;
        return nullptr;
    }
    if (m_failures.ShouldFail(MemoryOp::CreateObject)) {
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return nullptr;
    }
    return AdoptObject(new (std::nothrow) CMemoryObject(m_pWorldData, this), flagsA, flagsB);
}

C3DObjectIndex* CMemoryEngine::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    if ((kind != kIndexKind16 && kind != kIndexKind32) || m_failures.ShouldFail(MemoryOp::CreateIndexBuffer))
        return nullptr;
    return AdoptIndexBuffer(new (std::nothrow) CMemoryIndexBuffer(m_pWorldData, this, kind));
}

C3DTexture* CMemoryEngine::CreateTexture(uint32_t flags, uint32_t parameter)
{
    if (m_failures.ShouldFail(MemoryOp::CreateTexture))
        return nullptr;
    return AdoptTexture(new (std::nothrow) CMemoryTexture(m_pWorldData, this, flags, parameter));
}

C3DShader* CMemoryEngine::CreateShader(uint32_t flags, uint32_t)
{
    if (m_failures.ShouldFail(MemoryOp::CreateShader))
        return nullptr;
    return AdoptShader(new (std::nothrow) CMemoryShader(m_pWorldData), flags);
}

C3DStencilShadow* CMemoryEngine::CreateStencilShadow(uint32_t casterCount, uint32_t colour)
{
    if (m_failures.ShouldFail(MemoryOp::CreateStencilShadow))
        return nullptr;
    return AdoptStencilShadow(new (std::nothrow) CMemoryStencilShadow(m_pWorldData), casterCount, colour);
}

bool CMemoryEngine::IsStencilShadowSupported() { return m_stencilSupported; }

std::vector<MemoryDraw> CMemoryEngine::DrawsOf(const C3DObject* object) const
{
    std::vector<MemoryDraw> draws;
    for (const MemoryDraw& draw : m_draws) {
        if (draw.object == object)
            draws.push_back(draw);
    }
    return draws;
}

MemoryRenderer::MemoryRenderer() : m_data(std::make_unique<CWorldData>())
{
    CWorldData* d = m_data.get();
    SetDefaultWorld(d, &m_math, 1024, 768);
    m_engine = std::make_unique<CMemoryEngine>(d);
    EXPECT_EQ(m_engine->Load(Window()), RES_OK);
    EXPECT_EQ(m_engine->Init(Window(), d->configuredWidth, d->configuredHeight, 0, d->colorDepth, 0), RES_OK);
}

MemoryRenderer::~MemoryRenderer()
{
    Unload();
}

uint32_t MemoryRenderer::Unload()
{
    if (!m_unloaded) {
        EXPECT_EQ(m_engine->Unload(), RES_OK);
        m_unloaded = true;
    }
    return m_engine->LeakedLists();
}

WindowHandle MemoryRenderer::Window()
{
    static int standIn;
    return &standIn;
}
