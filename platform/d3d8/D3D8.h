#pragma once
#include "platform/d3d8/D3D8Types.h"

// A Direct3D-8-shaped renderer interface drawing through OpenGL on the window's GL context
// (platform/GLContext.h). Interfaces are reference counted: every object handed out carries one
// reference for the caller, Release returns the references left. Resources hold a reference on
// their device, and the device on its Direct3D object, so the device's count is the caller's
// references plus one per live resource. What the device keeps bound (textures, stream source,
// indices, state blocks) keeps the object alive without showing in its count.
// Calls come from one thread. A harness may watch and steer them: platform/d3d8/D3D8Harness.h.
//
// Not done (the states are kept, drawing ignores them): vertex blending and tweening, texture
// transforms and generated texture coordinates, user clip planes, bump-mapping stage operations
// and premodulate, dithering, edge antialiasing, z bias, line patterns, patches, multisampling.
// One vertex stream, vertex shaders only as FVF codes, textures only as 2D textures.

class IDirect3DDevice8;

class ID3D8Unknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~ID3D8Unknown() = default;
};

class IDirect3DResource8 : public ID3D8Unknown {
public:
    virtual HRESULT GetDevice(IDirect3DDevice8** device) = 0;
    virtual D3DRESOURCETYPE GetType() = 0;
};

// A surface of a texture level or the back buffer; its references are its owner's.
class IDirect3DSurface8 : public ID3D8Unknown {
public:
    virtual HRESULT GetDevice(IDirect3DDevice8** device) = 0;
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    // The back buffer locks only with D3DPRESENTFLAG_LOCKABLE_BACKBUFFER; its rows come top-down.
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect() = 0;
};

class IDirect3DBaseTexture8 : public IDirect3DResource8 {
public:
    virtual DWORD GetLevelCount() = 0;
};

// Each level keeps its pixels in memory, rows top-down, pitch = width x bytes per pixel; the
// memory stays the same across locks, so contents survive every lock and Reset.
class IDirect3DTexture8 : public IDirect3DBaseTexture8 {
public:
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) = 0;
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
};

// Vertex and index data live in memory; a lock hands out the same memory every time.
class IDirect3DVertexBuffer8 : public IDirect3DResource8 {
public:
    virtual HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

class IDirect3DIndexBuffer8 : public IDirect3DResource8 {
public:
    virtual HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

class IDirect3DDevice8 : public ID3D8Unknown {
public:
    // Device and frame.
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) = 0;
    // Stretches the back buffer over the window's client area; rectangles need a copy swap effect.
    virtual HRESULT Present(const RECT* source, const RECT* destination, HWND overrideWindow,
                            const void* dirtyRegion) = 0;
    virtual HRESULT GetRenderTarget(IDirect3DSurface8** surface) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Clears the viewport rectangle (cut by the rectangles given), whatever the write masks say.
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) = 0;
    virtual void SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) = 0;
    virtual void GetGammaRamp(D3DGAMMARAMP* ramp) = 0;

    // Resources.
    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DTexture8** texture) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) = 0;
    virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DIndexBuffer8** buffer) = 0;

    // Fixed-function state.
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT8* viewport) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL8* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL8* material) = 0;
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT8* light) = 0;
    virtual HRESULT GetLight(DWORD index, D3DLIGHT8* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) = 0;
    virtual HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;

    // State blocks: between BeginStateBlock and EndStateBlock the setters only record.
    virtual HRESULT BeginStateBlock() = 0;
    virtual HRESULT EndStateBlock(DWORD* token) = 0;
    virtual HRESULT ApplyStateBlock(DWORD token) = 0;
    virtual HRESULT CaptureStateBlock(DWORD token) = 0;
    virtual HRESULT DeleteStateBlock(DWORD token) = 0;

    // Vertex input: the vertex shader is an FVF code; indices carry the base vertex index.
    virtual HRESULT SetVertexShader(DWORD handle) = 0;
    virtual HRESULT GetVertexShader(DWORD* handle) = 0;
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
    virtual HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) = 0;
    virtual HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) = 0;
    virtual HRESULT GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) = 0;

    // Pixel shaders from assembled ps.1.1 to ps.1.4 token streams (platform/D3DX8.h).
    virtual HRESULT CreatePixelShader(const DWORD* function, DWORD* handle) = 0;
    virtual HRESULT SetPixelShader(DWORD handle) = 0;
    virtual HRESULT GetPixelShader(DWORD* handle) = 0;
    virtual HRESULT DeletePixelShader(DWORD handle) = 0;

    // Drawing, between BeginScene and EndScene. DrawPrimitiveUP leaves stream 0 unset.
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT startIndex,
                                         UINT primitiveCount) = 0;
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                    UINT stride) = 0;
};

class IDirect3D8 : public ID3D8Unknown {
public:
    virtual UINT GetAdapterCount() = 0;
    virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
    virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) = 0;
    // Exactly one of the software, hardware and mixed vertex processing flags; the pure device
    // only with hardware processing. The present parameters get the values in force written back.
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice8** device) = 0;
};

// Null for any other SDK version, or when a test makes it fail.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);
