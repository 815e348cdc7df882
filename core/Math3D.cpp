#include "core/Math3D.h"

#include <algorithm>
#include <cmath>

namespace {

float* Row(Matrix4* m, int r) { return m->m + 4 * r; }
const float* Row(const Matrix4* m, int r) { return m->m + 4 * r; }

Vector3 RowVector(const Matrix4* m, int r)
{
    const float* row = Row(m, r);
    return Vector3{row[0], row[1], row[2]};
}

void SetRowVector(Matrix4* m, int r, const Vector3* v)
{
    float* row = Row(m, r);
    row[0] = v->x;
    row[1] = v->y;
    row[2] = v->z;
}

// Rows ra and rb of m become (ca * ra + sa * rb) and (cb * ra + sb * rb).
void CombineRows(Matrix4* m, int ra, int rb, float ca, float sa, float cb, float sb)
{
    float* a = Row(m, ra);
    float* b = Row(m, rb);
    for (int i = 0; i < 4; ++i) {
        const float va = a[i];
        const float vb = b[i];
        a[i] = ca * va + sa * vb;
        b[i] = cb * va + sb * vb;
    }
}

void BuildPerspective(Matrix4* out, float fovy, float aspect, float zNear, float zFar, float handedness)
{
    const float t = zNear * std::tan(fovy / 2.0f);
    const float b = -t;
    const float r = t * aspect;
    const float l = -r;
    *out = Matrix4{};
    out->m[0] = 2.0f * zNear / (r - l);
    out->m[5] = 2.0f * zNear / (t - b);
    out->m[8] = (r + l) / (r - l);
    out->m[9] = (t + b) / (t - b);
    out->m[10] = handedness * (zFar + zNear) / (zFar - zNear);
    out->m[11] = handedness;
    out->m[14] = -2.0f * zNear * zFar / (zFar - zNear);
}

} // namespace

Vector2* CMath3D::Normalize2(Vector2* out, const Vector2* v)
{
    const float length = Length2(v);
    if (length == 0.0f) {
        *out = *v;
        return out;
    }
    out->x = v->x / length;
    out->y = v->y / length;
    return out;
}

float CMath3D::Length2(const Vector2* v) { return std::sqrt(v->x * v->x + v->y * v->y); }

Vector3* CMath3D::Cross(Vector3* out, const Vector3* a, const Vector3* b)
{
    const Vector3 r{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
    *out = r;
    return out;
}

float CMath3D::Dot3(const Vector3* a, const Vector3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

Vector3* CMath3D::Normalize3(Vector3* out, const Vector3* v)
{
    const float length = Length3(v);
    if (length == 0.0f) {
        *out = *v;
        return out;
    }
    const Vector3 r{v->x / length, v->y / length, v->z / length};
    *out = r;
    return out;
}

float CMath3D::Length3(const Vector3* v) { return std::sqrt(Dot3(v, v)); }

Vector3* CMath3D::TransformPoint(Vector3* out, const Vector3* p, const Matrix4* m)
{
    const float* e = m->m;
    const Vector3 r{p->x * e[0] + p->y * e[4] + p->z * e[8] + e[12],
                    p->x * e[1] + p->y * e[5] + p->z * e[9] + e[13],
                    p->x * e[2] + p->y * e[6] + p->z * e[10] + e[14]};
    *out = r;
    return out;
}

float CMath3D::TransformZ(const Vector3* p, const Matrix4* m)
{
    const float* e = m->m;
    return p->x * e[2] + p->y * e[6] + p->z * e[10] + e[14];
}

Vector3* CMath3D::CrossAlt(Vector3* out, const Vector3* a, const Vector3* b) { return Cross(out, a, b); }

Vector3* CMath3D::Clamp(Vector3* v, const Vector3* upper, const Vector3* lower)
{
    v->x = std::min(std::max(v->x, lower->x), upper->x);
    v->y = std::min(std::max(v->y, lower->y), upper->y);
    v->z = std::min(std::max(v->z, lower->z), upper->z);
    return v;
}

Vector3* CMath3D::ClampCopy(Vector3* out, const Vector3* p, const Vector3* upper, const Vector3* lower)
{
    const Vector3 hi = *upper;
    const Vector3 lo = *lower;
    *out = *p;
    return Clamp(out, &hi, &lo);
}

Vector4* CMath3D::TransformVector4(Vector4* out, const Vector4* v, const Matrix4* m)
{
    const float* e = m->m;
    const Vector4 r{v->x * e[0] + v->y * e[4] + v->z * e[8] + v->w * e[12],
                    v->x * e[1] + v->y * e[5] + v->z * e[9] + v->w * e[13],
                    v->x * e[2] + v->y * e[6] + v->z * e[10] + v->w * e[14],
                    v->x * e[3] + v->y * e[7] + v->z * e[11] + v->w * e[15]};
    *out = r;
    return out;
}

Matrix4* CMath3D::Reset(Matrix4* m) { return Identity(m); }

float CMath3D::Determinant(const Matrix4* m)
{
    const float* a = m->m;
    const float s0 = a[0] * a[5] - a[4] * a[1];
    const float s1 = a[0] * a[6] - a[4] * a[2];
    const float s2 = a[0] * a[7] - a[4] * a[3];
    const float s3 = a[1] * a[6] - a[5] * a[2];
    const float s4 = a[1] * a[7] - a[5] * a[3];
    const float s5 = a[2] * a[7] - a[6] * a[3];
    const float c5 = a[10] * a[15] - a[14] * a[11];
    const float c4 = a[9] * a[15] - a[13] * a[11];
    const float c3 = a[9] * a[14] - a[13] * a[10];
    const float c2 = a[8] * a[15] - a[12] * a[11];
    const float c1 = a[8] * a[14] - a[12] * a[10];
    const float c0 = a[8] * a[13] - a[12] * a[9];
    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

Vector3* CMath3D::GetTranslation(Vector3* out, const Matrix4* m) { return Vector3Set(out, m->m[12], m->m[13], m->m[14]); }

Matrix4* CMath3D::SetTranslation(Matrix4* m, const Vector3* v) { return SetTranslationXYZ(m, v->x, v->y, v->z); }

Matrix4* CMath3D::SetTranslationXYZ(Matrix4* m, float x, float y, float z)
{
    m->m[12] = x;
    m->m[13] = y;
    m->m[14] = z;
    return m;
}

Matrix4* CMath3D::Identity(Matrix4* m)
{
    *m = Matrix4{};
    m->m[0] = m->m[5] = m->m[10] = m->m[15] = 1.0f;
    return m;
}

bool CMath3D::IsIdentity(const Matrix4* m)
{
    Matrix4 identity;
    Identity(&identity);
    return Equals(m, &identity);
}

bool CMath3D::Equals(const Matrix4* a, const Matrix4* b)
{
    for (int i = 0; i < 16; ++i) {
        if (a->m[i] != b->m[i])
            return false;
    }
    return true;
}

Matrix4* CMath3D::Transpose(Matrix4* out, const Matrix4* m)
{
    const Matrix4 source = *m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            out->m[4 * r + c] = source.m[4 * c + r];
    }
    return out;
}

Matrix4* CMath3D::Multiply(Matrix4* out, const Matrix4* a, const Matrix4* b)
{
    const Matrix4 left = *a;
    const Matrix4 right = *b;
    MultiplyRow0(out, &left, &right);
    MultiplyRow1(out, &left, &right);
    MultiplyRow2(out, &left, &right);
    MultiplyRow3(out, &left, &right);
    return out;
}

Matrix4* CMath3D::Invert(Matrix4* out, float* reciprocalDeterminant, const Matrix4* m)
{
    const Matrix4 s = *m;
    const float* a = s.m;
    const float k = 1.0f / Determinant(&s);
    float* o = out->m;
    o[0] = (a[5] * a[10] - a[6] * a[9]) * k;
    o[1] = (a[2] * a[9] - a[1] * a[10]) * k;
    o[2] = (a[1] * a[6] - a[2] * a[5]) * k;
    o[4] = (a[6] * a[8] - a[4] * a[10]) * k;
    o[5] = (a[0] * a[10] - a[2] * a[8]) * k;
    o[6] = (a[2] * a[4] - a[0] * a[6]) * k;
    o[8] = (a[4] * a[9] - a[5] * a[8]) * k;
    o[9] = (a[1] * a[8] - a[0] * a[9]) * k;
    o[10] = (a[0] * a[5] - a[1] * a[4]) * k;
    o[3] = a[3];
    o[7] = a[7];
    o[11] = a[11];
    o[15] = a[15];
    for (int j = 0; j < 3; ++j)
        o[12 + j] = -(a[12] * o[j] + a[13] * o[4 + j] + a[14] * o[8 + j]);
    *reciprocalDeterminant = k;
    return out;
}

Matrix4* CMath3D::InvertInPlace(Matrix4* m)
{
    float reciprocal = 0.0f;
    return Invert(m, &reciprocal, m);
}

Matrix4* CMath3D::Orthonormalize(Matrix4* m)
{
    Vector3 rows[3];
    bool anyZero = false;
    for (int r = 0; r < 3; ++r) {
        const Vector3 row = RowVector(m, r);
        anyZero = anyZero || (row.x == 0.0f && row.y == 0.0f && row.z == 0.0f);
        Normalize3(&rows[r], &row);
    }
    if (anyZero) {
        Vector3Set(&rows[0], 1.0f, 0.0f, 0.0f);
        Vector3Set(&rows[1], 0.0f, 1.0f, 0.0f);
        Vector3Set(&rows[2], 0.0f, 0.0f, 1.0f);
    }
    for (int r = 0; r < 3; ++r)
        SetRowVector(m, r, &rows[r]);
    return m;
}

Vector3* CMath3D::GetScale(Vector3* out, const Matrix4* m)
{
    const Vector3 x = RowVector(m, 0);
    const Vector3 y = RowVector(m, 1);
    const Vector3 z = RowVector(m, 2);
    return Vector3Set(out, Length3(&x), Length3(&y), Length3(&z));
}

Matrix4* CMath3D::ScaleUniform(Matrix4* m, float s) { return Scale(m, s, s, s); }

Matrix4* CMath3D::ScaleByVector(Matrix4* m, const Vector3* v) { return Scale(m, v->x, v->y, v->z); }

Matrix4* CMath3D::Scale(Matrix4* m, float x, float y, float z)
{
    const float factors[3] = {x, y, z};
    for (int r = 0; r < 3; ++r) {
        float* row = Row(m, r);
        for (int c = 0; c < 4; ++c)
            row[c] *= factors[r];
    }
    return m;
}

Matrix4* CMath3D::TranslateX(Matrix4* m, float d) { return Translate(m, d, 0.0f, 0.0f); }

Matrix4* CMath3D::TranslateY(Matrix4* m, float d) { return Translate(m, 0.0f, d, 0.0f); }

Matrix4* CMath3D::TranslateZ(Matrix4* m, float d) { return Translate(m, 0.0f, 0.0f, d); }

Matrix4* CMath3D::TranslateByVector(Matrix4* m, const Vector3* v) { return Translate(m, v->x, v->y, v->z); }

Matrix4* CMath3D::Translate(Matrix4* m, float x, float y, float z)
{
    float* t = Row(m, 3);
    for (int c = 0; c < 4; ++c)
        t[c] += x * m->m[c] + y * m->m[4 + c] + z * m->m[8 + c];
    return m;
}

Matrix4* CMath3D::RotateAngles(Matrix4* m, const Vector3* angles)
{
    RotateX(m, angles->x);
    RotateY(m, angles->y);
    return RotateZ(m, angles->z);
}

Matrix4* CMath3D::RotateX(Matrix4* m, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    CombineRows(m, 1, 2, c, s, -s, c);
    return m;
}

Matrix4* CMath3D::RotateY(Matrix4* m, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    CombineRows(m, 0, 2, c, -s, s, c);
    return m;
}

Matrix4* CMath3D::RotateZ(Matrix4* m, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    CombineRows(m, 0, 1, c, s, -s, c);
    return m;
}

Matrix4* CMath3D::RotateVector(Matrix4* m, const Vector3* angles)
{
    RotateXByProduct(m, angles->x);
    RotateYByProduct(m, angles->y);
    return RotateZByProduct(m, angles->z);
}

Matrix4* CMath3D::RotateXByProduct(Matrix4* m, float angle)
{
    Matrix4 r;
    Identity(&r);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    return Multiply(m, &r, m);
}

Matrix4* CMath3D::RotateYByProduct(Matrix4* m, float angle)
{
    Matrix4 r;
    Identity(&r);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[0] = c;
    r.m[2] = -s;
    r.m[8] = s;
    r.m[10] = c;
    return Multiply(m, &r, m);
}

Matrix4* CMath3D::RotateZByProduct(Matrix4* m, float angle)
{
    Matrix4 r;
    Identity(&r);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    return Multiply(m, &r, m);
}

Matrix4* CMath3D::BasisFromDirection(Matrix4* m, const Vector3* target)
{
    Vector3 position;
    GetTranslation(&position, m);
    Vector3 dir{target->x - position.x, target->y - position.y, target->z - position.z};
    const Vector3 up{0.0f, 1.0f, 0.0f};
    Vector3 side;
    Cross(&side, &up, &dir);
    Vector3 newUp;
    Cross(&newUp, &dir, &side);
    Normalize3(&side, &side);
    Normalize3(&newUp, &newUp);
    Normalize3(&dir, &dir);
    SetAxisX(m, &side);
    SetAxisY(m, &newUp);
    return SetAxisZ(m, &dir);
}

Matrix4* CMath3D::LookAt(Matrix4* m, const Vector3* target) { return BasisFromDirection(m, target); }

Matrix4* CMath3D::ApplyKeepTranslation(Matrix4* m, const Matrix4* other)
{
    Vector3 translation;
    GetTranslation(&translation, m);
    Multiply(m, m, other);
    return SetTranslation(m, &translation);
}

Matrix4* CMath3D::ProjectionRH(Matrix4* out, float fovy, float aspect, float zNear, float zFar)
{
    BuildPerspective(out, fovy, aspect, zNear, zFar, -1.0f);
    return out;
}

Matrix4* CMath3D::Projection(Matrix4* out, float fovy, float aspect, float zNear, float zFar)
{
    BuildPerspective(out, fovy, aspect, zNear, zFar, 1.0f);
    return out;
}

void CMath3D::ViewMatrix(Matrix4* a, Matrix4* b, uint32_t width, uint32_t height)
{
    Identity(a);
    a->m[0] = 0.49382713f;
    a->m[5] = 0.42735043f;
    a->m[10] = 0.5f;
    a->m[12] = -0.0098765334f;
    a->m[13] = 0.94658118f;
    a->m[14] = 0.5f;
    Identity(b);
    b->m[0] = static_cast<float>(width);
    b->m[5] = -static_cast<float>(height);
    b->m[12] = 0.0f;
    b->m[13] = static_cast<float>(height);
}

Matrix4* CMath3D::OrthoOffCenter(Matrix4* out, float left, float right, float bottom, float top, float zNear,
                                 float zFar)
{
    *out = Matrix4{};
    out->m[0] = 2.0f / (right - left);
    out->m[5] = 2.0f / (top - bottom);
    out->m[10] = -2.0f / (zFar - zNear);
    out->m[15] = 1.0f;
    return out;
}

Vector3* CMath3D::GetAxisZ(Vector3* out, const Matrix4* m)
{
    *out = RowVector(m, 2);
    return out;
}

Vector3* CMath3D::GetAxisY(Vector3* out, const Matrix4* m)
{
    *out = RowVector(m, 1);
    return out;
}

Vector3* CMath3D::GetAxisX(Vector3* out, const Matrix4* m)
{
    *out = RowVector(m, 0);
    return out;
}

Matrix4* CMath3D::SetAxisZ(Matrix4* m, const Vector3* v)
{
    SetRowVector(m, 2, v);
    return m;
}

Matrix4* CMath3D::SetAxisY(Matrix4* m, const Vector3* v)
{
    SetRowVector(m, 1, v);
    return m;
}

Matrix4* CMath3D::SetAxisX(Matrix4* m, const Vector3* v)
{
    SetRowVector(m, 0, v);
    return m;
}

Matrix4* CMath3D::MultiplyRow0(Matrix4* out, const Matrix4* a, const Matrix4* b)
{
    MultiplyRow(out, a, b, 0);
    return out;
}

Matrix4* CMath3D::MultiplyRow1(Matrix4* out, const Matrix4* a, const Matrix4* b)
{
    MultiplyRow(out, a, b, 1);
    return out;
}

Matrix4* CMath3D::MultiplyRow2(Matrix4* out, const Matrix4* a, const Matrix4* b)
{
    MultiplyRow(out, a, b, 2);
    return out;
}

Matrix4* CMath3D::MultiplyRow3(Matrix4* out, const Matrix4* a, const Matrix4* b)
{
    MultiplyRow(out, a, b, 3);
    return out;
}

void CMath3D::MultiplyRow(Matrix4* out, const Matrix4* a, const Matrix4* b, int row)
{
    const float* ar = Row(a, row);
    float r[4];
    for (int c = 0; c < 4; ++c)
        r[c] = ar[0] * b->m[c] + ar[1] * b->m[4 + c] + ar[2] * b->m[8 + c] + ar[3] * b->m[12 + c];
    float* o = Row(out, row);
    for (int c = 0; c < 4; ++c)
        o[c] = r[c];
}
