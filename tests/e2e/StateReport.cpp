#include "tests/e2e/StateReport.h"

#include <cstdlib>
#include <sstream>

#include "tests/support/PercentDecode.h"

bool StateReport::Parse(const std::string& answer)
{
    m_line = answer;
    m_values.clear();
    m_valid = false;
    std::istringstream tokens(answer);
    std::string token;
    if (!(tokens >> token) || token != "ok")
        return false;
    while (tokens >> token) {
        const size_t equals = token.find('=');
        if (equals == std::string::npos || equals == 0)
            return false;
        m_values[token.substr(0, equals)].push_back(token.substr(equals + 1));
    }
    return m_valid = true;
}

std::string StateReport::Value(const std::string& key) const
{
    const auto values = m_values.find(key);
    return values == m_values.end() || values->second.empty() ? "" : values->second.front();
}

long StateReport::Int(const std::string& key, long fallback) const
{
    const auto values = m_values.find(key);
    if (values == m_values.end() || values->second.empty())
        return fallback;
    return Number(Decode(values->second.front().substr(0, values->second.front().find(','))), fallback);
}

std::vector<StateReport::Fields> StateReport::All(const std::string& key) const
{
    std::vector<Fields> all;
    const auto values = m_values.find(key);
    if (values == m_values.end())
        return all;
    for (const std::string& value : values->second) {
        Fields fields;
        size_t start = 0;
        for (size_t comma = value.find(','); ; comma = value.find(',', start)) {
            fields.push_back(Decode(value.substr(start, comma - start)));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        all.push_back(fields);
    }
    return all;
}

std::optional<StateReport::Fields> StateReport::Find(const std::string& key, const std::string& id) const
{
    for (Fields& fields : All(key))
        if (fields.front() == id)
            return fields;
    return std::nullopt;
}

ReportRect StateReport::RectAt(const Fields& fields, size_t first, bool point)
{
    ReportRect rect;
    int* parts[] = {&rect.x, &rect.y, &rect.w, &rect.h};
    for (size_t i = 0; i < (point ? 2u : 4u) && first + i < fields.size(); ++i)
        *parts[i] = static_cast<int>(Number(fields[first + i], 0));
    return rect;
}

long StateReport::Number(const std::string& text, long fallback)
{
    char* end = nullptr;
    const long value = strtol(text.c_str(), &end, 10);
    return text.empty() || *end ? fallback : value;
}

std::string StateReport::Decode(const std::string& text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}
