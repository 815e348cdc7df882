#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "levels/minigames/MiniGameParts.h"

struct CWorldData;
class CPopupText;

inline Vector3 ToVector(const CPoint3& p) { return Vector3{p.x, p.y, p.z}; }

// The text in the main font at (x, y) at the size, in the colour, with the alignment.
void DrawGameText(CWorldData* data, const char16_t* text, float x, float y, const Vector2& size, uint32_t colour,
                  uint16_t align);
// The tutorial's first page: the pop-up's page with its '$' marker as a line break (lineBreak) or
// as the end of the text, in the game's size and first colour, opaque, aligned as the game's texts.
void RenderIntroText(CWorldData* data, const CPopupText* popup, bool lineBreak);
