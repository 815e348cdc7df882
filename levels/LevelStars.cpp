#include "levels/Level.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/Log.h"
#include "core/Math3D.h"
#include "core/ParamsReader.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "game/GameTimer.h"
#include "game/LevelHost.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "game/widgets/ScreenQuads.h"

// The hidden stars: placing, picking, catching, fading and drawing them.

namespace {

constexpr uint32_t kModeStory = 0;
constexpr uint32_t kModeTimed = 1;
constexpr uint32_t kMaxSlotDraws = 32;
constexpr uint32_t kMaxPlaceDraws = 64;
constexpr double kTwoPi = 6.283185307179586;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kMarkerColour = 0xFF0000FFu;
constexpr uint32_t kStarFound = kPartWaiting;
constexpr uint32_t kStarFades = kPartFadingIn | kPartFadingOut;

uint8_t AlphaByte(float alpha)
{
    return static_cast<uint8_t>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f);
}

// The smallest distance from (x, y) to the first count stars.
float NearestStar(const CLevelStar* stars, uint32_t count, float x, float y)
{
    float nearest = INFINITY;
    for (uint32_t i = 0; i < count; ++i)
        nearest = std::min(nearest, std::hypot(stars[i].x - x, stars[i].y - y));
    return nearest;
}

} // namespace

Result CLevel::Init()
{
    if (Failed(CGameLevel::Init()))
        return RES_FAIL;
    return InitStars();
}

Result CLevel::InitStars()
{
    const uint32_t count = m_pWorldData && m_pWorldData->gameParams
                               ? m_pWorldData->gameParams->GetU32(u"STARS", u"STARS_COUNT_PER_LEVEL", 0)
                               : 0;
    m_nStarCount = static_cast<uint16_t>(count);
    m_pStars.reset(new (std::nothrow) CLevelStar[m_nStarCount ? m_nStarCount : 1]());
    m_nActiveStar = kNoStar;
    if (!m_pStars) {
        m_nStarCount = 0;
        return RES_OUT_OF_MEMORY;
    }
    if (m_nStarCount < kMinStarsPerLevel && m_pWorldData)
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevel::Init warning! STARS_COUNT_PER_LEVEL %d: no stars\n",
                  static_cast<int32_t>(m_nStarCount));
    return RES_OK;
}

bool CLevel::AreStarsDisabled()
{
    return m_nStarCount < kMinStarsPerLevel || AreStarsHidden();
}

void CLevel::PlaceStars()
{
    CLevelHost* world = World();
    CStars* widget = world ? world->GetStars() : nullptr;
    if (!widget || AreStarsDisabled())
        return;
    const float margin = widget->GetHalfDiagonal();
    const float low[2] = {margin, margin};
    float high[2] = {kVirtualScreenWidth - margin, kVirtualScreenHeight - margin};
    const float ratio = GetZoomRatio() == 0.0f ? Game()->m_fMaxZoomRefRatio : GetZoomRatio();
    if (GetCameraMode() != 0 || ratio == 1.0f) {
        const Vector2 toolbar = world->GetToolbarSize();
        const float width = m_pWorldData->workingWidth, height = m_pWorldData->workingHeight;
        float sx = (width - (IsToolbarHidden() ? 0.0f : toolbar.x)) / m_fRefWidth;
        float sy = (height - (IsToolbarHeightIgnored() ? 0.0f : toolbar.y)) / m_fRefHeight;
        if (sx != 1.0f && sy != 1.0f) {
            const float larger = std::max(sx, sy);
            sx /= larger;
            sy /= larger;
        }
        const float k = world->GetFitZoomRatio(m_fRefWidth, m_fRefHeight, IsToolbarHeightIgnored(), IsToolbarHidden());
        high[0] -= (1.0f - sx) * width / k;
        high[1] -= (1.0f - sy) * height / k;
    }
    const float spacing = 2.0f * widget->GetHalfWidth();
    bool crowded = false;
    for (uint32_t n = 0; n < m_nStarCount; ++n) {
        CLevelStar& star = m_pStars[n];
        float bestDistance = -1.0f;
        for (uint32_t draw = 0; draw < kMaxPlaceDraws; ++draw) {
            const float x = low[0] + (high[0] - low[0]) * static_cast<float>(RandomFraction(m_pWorldData->random));
            const float y = low[1] + (high[1] - low[1]) * static_cast<float>(RandomFraction(m_pWorldData->random));
            const float distance = NearestStar(m_pStars.get(), n, x, y);
            if (distance > bestDistance) {
                bestDistance = distance;
                star.x = x;
                star.y = y;
            }
            if (distance >= spacing)
                break;
        }
        crowded = crowded || bestDistance < spacing;
        star.z = 0.0f;
        star.flags = (star.flags | kPartClickable | kPartDrawn) & ~(kStarFound | kStarFades);
        star.alpha = 0.0f;
    }
    if (crowded)
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevel::PlaceStars warning! stars placed closer than %d\n",
                  static_cast<int32_t>(spacing));
}

void CLevel::PickStarSlot()
{
    if (AreStarsDisabled() || !m_pWorldData)
        return;
    uint32_t slot = RandomIndex(m_pWorldData->random, m_nStarCount);
    for (uint32_t draw = 0; slot == m_nActiveStar && draw < kMaxSlotDraws; ++draw)
        slot = RandomIndex(m_pWorldData->random, m_nStarCount);
    if (slot == m_nActiveStar)
        slot = (slot + 1) % m_nStarCount;
    m_nActiveStar = static_cast<uint16_t>(slot);
    CLevelStar& star = m_pStars[slot];
    star.flags = (star.flags | kPartClickable | kPartFadingIn) & ~(kPartDrawn | kPartFadingOut | kStarFound);
    star.alpha = 0.0f;
    m_fStarAngle = static_cast<float>(RandomFraction(m_pWorldData->random) * kTwoPi);
}

namespace {

// The active star's screen point: the view translation plus the zoomed star position.
Vector3 StarPoint(CWorldData* data, CLevelHost* world, const CLevelStar& star)
{
    Vector3 t{};
    data->math->GetTranslation(&t, &data->gameData->m_matView[0]);
    const float z = world->GetSceneZoom();
    return {t.x + z * star.x, t.y + z * star.y, t.z + z * star.z};
}

} // namespace

Result CLevel::CatchStar(float x, float y)
{
    CLevelHost* world = World();
    CStars* widget = world ? world->GetStars() : nullptr;
    if (!widget || AreStarsDisabled() || m_nActiveStar >= m_nStarCount || !m_pWorldData->math)
        return RES_FAIL;
    CLevelStar& star = m_pStars[m_nActiveStar];
    const Vector3 point = StarPoint(m_pWorldData, world, star);
    if (!(star.flags & kPartClickable) || (star.flags & kStarFound) ||
        !(std::hypot(point.x - x, point.y - y, point.z) < widget->GetHalfWidth()))
        return RES_FAIL;
    star.flags |= kPartFadingOut | kStarFound;
    star.alpha = 1.0f;
    widget->PlayClickSound();
    OnStarFound();
    return RES_OK;
}

void CLevel::OnStarFound()
{
    CLevelHost* world = World();
    if (!world)
        return;
    CGameTimer* timer = world->GetTimer();
    if (Game()->m_nMode == kModeTimed && !AreStarsHintOnly()) {
        if (timer)
            timer->AddSeconds(static_cast<float>(Game()->m_nAddSecondsPerStar));
        PickStarSlot();
    } else if (CHint* hint = world->GetHint()) {
        hint->AddHints(1);
    }
}

void CLevel::UseHint()
{
    CLevelHost* world = World();
    CHint* hint = world ? world->GetHint() : nullptr;
    if (hint && (AreStarsHintOnly() || Game()->m_nMode == kModeStory) && hint->GetCount() == 0 &&
        !AreStarsDisabled())
        PickStarSlot();
}

void CLevel::OfferStarAtStart(bool timed)
{
    CLevelHost* world = World();
    CHint* hint = world ? world->GetHint() : nullptr;
    const bool hintEmpty = !hint || hint->GetCount() == 0;
    // The timed mode's start hint comes with or without stars; only the star needs them.
    if (timed && hint && hintEmpty)
        hint->AddHints(1);
    if (AreStarsDisabled())
        return;
    if (timed ? !AreStarsHintOnly() : hintEmpty)
        PickStarSlot();
}

void CLevel::UpdateStars()
{
    CGameData* game = Game();
    if (!game || AreStarsDisabled() || m_nActiveStar >= m_nStarCount)
        return;
    const float frames = static_cast<float>(m_pWorldData->frameFactor);
    for (uint32_t i = 0; i < m_nStarCount; ++i) {
        CLevelStar& star = m_pStars[i];
        if (star.flags & kPartFadingOut) {
            star.alpha -= frames * game->m_fObjectsFadeOutSpeed;
            if (star.alpha <= 0.0f) {
                star.alpha = 0.0f;
                star.flags &= ~(kPartDrawn | kStarFades);
            }
        } else if (star.flags & kPartFadingIn) {
            star.alpha += frames * game->m_fStarsFadeInSpeed;
            if (star.alpha >= 1.0f) {
                star.alpha = 1.0f;
                star.flags = (star.flags | kPartDrawn) & ~kStarFades;
            }
        }
    }
}

C3DObject* CLevel::PlaceStarSprite()
{
    CLevelHost* world = World();
    CStars* widget = world ? world->GetStars() : nullptr;
    C3DObject* sprite = widget ? widget->GetSprite() : nullptr;
    if (!sprite || AreStarsDisabled() || m_nActiveStar >= m_nStarCount || !m_pWorldData->math)
        return nullptr;
    const Vector3 point = StarPoint(m_pWorldData, world, m_pStars[m_nActiveStar]);
    IgnoreResult(sprite->UseOwnMatrix());
    IgnoreResult(sprite->SetMatrix(&Game()->m_matView[0]));
    IgnoreResult(sprite->RotateZ(m_fStarAngle));
    IgnoreResult(sprite->SetTranslation(&point));
    return sprite;
}

void CLevel::RenderStar()
{
    C3DObject* sprite = PlaceStarSprite();
    if (!sprite)
        return;
    const CLevelStar& star = m_pStars[m_nActiveStar];
    if (!(star.flags & kStarFades) && !(star.flags & kPartDrawn))
        return;
    sprite->SetColor(kWhite);
    if (star.flags & kStarFades)
        sprite->SetAlpha(AlphaByte(star.alpha));
    IgnoreResult(sprite->Render());
}

void CLevel::RenderStarMarker()
{
    C3DObject* sprite = PlaceStarSprite();
    if (!sprite || (m_pStars[m_nActiveStar].flags & kStarFound))
        return;
    C3DTexture* texture = sprite->GetTexture(0, 0);
    IgnoreResult(sprite->SetTextureAll(nullptr, 0));
    sprite->SetColor(kMarkerColour);
    IgnoreResult(sprite->Render());
    IgnoreResult(sprite->SetTextureAll(texture, 0));
    sprite->SetColor(kWhite);
}
