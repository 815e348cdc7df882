#include "game/states/ExtraPagesScreen.h"

#include <algorithm>
#include <cmath>

#include "core/Log.h"
#include "engine3d/Font.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MoreGamesPage.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/widgets/InertiaPosition.h"

namespace {

constexpr float kCreditsSpeed = 2.0f;
constexpr float kInertiaShare = 0.25f;
constexpr float kLegalsVisibleShare = 0.75f;
constexpr float kCreditsLeft = 0.15f;
constexpr float kLegalsLeft = 0.1f;
constexpr uint32_t kOpaque = 0xFF000000;
constexpr uint8_t kFullAlpha = 255;

// The credits page's three link codes open the makers' sites.
constexpr uint32_t kFirstCreditLink = 6;
const char16_t* const kCreditLinks[] = {u"https://www.example.com/editor/", u"https://www.example.com/graphics/",
                                        u"https://www.example.com/development/"};
constexpr uint32_t kCreditLinkCount = sizeof(kCreditLinks) / sizeof(kCreditLinks[0]);

} // namespace

void CExtraPagesScreen::Update()
{
    switch (m_world.m_nState) {
    case GS_MORE_GAMES:
        m_world.StorePointerVector();
        if (m_world.m_pMoreGames)
            IgnoreResult(m_world.m_pMoreGames->Process());
        return;
    case GS_CREDITS:
        OpenCreditLink();
        return ScrollCredits(static_cast<float>(m_world.m_pData->frameFactor));
    case GS_LEGALS:
        return ScrollLegals();
    default:
        return;
    }
}

void CExtraPagesScreen::Render()
{
    switch (m_world.m_nState) {
    case GS_MORE_GAMES: return RenderMoreGames();
    case GS_CREDITS:
    case GS_LEGALS: return RenderTextPage();
    default: return LoadPage();
    }
}

void CExtraPagesScreen::LoadPage()
{
    CVadadiDazidevWorld& world = m_world;
    const uint32_t state = world.m_nState;
    if (state == GS_LOAD_MORE_GAMES) {
        if (world.m_pMenuCurrent)
            IgnoreResult(world.m_pMenuCurrent->DrawIdle(true, true));
        if (world.m_pBackground)
            IgnoreResult(world.m_pBackground->DrawLoading(false, true, false, false));
    } else if (world.m_pBackground) {
        IgnoreResult(world.m_pBackground->DrawLoadingBig());
    }
    if (!world.IsFadeOver())
        return;
    world.SetState(state + 1, 1);
    const bool events = state != GS_LOAD_CREDITS;
    if (events)
        IgnoreResult(world.RaiseHostEvent(kHostEventLoadBegin));
    using Loader = Result (CVadadiDazidevWorld::*)(uint32_t);
    const Loader load = state == GS_LOAD_MORE_GAMES ? &CVadadiDazidevWorld::ReloadMoreGames
                        : state == GS_LOAD_CREDITS  ? &CVadadiDazidevWorld::LoadCredits
                                                    : &CVadadiDazidevWorld::Load_Legals;
    if (Failed((world.*load)(world.m_GameData.m_nLanguage)) && Failed((world.*load)(0))) {
        if (state == GS_LOAD_LEGALS)
            world.FreeLegals();
        world.SetState(GS_MAIN_MENU, 1);
    } else if (state == GS_LOAD_CREDITS && world.m_pMenuDialog && Failed(world.m_pMenuDialog->BuildCredits())) {
        LogPrintf(world.m_pData->logPath, 1, u"# CMenuDialog::BuildCredits failed! the credits scroll without logos\n");
    }
    if (events)
        IgnoreResult(world.RaiseHostEvent(kHostEventLoadEnd));
}

void CExtraPagesScreen::RenderMoreGames()
{
    if (m_world.m_pMenuCurrent)
        IgnoreResult(m_world.m_pMenuCurrent->DrawIdle(true, true));
    if (m_world.m_pMoreGames)
        IgnoreResult(m_world.m_pMoreGames->Render());
    if (m_world.ClickedButton() != kPopupButtonClose || !m_world.IsFadeOver())
        return;
    m_world.m_pMenuDialog->PlayClickSound();
    m_world.ReleaseMoreGames();
    m_world.SetState(GS_MAIN_MENU, 1);
}

void CExtraPagesScreen::RenderTextPage()
{
    CVadadiDazidevWorld& world = m_world;
    if (world.m_pMenuCurrent)
        IgnoreResult(world.m_pMenuCurrent->DrawIdle(true, true));
    if (world.m_pBackground)
        IgnoreResult(world.m_pBackground->DrawBackground(kFullAlpha));
    if (world.m_nState == GS_CREDITS) {
        if (world.m_pMenuDialog)
            world.m_pMenuDialog->RenderCredits();
        DrawCredits();
    }
    world.ShowNavButtons(false, true, false);
    world.RenderNavButtons();
    if (world.m_nState == GS_LEGALS)
        DrawLegals();
    CloseOnClick();
}

void CExtraPagesScreen::CloseOnClick()
{
    if (m_world.ClickedButton() != kPopupButtonClose || !m_world.IsFadeOver())
        return;
    m_world.m_pMenuDialog->PlayClickSound();
    m_world.SetState(GS_MAIN_MENU, 1);
}

void CExtraPagesScreen::OpenCreditLink()
{
    CMenuDialog* dialog = m_world.m_pMenuDialog.get();
    const uint32_t code = dialog ? dialog->UpdateCredits() : kLineOwnId;
    if (code >= kFirstCreditLink && code - kFirstCreditLink < kCreditLinkCount && m_world.m_GameData.m_bWebLinks)
        m_world.OpenWebLink(kCreditLinks[code - kFirstCreditLink]);
}

void CExtraPagesScreen::ScrollCredits(float frames)
{
    CVadadiDazidevWorld& world = m_world;
    const float screen = world.m_pData->workingHeight;
    const float loop = screen * 0.5f + world.m_Scroll.m_fHeight;
    float& offset = world.m_Scroll.m_fOffset;
    offset -= kCreditsSpeed * frames;
    // A loop that is not a positive finite length never ends the wrap.
    if (loop > 0.0f && std::isfinite(loop)) {
        while (offset < -loop)
            offset += 2.0f * loop;
        while (offset > loop)
            offset -= 2.0f * loop;
    }
    if (world.m_Scroll.m_bEntering && offset > screen) {
        offset = screen;
        if (world.m_Scroll.m_pInertia)
            world.m_Scroll.m_pInertia->Stop();
    }
    AddInertia();
}

void CExtraPagesScreen::ScrollLegals()
{
    AddInertia();
    CVadadiDazidevWorld& world = m_world;
    const float lowest =
        std::min(0.0f, -(world.m_Scroll.m_fHeight - kLegalsVisibleShare * world.m_pData->workingHeight));
    world.m_Scroll.m_fOffset = std::clamp(world.m_Scroll.m_fOffset, lowest, 0.0f);
}

void CExtraPagesScreen::AddInertia()
{
    if (!m_world.m_Scroll.m_pInertia)
        return;
    Vector3 step{};
    m_world.m_Scroll.m_pInertia->Step(&step);
    m_world.m_Scroll.m_fOffset += step.y * kInertiaShare;
}

void CExtraPagesScreen::DrawCredits()
{
    CVadadiDazidevWorld& world = m_world;
    const char16_t* text = world.m_Scroll.m_pText.get();
    if (!text || !world.m_pMainFont)
        return;
    const float screen = world.m_pData->workingHeight;
    const float x = kCreditsLeft * world.m_pData->workingWidth;
    const float offset = world.m_Scroll.m_fOffset, height = world.m_Scroll.m_fHeight;
    if (offset > 0.0f && !world.m_Scroll.m_bEntering)
        DrawTextAt(text, x, offset - (screen * 0.5f + height), 0);
    DrawTextAt(text, x, offset, 0);
    if (offset + height < screen)
        DrawTextAt(text, x, offset + height, 0);
    if (offset < 0.0f || offset + height < screen)
        world.m_Scroll.m_bEntering = 0;
}

void CExtraPagesScreen::DrawLegals()
{
    CVadadiDazidevWorld& world = m_world;
    const CWorldData& data = *world.m_pData;
    float y = world.m_Scroll.m_fOffset;
    const float x = kLegalsLeft * data.workingWidth;
    for (const std::unique_ptr<CLegalItem>& item : world.m_Scroll.m_Legals) {
        const float height = item->m_Size.y;
        if (y < data.workingHeight && y + height > 0.0f && DrawTextAt(item->m_szWrapped, x, y, item->m_bMarked) &&
            data.mouseReleased[0] && world.m_GameData.m_bWebLinks)
            world.OpenWebLink(item->m_szRaw);
        y += height;
    }
}

bool CExtraPagesScreen::DrawTextAt(const char16_t* text, float x, float y, uint8_t link)
{
    const CTextStyles& styles = m_world.m_GameData.m_TextStyles;
    const CWorldData& data = *m_world.m_pData;
    const Vector3 position{x, y, 0.0f};
    const Vector2 pointer{data.pointerX, data.pointerY};
    Vector3 out{};
    m_world.m_pMainFont->HitTestText(&out, text, &position, 0, kOpaque | styles.m_LegalsColors[link ? 1 : 0],
                                     styles.m_LegalsSize[0], styles.m_LegalsSize[1], link ? &pointer : nullptr,
                                     nullptr, 0);
    return link && out.z == 1.0f;
}
