#include "base/LargeMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Blocks on both sides of 2 MiB: the large ones start on a 2 MiB boundary, zeroed blocks are zero
// to their last byte even where the memory was used before, and all go back through std::free.
TEST(LargeMemory, BlocksAreAlignedWhenLargeAndZeroedWhenAsked)
{
    constexpr size_t kHuge = size_t{2} << 20;
    const size_t sizes[] = {1, kHuge - 1, kHuge, 3 * kHuge + 5};
    for (size_t size : sizes) {
        auto* used = static_cast<uint8_t*>(AllocateLarge(size));
        ASSERT_NE(used, nullptr) << size;
        std::memset(used, 0xAB, size);
        if (size >= kHuge) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(used) % kHuge, 0u) << size;
        }
        std::free(used);
        auto* zeroed = static_cast<uint8_t*>(AllocateLargeZeroed(size));
        ASSERT_NE(zeroed, nullptr) << size;
        EXPECT_EQ(zeroed[0], 0u) << size;
        EXPECT_EQ(zeroed[size / 2], 0u) << size;
        EXPECT_EQ(zeroed[size - 1], 0u) << size;
        std::free(zeroed);
    }
}
