// Draws 2,000 small textured quads a frame through the Direct3D 8 stand-in and the same quads
// through plain OpenGL, each on a window of its own, the two sides alternating round by round,
// and prints the median time per draw of each and their ratio: once with one texture for every
// quad, once with four textures taken in turn. A draw of the stand-in makes the calls a textured,
// translucent screen object makes for one part (its recorded state block, its object states, the
// camera's transforms, its own stream and indices, the texture's stage states); the plain side
// binds the texture, loads the matrix, points at the quad's own arrays and draws it. The time per draw is the time of a frame with
// the quads less that of the same frame without them, over 2,000.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/d3d8/D3D8.h"
#include "platform/win32/GLContext.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "tests/platform/d3d8/D3D8TestSupport.h"
#include "tests/support/Median.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kQuads = 2000;
constexpr int kTextures = 4;
constexpr int kTextureSide = 32;
constexpr float kQuadSide = 16.0f;
constexpr int kFrames = 10;
constexpr int kRounds = 9;
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct Vertex {
    float x, y, z;
    uint32_t colour;
    float u, v;
};

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

LRESULT BenchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND OpenWindow(const char16_t* title)
{
    HWND window = CreateWindowExW(0, u"BenchD3D8Draws", title, 0x06CA0000, 0, 0, kWidth, kHeight, GetDesktopWindow(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window)
        ShowWindow(window, SW_SHOW);
    return window;
}

// Row-major matrices: a translation, and the screen projection of pixels from the top left.
D3DMATRIX Translation(float x, float y)
{
    D3DMATRIX m{};
    m.m[0][0] = m.m[1][1] = m.m[2][2] = m.m[3][3] = 1.0f;
    m.m[3][0] = x;
    m.m[3][1] = y;
    return m;
}

D3DMATRIX ScreenProjection()
{
    D3DMATRIX m{};
    m.m[0][0] = 2.0f / kWidth;
    m.m[1][1] = -2.0f / kHeight;
    m.m[2][2] = 1.0f;
    m.m[3][0] = -1.0f;
    m.m[3][1] = 1.0f;
    m.m[3][3] = 1.0f;
    return m;
}

float QuadX(int i)
{
    return static_cast<float>((i * 37) % (kWidth - 16));
}

float QuadY(int i)
{
    return static_cast<float>((i * 53) % (kHeight - 16));
}

std::array<Vertex, 4> QuadVertices()
{
    return {{{0.0f, 0.0f, 0.0f, 0xFFFFFFFF, 0.0f, 0.0f},
             {kQuadSide, 0.0f, 0.0f, 0xFFFFFFFF, 1.0f, 0.0f},
             {0.0f, kQuadSide, 0.0f, 0xFFFFFFFF, 0.0f, 1.0f},
             {kQuadSide, kQuadSide, 0.0f, 0xFFFFFFFF, 1.0f, 1.0f}}};
}

constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 2, 1, 3};

std::vector<uint32_t> Texels(int t)
{
    std::vector<uint32_t> texels(kTextureSide * kTextureSide);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = 0x80000000u | (static_cast<uint32_t>(t * 60 + i) & 0xFFFFFF);
    return texels;
}

// The frame times of one side: with the quads and without them.
struct FrameTimes {
    double full = 0.0;
    double empty = 0.0;

    double PerDraw() const { return (full - empty) / kQuads; }
};

class D3D8Side {
public:
    bool Open()
    {
        m_window = OpenWindow(u"Direct3D 8 stand-in");
        m_direct3D = Direct3DCreate8(D3D_SDK_VERSION);
        if (!m_window || !m_direct3D)
            return false;
        D3DPRESENT_PARAMETERS parameters = D3D8WindowedParameters(m_direct3D, m_window, kWidth, kHeight);
        if (m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                     &m_device) < 0)
            return false;
        return MakeTextures() && MakeQuads();
    }

    void Close()
    {
        for (IDirect3DTexture8* texture : m_textures)
            texture->Release();
        for (IDirect3DVertexBuffer8* buffer : m_vertices)
            buffer->Release();
        for (IDirect3DIndexBuffer8* buffer : m_indices)
            buffer->Release();
        for (DWORD token : m_stateBlocks)
            m_device->DeleteStateBlock(token);
        if (m_device)
            m_device->Release();
        if (m_direct3D)
            m_direct3D->Release();
        if (m_window)
            DestroyWindow(m_window);
    }

    // Clears, draws the quads and waits for OpenGL to finish; answers the time taken.
    double Frame(int quads, int textures)
    {
        Clock::time_point start = Clock::now();
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF969696, 1.0f, 0);
        m_device->BeginScene();
        for (int i = 0; i < quads; ++i)
            DrawQuad(i, textures);
        m_device->EndScene();
        glFinish();
        double taken = Microseconds(Clock::now() - start);
        m_device->Present(nullptr, nullptr, nullptr, nullptr);
        return taken;
    }

private:
    bool MakeTextures()
    {
        for (int t = 0; t < kTextures; ++t) {
            IDirect3DTexture8* texture = nullptr;
            if (m_device->CreateTexture(kTextureSide, kTextureSide, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture) < 0)
                return false;
            m_textures.push_back(texture);
            D3DLOCKED_RECT locked{};
            if (texture->LockRect(0, &locked, nullptr, 0) < 0)
                return false;
            std::vector<uint32_t> texels = Texels(t);
            memcpy(locked.pBits, texels.data(), texels.size() * 4);
            texture->UnlockRect(0);
        }
        return true;
    }

    bool MakeQuads()
    {
        std::array<Vertex, 4> quad = QuadVertices();
        for (int i = 0; i < kQuads; ++i) {
            IDirect3DVertexBuffer8* vertices = nullptr;
            IDirect3DIndexBuffer8* indices = nullptr;
            BYTE* data = nullptr;
            if (m_device->CreateVertexBuffer(sizeof quad, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kFvf,
                                             D3DPOOL_SYSTEMMEM, &vertices) < 0 ||
                m_device->CreateIndexBuffer(sizeof kQuadIndices, D3DUSAGE_DYNAMIC, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                            &indices) < 0)
                return false;
            m_vertices.push_back(vertices);
            m_indices.push_back(indices);
            vertices->Lock(0, 0, &data, 0);
            memcpy(data, quad.data(), sizeof quad);
            vertices->Unlock();
            indices->Lock(0, 0, &data, 0);
            memcpy(data, kQuadIndices, sizeof kQuadIndices);
            indices->Unlock();
            m_worlds.push_back(Translation(QuadX(i), QuadY(i)));
            DWORD token = 0;
            m_device->BeginStateBlock();
            RecordObjectStates();
            if (m_device->EndStateBlock(&token) < 0)
                return false;
            m_stateBlocks.push_back(token);
        }
        m_projection = ScreenProjection();
        m_view = Translation(0.0f, 0.0f);
        return true;
    }

    // The states a textured, translucent screen object records once.
    void RecordObjectStates()
    {
        IDirect3DDevice8* d = m_device;
        for (DWORD s = 0; s < 2; ++s) {
            d->SetTexture(s, nullptr);
            d->LightEnable(s, FALSE);
            for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_COLOROP, D3DTSS_ALPHAOP})
                d->SetTextureStageState(s, type, D3DTOP_DISABLE);
            for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_COLORARG0, D3DTSS_COLORARG1, D3DTSS_COLORARG2,
                                                  D3DTSS_ALPHAARG0, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2})
                d->SetTextureStageState(s, type, D3DTA_CURRENT);
            for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_ADDRESSU, D3DTSS_ADDRESSV, D3DTSS_ADDRESSW})
                d->SetTextureStageState(s, type, D3DTADDRESS_WRAP);
            d->SetTextureStageState(s, D3DTSS_TEXCOORDINDEX, 0);
        }
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->LightEnable(0, FALSE);
        d->LightEnable(1, FALSE);
        d->LightEnable(2, FALSE);
        const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
            {D3DRS_FOGENABLE, FALSE}, {D3DRS_LIGHTING, FALSE}, {D3DRS_SPECULARENABLE, FALSE},
            {D3DRS_ZENABLE, D3DZB_FALSE}, {D3DRS_ZWRITEENABLE, FALSE}, {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
            {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_ALPHAREF, 1},
            {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}, {D3DRS_CLIPPING, TRUE}, {D3DRS_CLIPPLANEENABLE, 0},
            {D3DRS_STENCILENABLE, FALSE}, {D3DRS_VERTEXBLEND, 0}, {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
            {D3DRS_POINTSPRITEENABLE, FALSE}, {D3DRS_POINTSCALEENABLE, FALSE}, {D3DRS_AMBIENT, 0xFF404040},
            {D3DRS_SHADEMODE, D3DSHADE_GOURAUD}, {D3DRS_NORMALIZENORMALS, TRUE}, {D3DRS_DITHERENABLE, FALSE},
            {D3DRS_LOCALVIEWER, FALSE}, {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR2},
            {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2}, {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR2},
            {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR2}, {D3DRS_COLORVERTEX, TRUE},
        };
        for (const auto& state : states)
            d->SetRenderState(state.first, state.second);
    }

    void DrawQuad(int i, int textures)
    {
        IDirect3DDevice8* d = m_device;
        d->ApplyStateBlock(m_stateBlocks[static_cast<size_t>(i)]);
        d->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
        d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        d->SetRenderState(D3DRS_FOGENABLE, FALSE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
        d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        d->SetTransform(D3DTS_PROJECTION, &m_projection);
        d->SetTransform(D3DTS_VIEW, &m_view);
        d->SetTransform(D3DTS_WORLD, &m_worlds[static_cast<size_t>(i)]);
        d->SetStreamSource(0, m_vertices[static_cast<size_t>(i)], sizeof(Vertex));
        d->SetVertexShader(kFvf);
        d->SetPixelShader(0);
        d->SetTexture(0, nullptr);
        d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_CURRENT);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG0, D3DTA_CURRENT);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
        d->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
        d->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        d->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
        d->SetTexture(0, m_textures[static_cast<size_t>(i % textures)]);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetIndices(m_indices[static_cast<size_t>(i)], 0);
        d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2);
    }

    HWND m_window = nullptr;
    IDirect3D8* m_direct3D = nullptr;
    IDirect3DDevice8* m_device = nullptr;
    std::vector<IDirect3DTexture8*> m_textures;
    std::vector<IDirect3DVertexBuffer8*> m_vertices;
    std::vector<IDirect3DIndexBuffer8*> m_indices;
    std::vector<D3DMATRIX> m_worlds;
    std::vector<DWORD> m_stateBlocks;
    D3DMATRIX m_projection{};
    D3DMATRIX m_view{};
};

class OpenGLSide {
public:
    bool Open()
    {
        m_window = OpenWindow(u"Plain OpenGL");
        if (!m_window)
            return false;
        m_dc = GetDC(m_window);
        PIXELFORMATDESCRIPTOR wanted{};
        wanted.nSize = sizeof wanted;
        wanted.nVersion = 1;
        wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        wanted.cColorBits = 32;
        wanted.cDepthBits = 24;
        wanted.cStencilBits = 8;
        int format = m_dc ? ChoosePixelFormat(m_dc, &wanted) : 0;
        if (format == 0 || !SetPixelFormat(m_dc, format, &wanted))
            return false;
        m_context = wglCreateContext(m_dc);
        if (!m_context || !MakeCurrent())
            return false;
        glGenTextures(kTextures, m_textures.data());
        for (int t = 0; t < kTextures; ++t) {
            std::vector<uint32_t> texels = Texels(t);
            glBindTexture(GL_TEXTURE_2D, m_textures[static_cast<size_t>(t)]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kTextureSide, kTextureSide, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                         texels.data());
        }
        std::array<Vertex, 4> quad = QuadVertices();
        m_quads.assign(kQuads, quad);
        for (int i = 0; i < kQuads; ++i)
            m_worlds.push_back(Translation(QuadX(i), QuadY(i)));
        return true;
    }

    void Close()
    {
        if (m_context) {
            MakeCurrent();
            glDeleteTextures(kTextures, m_textures.data());
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(m_context);
        }
        if (m_window)
            DestroyWindow(m_window);
    }

    bool MakeCurrent() { return wglMakeCurrent(m_dc, m_context) != FALSE; }

    double Frame(int quads, int textures)
    {
        Clock::time_point start = Clock::now();
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(150 / 255.0f, 150 / 255.0f, 150 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, kWidth, kHeight, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        for (int i = 0; i < quads; ++i) {
            const Vertex* quad = m_quads[static_cast<size_t>(i)].data();
            glBindTexture(GL_TEXTURE_2D, m_textures[static_cast<size_t>(i % textures)]);
            glLoadMatrixf(&m_worlds[static_cast<size_t>(i)].m[0][0]);
            glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &quad->x);
            glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &quad->colour);
            glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &quad->u);
            glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, kQuadIndices);
        }
        glFinish();
        double taken = Microseconds(Clock::now() - start);
        SwapBuffers(m_dc);
        return taken;
    }

private:
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
    HGLRC m_context = nullptr;
    std::array<GLuint, kTextures> m_textures{};
    std::vector<std::array<Vertex, 4>> m_quads;
    std::vector<D3DMATRIX> m_worlds;
};

// The median frame times over a few frames, with and without the quads.
template <class Side>
FrameTimes Measure(Side& side, int textures)
{
    std::vector<double> full;
    std::vector<double> empty;
    for (int frame = 0; frame < kFrames; ++frame) {
        full.push_back(side.Frame(kQuads, textures));
        empty.push_back(side.Frame(0, textures));
    }
    std::sort(full.begin(), full.end());
    std::sort(empty.begin(), empty.end());
    return FrameTimes{full[full.size() / 2], empty[empty.size() / 2]};
}

} // namespace

int main()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BenchProc;
    windowClass.lpszClassName = u"BenchD3D8Draws";
    RegisterClassW(&windowClass);
    D3D8Side stand;
    OpenGLSide plain;
    if (!stand.Open() || !plain.Open()) {
        std::fprintf(stderr, "cannot open the two sides (is there a display?)\n");
        return 1;
    }
    // Warm up both: the programs of the stand-in are made at the first draws.
    plain.MakeCurrent();
    plain.Frame(kQuads, kTextures);
    stand.Frame(kQuads, kTextures);
    for (int textures : {1, kTextures}) {
        std::vector<double> standDraws;
        std::vector<double> plainDraws;
        for (int round = 0; round < kRounds; ++round) {
            FrameTimes standTimes = Measure(stand, textures);
            plain.MakeCurrent();
            FrameTimes plainTimes = Measure(plain, textures);
            standDraws.push_back(standTimes.PerDraw());
            plainDraws.push_back(plainTimes.PerDraw());
            std::printf("%d texture(s), round %d: stand-in %.2f us/draw (frame %.0f us, empty %.0f us), plain "
                        "OpenGL %.2f us/draw (frame %.0f us, empty %.0f us)\n",
                        textures, round + 1, standTimes.PerDraw(), standTimes.full, standTimes.empty,
                        plainTimes.PerDraw(), plainTimes.full, plainTimes.empty);
        }
        std::printf("%d texture(s), per draw, medians of %d rounds: stand-in %.2f us, plain OpenGL %.2f us, "
                    "ratio %.2f\n",
                    textures, kRounds, Median(standDraws), Median(plainDraws),
                    Median(standDraws) / Median(plainDraws));
    }
    plain.Close();
    stand.Close();
    UnregisterClassW(u"BenchD3D8Draws", GetModuleHandleW(nullptr));
    PlatformShutdown();
    return 0;
}
