#include "engine3d/ObjectMerge.h"

#include "core/Math3D.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/ObjectPrivate.h"
#include "engine3d/PrimitiveBuild.h"
#include "engine3d/Texture.h"

bool UsableSources(const C3DObject* target, C3DObject* const* sources, uint32_t count, bool withIndices)
{
    if (count > 0 && !sources)
        return false;
    for (uint32_t s = 0; s < count; ++s) {
        const C3DObject* source = sources[s];
        if (!source || source == target)
            return false;
        if (!withIndices)
            continue;
        const C3DObjectIndex* buffer = source->GetActiveIndexBuffer();
        if (!buffer || buffer->GetRecordCount() < source->GetPartCount())
            return false;
    }
    return true;
}

Vector3 PlacedPosition(CMath3D& math, const C3DObject& source, const Vector3& position)
{
    const Matrix4* matrix = source.GetMatrix();
    if (!matrix)
        return position;
    Vector3 placed;
    math.TransformPoint(&placed, &position, matrix);
    return placed;
}

namespace {

// Copies the source's indices as they are and its vertices placed by its matrix, from the
// given bases on.
void CopyGeometry(C3DObject& target, C3DObject& source, CMath3D& math, uint32_t vertexBase, uint32_t indexBase)
{
    IgnoreResult(source.Lock());
    const uint32_t indices = source.GetActiveIndexBuffer()->GetIndexCount();
    for (uint32_t i = 0; i < indices; ++i)
        target.SetIndex(indexBase + i, source.GetIndex(i));
    for (uint32_t v = 0; v < source.GetVertexCount(); ++v) {
        Vector3 position{}, normal{};
        Vector2 uv{};
        uint32_t colour = 0, specular = 0;
        source.GetVertex(v, &position, &colour, &uv, &normal, &specular);
        const Vector3 p = PlacedPosition(math, source, position);
        target.SetVertex(vertexBase + v, p.x, p.y, p.z, colour, uv.x, uv.y, normal.x, normal.y, normal.z, specular);
    }
    IgnoreResult(source.Unlock(0));
}

// The source part's textures on the target part: the same textures, or with a folder the
// files of their names in it. RES_FAIL when one of them could not be loaded.
Result MergePartTextures(C3DObject& target, C3DObject& source, uint32_t sourcePart, uint32_t part,
                         const char16_t* folder)
{
    Result result = RES_OK;
    for (uint32_t stage = 0; stage < 2; ++stage) {
        C3DTexture* texture = source.GetTexture(sourcePart, stage);
        if (!folder) {
            if (Failed(target.SetPartTexture(texture, part, stage)))
                result = RES_FAIL;
            continue;
        }
        if (!texture)
            continue;
        CWorldData* data = target.GetWorldData();
        const char16_t* name = texture->GetName();
        if (!name || WStrLen(folder) + WStrLen(name) >= kScratchUnits) {
            result = RES_FAIL;
            continue;
        }
        WFormat(data->scratch, kScratchUnits, u"%s%s", folder, name);
        if (Failed(target.LoadOneTextureFromFile(texture->GetFlags(), texture->GetParameter(), data->scratch, part,
                                                 stage)))
            result = RES_FAIL;
    }
    return result;
}

} // namespace

Result C3DObjectPrivate::MergeObjects(C3DObject** sources, uint32_t count, const char16_t* textureFolder)
{
    CMath3D* math = m_pWorldData->math;
    if (!math || !UsableSources(this, sources, count, true))
        return RES_FAIL;
    uint64_t parts = 0, vertices = 0, indices = 0;
    for (uint32_t s = 0; s < count; ++s) {
        parts += sources[s]->GetPartCount();
        vertices += sources[s]->GetVertexCount();
        indices += sources[s]->GetActiveIndexBuffer()->GetIndexCount();
    }
    if (parts > UINT32_MAX || !ShapeCountsFit(vertices, indices))
        return RES_FAIL;
    if (Failed(Release()))
        return RES_FAIL;
    m_flagsA &= ~(kFlatNormalsPending | kSmoothNormalsPending);
    if (Failed(Create(static_cast<uint32_t>(parts), static_cast<uint32_t>(vertices), static_cast<uint32_t>(indices))))
        return RES_FAIL;
    IgnoreResult(Lock());

    Result result = RES_OK;
    uint32_t vertexBase = 0, indexBase = 0, part = 0;
    for (uint32_t s = 0; s < count; ++s) {
        C3DObject& source = *sources[s];
        CopyGeometry(*this, source, *math, vertexBase, indexBase);
        for (uint32_t j = 0; j < source.GetPartCount(); ++j, ++part) {
            C3DPrimitiveGroup r{};
            IgnoreResult(source.GetPrimitiveGroup(j, &r));
            IgnoreResult(SetPrimitiveGroup(part, r.firstVertex + vertexBase, r.vertexCount, r.firstIndex + indexBase,
                                           r.indexCount, r.primitiveCount, r.primitiveType,
                                           ShapeCull(source.GetFlagsB(), r.cullCode), kPartNumberId));
            if (const C3DMaterial* material = source.GetMaterial(j))
                m_pMaterials[part] = *material;
            if (Failed(MergePartTextures(*this, source, j, part, textureFolder)))
                result = RES_FAIL;
        }
        vertexBase += source.GetVertexCount();
        indexBase += source.GetActiveIndexBuffer()->GetIndexCount();
    }
    if (Failed(Unlock(1)))
        result = RES_FAIL;
    return result;
}
