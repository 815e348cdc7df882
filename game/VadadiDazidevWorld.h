#pragma once
#include <cstddef>
#include <cstdint>

#include "core/Stream.h"
#include "engine3d/ObjectTypes.h"
#include "world/World.h"
#include "game/GameData.h"
#include "game/GameLevel.h"
#include "game/LevelFactory.h"
#include "game/ProfileSection.h"

class CHint;
class CInertiaPosition;
class CKvoBackground;
class CKvoMusicManager;
class CKvoScreenshot;
class CMenuDialog;
class CMoreGamesPage;
class CPopupText;
class CScreenLayeredMenu;
class CStars;
class CToolbar;
class CTouchScreen;
class CWebScoring;

constexpr uint32_t kInitialState = 5;

// The game world. Its screens, widgets and levels are still to come; so far it loads the game
// configuration, the options and the profiles, and saves them again.
class CVadadiDazidevWorld : public CWorld {
public:
    CVadadiDazidevWorld();

    // CWorld::Load with the same arguments, then the game's loading between host events 14 and 15.
    Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth, uint8_t fullscreen,
                uint8_t resizable, uint8_t vSync, uint32_t orientation, const char16_t* dataFolder,
                uint16_t reserved1, uint16_t reserved2) override;
    // Saves the options and, while a game runs, its profile; then CWorld::Release.
    Result Release() override;
    // Scales mouse positions into the virtual screen, then records them; RES_FAIL when handled.
    // The system keys, the system commands and WM_CLOSE go on to the default window procedure
    // (RES_OK); the window's destruction, unless it is being re-created, posts the quit message.
    Result OnMessage(CWorldMessage* message) override;
    Result Update() override;
    Result Render() override;
    // The window title: the string table's title once a language is loaded, else the fallback.
    // The application name is not used. Result 0.
    Result GetTitle(const char16_t* appName, const char16_t* fallback, char16_t* out, size_t capacity) override;

    // ---- Save folder, options and developer switches ----
    // APP_NAME, its 8-bit form, the data folder name and the raw folder name. Result 0.
    Result GetDataFolder();
    // The save path of a file name into out: "<APPDATA>/Kvo Adventure/<APP>/<APP>.v1.<name>",
    // creating the folders. Unless noMove, a file of the old naming "<APP>.<name>" in that
    // folder is moved to the new name when none exists there yet. RES_FAIL when there is no
    // usable folder or the path does not fit.
    Result SavePath(const char16_t* name, bool noMove, char16_t* out, size_t capacity);
    // Reads "options.sav" (called before the window exists; language kLanguageNone = none, else
    // the language to force). RES_OK when the whole file was read.
    Result LoadOptions(uint32_t language) override;
    Result SaveOptions();
    // The options file's bytes; false when a write failed.
    bool WriteOptions(CStream& stream);
    // Reads the developer switches of "prefetch.params" in the data folder. RES_OK when it opened.
    Result LoadPrefetchParams();

    // ---- Profiles ----
    // One profile file: the record, and with withGame (and the record in use, or force) the game
    // state of the world and the registered sections.
    Result LoadProfile(CStream& stream, CProfileProgress& record, bool withGame, bool force);
    Result WriteProfile(CStream& stream, const CProfileProgress& record);
    Result LoadProfileSlot(uint32_t mode, uint32_t slot, bool withGame);
    Result SaveProfileSlot(uint32_t mode, uint32_t slot);
    Result SaveProfile(uint32_t slot, uint32_t mode);
    // Leaves an empty profile file, clears the record and, with clearName, the slot's name.
    Result ResetProfileSlot(uint32_t mode, uint32_t slot, bool clearName);
    // Gives every record its per-level times, then reads both files of every slot without the
    // game state. RES_OUT_OF_MEMORY when the times cannot be had.
    Result LoadProfiles();
    // One frame of play time for the record and the current level's entry.
    void AddPlayTime(uint32_t mode, uint32_t slot);
    // Unless no mode is chosen: the current record is finished, dated and its best time updated.
    void MarkGameFinished();
    // Registers (or with null removes) the section that a profile file carries at slot.
    void SetProfileSection(ProfileSectionSlot slot, CProfileSection* section);
    // Loads the blank profile "<raw folder>_profile.full.raw" with its game state into the world
    // and the record of mode and slot, whose date-set flag stays as it was. The record is left
    // alone when the blank profile cannot be read.
    Result OnLoadVirginProfile(uint32_t mode, uint32_t slot);

    // ---- Construction files and level preparation ----
    // Seeds the random generator, then makes the levels, tooltips, labels and timer of the
    // construction file through the level factory, reads the tutorial table and, with an audio
    // engine, the sound-name table and the bank's empty sounds. Objects made before a failure
    // stay for Release. RES_FAIL on any failure, with a log line for a missing file.
    Result OnPrepareGame();
    // The makers of the levels and level objects, filled by the program before Load.
    CLevelFactory& GetLevelFactory() { return m_LevelFactory; }
    uint32_t GetSceneCount() const { return m_nSceneCount; }

    CGameData* GetGameData() { return &m_GameData; }

protected:
    CGameData m_GameData;
    float m_fSpeedFactor = 1.0f;
    uint32_t m_nState = kInitialState;
    uint32_t m_nPreviousState = 0;
    uint32_t m_nPendingState = 0;
    uint8_t m_bIgnoreMouse = 0;
    Vector2 m_vLastMouse = {};
    Vector2 m_vPressPoint = {};
    uint8_t m_bCreditsEntering = 1;
    float m_fCreditsOffset = 0.0f;
    float m_fCreditsHeight = 0.0f;
    CInertiaPosition* m_pCreditsInertia = nullptr;
    float m_fZoom = -1.0f;  // unset
    float m_fWheelStep = 0.0f;
    uint8_t m_bZoomToggle = 0;
    Vector2 m_vCamera = {};
    uint8_t m_bCameraMoving = 0;
    float m_fCameraMoveTime = 0.0f;
    Vector2 m_vCameraTarget = {};
    float m_fCameraTargetZoom = -1.0f;
    float m_fAutoCenterSpeed = 0.0f;
    float m_fAbuseTimer = 0.0f;  // click-abuse window, in frame units
    float m_fPenaltyTime = 0.0f;
    uint8_t m_nMisses = 1;
    uint32_t m_nPendingLanguage = kLanguageNone;
    CVarnFont* m_pMainFont = nullptr;
    CKvoMusicManager* m_pMusicManager = nullptr;
    CWebScoring* m_pWebScoring = nullptr;
    CHint* m_pHint = nullptr;
    CStars* m_pStars = nullptr;
    CToolbar* m_pToolbar = nullptr;
    CKvoBackground* m_pBackground = nullptr;
    CKvoScreenshot* m_pScreenshot = nullptr;
    CTouchScreen* m_pTouchScreen = nullptr;
    CMoreGamesPage* m_pMoreGames = nullptr;
    CScreenLayeredMenu* m_pMenuIntro = nullptr;
    CScreenLayeredMenu* m_pMenuConclu = nullptr;
    CScreenLayeredMenu* m_pMenuCurrent = nullptr;
    CMenuDialog* m_pMenuDialog = nullptr;
    std::unique_ptr<std::unique_ptr<CGameLevel>[]> m_pScenes;  // the levels in construction order
    uint32_t m_nSceneCount = 0;
    uint32_t m_nLevelBusy = 0;
    uint32_t m_nTooltipBusy = 0;
    uint32_t m_nCurrentScene = kNoIndex;
    uint32_t m_nNextScene = kNoIndex;
    uint32_t m_nSceneArgument = kNoIndex;
    std::unique_ptr<std::unique_ptr<CSceneObject3D>[]> m_pTooltips;
    uint32_t m_nTooltipCount = 0;
    std::unique_ptr<CSceneObject3D> m_pLabels;
    std::unique_ptr<CSceneObject3D> m_pTimer;
    CPopupText* m_pPopupWaiting = nullptr;
    CPopupText* m_pPopupIngame = nullptr;
    CPopupText* m_pPopupTuto = nullptr;
    char16_t* m_pCreditsText = nullptr;
    CProfileSection* m_pProfileSections[kProfileSectionCount] = {};
    CLevelFactory m_LevelFactory;

private:
    enum class OptionsRead { Foreign, Cut, Whole };

    OptionsRead ReadOptions(CStream& stream);
    bool ReadOptionFields(CStream& stream);
    Result ReadProfileHeader(CStream& stream);
    bool ReadProfileRecord(CStream& stream, CProfileProgress& record);
    Result ReadProfileGame(CStream& stream, uint16_t version, const uint32_t scenes[3]);
    bool IsLevelOrNone(uint32_t level) const;
    bool WriteProfileRecord(CStream& stream, const CProfileProgress& record);
    bool WriteProfileGame(CStream& stream);
    Result ProfilePath(uint32_t mode, uint32_t slot, bool noMove, char16_t* out);
    void ReadGameSettings();
    void ReadWebKeys(const CParamsReader& external);
    void ReadPlayKeys(const CParamsReader& game);
    void ReadTimeAttackKeys(const CParamsReader& external);
    void ReadMoreGames();
    void ReadFontStyles(const CParamsReader& game);
    void ReadLogoKeys(const CParamsReader& game);
    std::unique_ptr<CPackedParams> OpenPackedParams(const char16_t* name);
    // A raw file of the main pak; null after logging missingLine with its path when missing.
    std::unique_ptr<CStream> OpenRawFile(const char16_t* path, bool headerCheck, const char16_t* missingLine);
    Result ReadConstructFile(std::unique_ptr<uint32_t[]>& levelTypes);
    Result MakeLevels(const uint32_t* levelTypes);
    Result MakeTooltips();
    Result MakeHelperObject(uint32_t type, const char16_t* nameFormat, std::unique_ptr<CSceneObject3D>& object);
    // Init, then the description "<raw folder><nameFormat with id>" through LoadDescription.
    Result DescribeObject(CSceneObject3D& object, const char16_t* nameFormat, uint32_t id);
    Result ReadTutorialTable();
    Result MakeSoundBank();
    void ReleaseLevels();
    void LogLine(const char16_t* text);
};
