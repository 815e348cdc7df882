#include "platform/d3d8/D3DX8.h"

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "platform/d3d8/D3D8Formats.h"
#include "platform/d3d8/D3D8ShaderAssembler.h"
#include "platform/d3d8/D3D8Surfaces.h"
#include "platform/d3d8/D3D8Harness.h"

namespace {

constexpr long long kLargestShaderFile = 1024 * 1024;

class CD3DXBuffer final : public ID3DXBuffer {
public:
    explicit CD3DXBuffer(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}

    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override
    {
        ULONG left = m_references > 0 ? --m_references : 0;
        if (left == 0)
            delete this;
        return left;
    }
    void* GetBufferPointer() override { return m_bytes.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(m_bytes.size()); }

private:
    ~CD3DXBuffer() override = default;

    std::vector<BYTE> m_bytes;
    ULONG m_references = 1;
};

ID3DXBuffer* MakeBuffer(const void* data, size_t size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    return new (std::nothrow) CD3DXBuffer(std::vector<BYTE>(bytes, bytes + size));
}

// How much each source pixel counts for each destination pixel along one axis.
struct CTap {
    UINT source;
    float weight;
};

std::vector<std::vector<CTap>> Taps(UINT from, UINT to, DWORD filter)
{
    std::vector<std::vector<CTap>> taps(to);
    double scale = static_cast<double>(from) / to;
    for (UINT i = 0; i < to; ++i) {
        if (filter == D3DX_FILTER_POINT) {
            taps[i].push_back({std::min(from - 1, static_cast<UINT>((i + 0.5) * scale)), 1.0f});
        } else if (scale >= 1.0) {
            double start = i * scale;
            double end = (i + 1) * scale;
            for (UINT j = static_cast<UINT>(start); j < from && j < end; ++j) {
                double overlap = std::min<double>(j + 1, end) - std::max<double>(j, start);
                taps[i].push_back({j, static_cast<float>(overlap / scale)});
            }
        } else {
            double centre = (i + 0.5) * scale - 0.5;
            double below = std::floor(centre);
            float t = static_cast<float>(centre - below);
            auto clampIndex = [from](double j) { return static_cast<UINT>(std::min<double>(std::max(j, 0.0), from - 1.0)); };
            taps[i].push_back({clampIndex(below), 1.0f - t});
            taps[i].push_back({clampIndex(below + 1.0), t});
        }
    }
    return taps;
}

std::vector<D3DCOLOR> Resample(const std::vector<D3DCOLOR>& pixels, UINT width, UINT height, UINT toWidth, UINT toHeight,
                               DWORD filter)
{
    if (width == toWidth && height == toHeight)
        return pixels;
    std::vector<D3DCOLOR> result(static_cast<size_t>(toWidth) * toHeight, 0);
    if (filter == D3DX_FILTER_NONE) {
        for (UINT y = 0; y < std::min(height, toHeight); ++y)
            for (UINT x = 0; x < std::min(width, toWidth); ++x)
                result[static_cast<size_t>(y) * toWidth + x] = pixels[static_cast<size_t>(y) * width + x];
        return result;
    }
    std::vector<std::vector<CTap>> across = Taps(width, toWidth, filter);
    std::vector<std::vector<CTap>> down = Taps(height, toHeight, filter);
    for (UINT y = 0; y < toHeight; ++y) {
        for (UINT x = 0; x < toWidth; ++x) {
            float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (const CTap& row : down[y]) {
                for (const CTap& column : across[x]) {
                    D3DCOLOR pixel = pixels[static_cast<size_t>(row.source) * width + column.source];
                    float weight = row.weight * column.weight;
                    for (int c = 0; c < 4; ++c)
                        sum[c] += weight * static_cast<float>((pixel >> (c * 8)) & 0xFF);
                }
            }
            D3DCOLOR out = 0;
            for (int c = 0; c < 4; ++c)
                out |= static_cast<D3DCOLOR>(std::min(255.0f, std::max(0.0f, sum[c] + 0.5f))) << (c * 8);
            result[static_cast<size_t>(y) * toWidth + x] = out;
        }
    }
    return result;
}

HRESULT LoadSurface(IDirect3DSurface8* destination, const RECT* destinationRect, IDirect3DSurface8* source,
                    const RECT* sourceRect, DWORD filter, D3DCOLOR colorKey)
{
    if (!destination || !source)
        return D3DERR_INVALIDCALL;
    auto* to = static_cast<CD3D8Surface*>(destination);
    auto* from = static_cast<CD3D8Surface*>(source);
    DWORD kind = filter == D3DX_DEFAULT ? D3DX_FILTER_TRIANGLE : (filter & 0xFF);
    RECT fromArea{};
    RECT toArea{};
    if (kind < D3DX_FILTER_NONE || kind > D3DX_FILTER_BOX || to->IsLocked() || from->IsLocked() ||
        !D3D8SurfaceRect(sourceRect, from->Width(), from->Height(), fromArea) ||
        !D3D8SurfaceRect(destinationRect, to->Width(), to->Height(), toArea))
        return D3DERR_INVALIDCALL;
    std::vector<D3DCOLOR> pixels;
    from->Read(fromArea, pixels);
    if (colorKey != 0) {
        for (D3DCOLOR& pixel : pixels) {
            if (pixel == colorKey)
                pixel = 0;
        }
    }
    UINT width = static_cast<UINT>(fromArea.right - fromArea.left);
    UINT height = static_cast<UINT>(fromArea.bottom - fromArea.top);
    UINT toWidth = static_cast<UINT>(toArea.right - toArea.left);
    UINT toHeight = static_cast<UINT>(toArea.bottom - toArea.top);
    to->Write(toArea, Resample(pixels, width, height, toWidth, toHeight, kind));
    return D3D_OK;
}

HRESULT Assemble(const void* source, UINT length, ID3DXBuffer** compiled, ID3DXBuffer** errors)
{
    if (!source)
        return D3DERR_INVALIDCALL;
    D3D8Shader::CProgram program;
    std::string messages;
    if (!D3D8AssemblePixelShader(static_cast<const char*>(source), length, program, messages)) {
        if (errors)
            *errors = MakeBuffer(messages.c_str(), messages.size() + 1);
        return D3DXERR_INVALIDDATA;
    }
    std::vector<DWORD> tokens = D3D8Shader::Encode(program);
    if (compiled) {
        *compiled = MakeBuffer(tokens.data(), tokens.size() * sizeof(DWORD));
        if (!*compiled)
            return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

void ClearOutputs(ID3DXBuffer** constants, ID3DXBuffer** compiled, ID3DXBuffer** errors)
{
    for (ID3DXBuffer** output : {constants, compiled, errors}) {
        if (output)
            *output = nullptr;
    }
}

} // namespace

HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture)
{
    HRESULT result = D3DERR_INVALIDCALL;
    if (device && texture) {
        D3DCAPS8 caps{};
        device->GetDeviceCaps(&caps);
        auto fit = [](UINT size, UINT largest, bool powerOfTwo) {
            size = size == D3DX_DEFAULT ? 256 : (size == 0 ? 1 : size);
            if (powerOfTwo) {
                UINT rounded = 1;
                while (rounded < size && rounded < largest)
                    rounded <<= 1;
                size = rounded;
            }
            return size > largest ? largest : size;
        };
        bool powerOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
        width = fit(width, caps.MaxTextureWidth, powerOfTwo);
        height = fit(height, caps.MaxTextureHeight, powerOfTwo);
        if (!D3D8IsTextureFormat(format))
            format = D3D8HasAlpha(format) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        result = device->CreateTexture(width, height, levels == D3DX_DEFAULT ? 0 : levels, usage, format, pool, texture);
    }
    return D3D8Record("D3DXCreateTexture", {width, height, levels, usage, format, pool}, result);
}

HRESULT D3DXLoadSurfaceFromSurface(IDirect3DSurface8* destination, const PALETTEENTRY*, const RECT* destinationRect,
                                   IDirect3DSurface8* source, const PALETTEENTRY*, const RECT* sourceRect, DWORD filter,
                                   D3DCOLOR colorKey)
{
    return D3D8Record("D3DXLoadSurfaceFromSurface",
                      {D3D8ObjectNumber(destination), D3D8ObjectNumber(source), filter, colorKey},
                      LoadSurface(destination, destinationRect, source, sourceRect, filter, colorKey));
}

HRESULT D3DXAssembleShader(const void* source, UINT length, DWORD flags, ID3DXBuffer** constants,
                           ID3DXBuffer** compiled, ID3DXBuffer** errors)
{
    ClearOutputs(constants, compiled, errors);
    return D3D8Record("D3DXAssembleShader", {length, flags}, Assemble(source, length, compiled, errors));
}

HRESULT D3DXAssembleShaderFromFileW(const char16_t* path, DWORD flags, ID3DXBuffer** constants,
                                    ID3DXBuffer** compiled, ID3DXBuffer** errors)
{
    ClearOutputs(constants, compiled, errors);
    HRESULT result = D3DERR_INVALIDCALL;
    FILE* file = path ? OpenFile(path, "rb") : nullptr;
    if (path && !file) {
        result = D3DXERR_INVALIDDATA;
        if (errors) {
            std::string message = "(0): error: cannot open '" + Utf16ToUtf8(path) + "'\n";
            *errors = MakeBuffer(message.c_str(), message.size() + 1);
        }
    }
    if (file) {
        long long size = FileSizeOf(file);
        bool fits = size >= 0 && size <= kLargestShaderFile;
        std::string text(fits ? static_cast<size_t>(size) : 0, '\0');
        bool read = fits && std::fread(&text[0], 1, text.size(), file) == text.size();
        std::fclose(file);
        result = read ? Assemble(text.c_str(), static_cast<UINT>(text.size()), compiled, errors) : D3DXERR_INVALIDDATA;
    }
    return D3D8Record("D3DXAssembleShaderFromFileW", {flags}, result);
}
