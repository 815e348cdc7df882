// Parameter texts read from a pak entry: the answers are those of the same text in memory.

#include "core/ParamsReader.h"
#include "fuzz/FuzzParams.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzPak pak(u"settings.params", data, size);
    const CPackedParams packed(u"settings.params", FindPackerEntry, pak.Record());
    const CParamsText text(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    FUZZ_CHECK(AskParams(packed, data, size) == AskParams(text, data, size));
    return 0;
}
