#pragma once
#include <cstdint>
#include <memory>

#include "core/Stream.h"
#include "core/Vector3.h"
#include "game/PopupScreens.h"
#include "game/WorldComponent.h"
#include "game/menus/MenuLines.h"
#include "game/menus/MenuPages.h"
#include "game/scores/WebScoring.h"

class C3DContainer;
class C3DContainerText;
class C3DEngine;
class C3DFrame;
class C3DObject;
class C3DTexture;
class CMenuWebClient;
class CMenuWorld;
struct CGameData;
struct CProgressFields;
struct CWorldData;

constexpr uint32_t kMenuEntryUnits = 260;
constexpr uint32_t kMenuTimeTextUnits = 16;
constexpr uint32_t kMenuPageLines = 16;
constexpr uint32_t kMenuPictureCount = 17;
constexpr uint32_t kCreditLogoCount = 3;
constexpr uint32_t kVersionUnits = 128;

// The action codes the dialog leaves for the world: the id of the line clicked.
enum MenuAction : uint32_t {
    kActionMoreGames = kLineMoreGames,
    kActionNewStory = kLineNewStory,
    kActionContinueStory = kLineContinueStory,
    kActionNewTimed = kLineNewTimed,
    kActionContinueTimed = kLineContinueTimed,
    kActionEndOfStory = kLineEndOfStory,
    kActionCredits = kLineShowCredits,
    kActionLegals = kLineShowLegals,
    kActionNone = kLineOwnId,
};

// The framed dialog of the main menu, options, profiles, account entry, web scores and
// languages: one page of lines at a time, clicked, typed into or dragged each frame. Also owns
// the navigation buttons other screens show and the credits page's logos.
class CMenuDialog : public CWorldComponent, public CWebScorePages, public CPopupDialog {
public:
    // web may be null: no network module.
    CMenuDialog(CWorldData* data, CMenuWorld* world, CMenuWebClient* web);
    ~CMenuDialog() override;

    // The keys and pictures, the two frames, the buttons' object and the navigation layer.
    // RES_FAIL at the first picture or frame that cannot be had.
    Result Load() override;
    Result Release() override;
    // Updates the page's transforms.
    Result Process() override;
    // Each line's frame laid out and drawn, then the page's nodes.
    Result Render() override;
    // Reads "<raw folder>_menu_dialog.raw" after its header. RES_FAIL for a line count other than
    // kMenuLineCount (with the error detail) or a short read.
    Result ReadConstruction(CStream& stream);
    // One frame of the shown page: sliders, clicks, typing and the web exchange.
    void OnUpdate();
    // The click sound through the world, loading it on first use.
    void PlaySound();

    // ---- Pages ----
    void SetPage(uint32_t page) override;
    void SetWebSubState(uint32_t subState) override { m_nWebSubState = subState; }
    void StartSendScores() override;
    // The page's lines in display order, the extra buttons below them included; none past the last page.
    const CMenuLine* BuildPageLines(uint32_t page, uint32_t* count);
    // The parent page.
    void Back(bool sound);
    // A notice page; its close button leads to returnPage.
    void ShowNotice(uint32_t page, uint32_t returnPage);
    // The navigation button pressed this frame (by key or by click), 0 when none.
    uint32_t GetClickedButton(uint32_t unused);

    // ---- Navigation layer ----
    void HideNavButtons();
    void ShowNavButtons(bool previous, bool close, bool next);
    void ShowTimerBadge(uint8_t alpha);
    void ShowMoreGamesButton();
    void ShowCollectionButton(bool highlight);
    void ShowSocialButtons();
    void UpdateNavButtons();
    void RenderNavButtons();
    // From the top of the navigation buttons to the bottom of the virtual screen.
    float GetNavigationMargin() const;

    // ---- Text entry, sliders, texts and sounds ----
    // Feeds the frame's character to the entry text: RES_OK when it was Enter, else RES_FAIL.
    Result TypeCharacter(uint32_t maxLength, const char16_t* allowed);
    // The entry text an entry page starts with: the stored login or e-mail,
    // as the field shows them, so that OK takes them as they stand; empty on the other pages.
    void FillEntry(uint32_t page);
    void CommitProfileName(const char16_t* text);
    void CommitLogin(const char16_t* text);
    void CommitPassword(const char16_t* text);
    void CommitEmail(const char16_t* text);
    // 0.0 to 1.0 under the pointer for the music or the sound slider, lighting its ticks.
    float SliderValue(uint32_t sliderId);
    // The text of a line (kMenuEntryUnits units); editing gives an entry field its sizing text.
    void GetLineText(uint32_t lineId, uint32_t page, char16_t* out, bool editing);
    // The widest allowed character repeated as often as the entry room takes, at most maxCount.
    void FitToWidth(char16_t* out, uint32_t maxCount, const char16_t* allowed);
    // "(hh:mm:ss)" of a record's running time when in use, else of its best time (kMenuTimeTextUnits).
    void FormatProgressTime(const CProgressFields& record, char16_t* out);
    void PlayClickSound() override;
    float GetFrameWidth() override;
    // The border given to the dialog frame's layout.
    float GetDialogBorder() const { return m_fDialogBorder; }

    // ---- Credits ----
    Result BuildCredits();
    // The id of the credits node clicked this frame, else kLineOwnId.
    uint32_t UpdateCredits();
    void RenderCredits();
    void ReleaseCredits();

    uint32_t GetPage() const { return m_nPage; }
    uint32_t GetAction() const { return m_nAction; }
    uint32_t GetWebSubState() const { return m_nWebSubState; }
    const char16_t* GetEntryText() const { return m_szEntry; }
    C3DContainer* GetPageContainer() const { return m_pPageContainer; }
    C3DContainer* GetNavLayer() const { return m_pNavLayer; }
    C3DContainer* GetCreditsContainer() const { return m_pCreditsContainer; }
    // The frame behind lines of a kind: the button frame for buttons, else the dialog frame.
    C3DFrame* GetLineFrame(uint32_t kind) const
    {
        return (kind == kLineButton ? m_pButtonFrame : m_pDialogFrame).get();
    }
    // Line n of the shown page as laid out, into line; its node, null past the page's lines.
    C3DContainerText* GetPlacedLine(uint32_t n, CMenuLine* line) const
    {
        if (n >= m_nPlacedCount)
            return nullptr;
        *line = m_Lines[n];
        return m_Placed[n].node;
    }
    // The node of the shown entry page's field; null on other pages.
    C3DContainerText* GetEntryNode() const { return m_pEntryNode; }

    // The name set of profile names.
    static const char16_t* NameCharacters();

private:
    // A laid-out line: its node and its frame's size around the node's place.
    struct CPlacedLine {
        C3DContainerText* node;
        uint32_t kind;
        uint32_t state;
        float x, y, width, height;
    };

    CGameData& Game() const;
    C3DEngine* Engine() const;
    const char16_t* LineString(uint32_t lineId) const;
    bool AudioReady() const;
    bool ClickSoundInBank() const;

    // Load
    void ReadKeys();
    Result LoadPictures();
    bool MakeButtonsObject();
    Result MakeNavLayer();
    void PlaceLogo(float* x, float* y, float* halfWidth, float* halfHeight);
    C3DContainer* AddQuad(C3DContainer* parent, uint32_t id, C3DTexture* texture, uint32_t part, float x, float y,
                          float halfWidth, float halfHeight, bool hit);

    // Pages
    void AddPageLine(uint32_t* count, uint32_t id);
    void BuildPlayLines(uint32_t* count);
    void BuildOptionsLines(uint32_t* count);
    void BuildProfileLines(uint32_t* count);
    void BuildEntryLines(uint32_t page, uint32_t* count);
    void BuildWebMenuLines(uint32_t* count);
    void BuildLanguageLines(uint32_t* count);
    void LayOutLines(const CMenuLine* lines, uint32_t count);
    void MeasureLine(const char16_t* text, uint32_t kind, float* width, float* height) const;
    void AddLineNode(const CMenuLine& line, uint32_t index, const char16_t* text, float x, float y, float width,
                     float height);
    void AddLineExtras(const CMenuLine& line, uint32_t index, const CPlacedLine& placed);
    void LightTicks(uint32_t sliderId, int32_t lit);
    const CPlacedLine* PlacedLineOf(const C3DContainer* node) const;

    // Update
    C3DContainer* ClickedNode(C3DContainer* layer) const;
    bool Dispatch(uint32_t id);
    bool DispatchPageAnswer(uint32_t id);
    void DispatchConfirm();
    void ToggleWindowMode();
    void SelectSlot(uint32_t slot);
    void DragSlider();
    bool InSliderReach(C3DContainer& slider, const Vector2& pointer) const;
    bool TypeIntoPage();
    void StepWebExchange();
    void FailWebExchange();
    void ResetWebClient();
    bool HasUnsentFinishedRecord() const;
    void ShowNav(uint32_t id);

    // Entry
    void ShowEntryText();
    void Unmap(char16_t* text) const;
    void CopyUnmapped(const char16_t* text, char16_t* out, uint32_t units) const;
    void PlaySample(float volume);

    CWorldData* m_pData;
    CMenuWorld* m_pWorld;
    CMenuWebClient* m_pWeb;

    uint32_t m_nPage = 0;
    uint32_t m_nNoticeReturn = 0;  // where a notice page's close button leads
    // The frames that drew the page since it was set, up to kPresentedDraws: a page drawn in an
    // earlier frame than this one was presented.
    static constexpr uint32_t kPresentedDraws = 2;
    uint32_t m_nPageDraws = 0;
    uint32_t m_nAction = kActionNone;
    uint32_t m_nWebSubState = kWebIdle;
    C3DContainerText* m_pEntryNode = nullptr;
    char16_t m_szEntry[kMenuEntryUnits] = {};
    uint8_t m_bLayerFlag = 0;
    C3DContainer* m_pPageContainer = nullptr;
    C3DContainer* m_pNavLayer = nullptr;
    C3DContainer* m_pCreditsContainer = nullptr;
    uint16_t m_nClickSound = 0xFFFF;
    std::unique_ptr<uint32_t[]> m_pStringMap;

    std::unique_ptr<C3DFrame> m_pDialogFrame;
    std::unique_ptr<C3DFrame> m_pButtonFrame;
    float m_fDialogBorder = 0.0f;
    float m_fButtonBorder = 0.0f;
    float m_DialogRatios[2] = {};  // extra width per font width, extra height per font height
    float m_ButtonRatios[2] = {};
    float m_fNormalHalfWidth = 0.0f;
    float m_SliderHalf[2] = {};
    float m_CollectionHalf[2] = {};
    float m_CreditsHalf[2] = {};
    float m_fSmallHalfWidth = 0.0f;
    float m_SmallBorderRatio[2] = {};
    float m_fSpacing = 0.0f;
    float m_NavClose[2] = {};
    float m_NavNextEx[2] = {};
    float m_NavNext[2] = {};
    float m_NavPrev[2] = {};
    C3DTexture* m_pPictures[kMenuPictureCount] = {};
    C3DObject* m_pButtons = nullptr;
    C3DTexture* m_pCreditLogos[kCreditLogoCount] = {};
    char16_t m_szVersion[kVersionUnits] = {};

    CMenuLine m_Lines[kMenuPageLines] = {};
    CPlacedLine m_Placed[kMenuPageLines] = {};
    uint32_t m_nPlacedCount = 0;
    char16_t m_szTimeText[2][kMenuTimeTextUnits] = {};
    float m_fLastSampleVolume = -1.0f;
};
