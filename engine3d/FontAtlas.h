#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "engine3d/FontTypes.h"

struct CWorldData;
struct FT_LibraryRec_;
struct FT_FaceRec_;

// A FreeType library and one face (index 0) for the duration of one load or bake. Only scalable
// faces with horizontal metrics open.
class CFontFace {
public:
    CFontFace() = default;
    ~CFontFace();
    CFontFace(const CFontFace&) = delete;
    CFontFace& operator=(const CFontFace&) = delete;

    // The bytes must outlive the face.
    Result OpenMemory(const uint8_t* data, uint32_t size);
    Result OpenPath(const char16_t* path);

    // True when the face maps the character to a glyph of its own.
    bool HasCharacter(uint32_t code) const;
    FT_FaceRec_* Face() const { return m_face; }

private:
    Result Check();
    void Close();

    FT_LibraryRec_* m_library = nullptr;
    FT_FaceRec_* m_face = nullptr;
};

constexpr uint32_t kAtlasWidth = 1024;
// Gap between cells and margin at the left and top of the atlas, in pixels.
constexpr uint32_t kAtlasGap = 10;
// Cells of a TrueType font atlas: the codes 32 to 287.
constexpr uint32_t kAtlasFirstCode = 32;
constexpr uint32_t kAtlasCellCount = 256;
constexpr uint32_t kAtlasMaxHeight = 0x8000;

// One atlas: 8-bit coverage, kAtlasWidth x height, rows top-down, and a rectangle per cell.
struct CFontAtlas {
    uint32_t height = 0;
    std::unique_ptr<uint8_t[]> pixels;
    GlyphRect rects[kAtlasCellCount] = {};
    uint32_t cellCount = 0;
    FontInfo info = {};
};

// Lays out one cell per code in order (at most kAtlasCellCount), each the glyph's advance plus
// the space size wide and the line height tall, cells kAtlasGap pixels apart, and renders the
// glyphs into it. The face's pixel size is fitted to the character size first. A glyph whose
// outline reaches past four character sizes stays empty; advances are cut there.
Result BuildFontAtlas(CFontFace& face, const uint32_t* codes, uint32_t count, uint8_t charSize, uint8_t spaceSize,
                      CFontAtlas* atlas);

// The atlas as a 32-bit PNG: white pixels with the coverage as alpha, PNG row y = atlas row y.
Result SaveFontAtlasPng(CWorldData* data, const CFontAtlas& atlas, const char16_t* path);
