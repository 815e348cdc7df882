#pragma once
#include <cstdint>

#include "base/Result.h"

class CVarnFontCharset;
struct CGameData;
struct CWorldData;

// The font types of [MAIN_FONT] LOAD_FONT_TYPE; the charset type is the charset mode, whose
// texts hold glyph codes of the multi-page font instead of characters.
constexpr uint32_t kFontTypeTrueType = 0;
constexpr uint32_t kFontTypeGlyph = 1;
constexpr uint32_t kFontTypeCharset = 2;

bool IsCharsetMode(const CGameData& game);

// The remap table's entry for a code 0 to 256 when the charset mode is off: the code itself,
// but a space for the control and unprinted codes (line feed and carriage return kept), and 0
// for 256.
uint16_t DefaultCharsetRemap(uint32_t code);
// Fills a table of kCharsetRemapEntries entries with the default.
void CopyDefaultCharsetRemap(uint16_t* table);

// In place, each unit c up to 256 becomes the game data's remap[c]; larger units stay.
void ApplyCharsetRemap(char16_t* text, CWorldData* data);
// In place, each unit becomes the default entry of the first remap index that gives it; a unit
// no index gives stays.
void UnmapCharsetText(char16_t* text, CWorldData* data);

// Each page of the font with a texture: a page whose script bits hold all of bits gets its texture
// loaded (unless it is) under the texture's own name from the pak the charset's page 0 came from;
// any other page's texture is released. RES_FAIL stops the walk at the first failure.
Result LoadFontPagesForScripts(CVarnFontCharset* font, uint32_t bits, CWorldData* data);
