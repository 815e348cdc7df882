#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/Picture.h"
#include "tests/e2e/StateReport.h"

// What the player must see in a frame of the game, read from its picture. The state report only
// says where to look; what is there is compared with the sample's own pictures of the in-game
// bars and buttons, as the game's settings name them and scaled as the game draws them.

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// A value of the game's built-in settings, "" when it holds none.
std::string GameSetting(const char16_t* section, const char16_t* key);

class BarPictures {
public:
    // From the game's main pak; Error() names what did not load.
    explicit BarPictures(const std::string& pak);

    const std::string& Error() const { return m_error; }
    // The toolbar strip, then the menubar strip, each at its place over a clear screen.
    const Picture& Bands() const { return m_bands; }
    const ReportRect& ToolbarPlace() const { return m_toolbarPlace; }
    // Where the hint button is drawn, clickable or not.
    const ReportRect& HintPlace() const { return m_hintPlace; }
    // The image of menubar button 0 to 3, or timer image 0 to 15, at the size the game draws it.
    Picture Button(int id) const;
    Picture TimerImage(int frame) const;
    // The colour at the centre of the hint's glow.
    uint32_t GlowCentre() const;

private:
    Picture Load(const char16_t* section, const char16_t* key, ReportRect* place);

    std::string m_pak;
    std::string m_error;
    Picture m_bands{kScreenWidth, kScreenHeight, 0};
    ReportRect m_toolbarPlace;
    ReportRect m_hintPlace;
    Picture m_buttons;
    Picture m_timer;
    Picture m_glow;
    int m_buttonSide = 0;
    int m_timerSide = 0;
};

// The toolbar strip at its place equals its own picture, but for the listed names, the hint
// button, the active star and the pop-up buttons drawn over it.
::testing::AssertionResult ToolbarStripShown(const Picture& shot, const StateReport& report, const BarPictures& bars);
// Every listed object not yet found has its name drawn inside its slot: pixels unlike the bare
// strip spanning most of the slot's width and height, the strip showing around them.
::testing::AssertionResult ItemNamesShown(const Picture& shot, const StateReport& report, const BarPictures& bars);
// The menubar's buttons show their pictures inside their hit rectangles and the hint button at
// its place, not the bare bands.
::testing::AssertionResult ToolButtonsShown(const Picture& shot, const StateReport& report, const BarPictures& bars);
// While the hint's glow shows, the centre of its picture shines where the report says it points.
::testing::AssertionResult HintGlowShown(const Picture& shot, const StateReport& report, const BarPictures& bars);
// A pop-up lies wholly inside the screen: its paging buttons, each drawn in its rectangle unlike
// what lies around it; its page's text box as the pop-up lays it out, the text drawn across it
// where the pop-up draws its page itself (a tutorial step may draw the text elsewhere); and no
// line of text runs past the right edge (TextCutAtTheRightEdge).
::testing::AssertionResult PopupOnScreen(const Picture& shot, const StateReport& report);
// Letters cut by the right edge of the screen, found as a line too long for it leaves them in the
// last pixels of its rows: sharp light and dark steps close together, on rows of a line's height.
// The rectangles are left out.
::testing::AssertionResult TextCutAtTheRightEdge(const Picture& shot, const std::vector<ReportRect>& leftOut);
