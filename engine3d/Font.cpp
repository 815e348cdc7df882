#include "engine3d/Font.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/Log.h"
#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"

namespace {

constexpr uint32_t kScreenFlagsA = 0x28010;
constexpr uint32_t kObjectFlagsA = 0x28002;
constexpr uint32_t kTextFlagsB = 0x20C29;

} // namespace

CVarnFont::CVarnFont(CWorldData* data, C3DEngine* engine) : m_pWorldData(data), m_pEngine(engine) {}

CVarnFont::~CVarnFont()
{
    DestroyTextObject();
}

void CVarnFont::Log(const char16_t* format, const char16_t* argument) const
{
    LogPrintf(m_pWorldData ? m_pWorldData->logPath : nullptr, 0, format, argument ? argument : u"");
}

float CVarnFont::ScreenWidth() const { return m_pWorldData ? m_pWorldData->configuredWidth : 0.0f; }

float CVarnFont::ScreenHeight() const { return m_pWorldData ? m_pWorldData->configuredHeight : 0.0f; }

void CVarnFont::DestroyTextObject()
{
    if (m_pTextObject && m_pEngine)
        IgnoreResult(m_pEngine->DestroyObject(m_pTextObject));
    m_pTextObject = nullptr;
}

Result CVarnFont::AllocateTables(uint32_t glyphs, uint32_t infos)
{
    std::unique_ptr<GlyphRect[]> rects = ZeroedArray<GlyphRect>(glyphs);
    std::unique_ptr<FontInfo[]> info = ZeroedArray<FontInfo>(infos);
    if (!rects || !info)
        return RES_OUT_OF_MEMORY;
    m_glyphs = std::move(rects);
    m_glyphCount = glyphs;
    m_infos = std::move(info);
    m_infoCount = infos;
    return RES_OK;
}

void CVarnFont::FreeTables()
{
    m_glyphs.reset();
    m_glyphCount = 0;
    m_infos.reset();
    m_infoCount = 0;
}

bool CVarnFont::BuildGeometry(C3DObject* object, uint32_t parts) const
{
    const uint32_t perPart = 6 * m_batchSize;
    const uint32_t total = perPart * parts;
    if (Failed(object->Create(parts, total, total)) || Failed(object->Lock()))
        return false;
    for (uint32_t p = 0; p < parts; ++p)
        object->FillIndexRange(perPart * p, perPart);
    return Succeeded(object->Unlock(0));
}

Result CVarnFont::MakeTextObject(uint8_t flags, uint32_t batchSize)
{
    IgnoreResult(Release());
    if (!m_pEngine || batchSize == 0 || batchSize > kFontMaxBatchSize)
        return RES_FAIL;
    m_batchSize = batchSize;
    if (flags & kFontScreenText)
        m_pTextObject = m_pEngine->CreateObject(kScreenFlagsA, kTextFlagsB);
    else if (flags & kFontObjectText)
        m_pTextObject = m_pEngine->CreateObject(kObjectFlagsA, kTextFlagsB);
    if (!m_pTextObject) {
        if (m_pWorldData)
            m_pWorldData->lastError = RES_UNKNOWN_KIND;
        return RES_UNKNOWN_KIND;
    }
    if (flags & kFontCullNone)
        m_cullCode = kCullNone;
    else if (flags & kFontCullClockwise)
        m_cullCode = kCullClockwise;
    else if (flags & kFontCullCounterClockwise)
        m_cullCode = kCullCounterClockwise;
    return RES_OK;
}

Result CVarnFont::Create(uint8_t flags, uint32_t batchSize)
{
    Result result = MakeTextObject(flags, batchSize);
    if (Failed(result))
        return result;
    if (!BuildGeometry(m_pTextObject, 1))
        result = RES_FAIL;
    else
        result = AllocateTables(kFontGlyphCount, 1);
    if (Failed(result))
        IgnoreResult(Release());
    return result;
}

C3DObject* CVarnFont::MakeObjectLike(const C3DObject* source)
{
    if (!m_pEngine || !source)
        return nullptr;
    return m_pEngine->CreateObject(source->GetFlagsA(), source->GetFlagsB());
}

Result CVarnFont::ShareTexturesOf(const CVarnFont* source)
{
    const uint32_t parts = std::min(source->m_pTextObject->GetPartCount(), m_pTextObject->GetPartCount());
    for (uint32_t part = 0; part < parts; ++part) {
        C3DTexture* texture = source->m_pTextObject->GetTexture(part, 0);
        if (!texture)
            continue;
        if (!m_pEngine->AddRefTexture(texture))
            return RES_FAIL;
        const Result result = m_pTextObject->SetPartTexture(texture, part, 0);
        IgnoreResult(m_pEngine->DestroyTexture(texture));
        if (Failed(result))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVarnFont::StartCreateFrom(const CVarnFont* source, uint32_t batchSize)
{
    if (source == this)
        return RES_FAIL;
    IgnoreResult(Release());
    if (!source || !source->m_pTextObject || batchSize == 0 || batchSize > kFontMaxBatchSize)
        return RES_FAIL;
    m_batchSize = batchSize;
    m_pTextObject = MakeObjectLike(source->m_pTextObject);
    if (!m_pTextObject)
        return RES_FAIL;
    m_cullCode = source->m_cullCode;
    return RES_OK;
}

Result CVarnFont::CreateFrom(const CVarnFont* source, uint32_t batchSize)
{
    if (Failed(StartCreateFrom(source, batchSize)))
        return RES_FAIL;
    Result result = BuildGeometry(m_pTextObject, 1) ? AllocateTables(kFontGlyphCount, 1) : RES_FAIL;
    if (Succeeded(result)) {
        if (source->m_glyphCount >= kFontGlyphCount)
            std::memcpy(m_glyphs.get(), source->m_glyphs.get(), kFontGlyphCount * sizeof(GlyphRect));
        if (source->m_infoCount > 0)
            m_infos[0] = source->m_infos[0];
        result = ShareTexturesOf(source);
    }
    if (Failed(result)) {
        IgnoreResult(Release());
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVarnFont::Release()
{
    m_pTextBeingDrawn = nullptr;
    m_pRemainingText = nullptr;
    DestroyTextObject();
    FreeTables();
    return RES_OK;
}

C3DTexture* CVarnFont::GetTexture(uint32_t part)
{
    return m_pTextObject ? m_pTextObject->GetTexture(part, 0) : nullptr;
}

void CVarnFont::SetGlyph(uint32_t code, const GlyphRect& rect)
{
    if (code < kFontGlyphCount && code < m_glyphCount)
        m_glyphs[code] = rect;
}

const GlyphRect* CVarnFont::GetGlyph(uint32_t code) const
{
    return code < m_glyphCount ? &m_glyphs[code] : nullptr;
}

Result CVarnFont::SetFontInfo(const FontInfo& info)
{
    if (m_infoCount == 0)
        return RES_FAIL;
    m_infos[0] = info;
    return RES_OK;
}

bool CVarnFont::LookupGlyph(uint32_t unit, const GlyphRect** rect, const FontInfo** info) const
{
    if (unit >= kFontGlyphCount || unit >= m_glyphCount || m_infoCount == 0)
        return false;
    *rect = &m_glyphs[unit];
    *info = &m_infos[0];
    return true;
}

bool CVarnFont::IsEmptyRect(const GlyphRect& rect)
{
    return rect.left == 0.0f && rect.top == 0.0f && rect.right == 0.0f && rect.bottom == 0.0f;
}

float CVarnFont::GlyphWidth(const GlyphRect& rect, const FontInfo& info, float scale)
{
    if (info.charSize == 0)
        return 0.0f;
    return (rect.right - rect.left) * info.textureWidth / static_cast<float>(info.charSize) * scale;
}

float CVarnFont::GlyphWidth(uint32_t unit, float scale) const
{
    const GlyphRect* rect = nullptr;
    const FontInfo* info = nullptr;
    if (!LookupGlyph(unit, &rect, &info) || IsEmptyRect(*rect))
        return 0.0f;
    return GlyphWidth(*rect, *info, scale);
}

Result CVarnFont::CommitGlyphTable(const GlyphRect* rects, uint32_t count, uint32_t firstCode, const FontInfo& info)
{
    if (m_glyphCount < kFontGlyphCount || m_infoCount == 0)
        return RES_FAIL;
    for (uint32_t i = 0; i < count; ++i)
        SetGlyph(firstCode + i, rects[i]);
    m_infos[0] = info;
    return RES_OK;
}
