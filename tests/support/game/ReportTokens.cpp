#include "tests/support/game/ReportTokens.h"

#include <cmath>
#include <cstdio>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"

namespace {

float ScaleOr1(float scale)
{
    return scale > 0.0f ? scale : 1.0f;
}

std::string Pixels(float value, float scale)
{
    return std::to_string(std::lround(value * scale));
}

} // namespace

CReportTokens::CReportTokens(CWorldData* data)
    : m_pData(data), m_scaleX(ScaleOr1(data ? data->scaleX : 1.0f)), m_scaleY(ScaleOr1(data ? data->scaleY : 1.0f))
{
}

void CReportTokens::Add(const std::string& key, const std::string& value)
{
    if (!m_text.empty())
        m_text += ' ';
    m_text += key + "=" + value;
}

void CReportTokens::AddList(const std::string& key, std::initializer_list<int64_t> fields)
{
    std::string value;
    for (int64_t field : fields)
        value += (value.empty() ? "" : ",") + std::to_string(field);
    Add(key, value);
}

std::string CReportTokens::Point(float x, float y) const
{
    return Pixels(x, m_scaleX) + "," + Pixels(y, m_scaleY);
}

std::string CReportTokens::Rect(float left, float top, float width, float height) const
{
    return Point(left, top) + "," + Point(width, height);
}

Vector2 CReportTokens::Reached(float x, float y) const
{
    return {std::floor(static_cast<float>(std::lround(x * m_scaleX)) / m_scaleX),
            std::floor(static_cast<float>(std::lround(y * m_scaleY)) / m_scaleY)};
}

std::string CReportTokens::Encode(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                           c == '_' || c == ':' || c == '/' || c == '-';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::string CReportTokens::Text(const char16_t* text) const
{
    if (!text)
        return std::string();
    std::u16string shown(text);
    if (m_pData && m_pData->gameData && IsCharsetMode(*m_pData->gameData))
        UnmapCharsetText(shown.data(), m_pData);
    return Encode(Utf16ToUtf8(shown.c_str()));
}

std::string JoinFields(std::initializer_list<std::string> fields)
{
    std::string value;
    for (const std::string& field : fields)
        value += (value.empty() ? "" : ",") + field;
    return value;
}
