#pragma once

#include <string>

class CMemoryEngine;
class CVarnFont;

// Lays out, hit-tests, draws and wraps a text of every code up to 0x2FF and a few CJK characters
// in both text flags, then checks that the renderer saw no misuse (a write outside a lock, a
// part naming no record) and that the wrapped text ended within its capacity.
void DrawEveryGlyph(CVarnFont& font, CMemoryEngine& engine);
// The glyph rectangles of the codes up to 0x2FF and the first font info, as bytes.
std::string GlyphTable(const CVarnFont& font);
