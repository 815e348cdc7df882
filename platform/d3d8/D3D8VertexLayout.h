#pragma once
#include <array>

#include "platform/d3d8/D3D8Types.h"

// Where the parts of one vertex lie for a flexible vertex format code. Blend weights after the
// position are skipped (vertex blending is not done).
struct CD3D8VertexLayout {
    static constexpr UINT kAbsent = 0xFFFFFFFFu;

    bool valid = false;
    bool transformed = false;  // D3DFVF_XYZRHW: x, y in pixels, z depth, rhw
    UINT size = 0;
    UINT normal = kAbsent;
    UINT pointSize = kAbsent;
    UINT diffuse = kAbsent;
    UINT specular = kAbsent;
    UINT texSets = 0;
    std::array<UINT, 8> texOffsets{};
    std::array<UINT, 8> texComponents{};

    CD3D8VertexLayout() = default;
    explicit CD3D8VertexLayout(DWORD fvf);
};

// Vertices a draw of that many primitives reads; 0 for an unknown primitive type.
UINT D3D8VertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount);
