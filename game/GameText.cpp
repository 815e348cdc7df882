#include "game/GameText.h"

#include <algorithm>
#include <cmath>

#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "game/GameData.h"

namespace {

CVarnFont* MainFont(const CWorldData* data)
{
    return data && data->gameData ? data->gameData->m_pMainFont : nullptr;
}

} // namespace

void DrawTextObjectCallback(const Vector3* position, uint32_t colour, const Vector2* size, uint16_t align,
                            const char16_t* text, uintptr_t context)
{
    CVarnFont* font = MainFont(reinterpret_cast<const CWorldData*>(context));
    if (!font || !text || !position || !size)
        return;
    Vector3 out;
    font->HitTestText(&out, text, position, align, colour, size->x, size->y, nullptr, nullptr, 0);
}

bool WrapGameText(CWorldData* data, const float scale[2], const char16_t* source, char16_t* destination,
                  uint32_t capacity, double width)
{
    CVarnFont* font = MainFont(data);
    destination[0] = 0;
    if (!font)
        return false;
    const auto units = static_cast<uint16_t>(width >= 1.0 ? std::min(std::trunc(width), 65535.0) : 1.0);
    const CGameData& game = *data->gameData;
    font->WrapText(scale[0], scale[1], source, destination, capacity, units, game.m_nSeparatorUnit,
                   game.m_OpeningChars, game.m_ClosingChars, 0);
    return true;
}
