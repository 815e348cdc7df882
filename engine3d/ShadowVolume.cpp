#include "engine3d/ShadowVolume.h"

#include <new>

#include "core/Math3D.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"

namespace {

struct ShadowEdge {
    uint16_t a, b;
};

// The silhouette of one part: each edge of a triangle facing the light goes in, and out again
// when a second such triangle shares it.
class CShadowEdgeList {
public:
    Result Reserve(uint64_t capacity)
    {
        if (capacity > UINT32_MAX)
            return RES_FAIL;
        m_edges.reset(new (std::nothrow) ShadowEdge[capacity == 0 ? 1 : capacity]);
        if (!m_edges)
            return RES_OUT_OF_MEMORY;
        m_capacity = static_cast<uint32_t>(capacity);
        m_count = 0;
        return RES_OK;
    }

    // Removes (a, b) or (b, a) when listed, the last edge moving into its place; else appends (a, b).
    Result Toggle(uint16_t a, uint16_t b)
    {
        for (uint32_t i = 0; i < m_count; ++i) {
            const ShadowEdge& e = m_edges[i];
            if ((e.a == a && e.b == b) || (e.a == b && e.b == a)) {
                m_edges[i] = m_edges[--m_count];
                return RES_OK;
            }
        }
        if (m_count == m_capacity)
            return RES_FAIL;
        m_edges[m_count++] = ShadowEdge{a, b};
        return RES_OK;
    }

    uint32_t Count() const { return m_count; }
    const ShadowEdge& operator[](uint32_t i) const { return m_edges[i]; }

private:
    std::unique_ptr<ShadowEdge[]> m_edges;
    uint32_t m_capacity = 0;
    uint32_t m_count = 0;
};

Vector3 Sub(const Vector3& a, const Vector3& b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; }

Vector3 Extrude(const Vector3& p, const Vector3& light)
{
    const float k = kShadowExtrusion;
    return Vector3{p.x - k * light.x, p.y - k * light.y, p.z - k * light.z};
}

void AddMean(Vector3* mean, const Vector3& a, const Vector3& b, float divisor)
{
    mean->x += (a.x + b.x) / divisor;
    mean->y += (a.y + b.y) / divisor;
    mean->z += (a.z + b.z) / divisor;
}

// Walks the parts of one locked caster object into the caster's buffers.
class CVolumeBuilder {
public:
    CVolumeBuilder(C3DShadowCaster& caster, const Vector3& light, CMath3D& math)
        : m_caster(caster), m_object(*caster.object), m_index(caster.object->GetActiveIndexBuffer()), m_light(light),
          m_math(math)
    {
    }

    Result BuildPart(uint32_t part)
    {
        const C3DPrimitiveGroup* record = DrawnRecord(part);
        if (!record)
            return RES_FAIL;
        const uint32_t type = record->primitiveType;
        if (type != kPrimitiveTriangleList && type != kPrimitiveTriangleFan)
            return RES_OK;
        if (uint64_t{record->firstIndex} + record->indexCount > m_index->GetIndexCount())
            return RES_FAIL;
        CShadowEdgeList edges;
        const Result result =
            type == kPrimitiveTriangleList ? ListSilhouette(*record, &edges) : FanSilhouette(*record, &edges);
        return Failed(result) ? result : Append(edges);
    }

private:
    // The record numbered by the id in the part's own record.
    const C3DPrimitiveGroup* DrawnRecord(uint32_t part) const
    {
        if (!m_index)
            return nullptr;
        const C3DPrimitiveGroup* own = m_index->GetRecordAddress(part);
        return own ? m_index->GetRecordAddress(own->id) : nullptr;
    }

    Result ListSilhouette(const C3DPrimitiveGroup& record, CShadowEdgeList* edges)
    {
        if (record.indexCount % 3 != 0)
            return RES_FAIL;
        Result result = edges->Reserve(uint64_t{record.indexCount});
        for (uint32_t n = 0; Succeeded(result) && n < record.indexCount; n += 3) {
            uint16_t v[3];
            for (uint32_t k = 0; k < 3 && Succeeded(result); ++k)
                result = VertexAt(record, n + k, &v[k]);
            if (Succeeded(result) && FacesLight(v[0], v[1], v[2])) {
                result = edges->Toggle(v[0], v[1]);
                if (Succeeded(result))
                    result = edges->Toggle(v[1], v[2]);
                if (Succeeded(result))
                    result = edges->Toggle(v[2], v[0]);
            }
        }
        return result;
    }

    // Triangles (centre, n, n + 1); only their outer edges can reach the silhouette.
    Result FanSilhouette(const C3DPrimitiveGroup& record, CShadowEdgeList* edges)
    {
        if (record.indexCount < 3)
            return RES_OK;
        Result result = edges->Reserve(3 * uint64_t{record.indexCount - 2});
        uint16_t centre = 0;
        uint16_t current = 0;
        if (Succeeded(result))
            result = VertexAt(record, 0, &centre);
        if (Succeeded(result))
            result = VertexAt(record, 1, &current);
        for (uint32_t n = 1; Succeeded(result) && n + 1 < record.indexCount; ++n) {
            uint16_t next = 0;
            result = VertexAt(record, n + 1, &next);
            if (Succeeded(result) && FacesLight(centre, current, next))
                result = edges->Toggle(current, next);
            current = next;
        }
        return result;
    }

    // Vertex number of the record's index at offset, checked against the object's vertices and
    // the width of an edge.
    Result VertexAt(const C3DPrimitiveGroup& record, uint32_t offset, uint16_t* out)
    {
        const uint32_t index = m_object.GetIndex(record.firstIndex + offset);
        if (index == kNoIndex)
            return RES_FAIL;
        const uint64_t vertex = uint64_t{index} + record.firstVertex;
        if (vertex >= m_object.GetVertexCount() || vertex > kShadowMaxVertex)
            return RES_FAIL;
        *out = static_cast<uint16_t>(vertex);
        return RES_OK;
    }

    Vector3 Place(uint16_t vertex)
    {
        Vector3 position;
        m_object.GetPosition(&position, vertex);
        Vector3 placed;
        m_math.TransformPoint(&placed, &position, m_caster.matrix);
        return placed;
    }

    // Normal (c - b) x (b - a) turned towards the light, or across it.
    bool FacesLight(uint16_t a, uint16_t b, uint16_t c)
    {
        const Vector3 pa = Place(a);
        const Vector3 pb = Place(b);
        const Vector3 pc = Place(c);
        const Vector3 cb = Sub(pc, pb);
        const Vector3 ba = Sub(pb, pa);
        Vector3 normal;
        m_math.Cross(&normal, &cb, &ba);
        return m_math.Dot3(&normal, &m_light) >= 0.0f;
    }

    // Side walls, then the caps around the means of the silhouette's near and far points.
    Result Append(const CShadowEdgeList& edges)
    {
        const uint32_t count = edges.Count();
        if (count == 0)
            return RES_OK;
        const uint64_t points = uint64_t{count} * kShadowPointsPerEdge;
        if (!m_caster.sideVertices || !m_caster.capVertices || m_caster.sideCount + points > m_caster.capacity ||
            m_caster.capCount + points > m_caster.capacity)
            return RES_FAIL;
        Vector3* side = &m_caster.sideVertices[m_caster.sideCount];
        Vector3 nearMean{0.0f, 0.0f, 0.0f};
        Vector3 farMean{0.0f, 0.0f, 0.0f};
        const float divisor = 2.0f * static_cast<float>(count);
        for (uint32_t e = 0; e < count; ++e) {
            const Vector3 a = Place(edges[e].a);
            const Vector3 b = Place(edges[e].b);
            const Vector3 farA = Extrude(a, m_light);
            const Vector3 farB = Extrude(b, m_light);
            Vector3* wall = side + e * kShadowPointsPerEdge;
            wall[0] = a;
            wall[1] = b;
            wall[2] = farA;
            wall[3] = b;
            wall[4] = farB;
            wall[5] = farA;
            AddMean(&nearMean, a, b, divisor);
            AddMean(&farMean, farA, farB, divisor);
        }
        Vector3* cap = &m_caster.capVertices[m_caster.capCount];
        for (uint32_t e = 0; e < count; ++e) {
            const Vector3* wall = side + e * kShadowPointsPerEdge;
            Vector3* caps = cap + e * kShadowPointsPerEdge;
            caps[0] = nearMean;
            caps[1] = wall[0];
            caps[2] = wall[1];
            caps[3] = farMean;
            caps[4] = wall[2];
            caps[5] = wall[4];
        }
        m_caster.sideCount += static_cast<uint32_t>(points);
        m_caster.capCount += static_cast<uint32_t>(points);
        return RES_OK;
    }

    C3DShadowCaster& m_caster;
    C3DObject& m_object;
    C3DObjectIndex* m_index;
    Vector3 m_light;
    CMath3D& m_math;
};

} // namespace

Result BuildShadowVolume(C3DShadowCaster* caster, const Vector3& light, CMath3D* math)
{
    if (!caster)
        return RES_FAIL;
    caster->sideCount = 0;
    caster->capCount = 0;
    C3DObject* object = caster->object;
    if (!object)
        return RES_OK;
    if (!caster->matrix || !math)
        return RES_FAIL;
    IgnoreResult(object->SetMatrixPointer(caster->matrix));
    Result result = object->Lock();
    if (Failed(result))
        return RES_FAIL;
    CVolumeBuilder builder(*caster, light, *math);
    const uint32_t parts = object->GetPartCount();
    for (uint32_t p = 0; p < parts && Succeeded(result); ++p)
        result = builder.BuildPart(p);
    IgnoreResult(object->Unlock(0));
    if (Failed(result)) {
        caster->sideCount = 0;
        caster->capCount = 0;
        return result;
    }
    return RES_OK;
}
