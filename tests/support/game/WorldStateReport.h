#pragma once
#include <cstdint>
#include <string>

class CVadadiDazidevWorld;

// What the drive harness answers "state" with: the game as key=value tokens (see ReportTokens.h),
// read without changing the game, its random state or its timers. Points and rectangles are
// window pixels where a click reaches the thing reported.
//   Always: state, pending (-1 none), page (-1 while no dialog shows), scene, record (the profile
//   slot of the game being played, -1 while no mode is chosen), scenestate, level, hints; also
//   slot and mode (the chosen profile slot and mode, 2 none), scenerecord (the current level's
//   record), idle (0 while a state change waits or the level or a tooltip is busy) and faded (1
//   once the fader's fade is over).
//   Menu dialog: line, button, edit; navigation buttons as button with 1000 + their id.
//   Pop-ups: popup (kind: intro, tutorial, ingame, endtext, message), popuptext and popupbox (the
//   rectangle of the page's text as it is drawn); tooltip.
//   In game: bars (1 where the toolbar strip shows, then 1 where the menubar shows).
//   Toolbar: item, tool (0 menu, 1 zoom, 2 zoom unavailable, 3 tutorial, 100 hint), glow (1 while
//   the hint's glow shows: the next click only fades it; then where it shines), hintframe (the
//   timer image the hint button shows, 14 when charged).
//   Levels: see LevelStateReport.h.
// Never reported: the credits, legals and more-games pages' links, a folded tooltip's own parts.
// A null world gives the always-present keys with -1 and none.
std::string ReportWorldState(CVadadiDazidevWorld* world);

// A navigation button is reported with this added to its id.
constexpr uint32_t kReportNavButtonBase = 1000;
