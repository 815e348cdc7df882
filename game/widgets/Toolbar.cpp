#include "game/widgets/Toolbar.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "core/ParamsReader.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/PopupText.h"
#include "game/SizeFromName.h"
#include "game/StreamValues.h"
#include "game/widgets/MenubarActions.h"
#include "game/widgets/ScreenQuads.h"
#include "world/World.h"

namespace {

constexpr uint32_t kRootId = 0xFFFFFFFFu;
constexpr uint32_t kButtonCount = 4;
constexpr uint32_t kZoomButton = 1;
constexpr uint32_t kNoZoomButton = 2;
constexpr uint32_t kSharedTexture = 1;
constexpr uint32_t kAlphaLinear = 0x52;
constexpr uint16_t kLabelAlign = 3;  // centred on the position
constexpr uint32_t kItemBytes = 24;
constexpr uint32_t kNameUnits = 260;
const char16_t kBadName[] = u"# CToolbar::Load \"%s\" invalid file format, must be \"name.WidthxHeight.ext\"\n";
const char16_t kBadItem[] = u"# CToolbar::LoadFromProfile invalid item %u\n";
const char16_t kTooManyItems[] = u"# CToolbar::LoadFromProfile %u items do not fit\n";
const char16_t kBadSpeedScale[] = u"# CToolbar::LoadFromProfile invalid speed scale\n";

uint8_t AlphaOf(float phase)
{
    return static_cast<uint8_t>(std::clamp(phase, 0.0f, 1.0f) * 255.0f);
}

ToolbarItem* ItemAt(const CLinkedList::Node* node)
{
    return ListObject<ToolbarItem>(node->value);
}

} // namespace

CToolbar::CToolbar(CWorldData* data) : m_pData(data) {}

CToolbar::~CToolbar()
{
    IgnoreResult(Release());
}

C3DEngine* CToolbar::Engine() const
{
    return m_pData->world ? m_pData->world->Get3DEngine() : nullptr;
}

Result CToolbar::Load()
{
    IgnoreResult(Release());
    ReadSettings();
    Vector2 toolbar{}, menubar{};
    Result result = LoadStrip(u"TOOLBAR", u"TOOLBAR_TEXTURE_FILE_NAME", u"toolbar.png", m_pToolbarStrip, toolbar, true);
    if (Succeeded(result))
        result = LoadStrip(u"MENUBAR", u"MENUBAR_TEXTURE_FILE_NAME", u"menubar.png", m_pMenubarStrip, menubar, false);
    m_fToolbarHeight = toolbar.y;
    m_fMenubarWidth = menubar.x;
    if (Succeeded(result))
        result = LoadButtons();
    if (Succeeded(result))
        result = MakeContainers();
    if (Failed(result))
        IgnoreResult(Release());
    return result;
}

void CToolbar::ReadSettings()
{
    const CParamsReader& p = *m_pData->gameParams;
    auto read = [&p](const char16_t* key, float fallback) {
        return static_cast<float>(p.GetFloat(u"TOOLBAR", key, fallback));
    };
    m_fStartX = read(u"TOOLBAR_TEXT_SIZE_START_X", 1.0f);
    m_fSeparatorX = read(u"TOOLBAR_TEXT_SIZE_SEPARATOR_X", 1.0f);
    m_fWidthMaxX = read(u"TOOLBAR_TEXT_SIZE_WIDTH_MAX_X", 1.0f);
    m_fFadeInSpeed = read(u"TOOLBAR_FADE_IN_SPEED", 0.1f);
    m_fRenderSpeed = read(u"TOOLBAR_RENDER_SPEED", 0.1f);
    m_fHighlightSpeed = read(u"TOOLBAR_HIGHLIGHT_SPEED", 0.1f);
    m_fFadeOutSpeed = read(u"TOOLBAR_FADE_OUT_SPEED", 0.1f);
    m_nFadeColour = 0xFF000000u + p.GetU8(u"TOOLBAR", u"TOOLBAR_TEXT_FADE_COLOR_R", 255) * 0x10000u +
                    p.GetU8(u"TOOLBAR", u"TOOLBAR_TEXT_FADE_COLOR_G", 0) * 0x100u +
                    p.GetU8(u"TOOLBAR", u"TOOLBAR_TEXT_FADE_COLOR_B", 0);
}

Result CToolbar::LoadStrip(const char16_t* section, const char16_t* key, const char16_t* defaultName,
                           C3DObject*& strip, Vector2& size, bool bottom)
{
    char16_t name[kNameUnits];
    IgnoreResult(m_pData->gameParams->GetString(section, key, defaultName, name, kNameUnits));
    int32_t width = -1, height = -1;
    const bool sized = ParseSizeFromName(name, &width, &height);
    size = sized ? Vector2{static_cast<float>(width), static_cast<float>(height)} : Vector2{};
    const float top = bottom ? kVirtualScreenHeight - size.y : 0.0f;
    const CScreenRect quad = {0.0f, top, size.x, top + size.y, 0.0f, 0.0f, 1.0f, 1.0f};
    strip = CreateScreenQuads(Engine(), kScreenQuadFlagsA, kScreenQuadFlagsB, &quad, 1);
    if (!strip)
        return RES_FAIL;
    const Result result = AutoLoad3DObjectTextureFromParam(kSourcePacker, strip, kSharedTexture, kAlphaLinear, 0,
                                                           section, key, defaultName, m_pData->gameParams, m_pData);
    if (Failed(result))
        return result;
    if (!sized) {
        LogPrintf(m_pData->logPath, 1, kBadName, name);
        return RES_FAIL;
    }
    return RES_OK;
}

Result CToolbar::LoadButtons()
{
    const float side = static_cast<float>(m_pData->gameParams->GetFloat(u"MENUBAR", u"BUTTON_WIDTH", 32.0f));
    // Menu top left, zoom top right, zoom unavailable bottom left, tutorial bottom right.
    CScreenRect quads[kButtonCount];
    for (uint32_t n = 0; n < kButtonCount; ++n) {
        const float u = (n & 1) * 0.5f;
        const float v = (n >> 1) * 0.5f;
        quads[n] = CentredSquare(side, u, v, u + 0.5f, v + 0.5f);
    }
    m_pButtons = CreateScreenQuads(Engine(), kScreenQuadFlagsA, kScreenQuadFlagsB, quads, kButtonCount);
    if (!m_pButtons)
        return RES_FAIL;
    return AutoLoad3DObjectTextureFromParam(kSourcePacker, m_pButtons, kSharedTexture, kAlphaLinear, 0, u"MENUBAR",
                                            u"BUTTONS_MENU_TEXTURE_FILE_NAME", u"buttons.ingame.png",
                                            m_pData->gameParams, m_pData);
}

Result CToolbar::MakeContainers()
{
    C3DEngine* engine = Engine();
    auto node = [engine](uint32_t id, C3DObject* object, uint32_t part) {
        auto* made = static_cast<C3DContainerObject*>(engine->CreateContainerObject(id, 0));
        if (made) {
            made->SetObject(object);
            made->SetPart(part);
        }
        return made;
    };
    m_pMenubar = node(kRootId, m_pMenubarStrip, kAllParts);
    m_pToolbar = node(kRootId, m_pToolbarStrip, kAllParts);
    if (!m_pMenubar || !m_pToolbar)
        return RES_FAIL;
    static const char16_t* const kPositionKeys[kButtonCount][2] = {{u"MENU_BUTTON_POS_X", u"MENU_BUTTON_POS_Y"},
                                                                   {u"ZOOM_BUTTON_POS_X", u"ZOOM_BUTTON_POS_Y"},
                                                                   {u"ZOOM_BUTTON_POS_X", u"ZOOM_BUTTON_POS_Y"},
                                                                   {u"TUTO_BUTTON_POS_X", u"TUTO_BUTTON_POS_Y"}};
    const CParamsReader& p = *m_pData->gameParams;
    const float half = static_cast<float>(p.GetFloat(u"MENUBAR", u"BUTTON_WIDTH", 32.0f)) * 0.5f;
    for (uint32_t n = 0; n < kButtonCount; ++n) {
        C3DContainer* button = node(n, m_pButtons, n);
        if (!button || Failed(m_pMenubar->AddChild(button, 1))) {
            IgnoreResult(engine->DestroyContainer(button));
            return RES_FAIL;
        }
        const Vector3 position = {static_cast<float>(p.GetFloat(u"MENUBAR", kPositionKeys[n][0], 0.0f)),
                                  static_cast<float>(p.GetFloat(u"MENUBAR", kPositionKeys[n][1], 0.0f)), 0.0f};
        IgnoreResult(button->SetTranslation(&position));
        button->SetHitRect(half, half, half, half);
    }
    UpdateZoomButton(true);  // until a level that can zoom starts
    return RES_OK;
}

Result CToolbar::Release()
{
    C3DEngine* engine = Engine();
    ClearItems();
    for (C3DContainer** container : {&m_pMenubar, &m_pToolbar}) {
        if (*container && engine)
            IgnoreResult(engine->DestroyContainer(*container));
        *container = nullptr;
    }
    DestroyScreenObject(engine, m_pToolbarStrip);
    DestroyScreenObject(engine, m_pMenubarStrip);
    DestroyScreenObject(engine, m_pButtons);
    return RES_OK;
}

Result CToolbar::Process()
{
    Layout();
    return RES_OK;
}

void CToolbar::Layout()
{
    const auto frame = static_cast<float>(m_pData->frameFactor);
    const float scaled = frame * m_fSpeedScale;
    float x = m_fStartX;
    uint32_t placed = 0;
    float placedWidth = 0.0f;
    float shift = 0.0f;
    m_bChanged = false;
    m_nActiveShown = 0;
    for (CLinkedList::Node* node = m_Items.Head(); node;) {
        ToolbarItem* item = ItemAt(node);
        node = node->next;
        const float width = item->labelSize.x;
        item->shown = placed < m_nMaxShown && x + width < m_fWidthMaxX;
        x += width + m_fSeparatorX;
        if (!item->shown)
            continue;
        item->xOffset = shift;
        switch (item->state) {
        case kItemFadeIn:
            item->phase += scaled * m_fFadeInSpeed;
            if (item->phase > 1.0f) {
                item->state = kItemShown;
                item->phase = 1.0f;
            }
            ++m_nActiveShown;
            m_bChanged = true;
            break;
        case kItemShown: {
            item->phase -= scaled * m_fRenderSpeed;
            if (item->phase < 0.0f)
                item->phase = item->widthDelta = 0.0f;
            const float d = item->widthDelta * item->phase;
            item->xOffset -= d;
            shift -= d;
            ++m_nActiveShown;
            break;
        }
        case kItemHighlight:
            item->phase -= scaled * m_fHighlightSpeed;
            if (item->phase < 0.0f) {
                item->state = kItemFadeOut;
                item->phase = 1.0f;
                m_bChanged = true;
            }
            break;
        case kItemFadeOut:
            item->phase -= scaled * m_fFadeOutSpeed;
            m_bChanged = true;
            if (item->phase < 0.0f) {
                FreeItem(item);
                continue;
            }
            shift += (1.0f - item->phase) * width + m_fSeparatorX;
            break;
        default:  // flashing, at its own pace
            item->phase -= frame * m_fHighlightSpeed;
            if (item->phase < 0.0f) {
                item->state = kItemShown;
                item->phase = 1.0f;
                m_bChanged = true;
            }
            ++m_nActiveShown;
            break;
        }
        ++placed;
        placedWidth += width + m_fSeparatorX;
    }
    if (!m_bCentre)
        return;
    const float centring = ((m_fWidthMaxX - m_fStartX) - (placedWidth - m_fSeparatorX)) * 0.5f;
    for (CLinkedList::Node* node = m_Items.Head(); node; node = node->next) {
        if (ItemAt(node)->shown)
            ItemAt(node)->xOffset -= centring;
    }
}

float CToolbar::RowY() const
{
    const CGameData* game = m_pData->gameData;
    return kVirtualScreenHeight - game->m_TextStyles.m_ToolbarSize[1] * 0.5f - m_fToolbarHeight * 0.5f;
}

void CToolbar::RenderToolbarStrip()
{
    if (!m_pToolbar)
        return;
    m_pToolbar->UpdateWorldMatrix();
    m_pToolbar->Render(0);
}

void CToolbar::RenderMenubar()
{
    if (!m_pMenubar)
        return;
    m_pMenubar->UpdateWorldMatrix();
    m_pMenubar->Render(0);
}

void CToolbar::DrawLabel(C3DContainerText* text, const Vector3& position, uint8_t alpha, float scale)
{
    IgnoreResult(text->Identity());
    IgnoreResult(text->ScaleUniform(scale));
    IgnoreResult(text->SetTranslation(&position));
    text->UpdateWorldMatrix();
    text->SetAlpha(alpha);
    text->Render(0);
}

void CToolbar::RenderItems()
{
    const float baseY = RowY();
    float x = m_fStartX;
    for (CLinkedList::Node* node = m_Items.Head(); node; node = node->next) {
        const ToolbarItem* item = ItemAt(node);
        const Vector3& size = item->labelSize;
        const Vector3 position = {x + size.x * 0.5f - item->xOffset, baseY + size.y * 0.5f, 0.0f};
        x += size.x + m_fSeparatorX;
        if (!item->shown)
            continue;
        switch (item->state) {
        case kItemHighlight:
        case kItemFlash:
            DrawLabel(item->label, position, AlphaOf(item->phase), 1.0f);
            DrawLabel(item->fadeLabel, position, AlphaOf(1.0f - item->phase), 1.0f);
            break;
        case kItemFadeOut:
            DrawLabel(item->fadeLabel, position, 255, item->phase);
            break;
        default:
            DrawLabel(item->label, position, 255, 1.0f);
            break;
        }
    }
}

void CToolbar::UpdateZoomButton(bool locked)
{
    if (!m_pMenubar)
        return;
    if (C3DContainer* zoom = m_pMenubar->FindById(kZoomButton))
        zoom->SetVisible(locked ? 0 : 1);
    if (C3DContainer* noZoom = m_pMenubar->FindById(kNoZoomButton))
        noZoom->SetVisible(locked ? 1 : 0);
    // A hidden node's place is not kept up to date: the shown one takes its place at once.
    m_pMenubar->UpdateWorldMatrix();
}

bool CToolbar::IsPointOnBars() const
{
    return m_pData->pointerX < m_fMenubarWidth || kVirtualScreenHeight - m_fToolbarHeight < m_pData->pointerY;
}

int32_t CToolbar::ButtonAt(float x, float y) const
{
    const Vector2 point = {x, y};
    C3DContainer* hit = m_pMenubar ? m_pMenubar->FindAt(&point) : nullptr;
    return hit && hit != m_pMenubar ? static_cast<int32_t>(hit->GetId()) : -1;
}

Result CToolbar::OnMenubarClick()
{
    const int32_t pressed = ButtonAt(m_pData->pressX, m_pData->pressY);
    if (pressed < 0 || pressed != ButtonAt(m_pData->pointerX, m_pData->pointerY))
        return RES_FAIL;
    switch (pressed) {
    case 0:
        if (m_pActions)
            m_pActions->OnMenuButton();
        return RES_OK;
    case kZoomButton:
        if (m_pActions)
            m_pActions->OnZoomButton();
        return RES_OK;
    case kNoZoomButton:
        return RES_OK;
    case 3:
        if (m_pActions)
            m_pActions->OnTutorialButton();
        return RES_OK;
    default:
        return RES_FAIL;
    }
}

ToolbarItem* CToolbar::FindItem(uint32_t stringId) const
{
    for (CLinkedList::Node* node = m_Items.Head(); node; node = node->next) {
        if (ItemAt(node)->stringId == stringId)
            return ItemAt(node);
    }
    return nullptr;
}

void CToolbar::AddItem(uint32_t stringId, bool fadeIn)
{
    if (ToolbarItem* item = FindItem(stringId)) {
        ++item->count;
        MeasureItemText(item, false);
        return;
    }
    ToolbarItem fields = {};
    fields.count = 1;
    fields.stringId = stringId;
    fields.state = fadeIn ? kItemFadeIn : kItemShown;
    AppendItem(fields);
}

ToolbarItem* CToolbar::AppendItem(const ToolbarItem& fields)
{
    auto* item = new (std::nothrow) ToolbarItem(fields);
    if (!item)
        return nullptr;
    item->label = item->fadeLabel = nullptr;
    MeasureItemText(item, false);
    if (Failed(m_Items.AddTail(item))) {
        delete item;
        return nullptr;
    }
    ++m_nItemCount;
    if (!MakeTexts(item)) {
        FreeItem(item);
        return nullptr;
    }
    SetItemLabel(item);
    return item;
}

bool CToolbar::MakeTexts(ToolbarItem* item)
{
    C3DEngine* engine = Engine();
    if (!engine)
        return false;
    const float* size = m_pData->gameData->m_TextStyles.m_ToolbarSize;
    for (C3DContainerText** text : {&item->label, &item->fadeLabel}) {
        *text = static_cast<C3DContainerText*>(engine->CreateContainerText(kRootId, 0));
        if (!*text)
            return false;
        (*text)->SetDrawRoutine(DrawTextObjectCallback);
        (*text)->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
        (*text)->SetScale(size[0], size[1]);
        (*text)->SetAlign(kLabelAlign);
    }
    item->fadeLabel->SetColor(m_nFadeColour, 0, 0);
    return true;
}

void CToolbar::FreeItem(ToolbarItem* item)
{
    if (C3DEngine* engine = Engine()) {
        for (C3DContainerText* text : {item->label, item->fadeLabel}) {
            if (text)
                IgnoreResult(engine->DestroyContainer(text));
        }
    }
    IgnoreResult(m_Items.Remove(item));
    --m_nItemCount;
    delete item;
}

bool CToolbar::RemoveFoundItem(uint32_t stringId, bool animate)
{
    const bool several = m_Items.Head() && m_Items.Head()->next;
    ToolbarItem* item = FindItem(stringId);
    if (!item)
        return false;
    if (item->count == 0) {
        MeasureItemText(item, animate);
        return false;
    }
    if (--item->count > 0) {
        SetItemLabel(item);
        MeasureItemText(item, true);
        return false;
    }
    if (animate && several) {
        item->state = kItemHighlight;
        item->phase = 1.0f;
        MeasureItemText(item, true);
        return false;
    }
    FreeItem(item);
    return m_Items.IsEmpty();
}

bool CToolbar::IsItemShown(uint32_t stringId) const
{
    const ToolbarItem* item = FindItem(stringId);
    return item && item->shown;
}

ToolbarItem* CToolbar::FlashItem(uint32_t stringId)
{
    ToolbarItem* item = FindItem(stringId);
    if (item) {
        item->state = kItemFlash;
        item->phase = 1.0f;
    }
    return item;
}

void CToolbar::ClearItems()
{
    while (!m_Items.IsEmpty())
        FreeItem(ItemAt(m_Items.Head()));
}

const char16_t* CToolbar::BuildLabel(const ToolbarItem* item)
{
    char16_t* label = m_pData->scratch;
    label[0] = 0;
    if (item->count > 1) {
        WFormat(label, kScratchUnits, u"%d x ", static_cast<int32_t>(item->count));
        if (IsCharsetMode(*m_pData->gameData))
            ApplyCharsetRemap(label, m_pData);
    }
    WStrAppend(label, kScratchUnits, CPopupText::GetString(item->stringId, kGameTable, m_pData));
    return label;
}

void CToolbar::MeasureItemText(ToolbarItem* item, bool animate)
{
    const CGameData* game = m_pData->gameData;
    const float oldWidth = item->labelSize.x;
    const char16_t* label = BuildLabel(item);
    item->labelSize = {};
    if (game->m_pMainFont)
        game->m_pMainFont->MeasureText(&item->labelSize, label, game->m_TextStyles.m_ToolbarSize[0],
                                       game->m_TextStyles.m_ToolbarSize[1]);
    if (item->count <= 1 && animate && item->labelSize.x > 0.0f) {
        item->phase = 1.0f;
        item->widthDelta = oldWidth - item->labelSize.x;
    }
}

void CToolbar::SetItemLabel(ToolbarItem* item)
{
    const char16_t* label = BuildLabel(item);
    if (item->label)
        item->label->SetText(label);
    if (item->fadeLabel)
        item->fadeLabel->SetText(label);
}

void CToolbar::UpdateItemTexts()
{
    for (CLinkedList::Node* node = m_Items.Head(); node; node = node->next)
        SetItemLabel(ItemAt(node));
}

void CToolbar::RefreshItemTexts()
{
    for (CLinkedList::Node* node = m_Items.Head(); node; node = node->next)
        MeasureItemText(ItemAt(node), false);
}

Result CToolbar::SaveToProfile(CStream& stream)
{
    bool written = WriteValue(stream, m_nItemCount) && WriteValue(stream, m_nMaxShown) &&
                   WriteValue(stream, static_cast<uint8_t>(m_bCentre)) && WriteValue(stream, m_fSpeedScale);
    for (CLinkedList::Node* node = m_Items.Head(); written && node; node = node->next) {
        const ToolbarItem* item = ItemAt(node);
        written = WriteValue(stream, item->stringId) && WriteValue(stream, item->count) &&
                  WriteValue(stream, item->state) && WriteValue(stream, item->phase) &&
                  WriteValue(stream, item->xOffset) && WriteValue(stream, item->widthDelta);
    }
    return written ? RES_OK : RES_FAIL;
}

Result CToolbar::LoadFromProfile(CStream& stream, uint16_t)
{
    ClearItems();
    uint32_t count = 0;
    uint8_t centre = 0;
    float speedScale = 0.0f;
    if (!ReadValue(stream, count) || !ReadValue(stream, m_nMaxShown) || !ReadValue(stream, centre) ||
        !ReadValue(stream, speedScale))
        return RES_FAIL;
    // A negative or endless scale would drive the phases past every bound.
    if (!(speedScale >= 0.0f) || !std::isfinite(speedScale)) {
        LogPrintf(m_pData->logPath, 1, kBadSpeedScale);
        return RES_FAIL;
    }
    m_fSpeedScale = speedScale;
    m_bCentre = centre != 0;
    if (count > stream.BytesLeft() / kItemBytes) {
        LogPrintf(m_pData->logPath, 1, kTooManyItems, count);
        return RES_FAIL;
    }
    for (uint32_t i = 0; i < count; ++i) {
        ToolbarItem fields = {};
        if (!ReadValue(stream, fields.stringId) || !ReadValue(stream, fields.count) ||
            !ReadValue(stream, fields.state) || !ReadValue(stream, fields.phase) ||
            !ReadValue(stream, fields.xOffset) || !ReadValue(stream, fields.widthDelta))
            return RES_FAIL;
        if (fields.state >= kItemStateCount || !std::isfinite(fields.phase) || !std::isfinite(fields.xOffset) ||
            !std::isfinite(fields.widthDelta)) {
            LogPrintf(m_pData->logPath, 1, kBadItem, i);
            return RES_FAIL;
        }
        fields.phase = std::clamp(fields.phase, 0.0f, 1.0f);
        if (!AppendItem(fields))
            return RES_OUT_OF_MEMORY;
    }
    return RES_OK;
}
