// Parameter texts: every question about the names the text holds stays within its bounds.

#include "core/ParamsReader.h"
#include "fuzz/FuzzParams.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CParamsText reader(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    AskParams(reader, data, size);
    return 0;
}
