#pragma once
#include <cstdint>

#include "core/LinkedList.h"
#include "core/Vector3.h"
#include "game/ProfileSection.h"
#include "game/WorldComponent.h"

class C3DContainer;
class C3DContainerText;
class C3DEngine;
class C3DObject;
class CMenubarActions;
struct CWorldData;

// States of a toolbar item.
enum ToolbarItemState : uint32_t {
    kItemFadeIn,
    kItemShown,
    kItemHighlight,  // before its removal
    kItemFadeOut,    // shrinks away, then is removed
    kItemFlash,
    kItemStateCount,
};

// One kind of object still to find.
struct ToolbarItem {
    uint32_t count;
    bool shown;  // fits in the visible row this frame
    uint32_t stringId;
    Vector3 labelSize;
    uint32_t state;
    float phase;  // 0.0 to 1.0, by state
    float xOffset;
    float widthDelta;  // width the label lost, eased away in the shown state
    C3DContainerText* label;
    C3DContainerText* fadeLabel;  // in the fade colour
};

// The strip along the bottom of the screen listing the objects to find, and the menubar on the
// left edge with its four buttons (0 menu, 1 zoom, 2 zoom unavailable, 3 tutorial).
class CToolbar : public CWorldComponent, public CProfileSection {
public:
    explicit CToolbar(CWorldData* data);
    ~CToolbar() override;

    // The settings, the strips, the buttons and the two containers. RES_FAIL after the log
    // line of a texture name without its size; a texture that fails gives the loader's result.
    Result Load() override;
    // Destroys the three objects, the items and the two containers.
    Result Release() override;
    // Layout.
    Result Process() override;

    // Walks the items: which fit, their phases and offsets; items faded out are removed.
    void Layout();
    void RenderToolbarStrip();
    void RenderItems();
    void RenderMenubar();
    // Shows the zoom button when the scene can zoom, else the zoom-unavailable one.
    void UpdateZoomButton(bool locked);
    // True when the pointer lies on the menubar or the toolbar.
    bool IsPointOnBars() const;
    // The button under both the press point and the pointer runs its action: RES_OK (button 2
    // has none); RES_FAIL when they hit no button or different ones.
    Result OnMenubarClick();
    // The actions of the menubar's buttons; null: none run.
    void SetMenubarActions(CMenubarActions* actions) { m_pActions = actions; }

    // One more object of the kind; a new item at the tail, fading in or shown at once.
    void AddItem(uint32_t stringId, bool fadeIn);
    // One object of the kind found. True when the toolbar became empty by this call; the last
    // object of a kind with at least two items listed and animate set highlights and fades out
    // first (false).
    bool RemoveFoundItem(uint32_t stringId, bool animate);
    bool IsItemShown(uint32_t stringId) const;
    // The first item of the kind flashes; null when none is listed.
    ToolbarItem* FlashItem(uint32_t stringId);
    void ClearItems();
    // Measures the label at the toolbar font size; with animate, a single object's label that got
    // shorter eases the following items left.
    void MeasureItemText(ToolbarItem* item, bool animate);
    // Gives the label to both text objects.
    void SetItemLabel(ToolbarItem* item);
    void UpdateItemTexts();
    // Re-measures every label (after a language change).
    void RefreshItemTexts();

    // Item count, max shown, centre, speed scale, then per item id, count, state, phase, x offset
    // and width delta.
    Result SaveToProfile(CStream& stream) override;
    // RES_FAIL for a short read, a state past the last one, a phase that is not finite or more
    // items than the stream holds; phases are clamped to 0.0..1.0.
    Result LoadFromProfile(CStream& stream, uint16_t version) override;

    void SetMaxShown(uint32_t maxShown) { m_nMaxShown = maxShown; }
    void SetCentre(bool centre) { m_bCentre = centre; }
    void SetSpeedScale(float scale) { m_fSpeedScale = scale; }
    bool HasChanged() const { return m_bChanged; }
    uint32_t GetActiveShown() const { return m_nActiveShown; }
    uint32_t GetItemCount() const { return m_nItemCount; }
    // The first item of the kind; null when none is listed.
    ToolbarItem* FindItem(uint32_t stringId) const;
    // The menubar's width and the toolbar's height.
    Vector2 GetSize() const { return {m_fMenubarWidth, m_fToolbarHeight}; }
    C3DContainer* GetMenubar() const { return m_pMenubar; }
    C3DObject* GetToolbarStrip() const { return m_pToolbarStrip; }
    C3DObject* GetMenubarStrip() const { return m_pMenubarStrip; }
    // The items in list order, and where RenderItems lays them out: the row's left end, the gap
    // between labels and the row's line.
    const CLinkedList& GetItems() const { return m_Items; }
    float GetStartX() const { return m_fStartX; }
    float GetSeparatorX() const { return m_fSeparatorX; }
    float GetRowY() const { return RowY(); }

private:
    void ReadSettings();
    // A strip object of the key's texture; its size is read from the file name.
    Result LoadStrip(const char16_t* section, const char16_t* key, const char16_t* defaultName, C3DObject*& strip,
                     Vector2& size, bool bottom);
    Result LoadButtons();
    Result MakeContainers();
    // A new item with its two text objects and label, appended; null when memory runs out.
    ToolbarItem* AppendItem(const ToolbarItem& fields);
    bool MakeTexts(ToolbarItem* item);
    void FreeItem(ToolbarItem* item);
    // The label into the engine's scratch buffer.
    const char16_t* BuildLabel(const ToolbarItem* item);
    void DrawLabel(C3DContainerText* text, const Vector3& position, uint8_t alpha, float scale);
    // The menubar node under the point; -1 for none.
    int32_t ButtonAt(float x, float y) const;
    C3DEngine* Engine() const;
    float RowY() const;

    CWorldData* m_pData;
    bool m_bChanged = false;
    uint32_t m_nFadeColour = 0xFFFF0000u;
    float m_fFadeInSpeed = 0.0f;
    float m_fRenderSpeed = 0.0f;
    float m_fHighlightSpeed = 0.0f;
    float m_fFadeOutSpeed = 0.0f;
    float m_fSpeedScale = 1.0f;
    C3DObject* m_pToolbarStrip = nullptr;
    float m_fToolbarHeight = 0.0f;
    C3DObject* m_pMenubarStrip = nullptr;
    float m_fMenubarWidth = 0.0f;
    C3DObject* m_pButtons = nullptr;
    CLinkedList m_Items;
    uint32_t m_nItemCount = 0;
    float m_fStartX = 0.0f;
    float m_fSeparatorX = 0.0f;
    float m_fWidthMaxX = 0.0f;
    uint32_t m_nMaxShown = 0;
    bool m_bCentre = false;
    uint32_t m_nActiveShown = 0;
    C3DContainer* m_pMenubar = nullptr;
    C3DContainer* m_pToolbar = nullptr;
    CMenubarActions* m_pActions = nullptr;
};
