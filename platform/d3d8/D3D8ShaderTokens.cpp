#include "platform/d3d8/D3D8ShaderTokens.h"

namespace D3D8Shader {

namespace {

DWORD EncodeRegister(const CRegister& reg)
{
    return kParameter | ((reg.type & 7) << 28) | (reg.number & 0x7FF);
}

CRegister DecodeRegister(DWORD token)
{
    return CRegister{(token >> 28) & 7, token & 0x7FF};
}

DWORD EncodeShift(int shift)
{
    return static_cast<DWORD>(shift) & 0xF;
}

int DecodeShift(DWORD bits)
{
    return bits >= 8 ? static_cast<int>(bits) - 16 : static_cast<int>(bits);
}

} // namespace

int SourceCount(DWORD opcode, DWORD minor)
{
    switch (opcode) {
    case kNop:
    case kTexKill:
    case kPhase:
        return 0;
    case kTex:
    case kTexCoord:
        return minor >= 4 ? 1 : 0;
    case kMov:
    case kTexReg2Ar:
    case kTexReg2Gb:
    case kTexReg2Rgb:
        return 1;
    case kAdd:
    case kSub:
    case kMul:
    case kDp3:
    case kDp4:
        return 2;
    case kMad:
    case kLrp:
    case kCnd:
    case kCmp:
        return 3;
    case kDef:
        return 0;
    default:
        return -1;
    }
}

bool HasDestination(DWORD opcode)
{
    return opcode != kNop && opcode != kPhase;
}

std::vector<DWORD> Encode(const CProgram& program)
{
    std::vector<DWORD> tokens;
    tokens.push_back(0xFFFF0000u | (program.major << 8) | program.minor);
    for (const CInstruction& instruction : program.instructions) {
        if (instruction.opcode == kPhase) {
            tokens.push_back(kPhase);
            continue;
        }
        tokens.push_back(instruction.opcode | (instruction.coissue ? kCoissue : 0));
        if (instruction.hasDestination) {
            const CDestination& destination = instruction.destination;
            tokens.push_back(EncodeRegister(destination.reg) | ((destination.mask & 0xF) << 16) |
                             (destination.saturate ? 0x00100000u : 0u) | (EncodeShift(destination.shift) << 24));
        }
        if (instruction.opcode == kDef) {
            for (float value : instruction.constant)
                tokens.push_back(D3D8FloatBits(value));
            continue;
        }
        for (const CSource& source : instruction.sources)
            tokens.push_back(EncodeRegister(source.reg) | ((source.swizzle & 0xFF) << 16) | ((source.modifier & 0xF) << 24));
    }
    tokens.push_back(kEnd);
    return tokens;
}

bool Decode(const DWORD* tokens, size_t limit, CProgram& program, std::string& error)
{
    if (!tokens || limit == 0 || (tokens[0] & 0xFFFF0000u) != 0xFFFF0000u) {
        error = "not a pixel shader";
        return false;
    }
    program = CProgram{};
    program.major = (tokens[0] >> 8) & 0xFF;
    program.minor = tokens[0] & 0xFF;
    if (program.major != 1 || program.minor > 4) {
        error = "pixel shader version not handled";
        return false;
    }
    size_t at = 1;
    while (at < limit) {
        DWORD token = tokens[at++];
        DWORD opcode = token & 0xFFFF;
        if (opcode == kEnd)
            return true;
        if (opcode == kComment) {
            at += (token >> 16) & 0x7FFF;
            continue;
        }
        CInstruction instruction;
        instruction.opcode = opcode;
        instruction.coissue = (token & kCoissue) != 0;
        int sources = SourceCount(opcode, program.minor);
        if (sources < 0 || (token & kParameter)) {
            error = "instruction " + std::to_string(opcode) + " not handled";
            return false;
        }
        instruction.hasDestination = HasDestination(opcode);
        size_t needed = (instruction.hasDestination ? 1 : 0) + (opcode == kDef ? 4 : static_cast<size_t>(sources));
        if (at + needed > limit) {
            error = "shader ends inside an instruction";
            return false;
        }
        if (instruction.hasDestination) {
            DWORD destination = tokens[at++];
            instruction.destination.reg = DecodeRegister(destination);
            instruction.destination.mask = (destination >> 16) & 0xF;
            instruction.destination.saturate = (destination & 0x00100000u) != 0;
            instruction.destination.shift = DecodeShift((destination >> 24) & 0xF);
        }
        if (opcode == kDef) {
            for (float& value : instruction.constant)
                value = D3D8BitsFloat(tokens[at++]);
        } else {
            for (int i = 0; i < sources; ++i) {
                DWORD source = tokens[at++];
                instruction.sources.push_back(
                    CSource{DecodeRegister(source), (source >> 16) & 0xFF, (source >> 24) & 0xF});
            }
        }
        program.instructions.push_back(instruction);
    }
    error = "shader has no end token";
    return false;
}

} // namespace D3D8Shader
