// The game's preparation with the input as its tutorial table ("_menu_tuto").

#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareGameWith("_menu_tuto.raw", data, size);
    return 0;
}
