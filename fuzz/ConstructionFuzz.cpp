// The game's preparation with the input as its construction file: the counts and level types
// make the levels and tooltips, or fail before anything reads past the file.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareGameWith("_construct.raw", data, size);
    return 0;
}
