#pragma once
#include <cstdint>

// What the menu dialog's files share.

constexpr char16_t kCreditsSection[] = u"LOGOS_CREDITS";
// Texture creation words of the dialog's pictures: shared, linear with alpha.
constexpr uint32_t kSharedPicture = 1;
constexpr uint32_t kPictureParameter = 0x52;
// A coloured, textured screen quad.
constexpr uint32_t kQuadFlagsA = 0x28010;
constexpr uint32_t kQuadFlagsB = 0x20C29;
constexpr uint32_t kAllNodes = 0xFFFFFFFFu;

// The buttons' object: one part per cell of a sheet of kSheetColumns x kSheetColumns pictures,
// then one part of the whole picture.
constexpr uint32_t kSheetColumns = 8;
constexpr uint32_t kSheetCells = kSheetColumns * kSheetColumns;
constexpr uint32_t kWholePicture = kSheetCells;

// Indexes of the dialog's pictures, in loading order; the first nine make the frames.
enum MenuPicture : uint32_t {
    kPictureLogo = 9,
    kPictureNav = 10,
    kPictureSlider = 11,
    kPictureCollection = 12,
    kPictureProfiles = 13,
    kPictureModes = 14,
    kPictureLanguages = 15,
    kPictureSocial = 16,
};

// Node ids of the navigation layer.
enum MenuNavButton : uint32_t {
    kNavCollection = 2,
    kNavClose = 24,
    kNavNext = 25,
    kNavPrevious = 26,
    kNavTimerBadge = 28,
    kNavMoreGames = 29,
    kNavFacebook = 31,
    kNavTwitter = 32,
    kNavNextBesideClose = 55,
    kNavCollectionLit = 1002,
};

constexpr uint32_t kColourLit = 0xFFFFFFFFu;
constexpr uint32_t kColourDim = 0xFF7F7F7Fu;
constexpr uint32_t kColourDisabled = 0x7F7F7F7Fu;

// The characters an entry page's field takes; null on other pages.
const char16_t* EntryCharacters(uint32_t page);
