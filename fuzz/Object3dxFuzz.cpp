// ".3dx" object files: the memory and pak loads agree, read nothing past the entry, and a
// loaded object's parts lie inside its arrays.

#include <cstring>
#include <memory>
#include <vector>

#include "core/WorldData.h"
#include "engine3d/ObjectFile.h"
#include "fuzz/FuzzObjects.h"
#include "fuzz/FuzzSupport.h"

namespace {

template <typename T>
bool SameArray(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool SameBlocks(const C3DObjectFileData& a, const C3DObjectFileData& b)
{
    return memcmp(&a.matrix, &b.matrix, sizeof a.matrix) == 0 && a.indexKind == b.indexKind &&
           SameArray(a.indices, b.indices) && SameArray(a.positions, b.positions) && SameArray(a.colors, b.colors) &&
           SameArray(a.colors2, b.colors2) && SameArray(a.uvs, b.uvs) && SameArray(a.normals, b.normals) &&
           SameArray(a.parts, b.parts) && SameArray(a.materials, b.materials) && SameArray(a.partNames, b.partNames) &&
           SameArray(a.textureNames, b.textureNames) && SameArray(a.textureFlags, b.textureFlags) &&
           SameArray(a.textureParams, b.textureParams);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto world = std::make_unique<CWorldData>();
    C3DObjectFile memory(world.get());
    C3DObjectFile packed(world.get());
    const Result fromMemory = memory.LoadFromAddress(data, static_cast<uint32_t>(size), u"model.3dx");
    CFuzzPak pak(u"model.3dx", data, size);
    const Result fromPak = packed.LoadFromPacker(pak.Record());
    FUZZ_CHECK(pak.Position() <= static_cast<long>(size));
    FUZZ_CHECK(fromMemory == fromPak);
    if (Succeeded(fromMemory)) {
        CheckLoadedObject(memory);
        FUZZ_CHECK(SameBlocks(*memory.GetData(), *packed.GetData()));
    }
    return 0;
}
