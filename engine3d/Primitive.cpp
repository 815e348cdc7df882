#include "engine3d/ObjectPrivate.h"
#include "engine3d/PrimitiveBuild.h"

bool ShapeCountsFit(uint64_t vertices, uint64_t indices)
{
    return vertices <= UINT32_MAX && indices <= UINT32_MAX;
}

uint32_t ShapeCull(uint32_t flagsB, uint32_t fallback)
{
    if (flagsB & kLoadCullNone)
        return kCullNone;
    if (flagsB & kLoadCullClockwise)
        return kCullClockwise;
    if (flagsB & kLoadCullCounterClockwise)
        return kCullCounterClockwise;
    return fallback;
}

Vector3 ShapeAxisNormal(uint32_t axis)
{
    switch (axis) {
    case kAxisXY:
        return Vector3{0.0f, 0.0f, -1.0f};
    case kAxisYZ:
        return Vector3{1.0f, 0.0f, 0.0f};
    default:
        return Vector3{0.0f, 1.0f, 0.0f};
    }
}

Result BeginShape(C3DObject& object, uint32_t parts, uint32_t vertices, uint32_t indices, bool dropPendingNormals)
{
    if (dropPendingNormals)
        object.SetFlags(object.GetFlagsA() & ~(kFlatNormalsPending | kSmoothNormalsPending), object.GetFlagsB());
    if (Failed(object.Create(parts, vertices, indices)))
        return RES_FAIL;
    return Failed(object.Lock()) ? RES_FAIL : RES_OK;
}

Result EndShape(C3DObject& object)
{
    return Failed(object.Unlock(1)) ? RES_FAIL : RES_OK;
}

Result FinishShape(C3DObject& object, uint32_t vertices, uint32_t indices, uint32_t primitives, uint32_t type,
                   uint32_t cull)
{
    IgnoreResult(object.SetPrimitiveGroup(0, 0, vertices, 0, indices, primitives, type, cull, kPartNumberId));
    return EndShape(object);
}

Result C3DObjectPrivate::CreatePrimitive(uint32_t kind, void* parameters)
{
    if (!parameters)
        return RES_FAIL;
    switch (kind) {
    case kShapeSphere:
        return BuildSphere(*this, static_cast<SphereParams*>(parameters), false);
    case kShapeHalfSphere:
        return BuildSphere(*this, static_cast<SphereParams*>(parameters), true);
    case kShapeDisc:
        return BuildDisc(*this, static_cast<DiscParams*>(parameters));
    case kShapePlane:
        return BuildPlane(*this, static_cast<const PlaneParams*>(parameters));
    case kShapeBox:
        return BuildBox(*this, static_cast<const BoxParams*>(parameters));
    case kShapeAxes:
        return BuildAxes(*this, static_cast<const AxesParams*>(parameters));
    case kShapeFrustum:
        return BuildFrustum(*this, static_cast<const FrustumParams*>(parameters));
    case kShapeTerrain:
        return BuildTerrain(*this, static_cast<const TerrainParams*>(parameters));
    case kShapeTube:
        return BuildTube(*this, static_cast<TubeParams*>(parameters));
    case kShapeDish:
        return BuildDish(*this, static_cast<const DishParams*>(parameters));
    default:
        return RES_FAIL;
    }
}
