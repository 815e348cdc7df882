#include "tests/support/MemoryObject.h"

#include <string>

#include "engine3d/Camera.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/Texture.h"
#include "tests/support/MemoryRenderer.h"

namespace {

constexpr int32_t kDefaultType = -1;
constexpr int32_t kDefaultCull = -1;

MemoryCull EffectiveCull(uint32_t code)
{
    switch (code) {
    case kCullCounterClockwise:
    case kCullCounterClockwiseAlt:
        return MemoryCull::CounterClockwise;
    case kCullClockwise:
        return MemoryCull::Clockwise;
    default:
        return MemoryCull::None;
    }
}

} // namespace

CMemoryObject::CMemoryObject(CWorldData* data, CMemoryEngine* engine)
    : C3DObjectSystemMemory(data, engine, StorageConvention::Direct3D), m_pMemoryEngine(engine)
{
}

void CMemoryObject::OnStorageMisuse(const char* operation)
{
    m_pMemoryEngine->ReportMisuse(std::string(operation) + " outside Lock or past the vertex count");
}

Result CMemoryObject::Create(uint32_t parts, uint32_t vertices, uint32_t indices)
{
    if (Failed(C3DObjectSystemMemory::Create(parts, vertices, indices)))
        return RES_FAIL;
    if (m_pMemoryEngine->Failures().ShouldFail(MemoryOp::CreateVertices)) {
        m_vertices.Free();
        return RES_FAIL;
    }
    return RES_OK;
}

Result CMemoryObject::PushTransform()
{
    if (!IsScreenFormat())
        return C3DObjectSystemMemory::PushTransform();
    C3DCamera* camera = m_pEngine->GetCamera();
    return camera ? camera->ApplyScreenProjection() : RES_OK;
}

void CMemoryObject::BindPartTextures(uint32_t part)
{
    MemoryDeviceState& device = m_pMemoryEngine->Device();
    device.stages = {nullptr, nullptr};
    const uint32_t stageBits[2] = {kTextureStage0, kTextureStage1};
    for (uint32_t stage = 0; stage < 2; ++stage) {
        C3DTexture* texture = (m_flagsB & stageBits[stage]) ? GetTexture(part, stage) : nullptr;
        if (texture)
            texture->Apply(m_flagsB, stage);
    }
}

void CMemoryObject::Log(MemoryDrawKind kind, uint32_t part, uint32_t recordNumber, const C3DPrimitiveGroup& record)
{
    const MemoryDeviceState& device = m_pMemoryEngine->Device();
    MemoryDraw draw{};
    draw.object = this;
    draw.kind = kind;
    draw.part = part;
    draw.recordNumber = recordNumber;
    draw.record = record;
    draw.primitiveType = record.primitiveType;
    draw.primitiveCount = record.primitiveCount;
    draw.indexCount = record.indexCount;
    draw.vertexCount = record.vertexCount;
    draw.cull = device.cull;
    draw.textures = device.stages;
    draw.colour = m_colour;
    if (m_pMatrix)
        draw.matrix = *m_pMatrix;
    draw.flagsA = m_flagsA;
    draw.flagsB = m_flagsB;
    draw.screenSpace = IsScreenFormat();
    draw.locked = IsLocked();
    draw.frame = m_pMemoryEngine->FrameCount();
    if (draw.locked)
        m_pMemoryEngine->ReportMisuse("draw while the object is locked");
    m_pMemoryEngine->RecordDraw(draw);
}

Result CMemoryObject::DrawParts(MemoryDrawKind kind, uint32_t from, uint32_t to, bool withState, bool withCull)
{
    if (withState && (m_flagsB & kObjectStateBlock) && Failed(ApplyRenderState()))
        return RES_FAIL;
    if (Failed(PushTransform()))
        return RES_FAIL;
    for (uint32_t i = from; i < to; ++i) {
        const C3DPrimitiveGroup* own = PartRecord(i);
        const C3DPrimitiveGroup* drawn = DrawnRecord(i);
        if (!drawn) {
            m_pMemoryEngine->ReportMisuse("part " + std::to_string(i) + " names no record");
            continue;
        }
        if (withCull)
            m_pMemoryEngine->Device().cull = EffectiveCull(drawn->cullCode);
        if (withState)
            BindPartTextures(own->id);
        Log(kind, i, own->id, *drawn);
    }
    return RES_OK;
}

Result CMemoryObject::Render() { return DrawParts(MemoryDrawKind::Render, 0, m_partCount, true, true); }

Result CMemoryObject::RenderPart(uint32_t part)
{
    if (part >= m_partCount)
        return RES_FAIL;
    return DrawParts(MemoryDrawKind::RenderPart, part, part + 1, true, true);
}

Result CMemoryObject::RenderGeometry()
{
    return DrawParts(MemoryDrawKind::RenderGeometry, 0, m_partCount, false, true);
}

Result CMemoryObject::RenderPartGeometry(uint32_t part)
{
    if (part >= m_partCount)
        return RES_FAIL;
    return DrawParts(MemoryDrawKind::RenderPartGeometry, part, part + 1, false, false);
}

Result CMemoryObject::ApplyPartState(uint32_t part)
{
    const C3DPrimitiveGroup* own = PartRecord(part);
    if (!own || !DrawnRecord(part))
        return RES_FAIL;
    if ((m_flagsB & kObjectStateBlock) && Failed(ApplyRenderState()))
        return RES_FAIL;
    if (Failed(PushTransform()))
        return RES_FAIL;
    BindPartTextures(own->id);
    return RES_OK;
}

Result CMemoryObject::DrawVertices(uint32_t part, uint32_t firstVertex, uint32_t primitiveCount, int32_t type,
                                   int32_t cull)
{
    const uint32_t drawnType = type == kDefaultType ? kPrimitivePointList : static_cast<uint32_t>(type);
    m_pMemoryEngine->Device().cull =
        cull == kDefaultCull ? MemoryCull::CounterClockwise : EffectiveCull(static_cast<uint32_t>(cull));
    const uint32_t indices = static_cast<uint32_t>(IndicesForPrimitives(drawnType, primitiveCount));
    const C3DPrimitiveGroup record{part, firstVertex, indices, 0, indices, primitiveCount, drawnType,
                                   static_cast<uint32_t>(cull)};
    Log(MemoryDrawKind::DrawVertices, part, part, record);
    return RES_OK;
}

Result CMemoryObject::RecordRenderState()
{
    ++m_recordStates;
    return RES_OK;
}

Result CMemoryObject::ApplyRenderState() { return RES_OK; }

Result CMemoryObject::RebuildStateBlock()
{
    ++m_rebuilds;
    if (m_pMemoryEngine->Failures().ShouldFail(MemoryOp::RebuildStateBlock))
        return RES_FAIL;
    return RecordRenderState();
}

Result CMemoryObject::ReleaseStateBlock()
{
    ++m_releaseStates;
    return m_pMemoryEngine->Failures().ShouldFail(MemoryOp::ReleaseStateBlock) ? RES_FAIL : RES_OK;
}

CMemoryIndexBuffer::CMemoryIndexBuffer(CWorldData* data, CMemoryEngine* engine, uint32_t kind)
    : C3DObjectIndexSystemMemory(data, kind), m_pMemoryEngine(engine)
{
}

void CMemoryIndexBuffer::OnStorageMisuse(const char* operation)
{
    m_pMemoryEngine->ReportMisuse(std::string(operation) + " outside Lock or past the index count");
}

Result CMemoryIndexBuffer::OnDeviceRestore()
{
    ++m_restores;
    return m_pMemoryEngine->Failures().ShouldFail(MemoryOp::DeviceRestore) ? RES_FAIL : RES_OK;
}

Result CMemoryIndexBuffer::OnDeviceLost()
{
    ++m_losts;
    return m_pMemoryEngine->Failures().ShouldFail(MemoryOp::DeviceLost) ? RES_FAIL : RES_OK;
}
