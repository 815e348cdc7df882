#pragma once
#include <cstddef>
#include <string>

#include "platform/d3d8/D3D8ShaderTokens.h"

// Assembles pixel shader text of versions ps.1.1 to ps.1.4 (ps.1.0 is read as ps.1.1).
// Comments: "//", ";" and "/* */". Instructions handled: def, nop, mov, add, sub, mul, mad, lrp,
// dp3, dp4, cnd, cmp, tex, texcoord, texkill, texreg2ar, texreg2gb, texreg2rgb, and for ps.1.4
// texld, texcrd and phase; with source modifiers -, 1-, _bias, _bx2, _x2, replicate selectors,
// write masks, _x2 _x4 _x8 _d2 _d4 _d8 _sat and co-issue (+). Anything else is an error.
// Errors are lines "(line): error: text".
bool D3D8AssemblePixelShader(const char* text, size_t length, D3D8Shader::CProgram& program, std::string& errors);
