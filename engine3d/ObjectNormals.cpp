#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/ObjectPrivate.h"

namespace {

// Calls visit(a, b, c) with the vertex numbers of every triangle of a record: strips by their
// primitive count with every odd triangle's first two corners swapped, lists and fans by
// their index count. No index outside the record, the buffer or the vertex range is used.
template <typename Visit>
void ForEachTriangle(C3DObject& object, const C3DPrimitiveGroup& record, uint32_t bufferIndices, Visit visit)
{
    const uint64_t first = record.firstIndex;
    const uint64_t end = std::min<uint64_t>(first + record.indexCount, bufferIndices);
    const uint32_t vertexCount = object.GetVertexCount();
    auto corners = [&](uint64_t i0, uint64_t i1, uint64_t i2) {
        const uint64_t positions[3] = {i0, i1, i2};
        uint32_t v[3];
        for (int k = 0; k < 3; ++k) {
            const uint64_t vertex = uint64_t{object.GetIndex(static_cast<uint32_t>(positions[k]))} + record.firstVertex;
            if (vertex >= vertexCount)
                return;
            v[k] = static_cast<uint32_t>(vertex);
        }
        visit(v[0], v[1], v[2]);
    };
    switch (record.primitiveType) {
    case kPrimitiveTriangleStrip:
        for (uint64_t k = 0; k < record.primitiveCount && first + k + 2 < end; ++k) {
            if (k % 2)
                corners(first + k + 1, first + k, first + k + 2);
            else
                corners(first + k, first + k + 1, first + k + 2);
        }
        break;
    case kPrimitiveTriangleList:
        for (uint64_t i = first; i + 2 < end; i += 3)
            corners(i, i + 1, i + 2);
        break;
    case kPrimitiveTriangleFan:
        for (uint64_t k = 1; first + k + 1 < end; ++k)
            corners(first, first + k, first + k + 1);
        break;
    default:
        break;
    }
}

Vector3 Add(const Vector3& a, const Vector3& b) { return Vector3{a.x + b.x, a.y + b.y, a.z + b.z}; }

Vector3 Sub(const Vector3& a, const Vector3& b) { return Vector3{a.x - b.x, a.y - b.y, a.z - b.z}; }

// Total order on a float's value with -0 and +0 together (NaNs fall in by their bits).
uint32_t OrderedBits(float f)
{
    uint32_t bits;
    memcpy(&bits, &f, sizeof bits);
    if (bits == 0x80000000u)
        bits = 0;
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

std::array<uint32_t, 3> PositionKey(const Vector3& p)
{
    return {OrderedBits(p.x), OrderedBits(p.y), OrderedBits(p.z)};
}

} // namespace

Result C3DObjectPrivate::NormalPass(bool smooth)
{
    CMath3D* math = m_pWorldData->math;
    if (!math || !m_pActiveIndex)
        return RES_FAIL;
    const Vector3 zero{0.0f, 0.0f, 0.0f};
    for (uint32_t v = 0; v < m_vertexCount; ++v)
        SetNormal(v, &zero);

    auto faceNormal = [&](uint32_t a, uint32_t b, uint32_t c) {
        Vector3 p0, p1, p2;
        GetPosition(&p0, a);
        GetPosition(&p1, b);
        GetPosition(&p2, c);
        const Vector3 e1 = Sub(p1, p0);
        const Vector3 e2 = Sub(p2, p0);
        Vector3 n;
        math->Cross(&n, &e1, &e2);
        return *math->Normalize3(&n, &n);
    };
    const uint32_t bufferIndices = m_pActiveIndex->GetIndexCount();

    if (!smooth) {
        for (uint32_t p = 0; p < m_partCount; ++p) {
            const C3DPrimitiveGroup* record = PartRecord(p);
            if (!record)
                continue;
            ForEachTriangle(*this, *record, bufferIndices, [&](uint32_t a, uint32_t b, uint32_t c) {
                const Vector3 face = faceNormal(a, b, c);
                for (uint32_t v : {a, b, c}) {
                    Vector3 n;
                    GetNormal(&n, v);
                    n = Add(n, face);
                    math->Normalize3(&n, &n);
                    SetNormal(v, &n);
                }
            });
        }
        return RES_OK;
    }

    std::vector<uint32_t> counts(m_vertexCount, 0);
    std::vector<uint32_t> used;
    for (uint32_t p = 0; p < m_partCount; ++p) {
        const C3DPrimitiveGroup* record = PartRecord(p);
        if (!record)
            continue;
        used.clear();
        ForEachTriangle(*this, *record, bufferIndices, [&](uint32_t a, uint32_t b, uint32_t c) {
            for (uint32_t v : {a, b, c}) {
                if (counts[v]++ == 0)
                    used.push_back(v);
            }
        });
        ForEachTriangle(*this, *record, bufferIndices, [&](uint32_t a, uint32_t b, uint32_t c) {
            const Vector3 face = faceNormal(a, b, c);
            for (uint32_t v : {a, b, c}) {
                Vector3 n;
                GetNormal(&n, v);
                n = Add(n, face);
                const float factor = 1.0f / static_cast<float>(counts[v]);
                n = Vector3{n.x * factor, n.y * factor, n.z * factor};
                SetNormal(v, &n);
            }
        });
        for (uint32_t v : used) {
            Vector3 n;
            GetNormal(&n, v);
            math->Normalize3(&n, &n);
            SetNormal(v, &n);
            counts[v] = 0;
        }
        WeldNormals(used);
    }
    return RES_OK;
}

void C3DObjectPrivate::WeldNormals(const std::vector<uint32_t>& vertices)
{
    CMath3D* math = m_pWorldData->math;
    std::vector<std::pair<std::array<uint32_t, 3>, uint32_t>> keyed;
    keyed.reserve(vertices.size());
    for (uint32_t v : vertices) {
        Vector3 p;
        GetPosition(&p, v);
        keyed.emplace_back(PositionKey(p), v);
    }
    std::sort(keyed.begin(), keyed.end());
    for (size_t start = 0; start < keyed.size();) {
        size_t end = start + 1;
        while (end < keyed.size() && keyed[end].first == keyed[start].first)
            ++end;
        if (end - start >= 2) {
            Vector3 sum{0.0f, 0.0f, 0.0f};
            for (size_t k = start; k < end; ++k) {
                Vector3 n;
                GetNormal(&n, keyed[k].second);
                sum = Add(sum, n);
            }
            math->Normalize3(&sum, &sum);
            for (size_t k = start; k < end; ++k)
                SetNormal(keyed[k].second, &sum);
        }
        start = end;
    }
}
