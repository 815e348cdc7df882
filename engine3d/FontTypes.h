#pragma once
#include <cstdint>

// Records shared by the fonts and their files (little-endian on disk).

// Texture coordinates of one glyph cell; (left, top) is drawn at the pen. All four 0.0: the
// font has no glyph for the code, which is skipped without advancing.
struct GlyphRect {
    float left;
    float top;
    float right;
    float bottom;
};

// The pixel size the glyphs were made for, and the size of the texture they lie in.
struct FontInfo {
    uint8_t charSize;
    uint8_t padding[3];
    float textureWidth;
    float textureHeight;
};

static_assert(sizeof(GlyphRect) == 16, "a glyph rectangle is four packed f32");
static_assert(sizeof(FontInfo) == 12, "a font info is u8, three padding bytes, two f32");

constexpr uint32_t kGlyphRectBytes = 16;
constexpr uint32_t kFontInfoBytes = 12;

// Text flags of HitTestText, DrawText, AlignPosition and Render.
constexpr uint32_t kTextCenterX = 0x01;
constexpr uint32_t kTextCenterY = 0x02;
constexpr uint32_t kTextScreenCenterX = 0x04;
constexpr uint32_t kTextScreenCenterY = 0x08;
constexpr uint32_t kTextRightAlign = 0x10;
constexpr uint32_t kTextTurnedScreen = 0x20;
constexpr uint32_t kTextUpsideDown = 0x40;
constexpr uint32_t kTextGrowth = 0x80;
constexpr uint32_t kTextShadow = 0x100;
constexpr uint32_t kTextHitMargin = 0x200;
constexpr uint32_t kTextHover = 0x400;
constexpr uint32_t kTextRotate = 0x800;
constexpr uint32_t kTextMatrix = 0x1000;

// Flags of CVarnFont::Create.
constexpr uint8_t kFontScreenText = 0x01;
constexpr uint8_t kFontObjectText = 0x02;
constexpr uint8_t kFontCullNone = 0x04;
constexpr uint8_t kFontCullCounterClockwise = 0x08;
constexpr uint8_t kFontCullClockwise = 0x10;

// Glyph table of a single-texture font: one rectangle per 8-bit code.
constexpr uint32_t kFontGlyphCount = 256;
// Most characters one DrawText turns into quads: six vertices each must stay addressable by
// the text object's 16-bit indices.
constexpr uint32_t kFontMaxBatchSize = 0xFFFF / 6;
constexpr uint32_t kFontDefaultBatchSize = 1024;

// Texture words of every font texture: shared through the engine's cache, parameter 0x52.
constexpr uint32_t kFontTextureFlags = 1;
constexpr uint32_t kFontTextureParameter = 0x52;
