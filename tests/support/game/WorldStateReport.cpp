#include "tests/support/game/WorldStateReport.h"

#include <cmath>
#include <cstdint>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "engine3d/Container.h"
#include "engine3d/Font.h"
#include "game/GameData.h"
#include "game/GameStates.h"
#include "game/GameTooltip.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MoreGamesPage.h"
#include "game/widgets/Hint.h"
#include "game/widgets/ScreenQuads.h"
#include "game/widgets/Toolbar.h"
#include "tests/support/game/LevelStateReport.h"
#include "tests/support/game/ReportTokens.h"

namespace {

constexpr int64_t kHintTool = 100;

int64_t OrNone(uint32_t value)
{
    return value == kNoIndex ? -1 : int64_t{value};
}

// A node's hit rectangle around its world position.
std::string NodeRect(const CReportTokens& tokens, C3DContainer& node)
{
    Vector3 p{};
    node.GetPosition(&p);
    ContainerRect hit{};
    node.GetHitRect(&hit);
    return tokens.Rect(p.x - hit.left, p.y - hit.top, hit.left + hit.right, hit.top + hit.bottom);
}

bool HasHitRect(C3DContainer& node)
{
    ContainerRect hit{};
    node.GetHitRect(&hit);
    return hit.left + hit.right > 0.0f && hit.top + hit.bottom > 0.0f;
}

bool IsPlacedLine(CMenuDialog& dialog, C3DContainer* node)
{
    CMenuLine line{};
    for (uint32_t n = 0; C3DContainerText* placed = dialog.GetPlacedLine(n, &line); ++n) {
        if (placed == node)
            return true;
    }
    return false;
}

// The dialog's lines, its entry field and the other clickable nodes of its page.
void ReportPage(CReportTokens& tokens, CMenuDialog& dialog)
{
    CMenuLine line{};
    for (uint32_t n = 0; C3DContainerText* node = dialog.GetPlacedLine(n, &line); ++n) {
        if (!node->IsVisible())
            continue;
        const std::string id = std::to_string(line.id);
        const std::string text = tokens.Text(node->GetText());
        if (node == dialog.GetEntryNode())
            tokens.Add("edit", JoinFields({id, NodeRect(tokens, *node), tokens.Text(dialog.GetEntryText())}));
        else if (line.kind == kLineText)
            tokens.Add("line", JoinFields({id, NodeRect(tokens, *node), text}));
        else
            tokens.Add("button", JoinFields({id, NodeRect(tokens, *node), line.state == kLineDisabled ? "0" : "1", text}));
    }
    C3DContainer* page = dialog.GetPageContainer();
    if (!page)
        return;
    for (CLinkedList::Node* n = page->GetChildren().Head(); n; n = n->next) {
        C3DContainer* node = ListObject<C3DContainer>(n->value);
        if (node->IsVisible() && HasHitRect(*node) && !IsPlacedLine(dialog, node))
            tokens.Add("button", JoinFields({std::to_string(node->GetId()), NodeRect(tokens, *node), "1", ""}));
    }
}

// The states that draw the navigation layer.
bool ShowsNavButtons(uint32_t state)
{
    switch (state) {
    case GS_MAIN_MENU: case GS_MORE_GAMES: case GS_CREDITS: case GS_LEGALS: case GS_END_TEXT: case GS_OUTRO_MENU:
    case GS_INGAME_POPUP: case GS_IN_GAME: case GS_LEVEL_MESSAGE: case GS_INGAME_MENU: case GS_SCENE_MODAL:
    case GS_SCENE_INTRO_TEXT:
        return true;
    default:
        return false;
    }
}

void ReportNavButtons(CReportTokens& tokens, CMenuDialog& dialog)
{
    C3DContainer* layer = dialog.GetNavLayer();
    if (!layer)
        return;
    for (CLinkedList::Node* n = layer->GetChildren().Head(); n; n = n->next) {
        C3DContainer* node = ListObject<C3DContainer>(n->value);
        if (!node->IsVisible() || !HasHitRect(*node))
            continue;
        const uint32_t id = node->GetId() % kReportNavButtonBase;
        tokens.Add("button", JoinFields({std::to_string(kReportNavButtonBase + id), NodeRect(tokens, *node), "1", ""}));
    }
}

// The games of the shown more-games page, each with its icon's rectangle, and the one whose
// description shows (-1 for none).
void ReportMoreGames(CReportTokens& tokens, CMoreGamesPage& page)
{
    tokens.Add("selected", int64_t{page.GetSelected()});
    C3DContainer* pages = page.GetPages();
    for (CLinkedList::Node* p = pages ? pages->GetChildren().Head() : nullptr; p; p = p->next) {
        C3DContainer* shown = ListObject<C3DContainer>(p->value);
        for (CLinkedList::Node* n = shown->IsVisible() ? shown->GetChildren().Head() : nullptr; n; n = n->next) {
            C3DContainer* game = ListObject<C3DContainer>(n->value);
            tokens.Add("game", JoinFields({std::to_string(game->GetId()), NodeRect(tokens, *game)}));
        }
    }
}

// The pop-up a state shows, and its kind; null when none.
CPopupText* ShownPopup(CVadadiDazidevWorld& world, const char** kind)
{
    switch (world.GetState()) {
    case GS_SCENE_INTRO_TEXT: *kind = "intro"; return world.GetWaitingPopup();
    case GS_SCENE_MODAL: *kind = "tutorial"; return world.GetTutorialPopup();
    case GS_INGAME_POPUP: *kind = "ingame"; return world.GetIngamePopup();
    case GS_END_TEXT: *kind = "endtext"; return world.GetIngamePopup();
    default: return nullptr;
    }
}

// The page's text as its node lays it out and draws it with the main font.
void ReportPopupBox(CReportTokens& tokens, CVadadiDazidevWorld& world, CPopupText& popup)
{
    C3DContainerText* node = popup.GetTextNode();
    CVarnFont* font = world.GetMainFont();
    const char16_t* text = node ? node->GetText() : nullptr;
    if (!font || !text || !*text)
        return;
    Vector3 size{}, at{};
    node->GetPosition(&at);
    const Vector2 scale = node->GetScale();
    font->MeasureText(&size, text, scale.x, scale.y);
    font->AlignPosition(&at, &at, node->GetAlign(), &size);
    tokens.Add("popupbox", tokens.Rect(at.x, at.y, size.x, size.y));
}

void ReportPopups(CReportTokens& tokens, CVadadiDazidevWorld& world)
{
    const CWorldData& data = *world.GetData();
    const char* kind = "";
    if (CPopupText* popup = ShownPopup(world, &kind)) {
        tokens.Add("popup", JoinFields({kind, tokens.Rect(0.0f, 0.0f, data.workingWidth, data.workingHeight)}));
        tokens.Add("popuptext", tokens.Text(popup->GetPage()));
        ReportPopupBox(tokens, world, *popup);
    } else if (world.GetState() == GS_LEVEL_MESSAGE) {
        tokens.Add("popup", JoinFields({"message", tokens.Rect(0.0f, 0.0f, data.workingWidth, data.workingHeight)}));
    }
    if (world.GetState() != GS_IN_GAME)
        return;
    // A shown panel folds at any click that reaches the toolbar's share.
    for (uint32_t n = 0; n < world.GetTooltipCount(); ++n) {
        CGameTooltip* tooltip = world.GetTooltip(n);
        if (tooltip && !tooltip->IsHidden() && tooltip->GetSlideState() == kTooltipShown)
            tokens.Add("tooltip", JoinFields({std::to_string(n), tokens.Rect(0.0f, 0.0f, data.workingWidth,
                                                                              data.workingHeight)}));
    }
}

void ReportToolbar(CReportTokens& tokens, CVadadiDazidevWorld& world, CToolbar& toolbar)
{
    // Laid out as the toolbar draws its row.
    float x = toolbar.GetStartX();
    const float top = toolbar.GetRowY();
    uint32_t index = 0;
    for (CLinkedList::Node* n = toolbar.GetItems().Head(); n; n = n->next, ++index) {
        const ToolbarItem& item = *ListObject<ToolbarItem>(n->value);
        const float left = x - item.xOffset;
        x += item.labelSize.x + toolbar.GetSeparatorX();
        if (!item.shown)
            continue;
        const bool found = item.state == kItemHighlight || item.state == kItemFadeOut;
        tokens.Add("item", JoinFields({std::to_string(index), found ? "1" : "0",
                                       tokens.Rect(left, top, item.labelSize.x, item.labelSize.y),
                                       tokens.Text(CPopupText::GetString(item.stringId, kGameTable, world.GetData()))}));
    }
    static const char* const kToolNames[] = {"menu", "zoom", "nozoom", "tutorial"};
    C3DContainer* menubar = toolbar.GetMenubar();
    for (CLinkedList::Node* n = menubar ? menubar->GetChildren().Head() : nullptr; n; n = n->next) {
        C3DContainer* node = ListObject<C3DContainer>(n->value);
        const uint32_t id = node->GetId();
        if (node->IsVisible() && HasHitRect(*node) && id < 4)
            tokens.Add("tool", JoinFields({std::to_string(id), NodeRect(tokens, *node), kToolNames[id]}));
    }
}

// The hint button unless the level locks the player's help.
void ReportHint(CReportTokens& tokens, const CWorldData& data, const CHint& hint, bool locked)
{
    const Vector3& p = hint.GetPosition();
    const float half = hint.GetHalfWidth();
    if (!locked)
        tokens.Add("tool", JoinFields({std::to_string(kHintTool),
                                       tokens.Rect(p.x - half, p.y - half, 2 * half, 2 * half), "hint"}));
    // While the glow shows, the next click only fades it. It is drawn by the first view.
    Vector3 target{};
    if (data.math && data.gameData)
        data.math->TransformPoint(&target, &hint.GetTarget(), &data.gameData->m_matView[0]);
    const bool shown = hint.GetGlowState() == kGlowFadeIn || hint.GetGlowState() == kGlowShow;
    tokens.Add("glow", JoinFields({shown ? "1" : "0", tokens.Point(target.x, target.y)}));
    tokens.Add("hintframe", hint.GetFrame());
}

void ReportScalars(CReportTokens& tokens, CVadadiDazidevWorld* world)
{
    CGameLevel* level = world ? world->GetCurrentLevel() : nullptr;
    const uint32_t state = world ? world->GetState() : 0;
    const bool dialogShown = state == GS_MAIN_MENU || state == GS_INGAME_MENU;
    CMenuDialog* dialog = world ? world->GetMenuDialog() : nullptr;
    tokens.Add("state", world ? int64_t{state} : -1);
    tokens.Add("pending", world && world->GetPendingState() != GS_NONE ? int64_t{world->GetPendingState()} : -1);
    tokens.Add("page", dialog && dialogShown ? int64_t{dialog->GetPage()} : -1);
    tokens.Add("scene", world ? OrNone(world->GetCurrentSceneIndex()) : -1);
    const CGameData* game = world ? world->GetGameData() : nullptr;
    tokens.Add("record", game && game->m_nMode < kProfileModeCount ? int64_t{game->m_nSlot} : -1);
    tokens.Add("scenestate", level ? OrNone(level->GetSceneState()) : -1);
    tokens.Add("level", LevelTypeName(level));
    tokens.Add("hints", world && world->GetHint() ? int64_t{world->GetHint()->GetCount()} : -1);
    // The hint's charge in hundredths of a frame unit.
    if (world && world->GetHint())
        tokens.Add("charge", static_cast<int64_t>(std::lround(world->GetHint()->GetCharge() * 100.0f)));
    if (!world)
        return;
    tokens.Add("slot", game->m_nSlot);
    tokens.Add("mode", game->m_nMode);
    tokens.Add("scenerecord", level ? OrNone(level->GetCurrentRecord()) : -1);
    tokens.Add("idle", world->IsLevelIdle() && !world->IsChangePending() ? 1 : 0);
    tokens.Add("faded", world->IsFadeOver() ? 1 : 0);
    const CWorldData& data = *world->GetData();
    tokens.Add("screen", tokens.Rect(0.0f, 0.0f, data.workingWidth, data.workingHeight));
    // The volumes in tenths, as the sliders set them.
    tokens.Add("music", static_cast<int64_t>(game->m_fMusicVolume * 10.0f + 0.5f));
    tokens.Add("sound", static_cast<int64_t>(game->m_fSoundVolume * 10.0f + 0.5f));
}

} // namespace

std::string ReportWorldState(CVadadiDazidevWorld* world)
{
    CReportTokens tokens(world ? world->GetData() : nullptr);
    ReportScalars(tokens, world);
    if (!world)
        return tokens.Text();
    CMenuDialog* dialog = world->GetMenuDialog();
    const uint32_t state = world->GetState();
    if (dialog && (state == GS_MAIN_MENU || state == GS_INGAME_MENU))
        ReportPage(tokens, *dialog);
    if (dialog && ShowsNavButtons(state))
        ReportNavButtons(tokens, *dialog);
    ReportPopups(tokens, *world);
    if (state == GS_MORE_GAMES && world->GetMoreGamesPage())
        ReportMoreGames(tokens, *world->GetMoreGamesPage());
    CGameLevel* level = world->GetCurrentLevel();
    if (state != GS_IN_GAME || !level)
        return tokens.Text();
    tokens.AddList("bars", {level->IsToolbarHeightIgnored() ? 0 : 1, level->IsToolbarHidden() ? 0 : 1});
    if (world->GetToolbar() && !level->IsToolbarHidden())
        ReportToolbar(tokens, *world, *world->GetToolbar());
    if (world->GetHint())
        ReportHint(tokens, *world->GetData(), *world->GetHint(), level->IsPlayerHelpLocked());
    ReportLevelState(tokens, *world, *level);
    return tokens.Text();
}
