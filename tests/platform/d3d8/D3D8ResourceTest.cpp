#include <cstring>

#include "platform/d3d8/D3DX8.h"
#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

class D3D8ResourceTest : public D3D8Test {
protected:
    void SetUp() override
    {
        D3D8Test::SetUp();
        if (!IsSkipped()) {
            ASSERT_EQ(MakeDevice(), D3D_OK);
        }
    }

    // A full-target quad with the texture on stage 0, colour from the texture.
    void DrawTextured(IDirect3DBaseTexture8* texture)
    {
        CD3D8ScreenVertex quad[] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                    {64, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                                    {0, 64, 0, 1, 0xFFFFFFFF, 0, 1},
                                    {64, 64, 0, 1, 0xFFFFFFFF, 1, 1}};
        m_device->BeginScene();
        m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
        m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        m_device->SetTexture(0, texture);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        m_device->SetVertexShader(kD3D8ScreenFvf);
        m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(CD3D8ScreenVertex));
        m_device->EndScene();
        m_device->SetTexture(0, nullptr);
    }
};

} // namespace

TEST_F(D3D8ResourceTest, BufferLocksHandOutTheSameMemoryWithItsContents)
{
    IDirect3DVertexBuffer8* vertices = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(96, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kD3D8ScreenFvf,
                                           D3DPOOL_SYSTEMMEM, &vertices),
              D3D_OK);
    BYTE* first = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &first, 0), D3D_OK);
    for (int i = 0; i < 96; ++i)
        first[i] = static_cast<BYTE>(i);
    ASSERT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3DERR_INVALIDCALL);
    BYTE* again = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &again, 0), D3D_OK);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again[95], 95);
    BYTE* inside = nullptr;
    ASSERT_EQ(vertices->Lock(28, 28, &inside, 0), D3D_OK);  // nested locks are counted
    EXPECT_EQ(inside, first + 28);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Lock(90, 8, &inside, 0), D3DERR_INVALIDCALL);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(vertices->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, 96u);
    EXPECT_EQ(desc.FVF, kD3D8ScreenFvf);
    EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
    vertices->Release();

    IDirect3DIndexBuffer8* indices = nullptr;
    EXPECT_EQ(m_device->CreateIndexBuffer(12, D3DUSAGE_DYNAMIC, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &indices),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateIndexBuffer(0, D3DUSAGE_DYNAMIC, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &indices),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateVertexBuffer(8, 0, kD3D8ScreenFvf, D3DPOOL_SYSTEMMEM, &vertices), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->CreateIndexBuffer(12, D3DUSAGE_DYNAMIC, D3DFMT_INDEX32, D3DPOOL_SYSTEMMEM, &indices), D3D_OK);
    BYTE* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
    DWORD values[3] = {7, 0x12345, 2};
    std::memcpy(data, values, sizeof(values));
    indices->Unlock();
    ASSERT_EQ(indices->Lock(4, 4, &data, 0), D3D_OK);
    DWORD second = 0;
    std::memcpy(&second, data, 4);
    EXPECT_EQ(second, 0x12345u);
    indices->Unlock();
    indices->Release();
}

TEST_F(D3D8ResourceTest, TextureLevelsHaveTightPitchesAndLockOnce)
{
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(6, 4, 0, 0, D3DFMT_A8L8, D3DPOOL_MANAGED, &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u);  // 6x4, 3x2, 1x1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(1, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A8L8);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 12);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    static_cast<BYTE*>(locked.pBits)[12 * 3 + 10] = 0x5A;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    RECT corner{5, 3, 6, 4};
    ASSERT_EQ(texture->LockRect(0, &locked, &corner, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<BYTE*>(locked.pBits)[0], 0x5A);
    texture->UnlockRect(0);
    RECT outside{4, 3, 7, 4};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(2), D3DERR_INVALIDCALL);
    texture->Release();

    ASSERT_EQ(m_device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &texture), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // default pool, not dynamic
    texture->Release();
    EXPECT_EQ(m_device->CreateTexture(4, 4, 4, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->CreateTexture(4, 4, 1, 0, D3DFMT_D24S8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
}

TEST_F(D3D8ResourceTest, CreateTextureUtilityFitsSizes)
{
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 0, 5000, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 4096u);
    texture->Release();
    D3DCAPS8 caps = D3D8OwnCaps(D3DDEVTYPE_HAL);
    caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    D3D8OverrideCaps(&caps);
    ReleaseDevice();
    ASSERT_EQ(MakeDevice(), D3D_OK);
    ASSERT_EQ(D3DXCreateTexture(m_device, 100, 64, D3DX_DEFAULT, 0, D3DFMT_A8L8, D3DPOOL_MANAGED, &texture), D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 128u);
    EXPECT_EQ(texture->GetLevelCount(), 8u);
    texture->Release();
    EXPECT_EQ(D3DXCreateTexture(nullptr, 4, 4, 1, 0, D3DFMT_A8L8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
}

TEST_F(D3D8ResourceTest, ResetKeepsManagedAndSystemMemoryResources)
{
    IDirect3DTexture8* texture = nullptr;
    IDirect3DVertexBuffer8* vertices = nullptr;
    ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    ASSERT_EQ(m_device->CreateVertexBuffer(4 * sizeof(CD3D8ScreenVertex), D3DUSAGE_WRITEONLY, kD3D8ScreenFvf,
                                           D3DPOOL_SYSTEMMEM, &vertices),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (int i = 0; i < 4; ++i)
        static_cast<D3DCOLOR*>(locked.pBits)[i] = 0xFF20A040;
    texture->UnlockRect(0);
    BYTE* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    CD3D8ScreenVertex quad[] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                {64, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                                {0, 64, 0, 1, 0xFFFFFFFF, 0, 1},
                                {64, 64, 0, 1, 0xFFFFFFFF, 1, 1}};
    std::memcpy(data, quad, sizeof(quad));
    vertices->Unlock();

    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    ASSERT_EQ(m_device->Reset(&parameters), D3D_OK);
    ASSERT_EQ(vertices->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(std::memcmp(data, quad, sizeof(quad)), 0);
    vertices->Unlock();

    m_device->BeginScene();
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetTexture(0, texture);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_device->SetVertexShader(kD3D8ScreenFvf);
    m_device->SetStreamSource(0, vertices, sizeof(CD3D8ScreenVertex));
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);  // runs past the buffer
    m_device->EndScene();
    EXPECT_EQ(Pixel(32, 32), 0xFF20A040u);
    m_device->SetTexture(0, nullptr);
    m_device->SetStreamSource(0, nullptr, 0);
    texture->Release();
    vertices->Release();
}

TEST_F(D3D8ResourceTest, IndexedDrawsAddTheBaseVertexAndCheckEveryIndex)
{
    std::vector<CD3D8ScreenVertex> vertices = {{0, 0, 0, 1, 0xFFFF0000, 0, 0},
                                               // the green quad starts at vertex 1
                                               {0, 0, 0, 1, 0xFF00FF00, 0, 0},
                                               {64, 0, 0, 1, 0xFF00FF00, 0, 0},
                                               {0, 64, 0, 1, 0xFF00FF00, 0, 0},
                                               {64, 64, 0, 1, 0xFF00FF00, 0, 0}};
    IDirect3DVertexBuffer8* buffer = nullptr;
    IDirect3DIndexBuffer8* indices = nullptr;
    UINT bytes = static_cast<UINT>(vertices.size() * sizeof(CD3D8ScreenVertex));
    ASSERT_EQ(m_device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, kD3D8ScreenFvf, D3DPOOL_SYSTEMMEM, &buffer),
              D3D_OK);
    ASSERT_EQ(m_device->CreateIndexBuffer(16, D3DUSAGE_DYNAMIC, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &indices), D3D_OK);
    BYTE* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    std::memcpy(data, vertices.data(), bytes);
    buffer->Unlock();
    WORD list[] = {9, 9, 0, 1, 2, 1, 3, 2};  // two unused entries first
    indices->Lock(0, 0, &data, 0);
    std::memcpy(data, list, sizeof(list));
    indices->Unlock();

    m_device->BeginScene();
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetVertexShader(kD3D8ScreenFvf);
    m_device->SetStreamSource(0, buffer, sizeof(CD3D8ScreenVertex));
    m_device->SetIndices(indices, 1);
    EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 2, 2), D3D_OK);
    EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 1), D3DERR_INVALIDCALL);  // index 9
    EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 4, 2), D3DERR_INVALIDCALL);  // past the end
    m_device->EndScene();
    EXPECT_EQ(Pixel(40, 20), 0xFF00FF00u);
    m_device->SetIndices(nullptr, 0);
    m_device->SetStreamSource(0, nullptr, 0);
    indices->Release();
    buffer->Release();
}

TEST_F(D3D8ResourceTest, DrawPrimitiveUPLeavesTheStreamUnset)
{
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, 0, 0, D3DPOOL_SYSTEMMEM, &buffer), D3D_OK);
    m_device->SetStreamSource(0, buffer, 28);
    EXPECT_EQ(buffer->Release(), 0u);  // the stream binding keeps it
    CD3D8ScreenVertex point{5, 5, 0, 1, 0xFFFFFFFF, 0, 0};
    m_device->BeginScene();
    m_device->SetVertexShader(kD3D8ScreenFvf);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(point)), D3D_OK);
    m_device->EndScene();
    IDirect3DVertexBuffer8* stream = reinterpret_cast<IDirect3DVertexBuffer8*>(1);
    UINT stride = 1;
    ASSERT_EQ(m_device->GetStreamSource(0, &stream, &stride), D3D_OK);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(stride, 0u);
    EXPECT_EQ(D3D8InspectDevice(m_device).liveResources, 0u);
}

TEST_F(D3D8ResourceTest, FrameCopyConvertsFlipsAndScales)
{
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    D3DRECT top{0, 0, 64, 16};
    m_device->Clear(1, &top, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    IDirect3DSurface8* target = nullptr;
    m_device->GetRenderTarget(&target);

    IDirect3DTexture8* luminance = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 32, 32, 1, 0, D3DFMT_A8L8, D3DPOOL_MANAGED, &luminance), D3D_OK);
    IDirect3DSurface8* level = nullptr;
    luminance->GetSurfaceLevel(0, &level);
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(level, nullptr, nullptr, target, nullptr, nullptr,
                                         D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, 0),
              D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(luminance->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const BYTE* bytes = static_cast<const BYTE*>(locked.pBits);
    EXPECT_EQ(bytes[0], 0xFF);                     // top row: white, as luminance
    EXPECT_EQ(bytes[1], 0xFF);                     // alpha of an opaque back buffer
    EXPECT_EQ(bytes[20 * locked.Pitch + 4], 0x00);  // lower rows black
    luminance->UnlockRect(0);

    // A colour key clears matching pixels to transparent black.
    IDirect3DTexture8* keyed = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &keyed), D3D_OK);
    IDirect3DSurface8* keyedLevel = nullptr;
    keyed->GetSurfaceLevel(0, &keyedLevel);
    RECT part{0, 8, 64, 24};
    RECT place{0, 0, 64, 16};
    ASSERT_EQ(D3DXLoadSurfaceFromSurface(keyedLevel, nullptr, &place, target, nullptr, &part, D3DX_FILTER_NONE,
                                         0xFFFFFFFF),
              D3D_OK);
    keyed->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    EXPECT_EQ(static_cast<D3DCOLOR*>(locked.pBits)[0], 0u);                       // was white
    EXPECT_EQ(static_cast<D3DCOLOR*>(locked.pBits)[64 * 12], 0xFF000000u);        // was black
    keyed->UnlockRect(0);
    RECT outside{0, 0, 65, 16};
    EXPECT_EQ(D3DXLoadSurfaceFromSurface(keyedLevel, nullptr, &outside, target, nullptr, nullptr, D3DX_FILTER_POINT, 0),
              D3DERR_INVALIDCALL);

    keyedLevel->Release();
    keyed->Release();
    level->Release();
    luminance->Release();
    target->Release();
}

TEST_F(D3D8ResourceTest, BackBufferLocksOnlyWhenLockableAndWritesBack)
{
    IDirect3DSurface8* target = nullptr;
    m_device->GetRenderTarget(&target);
    D3DLOCKED_RECT locked{};
    RECT pixel{3, 2, 4, 3};
    ASSERT_EQ(target->LockRect(&locked, &pixel, 0), D3D_OK);
    *static_cast<D3DCOLOR*>(locked.pBits) = 0xFF123456;
    EXPECT_EQ(target->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(target->UnlockRect(), D3D_OK);
    EXPECT_EQ(Pixel(3, 2), 0xFF123456u);
    target->Release();
    ReleaseDevice();

    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    parameters.Flags = 0;
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                       &m_device),
              D3D_OK);
    m_device->GetRenderTarget(&target);
    EXPECT_EQ(target->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3DERR_INVALIDCALL);
    target->Release();
}

TEST_F(D3D8ResourceTest, TextureRowsRunFromTheTop)
{
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device, 1, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    static_cast<D3DCOLOR*>(locked.pBits)[0] = 0x00FF0000;  // top: red (the unused byte is ignored)
    *reinterpret_cast<D3DCOLOR*>(static_cast<BYTE*>(locked.pBits) + locked.Pitch) = 0x000000FF;
    texture->UnlockRect(0);
    DrawTextured(texture);
    EXPECT_EQ(Pixel(32, 8), 0xFFFF0000u);
    EXPECT_EQ(Pixel(32, 56), 0xFF0000FFu);
    texture->Release();
}
