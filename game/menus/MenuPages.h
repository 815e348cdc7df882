#pragma once
#include <cstdint>

// The pages of the menu dialog. The numbers are the ones the state report and the saved
// construction share; pages 10, 30 and 31 hold no lines.
enum MenuPage : uint32_t {
    kPageMain = 0,
    kPagePlay = 1,
    kPageQuit = 2,
    kPageOptions = 3,
    kPageProfiles = 4,
    // Confirmations, each a question above yes and no.
    kPageEraseProfile = 5,
    kPageForgetStory = 6,
    kPageForgetTimed = 7,
    kPageRestartStory = 8,
    kPageRestartTimed = 9,
    kPageBlank = 10,
    // Entry pages, one field each.
    kPageProfileName = 11,
    kPageLogin = 12,
    kPagePassword = 13,
    kPageEmail = 14,
    kPageCreateAccount = 15,
    kPageSendScores = 16,
    kPageForgetAccount = 17,
    kPageWebMenu = 18,
    // The web exchange under way and the server's answers.
    kPageSendingScores = 19,
    kPageSendingAccount = 20,
    kPageScoresSent = 21,
    kPageScoreRefused = 22,
    kPageAccountCreated = 23,
    kPageAccountKnown = 24,
    kPageLoginTaken = 25,
    kPageBadEmail = 26,
    kPageNoAnswer = 27,
    // Notices of a fault, each one line under the close button: a saved game that cannot be
    // read, and progress that cannot be saved.
    kPageGameUnreadable = 28,
    kPageNotSaved = 29,
    kPageLanguages = 32,
    kMenuPageCount = 33,
};

// The confirmations of a mode, story first.
constexpr MenuPage ForgetModePage(uint32_t mode) { return mode ? kPageForgetTimed : kPageForgetStory; }
constexpr MenuPage RestartModePage(uint32_t mode) { return mode ? kPageRestartTimed : kPageRestartStory; }
constexpr bool IsEntryPage(uint32_t page) { return page >= kPageProfileName && page <= kPageEmail; }
