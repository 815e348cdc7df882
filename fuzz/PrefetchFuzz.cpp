// "prefetch.params": the developer switches are read from a file of any content.

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzGame game;
    WriteFuzzFile("data/prefetch.params", data, size);
    WStrCopy(game.World().GetData()->dataFolder, kMaxPathUnits, Utf8ToUtf16(FuzzFolder() + "/data/").c_str());
    FUZZ_CHECK(game.World().LoadPrefetchParams() == RES_OK);
    FUZZ_CHECK(game.Data().m_bOverlay == game.Data().m_bDebugKeys);
    return 0;
}
