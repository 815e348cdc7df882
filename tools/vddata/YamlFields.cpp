#include "tools/vddata/YamlFields.h"

#include <charconv>

bool CSourceErrors::Fail(const std::string& file, const YAML::Node& at, const std::string& message)
{
    const YAML::Mark mark = at.Mark();
    const std::string line = mark.line >= 0 ? ":" + std::to_string(mark.line + 1) : "";
    return Fail(file + line, message);
}

bool CSourceErrors::Fail(const std::string& file, const std::string& message)
{
    if (m_text.empty())
        m_text = file + ": " + message;
    return false;
}

bool LoadYamlFile(const std::string& path, const std::string& name, YAML::Node* root, CSourceErrors& errors)
{
    // The parser reports a damaged file only by throwing.
    try {
        *root = YAML::LoadFile(path);
    } catch (const YAML::BadFile&) {
        return errors.Fail(name, "cannot be read");
    } catch (const YAML::Exception& e) {
        return errors.Fail(name + ":" + std::to_string(e.mark.line + 1), e.msg);
    }
    return true;
}

bool ReadInteger(const YAML::Node& node, int bits, int64_t* value)
{
    if (!node.IsScalar())
        return false;
    std::string text = node.Scalar();
    if (text == "true" || text == "false") {
        *value = text == "true";
        return true;
    }
    const bool negative = !text.empty() && text[0] == '-';
    size_t at = negative ? 1 : 0;
    int base = 10;
    if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) {
        base = 16;
        at += 2;
    }
    uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data() + at, end, magnitude, base);
    const uint64_t limit = negative ? uint64_t{1} << (bits - 1) : (uint64_t{1} << bits) - 1;
    if (at == text.size() || failure != std::errc() || stop != end || magnitude > limit)
        return false;
    *value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool ReadFloat(const YAML::Node& node, float* value)
{
    if (!node.IsScalar())
        return false;
    const std::string& text = node.Scalar();
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data(), end, *value);
    return !text.empty() && failure == std::errc() && stop == end;
}

CYamlFields::CYamlFields(const YAML::Node& node, const std::string& file, CSourceErrors& errors)
    : m_node(node), m_file(file), m_errors(errors)
{
}

bool CYamlFields::Float(const char* key, float& value)
{
    YAML::Node field = Take(key);
    if (field && !ReadFloat(field, &value))
        return Fail(field, std::string("\"") + key + "\" needs a number");
    return true;
}

bool CYamlFields::Text(const char* key, std::string& value)
{
    YAML::Node field = Take(key);
    if (!field)
        return true;
    if (!field.IsScalar())
        return Fail(field, std::string("\"") + key + "\" needs a text");
    value = field.Scalar();
    return true;
}

YAML::Node CYamlFields::Take(const char* key)
{
    m_taken.insert(key);
    const YAML::Node& map = m_node;
    // A missing key gives an invalid node that throws when asked anything but whether it is
    // defined; an undefined node answers every question.
    YAML::Node found = map.IsMap() ? map[key] : YAML::Node(YAML::NodeType::Undefined);
    return found ? found : YAML::Node(YAML::NodeType::Undefined);
}

bool CYamlFields::Done()
{
    if (!m_node.IsMap())
        return Fail(m_node, "needs a map of fields");
    for (const auto& field : m_node) {
        const std::string key = field.first.IsScalar() ? field.first.Scalar() : std::string();
        if (!m_taken.count(key))
            return Fail(field.first, "unknown field \"" + key + "\"");
    }
    return true;
}
