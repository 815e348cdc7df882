#pragma once
#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/LevelFileWriter.h"
#include "tools/vddata/YamlFields.h"

// What the readers of the source files share: the file being read and the readers of lists,
// file paths, pop-up groups and actions.

constexpr uint32_t kMaxActionElements = 255;

inline const char* ActionKey(LevelActionKind kind)
{
    switch (kind) {
    case LevelActionKind::EnableObjects:
        return "enableObjects";
    case LevelActionKind::DisableObjects:
        return "disableObjects";
    case LevelActionKind::HideObjects:
        return "hideObjects";
    case LevelActionKind::ShowObjects:
        return "showObjects";
    case LevelActionKind::SetScenePhase:
        return "recordSwitch";
    case LevelActionKind::ShowTooltips:
        return "showTooltips";
    case LevelActionKind::HideTooltips:
        return "hideTooltips";
    case LevelActionKind::TooltipEvent:
        return "tooltipEvent";
    default:
        return "";
    }
}

// One source file: its name for messages and the folder its paths start from.
struct CSourceContext {
    const std::string& folder;
    std::string file;
    CSourceErrors& errors;

    CYamlFields Fields(const YAML::Node& node) const { return CYamlFields(node, file, errors); }
    bool Fail(const YAML::Node& at, const std::string& message) const { return errors.Fail(file, at, message); }
};

// Reads each item of a list with read(item, element).
template <typename T, typename Read>
bool ReadList(const CSourceContext& c, const YAML::Node& node, std::vector<T>& list, Read read)
{
    if (!node)
        return true;
    if (!node.IsSequence())
        return c.Fail(node, "needs a list");
    for (const YAML::Node& item : node) {
        list.emplace_back();
        if (!read(item, list.back()))
            return false;
    }
    return true;
}

// A file path below the source folder that must name a file.
inline bool ReadFilePath(const CSourceContext& c, CYamlFields& fields, const char* key, std::string& path)
{
    YAML::Node node = fields.Take(key);
    if (!node)
        return true;
    std::error_code failure;
    if (!node.IsScalar() || !std::filesystem::is_regular_file(std::filesystem::path(c.folder) / node.Scalar(), failure))
        return c.Fail(node, std::string("\"") + key + "\" names no file of the source folder");
    path = node.Scalar();
    return true;
}

// One action's elements, each fitting the width its kind takes.
inline bool ReadAction(const CSourceContext& c, const YAML::Node& node, CActionModel& action, LevelActionKind kind)
{
    if (!ReadIntegers<uint16_t>(node, c.file, c.errors, action))
        return false;
    if (action.size() > kMaxActionElements)
        return c.Fail(node, "an action holds at most 255 elements");
    const bool wide = std::any_of(action.begin(), action.end(), [](uint16_t element) { return element > 0xFF; });
    return !(wide && LevelActionElementBytes(kind) == 1) || c.Fail(node, "a tooltip index needs to fit one byte");
}

// A map of actions by kind name, in the places that kinds fixes.
template <size_t N>
bool ReadActions(const CSourceContext& c, const YAML::Node& node, std::array<CActionModel, N>& actions,
                 const LevelActionKind (&kinds)[N])
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    for (size_t i = 0; i < N; ++i) {
        if (!ReadAction(c, f.Take(ActionKey(kinds[i])), actions[i], kinds[i]))
            return false;
    }
    return f.Done();
}

inline bool ReadPopup(const CSourceContext& c, const YAML::Node& node, CPopupGroupModel& p)
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    return f.Int("popupId", p.popupId) && f.Int("repeat", p.repeat) && f.Int("value", p.value) &&
           f.Int("shown", p.shown) && f.Done();
}


// A fixed-size table given as a shorter or equal list; the rest keeps its values.
template <typename T, size_t N>
bool ReadTable(const CSourceContext& c, const YAML::Node& node, std::array<T, N>& table)
{
    std::vector<T> values;
    if (!ReadIntegers<T>(node, c.file, c.errors, values))
        return false;
    if (values.size() > N)
        return c.Fail(node, "the table has " + std::to_string(N) + " entries");
    std::copy(values.begin(), values.end(), table.begin());
    return true;
}

