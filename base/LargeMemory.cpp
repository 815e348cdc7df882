#include "base/LargeMemory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

} // namespace

void* AllocateLarge(size_t bytes)
{
    if (bytes < kHugePage)
        return std::malloc(bytes);
    void* memory = nullptr;
    if (posix_memalign(&memory, kHugePage, bytes) != 0)
        return nullptr;
    madvise(memory, bytes, MADV_HUGEPAGE);
    return memory;
}

void* AllocateLargeZeroed(size_t bytes)
{
    if (bytes < kHugePage)
        return std::calloc(bytes, 1);
    void* memory = AllocateLarge(bytes);
    if (memory)
        std::memset(memory, 0, bytes);
    return memory;
}
