// Scene-object streams: a description, then the objects and progress sections of a save. What
// loads is saved again and the saved bytes load back to the same state; parts are hit-tested and
// reverted without harm. Input: u8 version, then the stream.

#include <cstring>

#include "core/Stream.h"
#include "engine3d/SceneObject3D.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

namespace {

std::string Saved(CSceneObject3D& object)
{
    CFuzzWriteStream out;
    FUZZ_CHECK(object.SaveObjects(&out) == RES_OK && object.SaveProgress(&out) == RES_OK);
    return out.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint32_t version = input.Take<uint8_t>();
    MemoryRenderer renderer;
    CSceneObject3D object(renderer.Data(), renderer.Engine(), 0);
    FUZZ_CHECK(object.Init() == RES_OK);
    CStreamMemory stream(kStreamRead, input.Data(), static_cast<uint32_t>(input.Left()));
    if (Succeeded(object.LoadDescription(&stream))) {
        FUZZ_CHECK(object.GetPartCount() <= kMaxSceneParts);
        IgnoreResult(object.LoadObjects(&stream, version));
        IgnoreResult(object.LoadProgress(&stream, version));
        const std::string saved = Saved(object);
        CStreamMemory again(kStreamRead, saved.data(), static_cast<uint32_t>(saved.size()));
        FUZZ_CHECK(object.LoadObjects(&again, version) == RES_OK && object.LoadProgress(&again, version) == RES_OK);
        FUZZ_CHECK(Saved(object) == saved);
        for (uint32_t part = 0; part < object.GetPartCount() && part < 8; ++part)
            IgnoreResult(object.HitTestPart(part, 1.0f, 2.0f));
        object.SnapshotPartFlags();
        object.RevertPartStates(0, 0);
    }
    FUZZ_CHECK(object.Release() == RES_OK);
    FUZZ_CHECK(renderer.Unload() == 0);
    return 0;
}
