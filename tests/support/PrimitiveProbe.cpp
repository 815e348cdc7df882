#include "tests/support/PrimitiveProbe.h"

#include <gtest/gtest.h>

#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"

ObjectSnapshot TakeSnapshot(C3DObject* object)
{
    ObjectSnapshot s;
    EXPECT_EQ(object->Lock(), RES_OK);
    s.vertices.resize(object->GetVertexCount());
    for (uint32_t v = 0; v < object->GetVertexCount(); ++v) {
        ProbeVertex& p = s.vertices[v];
        object->GetVertex(v, &p.position, &p.colour, &p.uv, &p.normal, &p.specular);
    }
    const C3DObjectIndex* buffer = object->GetActiveIndexBuffer();
    const uint32_t indices = buffer ? buffer->GetIndexCount() : 0;
    for (uint32_t i = 0; i < indices; ++i)
        s.indices.push_back(object->GetIndex(i));
    const uint32_t records = buffer ? buffer->GetRecordCount() : 0;
    for (uint32_t r = 0; r < records; ++r) {
        C3DPrimitiveGroup record{};
        EXPECT_EQ(object->GetPrimitiveGroup(r, &record), RES_OK) << r;
        s.records.push_back(record);
    }
    EXPECT_EQ(object->Unlock(0), RES_OK);
    return s;
}

std::vector<Triangle> DrawnTriangles(const ObjectSnapshot& snapshot, const C3DPrimitiveGroup& record)
{
    std::vector<Triangle> out;
    auto at = [&](uint32_t i) { return snapshot.indices.at(record.firstIndex + i) + record.firstVertex; };
    switch (record.primitiveType) {
    case kPrimitiveTriangleStrip:
        for (uint32_t k = 0; k < record.primitiveCount; ++k) {
            if (k % 2)
                out.push_back({at(k + 1), at(k), at(k + 2)});
            else
                out.push_back({at(k), at(k + 1), at(k + 2)});
        }
        break;
    case kPrimitiveTriangleList:
        for (uint32_t k = 0; k < record.primitiveCount; ++k)
            out.push_back({at(3 * k), at(3 * k + 1), at(3 * k + 2)});
        break;
    case kPrimitiveTriangleFan:
        for (uint32_t k = 0; k < record.primitiveCount; ++k)
            out.push_back({at(0), at(k + 1), at(k + 2)});
        break;
    default:
        break;
    }
    return out;
}

Vector3 TriangleCross(const ObjectSnapshot& snapshot, const Triangle& t)
{
    const Vector3& a = snapshot.vertices.at(t[0]).position;
    const Vector3& b = snapshot.vertices.at(t[1]).position;
    const Vector3& c = snapshot.vertices.at(t[2]).position;
    const Vector3 e1{b.x - a.x, b.y - a.y, b.z - a.z};
    const Vector3 e2{c.x - a.x, c.y - a.y, c.z - a.z};
    return Vector3{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
}

Vector3 TriangleCentroid(const ObjectSnapshot& snapshot, const Triangle& t)
{
    Vector3 sum{0.0f, 0.0f, 0.0f};
    for (uint32_t v : t) {
        const Vector3& p = snapshot.vertices.at(v).position;
        sum = Vector3{sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    return Vector3{sum.x / 3.0f, sum.y / 3.0f, sum.z / 3.0f};
}
