#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/d3d8/D3D8.h"
#include "platform/d3d8/D3D8BackBuffer.h"
#include "platform/d3d8/D3D8DeviceStats.h"
#include "platform/d3d8/D3D8FrameRecord.h"
#include "platform/d3d8/D3D8GLContext.h"
#include "platform/d3d8/D3D8GLState.h"
#include "platform/d3d8/D3D8Renderer.h"
#include "platform/d3d8/D3D8State.h"
#include "platform/d3d8/D3D8StateBlock.h"
#include "platform/d3d8/D3D8Surfaces.h"
#include "platform/d3d8/D3D8Harness.h"

class CD3D8;

// The device: checks every call as Direct3D 8 does, keeps the state, and hands drawing to the
// OpenGL renderer on its own context.
class CD3D8Device final : public IDirect3DDevice8, private CD3D8StateSink {
public:
    static HRESULT Create(CD3D8& direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                          D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps, CD3D8Device** device);

    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* destination, HWND overrideWindow, const void* dirtyRegion) override;
    HRESULT GetRenderTarget(IDirect3DSurface8** surface) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    void SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) override;
    void GetGammaRamp(D3DGAMMARAMP* ramp) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer8** buffer) override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT GetMaterial(D3DMATERIAL8* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT8* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;

    HRESULT BeginStateBlock() override;
    HRESULT EndStateBlock(DWORD* token) override;
    HRESULT ApplyStateBlock(DWORD token) override;
    HRESULT CaptureStateBlock(DWORD token) override;
    HRESULT DeleteStateBlock(DWORD token) override;

    HRESULT SetVertexShader(DWORD handle) override;
    HRESULT GetVertexShader(DWORD* handle) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override;
    HRESULT GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) override;

    HRESULT CreatePixelShader(const DWORD* function, DWORD* handle) override;
    HRESULT SetPixelShader(DWORD handle) override;
    HRESULT GetPixelShader(DWORD* handle) override;
    HRESULT DeletePixelShader(DWORD handle) override;

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT startIndex,
                                 UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) override;

    // For the resources and the utility functions.
    void ResourceBorn(D3DPOOL pool);
    void ResourceGone(D3DPOOL pool);
    bool MakeCurrent() { return m_context.MakeCurrent(); }
    CD3D8GLState& GL() { return m_gl; }
    CD3D8BackBuffer& BackBuffer() { return m_backBuffer; }
    const D3DCAPS8& Caps() const { return m_caps; }
    const D3DPRESENT_PARAMETERS& Presentation() const { return m_presentation; }
    const CD3D8State& State() const { return m_state; }
    void SetLoss(D3D8Loss loss);
    // Runs the clears and draws recorded so far: before anything reads the back buffer or
    // changes what they read.
    void ExecuteRecorded();
    // The back buffer is about to be written outside the recorded work.
    void BackBufferWritten();

private:
    friend class CD3D8DeviceView;  // a harness's read-only view of the device


    CD3D8Device(CD3D8& direct3D, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags, const D3DCAPS8& caps);
    ~CD3D8Device() override;

    HRESULT Start(D3DPRESENT_PARAMETERS& parameters);
    HRESULT CreateBackBuffer(const D3DPRESENT_PARAMETERS& parameters, HWND window);
    HRESULT DoReset(D3DPRESENT_PARAMETERS* parameters);
    HRESULT DoPresent(const RECT* source, const RECT* destination, HWND overrideWindow, const void* dirtyRegion);
    HRESULT DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
    HRESULT DoCreatePixelShader(const DWORD* function, DWORD* handle);
    HRESULT CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT stride, UINT& vertexCount) const;
    HRESULT DoDrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount);
    HRESULT DoDrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT startIndex, UINT primitiveCount);
    HRESULT DoDrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride);
    // Records the draw, with the vertex bytes it reads from source.vertices.
    HRESULT Draw(const CD3D8DrawSource& source, size_t vertexBytes);
    void RecordClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
    void RecordDraw(const CD3D8DrawSource& source, size_t vertexBytes);
    void Execute(const CD3D8FrameCommand& command);
    bool ShowsRecordedFrameAgain(const RECT& from, const RECT& to, const RECT& client);
    void FinishFrame(bool shown);
    void ResetState();
    void DropBindings();
    void EnterDisplayMode();
    void LeaveDisplayMode();
    bool IsPure() const { return (m_behaviourFlags & D3DCREATE_PUREDEVICE) != 0; }

    void PutRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    void PutStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    void PutTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    void PutTransform(DWORD state, const D3DMATRIX& matrix) override;
    void PutLight(DWORD index, const D3DLIGHT8& light) override;
    void PutLightEnable(DWORD index, bool enable) override;
    void PutMaterial(const D3DMATERIAL8& material) override;
    void PutViewport(const D3DVIEWPORT8& viewport) override;
    void PutStreamSource(IDirect3DVertexBuffer8* buffer, UINT stride) override;
    void PutIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override;
    void PutVertexShader(DWORD handle) override;
    void PutPixelShader(DWORD handle) override;

    CD3D8& m_direct3D;
    ULONG m_references = 1;
    D3DDEVTYPE m_type;
    HWND m_focusWindow;
    DWORD m_behaviourFlags;
    D3DCAPS8 m_caps;
    D3DPRESENT_PARAMETERS m_presentation{};
    CD3D8GLContext m_context;
    CD3D8GLState m_gl;
    CD3D8BackBuffer m_backBuffer;
    std::unique_ptr<CD3D8Renderer> m_renderer;
    CD3D8BackBufferSurface m_renderTarget;
    CD3D8State m_state{};
    D3DGAMMARAMP m_gamma{};
    std::map<DWORD, std::unique_ptr<CD3D8StateBlock>> m_stateBlocks;
    std::unique_ptr<CD3D8StateBlock> m_recording;
    DWORD m_nextStateBlock = 1;
    std::map<DWORD, CD3D8PixelShader> m_pixelShaders;
    DWORD m_nextPixelShader = 1;
    bool m_inScene = false;
    bool m_displayModeSet = false;
    D3D8Loss m_loss = D3D8Loss::None;
    UINT m_liveResources = 0;
    UINT m_defaultPoolResources = 0;
    CD3D8DeviceStats m_stats{};
    // The frame being recorded and the last one presented, with the rectangles it was shown by.
    // A frame equal to the one shown, whose picture stands on its commands alone, is not run again.
    CD3D8FrameRecord m_frame;
    CD3D8FrameRecord m_shown;
    std::array<RECT, 3> m_shownRects{};
    bool m_shownReproducible = false;  // the picture shown is what m_shown's commands make
    bool m_backBufferWritten = false;  // in this frame, outside its commands
};
