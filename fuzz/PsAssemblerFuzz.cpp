// Pixel shader text (ps.1.x): an assembled program encodes to tokens that decode to the same
// program and translate; a refused text says why.

#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/d3d8/D3D8ShaderAssembler.h"
#include "platform/d3d8/D3D8ShaderTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    D3D8Shader::CProgram program;
    std::string errors;
    if (!D3D8AssemblePixelShader(reinterpret_cast<const char*>(data), size, program, errors)) {
        FUZZ_CHECK(!errors.empty());
        return 0;
    }
    const std::vector<DWORD> tokens = D3D8Shader::Encode(program);
    D3D8Shader::CProgram decoded;
    std::string error;
    FUZZ_CHECK(D3D8Shader::Decode(tokens.data(), tokens.size(), decoded, error));
    FUZZ_CHECK(D3D8Shader::Encode(decoded) == tokens);
    CD3D8PixelShaderCode code;
    D3D8TranslatePixelShader(decoded, code, error);
    return 0;
}
