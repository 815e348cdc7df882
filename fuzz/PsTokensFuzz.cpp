// Pixel shader tokens as a device receives them: decoding reads no token past the block, and a
// decoded program encodes to tokens that decode to it again, and translates.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3d8/D3D8ShaderTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t count = size / sizeof(DWORD);
    std::unique_ptr<DWORD[]> tokens(new DWORD[count]);
    memcpy(tokens.get(), data, count * sizeof(DWORD));
    D3D8Shader::CProgram program;
    std::string error;
    if (!D3D8Shader::Decode(tokens.get(), count, program, error))
        return 0;
    const std::vector<DWORD> encoded = D3D8Shader::Encode(program);
    D3D8Shader::CProgram again;
    FUZZ_CHECK(D3D8Shader::Decode(encoded.data(), encoded.size(), again, error));
    FUZZ_CHECK(D3D8Shader::Encode(again) == encoded);
    CD3D8PixelShaderCode code;
    D3D8TranslatePixelShader(program, code, error);
    return 0;
}
