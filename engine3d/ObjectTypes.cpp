#include "engine3d/ObjectTypes.h"

C3DMaterial DefaultMaterial()
{
    return C3DMaterial{{1.0f, 1.0f, 1.0f, 0.0f},
                       {1.0f, 1.0f, 1.0f, 1.0f},
                       {0.0f, 0.0f, 0.0f, 1.0f},
                       {0.0f, 0.0f, 0.0f, 1.0f},
                       20.0f};
}

uint64_t IndicesForPrimitives(uint32_t type, uint32_t primitiveCount)
{
    const uint64_t n = primitiveCount;
    if (n == 0)
        return 0;
    switch (type) {
    case kPrimitiveTriangleStrip:
    case kPrimitiveTriangleFan:
        return n + 2;
    case kPrimitiveTriangleList:
        return 3 * n;
    case kPrimitiveLineList:
        return 2 * n;
    case kPrimitiveLineStrip:
        return n + 1;
    case kPrimitivePointList:
        return n;
    default:
        return 0;
    }
}
