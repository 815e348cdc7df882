#pragma once
#include <cstdint>

#include "base/Result.h"

class C3DTexture;
class CParamsReader;
class CVarnFont;
class CVarnFontCharset;
struct CWorldData;

// Font loading by parameter key, as the texture loaders: source 1 the data block's memory lookup,
// 2 its pak lookup, 4 a file below the data folder (the key read as a path); any other source
// loads nothing and answers RES_OK. A failure logs the loader's line with the name, sets the
// error detail "Missing file: %s" and answers RES_FAIL.

// A TrueType font at the glyph and space sizes.
Result AutoLoadFontTTFFromParam(uint8_t source, const CParamsReader* params, const char16_t* section,
                                const char16_t* key, const char16_t* defaultValue, uint8_t charSize,
                                uint8_t spaceSize, CVarnFont* font, CWorldData* data);
// A glyph-atlas font: the ".glyph" table named by key and its picture by textureKey; both must
// be found.
Result AutoLoadFontGlyphFromParam(uint8_t source, const CParamsReader* params, const char16_t* section,
                                  const char16_t* key, const char16_t* defaultValue, const char16_t* textureKey,
                                  const char16_t* textureDefault, CVarnFont* font, CWorldData* data);
// The page textures onto the charset font; RES_FAIL, logged, when they do not fit its pages.
Result LoadFontCharsetTextures(CVarnFontCharset* font, CWorldData* data, C3DTexture* const* textures,
                               uint32_t count);
