#include <algorithm>
#include <cmath>

#include "game/VadadiDazidevWorld.h"
#include "game/widgets/Toolbar.h"

namespace {

constexpr float kFarCorner = 65535.0f;
constexpr float kQuarterTurn = 1.5707964f;
constexpr uint32_t kCameraFree = 0;
constexpr uint32_t kCameraMaxZoom = 2;
constexpr uint32_t kFirstSceneState = 29;
constexpr uint32_t kLastSceneState = 34;

float PictureSide(float side, float free)
{
    return side > 0.0f ? side : free;
}

// value kept inside [lo, hi]; a value that is not a number gives lo.
float Within(float value, float lo, float hi)
{
    if (!(value >= lo))
        return lo;
    return value > hi ? hi : value;
}

// Moves p so that the picture point under pivot stays there when the zoom goes from old to new.
float Pivot(float p, float pivot, float oldZoom, float newZoom)
{
    return ((pivot - p) / newZoom - (pivot - p) / oldZoom) * newZoom + p;
}

void ScaledMoved(Matrix4& m, float scale, float x, float y)
{
    m = Matrix4{};
    m.m[0] = m.m[5] = m.m[10] = scale;
    m.m[15] = 1.0f;
    m.m[12] = x;
    m.m[13] = y;
}

} // namespace

// What the camera limits of a level are made of.
struct CCameraArea {
    float width, height;                // the working screen
    float toolbarWidth, toolbarHeight;  // as the level reserves them
    float pictureWidth, pictureHeight;  // a side that is not above 0 counts as the free side
    float fit, max;
};

CGameLevel* CVadadiDazidevWorld::GetCurrentLevel() const
{
    return m_pScenes && m_nCurrentScene < m_nSceneCount ? m_pScenes[m_nCurrentScene].get() : nullptr;
}

Vector2 CVadadiDazidevWorld::GetToolbarSize() const
{
    return m_pToolbar ? m_pToolbar->GetSize() : Vector2{0.0f, 0.0f};
}

float CVadadiDazidevWorld::GetFitZoomRatioX(float width, bool ignoreWidth) const
{
    const float free = m_pData->workingWidth - (ignoreWidth ? 0.0f : GetToolbarSize().x);
    return width > 0.0f ? free / width : 1.0f;
}

float CVadadiDazidevWorld::GetFitZoomRatioY(float height, bool ignoreHeight) const
{
    const float free = m_pData->workingHeight - (ignoreHeight ? 0.0f : GetToolbarSize().y);
    return height > 0.0f ? free / height : 1.0f;
}

float CVadadiDazidevWorld::GetFitZoomRatio(float width, float height, bool ignoreHeight, bool ignoreWidth) const
{
    return std::max(GetFitZoomRatioX(width, ignoreWidth), GetFitZoomRatioY(height, ignoreHeight));
}

float CVadadiDazidevWorld::MaxZoomOf(CGameLevel& level) const
{
    const float ratio = level.GetZoomRatio();
    return ratio == 0.0f ? m_GameData.m_fMaxZoomRefRatio : ratio;
}

bool CVadadiDazidevWorld::IsZoomLocked() const
{
    CGameLevel* level = GetCurrentLevel();
    return !level || level->GetCameraMode() != kCameraFree || MaxZoomOf(*level) == 1.0f;
}

CCameraArea CVadadiDazidevWorld::AreaOf(CGameLevel& level) const
{
    const bool ignoreWidth = level.IsToolbarHidden();
    const bool ignoreHeight = level.IsToolbarHeightIgnored();
    const Vector2 toolbar = GetToolbarSize();
    CCameraArea area;
    area.width = m_pData->workingWidth;
    area.height = m_pData->workingHeight;
    area.toolbarWidth = ignoreWidth ? 0.0f : toolbar.x;
    area.toolbarHeight = ignoreHeight ? 0.0f : toolbar.y;
    area.pictureWidth = PictureSide(level.GetRefWidth(), area.width - area.toolbarWidth);
    area.pictureHeight = PictureSide(level.GetRefHeight(), area.height - area.toolbarHeight);
    area.fit = GetFitZoomRatio(level.GetRefWidth(), level.GetRefHeight(), ignoreHeight, ignoreWidth);
    area.max = MaxZoomOf(level);
    return area;
}

void CVadadiDazidevWorld::ClampCamera(Vector3& position, float& zoom, float step, uint8_t toggle)
{
    CGameLevel* level = GetCurrentLevel();
    if (!level)
        return;
    const CCameraArea area = AreaOf(*level);
    if (!(zoom > 0.0f))
        zoom = area.fit;
    const bool held = level->IsSceneOptionSet() && !m_bCameraMoving;
    const uint32_t mode = level->GetCameraMode();
    if (mode == kCameraFree && !held) {
        const float old = zoom;
        float wanted = old + step;
        if (toggle)
            wanted = old == area.max ? area.fit : area.max;
        zoom = wanted < area.fit ? area.fit : std::min(wanted, area.max);
        if (zoom != old) {
            const float pivotX = toggle ? area.width / 2.0f : m_pData->pointerX;
            const float pivotY = toggle ? area.height / 2.0f : m_pData->pointerY;
            position.x = Pivot(position.x, pivotX, old, zoom);
            position.y = Pivot(position.y, pivotY, old, zoom);
            position.z = Pivot(position.z, 0.0f, old, zoom);
        }
    } else {
        zoom = mode == kCameraMaxZoom ? area.max : area.fit;
    }
    if (level->IsDragEnabled() || held) {
        position.x = area.toolbarWidth;
        position.y = 0.0f;
        return;
    }
    const float slackX = area.width - area.pictureWidth * zoom;
    const float slackY = (area.height - area.toolbarHeight) - area.pictureHeight * zoom;
    position.x = Within(position.x, std::min(slackX, area.toolbarWidth), std::max(slackX, area.toolbarWidth));
    position.y = Within(position.y, std::min(slackY, 0.0f), std::max(slackY, 0.0f));
}

void CVadadiDazidevWorld::UpdateViewMatrices()
{
    CGameLevel* level = GetCurrentLevel();
    const bool scene = m_nState >= kFirstSceneState && m_nState <= kLastSceneState && level;
    const float scaleX = m_pData->workingWidth * 0.0009765625f;
    const float scaleY = m_pData->workingHeight * 0.0013020834f;
    Matrix4& sceneView = m_GameData.m_matView[0];
    Matrix4& fittedView = m_GameData.m_matView[1];
    if (!scene) {
        const float s = std::max(scaleX, scaleY);
        ScaledMoved(sceneView, s, 0.0f, 0.0f);
        fittedView = m_GameData.m_matOffsetView = sceneView;
        return;
    }
    const CCameraArea area = AreaOf(*level);
    const bool unmoved = level->IsToolbarHeightIgnored() && (scaleX == 1.0f || scaleY == 1.0f);
    ScaledMoved(sceneView, m_fZoom, m_vCamera.x, m_vCamera.y);
    ScaledMoved(fittedView, area.fit, unmoved ? 0.0f : area.toolbarWidth, 0.0f);
    ScaledMoved(m_GameData.m_matOffsetView, area.fit, area.toolbarWidth, 0.0f);
}

void CVadadiDazidevWorld::MoveCameraTo(const Vector3& position, float zoom)
{
    m_vCameraTarget = {position.x, -position.y, position.z};
    m_fCameraTargetZoom = zoom;
    m_fCameraMoveTime = 0.0f;
    CGameLevel* level = GetCurrentLevel();
    if (!level)
        return;
    ClampCamera(m_vCameraTarget, m_fCameraTargetZoom, 0.0f, 0);
    const Vector3& t = m_vCameraTarget;
    const bool differs =
        t.x != m_vCamera.x || t.y != m_vCamera.y || t.z != m_vCamera.z || m_fCameraTargetZoom != m_fZoom;
    if (level->GetCameraMode() == kCameraFree && differs)
        m_bCameraMoving = 1;
}

void CVadadiDazidevWorld::MoveCameraToMaxXMinY()
{
    MoveCameraTo({kFarCorner, -kFarCorner, 0.0f}, -1.0f);
}

void CVadadiDazidevWorld::MoveCameraToMaxXMaxY()
{
    MoveCameraTo({kFarCorner, kFarCorner, 0.0f}, -1.0f);
}

void CVadadiDazidevWorld::StopCameraMove()
{
    m_bCameraMoving = 0;
}

void CVadadiDazidevWorld::ResetCamera()
{
    m_vCamera.x = kFarCorner;
    m_vCamera.y = -kFarCorner;
    m_fZoom = -1.0f;
    m_fWheelStep = 0.0f;
}

void CVadadiDazidevWorld::SnapCamera()
{
    if (m_bCameraMoving)
        return;
    ResetCamera();
    ClampCamera(m_vCamera, m_fZoom, m_fWheelStep, m_bZoomToggle);
    m_fWheelStep = 0.0f;
    m_bZoomToggle = 0;
    UpdateViewMatrices();
}

void CVadadiDazidevWorld::StepCameraMove()
{
    m_fCameraMoveTime += static_cast<float>(m_pData->frameFactor) * m_fAutoCenterSpeed;
    if (m_fCameraMoveTime >= 1.0f) {
        // The last step lands exactly, whatever the rounding of the eased steps.
        m_fCameraMoveTime = 1.0f;
        m_bCameraMoving = 0;
        m_vCamera = m_vCameraTarget;
        m_fZoom = m_fCameraTargetZoom;
        return;
    }
    const float s = std::sin(m_fCameraMoveTime * kQuarterTurn);
    m_vCamera.x += (m_vCameraTarget.x - m_vCamera.x) * s;
    m_vCamera.y += (m_vCameraTarget.y - m_vCamera.y) * s;
    m_vCamera.z += (m_vCameraTarget.z - m_vCamera.z) * s;
    m_fZoom += (m_fCameraTargetZoom - m_fZoom) * s;
}

void CVadadiDazidevWorld::StepCamera(bool fadeOver)
{
    if (m_bCameraMoving && !m_nLevelBusy && !m_nTooltipBusy && fadeOver)
        StepCameraMove();
    ClampCamera(m_vCamera, m_fZoom, m_fWheelStep, m_bZoomToggle);
    m_fWheelStep = 0.0f;
    m_bZoomToggle = 0;
}
