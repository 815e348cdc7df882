#include "platform/d3d8/D3D8Formats.h"

#include <cstring>

namespace {

struct CFormatRow {
    D3DFORMAT format;
    UINT bytes;
    bool texture;
    bool display;
    bool alpha;
};

constexpr CFormatRow kFormats[] = {
    {D3DFMT_A8R8G8B8, 4, true, true, true},   {D3DFMT_X8R8G8B8, 4, true, true, false},
    {D3DFMT_R8G8B8, 3, false, false, false},  {D3DFMT_R5G6B5, 2, true, true, false},
    {D3DFMT_X1R5G5B5, 2, true, true, false},  {D3DFMT_A1R5G5B5, 2, true, true, true},
    {D3DFMT_A4R4G4B4, 2, true, false, true},  {D3DFMT_A8, 1, true, false, true},
    {D3DFMT_L8, 1, true, false, false},       {D3DFMT_A8L8, 2, true, false, true},
};

const CFormatRow* Find(D3DFORMAT format)
{
    for (const CFormatRow& row : kFormats) {
        if (row.format == format)
            return &row;
    }
    return nullptr;
}

DWORD Widen(DWORD value, int bits)
{
    // Repeats the high bits into the low ones, so the largest value becomes 255.
    DWORD shifted = value << (8 - bits);
    return shifted | (shifted >> bits);
}

DWORD Narrow(DWORD value, int bits)
{
    DWORD top = (1u << bits) - 1;
    return (value * top + 127) / 255;
}

DWORD Luminance(D3DCOLOR color)
{
    DWORD red = (color >> 16) & 0xFF;
    DWORD green = (color >> 8) & 0xFF;
    DWORD blue = color & 0xFF;
    return (red * 2125 + green * 7154 + blue * 721 + 5000) / 10000;
}

WORD Load16(const BYTE* pixel)
{
    return static_cast<WORD>(pixel[0] | (pixel[1] << 8));
}

void Store16(BYTE* pixel, DWORD value)
{
    pixel[0] = static_cast<BYTE>(value & 0xFF);
    pixel[1] = static_cast<BYTE>((value >> 8) & 0xFF);
}

D3DCOLOR Read555(WORD value, bool alpha)
{
    DWORD a = alpha ? ((value & 0x8000) ? 255u : 0u) : 255u;
    return D3DCOLOR_ARGB(a, Widen((value >> 10) & 31, 5), Widen((value >> 5) & 31, 5), Widen(value & 31, 5));
}

} // namespace

UINT D3D8BytesPerPixel(D3DFORMAT format)
{
    const CFormatRow* row = Find(format);
    return row ? row->bytes : 0;
}

bool D3D8IsTextureFormat(D3DFORMAT format)
{
    const CFormatRow* row = Find(format);
    return row && row->texture;
}

bool D3D8IsDisplayFormat(D3DFORMAT format)
{
    const CFormatRow* row = Find(format);
    return row && row->display;
}

bool D3D8IsDepthFormat(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D16:
    case D3DFMT_D15S1:
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D32:
        return true;
    default:
        return false;
    }
}

bool D3D8HasAlpha(D3DFORMAT format)
{
    const CFormatRow* row = Find(format);
    return row && row->alpha;
}

D3DCOLOR D3D8ReadPixel(D3DFORMAT format, const BYTE* pixel)
{
    switch (format) {
    case D3DFMT_A8R8G8B8: {
        DWORD value;
        std::memcpy(&value, pixel, 4);
        return value;
    }
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R8G8B8:
        return D3DCOLOR_ARGB(255, pixel[2], pixel[1], pixel[0]);
    case D3DFMT_R5G6B5: {
        WORD value = Load16(pixel);
        return D3DCOLOR_ARGB(255, Widen(value >> 11, 5), Widen((value >> 5) & 63, 6), Widen(value & 31, 5));
    }
    case D3DFMT_X1R5G5B5:
        return Read555(Load16(pixel), false);
    case D3DFMT_A1R5G5B5:
        return Read555(Load16(pixel), true);
    case D3DFMT_A4R4G4B4: {
        WORD value = Load16(pixel);
        return D3DCOLOR_ARGB(((value >> 12) & 15) * 17, ((value >> 8) & 15) * 17, ((value >> 4) & 15) * 17,
                             (value & 15) * 17);
    }
    case D3DFMT_A8:
        return static_cast<D3DCOLOR>(pixel[0]) << 24;
    case D3DFMT_L8:
        return D3DCOLOR_ARGB(255, pixel[0], pixel[0], pixel[0]);
    case D3DFMT_A8L8:
        return D3DCOLOR_ARGB(pixel[1], pixel[0], pixel[0], pixel[0]);
    default:
        return 0;
    }
}

void D3D8WritePixel(D3DFORMAT format, BYTE* pixel, D3DCOLOR color)
{
    DWORD a = color >> 24;
    DWORD r = (color >> 16) & 0xFF;
    DWORD g = (color >> 8) & 0xFF;
    DWORD b = color & 0xFF;
    switch (format) {
    case D3DFMT_A8R8G8B8:
        std::memcpy(pixel, &color, 4);
        break;
    case D3DFMT_X8R8G8B8:
        pixel[0] = static_cast<BYTE>(b);
        pixel[1] = static_cast<BYTE>(g);
        pixel[2] = static_cast<BYTE>(r);
        pixel[3] = 0xFF;
        break;
    case D3DFMT_R8G8B8:
        pixel[0] = static_cast<BYTE>(b);
        pixel[1] = static_cast<BYTE>(g);
        pixel[2] = static_cast<BYTE>(r);
        break;
    case D3DFMT_R5G6B5:
        Store16(pixel, (Narrow(r, 5) << 11) | (Narrow(g, 6) << 5) | Narrow(b, 5));
        break;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: {
        DWORD top = (format == D3DFMT_X1R5G5B5 || a >= 128) ? 0x8000u : 0u;
        Store16(pixel, top | (Narrow(r, 5) << 10) | (Narrow(g, 5) << 5) | Narrow(b, 5));
        break;
    }
    case D3DFMT_A4R4G4B4:
        Store16(pixel, (Narrow(a, 4) << 12) | (Narrow(r, 4) << 8) | (Narrow(g, 4) << 4) | Narrow(b, 4));
        break;
    case D3DFMT_A8:
        pixel[0] = static_cast<BYTE>(a);
        break;
    case D3DFMT_L8:
        pixel[0] = static_cast<BYTE>(Luminance(color));
        break;
    case D3DFMT_A8L8:
        pixel[0] = static_cast<BYTE>(Luminance(color));
        pixel[1] = static_cast<BYTE>(a);
        break;
    default:
        break;
    }
}
