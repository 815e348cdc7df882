#include "core/ParamsReader.h"

#include "base/NumberText.h"
#include "base/StringHelpers.h"
#include "base/WideString.h"

#include <new>

namespace {

// The wide integer conversion looks at no more than this many characters.
constexpr size_t kIntegerTextUnits = 19;

bool IsBlank(char16_t c)
{
    return c == u'\t' || c == u' ';
}

bool IsLineEnd(char16_t c)
{
    return c == 0 || c == u'\n' || c == u'\r';
}

// Copies the line at *pos into line, each byte widened, with its end character and a terminator.
// A line too long for the buffer is cut and the rest of it skipped. Returns false when the text
// ends before an end character. lineLength counts the end character unless it is NUL.
bool ReadLine(const char* text, uint32_t length, uint32_t* pos, char16_t* line, uint32_t* lineLength)
{
    constexpr uint32_t kMaxChars = kParamsLineUnits - 2;
    uint32_t count = 0;
    for (uint32_t p = *pos; p < length; ++p) {
        char16_t c = static_cast<unsigned char>(text[p]);
        if (IsLineEnd(c)) {
            line[count] = c;
            line[count + 1] = 0;
            *lineLength = count + (c ? 1 : 0);
            *pos = p + 1;
            return true;
        }
        if (count < kMaxChars)
            line[count++] = c;
    }
    return false;
}

// [NAME] with blanks anywhere and any number of '['; what follows ']' is ignored.
bool IsSectionLine(const char16_t* name, const char16_t* line, uint32_t lineLength)
{
    size_t nameLength = WStrLen(name);
    if (nameLength == 0 || lineLength < 3 || lineLength < nameLength)
        return false;
    bool open = false;
    size_t matched = 0;
    for (const char16_t* p = line; !IsLineEnd(*p); ++p) {
        if (IsBlank(*p))
            continue;
        if (*p == u'[') {
            open = true;
            continue;
        }
        if (*p == u']')
            return matched == nameLength;
        if (!open || matched == nameLength || *p != name[matched])
            return false;
        ++matched;
    }
    return false;
}

// KEY = value with blanks anywhere in the key; ';' or '/' before '=' makes a comment.
bool IsKeyLine(const char16_t* key, const char16_t* line, uint32_t lineLength, uint32_t* equalsIndex)
{
    size_t keyLength = WStrLen(key);
    if (keyLength == 0 || lineLength < 2 || lineLength < keyLength)
        return false;
    size_t matched = 0;
    for (uint32_t i = 0; !IsLineEnd(line[i]); ++i) {
        char16_t c = line[i];
        if (IsBlank(c))
            continue;
        if (c == u'=') {
            *equalsIndex = i;
            return matched == keyLength;
        }
        if (c == u';' || c == u'/' || matched == keyLength || c != key[matched])
            return false;
        ++matched;
    }
    return false;
}

// The units after '=' up to the line's end; leading blanks skipped, everything after kept.
void ExtractValue(const char16_t* line, uint32_t equalsIndex, char16_t* value)
{
    uint32_t count = 0;
    for (const char16_t* p = line + equalsIndex + 1; !IsLineEnd(*p) && count + 1 < kParamsValueUnits; ++p) {
        if (count == 0 && IsBlank(*p))
            continue;
        value[count++] = *p;
    }
    value[count] = 0;
}

// out = prefix (when given) followed by text, cut to capacity.
void WritePrefixed(char16_t* out, uint32_t maxUnits, const char16_t* prefix, const char16_t* text)
{
    WString joined = prefix ? WString(prefix) : WString();
    joined += text;
    WStrCopy(out, maxUnits, joined);
}

} // namespace

CParamsReader::CParamsReader(const char* text, uint32_t length) : m_text(text), m_length(text ? length : 0)
{
}

Result CParamsReader::SetBool(const char16_t*, const char16_t*, uint8_t)
{
    return RES_FAIL;
}

Result CParamsReader::SetU8(const char16_t*, const char16_t*, uint8_t)
{
    return RES_FAIL;
}

Result CParamsReader::SetU16(const char16_t*, const char16_t*, uint16_t)
{
    return RES_FAIL;
}

Result CParamsReader::SetU32(const char16_t*, const char16_t*, uint32_t)
{
    return RES_FAIL;
}

Result CParamsReader::SetFloat(const char16_t*, const char16_t*, float)
{
    return RES_FAIL;
}

Result CParamsReader::SetDouble(const char16_t*, const char16_t*, double)
{
    return RES_FAIL;
}

Result CParamsReader::SetString(const char16_t*, const char16_t*, const char16_t*)
{
    return RES_FAIL;
}

CParamsText::CParamsText(const char* text, uint32_t length) : CParamsReader(text, length)
{
}

bool CParamsText::FindValue(const char* text, uint32_t length, const char16_t* section, const char16_t* key,
                            uint32_t* equalsIndex, char16_t* line) const
{
    if (!text || length == 0 || !equalsIndex || !line)
        return false;
    uint32_t pos = 0;
    uint32_t lineLength = 0;
    bool inSection = false;
    while (ReadLine(text, length, &pos, line, &lineLength)) {
        if (line[0] == u'\n' || line[0] == u'\r')
            continue;
        if (!inSection) {
            inSection = IsSectionLine(section, line, lineLength);
            continue;
        }
        if (line[0] == u'[')
            return false;
        if (IsKeyLine(key, line, lineLength, equalsIndex))
            return true;
    }
    return false;
}

bool CParamsText::FindKeyValue(const char16_t* section, const char16_t* key, char16_t* value) const
{
    char16_t line[kParamsLineUnits];
    uint32_t equalsIndex = 0;
    if (!FindValue(m_text, m_length, section, key, &equalsIndex, line))
        return false;
    ExtractValue(line, equalsIndex, value);
    return true;
}

bool CParamsText::FindInteger(const char16_t* section, const char16_t* key, int32_t* number) const
{
    char16_t value[kParamsValueUnits];
    if (!FindKeyValue(section, key, value) || !value[0])
        return false;
    *number = ParseIntLikeAtoi(value, kIntegerTextUnits);
    return true;
}

bool CParamsText::FindDouble(const char16_t* section, const char16_t* key, double* number) const
{
    char16_t value[kParamsValueUnits];
    if (!FindKeyValue(section, key, value) || !value[0])
        return false;
    char narrow[kParamsFloatBytes];
    NarrowString(value, narrow, sizeof narrow);
    *number = ParseDoubleLikeAtof(narrow);
    return true;
}

uint8_t CParamsText::GetBool(const char16_t* section, const char16_t* key, uint8_t defaultValue) const
{
    int32_t number = 0;
    if (!FindInteger(section, key, &number))
        return defaultValue;
    return number != 0 ? 1 : 0;
}

uint8_t CParamsText::GetU8(const char16_t* section, const char16_t* key, uint8_t defaultValue) const
{
    int32_t number = 0;
    return FindInteger(section, key, &number) ? static_cast<uint8_t>(number) : defaultValue;
}

uint16_t CParamsText::GetU16(const char16_t* section, const char16_t* key, uint16_t defaultValue) const
{
    int32_t number = 0;
    return FindInteger(section, key, &number) ? static_cast<uint16_t>(number) : defaultValue;
}

uint32_t CParamsText::GetU32(const char16_t* section, const char16_t* key, uint32_t defaultValue) const
{
    int32_t number = 0;
    return FindInteger(section, key, &number) ? static_cast<uint32_t>(number) : defaultValue;
}

double CParamsText::GetFloat(const char16_t* section, const char16_t* key, float defaultValue) const
{
    double number = 0.0;
    return FindDouble(section, key, &number) ? number : static_cast<double>(defaultValue);
}

double CParamsText::GetDouble(const char16_t* section, const char16_t* key, double defaultValue) const
{
    double number = 0.0;
    return FindDouble(section, key, &number) ? number : defaultValue;
}

Result CParamsText::GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                              char16_t* out, uint32_t maxUnits) const
{
    char16_t value[kParamsValueUnits];
    if (FindKeyValue(section, key, value)) {
        WStrCopy(out, maxUnits, value);
        return RES_OK;
    }
    WStrCopy(out, maxUnits, defaultValue);
    return RES_FAIL;
}

Result CParamsText::GetPath(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                            char16_t* out, uint32_t maxUnits, const char16_t* prefix) const
{
    char16_t value[kParamsValueUnits];
    if (FindKeyValue(section, key, value) && value[0]) {
        WritePrefixed(out, maxUnits, prefix, value);
        return RES_OK;
    }
    if (defaultValue && defaultValue[0])
        WritePrefixed(out, maxUnits, prefix, defaultValue);
    return RES_FAIL;
}

CPackedParams::CPackedParams(const char16_t* entryName, PackerLookup lookup, CPackerFile* pak)
    : CParamsText(nullptr, 0)
{
    if (!lookup || !pak || Failed(lookup(entryName, pak)) || !pak->file || pak->foundSize == 0)
        return;
    uint32_t size = pak->foundSize;
    m_block.reset(new (std::nothrow) char[size]);
    if (!m_block)
        return;
    m_text = m_block.get();
    if (fread(m_block.get(), 1, size, pak->file) == size)
        m_length = size;
}
