#include "fuzz/FuzzFonts.h"

#include <algorithm>
#include <cstring>

#include "engine3d/Font.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/MemoryRenderer.h"

namespace {

constexpr char16_t kLastCode = 0x2FF;
constexpr uint32_t kWrapCapacity = 64;

std::u16string EveryCode()
{
    std::u16string text;
    for (char16_t code = 1; code <= kLastCode; ++code)
        text += code;
    return text + u"日本語\n\n end";
}

} // namespace

void DrawEveryGlyph(CVarnFont& font, CMemoryEngine& engine)
{
    const std::u16string text = EveryCode();
    const Vector3 position{10.0f, 20.0f, 0.0f};
    const Vector2 point{40.0f, 30.0f};
    for (uint16_t flags : {uint16_t{0}, uint16_t{kTextCenterX | kTextCenterY}}) {
        Vector3 out{};
        font.HitTestText(&out, text.c_str(), &position, flags, 0xFF808080u, 16.0f, 20.0f, &point, nullptr, 0);
        IgnoreResult(font.Render(flags, nullptr, 0));
        font.MeasureText(&out, text.c_str(), 16.0f, 20.0f);
    }
    std::u16string wrapped(kWrapCapacity, u'#');
    const uint32_t written = font.WrapText(16.0f, 0.0f, text.c_str(), wrapped.data(), kWrapCapacity, 200, u' ',
                                           u"(", u")", 0);
    FUZZ_CHECK(written < kWrapCapacity && wrapped[written] == 0);
    FUZZ_CHECK(engine.Misuses().empty());
}

std::string GlyphTable(const CVarnFont& font)
{
    std::string bytes;
    for (uint32_t code = 0; code <= kLastCode; ++code) {
        const GlyphRect* rect = font.GetGlyph(code);
        if (rect)
            bytes.append(reinterpret_cast<const char*>(rect), sizeof *rect);
    }
    if (const FontInfo* info = font.GetFontInfo())
        bytes.append(reinterpret_cast<const char*>(info), sizeof *info);
    return bytes;
}
