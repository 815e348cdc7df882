// The game's preparation with the input as the labels object's description, which is then given
// its files: every object made keeps its bounds.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareGameWith("_labels_0.raw", data, size);
    return 0;
}
