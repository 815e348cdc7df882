#pragma once
#include <cstdint>

// The lines of the menu dialog: one template per line id, copied into a page and adjusted there.
constexpr uint32_t kMenuLineCount = 107;
// A click id that stands for the line's own id; also the dialog's "no action" code.
constexpr uint32_t kLineOwnId = 107;

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
