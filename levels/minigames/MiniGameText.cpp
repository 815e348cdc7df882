#include "levels/minigames/MiniGameText.h"

#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/PopupText.h"

namespace {

constexpr uint32_t kIntroUnits = 1024;
constexpr uint32_t kOpaque = 0xFF000000u;

} // namespace

void DrawGameText(CWorldData* data, const char16_t* text, float x, float y, const Vector2& size, uint32_t colour,
                  uint16_t align)
{
    if (!data || !text)
        return;
    const Vector3 position{x, y, 0.0f};
    DrawTextObjectCallback(&position, colour, &size, align, text, reinterpret_cast<uintptr_t>(data));
}

void RenderIntroText(CWorldData* data, const CPopupText* popup, bool lineBreak)
{
    const CGameData* game = data ? data->gameData : nullptr;
    const char16_t* page = popup ? popup->GetPage() : nullptr;
    if (!game || !page)
        return;
    char16_t text[kIntroUnits];
    const char16_t marker = game->m_CharsetRemap['$'];
    uint32_t n = 0;
    for (; n + 1 < kIntroUnits && page[n]; ++n) {
        text[n] = page[n];
        if (page[n] == u'$' || page[n] == marker) {
            if (!lineBreak)
                break;
            text[n] = u'\n';
        }
    }
    text[n] = 0;
    const Vector2 size{game->m_TextStyles.m_GameSize[0], game->m_TextStyles.m_GameSize[1]};
    DrawGameText(data, text, 0.0f, 0.0f, size, kOpaque | game->m_TextStyles.m_GameColors[0],
                 game->m_TextStyles.m_nAlignment);
}
