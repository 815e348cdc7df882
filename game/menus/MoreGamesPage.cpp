#include "game/menus/MoreGamesPage.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/PlatformTable.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/FontTypes.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/Texture.h"
#include "game/GameText.h"
#include "game/PopupText.h"
#include "game/menus/MenuWorld.h"
#include "world/World.h"
#include "game/menus/MoreGamesNavigation.h"

namespace {

const char16_t kSection[] = u"MORE_GAMES";
constexpr uint32_t kDisplayFlagsA = 0x28010;
constexpr uint32_t kDisplayFlagsB = 0x20C29;
constexpr uint32_t kSharedTexture = 1;
constexpr uint32_t kAlphaLinear = 0x52;
constexpr uint32_t kAnyId = 0xFFFFFFFFu;
constexpr uint32_t kShadowColour = 0x7F000000u;
constexpr float kShadowOffset = 4.0f;
constexpr float kTitleScale = 0.75f;
constexpr uint16_t kTitleAlign = kTextCenterX | kTextShadow;
constexpr char16_t kLineFeed = 10;
constexpr uint32_t kKeyUnits = 64;

// The game's key with its number, e.g. MORE_GAMES_3_ROW.
const char16_t* Key(char16_t* out, const char16_t* format, uint32_t number)
{
    WFormat(out, kKeyUnits, format, number);
    return out;
}

void Place(C3DContainer* node, float x, float y)
{
    const Vector3 at{x, y, 0.0f};
    IgnoreResult(node->SetTranslation(&at));
}

} // namespace

CMoreGamesPage::CMoreGamesPage(CWorldData* data) : m_pData(data) {}

CMoreGamesPage::~CMoreGamesPage()
{
    IgnoreResult(Release());
}

void CMoreGamesPage::SetScreens(CMoreGamesNavigation* navigation, CPopupBackground* background)
{
    m_pNavigation = navigation;
    m_pBackground = background;
    if (m_pDescription)
        m_pDescription->SetScreens(nullptr, background, navigation);
}

Result CMoreGamesPage::Load()
{
    IgnoreResult(Release());
    const CTextStyles& styles = m_pData->gameData->m_TextStyles;
    m_pDescription.reset(new (std::nothrow) CPopupText(m_pData));
    if (!m_pDescription || Failed(m_pDescription->Load(styles.m_MoreGamesSize[0], styles.m_MoreGamesSize[1])))
        return RES_FAIL;
    m_pDescription->SetScreens(nullptr, m_pBackground, m_pNavigation);
    m_pDescription->SetLabels(m_pLabels);
    if (!ReadEntries())
        return m_pEntries || !m_nCount ? RES_OK : RES_OUT_OF_MEMORY;
    if (!MakeIcons())
        return RES_FAIL;
    LayOut();
    if (!BuildPages())
        return RES_FAIL;
    ShowPage(0);
    return RES_OK;
}

bool CMoreGamesPage::ReadEntries()
{
    const CParamsReader* game = m_pData->gameParams;
    const CGameData& data = *m_pData->gameData;
    m_nSheetColumns = game ? game->GetU32(kSection, u"MORE_GAMES_ROW_COUNT", 0) : 0;
    m_nSheetLines = game ? game->GetU32(kSection, u"MORE_GAMES_LINE_COUNT", 0) : 0;
    if (!m_nSheetColumns || !m_nSheetLines)
        return false;
    m_nCount = std::min(game->GetU32(kSection, u"MORE_GAMES_COUNT", 0), kMoreGamesMaxCount);
    m_pEntries.reset(m_nCount ? new (std::nothrow) MoreGamesEntry[m_nCount]() : nullptr);
    if (!m_pEntries)
        return false;
    const CParamsReader* switches = data.m_pMoreGamesParams.get();
    const Vector2 scale{data.m_TextStyles.m_MenuSize[0] * kTitleScale, data.m_TextStyles.m_MenuSize[1] * kTitleScale};
    char16_t key[kKeyUnits];
    for (uint32_t i = 0; i < m_nCount; ++i) {
        MoreGamesEntry& entry = m_pEntries[i];
        const uint32_t number = i + 1;
        entry.enabled = switches ? switches->GetBool(kSection, Key(key, u"MORE_GAMES_%u_ENABLE", number), 0) : 0;
        if (!entry.enabled)
            continue;
        entry.row = game->GetU32(kSection, Key(key, u"MORE_GAMES_%u_ROW", number), 0);
        entry.line = game->GetU32(kSection, Key(key, u"MORE_GAMES_%u_LINE", number), 0);
        IgnoreResult(
            game->GetString(kSection, Key(key, u"MORE_GAMES_%u_APP_NAME", number), u"", entry.appName, kAppNameUnits));
        WStrCopy(entry.title, kMoreGamesTitleUnits, CPopupText::GetString(2 * i, kMoreGamesTable, m_pData));
        ReplaceChar(entry.title, data.m_nLineBreakMark, kLineFeed);
        if (data.m_pMainFont) {
            Vector3 size{};
            data.m_pMainFont->MeasureText(&size, entry.title, scale.x, scale.y);
            m_fTitleWidth = std::max(m_fTitleWidth, std::fabs(size.x));
            m_fTitleHeight = std::max(m_fTitleHeight, size.y);
        }
        IgnoreResult(switches->GetString(kSection, Key(key, u"MORE_GAMES_%u_URL", number), u"", entry.url, kUrlUnits));
        const bool running = EqualNoCase(entry.appName, data.m_szAppName);
        const bool onSheet = entry.row < m_nSheetColumns && entry.line < m_nSheetLines;
        entry.enabled = !running && onSheet;
        m_nListed += entry.enabled;
    }
    return m_nListed != 0;
}

bool CMoreGamesPage::MakeIcons()
{
    C3DEngine* engine = m_pData->world->Get3DEngine();
    m_pIcons = engine ? engine->CreateObject(kDisplayFlagsA, kDisplayFlagsB) : nullptr;
    if (!m_pIcons || Failed(m_pIcons->Create(m_nListed, 4 * m_nListed, 4 * m_nListed)))
        return false;
    char16_t key[kKeyUnits];
    WFormat(key, kKeyUnits, u"MORE_GAMES_TEXTURE_FILE_NAME_%s", PlatformKey(m_pData->gameData->m_nPlatform));
    C3DTexture* sheet = AutoLoadTextureFromParamEx(kSourcePacker, kSharedTexture, kAlphaLinear, kSection, key,
                                                   u"more_games.png", m_pData->gameParams, engine);
    if (!sheet)
        return false;
    m_fIconSide = std::min(float(sheet->GetWidth()) / m_nSheetColumns, float(sheet->GetHeight()) / m_nSheetLines);
    // The parts hold the sheet from here on.
    const bool textured = Succeeded(m_pIcons->SetTextureAll(sheet, 0));
    IgnoreResult(engine->DestroyTexture(sheet));
    if (!textured)
        return false;
    const float cellU = 1.0f / m_nSheetColumns;
    const float cellV = 1.0f / m_nSheetLines;
    IgnoreResult(m_pIcons->Lock());
    m_pIcons->ResetIndices();
    uint32_t part = 0;
    for (uint32_t i = 0; i < m_nCount; ++i) {
        const MoreGamesEntry& entry = m_pEntries[i];
        if (!entry.enabled)
            continue;
        const uint32_t first = 4 * part;
        IgnoreResult(m_pIcons->SetPrimitiveGroup(part, first, 4, first, 4, 2, kPrimitiveTriangleStrip,
                                                 kCullCounterClockwise, kPartNumberId));
        m_pIcons->FillIndexRange(first, 4);
        for (uint32_t corner = 0; corner < 4; ++corner) {
            const float right = float(corner & 1);
            const float bottom = float((corner >> 1) & 1);
            m_pIcons->SetVertex(first + corner, right * m_fIconSide, bottom * m_fIconSide, 0.0f, 0xFFFFFFFFu,
                                (entry.row + right) * cellU, (entry.line + bottom) * cellV, 0.0f, 0.0f, 0.0f, 0);
        }
        ++part;
    }
    IgnoreResult(m_pIcons->Unlock(0));
    return true;
}

void CMoreGamesPage::LayOut()
{
    const CTextStyles& styles = m_pData->gameData->m_TextStyles;
    const float gap = styles.m_MenuSize[1] * kTitleScale * 0.5f;
    const float margin = m_pNavigation ? m_pNavigation->GetNavigationMargin() : 0.0f;
    m_fCellWidth = std::max(m_fIconSide, m_fTitleWidth) * 1.25f;
    m_fCellHeight = (m_fIconSide + gap + m_fTitleHeight) * 1.1f;
    const float freeHeight = m_pData->workingHeight - 2.0f * margin;
    m_nColumns = m_fCellWidth > 0.0f ? uint32_t(std::clamp(m_pData->workingWidth / m_fCellWidth, 1.0f, 256.0f)) : 1;
    m_nRows = m_fCellHeight > 0.0f ? uint32_t(std::clamp(freeHeight / m_fCellHeight, 1.0f, 256.0f)) : 1;
    const uint32_t perPage = m_nColumns * m_nRows;
    m_nPageCount = (m_nListed + perPage - 1) / perPage;
}

bool CMoreGamesPage::BuildPages()
{
    C3DEngine* engine = m_pData->world->Get3DEngine();
    m_pPages = engine->CreateContainer(kAnyId, 0);
    if (!m_pPages)
        return false;
    const float margin = m_pNavigation ? m_pNavigation->GetNavigationMargin() : 0.0f;
    const float left = (m_pData->workingWidth - m_nColumns * m_fCellWidth) * 0.5f;
    const float top = margin + (m_pData->workingHeight - 2.0f * margin - m_nRows * m_fCellHeight) * 0.5f;
    const uint32_t perPage = m_nColumns * m_nRows;
    C3DContainer* page = nullptr;
    uint32_t part = 0;
    for (uint32_t i = 0; i < m_nCount; ++i) {
        if (!m_pEntries[i].enabled)
            continue;
        const uint32_t slot = part % perPage;
        if (slot == 0) {
            page = engine->CreateContainer(m_nCount * (part / perPage + 1), 0);
            if (!page || Failed(m_pPages->AddChild(page, 0)))
                return false;
        }
        const float x = left + (slot % m_nColumns) * m_fCellWidth + (m_fCellWidth - m_fIconSide) * 0.5f;
        const float y = top + (slot / m_nColumns) * m_fCellHeight;
        if (!AddEntryNode(page, i, part, x, y))
            return false;
        ++part;
    }
    return true;
}

bool CMoreGamesPage::AddEntryNode(C3DContainer* page, uint32_t index, uint32_t part, float x, float y)
{
    C3DEngine* engine = m_pData->world->Get3DEngine();
    C3DContainer* entry = engine->CreateContainer(index, 0);
    auto* shadow = static_cast<C3DContainerObject*>(engine->CreateContainerObject(kAnyId, 0));
    auto* icon = static_cast<C3DContainerObject*>(engine->CreateContainerObject(kAnyId, 0));
    auto* title = static_cast<C3DContainerText*>(engine->CreateContainerText(kAnyId, 0));
    // Nodes not yet added are found by the engine's destroy of its own lists.
    if (!entry || !shadow || !icon || !title || Failed(page->AddChild(entry, 1)) ||
        Failed(entry->AddChild(shadow, 1)) || Failed(entry->AddChild(icon, 1)) || Failed(entry->AddChild(title, 1)))
        return false;
    Place(entry, x, y);
    entry->SetHitRect(0.0f, 0.0f, m_fIconSide, m_fIconSide);
    for (C3DContainerObject* node : {shadow, icon}) {
        node->SetObject(m_pIcons);
        node->SetPart(part);
    }
    shadow->SetColor(kShadowColour, 0, 0);
    Place(shadow, kShadowOffset, kShadowOffset);
    const CTextStyles& styles = m_pData->gameData->m_TextStyles;
    title->SetDrawRoutine(DrawTextObjectCallback);
    title->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
    title->SetScale(styles.m_MenuSize[0] * kTitleScale, styles.m_MenuSize[1] * kTitleScale);
    title->SetAlign(kTitleAlign);
    title->SetTextPointer(m_pEntries[index].title);
    Place(title, m_fIconSide * 0.5f, m_fIconSide + styles.m_MenuSize[1] * kTitleScale * 0.5f);
    return true;
}

void CMoreGamesPage::ShowPage(uint32_t page)
{
    m_nPage = page;
    if (!m_pPages)
        return;
    for (uint32_t i = 0; i < m_nPageCount; ++i) {
        if (C3DContainer* node = m_pPages->FindById(m_nCount * (i + 1)))
            node->SetVisible(i == page);
    }
    m_pPages->UpdateWorldMatrix();
}

Result CMoreGamesPage::Process()
{
    const uint32_t clicked = m_pNavigation ? m_pNavigation->GetClickedButton() : 0;
    if (m_nSelected < 0)
        ProcessGrid(clicked);
    else
        ProcessDescription(clicked);
    return RES_OK;
}

void CMoreGamesPage::ProcessGrid(uint32_t clicked)
{
    if (m_pNavigation) {
        m_pNavigation->HideNavButtons();
        m_pNavigation->ShowNavButtons(m_nPage > 0, true, m_nPage + 1 < m_nPageCount);
        m_pNavigation->ShowCollectionButton(true);
        m_pNavigation->UpdateNavButtons();
    }
    if (m_pPages)
        m_pPages->UpdateWorldMatrix();
    const int32_t entry = ClickedEntry();
    if (entry >= 0) {
        PlayClickSound();
        m_nSelected = entry;
        m_pDescription->SetText(2 * uint32_t(entry) + 1, kMoreGamesTable);
        m_pDescription->OnTextNext();
        ProcessDescription(0);
        return;
    }
    const uint32_t page = m_nPage;
    if (clicked == kPrevious) {
        PlayClickSound();
        ShowPage(page > 0 ? page - 1 : 0);
    } else if (clicked == kNextBesideClose) {
        PlayClickSound();
        ShowPage(page + 1 < m_nPageCount ? page + 1 : page);
    } else if (clicked == kWebSite && m_pData->gameData->m_bWebLinks) {
        PlayClickSound();
        OpenWebLink(m_pData->gameData->m_szMainWebSiteUrl);
    }
}

void CMoreGamesPage::ProcessDescription(uint32_t clicked)
{
    const MoreGamesEntry& entry = m_pEntries[m_nSelected];
    const bool link = entry.url[0] && m_pData->gameData->m_bWebLinks;
    if (m_pNavigation) {
        m_pNavigation->HideNavButtons();
        if (link)
            m_pNavigation->ShowMoreGamesButton();
        m_pNavigation->ShowNavButtons(m_pDescription->PageMarkersDiffer(), false, true);
        m_pNavigation->UpdateNavButtons();
    }
    const uint32_t answer = m_pDescription->OnButton(clicked, 0.5f * m_pData->workingHeight);
    if (answer == kNext) {
        m_nSelected = -1;
    } else if (answer == kMoreGames && link) {
        PlayClickSound();
        OpenWebLink(entry.url);
    }
}

int32_t CMoreGamesPage::ClickedEntry() const
{
    if (!m_pPages || !m_pData->mouseReleased[0])
        return -1;
    const Vector2 press{m_pData->pressX, m_pData->pressY};
    const Vector2 pointer{m_pData->pointerX, m_pData->pointerY};
    C3DContainer* pressed = m_pPages->FindAt(&press);
    if (!pressed || pressed != m_pPages->FindAt(&pointer) || pressed->GetId() >= m_nCount)
        return -1;
    return int32_t(pressed->GetId());
}

void CMoreGamesPage::PlayClickSound()
{
    if (m_pNavigation)
        m_pNavigation->PlayClickSound();
}

void CMoreGamesPage::OpenWebLink(const char16_t* url)
{
    if (m_pWorld)
        m_pWorld->OpenWebLink(url);
}

Result CMoreGamesPage::Render()
{
    if (m_pBackground)
        m_pBackground->DrawBackground(255);
    if (m_nSelected < 0 && m_pPages)
        m_pPages->Render(0);
    else if (m_nSelected >= 0)
        IgnoreResult(m_pDescription->Render());
    if (m_pNavigation)
        m_pNavigation->RenderNavButtons();
    return RES_OK;
}

Result CMoreGamesPage::Release()
{
    if (m_pDescription && Failed(m_pDescription->Release()))
        return RES_FAIL;
    m_pDescription.reset();
    C3DEngine* engine = m_pData->world ? m_pData->world->Get3DEngine() : nullptr;
    if (m_pPages && engine)
        IgnoreResult(engine->DestroyContainer(m_pPages));
    if (m_pIcons && engine)
        IgnoreResult(engine->DestroyObject(m_pIcons));
    m_pPages = nullptr;
    m_pIcons = nullptr;
    m_pEntries.reset();
    m_nCount = m_nListed = m_nPage = m_nPageCount = 0;
    m_nSelected = -1;
    m_fIconSide = m_fTitleWidth = m_fTitleHeight = 0.0f;
    return RES_OK;
}
