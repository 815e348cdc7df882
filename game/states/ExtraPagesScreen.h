#pragma once
#include <cstdint>

#include "game/states/GameScreen.h"

// The pages reached from the main menu over the veiled intro screen, under the close button: the
// more-games page, the scrolling credits and the legal texts, each loaded first behind the
// loading screen; what the credits and legals hold is freed when their state is left.
class CExtraPagesScreen : public CGameScreen {
public:
    using CGameScreen::CGameScreen;

    void Update() override;
    void Render() override;

private:
    // The more-games page or the text of the current language, else of language 0, else the
    // main menu.
    void LoadPage();
    // The page shows its own navigation buttons; close leaves it once the fade is over.
    void RenderMoreGames();
    void RenderTextPage();
    // Close leads back to the main menu once the fade is over.
    void CloseOnClick();
    void OpenCreditLink();
    void ScrollCredits(float frames);
    void ScrollLegals();
    void AddInertia();
    // The credits text three times at most, so that its wrap shows no gap.
    void DrawCredits();
    void DrawLegals();
    // True when the pointer lies on a link text.
    bool DrawTextAt(const char16_t* text, float x, float y, uint8_t link);
};
