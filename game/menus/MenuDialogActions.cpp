#include <algorithm>
#include <iterator>

#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Container.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
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
    if (m_nPage != kPageOptions || !m_pPageContainer || !m_pData->mouseDown[0])
        return;
    const Vector2 press{m_pData->pressX, m_pData->pressY};
    const Vector2 pointer{m_pData->pointerX, m_pData->pointerY};
    C3DContainer* node = m_pPageContainer->FindAt(&press);
    if (!node || (node != m_pPageContainer->FindAt(&pointer) && !InSliderReach(*node, pointer)))
        return;
    const uint32_t id = node->GetId();
    if (id == kLineMusicSlider) {
        Game().m_fMusicVolume = SliderValue(kLineMusicSlider);
        m_pWorld->ApplyMusicVolume();
    } else if (id == kLineSoundSlider) {
        Game().m_fSoundVolume = SliderValue(kLineSoundSlider);
        PlaySample(Game().m_fSoundVolume);
    }
}

// The field of an entry page takes the frame's character; Enter commits it. True for Enter.
bool CMenuDialog::TypeIntoPage()
{
    const char16_t* allowed = EntryCharacters(m_nPage);
    if (!m_pEntryNode || !allowed || Failed(TypeCharacter(m_nPage == kPageEmail ? kEmailMaximum : kFieldMaximum, allowed)))
        return false;
    char16_t text[kMenuEntryUnits];
    std::copy(std::begin(m_szEntry), std::end(m_szEntry), text);
    switch (m_nPage) {
    case kPageProfileName: CommitProfileName(text); break;
    case kPageLogin: CommitLogin(text); break;
    case kPagePassword: CommitPassword(text); break;
    default: CommitEmail(text); break;
    }
    return true;
}

// The effect of a clicked id; true when it sounds.
bool CMenuDialog::Dispatch(uint32_t id)
{
    CGameData& game = Game();
    switch (id) {
    case kLinePlay: SetPage(kPagePlay); return true;
    case kLineWebScores: SetPage(game.m_bAccount ? kPageWebMenu : kPageCreateAccount); return true;
    case kLineProfiles:
        if (m_nPage == kPageProfileName) {
            char16_t text[kMenuEntryUnits];
            std::copy(std::begin(m_szEntry), std::end(m_szEntry), text);
            CommitProfileName(text);
        }
        SetPage(kPageProfiles);
        return true;
    case kLineOptions: SetPage(kPageOptions); return true;
    case kLineQuit: SetPage(kPageQuit); return true;
    case kActionMoreGames: case kActionNewStory: case kActionContinueStory: case kActionNewTimed:
    case kActionContinueTimed: case kActionEndOfStory: case kActionCredits: case kActionLegals:
        m_nAction = id;
        return true;
    case kLineMainWebSite: m_pWorld->OpenWebLink(game.m_szMainWebSiteUrl); return true;
    case kLineSendScores: SetPage(kPageSendScores); return true;
    case kLineLoginOk: case kLinePasswordOk: case kLineEmailOk: return DispatchPageAnswer(id);
    case kLineEntryField: return true;
    case kLineLanguages: SetPage(kPageLanguages); return true;
    case kLineWindowed: case kLineFullScreen: ToggleWindowMode(); return true;
    case ProfileLine(0): case ProfileLine(1): case ProfileLine(2): SelectSlot(id - kLineProfile1); return true;
    case kLineRenameProfile: SetPage(kPageProfileName); return true;
    case kLineForgetStory: SetPage(kPageForgetStory); return true;
    case kLineForgetTimed: SetPage(kPageForgetTimed); return true;
    case kLineRestartStory: SetPage(kPageRestartStory); return true;
    case kLineRestartTimed: SetPage(kPageRestartTimed); return true;
    case kLineYes: DispatchConfirm(); return true;
    case kLineNo: case kLineBack: Back(false); return true;
    case kLineWebYes: return DispatchPageAnswer(id);
    case PreviousFieldId(kPagePassword): SetPage(kPageLogin); return true;
    case PreviousFieldId(kPageEmail): SetPage(kPagePassword); return true;
    case SideButtonId(kSideEraseProfile, 0): case SideButtonId(kSideEraseProfile, 1):
    case SideButtonId(kSideEraseProfile, 2):
        game.m_nSlot = id - SideButtonId(kSideEraseProfile, 0);
        SetPage(kPageEraseProfile);
        return true;
    // The play page's mode lines follow its profile line.
    case SideButtonId(kSideForgetMode, 1): SetPage(kPageForgetStory); return true;
    case SideButtonId(kSideForgetMode, 2): SetPage(kPageForgetTimed); return true;
    case SideButtonId(kSideForgetAccount, 0): SetPage(kPageForgetAccount); return true;
    default: break;
    }
    if (id < LanguageLine(0) || id >= LanguageLine(kLanguageCount))
        return false;
    if (id - kLineLanguage1 != game.m_nLanguage)
        m_pWorld->ChangeLanguage(id - kLineLanguage1);
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
    case kLineLoginOk: CommitLogin(text); break;
    case kLinePasswordOk: CommitPassword(text); break;
    case kLineEmailOk: CommitEmail(text); break;
    default:
        if (m_nPage == kPageCreateAccount) {
            game.m_szPassword[0] = 0;
            SetPage(kPageLogin);
        } else if (m_nPage == kPageSendScores) {
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
    switch (m_nPage) {
    case kPageQuit: m_pWorld->Quit(); break;
    case kPageEraseProfile:
        for (uint32_t mode = 0; mode < kProfileModeCount; ++mode)
            IgnoreResult(m_pWorld->ResetProfileSlot(mode, slot, true));
        IgnoreResult(m_pWorld->SaveOptions());
        SetPage(kPageProfiles);
        break;
    case kPageForgetStory: case kPageForgetTimed:
        IgnoreResult(m_pWorld->ResetProfileSlot(m_nPage - kPageForgetStory, slot, false));
        SetPage(kPagePlay);
        break;
    case kPageRestartStory: case kPageRestartTimed: {
        CProgressFields& record = game.Progress(m_nPage - kPageRestartStory, slot);
        record.m_bInUse = 1;
        record.m_bFinished = 0;
        m_nAction = m_nPage == kPageRestartStory ? kActionNewStory : kActionNewTimed;
        break;
    }
    case kPageForgetAccount:
        game.m_bAccount = 0;
        game.m_szLogin[0] = game.m_szPassword[0] = game.m_szEmail[0] = 0;
        IgnoreResult(m_pWorld->SaveOptions());
        SetPage(kPageMain);
        break;
    default: break;
    }
}

void CMenuDialog::ToggleWindowMode()
{
    if (Failed(m_pWorld->ToggleFullscreen(m_pData->fullscreen ? 0 : 1)))
        PostQuitMessage(0);
    IgnoreResult(m_pWorld->SaveOptions());
    SetPage(m_nPage);
}

void CMenuDialog::SelectSlot(uint32_t slot)
{
    if (Game().m_nSlot == slot)
        return;
    Game().m_nSlot = slot;
    IgnoreResult(m_pWorld->SaveOptions());
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
    uint32_t parent = kPageMain;
    switch (m_nPage) {
    case kPageOptions:
        m_pWorld->ApplySoundVolume();
        IgnoreResult(m_pWorld->SaveOptions());
        break;
    case kPageEraseProfile: case kPageProfileName: parent = kPageProfiles; break;
    case kPageForgetStory: case kPageForgetTimed: case kPageRestartStory: case kPageRestartTimed:
        parent = kPagePlay;
        break;
    case kPageSendingScores: ResetWebClient(); parent = kPageWebMenu; break;
    case kPageSendingAccount: ResetWebClient(); m_nWebSubState = kWebIdle; break;
    case kPageScoresSent: case kPageScoreRefused: case kPageNoAnswer: ResetWebClient(); break;
    case kPageAccountCreated: case kPageAccountKnown:
        ResetWebClient();
        parent = HasUnsentFinishedRecord() ? kPageSendScores : kPageMain;
        break;
    case kPageLoginTaken: ResetWebClient(); parent = kPageLogin; break;
    case kPageBadEmail: ResetWebClient(); parent = kPageEmail; break;
    case kPageLanguages: parent = kPageOptions; break;
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
        IgnoreResult(m_pWeb->QueueScores(255, 255));
    }
    m_nWebSubState = kWebScoresWait;
    SetPage(kPageSendingScores);
}

void CMenuDialog::FailWebExchange()
{
    m_nWebSubState = kWebIdle;
    SetPage(kPageNoAnswer);
}

// One step of the account or score exchange once the fade is over and the client is idle. The
// sub-state moves on before a send, whose answer may set another. A send holds the game until its
// answer: it waits until the page that says so is on screen (drawn in a frame already presented).
void CMenuDialog::StepWebExchange()
{
    if (m_nWebSubState == kWebIdle || !m_pWorld->IsFadeOver())
        return;
    if (!m_pWeb)
        return FailWebExchange();
    const bool sends = m_nWebSubState == kWebAccountSend || m_nWebSubState == kWebScoresSend;
    if (!m_pWeb->IsIdle() || (sends && m_nPageDraws < kPresentedDraws))
        return;
    switch (m_nWebSubState) {
    case kWebAccountWait: case kWebScoresWait: ++m_nWebSubState; break;
    case kWebAccountSend:
        m_nWebSubState = kWebAccountSent;
        if (Failed(m_pWeb->SendSetUser()))
            FailWebExchange();
        break;
    case kWebScoresSend:
        m_nWebSubState = kWebScoresSent;
        if (!m_pWeb->HasUnsentScores()) {
            m_pWeb->Reset();
            SetPage(kPageWebMenu);
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
    if (m_nPage != kPageMain || m_pEntryNode || !game.m_bWebLinks)
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
