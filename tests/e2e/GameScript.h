#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/GameStates.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MenuLines.h"
#include "game/menus/MenuPages.h"
#include "tests/e2e/DrivenProgram.h"
#include "tests/support/game/WorldStateReport.h"

// The navigation layer's buttons as the state report gives them.
constexpr long kMenuClose = kReportNavButtonBase + kNavClose;
constexpr long kMenuNext = kReportNavButtonBase + kNavNext;
constexpr long kMenuNextBesideClose = kReportNavButtonBase + kNavNextBesideClose;

// A player's steps through the game, taken with the mouse and keyboard of the drive socket and
// checked against the state reports. Each step fails with the last report when the game does not
// get where it should within its frames.
// A picture the script wrote and the report of the frame it shows.
struct ScriptPicture {
    std::string name;
    StateReport report;
};

class GameScript {
public:
    using Step = ::testing::AssertionResult;
    // Looks at a screen that waits for the player; a failure stops the script.
    using Watcher = std::function<Step(const StateReport&)>;

    // Pictures are written into pictureFolder as <name>.png.
    GameScript(DrivenProgram& program, const std::string& pictureFolder) : m_program(program), m_pictures(pictureFolder)
    {
    }

    // The logo screens shown at start, each pictured once its fade is over ("logo1", "logo2"...);
    // done when the intro screen loads.
    Step PictureLogos();
    // Through the logos and the intro screen to the main menu's page with the fade over.
    Step ReachMainMenu();
    // The menu control of that id clicked; then frames until the game stands in the state (a
    // screen of its own, as the credits), settled, with the fade over.
    Step ShowScreen(long id, long state);
    // On the more-games page: game n of the shown page clicked, then frames until its description
    // shows with the fade over.
    Step ShowGameDescription(size_t n);
    // From a game's description on the more-games page back to the grid, then by the page's own
    // close button to the main menu.
    Step LeaveMoreGames();
    // Frames run.
    Step Wait(int frames);
    // The menu control (line, button or edit) of that id clicked; then frames until the page shows.
    Step ShowPage(long id, long page);
    // The options page's window line: the game in a window of its configured size; back on the
    // main menu.
    Step UseWindow();
    // Typed one character a frame (the menu takes one a frame).
    Step Type(const std::string& text);
    // The selected profile slot named on the profiles page; back on the main menu.
    Step NameProfile(const std::string& name);
    // A new story game from the main menu, up to the first scene's first frames in game.
    Step StartStory();
    // The story game of the slot continued from the main menu, up to the level's frames in game.
    Step ContinueStory();
    // The story game of the slot continued from the main menu, up to the first frame back in game,
    // whose report Report() then holds: the state as it was loaded, before the game has run a frame.
    Step ResumeStory();
    // From the scene through the toolbar's menu button back to the main menu.
    Step LeaveScene();
    // Frames until the game stands in the state with nothing pending.
    Step AwaitState(long state);
    // The window closed by the window manager, wherever the game stands; the program's exit code.
    Step Close(int* exitCode);
    // After the last level: the end text paged through, up to the outro menu (picture "outro").
    Step ReachOutro();
    // The outro menu's continue, a new score account, then the finished time sent; back on the
    // main menu.
    Step CreateAccountAndSend(const std::string& login, const std::string& password, const std::string& email);
    // Quit and its confirmation from the main menu; the program's exit code.
    Step Quit(int* exitCode);
    // Answers the pop-ups, messages, tutorial steps and tooltips in the way until the level takes
    // clicks in game.
    Step Settle();
    // The hidden-object scene (pictures "scene" and "quiz"): every listed object, the toggle, the
    // quiz; then out by the arrows. In every level the first active star is caught. With useHint
    // a hint is used (UseHint) after the first picture.
    Step PlayScene(bool useHint = false);
    // In a settled scene: misses at the point in quick succession, then frames until the
    // click-abuse penalty shows (picture "penalty") and until the game takes clicks again.
    Step TakePenalty(const ReportRect& miss);
    // In a settled scene: the star caught for a hint unless one is there, frames until the hint
    // button is charged (picture "hint-charged"), the hint used, and its glow at full strength
    // (picture "hint-glow").
    Step UseHint();
    // In the hidden-object scene, once settled: the active star while the hint button is empty,
    // then count of the listed objects, the last one clicked without waiting for what it leads to.
    Step FindObjects(size_t count);
    // Each mini-game shows its picture ("jigsaw", "shoot", "sliding") once settled; with a count
    // of moves (-1: as many as it takes) it stops after them, settled, in the middle of the level.
    // The jigsaw from its reported board: swaps, then turns.
    Step SolveJigsaw(int clicks = -1);
    // SHOOT: the targets that gain most until the goal.
    Step ShootToGoal(int shots = -1);
    // Sliding: the shortest plan over the reported board, one drag at a time, until the key piece
    // leaves.
    Step SolveSliding(int drags = -1);
    // The presented frame as <name>.png.
    Step Picture(const std::string& name);
    // From now on each pop-up page, tutorial step and tooltip is shown to the watcher once its
    // fade is over, before it is answered, and tutorials are paged through instead of closed.
    void Watch(Watcher watcher) { m_watcher = std::move(watcher); }

    // A move of the player that the game answers at once, and the frame that took it.
    struct Moment {
        std::string kind;  // "found" (a listed object), "arrow", "star", "slide" (a sliding drag)
        long frame;
    };

    const StateReport& Report() const { return m_report; }
    bool StarCaught() const { return m_starCaught; }
    // The pictures written, in order.
    const std::vector<ScriptPicture>& Pictures() const { return m_pictureList; }
    const std::vector<Moment>& Moments() const { return m_moments; }

private:
    // The play page's story line clicked.
    Step ChooseStory(long line);
    // ChooseStory, then frames and pop-ups until the level takes clicks.
    Step EnterStory(long line);
    // Settled, then the picture.
    Step PictureOnSettling(const std::string& name);
    Step Until(const std::function<bool(const StateReport&)>& done, int maxSteps, const std::string& what);
    Step Click(const std::string& key, long id);
    // Clicks the active star unless one was caught; whether it clicked.
    bool CatchStar();
    // A line, button or edit field of the menu.
    Step ClickControl(long id);
    // The paging button of a pop-up of the state that the player clicks.
    std::optional<StateReport::Fields> PopupAnswer(long state) const;
    // Before the screen of the report is answered: with a watcher, frames until its fade is over,
    // then the watcher, once per screen. The report is fresh after it.
    Step Look();
    void Note(const std::string& kind) { m_moments.push_back({kind, m_program.Frames()}); }

    DrivenProgram& m_program;
    std::string m_pictures;
    StateReport m_report;
    bool m_starCaught = false;
    Watcher m_watcher;
    std::string m_lastLook;
    std::vector<ScriptPicture> m_pictureList;
    std::vector<Moment> m_moments;
};
