// Projection to and from the window, picking, distances, angles and intersection tests.
#include <algorithm>
#include <cmath>

#include "core/Math3D.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kIntersectEpsilon = 0.0001f;

Vector3 Sub(const Vector3* a, const Vector3* b) { return Vector3{a->x - b->x, a->y - b->y, a->z - b->z}; }

struct Plane {
    float a, b, c, d;
    float Distance(const Vector3& p) const { return a * p.x + b * p.y + c * p.z + d; }
};

// Clip planes of a transposed projection-type matrix; a point is clipped where a plane is negative.
void ExtractClipPlanes(const Matrix4& t, Plane planes[6])
{
    const float* w = t.m + 12;
    for (int i = 0; i < 3; ++i) {
        const float* r = t.m + 4 * i;
        planes[2 * i] = Plane{w[0] + r[0], w[1] + r[1], w[2] + r[2], w[3] + r[3]};
        planes[2 * i + 1] = Plane{w[0] - r[0], w[1] - r[1], w[2] - r[2], w[3] - r[3]};
    }
}

bool SegmentOutside(const Plane planes[6], const Vector3& from, const Vector3& to)
{
    for (int i = 0; i < 6; ++i) {
        if (planes[i].Distance(from) < 0.0f && planes[i].Distance(to) < 0.0f)
            return true;
    }
    return false;
}

} // namespace

Vector3* CMath3D::Project(Vector3* out, uint32_t width, uint32_t height, const Matrix4* world, const Matrix4* view,
                          const Matrix4* projection, const Vector3* p)
{
    Vector4 q{p->x, p->y, p->z, 1.0f};
    if (world)
        TransformVector4(&q, &q, world);
    TransformVector4(&q, &q, view);
    TransformVector4(&q, &q, projection);
    if (q.w == 0.0f)
        return Vector3Set(out, 0.0f, 0.0f, -1.0f);
    const float halfWidth = static_cast<float>(width / 2);
    const float halfHeight = static_cast<float>(height / 2);
    return Vector3Set(out, (q.x / q.w + 1.0f) * halfWidth,
                      static_cast<float>(height) - (q.y / q.w + 1.0f) * halfHeight, (q.z / q.w + 1.0f) * 0.5f);
}

Vector3* CMath3D::Unproject(Vector3* out, uint32_t width, uint32_t height, const Matrix4* m, const Vector3* p)
{
    Vector4 q{2.0f * p->x / static_cast<float>(width) - 1.0f, 2.0f * p->y / static_cast<float>(height) - 1.0f,
              2.0f * p->z - 1.0f, 1.0f};
    TransformVector4(&q, &q, m);
    if (q.w == 0.0f)
        return Vector3Set(out, 0.0f, 0.0f, 0.0f);
    return Vector3Set(out, q.x / q.w, q.y / q.w, q.z / q.w);
}

bool CMath3D::PickTest(const Matrix4* a, const Matrix4* b, const Vector3* point, float size)
{
    Matrix4 clip;
    Multiply(&clip, a, b);
    Transpose(&clip, &clip);
    Plane planes[6];
    ExtractClipPlanes(clip, planes);

    Vector3 offsets[3];
    Vector3Set(&offsets[0], size, 0.0f, 0.0f);
    Vector3Set(&offsets[1], 0.0f, size, 0.0f);
    Vector3Set(&offsets[2], 0.0f, 0.0f, size);
    for (const Vector3& d : offsets) {
        const Vector3 from{point->x - d.x, point->y - d.y, point->z - d.z};
        const Vector3 to{point->x + d.x, point->y + d.y, point->z + d.z};
        if (!SegmentOutside(planes, from, to))
            return true;
    }
    return false;
}

float CMath3D::DistancePointSegment(const Vector3* p, const Vector3* a, const Vector3* b)
{
    const Vector3 pa = Sub(p, a);
    const Vector3 pb = Sub(p, b);
    const Vector3 ab = Sub(a, b);
    const float a2 = Dot3(&pa, &pa);
    const float b2 = Dot3(&pb, &pb);
    const float l2 = Dot3(&ab, &ab);
    const float l = std::sqrt(l2);
    if (l == 0.0f)
        return std::sqrt(a2);
    const float k = (l2 + a2 - b2) / (2.0f * l);
    if (k < 0.0f)
        return std::sqrt(a2);
    if (k > l)
        return std::sqrt(b2);
    return std::sqrt(std::max(a2 - k * k, 0.0f));
}

float CMath3D::AngleOfAxis(const Matrix4* m)
{
    Vector3 z;
    GetAxisZ(&z, m);
    Normalize3(&z, &z);
    float heading = std::atan(z.x / z.z);
    if (z.z < 0.0f)
        heading += z.x > 0.0f ? kPi : -kPi;
    return heading;
}

void CMath3D::MatrixToAngles(const Matrix4* m, float* outX, float* outY, float* outZ)
{
    const float heading = AngleOfAxis(m);
    *outY = heading;

    Matrix4 unturn;
    Identity(&unturn);
    RotateY(&unturn, -heading);

    Vector3 v;
    GetAxisY(&v, m);
    Normalize3(&v, &v);
    TransformPoint(&v, &v, &unturn);
    *outX = std::atan(v.z / v.y);

    GetAxisX(&v, m);
    Normalize3(&v, &v);
    TransformPoint(&v, &v, &unturn);
    float roll = std::atan(v.x / v.y);
    if (v.y < 0.0f)
        roll += kPi;
    *outZ = kPi / 2.0f - roll;
}

Vector3* CMath3D::GetAngles(Vector3* out, const Matrix4* m)
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    MatrixToAngles(m, &x, &y, &z);
    return Vector3Set(out, x, y, z);
}

Result CMath3D::TrianglePlaneTest(const Vector3* a, const Vector3* b, const Vector3* c, const Vector3*, uint32_t mode)
{
    if (mode == 0)
        return RES_OK;
    const Vector3 ab = Sub(a, b);
    const Vector3 ac = Sub(a, c);
    Vector3 n;
    Cross(&n, &ab, &ac);
    const bool positive = n.z > 0.0f;
    if (mode == 2)
        return positive ? RES_FAIL : RES_OK;
    return positive ? RES_OK : RES_FAIL;
}

float CMath3D::Intersect(const Vector3* origin, const Vector3* direction, const Vector3* p0, const Vector3* p1,
                         const Vector3* p2, float* outU, float* outV)
{
    Vector3 dir;
    Normalize3(&dir, direction);
    const Vector3 e1 = Sub(p1, p0);
    const Vector3 e2 = Sub(p2, p0);
    Vector3 p;
    Cross(&p, &dir, &e2);
    float det = Dot3(&e1, &p);

    Vector3 s;
    if (det > 0.0f) {
        s = Sub(origin, p0);
    } else {
        s = Sub(p0, origin);
        det = -det;
    }
    if (det < kIntersectEpsilon)
        return 0.0f;

    const float u = Dot3(&s, &p);
    if (u < 0.0f || u > det)
        return 0.0f;
    Vector3 q;
    Cross(&q, &s, &e1);
    const float v = Dot3(&dir, &q);
    if (v < 0.0f || u + v > det)
        return 0.0f;

    const float inv = 1.0f / det;
    if (outU)
        *outU = u * inv;
    if (outV)
        *outV = v * inv;
    return Dot3(&e2, &q) * inv;
}

bool CMath3D::CircleTriangleTest(float cx, float cy, float r, float ax, float ay, float bx, float by, float cx2,
                                 float cy2)
{
    const float vx[3] = {ax, bx, cx2};
    const float vy[3] = {ay, by, cy2};
    float inside[3];
    const float r2 = r * r;
    for (int i = 0; i < 3; ++i) {
        const float dx = cx - vx[i];
        const float dy = cy - vy[i];
        inside[i] = dx * dx + dy * dy - r2;
        if (inside[i] <= 0.0f)
            return true;
    }

    float side[3];
    float ex[3];
    float ey[3];
    for (int i = 0; i < 3; ++i) {
        const int next = (i + 1) % 3;
        ex[i] = vx[next] - vx[i];
        ey[i] = vy[next] - vy[i];
        side[i] = ey[i] * (cx - vx[i]) - ex[i] * (cy - vy[i]);
    }
    // Centre inside the triangle, whichever its winding.
    if ((side[0] >= 0.0f && side[1] >= 0.0f && side[2] >= 0.0f) ||
        (side[0] <= 0.0f && side[1] <= 0.0f && side[2] <= 0.0f))
        return true;

    for (int i = 0; i < 3; ++i) {
        const float k = ex[i] * (cx - vx[i]) + ey[i] * (cy - vy[i]);
        const float len2 = ex[i] * ex[i] + ey[i] * ey[i];
        if (k > 0.0f && k < len2 && k * k >= len2 * inside[i])
            return true;
    }
    return false;
}
