#include <algorithm>
#include <cmath>

#include "engine3d/Object.h"
#include "engine3d/PrimitiveBuild.h"

namespace {

// Writes consecutive triangles from index 0 on.
class TriangleWriter {
public:
    explicit TriangleWriter(C3DObject& object) : m_object(object) {}

    void Put(uint32_t a, uint32_t b, uint32_t c)
    {
        m_object.SetIndex(m_next++, a);
        m_object.SetIndex(m_next++, b);
        m_object.SetIndex(m_next++, c);
    }

private:
    C3DObject& m_object;
    uint32_t m_next = 0;
};

// Point at angle theta and radius rho in the plane of the axis (as a disc rim or dish ring).
Vector3 PlanePoint(uint32_t axis, float rho, float theta)
{
    const float s = rho * std::sin(theta);
    const float c = rho * std::cos(theta);
    switch (axis) {
    case kAxisXY:
        return Vector3{s, c, 0.0f};
    case kAxisYZ:
        return Vector3{0.0f, c, s};
    default:
        return Vector3{s, 0.0f, c};
    }
}

// Texture coordinates of a rim point at theta, scaled by (su, sv) around the centre.
Vector2 RimUV(float theta, float su, float sv)
{
    const float angle = theta - kShapeHalfPi;
    return Vector2{0.5f + 0.5f * su * std::cos(angle), 0.5f + 0.5f * sv * std::sin(angle)};
}

} // namespace

Result BuildSphere(C3DObject& object, SphereParams* params, bool half)
{
    const uint32_t n = std::clamp<uint32_t>(params->segments, 3, 255);
    params->segments = n;
    const uint32_t vertices = n * n + 2 * n - 1;
    const uint32_t indices = 6 * n * (n - 1);
    if (Failed(BeginShape(object, 1, vertices, indices, true)))
        return RES_FAIL;

    const float r = params->radius;
    const float fn = static_cast<float>(n);
    const uint32_t colour = params->colour;
    const uint32_t specular = params->specular;
    const uint32_t bottom = n + (n - 1) * (n + 1);
    auto ring = [n](uint32_t j, uint32_t k) { return n + (j - 1) * (n + 1) + k; };

    for (uint32_t i = 0; i < n; ++i) {
        const float u = static_cast<float>(i) / fn;
        object.SetVertex(i, 0.0f, r, 0.0f, colour, u, 0.0f, 0.0f, 1.0f, 0.0f, specular);
        object.SetVertex(bottom + i, 0.0f, -r, 0.0f, colour, u, 1.0f, 0.0f, -1.0f, 0.0f, specular);
    }
    const float phiStep = kShapePi / fn;
    const float thetaStep = half ? kShapePi / fn : kShapeTwoPi / fn;
    const float turn = half ? -1.0f : 1.0f;
    float phi = kShapeHalfPi;
    for (uint32_t j = 1; j < n; ++j) {
        phi += phiStep;
        const float cosPhi = std::cos(phi);
        const float sinPhi = std::sin(phi);
        const float v = static_cast<float>(j) / fn;
        float theta = 0.0f;
        for (uint32_t k = 0; k <= n; ++k) {
            const float nx = turn * std::cos(theta) * cosPhi;
            const float nz = turn * std::sin(theta) * cosPhi;
            object.SetVertex(ring(j, k), r * nx, r * sinPhi, r * nz, colour, static_cast<float>(k) / fn, v, nx, sinPhi,
                             nz, specular);
            theta += thetaStep;
        }
    }

    TriangleWriter out(object);
    for (uint32_t i = 0; i < n; ++i)
        out.Put(i, ring(1, i + 1), ring(1, i));
    for (uint32_t j = 1; j + 1 < n; ++j) {
        for (uint32_t k = 0; k < n; ++k) {
            out.Put(ring(j, k), ring(j + 1, k + 1), ring(j + 1, k));
            out.Put(ring(j, k), ring(j, k + 1), ring(j + 1, k + 1));
        }
    }
    for (uint32_t i = 0; i < n; ++i)
        out.Put(ring(n - 1, i), ring(n - 1, i + 1), bottom + i);
    return FinishShape(object, vertices, indices, indices / 3, kPrimitiveTriangleList,
                       ShapeCull(object.GetFlagsB(), kCullNone));
}

Result BuildDisc(C3DObject& object, DiscParams* params)
{
    if (params->axis > kAxisXZ || params->segments > UINT32_MAX - 2)
        return RES_FAIL;
    const uint32_t n = std::max<uint32_t>(params->segments, 3);
    params->segments = n;
    const uint32_t count = n + 2;
    if (Failed(BeginShape(object, 1, count, count, true)))
        return RES_FAIL;
    object.ResetIndices();

    const Vector3 normal = ShapeAxisNormal(params->axis);
    const uint32_t colour = params->colour;
    const uint32_t specular = params->specular;
    object.SetVertex(0, 0.0f, params->height / 2.0f, 0.0f, colour, 0.5f, 0.5f, normal.x, normal.y, normal.z,
                     specular);
    const float radius = params->diameter / 2.0f;
    const float h = -params->height / 2.0f;
    const bool mapped = params->uvMode <= 1;
    const float step = kShapeTwoPi / static_cast<float>(n);
    float theta = 0.0f;
    for (uint32_t v = 1; v < count; ++v) {
        theta += step;
        Vector3 p = PlanePoint(params->axis, radius, theta);
        if (params->axis == kAxisXY)
            p.z = h;
        else if (params->axis == kAxisYZ)
            p.x = h;
        else
            p.y = h;
        const Vector2 uv = mapped ? RimUV(theta, params->uScale, params->vScale) : Vector2{0.0f, 0.0f};
        object.SetVertex(v, p.x, p.y, p.z, colour, uv.x, uv.y, normal.x, normal.y, normal.z, specular);
    }
    return FinishShape(object, count, count, n, kPrimitiveTriangleFan, ShapeCull(object.GetFlagsB(), kCullNone));
}

Result BuildTube(C3DObject& object, TubeParams* params)
{
    if (params->axis > kAxisXZ || params->segments > UINT32_MAX / 2)
        return RES_FAIL;
    params->stacks = 1;
    const uint32_t n = std::max<uint32_t>(params->segments, 3);
    params->segments = n;
    const uint32_t count = 2 * n;
    if (Failed(BeginShape(object, 1, count, count, false)))
        return RES_FAIL;
    object.ResetIndices();

    const float top = params->topDiameter / 2.0f;
    const float bottom = params->bottomDiameter / 2.0f;
    const float g = params->height / 2.0f;
    const uint32_t colour = params->colour;
    const uint32_t specular = params->specular;
    const double last = static_cast<double>(n - 1);
    for (uint32_t i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i * static_cast<double>(kShapeTwoPi) / last);
        const float s = std::sin(theta);
        const float c = std::cos(theta);
        Vector3 pt, pb;
        if (params->axis == kAxisXZ) {
            pt = Vector3{top * c, top * s, g};
            pb = Vector3{bottom * c, bottom * s, -g};
        } else {
            pt = Vector3{top * s, g, top * c};
            pb = Vector3{bottom * s, -g, bottom * c};
        }
        Vector2 uvTop{0.0f, 0.0f};
        Vector2 uvBottom{0.0f, 0.0f};
        if (params->uvMode == 0) {
            const float u = (1.0f - static_cast<float>(i / last)) * params->uScale;
            uvTop = Vector2{u, 0.0f};
            uvBottom = Vector2{u, params->vScale};
        } else if (params->uvMode == 1) {
            uvTop = Vector2{1.0f, 0.0f};
        }
        object.SetVertex(2 * i, pt.x, pt.y, pt.z, colour, uvTop.x, uvTop.y, 0.0f, 1.0f, 0.0f, specular);
        object.SetVertex(2 * i + 1, pb.x, pb.y, pb.z, colour, uvBottom.x, uvBottom.y, 0.0f, 1.0f, 0.0f, specular);
    }
    return FinishShape(object, count, count, count - 2, kPrimitiveTriangleStrip,
                       ShapeCull(object.GetFlagsB(), kCullNone));
}

Result BuildDish(C3DObject& object, const DishParams* params)
{
    const uint64_t n = params->segments;
    const uint64_t rings = params->rings;
    if (n == 0 || rings == 0 || params->axis > kAxisXZ)
        return RES_FAIL;
    const uint64_t triangles = n * (2 * rings - 1);
    const uint64_t vertices64 = (rings + 1) * n + 1;
    if (!ShapeCountsFit(vertices64, 3 * triangles))
        return RES_FAIL;
    const uint32_t vertices = static_cast<uint32_t>(vertices64);
    const uint32_t indices = static_cast<uint32_t>(3 * triangles);
    if (Failed(BeginShape(object, 1, vertices, indices, false)))
        return RES_FAIL;

    const uint32_t segments = params->segments;
    const Vector3 normal = ShapeAxisNormal(params->axis);
    const uint32_t colour = params->colour;
    const uint32_t specular = params->specular;
    const float full = params->diameter;
    const float step = kShapeTwoPi / static_cast<float>(segments);
    object.SetVertex(0, 0.0f, 0.0f, 0.0f, colour, 0.5f, 0.5f, normal.x, normal.y, normal.z, specular);

    // Ring k: its diameter d, its depth offset against the axis normal.
    auto writeRing = [&](uint32_t k, float d, float depth) {
        const float share = full != 0.0f ? d / full : 0.0f;
        float theta = 0.0f;
        for (uint32_t i = 0; i < segments; ++i) {
            theta += step;
            const Vector3 p = PlanePoint(params->axis, d / 2.0f, theta);
            const Vector2 uv = RimUV(theta, share, share);
            object.SetVertex(k * segments + 1 + i, p.x - depth * normal.x, p.y - depth * normal.y,
                             p.z - depth * normal.z, colour, uv.x, uv.y, normal.x, normal.y, normal.z, specular);
        }
    };
    TriangleWriter out(object);
    float d = full / static_cast<float>(params->rings);
    writeRing(0, d, 0.0f);
    for (uint32_t i = 1; i < segments; ++i)
        out.Put(0, i, i + 1);
    out.Put(0, segments, 1);

    float power = 1.0f;
    for (uint32_t k = 1; k < params->rings; ++k) {
        d += (full - d) * params->ringFactor;
        power *= params->ringFactor;
        writeRing(k, d, params->depth - params->depth * power);
        const uint32_t a = (k - 1) * segments + 1;
        const uint32_t b = k * segments + 1;
        for (uint32_t i = 0; i < segments; ++i) {
            const uint32_t next = i + 1 == segments ? 0 : i + 1;
            out.Put(a + i, b + i, b + next);
            out.Put(a + next, a + i, b + next);
        }
    }
    return FinishShape(object, vertices, indices, static_cast<uint32_t>(triangles), kPrimitiveTriangleList,
                       ShapeCull(object.GetFlagsB(), kCullNone));
}
