#include "tests/support/FontFixtures.h"

#include <cstdio>

#include "engine3d/Font.h"
#include "engine3d/Object.h"

float FixtureWidth(char16_t unit)
{
    if (unit < 32 || unit > 126)
        return 0.0f;
    switch (unit) {
    case u' ': return 4.0f;
    case u'i': return 2.0f;
    case u'm': return 12.0f;
    case u'W': return 16.0f;
    default: return 8.0f;
    }
}

GlyphRect FixtureRect(uint32_t code)
{
    const float width = code < 0x10000 ? FixtureWidth(static_cast<char16_t>(code)) : 0.0f;
    if (width == 0.0f)
        return GlyphRect{0.0f, 0.0f, 0.0f, 0.0f};
    const float left = static_cast<float>(code % 16) / 16.0f;
    const float top = static_cast<float>(code / 16) / 16.0f;
    return GlyphRect{left, top, left + width / 256.0f, top + 1.0f / 16.0f};
}

void LoadFixtureGlyphs(CVarnFont* font)
{
    for (uint32_t code = 0; code < kFontGlyphCount; ++code)
        font->SetGlyph(code, FixtureRect(code));
    font->SetFontInfo(kFixtureInfo);
}

std::vector<GlyphRect> FixtureGlyphRecords()
{
    std::vector<GlyphRect> rects;
    for (uint32_t code = 32; code < 32 + 256; ++code)
        rects.push_back(FixtureRect(code));
    return rects;
}

std::vector<CharsetFilePage> TwoPageCharset()
{
    CharsetFilePage latin;
    latin.scriptFlags = 0x01;
    latin.secondWord = 0x1234;
    for (char16_t c = 0; c < 128; ++c)
        latin.characters.push_back(c);
    for (uint32_t slot = 0; slot < 256; ++slot)
        latin.rects.push_back(FixtureRect(slot));
    latin.info = kFixtureInfo;

    CharsetFilePage cjk;
    cjk.scriptFlags = 0x0C;
    cjk.characters = kPageOneCharacters;
    cjk.rects.assign(256, GlyphRect{0.0f, 0.0f, 0.0f, 0.0f});
    for (uint32_t slot = 0; slot < 4; ++slot) {
        const float left = static_cast<float>(slot) / 16.0f;
        cjk.rects[slot] = GlyphRect{left, 0.5f, left + 1.0f / 16.0f, 0.5f + 1.0f / 16.0f};
    }
    cjk.info = FontInfo{32, {0, 0, 0}, 512.0f, 512.0f};
    return {latin, cjk};
}

FontVertex ReadFontVertex(C3DObject* object, uint32_t index)
{
    FontVertex vertex{};
    object->Lock();
    object->GetVertex(index, &vertex.position, &vertex.colour, &vertex.uv, nullptr, nullptr);
    object->Unlock(0);
    return vertex;
}

namespace {

std::string IfPresent(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return {};
    fclose(file);
    return path;
}

} // namespace

std::string DejaVuSansPath() { return IfPresent("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }

std::string MicroHeiPath() { return IfPresent("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"); }
