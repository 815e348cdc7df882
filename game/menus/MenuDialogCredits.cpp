#include "base/WideFormat.h"
#include "core/ModuleTypes.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "game/CharsetRemap.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "platform/win32/Win32System.h"

namespace {

struct CCreditLogo {
    const char16_t* key;
    const char16_t* file;
    uint32_t id;
    float x, y;  // shares of the working width and height
};

constexpr CCreditLogo kCreditLogos[kCreditLogoCount] = {
    {u"LOGO_EDITOR_TEXTURE_FILE_NAME", u"logo_editor.png", 6, 0.15f, 0.175f},
    {u"LOGO_GRAPH_TEXTURE_FILE_NAME", u"logo_graph.png", 7, 0.15f, 0.825f},
    {u"LOGO_DEV_TEXTURE_FILE_NAME", u"logo_dev.png", 8, 0.15f, 0.5f},
};

constexpr uint32_t kVersionMajor = 1;
constexpr uint32_t kVersionMinor = 203;
// The logos stand left of their place, where the credits text begins; the version line below
// them in small print, so that the scrolling text passes neither.
constexpr float kLogoGap = 8.0f;
constexpr float kVersionScale = 0.5f;

} // namespace

// The three logos (one that cannot be loaded is left out) and the version line in the lower left,
// beside the column of the credits text.
Result CMenuDialog::BuildCredits()
{
    ReleaseCredits();
    C3DEngine* engine = Engine();
    m_pCreditsContainer = engine && m_pButtons ? engine->CreateContainer(kAllNodes, 0) : nullptr;
    if (!m_pCreditsContainer)
        return RES_FAIL;
    const float width = m_pData->workingWidth, height = m_pData->workingHeight;
    for (uint32_t i = 0; i < kCreditLogoCount; ++i) {
        const CCreditLogo& logo = kCreditLogos[i];
        m_pCreditLogos[i] = AutoLoadTextureFromParamEx(kSourcePacker, kSharedPicture, kPictureParameter,
                                                       kCreditsSection, logo.key, logo.file, m_pData->gameParams,
                                                       engine);
        if (m_pCreditLogos[i])
            AddQuad(m_pCreditsContainer, logo.id, m_pCreditLogos[i], kWholePicture,
                    logo.x * width - m_CreditsHalf[0] - kLogoGap, logo.y * height, m_CreditsHalf[0], m_CreditsHalf[1],
                    true);
    }
    const CGameData& game = Game();
    const CModuleDescriptor* module = m_pData->chosenModules[0].descriptor;
    WFormat(m_szVersion, kVersionUnits, u"v %d,%03d [%d] (0x%x) %s%s", kVersionMajor, kVersionMinor,
            game.m_nConstructionNumber, static_cast<uint32_t>(GetSystemDefaultLangID()),
            module && module->shortName ? module->shortName : u"", u"");
    if (IsCharsetMode(game))
        ApplyCharsetRemap(m_szVersion, m_pData);
    auto* text = static_cast<C3DContainerText*>(engine->CreateContainerText(0, 0));
    if (!text || Failed(m_pCreditsContainer->AddChild(text, 1))) {
        IgnoreResult(engine->DestroyContainer(text));
        return RES_FAIL;
    }
    const float* menu = game.m_TextStyles.m_MenuSize;
    const float size[2] = {menu[0] * kVersionScale, menu[1] * kVersionScale};
    const Vector3 position{size[0], height - 2.0f * size[1], 0.0f};
    text->SetDrawRoutine(DrawTextObjectCallback);
    text->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
    text->SetScale(size[0], size[1]);
    text->SetColor(game.m_TextStyles.m_nMenuColor, 0, 0);
    text->SetTextPointer(m_szVersion);
    IgnoreResult(text->Identity());
    IgnoreResult(text->SetTranslation(&position));
    m_pCreditsContainer->UpdateWorldMatrix();
    return RES_OK;
}

uint32_t CMenuDialog::UpdateCredits()
{
    if (!m_pCreditsContainer)
        return kLineOwnId;
    m_pCreditsContainer->UpdateWorldMatrix();
    C3DContainer* node = ClickedNode(m_pCreditsContainer);
    return node ? node->GetId() : kLineOwnId;
}

void CMenuDialog::RenderCredits()
{
    if (m_pCreditsContainer)
        m_pCreditsContainer->Render(0);
}

void CMenuDialog::ReleaseCredits()
{
    C3DEngine* engine = Engine();
    for (C3DTexture*& logo : m_pCreditLogos) {
        if (logo && engine)
            IgnoreResult(engine->DestroyTexture(logo));
        logo = nullptr;
    }
    if (m_pCreditsContainer && engine)
        IgnoreResult(engine->DestroyContainer(m_pCreditsContainer));
    m_pCreditsContainer = nullptr;
}
