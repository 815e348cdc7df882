#pragma once
#include <cstdint>
#include <memory>

#include "game/GameData.h"
#include "game/WorldComponent.h"

class C3DContainer;
class C3DObject;
class CMenuWorld;
class CMoreGamesNavigation;
class CPopupBackground;
class CPopupLabels;
class CPopupText;
struct CWorldData;

constexpr uint32_t kMoreGamesMaxCount = 256;
constexpr uint32_t kMoreGamesTitleUnits = 32;

struct MoreGamesEntry {
    char16_t appName[kAppNameUnits];
    char16_t title[kMoreGamesTitleUnits];
    char16_t url[kUrlUnits];
    uint32_t row;
    uint32_t line;
    uint8_t enabled;
};

// A paged grid of the maker's other games, each its icon with the title centred under it; a
// click shows the game's description in a pop-up with a button to its web page. The running game
// and games off the icon sheet are never listed.
class CMoreGamesPage : public CWorldComponent {
public:
    // Navigation buttons of the menu dialog.
    enum Button : uint32_t { kPrevious = 26, kNext = 25, kNextBesideClose = 55, kMoreGames = 29, kWebSite = 1002 };

    explicit CMoreGamesPage(CWorldData* data);
    ~CMoreGamesPage() override;

    // The menu dialog and the background; without them the page shows and hears no buttons.
    void SetScreens(CMoreGamesNavigation* navigation, CPopupBackground* background);
    // The world the page's links open through (without one a link opens nothing) and the labels
    // its description's label tags refer to.
    void SetWorld(CMenuWorld* world, const CPopupLabels* labels)
    {
        m_pWorld = world;
        m_pLabels = labels;
    }

    // The pop-up, the list and the pages. An empty page for zero sizes or count; RES_FAIL when
    // the icon sheet or a part cannot be had.
    Result Load() override;
    Result Release() override;
    Result Process() override;
    Result Render() override;

    uint32_t GetPage() const { return m_nPage; }
    uint32_t GetPageCount() const { return m_nPageCount; }
    uint32_t GetListedCount() const { return m_nListed; }
    int32_t GetSelected() const { return m_nSelected; }
    // Columns and rows of a page.
    uint32_t GetColumns() const { return m_nColumns; }
    uint32_t GetRows() const { return m_nRows; }
    C3DContainer* GetPages() const { return m_pPages; }
    CPopupText* GetDescription() const { return m_pDescription.get(); }

private:
    bool ReadEntries();
    bool MakeIcons();
    void LayOut();
    bool BuildPages();
    bool AddEntryNode(C3DContainer* page, uint32_t index, uint32_t part, float x, float y);
    void ShowPage(uint32_t page);
    void ProcessGrid(uint32_t clicked);
    void ProcessDescription(uint32_t clicked);
    // The entry node under the press point and the pointer after a release; -1 for none.
    int32_t ClickedEntry() const;
    void PlayClickSound();
    void OpenWebLink(const char16_t* url);

    CWorldData* m_pData;
    CMoreGamesNavigation* m_pNavigation = nullptr;
    CMenuWorld* m_pWorld = nullptr;
    const CPopupLabels* m_pLabels = nullptr;
    CPopupBackground* m_pBackground = nullptr;
    C3DObject* m_pIcons = nullptr;
    std::unique_ptr<MoreGamesEntry[]> m_pEntries;
    uint32_t m_nCount = 0;
    uint32_t m_nPage = 0;
    uint32_t m_nPageCount = 0;
    int32_t m_nSelected = -1;
    std::unique_ptr<CPopupText> m_pDescription;
    C3DContainer* m_pPages = nullptr;
    uint32_t m_nSheetColumns = 0;
    uint32_t m_nSheetLines = 0;
    uint32_t m_nListed = 0;
    float m_fIconSide = 0.0f;
    float m_fTitleWidth = 0.0f;
    float m_fTitleHeight = 0.0f;
    float m_fCellWidth = 0.0f;
    float m_fCellHeight = 0.0f;
    uint32_t m_nColumns = 1;
    uint32_t m_nRows = 1;
};
