#include <cmath>

#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/PrimitiveBuild.h"

namespace {

// A box corner: signs of the half sizes, and which UV value (0 low, 1 high) u and v take.
struct BoxCorner {
    int8_t x, y, z;
    uint8_t u, v;
};

struct BoxFace {
    int8_t nx, ny, nz;
    BoxCorner corners[4];
};

constexpr uint8_t L = 0;
constexpr uint8_t H = 1;

// Seen from outside (layout 0 texture coordinates).
constexpr BoxFace kOutside[6] = {
    {0, 0, 1, {{-1, 1, 1, H, L}, {-1, -1, 1, H, H}, {1, 1, 1, L, L}, {1, -1, 1, L, H}}},
    {0, 0, -1, {{1, 1, -1, H, L}, {1, -1, -1, H, H}, {-1, 1, -1, L, L}, {-1, -1, -1, L, H}}},
    {1, 0, 0, {{1, 1, 1, H, L}, {1, -1, 1, H, H}, {1, 1, -1, L, L}, {1, -1, -1, L, H}}},
    {-1, 0, 0, {{-1, 1, 1, L, L}, {-1, 1, -1, H, L}, {-1, -1, 1, L, H}, {-1, -1, -1, H, H}}},
    {0, -1, 0, {{-1, -1, 1, L, H}, {-1, -1, -1, L, L}, {1, -1, 1, H, H}, {1, -1, -1, H, L}}},
    {0, 1, 0, {{-1, 1, 1, L, L}, {1, 1, 1, H, L}, {-1, 1, -1, L, H}, {1, 1, -1, H, H}}},
};

// Layout 1: the faces of layout 0 with these texture coordinates.
constexpr uint8_t kOutsideTurnedUV[6][4][2] = {
    {{L, H}, {L, L}, {H, H}, {H, L}}, {{H, L}, {H, H}, {L, L}, {L, H}}, {{L, L}, {H, L}, {L, H}, {H, H}},
    {{H, L}, {H, H}, {L, L}, {L, H}}, {{L, L}, {H, L}, {L, H}, {H, H}}, {{L, H}, {L, L}, {H, H}, {H, L}},
};

// Seen from inside: normals into the box, corners the other way round.
constexpr BoxFace kInside[6] = {
    {-1, 0, 0, {{1, 1, -1, H, L}, {1, -1, -1, H, H}, {1, 1, 1, L, L}, {1, -1, 1, L, H}}},
    {1, 0, 0, {{-1, 1, 1, H, L}, {-1, -1, 1, H, H}, {-1, 1, -1, L, L}, {-1, -1, -1, L, H}}},
    {0, 0, -1, {{1, 1, 1, H, L}, {1, -1, 1, H, H}, {-1, 1, 1, L, L}, {-1, -1, 1, L, H}}},
    {0, 0, 1, {{1, 1, -1, L, L}, {-1, 1, -1, H, L}, {1, -1, -1, L, H}, {-1, -1, -1, H, H}}},
    {0, 1, 0, {{1, -1, -1, L, L}, {-1, -1, -1, H, L}, {1, -1, 1, L, H}, {-1, -1, 1, H, H}}},
    {0, -1, 0, {{1, 1, -1, L, L}, {1, 1, 1, H, L}, {-1, 1, -1, L, H}, {-1, 1, 1, H, H}}},
};

constexpr uint32_t kBoxFaces = 6;

void WriteBoxFaces(C3DObject& object, const BoxParams& params)
{
    const BoxFace* faces = params.layout == 2 ? kInside : kOutside;
    const float uv[2] = {params.uvLow, params.uvHigh};
    for (uint32_t f = 0; f < kBoxFaces; ++f) {
        const BoxFace& face = faces[f];
        for (uint32_t c = 0; c < 4; ++c) {
            const BoxCorner& corner = face.corners[c];
            uint8_t u = corner.u;
            uint8_t v = corner.v;
            if (params.layout == 1) {
                u = kOutsideTurnedUV[f][c][0];
                v = kOutsideTurnedUV[f][c][1];
            }
            object.SetVertex(4 * f + c, corner.x * params.halfX, corner.y * params.halfY, corner.z * params.halfZ,
                             params.colour, uv[u], uv[v], face.nx, face.ny, face.nz, params.specular);
        }
    }
}

} // namespace

Result BuildPlane(C3DObject& object, const PlaneParams* params)
{
    const uint64_t columns = params->columns;
    const uint64_t rows = params->rows;
    if (columns == 0 || rows == 0 || params->axis > kAxisXZ)
        return RES_FAIL;
    if (!ShapeCountsFit((columns + 1) * (rows + 1), 6 * columns * rows))
        return RES_FAIL;
    const uint32_t c = params->columns;
    const uint32_t r = params->rows;
    const uint32_t vertices = (c + 1) * (r + 1);
    const uint32_t indices = 6 * c * r;
    if (Failed(BeginShape(object, 1, vertices, indices, true)))
        return RES_FAIL;

    const Vector3 normal = ShapeAxisNormal(params->axis);
    const float fc = static_cast<float>(c);
    const float w = params->width / fc;
    const float d = params->depth / static_cast<float>(r);
    const float halfW = fc * w / 2.0f;
    const float halfD = static_cast<float>(r) * d / 2.0f;
    auto at = [c](uint32_t k, uint32_t j) { return (c + 1) * j + k; };
    for (uint32_t j = 0; j <= r; ++j) {
        const float b = halfD - static_cast<float>(j) * d;
        const float v = static_cast<float>(j) / fc * params->vScale;
        for (uint32_t k = 0; k <= c; ++k) {
            const float a = static_cast<float>(k) * w - halfW;
            Vector3 p{a, 0.0f, b};
            if (params->axis == kAxisXY)
                p = Vector3{a, b, 0.0f};
            else if (params->axis == kAxisYZ)
                p = Vector3{0.0f, b, a};
            object.SetVertex(at(k, j), p.x, p.y, p.z, params->colour, static_cast<float>(k) / fc * params->uScale, v,
                             normal.x, normal.y, normal.z, params->specular);
        }
    }
    uint32_t next = 0;
    for (uint32_t k = 0; k < c; ++k) {
        for (uint32_t j = 0; j < r; ++j) {
            const uint32_t a = at(k, j), a1 = at(k + 1, j), c0 = at(k, j + 1), c1 = at(k + 1, j + 1);
            const uint32_t cell[6] = {c0, a, a1, c0, a1, c1};
            for (uint32_t value : cell)
                object.SetIndex(next++, value);
        }
    }
    return FinishShape(object, vertices, indices, 2 * c * r, kPrimitiveTriangleList,
                       ShapeCull(object.GetFlagsB(), kCullNone));
}

Result BuildBox(C3DObject& object, const BoxParams* params)
{
    if (Failed(BeginShape(object, kBoxFaces, 4 * kBoxFaces, 4 * kBoxFaces, true)))
        return RES_FAIL;
    for (uint32_t i = 0; i < 4 * kBoxFaces; ++i)
        object.SetIndex(i, i % 4);
    if (params->layout <= 2)
        WriteBoxFaces(object, *params);
    const uint32_t cull = ShapeCull(object.GetFlagsB(), kCullNone);
    for (uint32_t f = 0; f < kBoxFaces; ++f)
        IgnoreResult(object.SetPrimitiveGroup(f, 4 * f, 4, 4 * f, 4, 2, kPrimitiveTriangleStrip, cull, kPartNumberId));
    return EndShape(object);
}

Result BuildAxes(C3DObject& object, const AxesParams* params)
{
    if (Failed(BeginShape(object, 1, 6, 6, false)))
        return RES_FAIL;
    object.ResetIndices();
    const float l = params->length;
    const uint32_t colours[3] = {params->colourX, params->colourY, params->colourZ};
    for (uint32_t axis = 0; axis < 3; ++axis) {
        const float end[3] = {axis == 0 ? l : 0.0f, axis == 1 ? l : 0.0f, axis == 2 ? l : 0.0f};
        object.SetVertex(2 * axis, 0.0f, 0.0f, 0.0f, colours[axis], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
        object.SetVertex(2 * axis + 1, end[0], end[1], end[2], colours[axis], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
    }
    return FinishShape(object, 6, 6, 3, kPrimitiveLineList, kCullNone);
}

Result BuildFrustum(C3DObject& object, const FrustumParams* params)
{
    const uint32_t n = params->sides;
    if (n == 0 || n > UINT32_MAX - 2)
        return RES_FAIL;
    const uint32_t count = n + 2;
    if (Failed(BeginShape(object, 1, count, count, false)))
        return RES_FAIL;
    object.ResetIndices();

    const float z = params->distance - params->eyeOffset;
    const uint32_t base = params->baseColour;
    object.SetVertex(0, 0.0f, 0.0f, -params->eyeOffset, params->apexColour, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
    if (n == 4) {
        const CWorldData* data = object.GetWorldData();
        const float width = data->configuredWidth;
        const float height = data->configuredHeight;
        const float aspect = height > 0.0f ? width / height : 1.0f;
        const float h = std::tan(params->spread) * params->distance;
        const float a = h * aspect;
        constexpr double kQuarterPi = 0.78539816339744830962;
        for (uint32_t v = 1; v <= 5; ++v) {
            const double angle = (2.0 * v + 1.0) * kQuarterPi;
            object.SetVertex(v, static_cast<float>(std::cos(angle) * h), static_cast<float>(std::sin(angle) * a), z,
                             base, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
        }
    } else {
        const float rho = params->spread * params->distance / 2.0f;
        const float step = kShapeTwoPi / static_cast<float>(n);
        float theta = 0.0f;
        for (uint32_t v = 1; v < count; ++v) {
            theta += step;
            object.SetVertex(v, std::cos(theta + kShapeHalfPi) * rho, std::sin(theta + kShapeHalfPi) * rho, z, base,
                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
        }
    }
    return FinishShape(object, count, count, n, kPrimitiveTriangleFan, kCullNone);
}
