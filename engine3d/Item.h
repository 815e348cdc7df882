#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"
#include "core/Vector3.h"

struct CWorldData;

// Matrix-carrying base of 3D objects, frames and containers. The operations act on the matrix
// the current-matrix pointer designates (the own matrix, or one the caller keeps) through the
// data block's CMath3D helper; without a current matrix they fail and change nothing.
class C3DItem : public CBaseObject {
public:
    explicit C3DItem(CWorldData* data);
    C3DItem(const C3DItem&) = delete;
    C3DItem& operator=(const C3DItem&) = delete;
    ~C3DItem() override = default;

    virtual Result SetMatrixPointer(Matrix4* matrix);
    virtual Result SetMatrix(const Matrix4* matrix);
    virtual Result UseOwnMatrix();
    virtual Result Identity();
    virtual Result SetTranslation(const Vector3* v);
    virtual Result Translate(const Vector3* v);
    virtual Result RotateZ(float angle);
    virtual Result ScaleUniform(float s);
    virtual Result Scale(const Vector3* v);
    virtual Result Scale3(float x, float y, float z);

    Matrix4* GetMatrix() const { return m_pMatrix; }
    Matrix4* GetOwnMatrix() { return &m_matrix; }
    CWorldData* GetWorldData() const { return m_pWorldData; }

protected:
    static void MakeIdentity(Matrix4* m);

    CWorldData* m_pWorldData;
    Matrix4 m_matrix;
    Matrix4* m_pMatrix;
};
