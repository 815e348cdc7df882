#pragma once
#include <cstdint>
#include <memory>

#include "game/WorldComponent.h"

class C3DContainerText;
class CAudio;
class CPopupBackground;
class CPopupDialog;
class CPopupFader;
class CPopupLabels;
struct CWorldData;

constexpr uint32_t kPopupTextUnits = 4096;
constexpr char16_t kMissingString[] = u"MISSING STRING !!!";
constexpr uint32_t kGameTable = 0;
constexpr uint32_t kMoreGamesTable = 1;

// The menu dialog's buttons that page a pop-up.
constexpr uint32_t kPopupButtonClose = 24;
constexpr uint32_t kPopupButtonNext = 25;
constexpr uint32_t kPopupButtonBack = 26;
constexpr uint32_t kPopupButtonNextPage = 55;

// A long text shown one page at a time in the middle of the screen. Pages are split at the page
// separator; a page may begin with a tag list between two tag introducers, "L=<n>" naming the
// labels record n - 1 whose place and width the page takes, "S=<file>" a voice played from the
// data folder, each tag ended by ',' or by the closing introducer.
class CPopupText : public CWorldComponent {
public:
    explicit CPopupText(CWorldData* data);
    ~CPopupText() override;

    using CWorldComponent::Load;
    // The font size pair; the voice (with an audio engine), the buffers and the text node.
    Result Load(float scaleWidth, float scaleHeight);
    // The text node's destruction result.
    Result Release() override;
    Result Render() override;

    // The screens the pop-up draws and sounds through; each may be null.
    void SetScreens(CPopupFader* fader, CPopupBackground* background, CPopupDialog* dialog);
    // The labels a page's label tag refers to; without them the tag is passed over.
    void SetLabels(const CPopupLabels* labels) { m_pLabels = labels; }

    void Clear();
    void SetText(uint32_t index, uint32_t table);
    // As SetText, each "%d" marker taking the next of the numbers and "%%" giving '%' (their
    // remap units in the charset mode); other markers and those past the numbers stay.
    void SetTextFormat(uint32_t index, uint32_t table, const int32_t* numbers, uint32_t count);
    // Lays out the next page: 1 when no text was left; else 1 for the text's first page, 0 after.
    uint32_t OnTextNext();
    // Lays out the page before the one shown (the first page when there is none).
    uint32_t OnTextPrevious();
    // Places the text with its middle on the line y (or at its labels record's place), wholly
    // on the screen, then: next (25, 55) gives 0, or with no text left clears and gives 25;
    // back (26) gives 0; close (24) clears and gives 24; each with the click sound. Any other
    // button is returned unchanged.
    uint32_t OnButton(uint32_t button, float y);
    // What lies under the page: the loading picture or the background, over the fader's
    // frozen picture with fade, then the page's label.
    void DrawBackdrop(bool fade, bool background, bool loading);

    // True while a text is set or a page is shown.
    bool HoldsText() const;
    // True while the shown page's start and the next page's start differ.
    bool PageMarkersDiffer() const { return m_pPageStart != m_pNextPage; }
    // True while the shown page is not the text's first.
    bool HasPreviousPage() const { return m_pPageStart && m_text && m_pPageStart != m_text.get(); }
    int32_t GetLabelsIndex() const { return m_nLabelsIndex; }
    int32_t GetStringIndex() const { return m_nStringIndex; }
    const char16_t* GetPage() const { return m_page.get(); }
    // The node that draws the page.
    C3DContainerText* GetTextNode() const { return m_pTextNode; }

    // String index of table 0 (game) or 1 (more games), "MISSING STRING !!!" past its end;
    // null for another table.
    static const char16_t* GetString(uint32_t index, uint32_t table, CWorldData* data);

private:
    void TakeText();
    const char16_t* ReadTags(const char16_t* cursor, int32_t* maxWidth);
    void UseLabel(const char16_t* value, int32_t* maxWidth);
    void PlayVoice(const char16_t* value);
    void PlaceText();
    void PlayClickSound();

    CWorldData* m_pData;
    char16_t* m_pPageStart = nullptr;
    char16_t* m_pNextPage = nullptr;
    int32_t m_nLabelsIndex = -1;
    int32_t m_nStringIndex = -1;
    std::unique_ptr<char16_t[]> m_text;
    std::unique_ptr<char16_t[]> m_page;
    float m_scale[2] = {1.0f, 1.0f};
    float m_fLineY = 0.0f;  // where the page's middle lies, unless its labels record places it
    CAudio* m_pVoice = nullptr;
    C3DContainerText* m_pTextNode = nullptr;
    CPopupFader* m_pFader = nullptr;
    CPopupBackground* m_pBackground = nullptr;
    CPopupDialog* m_pDialog = nullptr;
    const CPopupLabels* m_pLabels = nullptr;
};
