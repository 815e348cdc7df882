#include "tests/e2e/ContactSheet.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "engine3d/FontAtlas.h"

namespace {

constexpr int kCaptionHeight = 30;
constexpr int kGap = 8;
constexpr uint8_t kCaptionSize = 18;
constexpr uint32_t kFirstCode = 32, kLastCode = 126;
constexpr uint32_t kSheetColour = 0xFF302820u;

// Draws the caption's printable characters in white from (x, y), the top of the line.
void DrawCaption(Picture& sheet, const CFontAtlas& atlas, const std::string& caption, int x, int y)
{
    for (unsigned char c : caption) {
        if (c < kFirstCode || c > kLastCode)
            continue;
        const GlyphRect& rect = atlas.rects[c - kFirstCode];
        const int left = int(rect.left * kAtlasWidth), right = int(rect.right * kAtlasWidth);
        const int top = int(rect.top * atlas.height), bottom = int(rect.bottom * atlas.height);
        Picture glyph(right - left, bottom - top, 0);
        for (int gy = top; gy < bottom; ++gy)
            for (int gx = left; gx < right; ++gx)
                glyph.Set(gx - left, gy - top, Rgba(255, 255, 255, atlas.pixels[size_t(gy) * kAtlasWidth + gx]));
        sheet.Draw(glyph, x, y);
        x += right - left;
    }
}

} // namespace

bool WriteContactSheet(const std::vector<SheetPicture>& pictures, int columns, const std::string& fontBytes,
                       const std::string& path)
{
    CFontFace face;
    std::vector<uint32_t> codes(kLastCode - kFirstCode + 1);
    std::iota(codes.begin(), codes.end(), kFirstCode);
    CFontAtlas atlas;
    if (pictures.empty() || columns <= 0 ||
        Failed(face.OpenMemory(reinterpret_cast<const uint8_t*>(fontBytes.data()), uint32_t(fontBytes.size()))) ||
        Failed(BuildFontAtlas(face, codes.data(), uint32_t(codes.size()), kCaptionSize, 2, &atlas)))
        return false;
    int cellWidth = 0, cellHeight = 0;
    for (const SheetPicture& entry : pictures) {
        cellWidth = std::max(cellWidth, entry.picture.Width() / 2);
        cellHeight = std::max(cellHeight, entry.picture.Height() / 2);
    }
    const int rows = (int(pictures.size()) + columns - 1) / columns;
    const int pitchX = cellWidth + kGap, pitchY = kCaptionHeight + cellHeight + kGap;
    Picture sheet(kGap + columns * pitchX, kGap + rows * pitchY, kSheetColour);
    for (size_t n = 0; n < pictures.size(); ++n) {
        const int x = kGap + int(n % columns) * pitchX, y = kGap + int(n / columns) * pitchY;
        DrawCaption(sheet, atlas, pictures[n].caption, x, y + 4);
        const Picture& picture = pictures[n].picture;
        if (!picture.Empty())
            sheet.Draw(picture.Scaled(picture.Width() / 2, picture.Height() / 2), x, y + kCaptionHeight);
    }
    const std::string written = path + ".part.png";
    return sheet.Save(written) && std::rename(written.c_str(), path.c_str()) == 0;
}
