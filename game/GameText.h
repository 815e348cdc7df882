#pragma once
#include <cstdint>

#include "core/Vector3.h"

struct CWorldData;

// The draw routine of the game's text containers (ContainerTextDraw); the context is the
// CWorldData. Draws the text with the main font at the position, aligned by the flags, in the
// ARGB colour at the size's width and height. Nothing without a text or a main font.
void DrawTextObjectCallback(const Vector3* position, uint32_t colour, const Vector2* size, uint16_t align,
                            const char16_t* text, uintptr_t context);

// Wraps source into destination (capacity units, terminator included) with the main font at the
// scale pair, no line wider than width (whole units, at least 1), breaking at the separator unit
// where the game's indivisible lists allow. False without a main font (destination emptied).
bool WrapGameText(CWorldData* data, const float scale[2], const char16_t* source, char16_t* destination,
                  uint32_t capacity, double width);
