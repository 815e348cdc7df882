#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/GameTimer.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/menus/MenuDialog.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kLastTutorialStep = 10;
constexpr float kTutorialTimerSeconds = 99.0f;
constexpr uint32_t kTimedMode = 1;
// The tutorial table entry each step shows; kNoTutorialText clears the pop-up.
constexpr uint32_t kNoTutorialText = 0xFFFFFFFFu;
constexpr uint32_t kTutorialTexts[kLastTutorialStep + 1] = {kNoTutorialText, kNoTutorialText, 5, 9, 11, 13, 14,
                                                            15, 16, 17, 18};

// The developer overlay's colours of a part's standing.
constexpr uint32_t kOverlayOtherPhase = 0xFF808080u;
constexpr uint32_t kOverlayToggles = 0xFFFF0000u;
constexpr uint32_t kOverlayBusy = 0xFFFF9600u;
constexpr uint32_t kOverlayListed = 0xFF00FF00u;
constexpr uint32_t kOverlayClickable = 0xFFC8C800u;
constexpr uint32_t kOverlayOther = 0xFF0000FFu;
constexpr uint32_t kNoItemId = 0xFFFFFFFFu;
constexpr float kTutorialRows[] = {0.4f, 0.6f, 0.8f};
// The hint pictures of steps 7 and 8 lie in the pop-up's box under its text, not on the screen's
// bottom edge where half of them would be cut off.
constexpr float kTutorialPictureRow = 0.625f;

// The colour a part is drawn in this frame; 0 when it is not drawn.
uint32_t PartColour(const ScenePart& part)
{
    const bool fadingOut = (part.flags & kPartFadingOut) && part.alpha > 0.0f;
    const bool fadingIn = (part.flags & kPartFadingIn) && part.alpha < 1.0f;
    if (fadingOut || fadingIn)
        return (static_cast<uint32_t>(part.alpha * 255.0f) << 24) | 0x00FFFFFFu;
    return (part.flags & kPartDrawn) ? kWhite : 0;
}

} // namespace

void CLevelVadadiDazidev::DrawPass(bool second)
{
    CGameData* game = Game();
    if (!m_pDisplay || !game)
        return;
    IgnoreResult(m_pDisplay->SetMatrixPointer(&game->m_matView[second ? 1 : 0]));
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        const ScenePart& part = m_pParts[n];
        const bool marked = (part.flags & kPartSecondView) != 0;
        if (marked != second || (!second && (part.phase == kPhaseEffects || part.phase == kPhaseArrows)))
            continue;
        if (const uint32_t colour = PartColour(part)) {
            m_pDisplay->SetColor(colour);
            IgnoreResult(m_pDisplay->RenderPart(n));
        }
    }
}

void CLevelVadadiDazidev::DrawParts()
{
    DrawPass(false);
}

// The star is drawn by the world's draw pass, after the level.
void CLevelVadadiDazidev::Render()
{
    if (m_nSceneState < kSearchStateCount || m_nSceneState == kStateQuiz) {
        DrawParts();
    } else if (m_nSceneState == kStateArrows) {
        DrawParts();
        RenderParts();
    }
    DrawPass(true);
    const CGameData* game = Game();
    if (game && game->m_bDebugCollision)
        DrawCollisionOverlay(game->m_bOverlayLevelList != 0);
}

uint32_t CLevelVadadiDazidev::OverlayColour(const ScenePart& part) const
{
    const bool clickable = (part.flags & kPartClickable) != 0;
    if (part.phase != m_nSceneState)
        return kOverlayOtherPhase;
    if (m_nSceneState == kStateArrows)
        return clickable ? kOverlayClickable : kOverlayOtherPhase;
    if (part.flags & kPartToggles)
        return kOverlayToggles;
    if (part.flags & (kPartWaiting | kPartFadingIn | kPartFadingOut))
        return kOverlayBusy;
    CToolbar* toolbar = Toolbar();
    if (toolbar && toolbar->FindItem(part.itemId))
        return kOverlayListed;
    return clickable ? kOverlayClickable : kOverlayOther;
}

// Every collision part in the colour of its standing; with numbers, the item id of each live
// part (the part index of an arrow) at its point.
void CLevelVadadiDazidev::DrawCollisionOverlay(bool numbers)
{
    CGameData* game = Game();
    if (!m_pCollision || !game)
        return;
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        const ScenePart& part = m_pParts[n];
        Matrix4& view = game->m_matView[(part.flags & kPartSecondView) ? 1 : 0];
        IgnoreResult(m_pCollision->SetMatrixPointer(&view));
        m_pCollision->SetColor(OverlayColour(part));
        IgnoreResult(m_pCollision->RenderPart(n));
        const bool live = part.itemId != kNoItemId && part.phase == m_nSceneState;
        if (!numbers || !game->m_pMainFont || !m_pWorldData->math || (!live && part.phase != kPhaseArrows))
            continue;
        char16_t text[16];
        WFormat(text, 16, u"%d", live ? part.itemId : n);
        if (IsCharsetMode(*game))
            ApplyCharsetRemap(text, m_pWorldData);
        const Vector3 point{part.x, part.y, 0.0f};
        Vector3 screen{}, out{};
        m_pWorldData->math->TransformPoint(&screen, &point, &view);
        const CTextStyles& styles = game->m_TextStyles;
        game->m_pMainFont->HitTestText(&out, text, &screen, 0, kOpaque | styles.m_GameColors[0], styles.m_GameSize[0],
                                       styles.m_GameSize[1], nullptr, nullptr, 0);
    }
}

void CLevelVadadiDazidev::BeginModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return;
    game->m_nTutorialStep = 1;
    if (CPopupText* popup = world->GetTutorialPopup()) {
        popup->SetText(game->m_TutorialTable[3], kGameTable);
        popup->OnTextNext();
    }
}

Result CLevelVadadiDazidev::UpdateModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return RES_FAIL;
    uint32_t& step = game->m_nTutorialStep;
    if (step == 4 && !game->m_bTutorial)
        step = 5;
    if (step == 5 && game->m_nMode != kTimedMode)
        step = 6;
    if (step == 9 && AreStarsDisabled())
        step = 10;
    if (step > kLastTutorialStep)
        return RES_FAIL;
    if (CPopupText* popup = world->GetTutorialPopup()) {
        if (kTutorialTexts[step] == kNoTutorialText)
            popup->Clear();
        else
            popup->SetText(game->m_TutorialTable[kTutorialTexts[step]], kGameTable);
        popup->OnTextNext();
    }
    return RES_OK;
}

// Step 3's text split at its line breaks into three lines at 40, 60 and 80 per cent of the
// height, from a quarter of the width beside the dialog's border.
void CLevelVadadiDazidev::DrawTutorialLines()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CVarnFont* font = game ? game->m_pMainFont : nullptr;
    if (!font || !world)
        return;
    char16_t text[kQuizTextUnits];
    WStrCopy(text, kQuizTextUnits, CPopupText::GetString(game->m_TutorialTable[9], kGameTable, m_pWorldData));
    ReplaceChar(text, game->m_nLineBreakMark, u'\n');
    const CMenuDialog* dialog = world->GetMenuDialog();
    const float x = m_pWorldData->workingWidth * 0.25f + (dialog ? dialog->GetDialogBorder() : 0.0f);
    const float* size = game->m_TextStyles.m_GameSize;
    const uint32_t colour = kOpaque | game->m_TextStyles.m_GameColors[0];
    char16_t* line = text;
    for (float row : kTutorialRows) {
        char16_t* end = line;
        while (*end && *end != u'\n')
            ++end;
        const bool last = *end == 0;
        *end = 0;
        const Vector3 position{x, m_pWorldData->workingHeight * row, 0.0f};
        Vector3 out{};
        font->HitTestText(&out, line, &position, 0, colour, size[0], size[1], nullptr, nullptr, 0);
        if (last)
            break;
        line = end + 1;
    }
}

void CLevelVadadiDazidev::RenderModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return;
    CToolbar* toolbar = world->GetToolbar();
    CHint* hint = world->GetHint();
    CPopupText* popup = world->GetTutorialPopup();
    const float height = m_pWorldData->workingHeight;
    switch (game->m_nTutorialStep) {
    case 2:
        if (toolbar) {
            toolbar->RenderToolbarStrip();
            toolbar->RenderItems();
        }
        break;
    case 3:
        if (toolbar) {
            toolbar->RenderToolbarStrip();
            toolbar->RenderItems();
            toolbar->RenderMenubar();
        }
        if (hint)
            hint->RenderAt(0.0f);
        DrawTutorialLines();
        return;
    case 4:
        world->DrawTooltips();
        break;
    case 5:
        if (CGameTimer* timer = world->GetTimer())
            timer->DrawSeconds(kTutorialTimerSeconds);
        break;
    case 6:
        if (popup)
            popup->DrawBackdrop(true, true, false);
        break;
    case 7:
        if (hint) {
            hint->RenderTutorialTimers(height * kTutorialPictureRow);
            hint->RenderAt(0.0f);
        }
        break;
    case 8:
        if (hint)
            hint->RenderAt(height * kTutorialPictureRow);
        break;
    case 9:
        RenderModalMessage();
        return;
    default:
        break;
    }
    if (popup)
        IgnoreResult(popup->Render());
}
