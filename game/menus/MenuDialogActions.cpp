#include <algorithm>
#include <iterator>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Container.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MenuWebClient.h"
#include "game/menus/MenuWorld.h"
#include "platform/win32/Win32Window.h"

namespace {

// Engine key codes of the navigation keys.
constexpr uint32_t kKeyBackspace = 27;
constexpr uint32_t kKeySpace = 20;
constexpr uint32_t kKeyReturn = 26;
constexpr uint32_t kKeyNext = 43;

constexpr uint32_t kFieldMaximum = 12;
constexpr uint32_t kEmailMaximum = 30;

// The pages a web exchange ends on.
constexpr uint32_t kScoresSentPage = 18;
constexpr uint32_t kSendingScoresPage = 19;
constexpr uint32_t kWebFailurePage = 27;

} // namespace

// The node under both the press point and the pointer when the left button was released.
C3DContainer* CMenuDialog::ClickedNode(C3DContainer* layer) const
{
    if (!layer || !m_pData->mouseReleased[0])
        return nullptr;
    const Vector2 press{m_pData->pressX, m_pData->pressY};
    const Vector2 pointer{m_pData->pointerX, m_pData->pointerY};
    C3DContainer* pressed = layer->FindAt(&press);
    return pressed && pressed == layer->FindAt(&pointer) ? pressed : nullptr;
}

void CMenuDialog::OnUpdate()
{
    m_nAction = kActionNone;
    bool sound = false;
    DragSlider();
    if (C3DContainer* node = ClickedNode(m_pPageContainer)) {
        const CPlacedLine* line = PlacedLineOf(node);
        if (!line || line->state != kLineDisabled)
            sound = Dispatch(node->GetId());
    }
    sound = TypeIntoPage() || sound;
    StepWebExchange();
    if (sound)
        PlayClickSound();
}

// The slider's line widened on both sides as its scale is: its ends lie beside the line.
bool CMenuDialog::InSliderReach(C3DContainer& slider, const Vector2& pointer) const
{
    Vector3 position;
    ContainerRect rect;
    slider.GetPosition(&position);
    slider.GetHitRect(&rect);
    const float margin = 2.0f * m_SliderHalf[0];
    return pointer.x >= position.x - rect.left - margin && pointer.x <= position.x + rect.right + margin &&
           pointer.y >= position.y - rect.top && pointer.y <= position.y + rect.bottom;
}

void CMenuDialog::DragSlider()
{
    if (m_nPage != 3 || !m_pPageContainer || !m_pData->mouseDown[0])
        return;
    const Vector2 press{m_pData->pressX, m_pData->pressY};
    const Vector2 pointer{m_pData->pointerX, m_pData->pointerY};
    C3DContainer* node = m_pPageContainer->FindAt(&press);
    if (!node || (node != m_pPageContainer->FindAt(&pointer) && !InSliderReach(*node, pointer)))
        return;
    const uint32_t id = node->GetId();
    if (id == 39) {
        Game().m_fMusicVolume = SliderValue(39);
        m_pWorld->ApplyMusicVolume();
    } else if (id == 40) {
        Game().m_fSoundVolume = SliderValue(40);
        PlaySample(Game().m_fSoundVolume);
    }
}

// The field of an entry page takes the frame's character; Enter commits it. True for Enter.
bool CMenuDialog::TypeIntoPage()
{
    const char16_t* allowed = EntryCharacters(m_nPage);
    if (!m_pEntryNode || !allowed || Failed(TypeCharacter(m_nPage == 14 ? kEmailMaximum : kFieldMaximum, allowed)))
        return false;
    char16_t text[kMenuEntryUnits];
    std::copy(std::begin(m_szEntry), std::end(m_szEntry), text);
    switch (m_nPage) {
    case 11: CommitProfileName(text); break;
    case 12: CommitLogin(text); break;
    case 13: CommitPassword(text); break;
    default: CommitEmail(text); break;
    }
    return true;
}

// The effect of a clicked id; true when it sounds.
bool CMenuDialog::Dispatch(uint32_t id)
{
    CGameData& game = Game();
    switch (id) {
    case 2: SetPage(1); return true;
    case 3: SetPage(game.m_bAccount ? 18 : 15); return true;
    case 6:
        if (m_nPage == 11) {
            char16_t text[kMenuEntryUnits];
            std::copy(std::begin(m_szEntry), std::end(m_szEntry), text);
            CommitProfileName(text);
        }
        SetPage(4);
        return true;
    case 7: SetPage(3); return true;
    case 9: SetPage(2); return true;
    case 8: case 12: case 13: case 14: case 15: case 16: case 43: case 44: m_nAction = id; return true;
    case 21: m_pWorld->OpenWebLink(game.m_szMainWebSiteUrl); return true;
    case 22: SetPage(16); return true;
    case 31: case 32: case 33: return DispatchPageAnswer(id);
    case 38: return true;
    case 42: SetPage(32); return true;
    case 45: case 46: ToggleWindowMode(); return true;
    case 47: case 48: case 49: SelectSlot(id - 47); return true;
    case 51: SetPage(11); return true;
    case 54: SetPage(6); return true;
    case 55: SetPage(7); return true;
    case 56: SetPage(8); return true;
    case 57: SetPage(9); return true;
    case 64: DispatchConfirm(); return true;
    case 65: case 67: Back(false); return true;
    case 66: return DispatchPageAnswer(id);
    case 1012: SetPage(12); return true;
    case 1013: SetPage(13); return true;
    case 1107: case 1108: case 1109: game.m_nSlot = id - 1107; SetPage(5); return true;
    case 2108: SetPage(6); return true;
    case 2109: SetPage(7); return true;
    case 3107: SetPage(17); return true;
    default: break;
    }
    if (id < 68 || id >= 68 + kLanguageCount)
        return false;
    if (id - 68 != game.m_nLanguage)
        m_pWorld->ChangeLanguage(id - 68);
    Back(false);
    return true;
}

// The OK buttons of the account fields and the yes of pages 15 and 16.
bool CMenuDialog::DispatchPageAnswer(uint32_t id)
{
    CGameData& game = Game();
    char16_t text[kMenuEntryUnits];
    std::copy(std::begin(m_szEntry), std::end(m_szEntry), text);
    switch (id) {
    case 31: CommitLogin(text); break;
    case 32: CommitPassword(text); break;
    case 33: CommitEmail(text); break;
    default:
        if (m_nPage == 15) {
            game.m_szPassword[0] = 0;
            SetPage(12);
        } else if (m_nPage == 16) {
            StartSendScores();
        }
        break;
    }
    return true;
}

void CMenuDialog::DispatchConfirm()
{
    CGameData& game = Game();
    const uint32_t slot = game.m_nSlot % kProfileSlotCount;
    auto* world = dynamic_cast<CVadadiDazidevWorld*>(m_pData->world);
    switch (m_nPage) {
    case 2: m_pWorld->Quit(); break;
    case 5:
        world->ResetProfileSlot(0, slot, true);
        world->ResetProfileSlot(1, slot, true);
        m_pWorld->SaveOptions();
        SetPage(4);
        break;
    case 6: case 7:
        world->ResetProfileSlot(m_nPage - 6, slot, false);
        SetPage(1);
        break;
    case 8: case 9: {
        CProgressFields& record = game.Progress(m_nPage - 8, slot);
        record.m_bInUse = 1;
        record.m_bFinished = 0;
        m_nAction = m_nPage == 8 ? kActionNewStory : kActionNewTimed;
        break;
    }
    case 17:
        game.m_bAccount = 0;
        game.m_szLogin[0] = game.m_szPassword[0] = game.m_szEmail[0] = 0;
        m_pWorld->SaveOptions();
        SetPage(0);
        break;
    default: break;
    }
}

void CMenuDialog::ToggleWindowMode()
{
    if (Failed(m_pWorld->ToggleFullscreen(m_pData->fullscreen ? 0 : 1)))
        PostQuitMessage(0);
    m_pWorld->SaveOptions();
    SetPage(m_nPage);
}

void CMenuDialog::SelectSlot(uint32_t slot)
{
    if (Game().m_nSlot == slot)
        return;
    Game().m_nSlot = slot;
    m_pWorld->SaveOptions();
    SetPage(m_nPage);
}

void CMenuDialog::ResetWebClient()
{
    if (m_pWeb)
        m_pWeb->Reset();
}

bool CMenuDialog::HasUnsentFinishedRecord() const
{
    for (const CProfileProgress& record : Game().m_Progress) {
        if (record.m_bFinished && !record.m_bSent)
            return true;
    }
    return false;
}

void CMenuDialog::Back(bool sound)
{
    uint32_t parent = 0;
    switch (m_nPage) {
    case 3:
        m_pWorld->ApplySoundVolume();
        m_pWorld->SaveOptions();
        break;
    case 5: case 11: parent = 4; break;
    case 6: case 7: case 8: case 9: parent = 1; break;
    case 19: ResetWebClient(); parent = kScoresSentPage; break;
    case 20: ResetWebClient(); m_nWebSubState = 0; break;
    case 21: case 22: case 27: ResetWebClient(); break;
    case 23: case 24: ResetWebClient(); parent = HasUnsentFinishedRecord() ? 16 : 0; break;
    case 25: ResetWebClient(); parent = 12; break;
    case 26: ResetWebClient(); parent = 14; break;
    case 32: parent = 3; break;
    case kPageGameUnreadable: case kPageNotSaved: parent = m_nNoticeReturn; break;
    default: break;
    }
    SetPage(parent);
    if (sound)
        PlayClickSound();
}

void CMenuDialog::ShowNotice(uint32_t page, uint32_t returnPage)
{
    m_nNoticeReturn = returnPage;
    SetPage(page);
}

void CMenuDialog::StartSendScores()
{
    if (m_pWeb) {
        m_pWeb->Reset();
        m_pWeb->QueueScores(255, 255);
    }
    m_nWebSubState = 4;
    SetPage(kSendingScoresPage);
}

void CMenuDialog::FailWebExchange()
{
    m_nWebSubState = 0;
    SetPage(kWebFailurePage);
}

// One step of the account or score exchange once the fade is over and the client is idle. The
// sub-state moves on before a send, whose answer may set another. A send holds the game until its
// answer: it waits until the page that says so is on screen (drawn in a frame already presented).
void CMenuDialog::StepWebExchange()
{
    if (m_nWebSubState == 0 || !m_pWorld->IsFadeOver())
        return;
    if (!m_pWeb)
        return FailWebExchange();
    const bool sends = m_nWebSubState == 2 || m_nWebSubState == 5;
    if (!m_pWeb->IsIdle() || (sends && m_nPageDraws < kPresentedDraws))
        return;
    switch (m_nWebSubState) {
    case 1: case 4: ++m_nWebSubState; break;
    case 2:
        m_nWebSubState = 3;
        if (Failed(m_pWeb->SendSetUser()))
            FailWebExchange();
        break;
    case 5:
        m_nWebSubState = 6;
        if (!m_pWeb->HasUnsentScores()) {
            m_pWeb->Reset();
            SetPage(kScoresSentPage);
        } else if (Failed(m_pWeb->SendNext())) {
            FailWebExchange();
        }
        break;
    default: break;
    }
}

uint32_t CMenuDialog::GetClickedButton(uint32_t)
{
    const uint8_t* keys = m_pData->keyPressed;
    if (keys[kKeyBackspace])
        return kNavPrevious;
    if (keys[kKeySpace] || keys[kKeyReturn] || keys[kKeyNext])
        return kNavNext;
    C3DContainer* node = ClickedNode(m_pNavLayer);
    return node ? node->GetId() : 0;
}

void CMenuDialog::HideNavButtons()
{
    if (!m_pNavLayer)
        return;
    for (CLinkedList::Node* n = m_pNavLayer->GetChildren().Head(); n; n = n->next)
        ListObject<C3DContainer>(n->value)->SetVisible(0);
}

void CMenuDialog::ShowNav(uint32_t id)
{
    C3DContainer* node = m_pNavLayer ? m_pNavLayer->FindById(id) : nullptr;
    if (node)
        node->SetVisible(1);
}

void CMenuDialog::ShowNavButtons(bool previous, bool close, bool next)
{
    if (previous)
        ShowNav(kNavPrevious);
    if (close)
        ShowNav(kNavClose);
    if (next)
        ShowNav(close ? kNavNextBesideClose : kNavNext);
}

void CMenuDialog::ShowTimerBadge(uint8_t alpha)
{
    C3DContainer* badge = m_pNavLayer ? m_pNavLayer->FindById(kNavTimerBadge) : nullptr;
    if (!badge)
        return;
    badge->SetAlpha(alpha);
    badge->SetVisible(1);
}

void CMenuDialog::ShowMoreGamesButton() { ShowNav(kNavMoreGames); }

void CMenuDialog::ShowCollectionButton(bool highlight)
{
    if (m_bLayerFlag || highlight)
        ShowNav(highlight ? kNavCollectionLit : kNavCollection);
}

void CMenuDialog::ShowSocialButtons()
{
    const CGameData& game = Game();
    if (m_nPage != 0 || m_pEntryNode || !game.m_bWebLinks)
        return;
    if (game.m_szFacebookUrl[0])
        ShowNav(kNavFacebook);
    if (game.m_szTwitterUrl[0])
        ShowNav(kNavTwitter);
}

void CMenuDialog::UpdateNavButtons()
{
    if (m_pNavLayer)
        m_pNavLayer->UpdateWorldMatrix();
}

float CMenuDialog::GetNavigationMargin() const
{
    return std::max(0.0f, m_pData->workingHeight - (m_NavClose[1] - m_fNormalHalfWidth));
}

void CMenuDialog::RenderNavButtons()
{
    if (m_pNavLayer)
        m_pNavLayer->Render(0);
}
