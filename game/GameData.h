#pragma once
#include <cstdint>
#include <memory>

#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "engine3d/SceneGameData.h"
#include "game/ProfileProgress.h"

class CAudio;
class CLevelHost;
class CVarnFont;

constexpr uint32_t kAppNameUnits = 32;
constexpr uint32_t kUrlUnits = kMaxPathUnits;
constexpr uint32_t kLanguageCount = 12;
constexpr uint32_t kLanguageNone = 12;
constexpr uint32_t kProfileSlotCount = 3;
constexpr uint32_t kProfileModeCount = 2;  // 0 story, 1 time attack
constexpr uint32_t kModeNone = 2;
constexpr uint32_t kProfileNameUnits = 32;
constexpr uint32_t kLoginUnits = 13;  // 12 and a terminator
constexpr uint32_t kPasswordUnits = 13;
constexpr uint32_t kEmailUnits = 31;  // 30 and a terminator
constexpr uint32_t kLogoCount = 4;
constexpr uint32_t kTutorialEntries = 50;
constexpr uint32_t kCharsetRemapEntries = 257;
constexpr uint32_t kRawFolderUnits = 261;
constexpr uint16_t kBrightnessUnset = 0xFFFF;

// Sizes and colours of the main font's texts (sizes as width and height, colours 0xAARRGGBB).
struct CTextStyles {
    float m_MenuSize[2];
    uint32_t m_nMenuColor;
    float m_GameSize[2];
    float m_TimerSize[2];
    float m_ToolbarSize[2];
    float m_MoreGamesSize[2];
    uint32_t m_GameColors[2];
    float m_LegalsSize[2];
    uint32_t m_LegalsColors[2];
    uint16_t m_nAlignment;  // 12: centred on the screen width and height
    uint16_t m_nPopupBorder;
};

// A loaded string table: all texts in one block of units (a terminator after the last), one
// offset per string.
struct CStringTable {
    std::unique_ptr<char16_t[]> m_pUnits;
    std::unique_ptr<uint32_t[]> m_pOffsets;
    uint32_t m_nCount;
};

// States of a sound bank entry: not loaded, used since the last sweep, unused since it (the next
// sweep releases it), marked by a level (the sweeps keep it until it is used again).
constexpr uint32_t kSoundUnloaded = 0;
constexpr uint32_t kSoundUsed = 1;
constexpr uint32_t kSoundUnused = 2;
constexpr uint32_t kSoundMarked = 3;

struct CSoundBankEntry {
    CAudio* m_pSound;
    uint32_t m_nState;
};

// A pak record that closes its archive when it goes.
struct COwnedPackerFile : CPackerFile {
    ~COwnedPackerFile() { ClosePackerFile(this); }
};

// The game's data record, reached through the engine data block. The scene fields the engine
// reads and writes (element total, the first two view matrices, language) come from its base.
// Zero-filled when the world is made (value-initialised), then set by the world's constructor.
struct CGameData : CSceneGameData {
    CLevelHost* m_pLevelHost;  // what the levels, their objects and actions reach of the world
    uint8_t m_bForceCharsetFont;  // forces the charset font (type 2)
    uint8_t m_bDebugKeys;  // developer switch: state changes with Ctrl held apply at once
    uint8_t m_bOverlay;  // developer overlay; a copy of m_bDebugKeys
    // Developer keys: the overlay lists every level (F3); collision parts are drawn (F2).
    uint8_t m_bOverlayLevelList;
    uint8_t m_bDebugCollision;
    uint8_t m_bWebScoringEnabled;
    uint8_t m_bWebLinks;  // the web and social link buttons are offered
    uint32_t m_nPlatform;  // row of the platform table; 0 = Win32
    uint8_t m_bEnableMoreGames;
    char16_t m_szRawFolder[kRawFolderUnits];  // the raw data folder inside the pak
    std::unique_ptr<CPackedParams> m_pMoreGamesParams;
    std::unique_ptr<CPackedParams> m_pExternalParams;
    uint32_t m_nParamTotal;  // parameter records counted by the levels as they load
    uint32_t m_nConstructionNumber;
    CVarnFont* m_pMainFont;  // the world's main font, not owned here
    CTextStyles m_TextStyles;
    uint16_t m_CharsetRemap[kCharsetRemapEntries];
    // Text marker units: the remap entries of '#', '|' and ' ', set with the remap table.
    uint16_t m_nPageSeparator;
    uint16_t m_nLineBreakMark;
    uint16_t m_nSeparatorUnit;
    char16_t m_OpeningChars[2];  // characters never left at a line end
    char16_t m_ClosingChars[13];  // characters never put at a line start
    Matrix4 m_matOffsetView;  // the third view matrix: toolbar offset and fit scale
    float m_fMaxZoomRefRatio;
    uint32_t m_nTutorialStep;
    uint8_t m_bTutorial;
    float m_fConstructRatio;
    uint32_t m_TutorialTable[kTutorialEntries];
    float m_fAbuseSecondsShowed;
    float m_fIsAbusingUnderSeconds;
    uint8_t m_nAbuseOverClick;
    float m_fObjectsFadeOutSpeed;
    float m_fStarsFadeInSpeed;
    uint32_t m_nAddSecondsPerStar;
    uint16_t m_nQuizQuestionBorder;
    uint16_t m_nQuizAnswersBorder;
    CStringTable m_GameStrings;  // main strings, then commons strings
    uint32_t m_nCommonsCount;
    CStringTable m_MoreGamesStrings;
    uint32_t m_nLoadFontType;  // 0 TTF, 1 GLYPH, 2 CHARSET
    CPackerFile* m_pCharsetPak;  // the pak the charset font's page 0 came from; null: the main pak
    uint8_t m_bLanguageForced;  // the language came from the caller of LoadOptions
    uint8_t m_bLanguageAvailable[kLanguageCount];
    uint8_t m_nLanguageCount;
    COwnedPackerFile m_ExternalPak;  // searched with the main pak's lookup
    CProfileProgress m_Progress[kProfileModeCount * kProfileSlotCount];  // mode x 3 + slot
    char16_t m_szProfileNames[kProfileSlotCount][kProfileNameUnits];
    uint32_t m_nSlot;
    uint32_t m_nMode;  // 0 story, 1 time attack, 2 none
    std::unique_ptr<CSoundBankEntry[]> m_pSounds;
    std::unique_ptr<char16_t[]> m_pSoundNames;
    std::unique_ptr<uint16_t[]> m_pSoundNameOffsets;
    uint16_t m_nSoundCount;
    float m_fMusicVolume;
    float m_fSoundVolume;
    uint16_t m_nBrightness;  // 0..255; kBrightnessUnset when not set
    uint8_t m_bEnableLegals;
    uint8_t m_bEnableTimeAttack;
    uint32_t m_nSecondsPerObject[4];  // extra, hidden, collection and bonus objects
    char16_t m_szMainWebSiteUrl[kUrlUnits];
    char16_t m_szWebScoringServerUrl[kUrlUnits];
    uint8_t m_bEnableFacebook;
    char16_t m_szFacebookUrl[kUrlUnits];
    uint8_t m_bEnableTwitter;
    char16_t m_szTwitterUrl[kUrlUnits];
    uint8_t m_bAccount;  // a web-score account is set
    char16_t m_szLogin[kLoginUnits];
    char16_t m_szPassword[kPasswordUnits];
    char16_t m_szEmail[kEmailUnits];
    char m_szAppNameA[kAppNameUnits];
    char16_t m_szAppName[kAppNameUnits];
    uint32_t m_nNormalModeVersion;
    uint32_t m_nTimedModeVersion;
    char16_t m_szPendingUrl[kUrlUnits];  // a link to open on quit
    char16_t m_szLogoKey[kLogoCount][kAppNameUnits];
    // Screens: the pointer mapped to -1..1 on both axes (z 0), which offsets the layered menus' layers.
    Vector3 m_vPointerOffset;

    CProfileProgress& Progress(uint32_t mode, uint32_t slot) { return m_Progress[mode * kProfileSlotCount + slot]; }
};
