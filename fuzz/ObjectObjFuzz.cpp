// Wavefront ".obj" imports: an imported object's parts lie inside its arrays.

#include <memory>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/ObjectFile.h"
#include "fuzz/FuzzObjects.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto world = std::make_unique<CWorldData>();
    C3DObjectFile file(world.get());
    if (Succeeded(file.LoadFromFile(Utf8ToUtf16(WriteFuzzFile("model.obj", data, size)).c_str())))
        CheckLoadedObject(file);
    return 0;
}
