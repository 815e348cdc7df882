#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"

// The commands of the vdfontbake tool, on the engine's own font code. Each returns RES_OK, or
// RES_FAIL with *error set.

// Characters of one face for a multi-page font, cut into pages of 256 that share the script flags.
struct FontBakeGroup {
    std::string fontPath;
    uint32_t scriptFlags = 0;
    std::u16string characters;
};

// Copies the TrueType font into folder and bakes its glyph-atlas pair next to the copy with
// CVarnFont::BakeGlyphFile ("NAME.1024xH.SIZE.SPACE.glyph" and ".png"). glyphPath receives the
// description's path.
Result BakeGlyphFont(const std::string& fontPath, const std::string& folder, uint8_t charSize, uint8_t spaceSize,
                     std::string* glyphPath, std::string* error);

// Writes base + ".charset" and one base + ".N.png" page image per page, N from 0. Characters
// the face has no glyph for are left out (counted in skipped). pageCount receives the pages.
Result BakeCharsetFont(const std::vector<FontBakeGroup>& groups, const std::string& base, uint8_t charSize,
                       uint8_t spaceSize, uint32_t* pageCount, uint32_t* skipped, std::string* error);

// A character list: comma-separated items, each a range FIRST-LAST or one code (decimal,
// 0x hex or U+ hex), or @FILE, the distinct characters of a UTF-8 text in order of appearance
// (control characters left out). Codes beyond 16 bits or duplicates are left out.
bool ParseCharacterList(const std::string& list, std::u16string* characters, std::string* error);

// The command line:
//   "glyph FONT FOLDER [CHAR_SIZE [SPACE_SIZE]]" (sizes 30 and 3 by default),
//   "charset BASE CHAR_SIZE SPACE_SIZE FONT FLAGS CHARS [FONT FLAGS CHARS...]".
// Returns the process exit code: 0 done, 1 failed, 2 bad usage.
int RunFontBake(int argc, const char* const* argv, FILE* out, FILE* err);
