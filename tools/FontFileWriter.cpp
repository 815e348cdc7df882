#include "tools/FontFileWriter.h"

#include <utility>

#include "tools/ByteWriter.h"

namespace {

void WriteRect(CByteWriter& out, const GlyphRect& r)
{
    out.F32(r.left);
    out.F32(r.top);
    out.F32(r.right);
    out.F32(r.bottom);
}

void WriteInfo(CByteWriter& out, const FontInfo& info)
{
    out.Fill(1, static_cast<char>(info.charSize));
    out.Fill(3, '\0');
    out.F32(info.textureWidth);
    out.F32(info.textureHeight);
}

} // namespace

std::string GlyphFileBytes(const std::vector<GlyphRect>& rects, const FontInfo& info, uint16_t version)
{
    CByteWriter out;
    out.U16(version);
    for (const GlyphRect& r : rects)
        WriteRect(out, r);
    WriteInfo(out, info);
    return std::move(out.Bytes());
}

std::string CharsetFileBytes(const std::vector<CharsetFilePage>& pages, uint32_t texturePageLimit, uint16_t version)
{
    CByteWriter out;
    out.U16(version);
    out.U32(static_cast<uint32_t>(pages.size()));
    out.U32(texturePageLimit);
    for (const CharsetFilePage& page : pages) {
        out.U32(page.scriptFlags);
        out.U32(page.secondWord);
        out.U32(static_cast<uint32_t>(page.characters.size()));
        for (char16_t unit : page.characters)
            out.U16(unit);
    }
    for (const CharsetFilePage& page : pages) {
        for (const GlyphRect& r : page.rects)
            WriteRect(out, r);
    }
    for (const CharsetFilePage& page : pages)
        WriteInfo(out, page.info);
    return std::move(out.Bytes());
}
