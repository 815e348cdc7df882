// The game's preparation with the input as its sound-name table: every name of the sound bank
// starts inside the table and ends within a path's length.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareGameWith("strings/_sounds.ascii.ucs2.raw", data, size);
    return 0;
}
