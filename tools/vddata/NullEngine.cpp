#include "tools/vddata/NullEngine.h"

#include <new>

#include "engine3d/SystemMemoryObject.h"

namespace {

class CNullObject : public C3DObjectSystemMemory {
public:
    CNullObject(CWorldData* data, C3DEngine* engine)
        : C3DObjectSystemMemory(data, engine, StorageConvention::Direct3D)
    {
    }

    Result Render() override { return RES_OK; }
    Result RenderPart(uint32_t) override { return RES_OK; }
    Result RenderGeometry() override { return RES_OK; }
    Result RenderPartGeometry(uint32_t) override { return RES_OK; }
    Result ApplyPartState(uint32_t) override { return RES_OK; }
    Result DrawVertices(uint32_t, uint32_t, uint32_t, int32_t, int32_t) override { return RES_OK; }
};

} // namespace

C3DObject* CNullEngine::CreateObject(uint32_t flagsA, uint32_t flagsB)
{
    if (!VertexLayoutForFlags(flagsA))
        return nullptr;
    return AdoptObject(new (std::nothrow) CNullObject(m_pWorldData, this), flagsA, flagsB);
}

C3DObjectIndex* CNullEngine::CreateIndexBuffer(uint32_t, uint32_t kind)
{
    if (kind != kIndexKind16 && kind != kIndexKind32)
        return nullptr;
    return AdoptIndexBuffer(new (std::nothrow) C3DObjectIndexSystemMemory(m_pWorldData, kind));
}
