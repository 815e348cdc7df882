#include <GL/glew.h>

#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;

// Devices with a copy swap effect on the 64 x 64 window (the back buffer is the window's own) and
// on a larger window (an image of its own, stretched when presented).
class D3D8PresentTest : public D3D8Test, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        D3D8Test::SetUp();
        if (IsSkipped())
            return;
        if (!GetParam()) {
            ASSERT_TRUE(SetWindowPos(m_window, nullptr, 0, 0, 96, 80, SWP_NOMOVE | SWP_NOZORDER));
        }
        D3DPRESENT_PARAMETERS parameters = Windowed(D3D8Scenarios::kWidth, D3D8Scenarios::kHeight);
        parameters.SwapEffect = D3DSWAPEFFECT_COPY;
        ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                           &parameters, &m_device),
                  D3D_OK);
        ASSERT_EQ(D3D8InspectDevice(m_device).drawsOnWindow, GetParam());
        RECT client{};
        GetClientRect(m_window, &client);
        m_windowWidth = client.right;
        m_windowHeight = client.bottom;
    }

    // Red, green over blue, white.
    void ClearQuarters()
    {
        const D3DRECT quarters[] = {{0, 0, 32, 32}, {32, 0, 64, 32}, {0, 32, 32, 64}, {32, 32, 64, 64}};
        const D3DCOLOR colours[] = {kRed, kGreen, kBlue, kWhite};
        for (int i = 0; i < 4; ++i)
            m_device->Clear(1, &quarters[i], D3DCLEAR_TARGET, colours[i], 1.0f, 0);
    }

    // The window's pixel at fractions of its width and height from the top left, as presented
    // (the swap keeps the window's back buffer here).
    D3DCOLOR Shown(float x, float y)
    {
        unsigned char rgba[4] = {};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(static_cast<GLint>(x * static_cast<float>(m_windowWidth)),
                     m_windowHeight - 1 - static_cast<GLint>(y * static_cast<float>(m_windowHeight)), 1, 1, GL_RGBA,
                     GL_UNSIGNED_BYTE, rgba);
        return 0xFF000000u | (static_cast<D3DCOLOR>(rgba[0]) << 16) | (static_cast<D3DCOLOR>(rgba[1]) << 8) | rgba[2];
    }

    LONG m_windowWidth = 0;
    LONG m_windowHeight = 0;
};

} // namespace

TEST_P(D3D8PresentTest, TheWindowShowsTheImageUprightWholeOrInPart)
{
    ClearQuarters();
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Shown(0.25f, 0.25f), kRed);
    EXPECT_EQ(Shown(0.75f, 0.25f), kGreen);
    EXPECT_EQ(Shown(0.25f, 0.75f), kBlue);
    EXPECT_EQ(Shown(0.75f, 0.75f), kWhite);

    // The top half, stretched over the whole window.
    ClearQuarters();
    RECT top{0, 0, 64, 32};
    ASSERT_EQ(m_device->Present(&top, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Shown(0.25f, 0.9f), kRed);
    EXPECT_EQ(Shown(0.75f, 0.9f), kGreen);

    // Through an inverting gamma ramp.
    D3DGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i)
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<WORD>(65535 - i * 257);
    m_device->SetGammaRamp(0, &ramp);
    ClearQuarters();
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Shown(0.25f, 0.25f), 0xFF00FFFFu);
    EXPECT_EQ(Shown(0.75f, 0.75f), 0xFF000000u);
}

TEST_P(D3D8PresentTest, PixelsWrittenThroughALockReadBackInTheirRows)
{
    ClearQuarters();
    IDirect3DSurface8* target = nullptr;
    ASSERT_EQ(m_device->GetRenderTarget(&target), D3D_OK);
    D3DLOCKED_RECT locked{};
    RECT band{8, 4, 24, 6};  // two rows: blue then green
    ASSERT_EQ(target->LockRect(&locked, &band, 0), D3D_OK);
    for (int row = 0; row < 2; ++row) {
        auto* pixels = reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch);
        for (int x = 0; x < 16; ++x)
            pixels[x] = row == 0 ? kBlue : kGreen;
    }
    ASSERT_EQ(target->UnlockRect(), D3D_OK);
    target->Release();
    EXPECT_EQ(Pixel(8, 3), kRed);
    EXPECT_EQ(Pixel(8, 4), kBlue);
    EXPECT_EQ(Pixel(23, 5), kGreen);
    EXPECT_EQ(Pixel(24, 5), kRed);
    EXPECT_EQ(Pixel(40, 40), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Buffers, D3D8PresentTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "OnTheWindow" : "OffTheWindow");
                         });
