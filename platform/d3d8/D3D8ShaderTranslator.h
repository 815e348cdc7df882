#pragma once
#include <string>

#include "platform/d3d8/D3D8ShaderTokens.h"

// Turns a decoded pixel shader into OpenGL Shading Language statements that leave the shaded
// colour in "color". They read the texture coordinates as coord0..coord5, the samplers as
// uSampler0..uSampler5 and the colours as gl_Color and gl_SecondaryColor.
struct CD3D8PixelShaderCode {
    std::string body;
    DWORD samplers = 0;  // bit s: the texture of stage s is sampled
};

bool D3D8TranslatePixelShader(const D3D8Shader::CProgram& program, CD3D8PixelShaderCode& code, std::string& error);
