#include "levels/Level.h"

#include <algorithm>

#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/screens/Stars.h"
#include "game/widgets/ScreenQuads.h"
#include "levels/SceneFiles.h"

// The level's files and its drawing beside the level types' own: the phase-6 parts and the
// mini-games' modal message.

namespace {

constexpr uint32_t kPhaseClickTarget = 6;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr float kModalSpriteScale = 2.0f;
constexpr float kModalSpriteHeight = 0.4f;
constexpr float kFirstLineHeight = 0.15f;
constexpr float kSecondLineHeight = 0.5f;
constexpr size_t kMessageUnits = 1024;

} // namespace

Result CLevel::LoadFiles()
{
    if (Failed(LoadSceneFiles(*this, u"level", true)))
        return RES_FAIL;
    if (!AreStarsDisabled() && m_nActiveStar == kNoStar)
        PlaceStars();
    return Failed(CGameLevel::LoadFiles()) ? RES_FAIL : RES_OK;
}

Result CLevel::UnloadFiles()
{
    const Result scene = CGameLevel::UnloadFiles();
    return Failed(UnloadSceneFiles(*this)) || Failed(scene) ? RES_FAIL : RES_OK;
}

void CLevel::RenderParts()
{
    CGameData* game = Game();
    if (!game || !m_pDisplay)
        return;
    IgnoreResult(m_pDisplay->SetMatrixPointer(&game->m_matView[0]));
    for (uint32_t i = 0; i < m_nPartCount; ++i) {
        const ScenePart& part = m_pParts[i];
        if (part.phase != kPhaseClickTarget)
            continue;
        const bool fading = ((part.flags & kPartFadingOut) && part.alpha > 0.0f) ||
                            ((part.flags & kPartFadingIn) && part.alpha < 1.0f);
        if (!fading && !(part.flags & kPartDrawn))
            continue;
        m_pDisplay->SetColor(kWhite);
        if (fading)
            m_pDisplay->SetAlpha(static_cast<uint8_t>(std::clamp(part.alpha, 0.0f, 1.0f) * 255.0f));
        IgnoreResult(m_pDisplay->RenderPart(i));
    }
}

void CLevel::RenderModalBackground(float y)
{
    CLevelHost* world = World();
    CStars* widget = world ? world->GetStars() : nullptr;
    C3DObject* sprite = widget ? widget->GetSprite() : nullptr;
    if (!sprite)
        return;
    const Vector3 place{m_pWorldData->workingWidth * 0.5f, y, 0.0f};
    IgnoreResult(sprite->UseOwnMatrix());
    IgnoreResult(sprite->Identity());
    IgnoreResult(sprite->ScaleUniform(kModalSpriteScale));
    IgnoreResult(sprite->SetTranslation(&place));
    sprite->SetColor(kWhite);
    IgnoreResult(sprite->Render());
}

void CLevel::RenderModalMessage()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    if (!game || !world)
        return;
    const float height = m_pWorldData->workingHeight;
    RenderModalBackground(height * kModalSpriteHeight);
    CPopupText* popup = world->GetTutorialPopup();
    CVarnFont* font = world->GetMainFont();
    const char16_t* text = popup ? popup->GetPage() : nullptr;
    if (!font || !text)
        return;
    char16_t line[kMessageUnits];
    const char16_t marker = static_cast<char16_t>(game->m_nPageSeparator);
    const CTextStyles& styles = game->m_TextStyles;
    const float lineHeights[2] = {kFirstLineHeight, kSecondLineHeight};
    for (float lineHeight : lineHeights) {
        size_t n = 0;
        while (text[n] && text[n] != marker && n + 1 < kMessageUnits) {
            line[n] = text[n];
            ++n;
        }
        line[n] = 0;
        const Vector3 pen{0.0f, height * lineHeight, 0.0f};
        Vector3 out{};
        font->HitTestText(&out, line, &pen, kTextScreenCenterX, kOpaque | styles.m_GameColors[0],
                          styles.m_GameSize[0], styles.m_GameSize[1], nullptr, nullptr, 0);
        while (text[n] && text[n] != marker)
            ++n;
        if (text[n] != marker)
            break;
        text += n + 1;
    }
}

void CLevel::RenderTutorialPopup()
{
    CLevelHost* world = World();
    if (CPopupText* popup = world ? world->GetTutorialPopup() : nullptr)
        IgnoreResult(popup->Render());
}
