#pragma once
#include <cstdint>

// The engine key code (1..100) of a virtual key; 0 for every unmapped or out-of-range key.
uint8_t EngineKeyCode(uintptr_t virtualKey);
