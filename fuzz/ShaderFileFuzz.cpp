// Pixel shader files: one file through the engine's three shader loaders (memory, pak entry and
// disk file) and through the D3DX8 assembler's file path. The loaders hand the renderer the file's
// bytes whole, each once, and keep the same name; the assembler answers a file exactly as it
// answers the same text in memory. Input: the file.

#include <memory>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Shader.h"
#include "fuzz/FuzzSupport.h"
#include "platform/d3d8/D3DX8.h"

namespace {

// A shader whose compile step keeps the source it is given.
class CRecordingShader : public C3DShader {
public:
    using C3DShader::C3DShader;
    std::vector<std::string> m_sources;

protected:
    Result Compile(const char* source, uint32_t length) override
    {
        m_sources.emplace_back(source, length);
        return RES_OK;
    }
};

struct CAssembled {
    HRESULT result;
    std::string tokens;
    std::string errors;
};

std::string Bytes(ID3DXBuffer* buffer)
{
    if (!buffer)
        return "";
    std::string bytes(static_cast<const char*>(buffer->GetBufferPointer()), buffer->GetBufferSize());
    buffer->Release();
    return bytes;
}

template <typename Assemble>
CAssembled Run(Assemble assemble)
{
    ID3DXBuffer* compiled = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT result = assemble(&compiled, &errors);
    return {result, Bytes(compiled), Bytes(errors)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::string path = WriteFuzzFile("shaders/water.psh", data, size);
    const auto world = std::make_unique<CWorldData>();
    world->dataRootPrefixLength = -1;
    CRecordingShader shader(world.get());
    FUZZ_CHECK(shader.LoadFromAddress(file.data(), static_cast<uint32_t>(size), u"shaders/water.psh") == RES_OK);
    FUZZ_CHECK(shader.LoadFromFile(Utf8ToUtf16(path).c_str()) == RES_OK);
    CFuzzPak pak(u"shaders/water.psh", data, size);
    FUZZ_CHECK(shader.LoadFromPacker(pak.Record()) == RES_OK);
    FUZZ_CHECK(shader.m_sources.size() == 3);
    for (const std::string& source : shader.m_sources)
        FUZZ_CHECK(source == file);
    FUZZ_CHECK(std::u16string(shader.GetName()).find(u"water.psh") != std::u16string::npos);
    FUZZ_CHECK(shader.Release() == RES_OK);

    const CAssembled fromFile = Run([&](ID3DXBuffer** compiled, ID3DXBuffer** errors) {
        return D3DXAssembleShaderFromFileW(Utf8ToUtf16(path).c_str(), 0, nullptr, compiled, errors);
    });
    const CAssembled fromMemory = Run([&](ID3DXBuffer** compiled, ID3DXBuffer** errors) {
        return D3DXAssembleShader(file.data(), static_cast<UINT>(size), 0, nullptr, compiled, errors);
    });
    FUZZ_CHECK(fromFile.result == fromMemory.result && fromFile.tokens == fromMemory.tokens &&
               fromFile.errors == fromMemory.errors);
    FUZZ_CHECK((fromFile.result == D3D_OK) != fromFile.tokens.empty());
    return 0;
}
