#pragma once
#include <cstdint>

// The lines of the menu dialog: one template per line id, copied into a page and adjusted there.
constexpr uint32_t kMenuLineCount = 107;
// A click id that stands for the line's own id; also the dialog's "no action" code.
constexpr uint32_t kLineOwnId = 107;

// The line ids the dialog builds or answers; a line's id is also the index of its string in the
// construction's string map, and its node id when it has no click id of its own.
enum MenuLineId : uint32_t {
    kLinePlay = 2,
    kLineWebScores = 3,
    kLineProfiles = 6,
    kLineOptions = 7,
    kLineMoreGames = 8,
    kLineQuit = 9,
    // The play page's mode lines and the ending.
    kLineNewStory = 12,
    kLineContinueStory = 13,
    kLineNewTimed = 14,
    kLineContinueTimed = 15,
    kLineEndOfStory = 16,
    // The web menu and the texts of the exchange.
    kLineAccount = 20,
    kLineMainWebSite = 21,
    kLineSendScores = 22,
    kLineSending = 23,
    kLineScoresSent = 24,
    kLineAccountCreated = 25,
    kLineAccountKnown = 26,
    kLineLoginTaken = 27,
    kLineBadEmail = 28,
    kLineScoreRefused = 29,
    kLineNoAnswer = 30,
    // The OK buttons of the login, password and e-mail fields.
    kLineLoginOk = 31,
    kLinePasswordOk = 32,
    kLineEmailOk = 33,
    kLineEntryField = 38,
    kLineMusicSlider = 39,
    kLineSoundSlider = 40,
    kLineLanguages = 42,
    kLineShowCredits = 43,
    kLineShowLegals = 44,
    kLineWindowed = 45,    // shown in full screen
    kLineFullScreen = 46,  // shown in a window
    kLineProfile1 = 47,    // 48 and 49 for the profiles 2 and 3
    kLineRenameProfile = 51,
    // The questions of the confirmations; 54 to 57 also open the mode confirmations.
    kLineQuitQuestion = 52,
    kLineEraseProfileQuestion = 53,
    kLineForgetStory = 54,
    kLineForgetTimed = 55,
    kLineRestartStory = 56,
    kLineRestartTimed = 57,
    kLineCreateAccountQuestion = 58,
    kLineSendScoresQuestion = 59,
    kLineForgetAccountQuestion = 60,
    kLineQuitForLinkQuestion = 61,
    kLineGameUnreadable = 62,
    kLineNotSaved = 63,
    // The answers.
    kLineYes = 64,
    kLineNo = 65,
    kLineWebYes = 66,  // of kPageCreateAccount and kPageSendScores
    kLineBack = 67,
    kLineLanguage1 = 68,  // one line per language
};

constexpr uint32_t ProfileLine(uint32_t slot) { return kLineProfile1 + slot; }
constexpr uint32_t LanguageLine(uint32_t language) { return kLineLanguage1 + language; }

enum MenuLineKind : uint32_t { kLineText = 0, kLineButton = 1, kLineMode = 2, kLineCredits = 3 };
// kLineNormal is also the chosen line of a choice list, kLineOtherChoice any other of it.
enum MenuLineState : uint32_t { kLineNormal = 0, kLineOtherChoice = 1, kLineDisabled = 2 };
// Column 5: the picture beside a line.
enum MenuLinePicture : uint32_t {
    kPictureNone = 0,
    kPictureStory = 1,
    kPictureTimed = 2,
    kPictureCurrentProfile = 3,
    kPictureProfile1 = 4,  // 5 and 6 for the profiles 2 and 3
    kPictureLanguagePair = 7,
};
// Column 8: the button beside a line.
enum MenuSideButton : uint32_t { kSideNone = 0, kSideEraseProfile = 1, kSideForgetMode = 2, kSideForgetAccount = 3 };

// The node id of the button beside the line at index on its page.
constexpr uint32_t SideButtonId(uint32_t sideButton, uint32_t index) { return 1000 * sideButton + kLineOwnId + index; }
// The node id of a slider's tick, 1 to 10.
constexpr uint32_t SliderTickId(uint32_t slider, uint32_t tick) { return 1000 * slider + kLineOwnId + tick; }
// The button of an account entry page that goes back to the field before it.
constexpr uint32_t PreviousFieldId(uint32_t page) { return 1000 + page - 1; }

struct CMenuLine {
    uint32_t id;
    uint32_t clickId;  // kLineOwnId: the line id
    uint32_t kind;
    uint32_t state;
    uint32_t picture;
    uint32_t variant;
    uint32_t mark;
    uint32_t sideButton;
    uint32_t paired;  // laid out two to a row

    uint32_t NodeId() const { return clickId == kLineOwnId ? id : clickId; }
};

// The template of a line id below kMenuLineCount.
CMenuLine MenuLineTemplate(uint32_t id);
