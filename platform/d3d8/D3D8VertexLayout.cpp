#include "platform/d3d8/D3D8VertexLayout.h"

namespace {

constexpr DWORD kKnownBits = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE |
                             D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK | 0xFFFF0000u;

UINT PositionSize(DWORD position)
{
    switch (position) {
    case D3DFVF_XYZ:
        return 12;
    case D3DFVF_XYZRHW:
        return 16;
    case 0x006:
    case 0x008:
    case 0x00A:
    case 0x00C:
    case 0x00E:
        return 12 + 4 * ((position - 0x004) / 2);  // three floats and one to five blend weights
    default:
        return 0;
    }
}

} // namespace

CD3D8VertexLayout::CD3D8VertexLayout(DWORD fvf)
{
    DWORD position = fvf & D3DFVF_POSITION_MASK;
    UINT offset = PositionSize(position);
    texSets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (offset == 0 || (fvf & ~kKnownBits) != 0 || texSets > 8)
        return;
    transformed = position == D3DFVF_XYZRHW;
    if (fvf & D3DFVF_NORMAL) {
        normal = offset;
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        pointSize = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        diffuse = offset;
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        specular = offset;
        offset += 4;
    }
    static constexpr UINT kComponents[4] = {2, 3, 4, 1};
    for (UINT set = 0; set < texSets; ++set) {
        texOffsets[set] = offset;
        texComponents[set] = kComponents[(fvf >> (16 + set * 2)) & 3];
        offset += texComponents[set] * 4;
    }
    size = offset;
    valid = true;
}

UINT D3D8VertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount)
{
    switch (type) {
    case D3DPT_POINTLIST:
        return primitiveCount;
    case D3DPT_LINELIST:
        return primitiveCount * 2;
    case D3DPT_LINESTRIP:
        return primitiveCount + 1;
    case D3DPT_TRIANGLELIST:
        return primitiveCount * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitiveCount + 2;
    default:
        return 0;
    }
}
