#pragma once
#include "platform/d3d8/D3D8.h"

struct PALETTEENTRY;

// The four functions of the Direct3D 8 utility library the renderer uses.

class ID3DXBuffer : public ID3D8Unknown {
public:
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;

constexpr DWORD D3DX_FILTER_NONE = 1;
constexpr DWORD D3DX_FILTER_POINT = 2;
constexpr DWORD D3DX_FILTER_LINEAR = 3;
constexpr DWORD D3DX_FILTER_TRIANGLE = 4;
constexpr DWORD D3DX_FILTER_BOX = 5;
constexpr DWORD D3DX_FILTER_MIRROR_U = 0x00010000;
constexpr DWORD D3DX_FILTER_MIRROR_V = 0x00020000;
constexpr DWORD D3DX_FILTER_DITHER = 0x00080000;

// Sizes of 0 become 1 and sizes above the device's largest become the largest; levels of 0 or
// D3DX_DEFAULT make the whole chain down to 1 x 1.
HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture);

// Copies and converts between surfaces of any supported format, the back buffer included (read
// top-down whatever OpenGL stores). Different rectangle sizes are scaled: point sampling for
// D3DX_FILTER_POINT, area averaging when shrinking and bilinear when growing for the others.
// A colour key that is not 0 turns matching source pixels into transparent black. No format
// here has a palette, so the palette arguments are not used; dithering is not done.
HRESULT D3DXLoadSurfaceFromSurface(IDirect3DSurface8* destination, const PALETTEENTRY* destinationPalette,
                                   const RECT* destinationRect, IDirect3DSurface8* source,
                                   const PALETTEENTRY* sourcePalette, const RECT* sourceRect, DWORD filter,
                                   D3DCOLOR colorKey);

// Assembles ps.1.1 to ps.1.4 text into a token stream for IDirect3DDevice8::CreatePixelShader.
// Errors are listed, one line each as "(line): error: text", in the error buffer; the
// constants buffer is never made. The text is 8-bit; the file path is UTF-16.
HRESULT D3DXAssembleShader(const void* source, UINT length, DWORD flags, ID3DXBuffer** constants,
                           ID3DXBuffer** compiled, ID3DXBuffer** errors);
HRESULT D3DXAssembleShaderFromFileW(const char16_t* path, DWORD flags, ID3DXBuffer** constants,
                                    ID3DXBuffer** compiled, ID3DXBuffer** errors);
