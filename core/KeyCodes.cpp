#include "core/KeyCodes.h"

#include <array>
#include <cstddef>

#include "platform/win32/Win32Types.h"

namespace {

constexpr size_t kVirtualKeyCount = 256;

using KeyTable = std::array<uint8_t, kVirtualKeyCount>;

constexpr void MapRange(KeyTable& table, int firstKey, int lastKey, int firstCode)
{
    for (int key = firstKey; key <= lastKey; ++key)
        table[static_cast<size_t>(key)] = static_cast<uint8_t>(firstCode + key - firstKey);
}

constexpr KeyTable BuildKeyTable()
{
    KeyTable table{};
    struct Pair {
        int key;
        int code;
    };
    constexpr Pair kSingles[] = {
        {VK_ESCAPE, 1},      {VK_TAB, 14},         {VK_CAPITAL, 15},    {VK_SHIFT, 16},      {VK_CONTROL, 17},
        {VK_LWIN, 18},       {VK_SPACE, 20},       {VK_RWIN, 22},       {VK_APPS, 23},       {VK_RETURN, 26},
        {VK_BACK, 27},       {VK_INSERT, 28},      {VK_DELETE, 29},     {VK_HOME, 30},       {VK_END, 31},
        {VK_PRIOR, 32},      {VK_NEXT, 33},        {VK_UP, 34},         {VK_RIGHT, 35},      {VK_DOWN, 36},
        {VK_LEFT, 37},       {VK_NUMLOCK, 38},     {VK_DIVIDE, 39},     {VK_MULTIPLY, 40},   {VK_SUBTRACT, 41},
        {VK_ADD, 42},        {VK_DECIMAL, 44},     {VK_OEM_102, 66},    {VK_OEM_6, 67},      {VK_OEM_1, 68},
        {VK_OEM_3, 69},      {VK_OEM_5, 70},       {VK_OEM_COMMA, 71},  {VK_OEM_PERIOD, 72}, {VK_OEM_2, 73},
        {VK_OEM_8, 74},
    };
    for (const Pair& pair : kSingles)
        table[static_cast<size_t>(pair.key)] = static_cast<uint8_t>(pair.code);
    MapRange(table, VK_F1, VK_F12, 2);
    MapRange(table, '0', '9', 45);
    MapRange(table, VK_NUMPAD0, VK_NUMPAD9, 55);
    MapRange(table, 'A', 'Z', 75);
    return table;
}

constexpr KeyTable kKeyTable = BuildKeyTable();

} // namespace

uint8_t EngineKeyCode(uintptr_t virtualKey)
{
    return virtualKey < kVirtualKeyCount ? kKeyTable[virtualKey] : 0;
}
