#include "tests/support/game/MiniGameStateReport.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine3d/SceneGameData.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/support/game/PartClickPoint.h"
#include "tests/support/game/ReportTokens.h"

namespace {

constexpr uint32_t kHelpButtonBase = 2000;
constexpr uint32_t kButtonPhase = 4;

// The first view matrix: its translation moves the boards, and it places the targets.
const Matrix4* View(const CLevelMiniGame& level)
{
    const CSceneGameData* scene = GetSceneGameData(level.GetWorldData());
    return scene ? &scene->m_matView[0] : nullptr;
}

void ReportSlots(CReportTokens& tokens, const CLevelMiniGame& level)
{
    const Matrix4* view = View(level);
    const CBoardGeometry& board = level.GetBoard();
    if (!view)
        return;
    for (uint32_t r = 0; r < board.rows; ++r) {
        for (uint32_t c = 0; c < board.columns; ++c) {
            const float left = board.originX + view->m[12] + c * board.cellWidth;
            const float top = board.originY + view->m[13] + r * board.cellHeight;
            tokens.Add("slot", JoinFields({std::to_string(r * board.columns + c),
                                           tokens.Rect(left, top, board.cellWidth, board.cellHeight)}));
        }
    }
}

// Each shown help button with a part a click reaches.
template <uint32_t N, typename Level>
void ReportButtons(CReportTokens& tokens, Level& level, const CMiniGameLayout<N>& layout)
{
    const CClickRules rules{[&](float x, float y) { return tokens.Reached(x, y); }, [](float, float) { return true; }};
    for (uint32_t button = 0; button < N; ++button) {
        const ScenePart* part = level.GetPart(layout.buttonParts[button]);
        CPartClickPoint click{};
        if (!level.IsButtonShown(button) || !part || part->phase != kButtonPhase ||
            (part->flags & (kPartWaiting | kPartClickable)) != kPartClickable ||
            !FindPartClickPoint(level, layout.buttonParts[button], rules, &click))
            continue;
        tokens.Add("button", JoinFields({std::to_string(kHelpButtonBase + button),
                                         tokens.Rect(click.rect[0], click.rect[1], click.rect[2], click.rect[3]), "1",
                                         ""}));
    }
}

// Where a target stands before a grid moves it to its cell.
Vector2 TargetHome(const CLevelShoot& level, uint8_t target)
{
    const CShootTargets& targets = level.GetTargets();
    const Matrix4* view = View(level);
    if (target >= targets.count || !view)
        return {0.0f, 0.0f};
    const CPoint3& p = targets.points[target];
    const float* m = view->m;
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]};
}

} // namespace

void ReportJigsaw(CReportTokens& tokens, CLevelJigsaw& level)
{
    const CJigsawBoard& cells = level.GetCells();
    std::string board = JoinFields({"jigsaw", std::to_string(cells.Columns()), std::to_string(cells.Rows())});
    for (uint32_t n = 0; n < cells.CellCount(); ++n) {
        const JigsawCell& cell = *cells.Cell(n);
        board += "," + (cells.IsHole(n) ? std::string("-1") : std::to_string(cell.piece)) + ":" +
                 std::to_string(cell.rotation % 4);
    }
    tokens.Add("board", board);
    ReportSlots(tokens, level);
    tokens.Add("selected", level.GetSelectedCell() == kNoCell ? -1 : int64_t{level.GetSelectedCell()});
    ReportButtons(tokens, level, level.GetLayout());
}

void ReportSliding(CReportTokens& tokens, CLevelSliding& level)
{
    const CSlidingBoard& cells = level.GetCells();
    std::string board = JoinFields({"sliding", std::to_string(cells.Columns()), std::to_string(cells.Rows())});
    int64_t key = -1;
    for (uint32_t n = 0; n < cells.CellCount(); ++n) {
        const SlidingCell& cell = *cells.Cell(n);
        const bool empty = cell.tile == kEmptyTile;
        board += "," + std::to_string(empty ? -1 : cell.pieceId);
        if (!empty && (cell.flags & kSlidingKey) && key == -1)
            key = cell.pieceId;
    }
    tokens.Add("board", board);
    ReportSlots(tokens, level);
    if (key != -1)
        tokens.Add("key", key);
    auto* record = static_cast<CLevelSlidingRecord*>(level.GetRecord(level.GetCurrentRecord()));
    const uint32_t layout = level.IsEasyLayout() ? 1 : 0;
    const Matrix4* view = View(level);
    const CBoardGeometry& geometry = level.GetBoard();
    if (record && record->layouts[layout] && view) {
        // The cells the key piece must cover before it leaves.
        uint32_t first[2] = {cells.Columns(), cells.Rows()}, last[2] = {0, 0};
        for (uint32_t n = 0; n < cells.CellCount(); ++n) {
            if (!(record->layouts[layout][n].flags & kSlidingTarget))
                continue;
            const uint32_t at[2] = {n % cells.Columns(), n / cells.Columns()};
            for (uint32_t axis = 0; axis < 2; ++axis) {
                first[axis] = std::min(first[axis], at[axis]);
                last[axis] = std::max(last[axis], at[axis]);
            }
        }
        if (first[0] <= last[0] && first[1] <= last[1])
            tokens.Add("exit", tokens.Rect(geometry.originX + view->m[12] + first[0] * geometry.cellWidth,
                                           geometry.originY + view->m[13] + first[1] * geometry.cellHeight,
                                           (last[0] - first[0] + 1) * geometry.cellWidth,
                                           (last[1] - first[1] + 1) * geometry.cellHeight));
        tokens.Add("exitdir", record->exitDirections[layout]);
    }
    ReportButtons(tokens, level, level.GetLayout());
}

void ReportShoot(CReportTokens& tokens, CLevelShoot& level)
{
    auto* record = static_cast<CLevelShootRecord*>(level.GetRecord(level.GetCurrentRecord()));
    CShootField& field = level.GetField();
    if (!record)
        return;
    tokens.AddList("goal", {field.score, record->goal});
    if (level.GetSceneState() == kSceneStateClickTargets || field.won)
        return;
    const CShootTargets& targets = level.GetTargets();
    // The part of slot n's target and the offset it is drawn at; null for a free or hit slot.
    auto slotPart = [&](uint32_t n, Vector2* offset) -> const ScenePart* {
        const ShootSlot* slot = field.Slot(n);
        if (!slot || slot->target >= targets.count || slot->state == kShootHit)
            return nullptr;
        const Vector3 p = level.SlotPoint(n);
        const Vector2 home = TargetHome(level, slot->target);
        *offset = {p.x - home.x, p.y - home.y};
        return level.GetPart(targets.targets[slot->target].part);
    };
    // As a click tests slot n: near its point and on its part where the part is hit-tested.
    auto slotHit = [&](uint32_t n, float x, float y) {
        Vector2 offset{};
        const ScenePart* part = slotPart(n, &offset);
        const Vector3 p = level.SlotPoint(n);
        return part && std::hypot(p.x - x, p.y - y) < part->radius &&
               Succeeded(level.HitTestPart(targets.targets[field.Slot(n)->target].part, x - offset.x, y - offset.y));
    };
    for (uint32_t n = 0; n < field.SlotCount(); ++n) {
        Vector2 offset{};
        if (!slotPart(n, &offset))
            continue;
        const uint8_t target = field.Slot(n)->target;
        auto reaches = [&](float x, float y) {
            for (uint32_t m = 0; m < n; ++m) {
                if (slotHit(m, x, y))
                    return false;
            }
            return slotHit(n, x, y);
        };
        const Vector3 p = level.SlotPoint(n);
        const Vector2 reached = tokens.Reached(p.x, p.y);
        CPartClickPoint click{{p.x, p.y}, {}};
        const CClickRules rules{[&](float x, float y) { return tokens.Reached(x, y); }, reaches, offset};
        if (!reaches(reached.x, reached.y) && !FindPartClickPoint(level, targets.targets[target].part, rules, &click))
            continue;
        const int64_t kind = record->entryOfTarget ? int64_t{record->entryOfTarget[target]} : -1;
        tokens.Add("target", JoinFields({std::to_string(n), tokens.Point(click.point.x, click.point.y),
                                         std::to_string(kind)}));
    }
}
