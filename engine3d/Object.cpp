#include "engine3d/Object.h"

#include <cstdlib>

#include "core/WorldData.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "engine3d/ObjectIndex.h"

C3DObject::C3DObject(CWorldData* data, C3DEngine* engine) : C3DItem(data), m_pEngine(engine)
{
    m_matrix = Matrix4{};
    m_pMatrix = nullptr;
}

C3DObject::~C3DObject()
{
    free(m_pTextures);
    free(m_pMaterials);
}

void C3DObject::SetFlags(uint32_t flagsA, uint32_t flagsB)
{
    m_flagsA = flagsA;
    m_flagsB = flagsB;
}

Result C3DObject::Init()
{
    SetPointSize(1.0f);
    IgnoreResult(UseOwnMatrix());
    MakeIdentity(&m_matrix);
    if (m_flagsB & kObjectTextureFactor)
        m_flagsA |= kObjectTextureFactor;
    return RES_OK;
}

void C3DObject::FreePartTables()
{
    if (m_pTextures) {
        for (uint32_t p = 0; p < m_partCount; ++p) {
            for (uint32_t stage = 0; stage < 2; ++stage) {
                if (TextureSlot(p, stage))
                    IgnoreResult(m_pEngine->DestroyTexture(TextureSlot(p, stage)));
            }
        }
    }
    free(m_pTextures);
    free(m_pMaterials);
    m_pTextures = nullptr;
    m_pMaterials = nullptr;
}

Result C3DObject::Release()
{
    m_pActiveIndex = nullptr;
    if (m_pIndex) {
        if (Failed(m_pEngine->DestroyIndexBuffer(m_pIndex)))
            return RES_FAIL;
        m_pIndex = nullptr;
    }
    FreePartTables();
    m_partCount = 0;
    m_vertexCount = 0;
    IgnoreResult(UseOwnMatrix());
    MakeIdentity(&m_matrix);
    return RES_OK;
}

Result C3DObject::Create(uint32_t parts, uint32_t vertices, uint32_t indices)
{
    if (vertices > 0xFFFF)
        m_flagsA = (m_flagsA & ~kForce16BitIndices) | kForce32BitIndices;

    C3DTexture** textures = nullptr;
    C3DMaterial* materials = nullptr;
    if (parts > 0) {
        textures = static_cast<C3DTexture**>(calloc(size_t{parts} * 2, sizeof(C3DTexture*)));
        materials = static_cast<C3DMaterial*>(malloc(size_t{parts} * sizeof(C3DMaterial)));
    }
    FreePartTables();
    if (parts > 0 && (!textures || !materials)) {
        free(textures);
        free(materials);
        m_partCount = 0;
        m_vertexCount = 0;
        return RES_FAIL;
    }
    for (uint32_t p = 0; p < parts; ++p)
        materials[p] = DefaultMaterial();
    m_pTextures = textures;
    m_pMaterials = materials;
    m_partCount = parts;
    m_vertexCount = vertices;

    if (m_pActiveIndex == m_pIndex)
        m_pActiveIndex = nullptr;
    if (m_pIndex) {
        if (Failed(m_pEngine->DestroyIndexBuffer(m_pIndex)))
            return RES_FAIL;
        m_pIndex = nullptr;
    }
    uint32_t kind = indices > 0xFFFF ? kIndexKind32 : kIndexKind16;
    if (m_flagsA & kForce16BitIndices)
        kind = kIndexKind16;
    else if (m_flagsA & kForce32BitIndices)
        kind = kIndexKind32;
    C3DObjectIndex* buffer = m_pEngine->CreateIndexBuffer(indices, kind);
    if (!buffer)
        return RES_FAIL;
    m_pIndex = buffer;
    m_pActiveIndex = buffer;
    return Failed(buffer->Create(parts, indices)) ? RES_FAIL : RES_OK;
}

void C3DObject::SetAlpha(uint8_t alpha) { m_colour = (uint32_t{alpha} << 24) | (m_colour & 0xFFFFFFu); }

void C3DObject::SetColor(uint32_t argb) { m_colour = argb; }

Result C3DObject::PushTransform()
{
    C3DCamera* camera = m_pEngine->GetCamera();
    return camera ? camera->ApplyProjection() : RES_OK;
}

void C3DObject::EndDraw() {}

Result C3DObject::GetIndexKind(uint8_t* outKind)
{
    if (!m_pIndex) {
        if (outKind)
            *outKind = 0;
        return RES_FAIL;
    }
    return m_pIndex->GetKind(outKind);
}

void* C3DObject::GetVertexSize(uint8_t* outSize)
{
    if (outSize)
        *outSize = 0;
    return nullptr;
}

Result C3DObject::Lock()
{
    return m_pActiveIndex ? m_pActiveIndex->Lock() : RES_OK;
}

Result C3DObject::Unlock(uint8_t rebuild)
{
    return m_pActiveIndex ? m_pActiveIndex->Unlock(rebuild) : RES_OK;
}

void C3DObject::SetIndex(uint32_t position, uint32_t value)
{
    if (m_pActiveIndex)
        m_pActiveIndex->SetIndex(position, value);
}

uint32_t C3DObject::GetIndex(uint32_t position)
{
    return m_pActiveIndex ? m_pActiveIndex->GetIndex(position) : kNoIndex;
}

void C3DObject::SetVertex(uint32_t, float, float, float, uint32_t, float, float, float, float, float, uint32_t) {}

void C3DObject::SetPosition(uint32_t, const Vector3*) {}

void C3DObject::SetUV(uint32_t, const Vector2*) {}

void C3DObject::SetUV2(uint32_t, const Vector2*) {}

void C3DObject::SetNormal(uint32_t, const Vector3*) {}

void C3DObject::SetVertexColor(uint32_t, uint32_t) {}

void C3DObject::SetSpecular(uint32_t, uint32_t) {}

void C3DObject::GetVertex(uint32_t, Vector3*, uint32_t*, Vector2*, Vector3*, uint32_t*) {}

Vector3* C3DObject::GetPosition(Vector3* out, uint32_t)
{
    *out = Vector3{0.0f, 0.0f, 0.0f};
    return out;
}

Vector2* C3DObject::GetUV(Vector2* out, uint32_t)
{
    *out = Vector2{0.0f, 0.0f};
    return out;
}

Vector2* C3DObject::GetUV2(Vector2* out, uint32_t)
{
    *out = Vector2{0.0f, 0.0f};
    return out;
}

Vector3* C3DObject::GetNormal(Vector3* out, uint32_t)
{
    *out = Vector3{0.0f, 0.0f, 0.0f};
    return out;
}

uint32_t C3DObject::GetVertexColor(uint32_t) { return 0; }

uint32_t C3DObject::GetSpecular(uint32_t) { return 0; }

C3DPrimitiveGroup* C3DObject::PartRecord(uint32_t part) const
{
    return m_pActiveIndex ? m_pActiveIndex->GetRecordAddress(part) : nullptr;
}

C3DPrimitiveGroup* C3DObject::DrawnRecord(uint32_t part) const
{
    const C3DPrimitiveGroup* record = PartRecord(part);
    return record ? m_pActiveIndex->GetRecordAddress(record->id) : nullptr;
}

C3DMaterial* C3DObject::GetMaterial(uint32_t part) const
{
    return part < m_partCount ? &m_pMaterials[part] : nullptr;
}

Result C3DObject::GetPrimitiveGroup(uint32_t part, C3DPrimitiveGroup* out)
{
    if (!out)
        return RES_FAIL;
    return GetPrimitiveGroupFields(part, &out->firstVertex, &out->vertexCount, &out->firstIndex, &out->indexCount,
                                   &out->primitiveCount, &out->primitiveType, &out->cullCode, &out->id);
}

Result C3DObject::GetPrimitiveGroupFields(uint32_t part, uint32_t* firstVertex, uint32_t* vertexCount,
                                          uint32_t* firstIndex, uint32_t* indexCount, uint32_t* primitiveCount,
                                          uint32_t* type, uint32_t* cull, uint32_t* id)
{
    if (!m_pActiveIndex)
        return RES_FAIL;
    return m_pActiveIndex->GetRecord(part, firstVertex, vertexCount, firstIndex, indexCount, primitiveCount, type,
                                     cull, id);
}

void C3DObject::SetPrimitiveTypeAll(uint32_t type)
{
    for (uint32_t p = 0; p < m_partCount; ++p)
        SetPrimitiveType(p, type);
}

void C3DObject::SetPrimitiveType(uint32_t part, uint32_t type)
{
    if (C3DPrimitiveGroup* record = PartRecord(part))
        record->primitiveType = type;
}

uint32_t C3DObject::GetPrimitiveType(uint32_t part)
{
    const C3DPrimitiveGroup* record = PartRecord(part);
    return record ? record->primitiveType : kNoIndex;
}

void C3DObject::SetCullModeAll(uint32_t cull)
{
    for (uint32_t p = 0; p < m_partCount; ++p)
        SetCullMode(p, cull);
}

void C3DObject::SetCullMode(uint32_t part, uint32_t cull)
{
    if (C3DPrimitiveGroup* record = PartRecord(part))
        record->cullCode = cull;
}

uint32_t C3DObject::GetCullMode(uint32_t part)
{
    const C3DPrimitiveGroup* record = PartRecord(part);
    return record ? record->cullCode : kNoIndex;
}

void C3DObject::SetPointSize(float value)
{
    m_pointSize = (m_pWorldData->pointSpriteMaxSize - m_pWorldData->pointSpriteMinSize) * value;
}

Result C3DObject::SetTextureAll(C3DTexture*, uint32_t) { return RES_FAIL; }

Result C3DObject::SetPartTexture(C3DTexture*, uint32_t, uint32_t) { return RES_FAIL; }

Result C3DObject::ComputeNormals() { return RES_FAIL; }

Result C3DObject::ComputeSmoothNormals() { return RES_FAIL; }

Result C3DObject::MakeTextureFromAddress(uint32_t, uint32_t, const uint8_t*, uint32_t, uint32_t, const char16_t*)
{
    return RES_FAIL;
}

Result C3DObject::MakeOneTextureFromAddress(uint32_t, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t,
                                            const char16_t*)
{
    return RES_FAIL;
}

Result C3DObject::LoadTextureFromPacker(uint32_t, uint32_t, CPackerFile*, uint32_t) { return RES_FAIL; }

Result C3DObject::LoadOneTextureFromPacker(uint32_t, uint32_t, CPackerFile*, uint32_t, uint32_t) { return RES_FAIL; }

Result C3DObject::LoadTextureFromFile(uint32_t, uint32_t, const char16_t*, uint32_t) { return RES_FAIL; }

Result C3DObject::LoadOneTextureFromFile(uint32_t, uint32_t, const char16_t*, uint32_t, uint32_t) { return RES_FAIL; }

Result C3DObject::SaveTextureToFile(const char16_t*, uint32_t, uint32_t) { return RES_FAIL; }

C3DTexture* C3DObject::GetTexture(uint32_t, uint32_t) { return nullptr; }

Result C3DObject::ReleaseTextureStage(uint32_t) { return RES_OK; }

Result C3DObject::ReleaseTexture(uint32_t, uint32_t) { return RES_OK; }

Result C3DObject::CreatePrimitive(uint32_t, void*) { return RES_FAIL; }

Result C3DObject::MergeObjects(C3DObject**, uint32_t, const char16_t*) { return RES_FAIL; }

Result C3DObject::CreateNormalLines(C3DObject**, uint32_t, float, uint32_t) { return RES_FAIL; }

Result C3DObject::RecordRenderState() { return RES_FAIL; }

Result C3DObject::ApplyRenderState() { return RES_OK; }

Result C3DObject::RebuildStateBlock() { return RES_OK; }

Result C3DObject::ReleaseStateBlock() { return RES_OK; }

void C3DObject::ResetIndices()
{
    if (m_pIndex)
        m_pIndex->ResetIndices();
}

void C3DObject::FillIndexRange(uint32_t first, uint32_t count)
{
    if (m_pIndex)
        m_pIndex->FillIndexRange(first, count);
}

Result C3DObject::SetPrimitiveGroup(uint32_t part, uint32_t firstVertex, uint32_t vertexCount, uint32_t firstIndex,
                                    uint32_t indexCount, uint32_t primitiveCount, uint32_t type, uint32_t cull,
                                    uint32_t id)
{
    if (!m_pIndex)
        return RES_FAIL;
    return m_pIndex->SetRecord(part, firstVertex, vertexCount, firstIndex, indexCount, primitiveCount, type, cull, id);
}
