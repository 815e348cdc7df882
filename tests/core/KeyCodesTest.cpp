#include <gtest/gtest.h>

#include <set>

#include "core/KeyCodes.h"
#include "platform/win32/Win32Types.h"

TEST(KeyCodesTest, TheTableMapsEachKeyOnce)
{
    EXPECT_EQ(EngineKeyCode(VK_ESCAPE), 1);
    EXPECT_EQ(EngineKeyCode(VK_F1), 2);
    EXPECT_EQ(EngineKeyCode(VK_F12), 13);
    EXPECT_EQ(EngineKeyCode(VK_TAB), 14);
    EXPECT_EQ(EngineKeyCode(VK_LWIN), 18);
    EXPECT_EQ(EngineKeyCode(VK_SPACE), 20);
    EXPECT_EQ(EngineKeyCode(VK_APPS), 23);
    EXPECT_EQ(EngineKeyCode(VK_RETURN), 26);
    EXPECT_EQ(EngineKeyCode(VK_NEXT), 33);
    EXPECT_EQ(EngineKeyCode(VK_LEFT), 37);
    EXPECT_EQ(EngineKeyCode(VK_NUMLOCK), 38);
    EXPECT_EQ(EngineKeyCode(VK_ADD), 42);
    EXPECT_EQ(EngineKeyCode(VK_DECIMAL), 44);
    EXPECT_EQ(EngineKeyCode('0'), 45);
    EXPECT_EQ(EngineKeyCode('9'), 54);
    EXPECT_EQ(EngineKeyCode(VK_NUMPAD0), 55);
    EXPECT_EQ(EngineKeyCode(VK_NUMPAD9), 64);
    EXPECT_EQ(EngineKeyCode(VK_OEM_102), 66);
    EXPECT_EQ(EngineKeyCode(VK_OEM_8), 74);
    EXPECT_EQ(EngineKeyCode('A'), 75);
    EXPECT_EQ(EngineKeyCode('Z'), 100);

    std::set<int> codes;
    int mapped = 0;
    for (uintptr_t key = 0; key < 256; ++key) {
        int code = EngineKeyCode(key);
        if (code) {
            ++mapped;
            codes.insert(code);
        }
    }
    EXPECT_EQ(mapped, 94);
    EXPECT_EQ(codes.size(), 94u);
    for (int missing : {19, 21, 24, 25, 43, 65})
        EXPECT_EQ(codes.count(missing), 0u) << missing;
    EXPECT_EQ(*codes.rbegin(), 100);
}

TEST(KeyCodesTest, UnmappedAndOutOfRangeKeysGiveZero)
{
    EXPECT_EQ(EngineKeyCode(0), 0);
    EXPECT_EQ(EngineKeyCode(VK_PAUSE), 0);
    EXPECT_EQ(EngineKeyCode(VK_LSHIFT), 0);
    EXPECT_EQ(EngineKeyCode(VK_SCROLL), 0);
    EXPECT_EQ(EngineKeyCode(256), 0);
    EXPECT_EQ(EngineKeyCode(256 + 'A'), 0);
    EXPECT_EQ(EngineKeyCode(static_cast<uintptr_t>(-1)), 0);
}
