#include <cmath>
#include <cstring>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"

namespace {

constexpr char16_t kLineFeed = 10;
constexpr char16_t kCarriageReturn = 13;

float Sign(float value) { return value < 0.0f ? -1.0f : 1.0f; }

bool InList(const char16_t* list, char16_t unit)
{
    if (!list)
        return false;
    for (; *list; ++list) {
        if (*list == unit)
            return true;
    }
    return false;
}

// The two f32 of a growth table entry.
Vector2 GrowthOf(const void* table, uint32_t unit, uint32_t stride)
{
    Vector2 growth{0.0f, 0.0f};
    std::memcpy(&growth, static_cast<const uint8_t*>(table) + size_t{unit} * stride, sizeof growth);
    return growth;
}

} // namespace

Vector3* CVarnFont::MeasureText(Vector3* out, const char16_t* text, float scale, float lineHeight)
{
    const float absScale = std::fabs(scale);
    float x = 0.0f;
    float widest = 0.0f;
    float y = lineHeight;
    for (const char16_t* p = text; p && *p; ++p) {
        if (*p == kLineFeed) {
            y += lineHeight;
            x = 0.0f;
            continue;
        }
        const GlyphRect* rect = nullptr;
        const FontInfo* info = nullptr;
        if (*p == kCarriageReturn || !LookupGlyph(*p, &rect, &info) || IsEmptyRect(*rect))
            continue;
        x += GlyphWidth(*rect, *info, absScale);
        widest = std::fmax(widest, x);
    }
    *out = Vector3{Sign(scale) * widest, Sign(lineHeight) * y, 0.0f};
    return out;
}

bool CVarnFont::IsObjectSpace() const
{
    return m_pTextObject && (m_pTextObject->GetFlagsA() & kFormatNormalTex);
}

Vector3* CVarnFont::AlignPosition(Vector3* out, const Vector3* position, uint16_t flags, const Vector3* size)
{
    Vector3 p = *position;
    if (flags != 0) {
        if (IsObjectSpace()) {
            if (flags & kTextCenterX)
                p.x -= size->x * 0.5f;
            if (flags & kTextCenterY)
                p.y -= size->y * 0.5f;
        } else {
            const bool turned = flags & kTextTurnedScreen;
            const float width = turned ? ScreenHeight() : ScreenWidth();
            const float height = turned ? ScreenWidth() : ScreenHeight();
            if (flags & kTextCenterX)
                p.x -= size->x * 0.5f;
            else if (flags & kTextScreenCenterX)
                p.x += (width - size->x) * 0.5f;
            else if (flags & kTextRightAlign)
                p.x += width - (size->x - size->z);
            if (flags & kTextCenterY)
                p.y -= size->y * 0.5f;
            else if (flags & kTextScreenCenterY)
                p.y += (height - size->y) * 0.5f;
        }
    }
    *out = p;
    return out;
}

bool CVarnFont::HitTest(const Vector3& size, uint32_t flags, float x, float y, const Vector2& point) const
{
    const float margin = (flags & kTextHitMargin) ? 0.75f * size.y : 0.0f;
    if (flags & kTextTurnedScreen) {
        const float across = ScreenHeight() - point.y;
        return y - margin < point.x && point.x < y + size.y + margin && x < across && across < x + size.x;
    }
    return x < point.x && point.x < x + size.x && y - margin < point.y && point.y < y + size.y + margin;
}

uint32_t CVarnFont::Highlight(uint32_t colour)
{
    for (uint32_t shift = 0; shift < 24; shift += 8) {
        if (colour & (0xFFu << shift))
            colour |= 0xFFu << shift;
    }
    return colour;
}

void CVarnFont::SetBlending(uint32_t colour)
{
    const uint32_t flagsB = m_pTextObject->GetFlagsB();
    m_pTextObject->SetFlagsB((colour & 0xFF000000u) ? (flagsB | kObjectAlphaBlend) : (flagsB & ~kObjectAlphaBlend));
}

Vector3* CVarnFont::HitTestText(Vector3* out, const char16_t* text, const Vector3* position, uint16_t flags,
                                uint32_t colour, float scale, float lineHeight, const Vector2* point,
                                const void* extra, uint32_t extraWord)
{
    Vector3 p = *position;
    float hit = 0.0f;
    if (flags != 0) {
        Vector3 size;
        MeasureText(&size, text, scale, lineHeight);
        AlignPosition(&p, &p, flags, &size);
        if (point && HitTest(size, flags, p.x, p.y, *point)) {
            if (flags & kTextHover)
                colour = Highlight(colour);
            hit = 1.0f;
        }
        if (flags & kTextUpsideDown) {
            scale = -scale;
            lineHeight = -lineHeight;
            p.x += size.x;
            p.y += size.y;
        }
    } else if (point) {
        Vector3 size;
        MeasureText(&size, text, scale, lineHeight);
        if (HitTest(size, 0, p.x, p.y, *point))
            hit = 1.0f;
    }
    p.x = std::floor(p.x) + 0.5f;
    const float startX = p.x;
    if (!m_pTextObject || !text) {
        *out = Vector3{p.x, p.y + lineHeight, hit};
        return out;
    }
    m_pRemainingText = text;
    m_pTextObject->SetColor(colour);
    while (m_pRemainingText) {
        m_pTextBeingDrawn = text;
        DrawText(&p, m_pRemainingText, startX, &p, flags, 0xFFFFFFFFu, scale, lineHeight, nullptr, extra, extraWord);
        IgnoreResult(Render(flags, extra, extraWord));
    }
    *out = Vector3{p.x, p.y, hit};
    return out;
}

void CVarnFont::EmitQuad(uint32_t first, uint32_t unit, const GlyphRect& rect, float width, const Vector3& pen,
                         uint32_t flags, uint32_t colour, float lineHeight, const void* growth, uint32_t growthStride)
{
    const bool turned = flags & kTextTurnedScreen;
    Vector2 grow = (flags & kTextGrowth) && growth ? GrowthOf(growth, unit, growthStride) : Vector2{0.0f, 0.0f};
    if (turned)
        grow = Vector2{grow.y, grow.x};  // the growth is along the screen's axes
    const float left = pen.x - grow.x;
    const float right = pen.x + grow.x + width;
    const float top = pen.y - grow.y;
    const float bottom = pen.y + grow.y + lineHeight;
    struct Corner {
        float x, y, u, v;
    };
    const Corner corners[6] = {
        {left, top, rect.left, rect.top},         {right, top, rect.right, rect.top},
        {left, bottom, rect.left, rect.bottom},   {left, bottom, rect.left, rect.bottom},
        {right, top, rect.right, rect.top},       {right, bottom, rect.right, rect.bottom},
    };
    const float height = ScreenHeight();
    for (uint32_t i = 0; i < 6; ++i) {
        const Corner& c = corners[i];
        const float x = turned ? c.y : c.x;
        const float y = turned ? height - c.x : c.y;
        m_pTextObject->SetVertex(first + i, x, y, 0.0f, colour, c.u, c.v, 0.0f, 0.0f, 0.0f, 0);
    }
}

Vector3* CVarnFont::DrawText(Vector3* out, const char16_t* text, float startX, Vector3* pen, uint32_t flags,
                             uint32_t colour, float scale, float lineHeight, const Vector2* hover,
                             const void* growth, uint32_t growthStride)
{
    uint32_t n = 0;
    float advance = 0.0f;
    if (!BeginDrawText(out, text, pen, flags, scale, lineHeight, (flags & kTextHover) ? hover : nullptr, &colour, &n,
                       &advance))
        return out;
    uint32_t vertex = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const char16_t unit = text[i];
        if (unit == kLineFeed) {
            pen->x = startX;
            pen->y += lineHeight;
            continue;
        }
        const GlyphRect* rect = nullptr;
        const FontInfo* info = nullptr;
        if (unit == kCarriageReturn || !LookupGlyph(unit, &rect, &info) || IsEmptyRect(*rect))
            continue;
        const float width = GlyphWidth(*rect, *info, scale);
        EmitQuad(vertex, unit, *rect, width, *pen, flags, colour, lineHeight, growth, growthStride);
        vertex += 6;
        pen->x += width;
    }
    IgnoreResult(m_pTextObject->SetPrimitiveGroup(0, 0, vertex, 0, vertex, vertex / 3, kPrimitiveTriangleList,
                                                  m_cullCode, kPartNumberId));
    return EndDrawText(out, text, n, *pen, advance);
}

bool CVarnFont::BeginDrawText(Vector3* out, const char16_t* text, const Vector3* pen, uint32_t flags, float scale,
                              float lineHeight, const Vector2* hover, uint32_t* colour, uint32_t* count,
                              float* advance)
{
    m_pRemainingText = nullptr;
    if (!m_pTextObject || !text || !pen) {
        *out = pen ? Vector3{pen->x, pen->y + lineHeight, 0.0f} : Vector3{0.0f, 0.0f, 0.0f};
        return false;
    }
    *count = static_cast<uint32_t>(WStrLen(text));
    *advance = lineHeight;
    SetBlending(*colour);
    if (hover) {
        Vector3 size;
        MeasureText(&size, text, scale, lineHeight);
        if (HitTest(size, flags, pen->x, pen->y, *hover))
            *colour = Highlight(*colour);
    }
    if (*count > m_batchSize) {
        *count = m_batchSize;
        *advance = 0.0f;
    }
    IgnoreResult(m_pTextObject->Lock());
    return true;
}

Vector3* CVarnFont::EndDrawText(Vector3* out, const char16_t* text, uint32_t count, const Vector3& pen,
                                float advance)
{
    IgnoreResult(m_pTextObject->Unlock(1));
    m_pRemainingText = text[count] ? text + count : nullptr;
    *out = Vector3{pen.x, pen.y + advance, 0.0f};
    return out;
}

Result CVarnFont::Render(uint32_t flags, const void* extra, uint32_t)
{
    m_pTextBeingDrawn = nullptr;
    if (!m_pTextObject)
        return RES_FAIL;
    C3DObject* object = m_pTextObject;
    IgnoreResult(object->UseOwnMatrix());
    auto transform = [&]() {
        IgnoreResult(object->Identity());
        if ((flags & kTextRotate) && extra) {
            float angle = 0.0f;
            std::memcpy(&angle, extra, sizeof angle);
            IgnoreResult(object->RotateZ(angle));
        } else if ((flags & kTextMatrix) && extra) {
            Matrix4 matrix;
            std::memcpy(&matrix, extra, sizeof matrix);
            IgnoreResult(object->SetMatrix(&matrix));
        }
    };
    if (flags & kTextShadow) {
        transform();
        const Vector3 offset{2.0f, (flags & kTextTurnedScreen) ? -2.0f : 2.0f, 0.0f};
        IgnoreResult(object->Translate(&offset));
        const uint32_t colour = object->GetColor();
        object->SetColor(colour & 0xFF000000u);
        IgnoreResult(object->Render());
        object->SetColor(colour);
    }
    transform();
    return object->Render();
}

uint32_t CVarnFont::WrapText(float scale, float, const char16_t* source, char16_t* destination, uint32_t capacity,
                             uint16_t maxWidth, char16_t breakChar, const char16_t* noBreakAfter,
                             const char16_t* noBreakBefore, uint8_t keepTrailingBreak)
{
    if (!destination || capacity == 0)
        return 0;
    const uint32_t room = capacity - 1;
    const uint32_t length = static_cast<uint32_t>(WStrLen(source));
    const float limit = maxWidth;
    uint32_t written = 0;
    float x = 0.0f;
    bool lineHasGlyph = false;
    bool hasBreak = false;
    uint32_t breakSource = 0;
    uint32_t breakDestination = 0;
    uint32_t i = 0;
    while (i < length && written < room) {
        const char16_t unit = source[i];
        if (unit == kLineFeed) {
            x = 0.0f;
            lineHasGlyph = false;
            hasBreak = false;
            destination[written++] = unit;
            ++i;
            continue;
        }
        if (unit == breakChar) {
            if (!keepTrailingBreak && i + 1 == length)
                break;
            const bool blockedAfter = i > 0 && InList(noBreakAfter, source[i - 1]);
            const bool blockedBefore = i + 1 < length && InList(noBreakBefore, source[i + 1]);
            if (!blockedAfter && !blockedBefore) {
                hasBreak = true;
                breakSource = i;
                breakDestination = written;
            }
        }
        const float width = GlyphWidth(unit, scale);
        if (x + width <= limit || !lineHasGlyph) {
            x += width;
            lineHasGlyph = lineHasGlyph || width > 0.0f;
            destination[written++] = unit;
            ++i;
            continue;
        }
        if (hasBreak) {
            written = breakDestination;
            destination[written++] = kLineFeed;
            i = breakSource + 1;
        } else {
            destination[written++] = kLineFeed;
        }
        x = 0.0f;
        lineHasGlyph = false;
        hasBreak = false;
    }
    destination[written] = 0;
    return written;
}
