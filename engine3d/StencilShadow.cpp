#include "engine3d/StencilShadow.h"

Result C3DStencilShadow::Create(uint32_t casterCount, uint32_t colour)
{
    m_casterCount = casterCount;
    m_colour = colour;
    return RES_OK;
}

Result C3DStencilShadow::Release() { return RES_OK; }
