#include <algorithm>
#include <cfloat>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"

namespace {

enum BoundsField { kFieldPosition = 0, kFieldUV = 1, kFieldUV2 = 2 };

int FieldWidth(int field) { return field == kFieldPosition ? 3 : 2; }

// Empty bounds: FLT_MAX below, FLT_MIN (the smallest normal float) above.
void EmptyBounds(float* lo, float* hi)
{
    for (int a = 0; a < 3; ++a) {
        lo[a] = FLT_MAX;
        hi[a] = FLT_MIN;
    }
}

void Include(bool first, const float* value, int width, float* lo, float* hi)
{
    for (int a = 0; a < width; ++a) {
        lo[a] = first ? value[a] : std::min(lo[a], value[a]);
        hi[a] = first ? value[a] : std::max(hi[a], value[a]);
    }
}

} // namespace

void C3DObject::ReadField(uint32_t vertex, int field, float* out)
{
    if (field == kFieldPosition) {
        Vector3 p;
        GetPosition(&p, vertex);
        out[0] = p.x;
        out[1] = p.y;
        out[2] = p.z;
        return;
    }
    Vector2 uv;
    if (field == kFieldUV)
        GetUV(&uv, vertex);
    else
        GetUV2(&uv, vertex);
    out[0] = uv.x;
    out[1] = uv.y;
}

Result C3DObject::PartBounds(uint32_t part, int field, float* lo, float* hi, bool* found)
{
    EmptyBounds(lo, hi);
    *found = false;
    const C3DPrimitiveGroup* record = DrawnRecord(part);
    if (!record)
        return RES_FAIL;
    const uint64_t end = std::min<uint64_t>(uint64_t{record->firstIndex} + record->indexCount,
                                            m_pActiveIndex->GetIndexCount());
    IgnoreResult(Lock());
    bool first = true;
    for (uint64_t i = record->firstIndex; i < end; ++i) {
        const uint32_t index = GetIndex(static_cast<uint32_t>(i));
        const uint64_t vertex = uint64_t{index} + record->firstVertex;
        if (index == kNoIndex || vertex >= m_vertexCount)
            continue;
        float value[3];
        ReadField(static_cast<uint32_t>(vertex), field, value);
        Include(first, value, FieldWidth(field), lo, hi);
        first = false;
    }
    IgnoreResult(Unlock(0));
    *found = !first;
    return RES_OK;
}

void C3DObject::VertexBounds(int field, float* lo, float* hi)
{
    EmptyBounds(lo, hi);
    IgnoreResult(Lock());
    for (uint32_t v = 0; v < m_vertexCount; ++v) {
        float value[3];
        ReadField(v, field, value);
        Include(v == 0, value, FieldWidth(field), lo, hi);
    }
    IgnoreResult(Unlock(0));
}

Result C3DObject::GetBoundingBox(Vector3* outMin, Vector3* outMax, uint8_t transformed)
{
    if (!outMin || !outMax)
        return RES_FAIL;
    float lo[3];
    float hi[3];
    VertexBounds(kFieldPosition, lo, hi);
    *outMin = Vector3{lo[0], lo[1], lo[2]};
    *outMax = Vector3{hi[0], hi[1], hi[2]};
    if (transformed && m_vertexCount > 0 && m_pMatrix && m_pWorldData->math) {
        m_pWorldData->math->TransformPoint(outMin, outMin, m_pMatrix);
        m_pWorldData->math->TransformPoint(outMax, outMax, m_pMatrix);
    }
    return RES_OK;
}

Result C3DObject::GetPartBoundingBox(uint32_t part, Vector3* outMin, Vector3* outMax, uint8_t transformed)
{
    if (!outMin || !outMax)
        return RES_FAIL;
    float lo[3];
    float hi[3];
    bool found;
    const Result result = PartBounds(part, kFieldPosition, lo, hi, &found);
    *outMin = Vector3{lo[0], lo[1], lo[2]};
    *outMax = Vector3{hi[0], hi[1], hi[2]};
    if (found && transformed && m_pMatrix && m_pWorldData->math) {
        m_pWorldData->math->TransformPoint(outMin, outMin, m_pMatrix);
        m_pWorldData->math->TransformPoint(outMax, outMax, m_pMatrix);
    }
    return result;
}

Result C3DObject::FlatBounds(int field, Vector2* outMin, Vector2* outMax)
{
    if (!outMin || !outMax)
        return RES_FAIL;
    float lo[3];
    float hi[3];
    VertexBounds(field, lo, hi);
    *outMin = Vector2{lo[0], lo[1]};
    *outMax = Vector2{hi[0], hi[1]};
    return RES_OK;
}

Result C3DObject::PartFlatBounds(uint32_t part, int field, Vector2* outMin, Vector2* outMax)
{
    if (!outMin || !outMax)
        return RES_FAIL;
    float lo[3];
    float hi[3];
    bool found;
    const Result result = PartBounds(part, field, lo, hi, &found);
    *outMin = Vector2{lo[0], lo[1]};
    *outMax = Vector2{hi[0], hi[1]};
    return result;
}

Result C3DObject::GetUVBounds(Vector2* outMin, Vector2* outMax) { return FlatBounds(kFieldUV, outMin, outMax); }

Result C3DObject::GetPartUVBounds(uint32_t part, Vector2* outMin, Vector2* outMax)
{
    return PartFlatBounds(part, kFieldUV, outMin, outMax);
}

Result C3DObject::GetUV2Bounds(Vector2* outMin, Vector2* outMax) { return FlatBounds(kFieldUV2, outMin, outMax); }

Result C3DObject::GetPartUV2Bounds(uint32_t part, Vector2* outMin, Vector2* outMax)
{
    return PartFlatBounds(part, kFieldUV2, outMin, outMax);
}

float C3DObject::PickTriangle(const Vector3* from, const Vector3* to, int32_t* triangle)
{
    CMath3D* math = m_pWorldData->math;
    if (!math || !from || !to || !m_pMatrix)
        return 0.0f;
    Vector3 direction{to->x - from->x, to->y - from->y, to->z - from->z};
    math->Normalize3(&direction, &direction);

    auto test = [&](uint64_t a, uint64_t b, uint64_t c) {
        if (a >= m_vertexCount || b >= m_vertexCount || c >= m_vertexCount)
            return 0.0f;
        Vector3 p[3];
        const uint64_t corners[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            GetPosition(&p[k], static_cast<uint32_t>(corners[k]));
            math->TransformPoint(&p[k], &p[k], m_pMatrix);
        }
        return math->Intersect(from, &direction, &p[0], &p[1], &p[2], nullptr, nullptr);
    };

    IgnoreResult(Lock());
    if (triangle && triangle[0] != -1) {
        const float result = test(static_cast<uint32_t>(triangle[0]), static_cast<uint32_t>(triangle[1]),
                      static_cast<uint32_t>(triangle[2]));
        if (result > 0.0f) {
            IgnoreResult(Unlock(0));
            return result;
        }
    }
    if (triangle)
        triangle[0] = -1;
    const uint32_t bufferIndices = m_pActiveIndex ? m_pActiveIndex->GetIndexCount() : 0;
    for (uint32_t p = 0; p < m_partCount; ++p) {
        const C3DPrimitiveGroup* record = PartRecord(p);
        if (!record || record->primitiveType != kPrimitiveTriangleList)
            continue;
        const uint64_t end = std::min<uint64_t>(uint64_t{record->firstIndex} + record->indexCount, bufferIndices);
        for (uint64_t i = record->firstIndex; i + 2 < end; i += 3) {
            uint64_t v[3];
            for (int k = 0; k < 3; ++k)
                v[k] = uint64_t{GetIndex(static_cast<uint32_t>(i + k))} + record->firstVertex;
            const float result = test(v[0], v[1], v[2]);
            if (result > 0.0f) {
                if (triangle) {
                    for (int k = 0; k < 3; ++k)
                        triangle[k] = static_cast<int32_t>(v[k]);
                }
                IgnoreResult(Unlock(0));
                return result;
            }
        }
    }
    IgnoreResult(Unlock(0));
    return 0.0f;
}
