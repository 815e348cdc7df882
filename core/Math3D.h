#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "core/Vector3.h"

// Stateless vector and matrix helper. Matrices are row-major and used with row vectors
// (see Matrix4); A x B applies A first. Rotations are left-handed, angles in radians.
// Every operation that scales, translates or rotates a matrix premultiplies it, so the new
// transform applies to points before the old one. Out arguments may alias inputs unless noted.
class CMath3D : public CBaseObject {
public:
    ~CMath3D() override = default;

    virtual Vector2* Normalize2(Vector2* out, const Vector2* v);
    virtual float Length2(const Vector2* v);
    virtual Vector3* Cross(Vector3* out, const Vector3* a, const Vector3* b);
    virtual float Dot3(const Vector3* a, const Vector3* b);
    virtual Vector3* Normalize3(Vector3* out, const Vector3* v);
    virtual float Length3(const Vector3* v);
    virtual Vector3* TransformPoint(Vector3* out, const Vector3* p, const Matrix4* m);
    virtual float TransformZ(const Vector3* p, const Matrix4* m);
    virtual Vector3* CrossAlt(Vector3* out, const Vector3* a, const Vector3* b);
    // Window coordinates of p (y down from the top); world may be null.
    virtual Vector3* Project(Vector3* out, uint32_t width, uint32_t height, const Matrix4* world,
                             const Matrix4* view, const Matrix4* projection, const Vector3* p);
    // Window coordinates (y not flipped) back through m, usually an inverse view-projection.
    virtual Vector3* Unproject(Vector3* out, uint32_t width, uint32_t height, const Matrix4* m,
                               const Vector3* p);
    virtual Vector3* Clamp(Vector3* v, const Vector3* upper, const Vector3* lower);
    virtual Vector3* ClampCopy(Vector3* out, const Vector3* p, const Vector3* upper, const Vector3* lower);
    // True when a cross of half-size `size` around point is at least partly inside the
    // clip volume of a x b.
    virtual bool PickTest(const Matrix4* a, const Matrix4* b, const Vector3* point, float size);
    virtual float DistancePointSegment(const Vector3* p, const Vector3* a, const Vector3* b);
    virtual Vector4* TransformVector4(Vector4* out, const Vector4* v, const Matrix4* m);

    virtual Matrix4* Reset(Matrix4* m);
    virtual float Determinant(const Matrix4* m);
    virtual Vector3* GetTranslation(Vector3* out, const Matrix4* m);
    virtual Matrix4* SetTranslation(Matrix4* m, const Vector3* v);
    virtual Matrix4* SetTranslationXYZ(Matrix4* m, float x, float y, float z);
    virtual Matrix4* Identity(Matrix4* m);
    virtual bool IsIdentity(const Matrix4* m);
    virtual bool Equals(const Matrix4* a, const Matrix4* b);
    virtual Matrix4* Transpose(Matrix4* out, const Matrix4* m);
    virtual Matrix4* Multiply(Matrix4* out, const Matrix4* a, const Matrix4* b);
    // Affine inverse; *reciprocalDeterminant receives 1/det (infinite for a singular m).
    virtual Matrix4* Invert(Matrix4* out, float* reciprocalDeterminant, const Matrix4* m);
    virtual Matrix4* InvertInPlace(Matrix4* m);
    virtual Matrix4* Orthonormalize(Matrix4* m);
    virtual Vector3* GetScale(Vector3* out, const Matrix4* m);
    virtual Matrix4* ScaleUniform(Matrix4* m, float s);
    virtual Matrix4* ScaleByVector(Matrix4* m, const Vector3* v);
    virtual Matrix4* Scale(Matrix4* m, float x, float y, float z);

    virtual Matrix4* TranslateX(Matrix4* m, float d);
    virtual Matrix4* TranslateY(Matrix4* m, float d);
    virtual Matrix4* TranslateZ(Matrix4* m, float d);
    virtual Matrix4* TranslateByVector(Matrix4* m, const Vector3* v);
    virtual Matrix4* Translate(Matrix4* m, float x, float y, float z);

    virtual Matrix4* RotateAngles(Matrix4* m, const Vector3* angles);
    virtual Matrix4* RotateX(Matrix4* m, float angle);
    virtual Matrix4* RotateY(Matrix4* m, float angle);
    virtual Matrix4* RotateZ(Matrix4* m, float angle);
    virtual Matrix4* RotateVector(Matrix4* m, const Vector3* angles);
    virtual Matrix4* RotateXByProduct(Matrix4* m, float angle);
    virtual Matrix4* RotateYByProduct(Matrix4* m, float angle);
    virtual Matrix4* RotateZByProduct(Matrix4* m, float angle);

    virtual Matrix4* BasisFromDirection(Matrix4* m, const Vector3* target);
    virtual Matrix4* LookAt(Matrix4* m, const Vector3* target);
    virtual Matrix4* ApplyKeepTranslation(Matrix4* m, const Matrix4* other);

    // Perspective projections; depth maps near to -1 and far to +1 after division by w.
    virtual Matrix4* ProjectionRH(Matrix4* out, float fovy, float aspect, float zNear, float zFar);
    virtual Matrix4* Projection(Matrix4* out, float fovy, float aspect, float zNear, float zFar);
    virtual void ViewMatrix(Matrix4* a, Matrix4* b, uint32_t width, uint32_t height);
    // Scale part only: the offsets of an off-centre range are not applied.
    virtual Matrix4* OrthoOffCenter(Matrix4* out, float left, float right, float bottom, float top,
                                    float zNear, float zFar);

    virtual Vector3* GetAxisZ(Vector3* out, const Matrix4* m);
    virtual Vector3* GetAxisY(Vector3* out, const Matrix4* m);
    virtual Vector3* GetAxisX(Vector3* out, const Matrix4* m);
    virtual Matrix4* SetAxisZ(Matrix4* m, const Vector3* v);
    virtual Matrix4* SetAxisY(Matrix4* m, const Vector3* v);
    virtual Matrix4* SetAxisX(Matrix4* m, const Vector3* v);

    virtual Vector3* GetAngles(Vector3* out, const Matrix4* m);
    // Heading of the Z axis about Y, in [-pi, pi).
    virtual float AngleOfAxis(const Matrix4* m);
    virtual void MatrixToAngles(const Matrix4* m, float* outX, float* outY, float* outZ);
    // Face test by winding in the XY plane: mode 0 gives 0; mode 2 fails for a positive
    // winding, any other mode fails for a non-positive one.
    virtual Result TrianglePlaneTest(const Vector3* a, const Vector3* b, const Vector3* c,
                                     const Vector3* unused, uint32_t mode);
    // Ray against triangle: the distance along the normalised direction, 0 when missed.
    virtual float Intersect(const Vector3* origin, const Vector3* direction, const Vector3* p0,
                            const Vector3* p1, const Vector3* p2, float* outU, float* outV);
    virtual bool CircleTriangleTest(float cx, float cy, float r, float ax, float ay, float bx, float by,
                                    float cx2, float cy2);

    // Row i of out = row i of a x b; out must not alias b.
    virtual Matrix4* MultiplyRow0(Matrix4* out, const Matrix4* a, const Matrix4* b);
    virtual Matrix4* MultiplyRow1(Matrix4* out, const Matrix4* a, const Matrix4* b);
    virtual Matrix4* MultiplyRow2(Matrix4* out, const Matrix4* a, const Matrix4* b);
    virtual Matrix4* MultiplyRow3(Matrix4* out, const Matrix4* a, const Matrix4* b);

private:
    void MultiplyRow(Matrix4* out, const Matrix4* a, const Matrix4* b, int row);
};
