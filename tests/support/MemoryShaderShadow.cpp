#include "tests/support/MemoryShaderShadow.h"

void CMemoryShader::Bind(C3DTexture* texture0, C3DTexture* texture1, C3DTexture* texture2)
{
    if (!m_compiled)
        return;
    m_textures = {texture0, texture1, texture2};
    m_bound = true;
    ++m_binds;
}

void CMemoryShader::Unbind()
{
    if (m_compiled)
        m_bound = false;
}

Result CMemoryShader::Compile(const char* source, uint32_t length)
{
    ++m_compiles;
    if (m_failCompiles || length == 0)
        return RES_FAIL;
    m_source.assign(source, length);
    m_compiled = true;
    return RES_OK;
}

Result CMemoryShader::ReleaseCompiled()
{
    m_source.clear();
    m_textures = {nullptr, nullptr, nullptr};
    m_compiled = false;
    m_bound = false;
    return RES_OK;
}

Result CMemoryStencilShadow::Render(uint32_t index)
{
    const C3DShadowCaster* caster = GetCaster(index);
    if (!caster)
        return RES_FAIL;
    if (caster->sideCount != 0)
        m_draws.push_back(MemoryShadowDraw{index, caster->sideCount, caster->capCount, m_colour});
    return RES_OK;
}
