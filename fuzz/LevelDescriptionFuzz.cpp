// The game's preparation with the input as the first level's description (scene parts, records,
// click targets, actions): every level made keeps its records, targets and current record in
// bounds, and releases whatever a failed read left.

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareGameWith("_level_0.raw", data, size);
    return 0;
}
