// Seeds of the pixel shader harnesses: ps.1.x texts and their tokens.

#include <cstring>

#include "fuzz/seeds/Seeds.h"
#include "platform/d3d8/D3D8ShaderAssembler.h"

namespace {

const char* const kShaders[] = {
    "ps.1.1\n tex t0 ; sample\n mul r0, t0, v0 // modulate\n",
    "ps.1.1\ndef c0, 0.5, 0.25, 1.0, 0.0\ntex t0\ntex t1\nlrp r0, c0, t0, t1\n+mov r0.a, 1-v0.a\n",
    "ps.1.3\ntex t0\ntexreg2ar t1, t0\ncnd r0, r0.a, t1_bx2, -v1\nmad_sat r0, r0, 1-c1, v0_bias\n",
    "ps.1.4\ntexld r0, t0\ntexcrd r1.rgb, t1\nphase\ntexld r2, r0\ncmp r0, r1, r2, c0\ndp3_x4 r0.rgb, r0, v0\n",
    "ps.1.2\n/* kill */ texkill t0\nsub_d2 r0, v0, v1\ndp4 r1, r0, c7\nnop\n",
};

FuzzSeeds ShaderTexts()
{
    FuzzSeeds seeds;
    for (const char* shader : kShaders)
        seeds.emplace_back("shader" + std::to_string(seeds.size()) + ".psh", shader);
    return seeds;
}

} // namespace

FUZZ_SEEDS(PsAssembler)
{
    return ShaderTexts();
}

FUZZ_SEEDS(ShaderFile)
{
    FuzzSeeds seeds = ShaderTexts();
    seeds.emplace_back("refused.psh", "ps.1.1\nmov r9, q0\n");
    return seeds;
}

FUZZ_SEEDS(PsTokens)
{
    FuzzSeeds seeds;
    for (const char* shader : kShaders) {
        D3D8Shader::CProgram program;
        std::string errors;
        if (!D3D8AssemblePixelShader(shader, strlen(shader), program, errors))
            continue;
        const std::vector<DWORD> tokens = D3D8Shader::Encode(program);
        seeds.emplace_back("shader" + std::to_string(seeds.size()) + ".tokens",
                           std::string(reinterpret_cast<const char*>(tokens.data()), tokens.size() * sizeof(DWORD)));
    }
    return seeds;
}
