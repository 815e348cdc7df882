#include "engine3d/Item.h"

#include "core/Math3D.h"
#include "core/WorldData.h"

C3DItem::C3DItem(CWorldData* data) : m_pWorldData(data), m_matrix{}, m_pMatrix(&m_matrix)
{
    MakeIdentity(&m_matrix);
}

void C3DItem::MakeIdentity(Matrix4* m)
{
    *m = Matrix4{};
    m->m[0] = m->m[5] = m->m[10] = m->m[15] = 1.0f;
}

Result C3DItem::SetMatrixPointer(Matrix4* matrix)
{
    m_pMatrix = matrix;
    return RES_OK;
}

Result C3DItem::SetMatrix(const Matrix4* matrix)
{
    if (!m_pMatrix || !matrix)
        return RES_FAIL;
    *m_pMatrix = *matrix;
    return RES_OK;
}

Result C3DItem::UseOwnMatrix()
{
    m_pMatrix = &m_matrix;
    return RES_OK;
}

Result C3DItem::Identity()
{
    if (!m_pMatrix)
        return RES_FAIL;
    MakeIdentity(m_pMatrix);
    return RES_OK;
}

Result C3DItem::SetTranslation(const Vector3* v)
{
    if (!m_pMatrix || !v || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->SetTranslation(m_pMatrix, v);
    return RES_OK;
}

Result C3DItem::Translate(const Vector3* v)
{
    if (!m_pMatrix || !v || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->TranslateByVector(m_pMatrix, v);
    return RES_OK;
}

Result C3DItem::RotateZ(float angle)
{
    if (!m_pMatrix || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->RotateZ(m_pMatrix, angle);
    return RES_OK;
}

Result C3DItem::ScaleUniform(float s)
{
    if (!m_pMatrix || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->ScaleUniform(m_pMatrix, s);
    return RES_OK;
}

Result C3DItem::Scale(const Vector3* v)
{
    if (!m_pMatrix || !v || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->ScaleByVector(m_pMatrix, v);
    return RES_OK;
}

Result C3DItem::Scale3(float x, float y, float z)
{
    if (!m_pMatrix || !m_pWorldData->math)
        return RES_FAIL;
    m_pWorldData->math->Scale(m_pMatrix, x, y, z);
    return RES_OK;
}
