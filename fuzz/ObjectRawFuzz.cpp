// Object data handed to an object (C3DObject::LoadFromRaw): whatever the part records and
// indices say, a loaded object's records lie inside its vertex and index buffers, every index
// names a vertex, and destroying the object leaves nothing in the engine.
// Input: u16 bits (bit 0 the index kind, the rest shifted into texture stages and load cull), u8 part, vertex and index counts, each part's
// eight record words, the u16 indices, then the first bytes of the parts' texture names.

#include <cstring>

#include "engine3d/Object.h"
#include "engine3d/ObjectFile.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/ObjectTypes.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

namespace {

constexpr uint32_t kFlagBits = kTextureStage0 | kTextureStage1 | kLoadCullNone | kLoadCullCounterClockwise |
                               kLoadCullClockwise;
constexpr size_t kNameBytesTaken = 8;

void CheckObject(C3DObject& object)
{
    C3DObjectIndex* index = object.GetIndexBuffer();
    FUZZ_CHECK(index);
    FUZZ_CHECK(object.Lock() == RES_OK);
    for (uint32_t p = 0; p < object.GetPartCount(); ++p) {
        C3DPrimitiveGroup group{};
        FUZZ_CHECK(object.GetPrimitiveGroup(p, &group) == RES_OK);
        FUZZ_CHECK(RecordFitsBuffers(group, object.GetPartCount(), object.GetVertexCount(), index->GetIndexCount()));
        for (uint32_t i = 0; i < group.indexCount; ++i)
            FUZZ_CHECK(uint64_t{object.GetIndex(group.firstIndex + i)} + group.firstVertex < object.GetVertexCount());
    }
    FUZZ_CHECK(object.Unlock(0) == RES_OK);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint16_t bits = input.Take<uint16_t>();
    const uint32_t flags = (uint32_t{bits} << 6) & kFlagBits;
    MemoryRenderer renderer;
    C3DObjectFile file(renderer.Data());
    const uint32_t parts = input.Take<uint8_t>() % 16;
    const uint32_t vertices = input.Take<uint8_t>();
    const uint32_t indices = input.Take<uint8_t>();
    FUZZ_CHECK(file.Init(parts, vertices, indices) == RES_OK);
    C3DObjectFileData& block = *file.GetData();
    block.indexKind = bits & 1 ? kIndexKind16 : kIndexKind32;
    for (C3DPrimitiveGroup& group : block.parts)
        group = input.Take<C3DPrimitiveGroup>();
    for (uint32_t& value : block.indices)
        value = input.Take<uint16_t>();
    for (uint32_t p = 0; p < parts; ++p) {
        const size_t taken = std::min(kNameBytesTaken, input.Left());
        memcpy(block.textureNames[p].text, input.Data(), taken);
        input.Take<uint64_t>();
    }
    C3DObject* object = renderer.Engine()->CreateObject(kFormatNormalTex2, flags);
    FUZZ_CHECK(object);
    if (Succeeded(object->LoadFromRaw(&file, nullptr, nullptr, nullptr)))
        CheckObject(*object);
    FUZZ_CHECK(renderer.Engine()->DestroyObject(object) == RES_OK);
    FUZZ_CHECK(renderer.Unload() == 0);
    return 0;
}
