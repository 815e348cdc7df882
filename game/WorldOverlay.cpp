#include "base/WideFormat.h"
#include "engine3d/Font.h"
#include "game/CharsetRemap.h"
#include "game/ScenePartKinds.h"
#include "game/VadadiDazidevWorld.h"

// The developer overlay over the in-game state: one line naming the current level, its record
// and (in a hidden-object scene) the kind of its scene state; with the level-list switch every
// level in three columns.

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr float kListScale = 0.77f;
constexpr float kColumnLefts[] = {0.08f, 0.38f, 0.68f};
constexpr uint32_t kColumns = 3;
constexpr size_t kLineUnits = 128;

const char16_t* LevelTypeName(uint32_t type)
{
    switch (type) {
    case kLevelTypeJigsaw:
        return u" - JIGSAW";
    case kLevelTypeShoot:
        return u" - SHOOT";
    case kLevelTypeSliding:
        return u" - SLIDING";
    default:
        return u" - Kvo";
    }
}

// The line with the main font at (x, y) in the credits colour; the y of the line below it.
float DrawOverlayLine(CWorldData* data, char16_t* line, float x, float y, float scale)
{
    CGameData& game = *data->gameData;
    if (IsCharsetMode(game))
        ApplyCharsetRemap(line, data);
    const CTextStyles& styles = game.m_TextStyles;
    const Vector3 position{x, y, 0.0f};
    Vector3 out{};
    game.m_pMainFont->HitTestText(&out, line, &position, 0, kOpaque | styles.m_LegalsColors[0],
                                  styles.m_GameSize[0] * scale, styles.m_GameSize[1] * scale, nullptr, nullptr, 0);
    return out.y;
}

} // namespace

void CVadadiDazidevWorld::DrawDeveloperOverlay()
{
    if (!m_pMainFont)
        return;
    char16_t line[kLineUnits];
    if (!m_GameData.m_bOverlayLevelList) {
        CGameLevel* level = GetCurrentLevel();
        const uint32_t record = level ? level->GetCurrentRecord() : kNoIndex;
        if (!level || record == kNoIndex)
            return;
        const uint32_t kind = level->GetSceneState();
        if (level->GetType() == kLevelTypeHiddenObject)
            WFormat(line, kLineUnits, u"lvl:%d / param:%d / %S", m_nCurrentScene + 1, record + 1,
                    kind < kScenePartKindCount ? kScenePartKinds[kind].code : "");
        else
            WFormat(line, kLineUnits, u"lvl:%d / param:%d", m_nCurrentScene + 1, record + 1);
        DrawOverlayLine(m_pData, line, 0.0f, 0.0f, 1.0f);
        return;
    }
    float y = 0.0f;
    for (uint32_t n = 0, column = 0; n < m_nSceneCount; ++n) {
        CGameLevel* level = GetScene(n);
        if (!level)
            continue;
        if (n * kColumns / m_nSceneCount != column) {
            column = n * kColumns / m_nSceneCount;
            y = 0.0f;
        }
        const char16_t* format = n == m_nCurrentScene ? u"* lvl %d - param %d/%d" : u"lvl %d - param %d/%d";
        const size_t length =
            WFormat(line, kLineUnits, format, n + 1, level->GetCurrentRecord() + 1, level->GetRecordCount());
        WFormat(line + length, kLineUnits - length, u"%s", LevelTypeName(level->GetType()));
        y = DrawOverlayLine(m_pData, line, kColumnLefts[column] * m_pData->configuredWidth, y, kListScale);
    }
}
