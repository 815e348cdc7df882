#include "game/menus/MenuDialog.h"

#include <cstdio>
#include <cstring>

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/PlatformTable.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Frame.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/Texture.h"
#include "game/GameData.h"
#include "game/PopupText.h"
#include "game/SizeFromName.h"
#include "game/StreamValues.h"
#include "world/World.h"
#include "game/menus/MenuDialogParts.h"

namespace {

const char16_t kMenuSection[] = u"MENU_DIALOG";
const char16_t kCountChanged[] = u"The commons line count changed,\na new construction must be made";
constexpr uint32_t kCellVertices = 4;

struct CPictureKey {
    const char16_t* key;
    const char16_t* file;
};

// The pictures in loading order; the platform logo's key is made from the platform.
constexpr CPictureKey kPictureKeys[kMenuPictureCount] = {
    {u"DLG_UPPER_LEFT_TEXTURE_FILE_NAME", u"dlg_up_left.png"},
    {u"DLG_UPPER_TEXTURE_FILE_NAME", u"dlg_up.png"},
    {u"DLG_UPPER_RIGHT_TEXTURE_FILE_NAME", u"dlg_up_right.png"},
    {u"DLG_LEFT_TEXTURE_FILE_NAME", u"dlg_left.png"},
    {u"DLG_BODY_TEXTURE_FILE_NAME", u"dlg_body.png"},
    {u"DLG_RIGHT_TEXTURE_FILE_NAME", u"dlg_right.png"},
    {u"DLG_LOWER_LEFT_TEXTURE_FILE_NAME", u"dlg_bottom_left.png"},
    {u"DLG_LOWER_TEXTURE_FILE_NAME", u"dlg_bottom.png"},
    {u"DLG_LOWER_RIGHT_TEXTURE_FILE_NAME", u"dlg_bottom_right.png"},
    {nullptr, u"logo_platform.png"},
    {u"BUTTONS_NAV_TEXTURE_FILE_NAME", u"buttons.2.png"},
    {u"BUTTONS_SLIDER_TEXTURE_FILE_NAME", u"buttons.slider.png"},
    {u"COLLECTION_BUTTON_TEXTURE_FILE_NAME", u"buttons.kvo.png"},
    {u"BUTTONS_PROFILES_TEXTURE_FILE_NAME", u"buttons.profiles.png"},
    {u"BUTTONS_MODES_TEXTURE_FILE_NAME", u"buttons.modes.png"},
    {u"BUTTONS_LANGS_TEXTURE_FILE_NAME", u"buttons.langs.png"},
    {u"BUTTONS_SOCIAL_TEXTURE_FILE_NAME", u"buttons.social.png"},
};

} // namespace

CMenuDialog::CMenuDialog(CWorldData* data, CMenuWorld* world, CMenuWebClient* web)
    : m_pData(data), m_pWorld(world), m_pWeb(web)
{
}

CMenuDialog::~CMenuDialog() = default;

CGameData& CMenuDialog::Game() const { return *m_pData->gameData; }

C3DEngine* CMenuDialog::Engine() const { return m_pData->world ? m_pData->world->Get3DEngine() : nullptr; }

const char16_t* CMenuDialog::LineString(uint32_t lineId) const
{
    const CGameData& game = Game();
    const CStringTable& table = game.m_GameStrings;
    if (!m_pStringMap || lineId >= kMenuLineCount || !table.m_pUnits || game.m_nCommonsCount > table.m_nCount)
        return kMissingString;
    const uint64_t index = uint64_t{table.m_nCount - game.m_nCommonsCount} + m_pStringMap[lineId];
    return m_pStringMap[lineId] < game.m_nCommonsCount ? &table.m_pUnits[table.m_pOffsets[index]] : kMissingString;
}

void CMenuDialog::ReadKeys()
{
    const CParamsReader* params = m_pData->gameParams;
    auto get = [params](const char16_t* section, const char16_t* key, float fallback) {
        return params ? static_cast<float>(params->GetFloat(section, key, fallback)) : fallback;
    };
    auto half = [&get](const char16_t* section, const char16_t* key) { return get(section, key, 1.0f) * 0.5f; };
    m_DialogRatios[0] = get(kMenuSection, u"DLG_WIDTH_EXTRA_BORDER_RATIO", 3.0f);
    m_DialogRatios[1] = get(kMenuSection, u"DLG_HEIGHT_EXTRA_FONT_RATIO", 2.0f);
    m_ButtonRatios[0] = get(kMenuSection, u"BT_WIDTH_EXTRA_BORDER_RATIO", 3.0f);
    m_ButtonRatios[1] = get(kMenuSection, u"BT_HEIGHT_EXTRA_FONT_RATIO", 1.35f);
    m_fNormalHalfWidth = half(kMenuSection, u"NORMAL_BUTTON_WIDTH");
    m_SliderHalf[0] = half(kMenuSection, u"BUTTONS_SLIDER_WIDTH");
    m_SliderHalf[1] = half(kMenuSection, u"BUTTONS_SLIDER_HEIGHT");
    m_CollectionHalf[0] = half(kMenuSection, u"COLLECTION_BUTTON_SIZE_WIDTH");
    m_CollectionHalf[1] = half(kMenuSection, u"COLLECTION_BUTTON_SIZE_HEIGHT");
    m_CreditsHalf[0] = half(kCreditsSection, u"CREDITS_BUTTON_SIZE_WIDTH");
    m_CreditsHalf[1] = half(kCreditsSection, u"CREDITS_BUTTON_SIZE_HEIGHT");
    m_fSmallHalfWidth = half(kMenuSection, u"SMALL_BUTTON_WIDTH");
    m_SmallBorderRatio[0] = get(kMenuSection, u"SMALL_BUTTON_BORDER_RATIO_X", 0.25f);
    m_SmallBorderRatio[1] = get(kMenuSection, u"SMALL_BUTTON_BORDER_RATIO_Y", 0.15f);
    m_fSpacing = get(kMenuSection, u"SPACING_BUTTONS", 0.04f);
    m_NavClose[0] = get(kMenuSection, u"NAV_CLOSE_BUTTON_SIZE_POS_X", 1.0f);
    m_NavClose[1] = get(kMenuSection, u"NAV_CLOSE_BUTTON_SIZE_POS_Y", 1.0f);
    m_NavNextEx[0] = get(kMenuSection, u"NAV_NEXT_EX_BUTTON_SIZE_POS_X", 1.0f);
    m_NavNextEx[1] = get(kMenuSection, u"NAV_NEXT_EX_BUTTON_SIZE_POS_Y", 1.0f);
    m_NavNext[0] = get(kMenuSection, u"NAV_NEXT_BUTTON_SIZE_POS_X", 1.0f);
    m_NavNext[1] = get(kMenuSection, u"NAV_NEXT_BUTTON_SIZE_POS_Y", 1.0f);
    m_NavPrev[0] = get(kMenuSection, u"NAV_PREV_BUTTON_SIZE_POS_X", 1.0f);
    m_NavPrev[1] = get(kMenuSection, u"NAV_PREV_BUTTON_SIZE_POS_Y", 1.0f);
}

Result CMenuDialog::LoadPictures()
{
    C3DEngine* engine = Engine();
    for (uint32_t i = 0; i < kMenuPictureCount; ++i) {
        char16_t key[64];
        const char16_t* section = kMenuSection;
        if (!kPictureKeys[i].key) {
            WFormat(key, 64, u"PLATFORM_TEXTURE_FILE_NAME_%s", PlatformKey(Game().m_nPlatform));
            section = u"MORE_GAMES";
        } else {
            WStrCopy(key, 64, kPictureKeys[i].key);
        }
        m_pPictures[i] = AutoLoadTextureFromParamEx(kSourcePacker, kSharedPicture, kPictureParameter, section, key,
                                                    kPictureKeys[i].file, m_pData->gameParams, engine);
        if (!m_pPictures[i])
            return RES_FAIL;
    }
    return RES_OK;
}

// One part per cell of a kSheetColumns x kSheetColumns sheet, then one of the whole picture;
// each a unit quad around the origin.
bool CMenuDialog::MakeButtonsObject()
{
    constexpr uint32_t parts = kSheetCells + 1;
    m_pButtons = Engine()->CreateObject(kQuadFlagsA, kQuadFlagsB);
    if (!m_pButtons || Failed(m_pButtons->Create(parts, parts * kCellVertices, parts * kCellVertices)))
        return false;
    IgnoreResult(m_pButtons->Lock());
    m_pButtons->ResetIndices();
    const float cell = 1.0f / kSheetColumns;
    for (uint32_t part = 0; part < parts; ++part) {
        const bool whole = part == kWholePicture;
        const float u0 = whole ? 0.0f : static_cast<float>(part % kSheetColumns) * cell;
        const float v0 = whole ? 0.0f : static_cast<float>(part / kSheetColumns) * cell;
        const float size = whole ? 1.0f : cell;
        const uint32_t first = part * kCellVertices;
        // A part's indices count from its first vertex.
        m_pButtons->FillIndexRange(first, kCellVertices);
        for (uint32_t corner = 0; corner < kCellVertices; ++corner) {
            const float right = (corner & 1) ? 1.0f : 0.0f;
            const float bottom = (corner & 2) ? 1.0f : 0.0f;
            m_pButtons->SetVertex(first + corner, right - 0.5f, bottom - 0.5f, 0.0f, 0xFFFFFFFFu, u0 + right * size,
                                  v0 + bottom * size, 0.0f, 0.0f, 0.0f, 0);
        }
        IgnoreResult(m_pButtons->SetPrimitiveGroup(part, first, kCellVertices, first, kCellVertices, 2,
                                                   kPrimitiveTriangleStrip, kCullCounterClockwise, kPartNumberId));
    }
    IgnoreResult(m_pButtons->Unlock(0));
    return true;
}

C3DContainer* CMenuDialog::AddQuad(C3DContainer* parent, uint32_t id, C3DTexture* texture, uint32_t part, float x,
                                   float y, float halfWidth, float halfHeight, bool hit)
{
    auto* node = static_cast<C3DContainerObject*>(Engine()->CreateContainerObject(id, 0));
    if (!node)
        return nullptr;
    if (Failed(parent->AddChild(node, 1))) {
        IgnoreResult(Engine()->DestroyContainer(node));
        return nullptr;
    }
    node->SetObject(m_pButtons);
    node->SetTexture(texture);
    node->SetPart(part);
    const Vector3 position{x, y, 0.0f};
    IgnoreResult(node->Identity());
    IgnoreResult(node->Scale3(2.0f * halfWidth, 2.0f * halfHeight, 1.0f));
    IgnoreResult(node->SetTranslation(&position));
    if (hit)
        node->SetHitRect(halfWidth, halfHeight, halfWidth, halfHeight);
    return node;
}

// Half the reference size of the logo's name (its picture's size without one), in the lower
// right corner.
void CMenuDialog::PlaceLogo(float* x, float* y, float* halfWidth, float* halfHeight)
{
    C3DTexture* logo = m_pPictures[kPictureLogo];
    char16_t key[64], name[kAutoLoadNameUnits] = {};
    WFormat(key, 64, u"PLATFORM_TEXTURE_FILE_NAME_%s", PlatformKey(Game().m_nPlatform));
    if (m_pData->gameParams)
        IgnoreResult(m_pData->gameParams->GetString(u"MORE_GAMES", key, kPictureKeys[kPictureLogo].file, name,
                                                    kAutoLoadNameUnits));
    int32_t width = -1, height = -1;
    ParseSizeFromName(name, &width, &height);
    if (width < 0 || height < 0) {
        width = logo->GetWidth();
        height = logo->GetHeight();
    }
    *halfWidth = static_cast<float>(width) * 0.25f;
    *halfHeight = static_cast<float>(height) * 0.25f;
    *x = m_pData->workingWidth - *halfWidth;
    *y = m_pData->workingHeight - *halfHeight;
}

Result CMenuDialog::MakeNavLayer()
{
    C3DEngine* engine = Engine();
    m_pNavLayer = engine->CreateContainer(kAllNodes, 0);
    if (!m_pNavLayer)
        return RES_FAIL;
    C3DTexture* nav = m_pPictures[kPictureNav];
    const float half = m_fNormalHalfWidth;
    const float badgeX = m_pData->workingWidth - 3.0f * m_SmallBorderRatio[0] * m_fButtonBorder;
    const float badgeY = 3.0f * m_SmallBorderRatio[1] * m_fButtonBorder;
    float logoX, logoY, logoHalfWidth, logoHalfHeight;
    PlaceLogo(&logoX, &logoY, &logoHalfWidth, &logoHalfHeight);
    const float collectionX = m_CollectionHalf[0];
    const float collectionY = m_pData->workingHeight - m_CollectionHalf[1];
    const float social = m_fSmallHalfWidth;
    const bool made =
        AddQuad(m_pNavLayer, kNavClose, nav, kNavClose, m_NavClose[0], m_NavClose[1], half, half, true) &&
        AddQuad(m_pNavLayer, kNavNext, nav, kNavNext, m_NavNext[0], m_NavNext[1], half, half, true) &&
        AddQuad(m_pNavLayer, kNavNextBesideClose, nav, kNavNext, m_NavNextEx[0], m_NavNextEx[1], half, half, true) &&
        AddQuad(m_pNavLayer, kNavPrevious, nav, kNavPrevious, m_NavPrev[0], m_NavPrev[1], half, half, true) &&
        AddQuad(m_pNavLayer, kNavTimerBadge, nav, kNavTimerBadge, badgeX, badgeY, half, half, true) &&
        AddQuad(m_pNavLayer, kNavMoreGames, m_pPictures[kPictureLogo], kWholePicture, logoX, logoY, logoHalfWidth,
                logoHalfHeight, true) &&
        AddQuad(m_pNavLayer, kNavCollection, m_pPictures[kPictureCollection], 0, collectionX, collectionY,
                m_CollectionHalf[0], m_CollectionHalf[1], true) &&
        AddQuad(m_pNavLayer, kNavCollectionLit, m_pPictures[kPictureCollection], 1, collectionX, collectionY,
                m_CollectionHalf[0], m_CollectionHalf[1], true) &&
        AddQuad(m_pNavLayer, kNavTwitter, m_pPictures[kPictureSocial], 1, 3.0f * social, social, social, social,
                true) &&
        AddQuad(m_pNavLayer, kNavFacebook, m_pPictures[kPictureSocial], 0, social, social, social, social, true);
    m_pNavLayer->UpdateWorldMatrix();
    return made ? RES_OK : RES_FAIL;
}

Result CMenuDialog::Load()
{
    C3DEngine* engine = Engine();
    if (!engine)
        return RES_FAIL;
    ReadKeys();
    if (Failed(LoadPictures()))
        return RES_FAIL;
    m_pDialogFrame = std::make_unique<C3DFrame>(m_pData, engine);
    m_pButtonFrame = std::make_unique<C3DFrame>(m_pData, engine);
    if (Failed(m_pDialogFrame->Create(m_pPictures)) || Failed(m_pButtonFrame->Create(m_pPictures)) ||
        !MakeButtonsObject())
        return RES_FAIL;
    return MakeNavLayer();
}

Result CMenuDialog::Release()
{
    C3DEngine* engine = Engine();
    for (std::unique_ptr<C3DFrame>* frame : {&m_pDialogFrame, &m_pButtonFrame}) {
        if (*frame)
            IgnoreResult((*frame)->Release());
        frame->reset();
    }
    if (m_pButtons)
        IgnoreResult(engine->DestroyObject(m_pButtons));
    m_pButtons = nullptr;
    for (C3DTexture*& picture : m_pPictures) {
        if (picture)
            IgnoreResult(engine->DestroyTexture(picture));
        picture = nullptr;
    }
    m_pStringMap.reset();
    ReleaseCredits();
    for (C3DContainer** container : {&m_pPageContainer, &m_pNavLayer}) {
        if (*container)
            IgnoreResult(engine->DestroyContainer(*container));
        *container = nullptr;
    }
    m_pEntryNode = nullptr;
    m_nPlacedCount = 0;
    return RES_OK;
}

Result CMenuDialog::ReadConstruction(CStream& stream)
{
    uint32_t count = 0;
    if (!ReadValue(stream, count))
        return RES_FAIL;
    if (count != kMenuLineCount) {
        WStrCopy(m_pData->errorDetail, kMaxPathUnits, kCountChanged);
        return RES_FAIL;
    }
    std::unique_ptr<uint32_t[]> map(new (std::nothrow) uint32_t[kMenuLineCount]);
    uint16_t click = 0;
    float dialogBorder = 0.0f, buttonBorder = 0.0f;
    if (!map || !stream.Read(map.get(), sizeof(uint32_t), kMenuLineCount) || !ReadValue(stream, click) ||
        !ReadValue(stream, dialogBorder) || !ReadValue(stream, buttonBorder))
        return RES_FAIL;
    m_pStringMap = std::move(map);
    m_nClickSound = click;
    m_fDialogBorder = dialogBorder;
    m_fButtonBorder = buttonBorder;
    return RES_OK;
}

Result CMenuDialog::Process()
{
    if (m_pPageContainer)
        m_pPageContainer->UpdateWorldMatrix();
    return RES_OK;
}

float CMenuDialog::GetFrameWidth() { return m_pDialogFrame ? m_pDialogFrame->GetWidth() : 0.0f; }
