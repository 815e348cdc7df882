#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

// A rectangle or point of the report, in window pixels.
struct ReportRect {
    int x = 0, y = 0, w = 0, h = 0;

    int CentreX() const { return x + w / 2; }
    int CentreY() const { return y + h / 2; }
};

// The program's answer to "state": "ok" then tokens key=value; a key may repeat (a list), a
// value's sub-fields are separated by ',' and percent-encoded each.
class StateReport {
public:
    using Fields = std::vector<std::string>;

    // False for an answer that is not "ok ..." or holds a token without '='.
    bool Parse(const std::string& answer);

    // Whether the last Parse read a report; Line() holds the answer either way.
    bool Valid() const { return m_valid; }
    const std::string& Line() const { return m_line; }
    bool Has(const std::string& key) const { return m_values.count(key) != 0; }
    // The first value as it stands (not decoded); "" when absent.
    std::string Value(const std::string& key) const;
    // The first value's first field as a number; fallback when absent or not a number.
    long Int(const std::string& key, long fallback = -1) const;
    // Every value of a key, each split into its decoded fields.
    std::vector<Fields> All(const std::string& key) const;
    // The value of key whose first field is id.
    std::optional<Fields> Find(const std::string& key, const std::string& id) const;
    std::optional<Fields> Find(const std::string& key, long id) const { return Find(key, std::to_string(id)); }

    // Four fields from first on as a rectangle (two as a point, size 0).
    static ReportRect RectAt(const Fields& fields, size_t first, bool point = false);
    static long Number(const std::string& text, long fallback = -1);
    static std::string Decode(const std::string& text);

private:
    bool m_valid = false;
    std::string m_line;
    std::map<std::string, std::vector<std::string>> m_values;  // raw values in report order
};
