#include "engine3d/Shader.h"

Result C3DShader::Init() { return RES_OK; }

Result C3DShader::Release()
{
    m_name.Clear();
    return RES_OK;
}
