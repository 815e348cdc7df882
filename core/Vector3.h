#pragma once

// Plain vector and matrix records shared by the whole engine.

struct Vector2 {
    float x, y;
};

struct Vector3 {
    float x, y, z;
};

struct Vector4 {
    float x, y, z, w;
};

// 4x4 matrix, row-major: element (row r, column c) at m[4r + c]. Points are row vectors
// multiplied on the left (p' = p x M): the translation lies in m[12..14], the axes in rows 0-2.
// The same 16 floats read column-major are the matrix OpenGL expects (glLoadMatrixf).
struct Matrix4 {
    float m[16];
};

static_assert(sizeof(Vector3) == 3 * sizeof(float), "Vector3 must be three packed floats");
static_assert(sizeof(Matrix4) == 16 * sizeof(float), "Matrix4 must be sixteen packed floats");

// Stores the three values into v and returns it.
inline Vector3* Vector3Set(Vector3* v, float x, float y, float z)
{
    v->x = x;
    v->y = y;
    v->z = z;
    return v;
}
