#include "tools/vddata/LevelTypeSources.h"

#include <any>
#include <cstdio>
#include <iterator>
#include <vector>

#include "game/GameLevel.h"
#include "tools/MiniGameFileWriter.h"
#include "tools/ObjectFileWriter.h"

namespace {

using CHiddenObjectPart = std::vector<CHiddenObjectRecordModel>;

constexpr uint32_t k3dxVersion = 16;
constexpr uint32_t kDisplayFlags = kWrite3dxPositions | kWrite3dxNormals | kWrite3dxColors | kWrite3dxUVs |
                                   kWrite3dxMaterials | kWrite3dxTextureNames | kWrite3dxTextureFlags |
                                   kWrite3dxTextureParams;
constexpr uint32_t kFreshToggleWasDrawn = 1;
const LevelActionKind kOutcomeKinds[kOutcomeActionCount] = {
    LevelActionKind::TooltipEvent,   LevelActionKind::ShowObjects,   LevelActionKind::HideObjects,
    LevelActionKind::DisableObjects, LevelActionKind::EnableObjects, LevelActionKind::SetScenePhase};

// A list of exactly N numbers.
template <size_t N>
bool ReadFloats(const CSourceContext& c, const YAML::Node& node, std::array<float, N>& values)
{
    if (!node)
        return true;
    if (!node.IsSequence() || node.size() != N)
        return c.Fail(node, "needs a list of " + std::to_string(N) + " numbers");
    for (size_t i = 0; i < N; ++i) {
        if (!ReadFloat(node[i], &values[i]))
            return c.Fail(node[i], "needs a number");
    }
    return true;
}

bool ReadQuad(const CSourceContext& c, const YAML::Node& node, C3dxModel& display, C3dxModel& collision,
              CScenePartModel& part)
{
    CYamlFields f = c.Fields(node);
    std::array<float, 4> rect{}, uv{0, 0, 1, 1};
    std::string texture;
    YAML::Node at = f.Take("rect");
    if (!at)
        return c.Fail(node, "a quad needs its \"rect\"");
    const bool read = ReadFloats(c, at, rect) && ReadFloats(c, f.Take("uv"), uv) &&
                      ReadFilePath(c, f, "texture", texture) && f.Int("kind", part.kind) && f.Int("phase", part.phase) &&
                      f.Int("flags", part.flags) && f.Int("itemId", part.itemId) && f.Float("radius", part.radius) &&
                      f.Done();
    if (!read)
        return false;
    part.x = (rect[0] + rect[2]) * 0.5f;
    part.y = (rect[1] + rect[3]) * 0.5f;
    Add3dxQuad(display, rect, uv, texture);
    Add3dxQuad(collision, rect, {0, 0, 1, 1}, "");
    return true;
}

bool ReadHiddenObjectStates(const CSourceContext& c, const YAML::Node& node, CHiddenObjectRecordModel& r)
{
    if (!node)
        return true;
    if (!node.IsSequence() || node.size() > kSearchStateCount)
        return c.Fail(node, "a record has four state blocks");
    for (size_t i = 0; i < node.size(); ++i) {
        CStateBlockModel& s = r.states[i];
        CYamlFields f = c.Fields(node[i]);
        if (!ReadPopup(c, f.Take("startPopup"), s.startPopup) || !ReadPopup(c, f.Take("endPopup"), s.endPopup) ||
            !f.Int("randomPick", s.randomPick) || !f.Int("extraSeconds", s.extraSeconds) ||
            !f.Int("ghostsClickable", s.ghostsClickable) || !f.Int("endArgument", s.endArgument) ||
            !f.Int("endTargetScene", s.endTargetScene) || !f.Int("nextState", s.nextState) ||
            !ReadAction(c, f.Take("hideTooltips"), s.hideTooltips, LevelActionKind::HideTooltips) ||
            !ReadAction(c, f.Take("showTooltips"), s.showTooltips, LevelActionKind::ShowTooltips) || !f.Done())
            return false;
    }
    return true;
}

bool ReadOutcome(const CSourceContext& c, const YAML::Node& node, CQuizOutcomeModel& o)
{
    CYamlFields f = c.Fields(node);
    return f.Int("popupId", o.popupId) && ReadActions(c, f.Take("actions"), o.actions, kOutcomeKinds) &&
           f.Int("argument", o.argument) && f.Int("targetScene", o.targetScene) && f.Int("soundId", o.soundId) &&
           f.Done();
}

bool ReadAnswers(const CSourceContext& c, const YAML::Node& node, CHiddenObjectRecordModel& r)
{
    if (!node)
        return true;
    if (!node.IsSequence() || node.size() > kQuizAnswerCount)
        return c.Fail(node, "a quiz has four answers at most");
    for (size_t i = 0; i < node.size(); ++i) {
        CQuizAnswerModel& a = r.answers[i];
        CYamlFields f = c.Fields(node[i]);
        YAML::Node outcomes = f.Take("outcomes");
        if (!f.Int("text", a.text) || !f.Int("firstOutcome", a.firstOutcome) || !f.Done())
            return false;
        if (outcomes && (!outcomes.IsSequence() || outcomes.size() > 2))
            return c.Fail(outcomes, "an answer has two outcomes");
        for (size_t k = 0; outcomes && k < outcomes.size(); ++k) {
            if (!ReadOutcome(c, outcomes[k], a.outcomes[k]))
                return false;
        }
    }
    return true;
}

bool ReadHiddenObjectRecord(const CSourceContext& c, const YAML::Node& node, CHiddenObjectRecordModel& r)
{
    CYamlFields f = c.Fields(node);
    return f.Int("maxShownItems", r.maxShownItems) && f.Int("maxPickedItems", r.maxPickedItems) &&
           f.Int("initialState", r.initialState) &&
           ReadAction(c, f.Take("switchObjects"), r.switchObjects, LevelActionKind::SetSwitchObjects) &&
           f.Int("switchRecord", r.switchRecord) && f.Int("switchTargetScene", r.switchTargetScene) &&
           f.Int("switchNextState", r.switchNextState) && ReadPopup(c, f.Take("switchPopup"), r.switchPopup) &&
           ReadAction(c, f.Take("markObjects"), r.markObjects, LevelActionKind::MarkObjects) &&
           ReadHiddenObjectStates(c, f.Take("states"), r) && f.Int("ghostSound", r.ghostSound) &&
           f.Int("quizQuestion", r.quizQuestion) && f.Int("quizLayout", r.quizLayout) &&
           ReadAnswers(c, f.Take("answers"), r) && ReadTable(c, f.Take("hitSounds"), r.hitSounds) &&
           ReadTable(c, f.Take("itemsDoneSounds"), r.itemsDoneSounds) && f.Done();
}

// The board, mask and buttons: {board, mask, buttons: [{button, part, x, y}]}.
template <size_t N>
bool ReadLayout(const CSourceContext& c, CYamlFields& f, CMiniGameLayoutModel<N>& layout)
{
    if (!f.Int("boardPart", layout.boardPart) || !f.Int("maskPart", layout.maskPart))
        return false;
    std::vector<int> unused;
    return ReadList(c, f.Take("buttons"), unused, [&](const YAML::Node& item, int&) {
        CYamlFields b = c.Fields(item);
        uint32_t button = N;
        uint32_t part = kNoPart;
        CPoint3 at{};
        if (!b.Int("button", button) || !b.Int("part", part) || !b.Float("x", at.x) || !b.Float("y", at.y) ||
            !b.Done())
            return false;
        if (button >= N)
            return c.Fail(item, "\"button\" is past the buttons");
        layout.buttonParts[button] = part;
        layout.buttonPositions[button] = at;
        return true;
    });
}

bool ReadExit(const CSourceContext& c, const YAML::Node& node, CMiniGameExitModel& e)
{
    if (!node)
        return true;
    CYamlFields f = c.Fields(node);
    return f.Int("reloadArgument", e.reloadArgument) && f.Int("nextScene", e.nextScene) &&
           f.Int("extraValue", e.extraValue) && f.Int("moveSound", e.moveSound) && f.Int("solvedSound", e.solvedSound) &&
           f.Int("hintReward", e.hintReward) && f.Done();
}

bool ReadJigsaw(const CSourceContext& c, const YAML::Node& node, CJigsawModel& m)
{
    CYamlFields f = c.Fields(node);
    return ReadLayout(c, f, m.layout) &&
           ReadList(c, f.Take("records"), m.records, [&](const YAML::Node& item, CJigsawRecordModel& r) {
               CYamlFields g = c.Fields(item);
               return g.Int("columns", r.columns) && g.Int("rows", r.rows) &&
                      ReadIntegers<uint8_t>(g.Take("columnMarks"), c.file, c.errors, r.columnMarks) &&
                      ReadIntegers<uint8_t>(g.Take("rowMarks"), c.file, c.errors, r.rowMarks) &&
                      g.Int("holePiece", r.holePiece) && g.Int("modeFlags", r.modeFlags) &&
                      g.Int("selectColour", r.selectColour) && g.Int("shuffleCount", r.shuffleCount) &&
                      ReadFilePath(c, g, "frontTexture", r.frontTextureName) &&
                      ReadFilePath(c, g, "backTexture", r.backTextureName) && g.Int("showPicture", r.showPicture) &&
                      ReadExit(c, g.Take("exit"), r.exit) && g.Done();
           }) &&
           f.Done();
}

// A sliding piece: {layout, shape, x, y, piece, firstTile, key}, placed into its layout.
bool ReadSlidingPiece(const CSourceContext& c, const YAML::Node& node, CSlidingRecordModel& r)
{
    CYamlFields f = c.Fields(node);
    int32_t which = 0;
    uint16_t shape = 0;
    int16_t x = 0, y = 0, piece = 0, tile = 0;
    uint8_t key = 0;
    if (!f.Int("layout", which) || !f.Int("shape", shape) || !f.Int("x", x) || !f.Int("y", y) ||
        !f.Int("piece", piece) || !f.Int("firstTile", tile) || !f.Int("key", key) || !f.Done())
        return false;
    if (which < 0 || which > 1 || shape >= r.shapes.size())
        return c.Fail(node, "a piece needs layout 0 or 1 and one of the shapes");
    r.Place(which, shape, x, y, piece, tile, key != 0);
    return true;
}

bool ReadSlidingRecord(const CSourceContext& c, const YAML::Node& node, CSlidingRecordModel& r)
{
    CYamlFields f = c.Fields(node);
    std::array<uint32_t, 2> exits{r.exitDirections[0], r.exitDirections[1]};
    YAML::Node pieces = f.Take("pieces");
    YAML::Node targets = f.Take("targets");
    const bool read =
        f.Int("pictureColumns", r.pictureColumns) && f.Int("pictureRows", r.pictureRows) &&
        ReadIntegers<uint16_t>(f.Take("tileMap"), c.file, c.errors, r.tileMap) &&
        ReadList(c, f.Take("shapes"), r.shapes,
                 [&](const YAML::Node& item, CSlidingShapeModel& shape) {
                     CYamlFields s = c.Fields(item);
                     std::vector<int16_t> offsets;
                     if (!ReadIntegers<int16_t>(s.Take("offsets"), c.file, c.errors, offsets) ||
                         !s.Int("moveFlags", shape.moveFlags) || !s.Done())
                         return false;
                     if (offsets.size() % 2)
                         return c.Fail(item, "\"offsets\" holds x, y pairs");
                     for (size_t i = 0; i < offsets.size(); i += 2)
                         shape.offsets.push_back({offsets[i], offsets[i + 1]});
                     return true;
                 }) &&
        f.Int("gridColumns", r.gridColumns) && f.Int("gridRows", r.gridRows) &&
        ReadTable(c, f.Take("exitDirections"), exits) &&
        ReadFilePath(c, f, "picture", r.pictureName) && ReadExit(c, f.Take("exit"), r.exit) && f.Done();
    if (!read)
        return false;
    r.exitDirections[0] = exits[0];
    r.exitDirections[1] = exits[1];
    std::vector<int> unused;
    return ReadList(c, pieces, unused, [&](const YAML::Node& item, int&) { return ReadSlidingPiece(c, item, r); }) &&
           ReadList(c, targets, unused, [&](const YAML::Node& item, int&) {
               CYamlFields t = c.Fields(item);
               int32_t which = 0;
               uint16_t column = 0, row = 0;
               if (!t.Int("layout", which) || !t.Int("column", column) || !t.Int("row", row) || !t.Done())
                   return false;
               if (which < 0 || which > 1 || column >= r.gridColumns || row >= r.gridRows)
                   return c.Fail(item, "a target needs layout 0 or 1 and a cell of the grid");
               r.MarkTarget(which, column, row);
               return true;
           });
}

bool ReadSliding(const CSourceContext& c, const YAML::Node& node, CSlidingModel& m)
{
    CYamlFields f = c.Fields(node);
    return ReadLayout(c, f, m.layout) &&
           ReadList(c, f.Take("records"), m.records,
                    [&](const YAML::Node& item, CSlidingRecordModel& r) { return ReadSlidingRecord(c, item, r); }) &&
           f.Done();
}

bool ReadShootEntry(const CSourceContext& c, const YAML::Node& node, CShootEntryModel& e)
{
    CYamlFields f = c.Fields(node);
    return f.Int("escapePoints", e.escapePoints) && f.Int("hitPoints", e.hitPoints) && f.Int("hitSound", e.hitSound) &&
           f.Float("fadeInSeconds", e.fadeInSeconds) && f.Float("vanishSeconds", e.vanishSeconds) &&
           ReadPopup(c, f.Take("explainPopup"), e.explainPopup) && f.Int("sampleTarget", e.sampleTarget) && f.Done();
}

bool ReadShootRecord(const CSourceContext& c, const YAML::Node& node, CShootRecordModel& r)
{
    CYamlFields f = c.Fields(node);
    YAML::Node entries = f.Take("entries");
    if (entries)
        r.entries.clear();
    return f.Int("gridMode", r.gridMode) && f.Int("gridColumns", r.gridColumns) && f.Int("gridRows", r.gridRows) &&
           f.Float("gridOffsetY", r.gridOffsetY) && ReadFilePath(c, f, "targetTexture", r.targetTextureName) &&
           f.Int("minSpawnSeconds", r.minSpawnSeconds) && f.Int("maxSpawnSeconds", r.maxSpawnSeconds) &&
           f.Int("maxWave", r.maxWave) && f.Int("minLifeSeconds", r.minLifeSeconds) &&
           f.Int("maxLifeSeconds", r.maxLifeSeconds) && f.Int("winArgument", r.winArgument) &&
           f.Int("winTargetScene", r.winTargetScene) && f.Int("goal", r.goal) && f.Int("hintPoints", r.hintPoints) &&
           f.Int("loseThreshold", r.loseThreshold) && f.Float("hintLabelSeconds", r.hintLabelSeconds) &&
           f.Int("missSound", r.missSound) && f.Int("wonSound", r.wonSound) &&
           ReadList(c, entries, r.entries,
                    [&](const YAML::Node& item, CShootEntryModel& e) { return ReadShootEntry(c, item, e); }) &&
           ReadIntegers<uint8_t>(f.Take("entryOfTarget"), c.file, c.errors, r.entryOfTarget) &&
           ReadPopup(c, f.Take("losePopup"), r.losePopup) && f.Int("winHints", r.winHints) && f.Done();
}

// Targets {part, usable, entry}; a target's point is its part's.
bool ReadShoot(const CSourceContext& c, const YAML::Node& node, CShootModel& m, const CSceneBlockModel& scene)
{
    CYamlFields f = c.Fields(node);
    return ReadList(c, f.Take("targets"), m.targets,
                    [&](const YAML::Node& item, CShootTargetModel& t) {
                        CYamlFields g = c.Fields(item);
                        if (!g.Int("part", t.part) || !g.Int("usable", t.usable) || !g.Int("entry", t.entry) || !g.Done())
                            return false;
                        if (t.part >= scene.parts.size())
                            return c.Fail(item, "the target's part is past the parts");
                        t.point = {scene.parts[t.part].x, scene.parts[t.part].y, scene.parts[t.part].z};
                        return true;
                    }) &&
           f.Float("counterX", m.counterX) && f.Float("counterY", m.counterY) &&
           ReadList(c, f.Take("records"), m.records,
                    [&](const YAML::Node& item, CShootRecordModel& r) { return ReadShootRecord(c, item, r); }) &&
           f.Done();
}

void WriteFreshParts(CByteWriter& out, const CSceneBlockModel& scene)
{
    out.U32(static_cast<uint32_t>(scene.parts.size()));
    for (const CScenePartModel& part : scene.parts) {
        out.U32(part.flags);
        out.F32(0.0f);
    }
}

// The type's model in the level's part, made when first read.
template <typename Model>
Model& PartOf(CLevelSource& level)
{
    if (!std::any_cast<Model>(&level.part))
        level.part = Model{};
    return *std::any_cast<Model>(&level.part);
}

bool ReadHiddenObjectPart(const CSourceContext& c, const YAML::Node& node, CLevelSource& level)
{
    return ReadList(c, node, PartOf<CHiddenObjectPart>(level), [&](const YAML::Node& item, CHiddenObjectRecordModel& r) {
        return ReadHiddenObjectRecord(c, item, r);
    });
}

std::string HiddenObjectBody(const CLevelSource& level)
{
    const CHiddenObjectPart* part = std::any_cast<CHiddenObjectPart>(&level.part);
    return HiddenObjectLevelBody({level.model, part ? *part : CHiddenObjectPart{}});
}

void WriteFreshHiddenObject(CByteWriter& out, const CLevelSource& level)
{
    const CLevelModel& m = level.model;
    const CHiddenObjectPart* part = std::any_cast<CHiddenObjectPart>(&level.part);
    out.U32(static_cast<uint32_t>(-1));  // no selected part
    out.U8(0);                           // not busy
    out.U8(kFreshToggleWasDrawn);
    out.U32(static_cast<uint32_t>(m.records.size()));
    for (size_t n = 0; n < m.records.size(); ++n) {
        const CHiddenObjectRecordModel r = part && n < part->size() ? (*part)[n] : CHiddenObjectRecordModel{};
        WritePopup(out, r.switchPopup);
        for (const CStateBlockModel& block : r.states) {
            WritePopup(out, block.startPopup);
            WritePopup(out, block.endPopup);
        }
    }
}

template <typename Model, bool (*Read)(const CSourceContext&, const YAML::Node&, Model&)>
bool ReadMiniGame(const CSourceContext& c, const YAML::Node& node, CLevelSource& level)
{
    return !node || Read(c, node, PartOf<Model>(level));
}

bool ReadShootPart(const CSourceContext& c, const YAML::Node& node, CLevelSource& level)
{
    return !node || ReadShoot(c, node, PartOf<CShootModel>(level), level.model.scene);
}

// A mini-game's writer over its model (defaults without a part) and the level base.
template <typename Model, std::string (*Write)(const Model&)>
std::string MiniGameBody(const CLevelSource& level)
{
    const Model* part = std::any_cast<Model>(&level.part);
    Model model = part ? *part : Model{};
    model.level = level.model;
    return Write(model);
}

// A level type's part of a source: the map that gives it, read into the level's part (the map
// may be absent), the description body its writer makes, and what it adds to a fresh profile
// section.
struct CLevelTypeSource {
    uint32_t type;
    const char* key;
    bool (*read)(const CSourceContext& c, const YAML::Node& node, CLevelSource& level);
    std::string (*body)(const CLevelSource& level);
    void (*fresh)(CByteWriter& out, const CLevelSource& level);
};

// In type order.
const CLevelTypeSource kLevelTypeSources[] = {
    {kLevelTypeHiddenObject, "hiddenObject", ReadHiddenObjectPart, HiddenObjectBody, WriteFreshHiddenObject},
    {kLevelTypeJigsaw, "jigsaw", ReadMiniGame<CJigsawModel, ReadJigsaw>, MiniGameBody<CJigsawModel, JigsawBody>, nullptr},
    {kLevelTypeShoot, "shoot", ReadShootPart, MiniGameBody<CShootModel, ShootBody>, nullptr},
    {kLevelTypeSliding, "sliding", ReadMiniGame<CSlidingModel, ReadSliding>, MiniGameBody<CSlidingModel, SlidingBody>,
     nullptr},
};

const CLevelTypeSource* SourceOf(uint32_t type)
{
    for (const CLevelTypeSource& source : kLevelTypeSources) {
        if (source.type == type)
            return &source;
    }
    return nullptr;
}

std::string HexWord(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

} // namespace

bool ReadMeshes(const CSourceContext& c, CYamlFields& f, CMeshSource& display, CMeshSource* collision,
                CSceneBlockModel& scene)
{
    if (!ReadFilePath(c, f, "display", display.path) ||
        (collision && !ReadFilePath(c, f, "collision", collision->path)))
        return false;
    YAML::Node quads = f.Take("quads");
    if (!quads)
        return true;
    if (!display.path.empty() || (collision && !collision->path.empty()) || !scene.parts.empty())
        return c.Fail(quads, "quads replace the mesh files and the scene's parts");
    C3dxModel shown, hit;
    if (!ReadList(c, quads, scene.parts,
                  [&](const YAML::Node& item, CScenePartModel& part) { return ReadQuad(c, item, shown, hit, part); }))
        return false;
    display.bytes = Make3dxBytes(shown, k3dxVersion, kDisplayFlags);
    if (collision)
        collision->bytes = Make3dxBytes(hit, k3dxVersion, kWrite3dxPositions);
    return true;
}

bool IsLevelType(uint32_t type) { return SourceOf(type) != nullptr; }

std::string LevelTypeRange()
{
    return HexWord(kLevelTypeSources[0].type) + " to " + HexWord(std::end(kLevelTypeSources)[-1].type);
}

bool ReadLevelType(const CSourceContext& c, CYamlFields& f, CLevelSource& level)
{
    std::vector<YAML::Node> given;
    for (const CLevelTypeSource& source : kLevelTypeSources)
        given.push_back(f.Take(source.key));
    for (size_t n = 0; n < given.size(); ++n) {
        if (given[n] && kLevelTypeSources[n].type != level.type)
            return c.Fail(given[n], "the level's type has no such part");
    }
    for (size_t n = 0; n < given.size(); ++n) {
        if (kLevelTypeSources[n].type == level.type)
            return kLevelTypeSources[n].read(c, given[n], level);
    }
    return true;
}

std::string LevelFileBody(const CLevelSource& level)
{
    const CLevelTypeSource* source = SourceOf(level.type);
    return source ? source->body(level) : LevelBody(level.model);
}

std::string FreshLevelSection(const CLevelSource& level)
{
    const CLevelModel& m = level.model;
    CByteWriter out;
    WriteFreshParts(out, m.scene);
    out.U32(kSceneStateFresh);
    out.U32(m.startRecord);
    out.U32(static_cast<uint32_t>(kNoPopup));
    out.U32(0);  // no queued pop-up
    out.U8(0);   // not done
    out.U8(0);   // no timer shown
    out.U32(static_cast<uint32_t>(m.records.size()));
    for (const CLevelRecordModel& r : m.records) {
        WritePopup(out, r.introPopup);
        WritePopup(out, r.startPopup);
        WritePopup(out, r.leavePopup);
    }
    const CLevelTypeSource* source = SourceOf(level.type);
    if (source && source->fresh)
        source->fresh(out, level);
    return out.Bytes();
}

std::string FreshTooltipSection(const CTooltipModel& tooltip)
{
    CByteWriter out;
    WriteFreshParts(out, tooltip.scene);
    out.U8(0);  // not done
    out.U8(tooltip.hidden);
    out.F32(0.0f);
    out.U32(tooltip.slideState);
    out.U32(static_cast<uint32_t>(tooltip.finalPage));
    return out.Bytes();
}
