#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "game/ProfileSection.h"
#include "game/WorldComponent.h"

class C3DContainerText;
class C3DEngine;
class C3DObject;
class CParamsReader;
struct CWorldData;

// States of the hint glow.
enum HintGlowState : uint32_t {
    kGlowOff,
    kGlowFadeIn,
    kGlowShow,
    kGlowFadeOut,
};

constexpr uint32_t kTimerImages = 16;
constexpr uint32_t kChargedImage = 14;
constexpr uint32_t kNoHintSound = 0xFFFF;

// The [HINT] counts of the external configuration (none: the defaults); the start count never
// exceeds the maximum.
struct CHintCounts {
    uint16_t max;
    uint16_t start;
};
CHintCounts ReadHintCounts(const CParamsReader* external);

// The hint button: a timer image that fills while the hint recharges, the hints left drawn over
// it, and the glowing sprite that spins over what a used hint points at.
class CHint : public CWorldComponent, public CProfileSection {
public:
    explicit CHint(CWorldData* data);
    ~CHint() override;

    // The counts, the timer and glow objects and the count text. A texture that fails to load
    // fails it with the loader's result.
    Result Load() override;
    Result Release() override;
    // The sound index (u32) of the construction file; RES_FAIL on a short read.
    virtual Result ReadConstruction(CStream& stream);
    // Readies the hint sound in the world's sound bank (loaded on first use, kept by the sweep).
    virtual void PlayClickSound();

    // One frame of the glow: its phase, alpha, angle and place.
    void ProcessGlow();
    // One frame of charge while hints are left.
    void Recharge();
    void RenderGlow();
    // The button and its count at its own place (y 0.0) or centred at height y.
    void RenderAt(float y);
    // Timer images 6, 10 and 14 at a quarter, half and three quarters of the screen width.
    void RenderTutorialTimers(float y);
    void UpdateCountText();
    // More hints, never above the maximum.
    void AddHints(uint16_t n);
    void FillTimer();
    void EmptyTimer();
    // A click on the charged button (press and release inside it) uses one hint: RES_OK. In the
    // developer debug mode the charge and count are not needed. RES_FAIL changes nothing.
    Result TryUseHint();
    // Shows the glow at the target and plays the hint sound.
    void StartHint(const Vector3& target);
    // A fading-in or showing glow fades out.
    void FadeOut();
    void Stop();

    // Charge (f32) and count (u16).
    Result SaveToProfile(CStream& stream) override;
    // The charge is clamped to 0..full charge and the count to the maximum.
    Result LoadFromProfile(CStream& stream, uint16_t version) override;

    uint32_t GetFrame() const { return m_nFrame; }
    float GetCharge() const { return m_fCharge; }
    float GetFullCharge() const { return m_fFullCharge; }
    uint16_t GetCount() const { return m_nCount; }
    uint16_t GetMaxCount() const { return m_nMaxCount; }
    uint32_t GetGlowState() const { return m_nGlowState; }
    float GetGlowPhase() const { return m_fPhase; }
    float GetAngle() const { return m_fAngle; }
    uint32_t GetSoundIndex() const { return m_nSoundIndex; }
    // The button's centre and half side, where a click uses a hint.
    const Vector3& GetPosition() const { return m_vPosition; }
    // Where StartHint points the glow, in scene units.
    const Vector3& GetTarget() const { return m_vTarget; }
    float GetHalfWidth() const { return m_fHalfWidth; }
    C3DObject* GetTimer() const { return m_pTimer; }
    C3DObject* GetGlow() const { return m_pGlow; }

private:
    void ReadSettings();
    Result MakeObjects();
    Result MakeCountText();
    void PlaySound();
    void DrawTimer(uint32_t image, const Vector3& position);
    C3DEngine* Engine() const;

    CWorldData* m_pData;
    uint32_t m_nFrame = 0;
    float m_fFullCharge = 0.0f;
    float m_fCharge = 0.0f;
    float m_fHalfWidth = 0.0f;
    Vector3 m_vPosition = {};
    C3DObject* m_pTimer = nullptr;
    C3DObject* m_pGlow = nullptr;
    uint32_t m_nGlowState = kGlowOff;
    float m_fAngle = 0.0f;
    float m_fPhase = 0.0f;
    float m_fFadeInSpeed = 0.0f;
    float m_fRenderingSpeed = 0.0f;
    float m_fFadeOutSpeed = 0.0f;
    Vector3 m_vTarget = {};
    uint16_t m_nMaxCount = 0;
    uint16_t m_nCount = 0;
    uint32_t m_nSoundIndex = 0xFFFFFFFFu;
    C3DContainerText* m_pCountText = nullptr;
};
