// ".png" images: the memory and pak loads agree and a loaded image keeps its bounds.

#include "fuzz/FuzzImages.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzImage(data, size, u"image.png");
    return 0;
}
