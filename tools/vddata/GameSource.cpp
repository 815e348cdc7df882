#include "tools/vddata/GameSource.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/ParamsReader.h"
#include "game/GameLevel.h"
#include "game/widgets/Hint.h"
#include "tools/vddata/LevelTypeSources.h"
#include "tools/vddata/SourceReaders.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kMaxTooltips = 256;
constexpr size_t kMaxAppName = kAppNameUnits - 1;

bool ReadPart(const CSourceContext& c, const YAML::Node& node, CScenePartModel& p)
{
    CYamlFields f = c.Fields(node);
    return f.Int("kind", p.kind) && f.Int("phase", p.phase) && f.Int("flags", p.flags) && f.Int("itemId", p.itemId) &&
           f.Float("x", p.x) && f.Float("y", p.y) && f.Float("z", p.z) && f.Float("radius", p.radius) && f.Done();
}

bool ReadScene(const CSourceContext& c, const YAML::Node& node, CSceneBlockModel& scene)
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    return f.Float("refWidth", scene.refWidth) && f.Float("refHeight", scene.refHeight) &&
           ReadList(c, f.Take("parts"), scene.parts,
                    [&](const YAML::Node& item, CScenePartModel& part) { return ReadPart(c, item, part); }) &&
           ReadIntegers<uint16_t>(f.Take("order"), c.file, c.errors, scene.order) && f.Done();
}

bool ReadEffect(const CSourceContext& c, const YAML::Node& node, CTimedEffectModel& e)
{
    CYamlFields f = c.Fields(node);
    return f.Float("minFrames", e.minFrames) && f.Float("maxFrames", e.maxFrames) && f.Int("soundId", e.soundId) &&
           f.Int("loop", e.loop) && f.Done();
}

bool ReadRecord(const CSourceContext& c, const YAML::Node& node, CLevelRecordModel& r, size_t pairCount)
{
    CYamlFields f = c.Fields(node);
    std::vector<CTimedEffectModel> effects;
    YAML::Node effectList = f.Take("effects");
    bool read =
        f.Int("clickPenaltyFree", r.clickPenaltyFree) && f.Int("cameraMode", r.cameraMode) &&
        f.Int("dragEnabled", r.dragEnabled) && f.Int("cameraDraggable", r.cameraDraggable) &&
        f.Int("toolbarHidden", r.toolbarHidden) && f.Int("toolbarHeightIgnored", r.toolbarHeightIgnored) &&
        f.Int("value0C", r.value0C) && f.Float("zoom", r.zoom) && f.Int("introSound", r.introSound) &&
        ReadPopup(c, f.Take("introPopup"), r.introPopup) && f.Text("backgroundName", r.backgroundName) &&
        ReadPopup(c, f.Take("startPopup"), r.startPopup) &&
        ReadActions(c, f.Take("startActions"), r.startActions, kStartActionKinds) &&
        ReadPopup(c, f.Take("popupGroup3"), r.popupGroup3) && f.Int("soundId", r.soundId) &&
        ReadPopup(c, f.Take("leavePopup"), r.leavePopup) &&
        ReadActions(c, f.Take("leaveActions"), r.leaveActions, kLeaveActionKinds) &&
        ReadList(c, effectList, effects, [&](const YAML::Node& item, CTimedEffectModel& e) { return ReadEffect(c, item, e); }) &&
        ReadIntegers<uint16_t>(f.Take("pairSounds"), c.file, c.errors, r.pairSounds) && f.Done();
    if (!read)
        return false;
    if (r.backgroundName.size() >= kBackgroundNameBytes)
        return c.Fail(node, "the background name takes at most 259 bytes");
    if (effects.size() > kTimedEffectCount)
        return c.Fail(effectList, "a record has two timed effects");
    if (r.pairSounds.size() > pairCount)
        return c.Fail(node, "the record has more pair sounds than click targets");
    std::copy(effects.begin(), effects.end(), r.effects.begin());
    return true;
}

// A click target, refused as the game refuses it: past the parts or the levels.
bool ReadPair(const CSourceContext& c, const YAML::Node& node, CLevelPairModel& pair, size_t partCount,
              size_t levelCount)
{
    CYamlFields f = c.Fields(node);
    if (!f.Int("part", pair.part) || !f.Int("targetScene", pair.targetScene) || !f.Done())
        return false;
    if (pair.part >= partCount)
        return c.Fail(node, "the click target's part is past the parts");
    if (pair.targetScene > levelCount)
        return c.Fail(node, "the click target's scene is past the levels");
    return true;
}

bool ReadLevel(const CSourceContext& c, const YAML::Node& node, CLevelSource& level, size_t levelCount)
{
    CYamlFields f = c.Fields(node);
    CLevelModel& m = level.model;
    YAML::Node type = f.Take("type");
    YAML::Node start = f.Take("startRecord");
    int64_t value = 0;
    if (!ReadInteger(type, 32, &value) || !IsLevelType(static_cast<uint32_t>(value)))
        return c.Fail(type ? type : node, "\"type\" needs a level type, " + LevelTypeRange());
    level.type = static_cast<uint32_t>(value);
    if (start && !ReadInteger(start, 32, &value))
        return c.Fail(start, "\"startRecord\" needs an integer that fits 32 bits");
    m.startRecord = start ? static_cast<uint32_t>(value) : 0;
    bool read =
        ReadScene(c, f.Take("scene"), m.scene) && ReadMeshes(c, f, level.display, &level.collision, m.scene) &&
        ReadList(c, f.Take("pairs"), m.pairs,
                 [&](const YAML::Node& item, CLevelPairModel& p) {
                     return ReadPair(c, item, p, m.scene.parts.size(), levelCount);
                 }) &&
        ReadList(c, f.Take("records"), m.records,
                 [&](const YAML::Node& item, CLevelRecordModel& r) { return ReadRecord(c, item, r, m.pairs.size()); }) &&
        ReadLevelType(c, f, level) && f.Done();
    if (read && !m.records.empty() && m.startRecord >= m.records.size())
        return c.Fail(start ? start : node, "the start record is past the records");
    return read;
}

bool ReadStep(const CSourceContext& c, const YAML::Node& node, CTooltipStepModel& s)
{
    CYamlFields f = c.Fields(node);
    return f.Int("part", s.part) && f.Int("eventValue", s.eventValue) && f.Int("eventObject", s.eventObject) &&
           f.Int("nextPage", s.nextPage) && f.Done();
}

bool ReadTooltip(const CSourceContext& c, const YAML::Node& node, CTooltipSource& tooltip)
{
    CYamlFields f = c.Fields(node);
    CTooltipModel& m = tooltip.model;
    return ReadScene(c, f.Take("scene"), m.scene) && ReadMeshes(c, f, tooltip.display, &tooltip.collision, m.scene) &&
           f.Int("hidden", m.hidden) && f.Int("slideState", m.slideState) && f.Float("offsetX", m.offsetX) &&
           ReadList(c, f.Take("steps"), m.steps, [&](const YAML::Node& item, CTooltipStepModel& s) { return ReadStep(c, item, s); }) &&
           f.Int("finalPage", m.finalPage) && ReadActions(c, f.Take("actions"), m.actions, kTooltipActionKinds) &&
           f.Int("doneSound", m.doneSound) && f.Int("stepSound", m.stepSound) && f.Done();
}

bool ReadLabel(const CSourceContext& c, const YAML::Node& node, CLabelModel& label)
{
    CYamlFields f = c.Fields(node);
    std::vector<uint32_t> values;
    YAML::Node list = f.Take("values");
    if (!f.Int("part", label.part) || !f.Int("value", label.value) ||
        !ReadIntegers<uint32_t>(list, c.file, c.errors, values) || !f.Done())
        return false;
    if (values.size() > label.values.size())
        return c.Fail(list, "a label has four values");
    std::copy(values.begin(), values.end(), label.values.begin());
    return true;
}

bool ReadLayer(const CSourceContext& c, const YAML::Node& node, CMenuLayerModel& layer)
{
    CYamlFields f = c.Fields(node);
    return f.Int("part", layer.part) && f.Int("hiddenMoving", layer.hiddenMoving) &&
           f.Int("hiddenIdle", layer.hiddenIdle) && f.Float("scale", layer.scale) &&
           f.Float("weightX", layer.weightX) && f.Float("weightY", layer.weightY) && f.Done();
}

bool ReadMenu(const CSourceContext& c, const YAML::Node& node, CMenuSource& menu)
{
    CYamlFields f = c.Fields(node);
    CLayeredMenuModel& m = menu.model;
    return ReadScene(c, f.Take("scene"), m.scene) && ReadMeshes(c, f, menu.display, nullptr, m.scene) &&
           ReadList(c, f.Take("layers"), m.layers, [&](const YAML::Node& item, CMenuLayerModel& l) { return ReadLayer(c, item, l); }) &&
           f.Float("baseX", m.baseX) && f.Float("baseY", m.baseY) && f.Int("thirdValue", m.thirdValue) && f.Done();
}

bool ReadDialog(const CSourceContext& c, const YAML::Node& node, CMenuDialogModel& dialog)
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    return ReadTable(c, f.Take("stringMap"), dialog.stringMap) && f.Int("clickSound", dialog.clickSound) &&
           f.Float("dialogBorder", dialog.dialogBorder) && f.Float("buttonBorder", dialog.buttonBorder) && f.Done();
}

// A map of one sound index under key.
bool ReadSoundMap(const CSourceContext& c, const YAML::Node& node, const char* key, uint32_t& sound)
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    return f.Int(key, sound) && f.Done();
}

bool ReadPrefetch(const CSourceContext& c, const YAML::Node& node, CGameSource& source)
{
    if (!node)
        return true;
    source.hasPrefetch = true;
    std::array<uint8_t, kPrefetchSwitches>& s = source.prefetch;
    s[2] = 1;  // web links, as without the file
    CYamlFields f = c.Fields(node);
    return f.Int("debugKeys", s[0]) && f.Int("webScoring", s[1]) && f.Int("webLinks", s[2]) &&
           f.Int("charsetFont", s[4]) && f.Done();
}

bool ReadSounds(const CSourceContext& c, const YAML::Node& node, std::vector<std::string>& sounds)
{
    return ReadList(c, node, sounds, [&](const YAML::Node& item, std::string& name) {
        std::error_code failure;
        if (!item.IsScalar() || item.Scalar().empty() || item.Scalar().size() > kMaxPathUnits - 1)
            return c.Fail(item, "a sound needs a file name of at most 259 characters");
        for (char ch : item.Scalar()) {
            if (ch < 0x20 || ch > 0x7E)
                return c.Fail(item, "a sound's file name needs printable ASCII characters");
        }
        if (!fs::is_regular_file(fs::path(c.folder) / kDiskFolder / item.Scalar(), failure))
            return c.Fail(item, "names no file of the disk folder");
        name = item.Scalar();
        return true;
    });
}

// A list whose items are file names of YAML files, or the maps themselves.
template <typename T, typename Read>
bool ReadObjectList(const CSourceContext& c, const YAML::Node& node, std::vector<std::string>& sourceFiles,
                    std::vector<T>& list, Read read)
{
    return ReadList(c, node, list, [&](const YAML::Node& item, T& object) {
        if (!item.IsScalar())
            return read(c, item, object);
        const CSourceContext file{c.folder, item.Scalar(), c.errors};
        YAML::Node root;
        if (!LoadYamlFile((fs::path(c.folder) / item.Scalar()).string(), item.Scalar(), &root, c.errors))
            return false;
        sourceFiles.push_back(item.Scalar());
        return read(file, root, object);
    });
}

bool ReadApp(const CSourceContext& c, CYamlFields& f, std::string& app)
{
    YAML::Node node = f.Take("app");
    if (!node || !node.IsScalar() || node.Scalar().empty() || node.Scalar().size() > kMaxAppName)
        return c.Fail(node ? node : YAML::Node(), "\"app\" needs the application name, 1 to 31 characters");
    for (char ch : node.Scalar()) {
        if (ch < 0x21 || ch > 0x7E)
            return c.Fail(node, "\"app\" needs printable ASCII characters");
    }
    app = node.Scalar();
    return true;
}

bool ReadConstruction(const CSourceContext& c, const YAML::Node& root, CGameSource& s)
{
    CYamlFields f = c.Fields(root);
    YAML::Node levels = f.Take("levels");
    const size_t levelCount = levels.IsSequence() ? levels.size() : 0;
    auto readLevel = [&](const CSourceContext& at, const YAML::Node& node, CLevelSource& level) {
        return ReadLevel(at, node, level, levelCount);
    };
    auto readTooltip = [](const CSourceContext& at, const YAML::Node& node, CTooltipSource& tooltip) {
        return ReadTooltip(at, node, tooltip);
    };
    std::vector<CMenuSource> menus;
    YAML::Node menuList = f.Take("menus");
    YAML::Node labels = f.Take("labels");
    YAML::Node timer = f.Take("timer");
    bool read = ReadApp(c, f, s.app) && f.Int("construction", s.construct.constructionNumber) &&
                f.Int("tutorial", s.construct.tutorial) && f.Float("ratio", s.construct.ratio) &&
                ReadTable(c, f.Take("tutorialTable"), s.tutorialTable) && ReadFilePath(c, f, "charsetFont", s.charsetFont) &&
                ReadSounds(c, f.Take("sounds"), s.sounds) && ReadDialog(c, f.Take("menuDialog"), s.dialog) &&
                ReadList(c, menuList, menus, [&](const YAML::Node& item, CMenuSource& m) { return ReadMenu(c, item, m); }) &&
                ReadSoundMap(c, f.Take("stars"), "clickSound", s.starsClickSound) &&
                ReadSoundMap(c, f.Take("hint"), "sound", s.hintSound) &&
                ReadObjectList(c, levels, s.sourceFiles, s.levels, readLevel) &&
                ReadObjectList(c, f.Take("tooltips"), s.sourceFiles, s.tooltips, readTooltip) &&
                ReadPrefetch(c, f.Take("prefetch"), s) && f.Done();
    if (!read)
        return false;
    if (menus.size() > kLayeredMenuCount)
        return c.Fail(menuList, "there are two layered menus, intro and outro");
    std::copy(menus.begin(), menus.end(), s.menus.begin());
    if (s.tooltips.size() > kMaxTooltips)
        return c.Fail(root, "at most 256 tooltips");
    if (labels) {
        CYamlFields l = c.Fields(labels);
        if (!ReadFilePath(c, l, "display", s.labelsDisplay) || !ReadScene(c, l.Take("scene"), s.labels.scene) ||
            !ReadList(c, l.Take("labels"), s.labels.labels,
                      [&](const YAML::Node& item, CLabelModel& label) { return ReadLabel(c, item, label); }) ||
            !l.Done())
            return false;
    }
    if (timer) {
        CYamlFields t = c.Fields(timer);
        CTimerModel& m = s.timer;
        if (!ReadFilePath(c, t, "display", s.timerDisplay) || !ReadScene(c, t.Take("scene"), m.scene) ||
            !t.Float("x", m.x) || !t.Float("y", m.y) || !t.Float("value50", m.value50) || !t.Float("size", m.size) ||
            !t.Done())
            return false;
    }
    return true;
}

// The hints a new game starts with, from the external settings beside the construction.
uint16_t HintStartCount(const std::string& folder, const std::string& app)
{
    std::ifstream file(fs::path(folder) / (app + ".External.Desktop.ini"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const CParamsText settings(text.empty() ? nullptr : text.c_str(), static_cast<uint32_t>(text.size()));
    return ReadHintCounts(&settings).start;
}

} // namespace

bool ReadGameSource(const std::string& folder, CGameSource* source, CSourceErrors& errors)
{
    const CSourceContext c{folder, kConstructionSource, errors};
    YAML::Node root;
    if (!LoadYamlFile((fs::path(folder) / kConstructionSource).string(), kConstructionSource, &root, errors) ||
        !ReadConstruction(c, root, *source))
        return false;
    source->hintStartCount = HintStartCount(folder, source->app);
    source->sourceFiles.push_back(kConstructionSource);
    for (const CLevelSource& level : source->levels)
        source->construct.levelTypes.push_back(level.type);
    source->construct.tooltipCount = static_cast<uint32_t>(source->tooltips.size());
    return true;
}

CBlankProfileModel BlankProfileOf(const CGameSource& source)
{
    CBlankProfileModel profile;
    profile.tooltipCount = static_cast<uint32_t>(source.tooltips.size());
    profile.levelTimes.assign(source.levels.size(), CLevelTime{0.0f, 0, 0});
    auto addParts = [&](const CSceneBlockModel& scene) {
        profile.elementTotal += static_cast<uint32_t>(scene.parts.size());
    };
    for (const CMenuSource& menu : source.menus)
        addParts(menu.model.scene);
    for (const CLevelSource& level : source.levels) {
        addParts(level.model.scene);
        profile.paramTotal += static_cast<uint32_t>(level.model.records.size());
    }
    for (const CTooltipSource& tooltip : source.tooltips)
        addParts(tooltip.model.scene);
    addParts(source.labels.scene);
    addParts(source.timer.scene);
    // The sections the game reads while no level is current: hint, toolbar, timer, tooltips, levels.
    profile.sections = FreshHintSection(source.hintStartCount) + FreshToolbarSection() + FreshTimerSection(source.timer);
    for (const CTooltipSource& tooltip : source.tooltips)
        profile.sections += FreshTooltipSection(tooltip.model);
    for (const CLevelSource& level : source.levels)
        profile.sections += FreshLevelSection(level);
    return profile;
}
