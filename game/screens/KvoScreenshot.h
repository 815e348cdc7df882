#pragma once
#include <cstddef>
#include <cstdint>

#include "game/WorldComponent.h"

class C3DEngine;
class C3DObject;
class C3DTexture;
struct CWorldData;

// How the chosen renderer's frame copy fills the screenshot texture.
enum class ScreenshotCopy : uint8_t {
    PowerOfTwo,  // OpenGL and OpenGL ES: the frame's sides rounded up to powers of two, rows bottom-up
    Exact,       // the DirectX renderers and Flash: the frame scaled into the whole texture, rows top-down
    Blank,       // any other renderer: a blank texture
};

// The copy of the 3D module with that descriptor code.
ScreenshotCopy ScreenshotCopyOf(uint32_t moduleCode);

// Writes the [TEXTURES] key of the screenshot texture for a width x height frame into key and
// answers the key's default file name.
const char16_t* ScreenshotTextureKey(ScreenshotCopy copy, uint32_t width, uint32_t height, char16_t* key,
                                     size_t units);

// The cross-fade between screens: StartFade copies the last frame into the screenshot texture,
// which is then drawn over the following frames with an alpha falling from 1.0 to exactly 0.0.
// The quad object has one screen-sized part per screen rotation mode, each turned so that the
// copy shows upright.
class CKvoScreenshot : public CWorldComponent {
public:
    CKvoScreenshot(CWorldData* data, C3DEngine* engine);

    // The fade speed, the screenshot texture of the renderer's key and the quad object.
    // RES_FAIL when the texture or the object cannot be had.
    Result Load() override;
    // Detaches the texture, then gives the object and the texture back; the last result.
    Result Release() override;
    // The alpha falls by frame factor x speed, down to 0.0.
    Result Process() override;
    // While a fade runs, the picture at the fade's alpha.
    Result Render() override;

    // Copies the current frame (the texture copy's four arguments), ticks the frame timer so that
    // the copy does not count as a long frame, and starts the fade at alpha 1.0. RES_FAIL, and no
    // fade, when the copy fails.
    Result StartFade(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level);
    // The picture at full alpha, fade or not.
    Result Show();
    // 0.0 when no fade runs.
    float GetAlpha() const { return m_fAlpha; }
    void StopFade() { m_fAlpha = 0.0f; }

private:
    Result RenderRotationPart();

    CWorldData* m_pData;
    C3DEngine* m_pEngine;
    float m_fAlpha = 0.0f;
    float m_fSpeed = 0.0f;
    C3DObject* m_pQuad = nullptr;
    C3DTexture* m_pTexture = nullptr;
};
