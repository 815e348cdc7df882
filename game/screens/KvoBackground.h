#pragma once
#include <cstdint>

#include "game/WorldComponent.h"

class C3DEngine;
class C3DObject;
class C3DTexture;
struct CWorldData;

// The full-screen pictures drawn behind or instead of the scenes: the intro logos or splash
// pictures, the dialog background, the picture of the scene being loaded, the small and big
// loading icons and the flash of the click-abuse penalty. The screen object has four
// screen-sized parts (logo, abuse flash, scene picture, dialog background), the loading object
// one part per icon.
class CKvoBackground : public CWorldComponent {
public:
    CKvoBackground(CWorldData* data, C3DEngine* engine);

    // Reads [ABUSE], [LOADING] and [LOGOS_INTRO], makes both objects and their textures, checks
    // that every named logo's picture is in the pak, looks for the splash pictures of the screen
    // size and shows the splash picture or the first named logo. RES_FAIL when anything cannot be
    // made, found or loaded.
    Result Load() override;
    // Detaches the textures, then gives both objects and the three textures back.
    Result Release() override;

    // Logo step 0 to 3: load that logo and make it the shown step. RES_FAIL when it is the step
    // already shown, when it has no name (logos 1 and 2: and no splash picture) or when its
    // picture does not load.
    Result ShowLogo1() { return ShowLogo(0); }
    Result ShowLogo2() { return ShowLogo(1); }
    Result ShowLogo3() { return ShowLogo(2); }
    Result ShowLogo4() { return ShowLogo(3); }
    // The logo timer grows by the frame factor; true once it is above the logo time.
    bool IsLogoTimeOver();
    // The same, and the timer starts again from 0.0 when true.
    bool IsLogoTimeOverReset();
    // Ends the current logo at the next poll.
    void ResetLogoTimer() { m_fLogoTimer = m_fLogoTime; }
    // Gives the logo texture back; the logo part shows nothing after it.
    void ReleaseLogo();
    // Loads the named pak picture as the scene picture unless it is the one loaded.
    Result SetScenePicture(const char16_t* name);
    // True when the scene picture has a name.
    bool HasScenePicture() const;
    // Mirrors each icon whose random flag is set, or not, by one draw of the world's generator.
    void RandomizeLoadingIcons();

    Result DrawLogo();
    Result DrawAbuseFlash();
    Result DrawBackground(uint8_t alpha);
    Result DrawLoadingBig();
    // The scene picture (when one is loaded), the background, then the icons asked for.
    Result DrawLoading(bool small, bool big, bool background, bool picture);

    // 0 to 3 while a logo is shown; 2 from construction until one is.
    uint32_t GetLogoStep() const { return m_nLogoStep; }
    // Whether Load showed a logo or splash picture.
    bool IsLogoShown() const { return m_bLogoShown; }
    // Whether the splash picture of logo 1 (0) or 2 (1) exists for the screen size.
    bool HasSplashPicture(uint32_t logo) const { return logo < 2 && m_bSplash[logo] != 0; }

private:
    Result MakeScreenObject();
    Result MakeLoadingObject();
    Result MakeTextures();
    Result CheckLogos();
    bool FindSplashPicture(uint32_t logo);
    Result ShowFirstLogo();
    Result ShowLogo(uint32_t step);
    // The splash picture of the step, or else its named picture, into the logo texture.
    Result LoadLogo(uint32_t step);
    Result RenderScreenPart(uint32_t colour, uint32_t part);
    void SplashName(uint32_t logo, char16_t* name) const;
    const char16_t* LogoName(uint32_t step) const;

    CWorldData* m_pData;
    C3DEngine* m_pEngine;
    float m_fLogoTimer = 0.0f;
    C3DObject* m_pScreen = nullptr;
    C3DObject* m_pLoading = nullptr;
    uint8_t m_bSmallRandom = 1;
    uint8_t m_bBigRandom = 1;
    uint32_t m_nAbuseColor = 0xFFFF0000u;
    C3DTexture* m_pBackgroundTexture = nullptr;
    C3DTexture* m_pScenePicture = nullptr;
    uint32_t m_nLogoStep = 2;
    C3DTexture* m_pLogoTexture = nullptr;
    float m_fLogoTime = 90.0f;  // frame units
    uint8_t m_bSplash[2] = {};
    bool m_bLogoShown = false;
};
