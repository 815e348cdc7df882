#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/FontCharset.h"
#include "engine3d/FontTypes.h"

// One page of a ".charset" file.
struct CharsetFilePage {
    uint32_t scriptFlags = 0;
    uint32_t secondWord = 0;
    std::u16string characters;
    std::vector<GlyphRect> rects;  // kCharsetSlots
    FontInfo info = {};
};

// ".glyph" bytes: the version, the rectangles (256 for the codes from 32), the font info.
std::string GlyphFileBytes(const std::vector<GlyphRect>& rects, const FontInfo& info, uint16_t version = 2);

// ".charset" bytes: the version, the page count, the texture page limit, each page's words and
// characters, then every page's rectangles, then every page's font info.
std::string CharsetFileBytes(const std::vector<CharsetFilePage>& pages, uint32_t texturePageLimit,
                             uint16_t version = kCharsetVersion);
