#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/FileSave.h"
#include "core/Stream.h"
#include "engine3d/ObjectTypes.h"
#include "game/CreditTexts.h"
#include "game/GameData.h"
#include "game/GameLevel.h"
#include "game/GameStates.h"
#include "game/LevelFactory.h"
#include "game/LevelHost.h"
#include "game/PopupScreens.h"
#include "game/ProfileSection.h"
#include "game/SaveFolder.h"
#include "game/WorldComponentFactory.h"
#include "game/WorldMenuScreens.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuWorld.h"
#include "game/scores/ScoreWorld.h"
#include "game/screens/KvoBackground.h"
#include "game/screens/KvoScreenshot.h"
#include "game/widgets/MenubarActions.h"
#include "world/World.h"

class CGameLabels;
class CGameTimer;
class CGameTooltip;
class CHint;
class CInertiaPosition;
class CKvoBackground;
class CKvoMusicManager;
class CKvoScreenshot;
class CMoreGamesNavigation;
class CMoreGamesPage;
class CPopupBackground;
class CPopupText;
class CScreenLayeredMenu;
class CStars;
class CStateScreens;
class CToolbar;
class CTouchScreen;
class CVarnFont;
class CVarnFontCharset;
class CWebScoring;
struct CCameraArea;
struct CStringFile;

constexpr uint32_t kInitialState = GS_FADE_TO_LOADING;

// The game world: it loads the configuration, the options, the profiles and the game's
// components and levels, keeps the state number and the pending state, and runs each frame's
// update and draw pass in a fixed order, handing the current state's share to its screen
// (game/states). The screens work on the world's components as its own parts.
class CVadadiDazidevWorld : public CWorld,
                            public CMenuWorld,
                            public CPopupLabels,
                            public CLevelHost,
                            public CScoreWorld {
    friend class CExtraPagesScreen;
    friend class CInGameScreen;
    friend class CLayeredMenuScreen;
    friend class CLoadingScreen;
    friend class CLogoScreen;
    friend class CMainMenuScreen;
    friend class CPopupScreen;
    friend class CSceneSwitchScreen;

public:
    CVadadiDazidevWorld();
    ~CVadadiDazidevWorld() override;

    // CWorld::Load with the same arguments, then the game's loading between host events 14 and 15.
    Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth, uint8_t fullscreen,
                uint8_t resizable, uint8_t vSync, uint32_t orientation, const char16_t* dataFolder,
                uint16_t reserved1, uint16_t reserved2) override;
    // Saves the options and, while a game runs, its profile; then CWorld::Release.
    Result Release() override;
    // Activation, cursor, Alt+Enter, the developer keys and the pointer (scaled into the virtual
    // screen, recorded, then the reactions); every other message is recorded. RES_OK, so that
    // the default window procedure follows (Alt+F4, WM_CLOSE); RES_FAIL for a failed device step
    // at deactivation and for the focus messages. The window's destruction, unless it is being
    // re-created, posts the quit message.
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
    // usable folder (none named, not made, or another copy of the game holds it) or the path does
    // not fit. out takes up to kMaxSavePathUnits units.
    Result SavePath(const char16_t* name, bool noMove, char16_t* out, size_t capacity);
    // The save folder's state: whether this program may use it and what went wrong with it.
    const CSaveFolder& GetSaveFolder() const { return m_SaveFolder; }
    // Reads "options.sav" (called before the window exists; language kLanguageNone = none, else
    // the language to force). RES_OK when the whole file was read.
    Result LoadOptions(uint32_t language) override;
    Result SaveOptions() override;
    // The options file's bytes; false when a write failed.
    bool WriteOptions(CStream& stream);
    // Reads the developer switches of "prefetch.params" in the data folder. RES_OK when it opened.
    Result LoadPrefetchParams();

    // The external pak and the platform's configuration file (from it, else from the main pak),
    // then the game configuration keys and the more-games file. RES_FAIL, logged, without a
    // configuration file.
    Result ReadConfiguration();

    // ---- Profiles ----
    // One profile file: the record, and with withGame (and the record in use, or force) the game
    // state of the world and the registered sections.
    Result LoadProfile(CStream& stream, CProfileProgress& record, bool withGame, bool force);
    Result WriteProfile(CStream& stream, const CProfileProgress& record);
    Result LoadProfileSlot(uint32_t mode, uint32_t slot, bool withGame);
    Result SaveProfileSlot(uint32_t mode, uint32_t slot);
    Result SaveProfile(uint32_t slot, uint32_t mode) override;
    // Leaves an empty profile file, clears the record and, with clearName, the slot's name.
    Result ResetProfileSlot(uint32_t mode, uint32_t slot, bool clearName) override;
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
    uint32_t GetSceneCount() const override { return m_nSceneCount; }

    // ---- String tables, languages, credits and legal texts ----
    // Marks the languages whose main and commons files both open (from the external pak when
    // open, else the main pak); leaves no error detail.
    void ScanLanguages();
    // Keeps the chosen language when available, else takes the system language, else the first
    // available one; loads it, raises the language event, then OnSymbols and OnIndivisibleChars.
    // RES_FAIL after the failing step's log line.
    Result ChooseLanguage();
    // Reads the language's main and commons tables and makes them the game table; with the
    // charset font, loads the pages of its scripts. RES_FAIL with the tables and language as they
    // were for a missing or damaged file or an index past the languages.
    Result LoadLanguage(uint32_t index);
    // The remap table (the symbols file of the main pak in the charset mode, else the default)
    // and the text marker units.
    Result OnSymbols();
    Result OnIndivisibleChars();
    // A string file as one running text into out (kCreditTextUnits + 1 units): strings joined by line
    // feeds, line-break marks as line feeds. From pak, or the main pak when null.
    Result OnWhoisTextEx(const char16_t* name, char16_t* out, CPackerFile* pak);
    // The credits text of the language wrapped into the credits buffer, its height measured and
    // its scrolling started below the screen.
    Result LoadCredits(uint32_t index);
    // The legal items of the language, wrapped and measured, their scrolling started at the top.
    Result Load_Legals(uint32_t index);
    void FreeLegals();
    // The more-games table of the language.
    Result Load_MoreGames(uint32_t index);
    void FreeMoreGames();
    // The level labels object; null while the world holds none.
    CGameLabels* GetLabels() const override;

    CGameData* GetGameData() override { return &m_GameData; }
    CWorldData* GetData() const override { return CWorld::GetData(); }
    CAudioEngine* GetAudioEngine() const override { return CWorld::GetAudioEngine(); }
    CNetworkEngine* GetNetworkEngine() const override { return CWorld::GetNetworkEngine(); }

    // ---- Mini-game levels ----
    // True while the level or a tooltip reports itself busy (a tooltip slides).
    bool AreLevelObjectsBusy() const override { return m_nLevelBusy != 0 || m_nTooltipBusy != 0; }
    // True while a state change or a scene is waiting to be applied.
    bool IsChangePending() const override { return m_nPendingState != 0 || m_nNextScene != kNoIndex; }

    // ---- Web links and the more-games page ----
    // With a URL: keeps it to open at quit. With none: opens the kept URL with the shell, once.
    void OpenWebLink(const char16_t* url);
    // The more-games table of the language, then a new more-games page in place of the old one.
    // RES_FAIL, with neither kept, when either fails.
    Result ReloadMoreGames(uint32_t index);
    // Deletes the page, then frees the table.
    void ReleaseMoreGames();
    // The menu dialog and background a new more-games page is given.
    void SetMoreGamesScreens(CMoreGamesNavigation* navigation, CPopupBackground* background)
    {
        m_pMoreGamesNavigation = navigation;
        m_pMoreGamesBackground = background;
    }

    // ---- Scene camera ----
    // The level being played; null when none is.
    CGameLevel* GetCurrentLevel() const override;
    // Applies a zoom step (or the zoom toggle) to position and zoom, pivoting on the pointer (on
    // the screen centre for the toggle), then keeps both inside the current level's picture.
    // A zoom that is not above 0 (-1.0: unset) becomes the fit zoom.
    void ClampCamera(Vector3& position, float& zoom, float step, uint8_t toggle);
    // The scene, fitted and offset view matrices of the game data for the current state.
    void UpdateViewMatrices();
    // Eases the camera towards (x, -y, z) at zoom (-1.0: the fit zoom), both clamped first; a
    // free camera only, and only when the target differs.
    void MoveCameraTo(const Vector3& position, float zoom) override;
    void MoveCameraToMaxXMinY() override;
    void MoveCameraToMaxXMaxY() override;
    void StopCameraMove();
    // Sends the camera to the corner of largest x and smallest y at the fit zoom (at the next clamp).
    void ResetCamera();
    // Unless an eased move runs: ResetCamera, the clamp with the pending requests (then cleared)
    // and the view matrices.
    void SnapCamera();
    // True when the player cannot zoom: no level, a level camera that is not free, or a
    // maximum zoom of exactly 1.0.
    bool IsZoomLocked() const;
    // The zoom at which a picture side fills the screen side beside the toolbar (the whole side
    // when ignored); 1.0 for a side that is not above 0.
    float GetFitZoomRatioX(float width, bool ignoreWidth) const override;
    float GetFitZoomRatioY(float height, bool ignoreHeight) const override;
    float GetFitZoomRatio(float width, float height, bool ignoreHeight, bool ignoreWidth) const override;
    // The in-game frame's camera step: the eased move (while a move runs, no level or tooltip is
    // busy and the fade is over), then the clamp with the pending wheel step and zoom toggle,
    // which it clears.
    void StepCamera(bool fadeOver);
    // The toolbar's width (its menubar) and height; 0 x 0 while the world holds no toolbar.
    Vector2 GetToolbarSize() const override;

    // ---- Input reactions, click abuse and developer keys ----
    // Reactions to the left button and the pointer in virtual-screen units (z is always 0);
    // RES_FAIL: the message is not consumed.
    Result OnMouseLeftDown(float x, float y, float z);
    // Only while the left button is down.
    Result OnMouseMove(float x, float y, float z);
    // A click (moved less than 3.0 since a press taken in the in-game state), a drag end (more
    // than 3.0) or the end of a credits throw.
    Result OnMouseLeftUp(float x, float y, float z);
    // Asks the next camera step for a zoom step, unless the level's zoom is locked.
    void OnMouseWheel(float step);
    // Asks the next camera step for the zoom toggle (the toolbar's zoom button).
    void RequestZoomToggle();
    // The tooltips' share of a click: a fully shown panel folds away, else the first tooltip
    // that answers the click. RES_OK when one took it.
    Result OnToolbarClick(float x, float y);
    // The renderer's orientation becomes 1 or 2; 3 and 4 change nothing.
    void SetDisplayOrientation(uint32_t orientation);
    // Developer shortcut: the pop-up state in front of the game gives way to it; in game, the
    // level's share (Ctrl passed on).
    void OnKeyShortcuts();

protected:
    // The menubar's buttons acting on the world.
    class CMenubarHandler : public CMenubarActions {
    public:
        explicit CMenubarHandler(CVadadiDazidevWorld& world) : m_world(world) {}
        void OnMenuButton() override { m_world.LeaveToMainMenu(); }
        void OnZoomButton() override { m_world.RequestZoomToggle(); }
        void OnTutorialButton() override { m_world.StartSceneIntroStep(0); }

    private:
        CVadadiDazidevWorld& m_world;
    };
    CMenubarHandler m_MenubarHandler{*this};
    uint8_t m_bPressTaken = 0;       // the last left press was taken in the in-game state
    uint8_t m_bAltEnterHandled = 0;  // until the next system key release

private:
    void OnPointerMessage(CWorldMessage& message);
    // The pointer of a message's lParam in virtual-screen units, turned by the renderer's
    // orientation.
    Vector2 VirtualPointer(LPARAM lParam) const;
    void OnSystemKeyDown(WPARAM key, LPARAM flags);
    Result OnActivate(HWND window, WPARAM state);
    void ClipPointer(HWND window);
    void OnDeveloperKey(WPARAM key);
    void OnSpeedKey(WPARAM key);
    void OnFunctionKey(uint32_t n);
    void ReloadSavedGame(bool save);
    void RouteClick(float x, float y);
    // The tooltips, the hint button, the menubar and the bars' area, in order; true when one took it.
    bool RouteClickToWidgets(CGameLevel* level, float x, float y);
    void CountClick(CGameLevel& level, Result result);
    CGameTooltip* TooltipAt(uint32_t n) const;
    // A tooltip that is not hidden and not folded.
    bool IsTooltipOut() const;

public:
    // ---- Screens: stars, background and logos, screenshot fader, layered menus ----
    // Each makes and loads its component and, where it has one, reads its raw file; a failure
    // logs its line and answers RES_FAIL, and what was made stays for ReleaseScreens.
    // The stars with "<raw folder>_menu_stars.raw".
    Result MakeStars();
    // The background; a logo shown at once makes the start state its logo state (1 to 4).
    Result MakeBackground();
    Result MakeScreenshot();
    // The intro (0) and outro (1) menus with "<raw folder>_menu_<n>.raw".
    Result MakeLayeredMenus();
    // Releases and deletes the stars, the background, the fader and both menus.
    void ReleaseScreens();

    // ---- Loading, state machine, draw pass and sound bank ----
    // The makers of the world's components, filled by the program before Load.
    CWorldComponentFactory& GetComponentFactory() { return m_ComponentFactory; }
    uint32_t GetState() const override { return m_nState; }
    uint32_t GetPendingState() const override { return m_nPendingState; }
    // The in-game pop-up with the level's next queued pop-up, else a tooltip's; RES_FAIL when it
    // has nothing to show, else it shows its first page and state is asked for.
    Result ShowNextPopup(uint32_t state);
    // The waiting pop-up with the queued level's intro text and voice; RES_FAIL when it has none.
    Result ShowNextScenePopup();

    // Loads the bank entry on first use (a missing file is tried again next time), sets its loop
    // mode and the sound volume and marks it used. Nothing without an audio engine.
    void AddAudio(uint16_t index, uint8_t loop) override;
    // AddAudio, then the entry's sound starts.
    void PlayBankSound(uint16_t index);
    // Entries unused since the last sweep are unloaded; used ones become unused.
    void ReleaseUnusedSounds();
    void ApplySoundVolume();
    void ApplyMusicVolume();
    // The resource switches: each unloads what the other screens hold, loads its own and sweeps
    // the sound bank. The scene switch resumes the current level when a game of the slot runs and
    // no record is asked for, else starts the level; it saves the profile unless the developer
    // switch is on.
    CScreenLayeredMenu* LoadIntroScreen();
    CScreenLayeredMenu* LoadOutroScreen();
    void SwitchToNextScene(uint32_t scene);

    // A deferred request is applied at the end of this frame's draw pass (the latest one wins);
    // Ctrl held with the developer switch makes it immediate. Both clear the busy values and the
    // left button's edges.
    void SetState(uint32_t state, uint8_t deferred);
    // Queues a level; the current one leaves first unless it is the same and no record is asked.
    void GoToScene(uint32_t scene) override;
    void ReloadSceneWithArgument(uint32_t record) override;
    // Each sets the mode and reads the profile (the blank one for a new game), then queues the
    // level; RES_FAIL with the mode as it was when the profile cannot be read.
    Result StartNewGame(uint32_t mode);
    Result ContinueGame(uint32_t mode);
    // A game that could not be read: the mode's record of the slot starts afresh (its best time
    // kept) and the player is told, the play page next.
    void TellGameUnreadable(uint32_t mode);
    void OnGameFinished(uint8_t skip) override;
    void ChangeLanguage(uint32_t language);
    void ShowLevelMessage() override;
    void OpenInGameMenu();
    void LeaveToMainMenu();
    void LeaveToProfileMenu();
    void Quit();
    void StartSceneIntroStep(uint8_t direct);
    // Every tooltip object, the folded ones on top.
    void DrawTooltips() override;
    // The developer overlay of the in-game state: the current level's number, record and scene
    // kind, or with the level-list switch every level with its records.
    void DrawDeveloperOverlay();
    // The fader's alpha is exactly 0.0 (or there is no fader).
    bool IsFadeOver() const;

    // ---- Levels, their timer, labels and tooltips, and the stars ----
    // Level n; null past the levels.
    CGameLevel* GetScene(uint32_t n) const override;
    uint32_t GetCurrentSceneIndex() const override { return m_nCurrentScene; }
    uint32_t GetTooltipCount() const override { return m_nTooltipCount; }
    // Tooltip n; null past the tooltips or when the object is no tooltip.
    CGameTooltip* GetTooltip(uint32_t n) const override;
    // The level timer; null while the world holds none.
    CGameTimer* GetTimer() const override;
    CStars* GetStars() const override { return m_pStars.get(); }
    CHint* GetHint() const override { return m_pHint.get(); }
    CToolbar* GetToolbar() const override { return m_pToolbar.get(); }
    CPopupText* GetTutorialPopup() const override { return m_pPopupTuto.get(); }
    // The pop-ups of the scene intro text and of the in-game and end texts.
    CPopupText* GetWaitingPopup() const { return m_pPopupWaiting.get(); }
    CPopupText* GetIngamePopup() const { return m_pPopupIngame.get(); }
    CVarnFont* GetMainFont() const override { return m_pMainFont; }
    // The scene zoom (the fit zoom while unset).
    float GetSceneZoom() const override;
    // Tooltip n unfolds (unless shown) and is no longer hidden; the tooltips count as busy.
    void ShowTooltip(uint8_t index) override;
    // Tooltip n folds (unless folded) and is hidden.
    void HideTooltip(uint8_t index) override;
    // A loaded bank entry is kept by the sweeps until it is used again.
    void MarkAudio(uint16_t index) override;
    // Time is up in the timed mode: the timer hides and an unfinished hidden-object scene restarts.
    void OnTimeUp();
    // The first pop-up page a tooltip leaves, taken from it; kNoPopupPage when none.
    int32_t TakeTooltipPage();
    // Every tooltip folds (a scene switch).
    void ResetTooltips();
    // The level becomes current: a scene argument (kNoIndex: none) becomes its record, it starts
    // fresh, its first-visit byte is cleared when the level kind asks for it, its effects re-arm.
    void StartLevel(CGameLevel& level, uint32_t record);
    // The timed mode's badge over the level with the timer's alpha; RES_OK when clicked.
    Result RenderTimerBadge(CMenuDialog& dialog, float alpha);
    // The queued level's record: the scene argument's, else its current one; null when none.
    const CLevelRecord* QueuedRecord() const;
    // Registers the profile sections of the timer, the tooltips, the levels and the current scene
    // (the program does, with the level makers).
    void RegisterLevelSections();
    Result SaveTimerSection(CStream& stream);
    Result LoadTimerSection(CStream& stream, uint16_t version);
    Result SaveTooltipSections(CStream& stream);
    Result LoadTooltipSections(CStream& stream, uint16_t version);
    Result SaveLevelSections(CStream& stream);
    Result LoadLevelSections(CStream& stream, uint16_t version);
    // The current level's progress, then each tooltip's (their results are not looked at); a
    // hidden-object level's effects re-arm after reading.
    Result SaveSceneSection(CStream& stream);
    Result LoadSceneSection(CStream& stream, uint16_t version);

    // ---- Hidden-object scenes ----
    // With time attack enabled, the per-level extra seconds and zoom keys into the scenes' records.
    void ReadLevelTimeAttackKeys();
    // Neither the level nor a tooltip is busy (both cleared by every state change).
    bool IsLevelIdle() const override { return m_nLevelBusy == 0 && m_nTooltipBusy == 0; }
    CKvoBackground* GetBackground() const override { return m_pBackground.get(); }

protected:
    CGameData m_GameData;
    float m_fSpeedFactor = 1.0f;
    uint32_t m_nState = kInitialState;
    uint32_t m_nPreviousState = 0;
    uint32_t m_nPendingState = 0;
    uint8_t m_bIgnoreMouse = 0;
    Vector2 m_vLastMouse = {};
    Vector2 m_vPressPoint = {};
    float m_fZoom = -1.0f;  // unset
    float m_fWheelStep = 0.0f;
    uint8_t m_bZoomToggle = 0;
    Vector3 m_vCamera = {};
    uint8_t m_bCameraMoving = 0;
    float m_fCameraMoveTime = 0.0f;
    Vector3 m_vCameraTarget = {};
    float m_fCameraTargetZoom = -1.0f;
    float m_fAutoCenterSpeed = 0.0f;
    float m_fAbuseTimer = 0.0f;  // click-abuse window, in frame units
    float m_fPenaltyTime = 0.0f;
    uint8_t m_nMisses = 1;
    uint32_t m_nPendingLanguage = kLanguageNone;
    CVarnFont* m_pMainFont = nullptr;
    std::unique_ptr<CKvoMusicManager> m_pMusicManager;
    std::unique_ptr<CWebScoring> m_pWebScoring;
    std::unique_ptr<CHint> m_pHint;
    std::unique_ptr<CStars> m_pStars;
    std::unique_ptr<CToolbar> m_pToolbar;
    std::unique_ptr<CKvoBackground> m_pBackground;
    std::unique_ptr<CKvoScreenshot> m_pScreenshot;
    std::unique_ptr<CTouchScreen> m_pTouchScreen;
    CMoreGamesPage* m_pMoreGames = nullptr;
    std::unique_ptr<CScreenLayeredMenu> m_pMenuIntro;
    std::unique_ptr<CScreenLayeredMenu> m_pMenuConclu;
    CScreenLayeredMenu* m_pMenuCurrent = nullptr;
    std::unique_ptr<CMenuDialog> m_pMenuDialog;
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
    std::unique_ptr<CPopupText> m_pPopupWaiting;
    std::unique_ptr<CPopupText> m_pPopupIngame;
    std::unique_ptr<CPopupText> m_pPopupTuto;
    CProfileSection* m_pProfileSections[kProfileSectionCount] = {};
    CSaveFolder m_SaveFolder{time(nullptr)};
    CLevelFactory m_LevelFactory;
    // ---- Credits and legal texts ----
    CScrollingText m_Scroll;
    // ---- More-games page screens ----
    CMoreGamesNavigation* m_pMoreGamesNavigation = nullptr;
    CPopupBackground* m_pMoreGamesBackground = nullptr;

    // ---- Loading, state machine, draw pass and sound bank ----
    std::unique_ptr<CStateScreens> m_pScreens;
    CWorldComponentFactory m_ComponentFactory;
    std::unique_ptr<CVarnFont> m_pOwnedFont;  // the main font when the world made it

    // ---- Levels, their timer, labels and tooltips, and the stars ----
    static constexpr uint32_t kLevelSectionCount = 4;
    std::unique_ptr<CProfileSection> m_pLevelSections[kLevelSectionCount];

private:
    enum class OptionsRead { Foreign, Cut, Whole };
    // Steps of Load after the engine's; each logs its own failure line.
    Result LoadGame();
    Result OpenConfiguration();
    Result MakeWebScoring();
    Result MakeMainFont();
    Result LoadCharset(CVarnFontCharset& font);
    Result LoadCharsetPages(CVarnFontCharset& font);
    Result MakeMusicManager();
    Result MakeWidgets();
    Result MakeInputWidgets();
    Result MakeMenuDialog();
    Result MakePopups();
    Result ReadComponentFile(ComponentKind kind, CBaseObject* component, const char16_t* format, const char16_t* name);
    void ReleaseComponents();
    void ReleaseSoundBank();
    void SetBankVolume(float volume);
    void KeepClickSound();
    void KeepSceneSounds(CGameLevel& level);
    void ReplayStartSound(CGameLevel& level);
    void ApplyPendingState();
    void StorePointerVector();
    void UpdateState();
    void RenderState();
    void DrawBackdrop();
    // The time a load took is not carried into the next frame, and mouse messages wait for it.
    void Resync();
    // The built-in game settings (an empty reader without them).
    const CParamsReader& GameParams() const;

    Result UseSaveFolder(char16_t* folder);
    // Moves a damaged save (or what stands in its place) to "<path>.damaged", with a log line.
    void KeepDamagedSave(const char16_t* path);
    // The save through the crash-safe replacing save; a failure is logged and noted for the player.
    Result SaveReplacing(const char16_t* path, const FileContentWriter& write);
    OptionsRead ReadOptionsFile(const char16_t* path);
    // sound turns false for anything the writer cannot have stored.
    OptionsRead ReadOptions(CStream& stream, bool& sound);
    bool ReadOptionFields(CStream& stream, bool& sound);
    bool ReadProfileNames(CStream& stream, bool& sound);
    Result ReadProfileHeader(CStream& stream);
    bool ReadProfileRecord(CStream& stream, CProfileProgress& record);
    Result ReadProfileGame(CStream& stream, uint16_t version, const uint32_t scenes[3]);
    // The saved string of the waiting pop-up (or, without one, of the in-game pop-up) shown again.
    void RestorePopup(const uint32_t popups[2]);
    bool IsLevelOrNone(uint32_t level) const;
    bool IsRecordOrNone(uint32_t level, uint32_t record) const;
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
    void ReadFontType(const CParamsReader& game);
    std::unique_ptr<CPackedParams> OpenPackedParams(const char16_t* name);
    // A raw file of pak (null: the main pak); null after logging missingLine with its path when
    // missing.
    std::unique_ptr<CStream> OpenRawFile(const char16_t* path, bool headerCheck, const char16_t* missingLine,
                                         CPackerFile* pak = nullptr);
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

    // Scene camera: the level's maximum zoom, its camera limits and one frame of the eased move.
    float MaxZoomOf(CGameLevel& level) const;
    CCameraArea AreaOf(CGameLevel& level) const;
    void StepCameraMove();

    // ---- String tables and languages ----
    // The external pak when open, else null (the main pak).
    CPackerFile* TextPak();
    // "strings/_strings.<code><section><extension of the charset mode>"; false past the languages.
    bool StringFilePath(char16_t* path, uint32_t language, const char16_t* section);
    // A string file of the language, logging missingLine when it is missing.
    Result ReadLanguageFile(uint32_t language, const char16_t* section, const char16_t* missingLine,
                            CStringFile& file);
    bool IsLanguageAvailable(uint32_t language) const;
    void ReloadLanguageFiles();
    bool ReadExtraCredits(uint32_t language, char16_t* out);
    void AppendCreditLines(char16_t* text);
    Result AddLegalItem(const char16_t* text, double width);

    // ---- Menu dialog, its navigation buttons and the web score client ----
public:
    // Re-creates the window in the other mode through the host; RES_FAIL without a host switch.
    Result ToggleFullscreen(uint8_t fullscreen) override;
    CMenuDialog* GetMenuDialog() const override { return m_pMenuDialog.get(); }
    // The more-games page while it is shown; null otherwise.
    CMoreGamesPage* GetMoreGamesPage() const { return m_pMoreGames; }
    CWebScoring* GetWebScoring() const { return m_pWebScoring.get(); }

protected:
    CWorldPopupScreens m_PopupScreens{m_pScreenshot, m_pBackground};
    CDialogNavigation m_DialogNavigation{m_pMenuDialog};

private:
    void ShowMenuPage(uint32_t page);
    void FreeTextPages();
    void RenderNavButtons();
    // The navigation buttons shown: previous, close and next.
    void ShowNavButtons(bool previous, bool close, bool next);
    // The clicked navigation button, 0 without a menu dialog.
    uint32_t ClickedButton();
};
