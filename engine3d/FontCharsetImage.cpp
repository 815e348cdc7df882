#include "base/NumberText.h"
#include "core/ParamsReader.h"
#include "base/WideString.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"

namespace {

constexpr uint32_t kKeyUnits = 16;
constexpr uint32_t kValueUnits = 260;
constexpr uint32_t kMaxGrid = 256;
constexpr uint32_t kDefaultGrid = 16;
constexpr char16_t kSection[] = u"FONT";

void CopyKey(char16_t* key, const char16_t* text) { WStrCopy(key, kKeyUnits, text); }

void PrefixKey(char16_t* key, const char16_t* prefix, char16_t letter)
{
    WStrCopy(key, kKeyUnits, prefix);
    const char16_t tail[2] = {letter, 0};
    WStrAppend(key, kKeyUnits, tail);
}

bool IsSelfKeyed(uint32_t code)
{
    return (code >= 33 && code <= 36) || (code >= 38 && code <= 43) || code == 45 || code == 47 ||
           (code >= 48 && code <= 57) || code == 60 || code == 62 || code == 63 || code == 92 || code == 95;
}

// The [FONT] key naming the cell of a code; false for codes without one.
bool CharsetKey(uint32_t code, char16_t* key)
{
    if (IsSelfKeyed(code)) {
        PrefixKey(key, u"", static_cast<char16_t>(code));
        return true;
    }
    if (code >= 'A' && code <= 'Z') {
        PrefixKey(key, u"MAJ_", static_cast<char16_t>(code));
        return true;
    }
    if (code >= 'a' && code <= 'z') {
        PrefixKey(key, u"MIN_", static_cast<char16_t>(code));
        return true;
    }
    switch (code) {
    case 32: CopyKey(key, u"SPACE"); return true;
    case 44: CopyKey(key, u"VIRGULE"); return true;
    case 46: CopyKey(key, u"POINT"); return true;
    case 58: CopyKey(key, u"2POINTS"); return true;
    case 59: CopyKey(key, u"POINT_VIRG"); return true;
    case 61: CopyKey(key, u"EGAL"); return true;
    case 64: CopyKey(key, u"AROBAZ"); return true;
    case 91: CopyKey(key, u"CROCHET_OPEN"); return true;
    case 93: CopyKey(key, u"CROCHET_CLOSE"); return true;
    case 123:
    case 125: CopyKey(key, u"}"); return true;
    case 137: CopyKey(key, u"POURCENT"); return true;
    default: return false;
    }
}

// NB_COL and NB_ROW as cell sizes in texture coordinates; false outside 1 to 256.
bool ReadCellSize(const CParamsReader* params, float* cellWidth, float* cellHeight)
{
    if (!params)
        return false;
    const uint16_t columns = static_cast<uint16_t>(params->GetU32(kSection, u"NB_COL", kDefaultGrid));
    const uint16_t rows = static_cast<uint16_t>(params->GetU32(kSection, u"NB_ROW", kDefaultGrid));
    if (columns == 0 || columns > kMaxGrid || rows == 0 || rows > kMaxGrid)
        return false;
    *cellWidth = 1.0f / static_cast<float>(kMaxGrid / columns);
    *cellHeight = 1.0f / static_cast<float>(kMaxGrid / rows);
    return true;
}

} // namespace

void CVarnFont::ParseCharsetImage(const CParamsReader* params, float cellWidth, float cellHeight)
{
    char16_t key[kKeyUnits];
    char16_t value[kValueUnits];
    for (uint32_t code = 0; code < kFontGlyphCount; ++code) {
        if (!CharsetKey(code, key))
            continue;
        IgnoreResult(params->GetString(kSection, key, u"1.1", value, kValueUnits));
        size_t dot = 0;
        while (value[dot] && value[dot] != u'.')
            ++dot;
        if (!value[dot])
            continue;
        const int32_t column = static_cast<uint16_t>(ParseIntLikeAtoi(value, dot));
        const int32_t row = static_cast<uint16_t>(ParseIntLikeAtoi(value + dot + 1, kValueUnits));
        SetGlyph(code, GlyphRect{static_cast<float>(column - 1) * cellWidth, static_cast<float>(row - 1) * cellHeight,
                                 static_cast<float>(column) * cellWidth, static_cast<float>(row) * cellHeight});
    }
}

Result CVarnFont::LoadCharsetImage(const CParamsReader* params, float cellWidth, float cellHeight,
                                   Result textureResult, const char16_t* logFormat, const char16_t* logArgument)
{
    if (Failed(textureResult)) {
        Log(logFormat, logArgument);
        return RES_FAIL;
    }
    ParseCharsetImage(params, cellWidth, cellHeight);
    return RES_OK;
}

Result CVarnFont::MakeTextureFromAddress(const CParamsReader* params, const char16_t* name, const uint8_t* data,
                                         uint32_t size)
{
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;
    if (!m_pTextObject || !ReadCellSize(params, &cellWidth, &cellHeight))
        return RES_FAIL;
    const Result result =
        m_pTextObject->MakeTextureFromAddress(kFontTextureFlags, kFontTextureParameter, data, size, 0, name);
    return LoadCharsetImage(params, cellWidth, cellHeight, result,
                            u"# CVarnFont::MakeTextureFromAddress failed! (\"%s\")\n", name);
}

Result CVarnFont::LoadTextureFromPacker(const CParamsReader* params, CPackerFile* pak)
{
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;
    if (!m_pTextObject || !pak || !ReadCellSize(params, &cellWidth, &cellHeight))
        return RES_FAIL;
    const Result result = m_pTextObject->LoadTextureFromPacker(kFontTextureFlags, kFontTextureParameter, pak, 0);
    return LoadCharsetImage(params, cellWidth, cellHeight, result,
                            u"# CVarnFont::LoadTextureFromPacker failed! (\"%s\")\n", pak->foundName);
}

Result CVarnFont::LoadTextureFromFile(const CParamsReader* params, const char16_t* path)
{
    float cellWidth = 0.0f;
    float cellHeight = 0.0f;
    if (!m_pTextObject || !ReadCellSize(params, &cellWidth, &cellHeight))
        return RES_FAIL;
    const Result result = m_pTextObject->LoadTextureFromFile(kFontTextureFlags, kFontTextureParameter, path, 0);
    return LoadCharsetImage(params, cellWidth, cellHeight, result,
                            u"# CVarnFont::LoadTextureFromFile failed! (\"%s\")\n", path);
}
