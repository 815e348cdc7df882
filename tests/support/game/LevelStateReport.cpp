#include "tests/support/game/LevelStateReport.h"

#include <cmath>
#include <string>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "engine3d/SceneGameData.h"
#include "game/GameData.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/Stars.h"
#include "game/widgets/ScreenQuads.h"
#include "game/widgets/Toolbar.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/shoot/LevelShoot.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/support/game/MiniGameStateReport.h"
#include "tests/support/game/PartClickPoint.h"
#include "tests/support/game/ReportTokens.h"

namespace {

// A found star keeps the waiting flag.
constexpr uint32_t kStarCaught = kPartWaiting;

// The active star where a click catches it: the view's translation plus the zoomed place;
// false when no star can be caught.
bool ActiveStarPoint(CVadadiDazidevWorld& world, CLevel& level, Vector2* out)
{
    const CLevelStar* star = level.GetStar(level.GetActiveStar());
    const CWorldData& data = *world.GetData();
    if (!star || level.AreStarsDisabled() || !(star->flags & kPartClickable) || (star->flags & kStarCaught) ||
        !data.math || !data.gameData || !world.GetStars())
        return false;
    Vector3 t{};
    data.math->GetTranslation(&t, &data.gameData->m_matView[0]);
    const float zoom = world.GetSceneZoom();
    *out = {t.x + zoom * star->x, t.y + zoom * star->y};
    return true;
}

void ReportStar(CReportTokens& tokens, CVadadiDazidevWorld& world, CLevel& level)
{
    Vector2 at{};
    if (ActiveStarPoint(world, level, &at))
        tokens.Add("star", JoinFields({std::to_string(level.GetActiveStar()), tokens.Point(at.x, at.y)}));
}

const char* PartKind(const ScenePart& part)
{
    if (part.flags & kPartToggles)
        return "toggle";
    switch (part.phase) {
    case 0: case 1: case 3: return "object";
    case 2: return "collect";
    case kPhaseArrows: return "arrow";
    case kStateQuiz: return "quiz";
    case kPhaseGhost: return "ghost";
    default: return "other";
    }
}

// The scene's view of which parts a click may take now, in the order the click walks them.
class CLiveParts {
public:
    CLiveParts(CVadadiDazidevWorld& world, CLevelVadadiDazidev& level) : m_world(world), m_level(level)
    {
        auto* record = static_cast<CHiddenObjectRecord*>(level.GetRecord(level.GetCurrentRecord()));
        const uint32_t state = level.GetSceneState();
        m_ghostsClickable = record && state < kSearchStateCount && record->states[state].ghostsClickable;
        m_bStar = ActiveStarPoint(world, level, &m_vStar);
    }

    // An arrow in the arrows state, or a part the search of the state takes.
    bool IsLive(uint32_t n) const
    {
        const ScenePart* part = m_level.GetPart(n);
        const uint32_t state = m_level.GetSceneState();
        if (!part || (part->flags & (kPartWaiting | kPartClickable)) != kPartClickable)
            return false;
        if (state == kStateArrows && part->phase == kPhaseArrows)
            return true;
        const bool ghost = part->phase == kPhaseGhost;
        if (state == kStateQuiz || (part->phase != state && !(ghost && m_ghostsClickable)))
            return false;
        const CToolbar* toolbar = m_world.GetToolbar();
        return (part->flags & kPartToggles) || ghost || (toolbar && toolbar->IsItemShown(part->itemId));
    }

    // A click at (x, y) reaches part n: off the bars, away from the active star and taken by no
    // live part walked before it.
    bool Reaches(uint32_t n, float x, float y) const
    {
        const Vector2 bars = m_world.GetToolbarSize();
        if (!m_level.IsToolbarHeightIgnored() && (x < bars.x || kVirtualScreenHeight - bars.y < y))
            return false;
        if (m_bStar && std::hypot(m_vStar.x - x, m_vStar.y - y) < m_world.GetStars()->GetHalfWidth())
            return false;
        for (uint32_t m = m_level.GetPartCount(); m-- > n + 1;) {
            if (IsLive(m) && Succeeded(m_level.HitTestPart(m, x, y)))
                return false;
        }
        return true;
    }

private:
    CVadadiDazidevWorld& m_world;
    CLevelVadadiDazidev& m_level;
    bool m_ghostsClickable = false;
    bool m_bStar = false;
    Vector2 m_vStar = {};
};

std::string PartName(const CReportTokens& tokens, CWorldData* data, uint32_t n, const ScenePart& part)
{
    const CGameData& game = *data->gameData;
    if (part.itemId < game.m_GameStrings.m_nCount)
        return tokens.Text(CPopupText::GetString(part.itemId, kGameTable, data));
    return "part" + std::to_string(n);
}

void ReportParts(CReportTokens& tokens, CVadadiDazidevWorld& world, CLevelVadadiDazidev& level)
{
    const CLiveParts live(world, level);
    for (uint32_t n = level.GetPartCount(); n-- > 0;) {
        const ScenePart& part = *level.GetPart(n);
        CPartClickPoint click{};
        const CClickRules rules{[&](float x, float y) { return tokens.Reached(x, y); },
                                [&](float x, float y) { return live.Reaches(n, x, y); }};
        if (!live.IsLive(n) || !FindPartClickPoint(level, n, rules, &click))
            continue;
        tokens.Add("part", JoinFields({PartName(tokens, world.GetData(), n, part),
                                       tokens.Point(click.point.x, click.point.y), PartKind(part),
                                       std::to_string(part.flags)}));
    }
}

// The present answers in place order, measured as the quiz draws them.
void ReportQuiz(CReportTokens& tokens, CVadadiDazidevWorld& world, CLevelVadadiDazidev& level)
{
    auto* record = static_cast<CHiddenObjectRecord*>(level.GetRecord(level.GetCurrentRecord()));
    const CGameData& game = *world.GetGameData();
    if (!record || !game.m_pMainFont || !level.IsQuizPrepared())
        return;
    const float* size = game.m_TextStyles.m_GameSize;
    for (uint32_t place = 0; place < kQuizAnswerCount; ++place) {
        const uint8_t answer = level.GetQuizOrder()[place];
        const char16_t* text = level.GetQuizText(1u + answer);
        if (answer >= kQuizAnswerCount || !record->answers[answer].IsPresent() || !text || !*text)
            continue;
        Vector3 measured{};
        game.m_pMainFont->MeasureText(&measured, text, size[0], size[1]);
        const Vector2 at = level.GetQuizPlacePoint(place);
        tokens.Add("quiz", JoinFields({std::to_string(answer),
                                       tokens.Rect(at.x - measured.x * 0.5f, at.y, measured.x, measured.y),
                                       tokens.Text(text)}));
    }
}

void ReportHiddenObject(CReportTokens& tokens, CVadadiDazidevWorld& world, CLevelVadadiDazidev& level)
{
    tokens.Add("levelbusy", level.IsBusy() || level.GetSelectedPart() != -1 ? 1 : 0);
    if (level.GetSceneState() == kStateQuiz)
        ReportQuiz(tokens, world, level);
    else
        ReportParts(tokens, world, level);
}

} // namespace

void ReportLevelState(CReportTokens& tokens, CVadadiDazidevWorld& world, CGameLevel& level)
{
    if (auto* base = dynamic_cast<CLevel*>(&level))
        ReportStar(tokens, world, *base);
    if (auto* scene = dynamic_cast<CLevelVadadiDazidev*>(&level))
        ReportHiddenObject(tokens, world, *scene);
    else if (auto* jigsaw = dynamic_cast<CLevelJigsaw*>(&level))
        ReportJigsaw(tokens, *jigsaw);
    else if (auto* shoot = dynamic_cast<CLevelShoot*>(&level))
        ReportShoot(tokens, *shoot);
    else if (auto* sliding = dynamic_cast<CLevelSliding*>(&level))
        ReportSliding(tokens, *sliding);
}

std::string LevelTypeName(CGameLevel* level)
{
    if (!level)
        return "none";
    switch (level->GetType()) {
    case kLevelTypeHiddenObject: return "hiddenobject";
    case kLevelTypeJigsaw: return "jigsaw";
    case kLevelTypeShoot: return "shoot";
    case kLevelTypeSliding: return "sliding";
    default: return "base";
    }
}
