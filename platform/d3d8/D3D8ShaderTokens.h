#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/d3d8/D3D8Types.h"

// Pixel shader programs as Direct3D 8 encodes them: a version token, one instruction token per
// instruction followed by its parameter tokens, and the end token.

namespace D3D8Shader {

// Instruction opcodes.
constexpr DWORD kNop = 0;
constexpr DWORD kMov = 1;
constexpr DWORD kAdd = 2;
constexpr DWORD kSub = 3;
constexpr DWORD kMad = 4;
constexpr DWORD kMul = 5;
constexpr DWORD kDp3 = 8;
constexpr DWORD kDp4 = 9;
constexpr DWORD kLrp = 18;
constexpr DWORD kTexCoord = 64;  // texcoord; texcrd in ps.1.4
constexpr DWORD kTexKill = 65;
constexpr DWORD kTex = 66;  // tex; texld in ps.1.4
constexpr DWORD kTexReg2Ar = 69;
constexpr DWORD kTexReg2Gb = 70;
constexpr DWORD kCnd = 80;
constexpr DWORD kDef = 81;
constexpr DWORD kTexReg2Rgb = 82;
constexpr DWORD kCmp = 88;
constexpr DWORD kPhase = 0xFFFD;
constexpr DWORD kComment = 0xFFFE;
constexpr DWORD kEnd = 0xFFFF;

constexpr DWORD kCoissue = 0x40000000;
constexpr DWORD kParameter = 0x80000000;

// Register types.
constexpr DWORD kTemp = 0;     // r#
constexpr DWORD kInput = 1;    // v#
constexpr DWORD kConst = 2;    // c#
constexpr DWORD kTexture = 3;  // t#

// Source modifiers.
constexpr DWORD kSourceNone = 0;
constexpr DWORD kSourceNegate = 1;
constexpr DWORD kSourceBias = 2;
constexpr DWORD kSourceBiasNegate = 3;
constexpr DWORD kSourceSign = 4;  // _bx2
constexpr DWORD kSourceSignNegate = 5;
constexpr DWORD kSourceComplement = 6;  // 1 - x
constexpr DWORD kSourceX2 = 7;
constexpr DWORD kSourceX2Negate = 8;
constexpr DWORD kSourceDivideZ = 9;
constexpr DWORD kSourceDivideW = 10;

constexpr DWORD kSwizzleIdentity = 0xE4;

struct CRegister {
    DWORD type = kTemp;
    DWORD number = 0;
};

struct CDestination {
    CRegister reg;
    DWORD mask = 0xF;  // bit 0 red .. bit 3 alpha
    bool saturate = false;
    int shift = 0;  // 1, 2, 3 multiply by 2, 4, 8; -1, -2, -3 divide
};

struct CSource {
    CRegister reg;
    DWORD swizzle = kSwizzleIdentity;
    DWORD modifier = kSourceNone;
};

struct CInstruction {
    DWORD opcode = kNop;
    bool coissue = false;
    bool hasDestination = false;
    CDestination destination;
    std::vector<CSource> sources;
    std::array<float, 4> constant{};  // def
    int line = 0;  // source line, for messages
};

struct CProgram {
    DWORD major = 1;
    DWORD minor = 1;
    std::vector<CInstruction> instructions;
};

// Sources an opcode takes in a version; -1 for opcodes this layer does not handle.
int SourceCount(DWORD opcode, DWORD minor);
bool HasDestination(DWORD opcode);

std::vector<DWORD> Encode(const CProgram& program);
// Reads at most limit tokens; false with a message for anything malformed or not handled.
bool Decode(const DWORD* tokens, size_t limit, CProgram& program, std::string& error);

} // namespace D3D8Shader
