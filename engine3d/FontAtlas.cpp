#include "engine3d/FontAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/FileSystem.h"
#include "engine3d/TextureRaw.h"

namespace {

constexpr uint32_t kRowRoom = kAtlasWidth - kAtlasGap;
constexpr uint32_t kMaxPixelSize = 0x4000;
constexpr uint32_t kMinAtlasHeight = 16;
// A glyph's outline and advance may reach this many character sizes; a font whose glyph lies
// further outside its own bounding box is lying, and rendering such a glyph takes seconds.
constexpr int64_t kMaxGlyphCharSizes = 4;

bool SetPixelSize(FT_Face face, uint32_t size, FT_Pos height, FT_Pos* scaled)
{
    if (FT_Set_Pixel_Sizes(face, size, size) != 0)
        return false;
    *scaled = FT_MulFix(height, face->size->metrics.y_scale);
    return true;
}

// The largest pixel size, at or below the first one whose scaled bounding box reaches the
// character size, whose bounding box is not taller than the character size.
Result FitPixelSize(FT_Face face, uint8_t charSize)
{
    const FT_Pos height = face->bbox.yMax - face->bbox.yMin;
    if (height <= 0 || charSize == 0)
        return RES_FAIL;
    const FT_Pos target = FT_Pos{charSize} * 64;
    uint32_t size = static_cast<uint32_t>(uint64_t{face->units_per_EM} * charSize / static_cast<uint64_t>(height));
    size = std::clamp<uint32_t>(size, 1, kMaxPixelSize);
    FT_Pos scaled = 0;
    if (!SetPixelSize(face, size, height, &scaled))
        return RES_FAIL;
    while (scaled < target) {
        if (size >= kMaxPixelSize || !SetPixelSize(face, ++size, height, &scaled))
            return RES_FAIL;
    }
    if (scaled != target) {
        do {
            if (size <= 1 || !SetPixelSize(face, --size, height, &scaled))
                return RES_FAIL;
        } while (scaled > target);
    }
    return RES_OK;
}

// Cell layout of the measuring pass.
struct AtlasMetrics {
    uint32_t widths[kAtlasCellCount];
    uint32_t rows = 1;
    uint32_t maxTop = 0;
    uint32_t maxBelow = 0;
};

int64_t GlyphLimitPixels(uint8_t charSize)
{
    return kMaxGlyphCharSizes * charSize;
}

// Loads and renders the glyph, unless it reaches past the glyph limit: false then, and the cell
// stays empty.
bool RenderGlyph(FT_Face face, FT_UInt index, uint8_t charSize)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0)
        return false;
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    const FT_Pos limit = GlyphLimitPixels(charSize) * 64;
    if (m.width > limit || m.height > limit || std::abs(m.horiBearingX) > limit || std::abs(m.horiBearingY) > limit)
        return false;
    return FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

void MeasureCells(FT_Face face, const uint32_t* codes, uint32_t count, uint8_t charSize, AtlasMetrics* metrics)
{
    uint32_t room = kRowRoom;
    int64_t maxTop = 0;
    int64_t maxBelow = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const FT_UInt index = FT_Get_Char_Index(face, codes[i]);
        int64_t advance = 0;
        if (RenderGlyph(face, index, charSize)) {
            const FT_GlyphSlot slot = face->glyph;
            advance = std::clamp<int64_t>(slot->advance.x >> 6, 0, GlyphLimitPixels(charSize));
            maxTop = std::max<int64_t>(maxTop, slot->bitmap_top);
            maxBelow = std::max<int64_t>(maxBelow, int64_t{slot->bitmap.rows} - slot->bitmap_top);
        }
        const uint32_t width = static_cast<uint32_t>(std::min<int64_t>(advance + kAtlasGap, kRowRoom));
        if (width > room) {
            ++metrics->rows;
            room = kRowRoom;
        }
        room -= width;
        metrics->widths[i] = width;
    }
    metrics->maxTop = static_cast<uint32_t>(std::min<int64_t>(maxTop, kAtlasMaxHeight));
    metrics->maxBelow = static_cast<uint32_t>(std::min<int64_t>(maxBelow, kAtlasMaxHeight));
}

uint8_t Coverage(const FT_Bitmap& bitmap, const uint8_t* row, uint32_t column)
{
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        return ((row[column >> 3] >> (7 - (column & 7))) & 1) ? 0xFF : 0;
    return row[column];
}

// Copies the rendered glyph with its origin at (x, baseline), clipped to the atlas.
void BlitGlyph(const FT_GlyphSlot slot, int64_t x, int64_t baseline, CFontAtlas* atlas)
{
    const FT_Bitmap& bitmap = slot->bitmap;
    if (!bitmap.buffer || (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO))
        return;
    const int64_t pitch = bitmap.pitch;
    for (uint32_t r = 0; r < bitmap.rows; ++r) {
        const int64_t y = baseline - slot->bitmap_top + r;
        if (y < 0 || y >= int64_t{atlas->height})
            continue;
        const uint8_t* row = pitch >= 0 ? bitmap.buffer + pitch * r : bitmap.buffer + (-pitch) * (bitmap.rows - 1 - r);
        uint8_t* out = atlas->pixels.get() + y * kAtlasWidth;
        for (uint32_t k = 0; k < bitmap.width; ++k) {
            const int64_t column = x + slot->bitmap_left + k;
            if (column >= 0 && column < int64_t{kAtlasWidth})
                out[column] = Coverage(bitmap, row, k);
        }
    }
}

void PlaceCells(FT_Face face, const uint32_t* codes, const AtlasMetrics& metrics, uint8_t charSize,
                uint8_t spaceSize, CFontAtlas* atlas)
{
    const uint32_t lineHeight = metrics.maxTop + metrics.maxBelow;
    const uint32_t pitch = lineHeight + kAtlasGap;
    const float width = static_cast<float>(kAtlasWidth);
    const float height = static_cast<float>(atlas->height);
    uint32_t x = kAtlasGap;
    uint32_t baseline = metrics.maxTop + kAtlasGap;
    for (uint32_t i = 0; i < atlas->cellCount; ++i) {
        const uint32_t w = metrics.widths[i];
        if (w > kAtlasWidth - x) {
            baseline += pitch;
            x = kAtlasGap;
        }
        const uint32_t rowTop = baseline - metrics.maxTop;
        GlyphRect& rect = atlas->rects[i];
        rect.left = static_cast<float>(x) / width;
        rect.top = static_cast<float>(rowTop) / height;
        rect.right = static_cast<float>(x + w - kAtlasGap + spaceSize) / width;
        rect.bottom = rect.top + static_cast<float>(lineHeight) / height;
        const FT_UInt index = FT_Get_Char_Index(face, codes[i]);
        if (RenderGlyph(face, index, charSize))
            BlitGlyph(face->glyph, x, baseline, atlas);
        x += w;
    }
}

} // namespace

CFontFace::~CFontFace() { Close(); }

void CFontFace::Close()
{
    if (m_face)
        FT_Done_Face(m_face);
    if (m_library)
        FT_Done_FreeType(m_library);
    m_face = nullptr;
    m_library = nullptr;
}

Result CFontFace::Check()
{
    const FT_Long needed = FT_FACE_FLAG_SCALABLE | FT_FACE_FLAG_HORIZONTAL;
    if ((m_face->face_flags & needed) != needed) {
        Close();
        return RES_FAIL;
    }
    return RES_OK;
}

Result CFontFace::OpenMemory(const uint8_t* data, uint32_t size)
{
    Close();
    if (!data || size == 0 || FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        return RES_FAIL;
    }
    if (FT_New_Memory_Face(m_library, data, static_cast<FT_Long>(size), 0, &m_face) != 0) {
        m_face = nullptr;
        Close();
        return RES_FAIL;
    }
    return Check();
}

Result CFontFace::OpenPath(const char16_t* path)
{
    Close();
    if (!path || FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        return RES_FAIL;
    }
    if (FT_New_Face(m_library, ResolvePath(path).c_str(), 0, &m_face) != 0) {
        m_face = nullptr;
        Close();
        return RES_FAIL;
    }
    return Check();
}

bool CFontFace::HasCharacter(uint32_t code) const
{
    return m_face && FT_Get_Char_Index(m_face, code) != 0;
}

Result BuildFontAtlas(CFontFace& face, const uint32_t* codes, uint32_t count, uint8_t charSize, uint8_t spaceSize,
                      CFontAtlas* atlas)
{
    FT_Face ft = face.Face();
    if (!ft || !codes || !atlas || count == 0 || count > kAtlasCellCount || Failed(FitPixelSize(ft, charSize)))
        return RES_FAIL;
    AtlasMetrics metrics;
    MeasureCells(ft, codes, count, charSize, &metrics);
    const uint64_t needed = uint64_t{metrics.maxTop + metrics.maxBelow + kAtlasGap} * metrics.rows + kAtlasGap;
    uint32_t height = kMinAtlasHeight;
    while (height < needed && height < kAtlasMaxHeight)
        height *= 2;
    if (height < needed)
        return RES_FAIL;
    atlas->pixels.reset(new (std::nothrow) uint8_t[size_t{kAtlasWidth} * height]());
    if (!atlas->pixels)
        return RES_OUT_OF_MEMORY;
    atlas->height = height;
    atlas->cellCount = count;
    PlaceCells(ft, codes, metrics, charSize, spaceSize, atlas);
    atlas->info = FontInfo{charSize, {0, 0, 0}, static_cast<float>(kAtlasWidth), static_cast<float>(height)};
    return RES_OK;
}

Result SaveFontAtlasPng(CWorldData* data, const CFontAtlas& atlas, const char16_t* path)
{
    if (!atlas.pixels || atlas.height == 0)
        return RES_FAIL;
    const size_t count = size_t{kAtlasWidth} * atlas.height;
    auto* pixels = static_cast<uint8_t*>(std::malloc(count * 4));
    if (!pixels)
        return RES_FAIL;
    for (size_t i = 0; i < count; ++i) {
        pixels[i * 4 + 0] = 0xFF;
        pixels[i * 4 + 1] = 0xFF;
        pixels[i * 4 + 2] = 0xFF;
        pixels[i * 4 + 3] = atlas.pixels[i];
    }
    C3DTextureRaw image(data);
    IgnoreResult(image.Attach(static_cast<uint16_t>(kAtlasWidth), static_cast<uint16_t>(atlas.height), 32, pixels));
    const Result result = image.SaveToFile(path);
    IgnoreResult(image.Release());
    return Failed(result) ? RES_FAIL : RES_OK;
}
