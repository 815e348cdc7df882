#include <GL/glew.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

constexpr D3DCOLOR kBlack = 0xFF000000;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr DWORD kClearAll = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;

int g_swapsWatched = 0;
void WatchSwap() { ++g_swapsWatched; }

// Frames of a textured quad over the left half of a cleared 64 x 64 back buffer, presented.
class D3D8RetainedFrameTest : public D3D8Test {
protected:
    void SetUp() override
    {
        D3D8Test::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(MakeDevice(), D3D_OK);
        ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_texture), D3D_OK);
        SetQuad(kRed);
        // The window's first exposure may come after the first frames: those run.
        for (int i = 0; i < 20 && Stats().retained == 0; ++i) {
            Frame();
            DrainQueue();
        }
        ASSERT_GT(Stats().retained, 0u);
        m_start = Stats();
        D3D8FillTexture2x2(m_texture, kRed);
    }

    void TearDown() override
    {
        if (m_texture)
            m_texture->Release();
        D3D8Test::TearDown();
    }

    void SetQuad(D3DCOLOR color)
    {
        CD3D8ScreenVertex quad[] = {{0, 0, 0.5f, 1, color, 0, 0},
                                    {32, 0, 0.5f, 1, color, 1, 0},
                                    {0, 64, 0.5f, 1, color, 0, 1},
                                    {32, 64, 0.5f, 1, color, 1, 1}};
        std::copy(std::begin(quad), std::end(quad), m_quad);
    }

    // The scene up to the draw: clear, states, texture; the colour comes from the texture.
    void BeginFrame(DWORD clearFlags = kClearAll)
    {
        m_device->BeginScene();
        m_device->Clear(0, nullptr, clearFlags, kBlack, 1.0f, 0);
        m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
        m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, m_colorOp);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        m_device->SetTexture(0, m_texture);
        m_device->SetVertexShader(kD3D8ScreenFvf);
    }

    void DrawQuad()
    {
        ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, m_quad, sizeof(CD3D8ScreenVertex)), D3D_OK);
    }

    void EndFrame()
    {
        m_device->EndScene();
        ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    void Frame()
    {
        BeginFrame();
        DrawQuad();
        EndFrame();
    }

    // The window's picture at fractions of its client area, as the last swap left it (the swap
    // keeps the window's back buffer here).
    D3DCOLOR Shown(float x, float y)
    {
        RECT client{};
        GetClientRect(m_window, &client);
        unsigned char rgba[4] = {};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(static_cast<GLint>(x * static_cast<float>(client.right)),
                     client.bottom - 1 - static_cast<GLint>(y * static_cast<float>(client.bottom)), 1, 1, GL_RGBA,
                     GL_UNSIGNED_BYTE, rgba);
        return 0xFF000000u | (static_cast<D3DCOLOR>(rgba[0]) << 16) | (static_cast<D3DCOLOR>(rgba[1]) << 8) | rgba[2];
    }

    CD3D8DeviceStats Stats() { return D3D8InspectDevice(m_device).stats; }

    // Runs the frame and expects it to reach OpenGL (or not) and the window to show the colour.
    void ExpectFrame(bool runs, D3DCOLOR left, const char* what)
    {
        SCOPED_TRACE(what);
        CD3D8DeviceStats before = Stats();
        Frame();
        CD3D8DeviceStats after = Stats();
        EXPECT_EQ(after.presents, before.presents + 1);
        EXPECT_EQ(after.draws, before.draws + (runs ? 1u : 0u));
        EXPECT_EQ(after.retained, before.retained + (runs ? 0u : 1u));
        EXPECT_TRUE(D3D8Scenarios::Near(Shown(0.25f, 0.5f), left)) << std::hex << Shown(0.25f, 0.5f);
        EXPECT_TRUE(D3D8Scenarios::Near(Shown(0.75f, 0.5f), kBlack)) << std::hex << Shown(0.75f, 0.5f);
    }

    IDirect3DTexture8* m_texture = nullptr;
    CD3D8ScreenVertex m_quad[4]{};
    DWORD m_colorOp = D3DTOP_SELECTARG1;
    CD3D8DeviceStats m_start{};
};

} // namespace

TEST_F(D3D8RetainedFrameTest, AFrameEqualToTheLastRunsOnceAndItsPictureStaysShown)
{
    ExpectFrame(true, kRed, "first");
    ExpectFrame(false, kRed, "again");
    ExpectFrame(false, kRed, "and again");
    CD3D8DeviceStats stats = Stats();
    EXPECT_EQ(stats.clears, m_start.clears + 1);
    EXPECT_EQ(stats.scenes, m_start.scenes + 3);
    DWORD op = 0;
    m_device->GetTextureStageState(0, D3DTSS_COLOROP, &op);
    EXPECT_EQ(op, static_cast<DWORD>(D3DTOP_SELECTARG1));
}

TEST_F(D3D8RetainedFrameTest, AnyChangeOfWhatTheFrameReadsRunsIt)
{
    ExpectFrame(true, kRed, "first");
    ExpectFrame(false, kRed, "equal");

    m_colorOp = D3DTOP_SELECTARG2;
    SetQuad(kGreen);
    ExpectFrame(true, kGreen, "a stage state and the user-pointer vertices");
    ExpectFrame(false, kGreen, "equal after the change");
    for (CD3D8ScreenVertex& vertex : m_quad)
        vertex.color = kBlue;  // the same memory, other content
    ExpectFrame(true, kBlue, "the vertices changed in place");

    m_colorOp = D3DTOP_SELECTARG1;
    ExpectFrame(true, kRed, "back to the texture");
    D3D8FillTexture2x2(m_texture, kBlue);
    ExpectFrame(true, kBlue, "the texture's content");
    ExpectFrame(false, kBlue, "equal after the texture");

    // A vertex buffer, changed between frames.
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(sizeof(m_quad), 0, kD3D8ScreenFvf, D3DPOOL_MANAGED, &buffer), D3D_OK);
    auto bufferFrame = [&](D3DCOLOR color, bool runs, const char* what) {
        SetQuad(color);
        BYTE* data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
        std::memcpy(data, m_quad, sizeof(m_quad));
        buffer->Unlock();
        CD3D8DeviceStats before = Stats();
        m_colorOp = D3DTOP_SELECTARG2;
        BeginFrame();
        m_device->SetStreamSource(0, buffer, sizeof(CD3D8ScreenVertex));
        m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        EndFrame();
        SCOPED_TRACE(what);
        EXPECT_EQ(Stats().draws, before.draws + (runs ? 1u : 0u));
        EXPECT_TRUE(D3D8Scenarios::Near(Shown(0.25f, 0.5f), color));
    };
    bufferFrame(kGreen, true, "from the buffer");
    bufferFrame(kGreen, false, "the buffer rewritten alike");
    bufferFrame(kBlue, true, "the buffer's content");
    m_device->SetStreamSource(0, nullptr, 0);
    buffer->Release();

    // Without a clear of every buffer the picture depends on the one before: it always runs.
    m_colorOp = D3DTOP_SELECTARG1;
    for (int i = 0; i < 2; ++i) {
        CD3D8DeviceStats before = Stats();
        BeginFrame(D3DCLEAR_TARGET);
        DrawQuad();
        EndFrame();
        EXPECT_EQ(Stats().draws, before.draws + 1);
    }
}

TEST_F(D3D8RetainedFrameTest, WhatReadsOrChangesTheRecordedWorkRunsItFirst)
{
    Frame();
    // The back buffer read before the frame is presented holds its draw.
    BeginFrame();
    DrawQuad();
    m_device->EndScene();
    EXPECT_TRUE(D3D8Scenarios::Near(Pixel(16, 32), kRed));
    EXPECT_TRUE(D3D8Scenarios::Near(Pixel(48, 32), kBlack));
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Stats().retained, m_start.retained) << "a frame read before its present is presented";

    // A texture written after a draw that read it: the draw saw the old content.
    BeginFrame();
    DrawQuad();
    D3D8FillTexture2x2(m_texture, kGreen);
    EndFrame();
    EXPECT_TRUE(D3D8Scenarios::Near(Shown(0.25f, 0.5f), kRed));
    ExpectFrame(true, kGreen, "the new content");

    // A texture gone after the draw that read it.
    IDirect3DTexture8* passing = nullptr;
    ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &passing), D3D_OK);
    D3D8FillTexture2x2(passing, kBlue);
    BeginFrame();
    m_device->SetTexture(0, passing);
    DrawQuad();
    m_device->SetTexture(0, nullptr);
    passing->Release();
    EndFrame();
    EXPECT_TRUE(D3D8Scenarios::Near(Shown(0.25f, 0.5f), kBlue));
}

TEST_F(D3D8RetainedFrameTest, AnExposedWindowOrAWatchedSwapGetsEveryFrame)
{
    ExpectFrame(true, kRed, "first");
    ExpectFrame(false, kRed, "equal");
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    SDL_PushEvent(&exposed);
    DrainQueue();
    ExpectFrame(true, kRed, "after the expose");
    ExpectFrame(false, kRed, "equal after the expose");

    SetBeforeSwapHook(WatchSwap);
    g_swapsWatched = 0;
    ExpectFrame(true, kRed, "watched");
    ExpectFrame(true, kRed, "watched again");
    EXPECT_EQ(g_swapsWatched, 2);
    SetBeforeSwapHook(nullptr);
    ExpectFrame(false, kRed, "unwatched");

    // A Reset leaves nothing to show again.
    D3DPRESENT_PARAMETERS parameters = Windowed(D3D8Scenarios::kWidth, D3D8Scenarios::kHeight);
    ASSERT_EQ(m_device->Reset(&parameters), D3D_OK);
    ExpectFrame(true, kRed, "after the reset");
    ExpectFrame(false, kRed, "equal after the reset");
}
