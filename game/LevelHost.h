#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "game/SoundBank.h"

class CAudioEngine;
class CGameLevel;
class CGameTimer;
class CGameTooltip;
class CHint;
class CKvoBackground;
class CMenuDialog;
class CPopupText;
class CStars;
class CToolbar;
class CVarnFont;

// What the levels, their objects and their actions ask of the game world: its widgets, the
// level flow, the scene camera and the sound bank.
class CLevelHost : public CSoundBank {
public:
    // ---- Widgets and screens; each null while the world holds none ----
    virtual CHint* GetHint() const = 0;
    virtual CStars* GetStars() const = 0;
    virtual CToolbar* GetToolbar() const = 0;
    // The toolbar's width (its menubar) and height; 0 x 0 without a toolbar.
    virtual Vector2 GetToolbarSize() const = 0;
    virtual CPopupText* GetTutorialPopup() const = 0;
    virtual CMenuDialog* GetMenuDialog() const = 0;
    virtual CKvoBackground* GetBackground() const = 0;
    virtual CVarnFont* GetMainFont() const = 0;
    virtual CAudioEngine* GetAudioEngine() const = 0;

    // ---- Levels, their timer and tooltips ----
    virtual uint32_t GetSceneCount() const = 0;
    // Level n; null past the levels.
    virtual CGameLevel* GetScene(uint32_t n) const = 0;
    // The level being played; null when none is.
    virtual CGameLevel* GetCurrentLevel() const = 0;
    virtual uint32_t GetCurrentSceneIndex() const = 0;
    virtual CGameTimer* GetTimer() const = 0;
    virtual uint32_t GetTooltipCount() const = 0;
    // Tooltip n; null past the tooltips.
    virtual CGameTooltip* GetTooltip(uint32_t n) const = 0;
    virtual void ShowTooltip(uint8_t index) = 0;
    virtual void HideTooltip(uint8_t index) = 0;
    virtual void DrawTooltips() = 0;

    // ---- The level flow ----
    virtual uint32_t GetState() const = 0;
    virtual uint32_t GetPendingState() const = 0;
    // A state change or a scene is waiting to be applied.
    virtual bool IsChangePending() const = 0;
    // The level or a tooltip reports itself busy; idle is neither.
    virtual bool AreLevelObjectsBusy() const = 0;
    virtual bool IsLevelIdle() const = 0;
    virtual void GoToScene(uint32_t scene) = 0;
    virtual void ReloadSceneWithArgument(uint32_t record) = 0;
    virtual void ShowLevelMessage() = 0;
    virtual void OnGameFinished(uint8_t skip) = 0;

    // ---- Scene camera ----
    virtual float GetSceneZoom() const = 0;
    virtual float GetFitZoomRatioX(float width, bool ignoreWidth) const = 0;
    virtual float GetFitZoomRatioY(float height, bool ignoreHeight) const = 0;
    virtual float GetFitZoomRatio(float width, float height, bool ignoreHeight, bool ignoreWidth) const = 0;
    virtual void MoveCameraTo(const Vector3& position, float zoom) = 0;
    virtual void MoveCameraToMaxXMinY() = 0;
    virtual void MoveCameraToMaxXMaxY() = 0;

    // ---- Sound bank ----
    // A loaded bank entry is kept by the sweeps until it is used again.
    virtual void MarkAudio(uint16_t index) = 0;

protected:
    ~CLevelHost() = default;
};
