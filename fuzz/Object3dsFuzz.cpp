// 3D Studio imports through the isolated child, given half a second: an imported object's parts
// lie inside its arrays, and a child that crashes or hangs only fails the import. The child dies
// of its signal as the shipped program's would, not in the sanitizers' and libFuzzer's handlers,
// which would report the contained crash as the harness's own.

#include <pthread.h>

#include <csignal>
#include <memory>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/ObjectFile.h"
#include "fuzz/FuzzObjects.h"
#include "fuzz/FuzzSupport.h"

namespace {

void PlainSignalsInChild()
{
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, SIG_DFL);
}

const bool g_plainChildren = pthread_atfork(nullptr, nullptr, PlainSignalsInChild) == 0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FUZZ_CHECK(g_plainChildren);
    auto world = std::make_unique<CWorldData>();
    C3DObjectFile file(world.get());
    file.SetImportTimeout(500);
    if (Succeeded(file.LoadFromFile(Utf8ToUtf16(WriteFuzzFile("model.3ds", data, size)).c_str())))
        CheckLoadedObject(file);
    return 0;
}
