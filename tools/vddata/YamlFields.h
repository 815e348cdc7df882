#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>

#include <yaml-cpp/yaml.h>

// The first error of a data build, as "file:line: message".
class CSourceErrors {
public:
    // Records the error unless one is recorded already; always false.
    bool Fail(const std::string& file, const YAML::Node& at, const std::string& message);
    bool Fail(const std::string& file, const std::string& message);
    bool Failed() const { return !m_text.empty(); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Parses a YAML file of the source tree; null (with the parser's line) when it does not parse.
bool LoadYamlFile(const std::string& path, const std::string& name, YAML::Node* root, CSourceErrors& errors);

// An integer in decimal or 0x hexadecimal, or true / false; a negative value wraps (-1 is all
// ones). The range is that of the type's bits, signed or not.
bool ReadInteger(const YAML::Node& node, int bits, int64_t* value);
bool ReadFloat(const YAML::Node& node, float* value);

// The fields of one YAML map: each is read by its key, and a key that no reader asked for is
// an error when the map is done. A missing key leaves the value as it was.
class CYamlFields {
public:
    CYamlFields(const YAML::Node& node, const std::string& file, CSourceErrors& errors);

    bool IsMap() const { return m_node.IsMap(); }
    template <typename T>
    bool Int(const char* key, T& value)
    {
        static_assert(std::is_integral_v<T>);
        YAML::Node field = Take(key);
        int64_t read = 0;
        if (!field)
            return true;
        if (!ReadInteger(field, static_cast<int>(sizeof(T) * 8), &read))
            return Fail(field, std::string("\"") + key + "\" needs an integer that fits " +
                                   std::to_string(sizeof(T) * 8) + " bits");
        value = static_cast<T>(read);
        return true;
    }
    bool Float(const char* key, float& value);
    bool Text(const char* key, std::string& value);
    // The key's node (undefined when missing), marked as read.
    YAML::Node Take(const char* key);
    // False when the node is not a map or holds a key no reader took.
    bool Done();

    bool Fail(const YAML::Node& at, const std::string& message) { return m_errors.Fail(m_file, at, message); }
    const std::string& File() const { return m_file; }
    CSourceErrors& Errors() { return m_errors; }

private:
    YAML::Node m_node;
    const std::string& m_file;
    CSourceErrors& m_errors;
    std::set<std::string> m_taken;
};

// A list of integers of the type's bits; a missing node gives an empty list.
template <typename T, typename List>
bool ReadIntegers(const YAML::Node& node, const std::string& file, CSourceErrors& errors, List& list)
{
    if (!node)
        return true;
    if (!node.IsSequence())
        return errors.Fail(file, node, "needs a list of integers");
    for (const YAML::Node& item : node) {
        int64_t value = 0;
        if (!ReadInteger(item, static_cast<int>(sizeof(T) * 8), &value))
            return errors.Fail(file, item, "needs an integer that fits " + std::to_string(sizeof(T) * 8) + " bits");
        list.push_back(static_cast<T>(value));
    }
    return true;
}
