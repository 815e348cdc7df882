#pragma once
#include <cstddef>

// Memory for large pixel and sample buffers. A block of at least 2 MiB starts on a 2 MiB boundary
// and is offered to the kernel for huge pages, so its first touch maps 2 MiB at a time instead of
// 4 KiB: fresh pages are the largest cost of loading pictures. Smaller blocks come from malloc.
// Every block is given back with std::free; null when memory runs out.
void* AllocateLarge(size_t bytes);
// The same, every byte zero.
void* AllocateLargeZeroed(size_t bytes);
