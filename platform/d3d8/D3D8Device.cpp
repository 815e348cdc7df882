#include "platform/d3d8/D3D8Device.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/d3d8/D3D8Formats.h"
#include "platform/d3d8/D3D8Object.h"
#include "platform/d3d8/D3D8Resources.h"
#include "platform/d3d8/D3D8Texture.h"
#include "platform/d3d8/D3D8Harness.h"
#include "platform/d3d8/D3D8VertexLayout.h"
#include "platform/win32/GLContext.h"
#include "platform/win32/Win32Window.h"

namespace {

bool HasStencil(D3DFORMAT format)
{
    return format == D3DFMT_D24S8 || format == D3DFMT_D15S1 || format == D3DFMT_D24X4S4;
}

HWND DeviceWindow(const D3DPRESENT_PARAMETERS& parameters, HWND focusWindow)
{
    return parameters.hDeviceWindow ? parameters.hDeviceWindow : focusWindow;
}

// Checks the present parameters as CreateDevice and Reset do and fills in what is left to the
// device: one back buffer when none is asked for, the window's size for a window of size 0.
HRESULT CheckPresentation(D3DPRESENT_PARAMETERS& parameters, HWND window, const D3DCAPS8& caps)
{
    if (!window || !IsWindow(window) || parameters.SwapEffect < D3DSWAPEFFECT_DISCARD ||
        parameters.SwapEffect > D3DSWAPEFFECT_COPY_VSYNC || parameters.MultiSampleType != D3DMULTISAMPLE_NONE)
        return D3DERR_INVALIDCALL;
    if (parameters.BackBufferCount == 0)
        parameters.BackBufferCount = 1;
    bool copies = parameters.SwapEffect == D3DSWAPEFFECT_COPY || parameters.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    if (parameters.BackBufferCount > 3 || (copies && parameters.BackBufferCount != 1))
        return D3DERR_INVALIDCALL;
    if (parameters.EnableAutoDepthStencil && !D3D8IsDepthFormat(parameters.AutoDepthStencilFormat))
        return D3DERR_INVALIDCALL;
    if (parameters.Windowed) {
        D3DDISPLAYMODE desktop{};
        if (!D3D8DesktopMode(desktop))
            return D3DERR_NOTAVAILABLE;
        if (parameters.FullScreen_RefreshRateInHz != 0 ||
            parameters.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_DEFAULT ||
            parameters.BackBufferFormat != desktop.Format)
            return D3DERR_INVALIDCALL;
        RECT client{};
        GetClientRect(window, &client);
        if (parameters.BackBufferWidth == 0)
            parameters.BackBufferWidth = client.right > 0 ? static_cast<UINT>(client.right) : 1;
        if (parameters.BackBufferHeight == 0)
            parameters.BackBufferHeight = client.bottom > 0 ? static_cast<UINT>(client.bottom) : 1;
    } else {
        UINT interval = parameters.FullScreen_PresentationInterval;
        bool intervalKnown = interval == D3DPRESENT_INTERVAL_DEFAULT || (interval & caps.PresentationIntervals) == interval;
        if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 ||
            !D3D8IsDisplayFormat(parameters.BackBufferFormat) || !intervalKnown)
            return D3DERR_INVALIDCALL;
    }
    if (parameters.BackBufferWidth > caps.MaxTextureWidth || parameters.BackBufferHeight > caps.MaxTextureHeight)
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

bool WaitsForVerticalBlank(const D3DPRESENT_PARAMETERS& parameters)
{
    if (parameters.Windowed)
        return parameters.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    return parameters.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
}

} // namespace

CD3D8Device::CD3D8Device(CD3D8& direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags, const D3DCAPS8& caps)
    : m_direct3D(direct3D), m_type(type), m_focusWindow(focusWindow), m_behaviourFlags(behaviourFlags), m_caps(caps),
      m_backBuffer(m_gl), m_renderTarget(*this)
{
    direct3D.AddRef();
    D3D8NameObject(this);
    for (WORD i = 0; i < 256; ++i)
        m_gamma.red[i] = m_gamma.green[i] = m_gamma.blue[i] = static_cast<WORD>(i * 257);
}

CD3D8Device::~CD3D8Device()
{
    // Without its window the context cannot be made current; OpenGL calls then go nowhere and
    // deleting the context frees what they would have freed.
    if (m_context.Exists() && !m_context.MakeCurrent())
        wglMakeCurrent(nullptr, nullptr);
    m_frame.Clear();
    DropBindings();
    m_recording.reset();
    m_stateBlocks.clear();
    m_renderer.reset();
    LeaveDisplayMode();
    D3D8ForgetObject(this);
    m_direct3D.Release();
}

HRESULT CD3D8Device::Create(CD3D8& direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                            D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps, CD3D8Device** device)
{
    auto* made = new (std::nothrow) CD3D8Device(direct3D, type, focusWindow, behaviourFlags, caps);
    if (!made)
        return E_OUTOFMEMORY;
    HRESULT result = made->Start(parameters);
    if (result < 0) {
        made->Release();
        return result;
    }
    *device = made;
    return D3D_OK;
}

HRESULT CD3D8Device::CreateBackBuffer(const D3DPRESENT_PARAMETERS& parameters, HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return m_backBuffer.Create(parameters.BackBufferWidth, parameters.BackBufferHeight, parameters.BackBufferFormat,
                               parameters.EnableAutoDepthStencil != FALSE, static_cast<UINT>(std::max<LONG>(client.right, 0)),
                               static_cast<UINT>(std::max<LONG>(client.bottom, 0)));
}

HRESULT CD3D8Device::Start(D3DPRESENT_PARAMETERS& parameters)
{
    D3DPRESENT_PARAMETERS checked = parameters;
    HWND window = DeviceWindow(checked, m_focusWindow);
    HRESULT result = CheckPresentation(checked, window, m_caps);
    if (result < 0)
        return result;
    result = m_context.Create(window);
    if (result < 0)
        return result;
    result = CreateBackBuffer(checked, window);
    if (result < 0)
        return result;
    m_renderer = std::make_unique<CD3D8Renderer>(m_context, m_gl, m_backBuffer, m_caps);
    m_presentation = checked;
    parameters = checked;
    ResetState();
    GLSetSwapInterval(WaitsForVerticalBlank(checked) ? 1 : 0);
    EnterDisplayMode();
    return D3D_OK;
}

ULONG CD3D8Device::Release()
{
    if (m_references == 0)
        return 0;
    ULONG left = --m_references;
    D3D8Record("IDirect3DDevice8::Release", {D3D8ObjectNumber(this)}, static_cast<HRESULT>(left));
    if (left == 0)
        delete this;
    return left;
}

void CD3D8Device::ResourceBorn(D3DPOOL pool)
{
    ++m_liveResources;
    if (pool == D3DPOOL_DEFAULT)
        ++m_defaultPoolResources;
}

void CD3D8Device::ResourceGone(D3DPOOL pool)
{
    --m_liveResources;
    if (pool == D3DPOOL_DEFAULT)
        --m_defaultPoolResources;
}

void CD3D8Device::DropBindings()
{
    for (IDirect3DBaseTexture8*& texture : m_state.textures) {
        D3D8DropBinding(texture);
        texture = nullptr;
    }
    D3D8DropBinding(m_state.streamSource);
    m_state.streamSource = nullptr;
    D3D8DropBinding(m_state.indices);
    m_state.indices = nullptr;
}

void CD3D8Device::ResetState()
{
    DropBindings();
    m_state.SetDefaults(m_presentation.BackBufferWidth, m_presentation.BackBufferHeight,
                        m_presentation.EnableAutoDepthStencil != FALSE,
                        (m_behaviourFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) != 0);
}

void CD3D8Device::EnterDisplayMode()
{
    if (m_presentation.Windowed)
        return;
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = m_presentation.BackBufferWidth;
    mode.dmPelsHeight = m_presentation.BackBufferHeight;
    mode.dmBitsPerPel = D3D8BytesPerPixel(m_presentation.BackBufferFormat) == 4 ? 32 : 16;
    m_displayModeSet = ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void CD3D8Device::LeaveDisplayMode()
{
    if (m_displayModeSet)
        ChangeDisplaySettingsW(nullptr, 0);
    m_displayModeSet = false;
}

// ---- Device and frame -------------------------------------------------------------------------

HRESULT CD3D8Device::TestCooperativeLevel()
{
    HRESULT result = D3D_OK;
    if (m_loss == D3D8Loss::Lost)
        result = D3DERR_DEVICELOST;
    else if (m_loss == D3D8Loss::NotReset)
        result = D3DERR_DEVICENOTRESET;
    return D3D8Record("IDirect3DDevice8::TestCooperativeLevel", {}, result);
}

HRESULT CD3D8Device::GetDeviceCaps(D3DCAPS8* caps)
{
    if (caps)
        *caps = m_caps;
    return D3D8Record("IDirect3DDevice8::GetDeviceCaps", {}, caps ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::Reset(D3DPRESENT_PARAMETERS* parameters)
{
    return D3D8Record("IDirect3DDevice8::Reset", {parameters ? 1u : 0u}, DoReset(parameters));
}

HRESULT CD3D8Device::DoReset(D3DPRESENT_PARAMETERS* parameters)
{
    if (!parameters)
        return D3DERR_INVALIDCALL;
    CD3D8Harness* harness = D3D8Harness();
    if (HRESULT failure = harness ? harness->NextResetResult(this) : D3D_OK; failure < 0) {
        SetLoss(failure == D3DERR_DEVICELOST ? D3D8Loss::Lost : D3D8Loss::NotReset);
        return failure;
    }
    if (m_loss == D3D8Loss::Lost)
        return D3DERR_DEVICELOST;
    if (m_defaultPoolResources > 0 || m_renderTarget.IsLocked())
        return D3DERR_INVALIDCALL;
    ExecuteRecorded();
    D3DPRESENT_PARAMETERS checked = *parameters;
    HWND window = DeviceWindow(checked, m_focusWindow);
    HRESULT result = CheckPresentation(checked, window, m_caps);
    if (result < 0)
        return result;
    if (m_context.MoveTo(window) < 0) {
        SetLoss(D3D8Loss::NotReset);
        return D3DERR_NOTAVAILABLE;
    }
    result = CreateBackBuffer(checked, window);
    if (result < 0) {
        SetLoss(D3D8Loss::NotReset);
        return result;
    }
    LeaveDisplayMode();
    m_presentation = checked;
    *parameters = checked;
    ResetState();
    m_backBuffer.SetGammaRamp(m_gamma.red, m_gamma.green, m_gamma.blue);
    GLSetSwapInterval(WaitsForVerticalBlank(checked) ? 1 : 0);
    EnterDisplayMode();
    m_inScene = false;
    SetLoss(D3D8Loss::None);
    ++m_stats.resets;
    return D3D_OK;
}

HRESULT CD3D8Device::BeginScene()
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (!m_inScene) {
        m_inScene = true;
        ++m_stats.scenes;
        result = D3D_OK;
    }
    return D3D8Record("IDirect3DDevice8::BeginScene", {}, result);
}

HRESULT CD3D8Device::EndScene()
{
    HRESULT result = m_inScene ? D3D_OK : D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D8Record("IDirect3DDevice8::EndScene", {}, result);
}

HRESULT CD3D8Device::Present(const RECT* source, const RECT* destination, HWND overrideWindow, const void* dirtyRegion)
{
    return D3D8Record("IDirect3DDevice8::Present",
                      {source ? 1u : 0u, destination ? 1u : 0u, overrideWindow ? 1u : 0u, dirtyRegion ? 1u : 0u},
                      DoPresent(source, destination, overrideWindow, dirtyRegion));
}

HRESULT CD3D8Device::DoPresent(const RECT* source, const RECT* destination, HWND overrideWindow, const void* dirtyRegion)
{
    if (m_loss != D3D8Loss::None) {
        FinishFrame(false);
        return D3DERR_DEVICELOST;
    }
    bool copies = m_presentation.SwapEffect == D3DSWAPEFFECT_COPY || m_presentation.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    if (m_inScene || overrideWindow || dirtyRegion || ((source || destination) && !copies))
        return D3DERR_INVALIDCALL;
    RECT client{};
    RECT from{};
    if (!GetClientRect(m_context.Window(), &client) || !D3D8SurfaceRect(source, m_backBuffer.Width(), m_backBuffer.Height(), from) ||
        !m_context.MakeCurrent())
        return D3DERR_INVALIDCALL;
    RECT to = destination ? *destination : client;
    ++m_stats.presents;
    if (ShowsRecordedFrameAgain(from, to, client)) {
        ++m_stats.retained;
        FinishFrame(true);
        return D3D_OK;
    }
    ExecuteRecorded();
    if (client.bottom > 0 && to.right > to.left && to.bottom > to.top)
        m_backBuffer.Present(from, to, static_cast<UINT>(client.right), static_cast<UINT>(client.bottom));
    m_context.SwapBuffers();
    m_shownRects = {from, to, client};
    FinishFrame(true);
    return D3D_OK;
}

// Equal to the frame shown, untouched outside its commands and none of them run yet: the window
// may keep its picture, when it still has it.
bool CD3D8Device::ShowsRecordedFrameAgain(const RECT& from, const RECT& to, const RECT& client)
{
    std::array<RECT, 3> rects{from, to, client};
    bool same = m_shownReproducible && !m_backBufferWritten && m_frame.Executed() == 0 && m_frame.StandsAlone() &&
                std::memcmp(rects.data(), m_shownRects.data(), sizeof(rects)) == 0 && m_frame.SameAs(m_shown);
    return same && m_context.KeepShownFrame();
}

// Ends the frame: a shown one becomes the frame the next is compared with; after one that was
// not shown there is nothing to compare with.
void CD3D8Device::FinishFrame(bool shown)
{
    if (!shown) {
        m_shownReproducible = false;
    } else if (m_frame.Executed() == m_frame.Commands().size()) {
        m_shownReproducible = !m_backBufferWritten && m_frame.StandsAlone();
        std::swap(m_frame, m_shown);
    }
    m_frame.Clear();
    m_backBufferWritten = false;
}

void CD3D8Device::SetLoss(D3D8Loss loss)
{
    m_loss = loss;
    m_shownReproducible = false;
}

void CD3D8Device::ExecuteRecorded()
{
    const std::vector<CD3D8FrameCommand>& commands = m_frame.Commands();
    for (size_t i = m_frame.Executed(); i < commands.size(); ++i)
        Execute(commands[i]);
    m_frame.MarkExecuted();
}

void CD3D8Device::BackBufferWritten()
{
    ExecuteRecorded();
    m_backBufferWritten = true;
}

void CD3D8Device::Execute(const CD3D8FrameCommand& command)
{
    if (!command.draw) {
        m_renderer->Clear(command.state, static_cast<DWORD>(command.rects.size()),
                          command.rects.empty() ? nullptr : command.rects.data(), command.flags, command.color,
                          D3D8BitsFloat(command.depthBits), command.stencil);
        ++m_stats.clears;
        return;
    }
    CD3D8DrawSource source{command.type,
                           command.primitiveCount,
                           command.vertexCount,
                           command.vertices.data(),
                           command.stride,
                           command.indices.empty() ? nullptr : command.indices.data(),
                           command.indexSize};
    auto shader = m_pixelShaders.find(command.state.pixelShader);
    if (m_renderer->Draw(command.state, source, shader == m_pixelShaders.end() ? nullptr : &shader->second) >= 0) {
        ++m_stats.draws;
        m_stats.primitives += command.primitiveCount;
    }
}

HRESULT CD3D8Device::GetRenderTarget(IDirect3DSurface8** surface)
{
    if (surface) {
        m_renderTarget.AddRef();
        *surface = &m_renderTarget;
    }
    return D3D8Record("IDirect3DDevice8::GetRenderTarget", {}, surface ? D3D_OK : D3DERR_INVALIDCALL);
}

HRESULT CD3D8Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil)
{
    return D3D8Record("IDirect3DDevice8::Clear", {count, flags, color, D3D8FloatBits(z), stencil},
                      DoClear(count, rects, flags, color, z, stencil));
}

HRESULT CD3D8Device::DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil)
{
    bool depth = m_backBuffer.HasDepthStencil();
    bool stencilBits = depth && HasStencil(m_presentation.AutoDepthStencilFormat);
    if ((count > 0 && !rects) || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) ||
        ((flags & D3DCLEAR_ZBUFFER) && !depth) || ((flags & D3DCLEAR_STENCIL) && !stencilBits))
        return D3DERR_INVALIDCALL;
    if (m_loss == D3D8Loss::None)
        RecordClear(count, rects, flags, color, z, stencil);
    return D3D_OK;
}

void CD3D8Device::RecordClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil)
{
    CD3D8FrameCommand command;
    command.state = m_state;
    if (rects)
        command.rects.assign(rects, rects + count);
    command.flags = flags;
    command.color = color;
    command.depthBits = D3D8FloatBits(z);
    command.stencil = stencil;
    const D3DVIEWPORT8& viewport = m_state.viewport;
    bool wholeViewport = viewport.X == 0 && viewport.Y == 0 && viewport.Width == m_backBuffer.Width() &&
                         viewport.Height == m_backBuffer.Height();
    bool depth = m_backBuffer.HasDepthStencil();
    bool stencilBits = depth && HasStencil(m_presentation.AutoDepthStencilFormat);
    command.wholeTarget = command.rects.empty() && wholeViewport && (flags & D3DCLEAR_TARGET) &&
                          (!depth || (flags & D3DCLEAR_ZBUFFER)) && (!stencilBits || (flags & D3DCLEAR_STENCIL));
    m_frame.Add(std::move(command));
}

void CD3D8Device::SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp)
{
    D3D8Record("IDirect3DDevice8::SetGammaRamp", {flags, ramp ? 1u : 0u}, D3D_OK);
    if (!ramp)
        return;
    ExecuteRecorded();
    m_shownReproducible = false;
    m_gamma = *ramp;
    if (m_context.MakeCurrent())
        m_backBuffer.SetGammaRamp(m_gamma.red, m_gamma.green, m_gamma.blue);
}

void CD3D8Device::GetGammaRamp(D3DGAMMARAMP* ramp)
{
    if (ramp)
        *ramp = m_gamma;
}

// ---- Resources --------------------------------------------------------------------------------

HRESULT CD3D8Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                   IDirect3DTexture8** texture)
{
    CD3D8Texture* made = nullptr;
    HRESULT result = CD3D8Texture::Create(*this, width, height, levels, usage, format, pool, &made);
    if (texture)
        *texture = made;
    return D3D8Record("IDirect3DDevice8::CreateTexture",
                      {width, height, levels, usage, format, pool, D3D8ObjectNumber(made)}, result);
}

HRESULT CD3D8Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                        IDirect3DVertexBuffer8** buffer)
{
    HRESULT result = D3DERR_INVALIDCALL;
    CD3D8VertexBuffer* made = nullptr;
    CD3D8VertexLayout layout(fvf);
    bool fits = fvf == 0 || (layout.valid && length >= layout.size);
    if (buffer && pool <= D3DPOOL_SYSTEMMEM && fits && !(pool == D3DPOOL_MANAGED && (usage & D3DUSAGE_DYNAMIC))) {
        made = new (std::nothrow) CD3D8VertexBuffer(*this, usage, fvf, pool);
        result = made ? made->Allocate(length) : E_OUTOFMEMORY;
        if (result < 0 && made) {
            made->Release();
            made = nullptr;
        }
    }
    if (buffer)
        *buffer = made;
    return D3D8Record("IDirect3DDevice8::CreateVertexBuffer", {length, usage, fvf, pool, D3D8ObjectNumber(made)}, result);
}

HRESULT CD3D8Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                       IDirect3DIndexBuffer8** buffer)
{
    HRESULT result = D3DERR_INVALIDCALL;
    CD3D8IndexBuffer* made = nullptr;
    bool knownFormat = format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32;
    if (buffer && pool <= D3DPOOL_SYSTEMMEM && knownFormat && !(pool == D3DPOOL_MANAGED && (usage & D3DUSAGE_DYNAMIC))) {
        made = new (std::nothrow) CD3D8IndexBuffer(*this, usage, format, pool);
        result = made ? made->Allocate(length) : E_OUTOFMEMORY;
        if (result < 0 && made) {
            made->Release();
            made = nullptr;
        }
    }
    if (buffer)
        *buffer = made;
    return D3D8Record("IDirect3DDevice8::CreateIndexBuffer", {length, usage, format, pool, D3D8ObjectNumber(made)},
                      result);
}

// ---- Drawing ----------------------------------------------------------------------------------

HRESULT CD3D8Device::CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT stride, UINT& vertexCount) const
{
    const CD3D8VertexLayout& layout = m_state.layout;
    vertexCount = D3D8VertexCount(type, primitiveCount);
    if (!m_inScene || vertexCount == 0 || primitiveCount > m_caps.MaxPrimitiveCount || !layout.valid ||
        stride < layout.size)
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT CD3D8Device::Draw(const CD3D8DrawSource& source, size_t vertexBytes)
{
    if (m_loss == D3D8Loss::None)
        RecordDraw(source, vertexBytes);
    return D3D_OK;
}

void CD3D8Device::RecordDraw(const CD3D8DrawSource& source, size_t vertexBytes)
{
    CD3D8FrameCommand command;
    command.draw = true;
    command.state = m_state;
    for (DWORD stage = 0; stage < D3D8_TEXTURE_STAGES; ++stage) {
        if (m_state.textures[stage])
            command.textureVersions[stage] = static_cast<CD3D8Texture*>(m_state.textures[stage])->Version();
    }
    command.type = source.type;
    command.primitiveCount = source.primitiveCount;
    command.vertexCount = source.vertexCount;
    command.stride = source.stride;
    command.indexSize = source.indexSize;
    command.vertices.assign(source.vertices, source.vertices + vertexBytes);
    if (source.indices) {
        const auto* indices = static_cast<const BYTE*>(source.indices);
        command.indices.assign(indices, indices + static_cast<size_t>(source.vertexCount) * source.indexSize);
    }
    m_frame.Add(std::move(command));
}

HRESULT CD3D8Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount)
{
    return D3D8Record("IDirect3DDevice8::DrawPrimitive", {type, startVertex, primitiveCount},
                      DoDrawPrimitive(type, startVertex, primitiveCount));
}

HRESULT CD3D8Device::DoDrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount)
{
    if (primitiveCount == 0)
        return D3D_OK;
    UINT vertexCount = 0;
    UINT stride = m_state.streamStride;
    HRESULT result = CheckDraw(type, primitiveCount, stride, vertexCount);
    auto* buffer = static_cast<CD3D8VertexBuffer*>(m_state.streamSource);
    if (result < 0 || !buffer)
        return D3DERR_INVALIDCALL;
    uint64_t end = (static_cast<uint64_t>(startVertex) + vertexCount - 1) * stride + m_state.layout.size;
    if (end > buffer->Length())
        return D3DERR_INVALIDCALL;
    CD3D8DrawSource source{type, primitiveCount, vertexCount, buffer->Data() + static_cast<size_t>(startVertex) * stride,
                           stride, nullptr, 0};
    return Draw(source, static_cast<size_t>(end - static_cast<uint64_t>(startVertex) * stride));
}

HRESULT CD3D8Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT startIndex,
                                          UINT primitiveCount)
{
    return D3D8Record("IDirect3DDevice8::DrawIndexedPrimitive", {type, minIndex, vertexCount, startIndex, primitiveCount},
                      DoDrawIndexedPrimitive(type, startIndex, primitiveCount));
}

HRESULT CD3D8Device::DoDrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT startIndex, UINT primitiveCount)
{
    if (primitiveCount == 0)
        return D3D_OK;
    UINT indexCount = 0;
    UINT stride = m_state.streamStride;
    HRESULT result = CheckDraw(type, primitiveCount, stride, indexCount);
    auto* buffer = static_cast<CD3D8VertexBuffer*>(m_state.streamSource);
    auto* indices = static_cast<CD3D8IndexBuffer*>(m_state.indices);
    if (result < 0 || !buffer || !indices || static_cast<uint64_t>(startIndex) + indexCount > indices->Count())
        return D3DERR_INVALIDCALL;
    UINT vertexSize = m_state.layout.size;
    uint64_t available = buffer->Length() >= vertexSize ? (buffer->Length() - vertexSize) / stride + 1 : 0;
    uint64_t base = m_state.baseVertexIndex;
    if (base + indices->Largest() >= available) {
        for (UINT i = 0; i < indexCount; ++i) {
            if (base + indices->Index(startIndex + i) >= available)
                return D3DERR_INVALIDCALL;
        }
    }
    CD3D8DrawSource source{type,
                           primitiveCount,
                           indexCount,
                           buffer->Data() + static_cast<size_t>(base) * stride,
                           stride,
                           indices->Data() + static_cast<size_t>(startIndex) * indices->IndexSize(),
                           indices->IndexSize()};
    // Up to the buffer's largest index: the range's own may lie anywhere below it.
    const uint64_t reach = uint64_t{indices->Largest()} * stride + vertexSize;
    return Draw(source, static_cast<size_t>(std::min(reach, buffer->Length() - base * stride)));
}

HRESULT CD3D8Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride)
{
    return D3D8Record("IDirect3DDevice8::DrawPrimitiveUP", {type, primitiveCount, vertices ? 1u : 0u, stride},
                      DoDrawPrimitiveUP(type, primitiveCount, vertices, stride));
}

HRESULT CD3D8Device::DoDrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride)
{
    if (primitiveCount == 0)
        return D3D_OK;
    UINT vertexCount = 0;
    HRESULT result = CheckDraw(type, primitiveCount, stride, vertexCount);
    if (result < 0 || !vertices)
        return D3DERR_INVALIDCALL;
    CD3D8DrawSource source{type, primitiveCount, vertexCount, static_cast<const BYTE*>(vertices), stride, nullptr, 0};
    result = Draw(source, static_cast<size_t>(vertexCount - 1) * stride + m_state.layout.size);
    PutStreamSource(nullptr, 0);
    return result;
}
