#include <cmath>
#include <new>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/FrameTimer.h"
#include "core/Log.h"
#include "core/PlatformTable.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "game/ComponentSteps.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/KvoMusicManager.h"
#include "game/LevelRecord.h"
#include "game/PopupScreens.h"
#include "game/PopupText.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MoreGamesPage.h"
#include "game/widgets/Hint.h"
#include "game/widgets/InertiaPosition.h"
#include "game/widgets/Toolbar.h"
#include "game/widgets/TouchScreen.h"
#include "modules/AudioEngine.h"
#include "platform/win32/Win32Window.h"

// The world's loading in its steps and its release.

namespace {

const char16_t kLoadFailed[] = u"# CVadadiDazidevWorld::Load failed! %s error\n";
const char16_t kFileMissing[] = u"# CVadadiDazidevWorld::Load failed! \"%s\" is missing !!!\n";
constexpr uint16_t kDefaultWidth = 1024;
constexpr uint16_t kDefaultHeight = 768;
constexpr uint32_t kPlatformDesktop = 0;
constexpr uint32_t kPlatformEmbedded = 1;
constexpr uint32_t kPopupCount = 3;

const char16_t* const kPopupNames[kPopupCount] = {u"CPopupText waiting", u"CPopupText ingame", u"CPopupText tuto"};

// The kind of a platform row: desktop, embedded, or none of them.
uint32_t PlatformKind(uint32_t platform)
{
    return platform == 0 ? kPlatformDesktop : platform < kPlatformCount ? kPlatformEmbedded : kPlatformCount;
}

uint16_t RoundedSize(uint16_t size, float factor)
{
    return static_cast<uint16_t>(std::lround(static_cast<float>(size) / factor));
}

} // namespace

Result CVadadiDazidevWorld::Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth,
                                 uint8_t fullscreen, uint8_t resizable, uint8_t vSync, uint32_t orientation,
                                 const char16_t* dataFolder, uint16_t reserved1, uint16_t reserved2)
{
    // Another copy of the game plays from the same save folder: this one ends, touching nothing.
    if (m_SaveFolder.IsTakenByAnother()) {
        WStrCopy(m_pData->errorDetail, kMaxPathUnits, u"Another copy of the game is using the save folder");
        return RES_FAIL;
    }
    IgnoreResult(LoadPrefetchParams());
    const CParamsReader& game = GameParams();
    char16_t key[kMaxPathUnits];
    WFormat(key, kMaxPathUnits, u"DEFAULT_%s_WIDTH", PlatformKey(m_GameData.m_nPlatform));
    uint16_t defaultWidth = game.GetU16(u"CAMERA", key, kDefaultWidth);
    WFormat(key, kMaxPathUnits, u"DEFAULT_%s_HEIGHT", PlatformKey(m_GameData.m_nPlatform));
    uint16_t defaultHeight = game.GetU16(u"CAMERA", key, kDefaultHeight);
    // A size of 0 would make the scale infinite.
    if (defaultWidth == 0 || defaultHeight == 0) {
        defaultWidth = kDefaultWidth;
        defaultHeight = kDefaultHeight;
    }
    m_pData->scaleX = static_cast<float>(width) / defaultWidth;
    m_pData->scaleY = static_cast<float>(height) / defaultHeight;
    m_pData->scaleZ = 1.0f;
    const bool scaled = m_pData->scaleX > 0.0f && m_pData->scaleY > 0.0f;
    Result result = CWorld::Load(window, scaled ? RoundedSize(width, m_pData->scaleX) : width,
                                 scaled ? RoundedSize(height, m_pData->scaleY) : height, colorDepth, fullscreen,
                                 resizable, vSync, orientation, dataFolder, reserved1, reserved2);
    if (Failed(result)) {
        LogLine(u"# CWorld::Load failed! internal error\n");
        return result;
    }
    IgnoreResult(RaiseHostEvent(kHostEventLoadBegin));
    result = LoadGame();
    IgnoreResult(RaiseHostEvent(kHostEventLoadEnd));
    return result;
}

Result CVadadiDazidevWorld::LoadGame()
{
    const char* version = m_p3DEngine ? m_p3DEngine->GetDriverVersion() : nullptr;
    LogPrintf(m_pData->logPath, 1, u"# OpenGL implementation (v %S)\n", version ? version : "(null)");
    m_pData->dataRootPrefixLength = 0;
    if (Failed(ReadConfiguration()))
        return RES_FAIL;
    if (Failed(MakeWebScoring()) || Failed(MakeMainFont()))
        return RES_FAIL;
    ScanLanguages();
    if (Failed(ChooseLanguage()) || Failed(MakeMusicManager()) || Failed(MakeWidgets()) || Failed(MakeStars()) ||
        Failed(MakeBackground()) || Failed(MakeScreenshot()) || Failed(MakeInputWidgets()) ||
        Failed(MakeLayeredMenus()) || Failed(MakeMenuDialog()) || Failed(MakePopups()))
        return RES_FAIL;
    if (Failed(OnPrepareGame())) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! OnPrepareGame error\n");
        return RES_FAIL;
    }
    ShowMenuPage(kPageMain);
    ReadLevelTimeAttackKeys();
    if (Failed(LoadProfiles())) {
        LogLine(u"# CVadadiDazidevWorld::Load failed! out of memory\n");
        return RES_FAIL;
    }
    ShowCursor(TRUE);
    if (m_pTimerFactor)
        IgnoreResult(m_pTimerFactor->Tick());
    return RES_OK;
}

Result CVadadiDazidevWorld::ReadConfiguration()
{
    if (Failed(OpenConfiguration()))
        return RES_FAIL;
    ReadGameSettings();
    return RES_OK;
}

// The external pak, then the platform's configuration file from it or from the main pak.
Result CVadadiDazidevWorld::OpenConfiguration()
{
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s%s_external_%s.pak", m_pData->dataFolder, m_GameData.m_szAppName,
            PlatformName(m_GameData.m_nPlatform));
    // The external pak is optional: without it, everything comes from the main pak.
    IgnoreResult(OpenPackerFile(&m_GameData.m_ExternalPak, path, 0));
    const uint32_t kind = PlatformKind(m_GameData.m_nPlatform);
    if (kind != kPlatformDesktop && kind != kPlatformEmbedded) {
        LogPrintf(m_pData->logPath, 1, u"# CVadadiDazidevWorld::Load failed! invalid platform type (%d)\n",
                  m_GameData.m_nPlatform);
        return RES_FAIL;
    }
    const char16_t* name = kind == kPlatformDesktop ? u"VadadiDazidev.External.Desktop.ini"
                                                    : u"VadadiDazidev.External.Embedded.ini";
    m_GameData.m_pExternalParams = OpenPackedParams(name);
    if (!m_GameData.m_pExternalParams) {
        LogPrintf(m_pData->logPath, 1, kFileMissing, name);
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::MakeWebScoring()
{
    if (!m_pNetworkEngine || !m_GameData.m_bWebScoringEnabled || !m_ComponentFactory.HasMaker(kComponentWebScores))
        return RES_OK;
    return MakeComponent(m_ComponentFactory, kComponentWebScores, m_pData, m_p3DEngine.get(), m_pWebScoring, u"CWebScoring");
}

Result CVadadiDazidevWorld::MakeMusicManager()
{
    if (!m_pAudioEngine)
        return RES_OK;
    m_pMusicManager = m_ComponentFactory.Make<CKvoMusicManager>(kComponentMusic, m_pData, m_p3DEngine.get());
    if (m_pMusicManager && Succeeded(m_pMusicManager->Load()))
        return RES_OK;
    WStrCopy(m_pData->errorDetail, kMaxPathUnits, u"Missing music file");
    LogPrintf(m_pData->logPath, 1, kLoadFailed, u"CKvoMusicManager");
    return RES_FAIL;
}

// The toolbar, then the hint with "<raw folder>_menu_hint.raw"; a kind without a maker is left out.
// Each carries its section of the profile files.
Result CVadadiDazidevWorld::MakeWidgets()
{
    if (m_ComponentFactory.HasMaker(kComponentToolbar)) {
        if (Failed(MakeComponent(m_ComponentFactory, kComponentToolbar, m_pData, m_p3DEngine.get(), m_pToolbar, u"CToolbar")))
            return RES_FAIL;
        SetProfileSection(kProfileSectionToolbar, m_pToolbar.get());
    }
    if (!m_ComponentFactory.HasMaker(kComponentHint))
        return RES_OK;
    if (Failed(MakeComponent(m_ComponentFactory, kComponentHint, m_pData, m_p3DEngine.get(), m_pHint, u"CHint")))
        return RES_FAIL;
    SetProfileSection(kProfileSectionHint, m_pHint.get());
    return ReadComponentFile(kComponentHint, m_pHint.get(), u"%s_menu_hint.raw", u"m_pHint");
}

// The touch markers and the credits' inertia.
Result CVadadiDazidevWorld::MakeInputWidgets()
{
    const CParamsReader& game = GameParams();
    const float side = static_cast<float>(game.GetFloat(u"TOUCH_SCREEN", u"TOUCH_WIDTH", 32.0f)) * 0.5f;
    const uint32_t colour = uint32_t{game.GetU8(u"TOUCH_SCREEN", u"TOUCH_COLOR_A", 255)} << 24 |
                            uint32_t{game.GetU8(u"TOUCH_SCREEN", u"TOUCH_COLOR_R", 255)} << 16 |
                            uint32_t{game.GetU8(u"TOUCH_SCREEN", u"TOUCH_COLOR_G", 255)} << 8 |
                            game.GetU8(u"TOUCH_SCREEN", u"TOUCH_COLOR_B", 0);
    m_pTouchScreen = m_ComponentFactory.Make<CTouchScreen>(kComponentTouchMarkers, m_pData, m_p3DEngine.get());
    if (!m_pTouchScreen || m_pTouchScreen->Load(side, colour, u"TOUCH_SCREEN", u"TOUCH_TEXTURE_FILE_NAME") != RES_OK) {
        LogPrintf(m_pData->logPath, 1, kLoadFailed, u"m_pTouchScreen");
        return RES_FAIL;
    }
    return MakeComponent(m_ComponentFactory, kComponentInertia, m_pData, m_p3DEngine.get(), m_Scroll.m_pInertia, u"CInertiaPosition credits");
}

// The menu dialog reads "<raw folder>_menu_dialog.raw" before it loads; left out without a maker.
Result CVadadiDazidevWorld::MakeMenuDialog()
{
    if (!m_ComponentFactory.HasMaker(kComponentMenuDialog))
        return RES_OK;
    m_pMenuDialog = m_ComponentFactory.Make<CMenuDialog>(kComponentMenuDialog, m_pData, m_p3DEngine.get());
    if (Failed(ReadComponentFile(kComponentMenuDialog, m_pMenuDialog.get(), u"%s_menu_dialog.raw", u"m_pMenuDialog")))
        return RES_FAIL;
    if (!m_pMenuDialog || Failed(m_pMenuDialog->Load())) {
        LogPrintf(m_pData->logPath, 1, kLoadFailed, u"CMenuDialog");
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::MakePopups()
{
    std::unique_ptr<CPopupText>* popups[kPopupCount] = {&m_pPopupWaiting, &m_pPopupIngame, &m_pPopupTuto};
    const float* size = m_GameData.m_TextStyles.m_GameSize;
    for (uint32_t n = 0; n < kPopupCount; ++n) {
        *popups[n] = m_ComponentFactory.Make<CPopupText>(kComponentPopup, m_pData, m_p3DEngine.get(), n);
        if (!*popups[n] || Failed((*popups[n])->Load(size[0], size[1]))) {
            LogPrintf(m_pData->logPath, 1, kLoadFailed, kPopupNames[n]);
            return RES_FAIL;
        }
        (*popups[n])->SetScreens(m_PopupScreens.Fader(), m_PopupScreens.Background(), m_pMenuDialog.get());
        (*popups[n])->SetLabels(this);
    }
    SetMoreGamesScreens(m_DialogNavigation.Get(), m_PopupScreens.Background());
    return RES_OK;
}

// Opens "<raw folder><name format>" and hands it to the kind's construction reader; logs the
// missing file or the component's line.
Result CVadadiDazidevWorld::ReadComponentFile(ComponentKind kind, CBaseObject* component, const char16_t* format,
                                              const char16_t* name)
{
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, format, m_GameData.m_szRawFolder);
    std::unique_ptr<CStream> stream = OpenRawFile(path, true, kFileMissing);
    if (!stream)
        return RES_FAIL;
    if (Failed(m_ComponentFactory.ReadConstruction(kind, component, stream.get()))) {
        LogPrintf(m_pData->logPath, 1, kLoadFailed, name);
        return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::Release()
{
    IgnoreResult(SaveOptions());
    const uint32_t mode = m_GameData.m_nMode;
    const uint32_t slot = m_GameData.m_nSlot;
    if (m_pMenuDialog && mode < kProfileModeCount && slot < kProfileSlotCount && m_GameData.Progress(mode, slot).m_bInUse)
        IgnoreResult(SaveProfile(slot, mode));
    ReleaseComponents();
    ReleaseLevels();
    for (CProfileProgress& record : m_GameData.m_Progress)
        record.m_pLevelTimes.reset();
    m_GameData.m_GameStrings = CStringTable{};
    m_GameData.m_MoreGamesStrings = CStringTable{};
    ReleaseSoundBank();
    // Every pop-up is released even after a failure, so that nothing stays loaded.
    Result result = RES_OK;
    for (std::unique_ptr<CPopupText>* popup : {&m_pPopupWaiting, &m_pPopupIngame, &m_pPopupTuto}) {
        if (*popup && Failed((*popup)->Release()))
            result = RES_FAIL;
        popup->reset();
    }
    m_Scroll.m_pText.reset();
    FreeLegals();
    FreeMoreGames();
    ClosePackerFile(&m_GameData.m_ExternalPak);
    m_GameData.m_pExternalParams.reset();
    m_GameData.m_pMoreGamesParams.reset();
    IgnoreResult(CWorld::Release());
    return result;
}

void CVadadiDazidevWorld::ReleaseComponents()
{
    if (m_pOwnedFont) {
        IgnoreResult(m_pOwnedFont->Release());
        m_pOwnedFont.reset();
        m_pMainFont = m_GameData.m_pMainFont = nullptr;
    }
    if (m_pMusicManager)
        IgnoreResult(m_pMusicManager->Unload());
    m_pMusicManager.reset();
    SetProfileSection(kProfileSectionHint, nullptr);
    SetProfileSection(kProfileSectionToolbar, nullptr);
    ReleaseComponent(m_pHint);
    ReleaseComponent(m_pToolbar);
    ReleaseScreens();
    ReleaseComponent(m_pTouchScreen);
    delete m_pMoreGames;
    m_pMoreGames = nullptr;
    ReleaseComponent(m_pWebScoring);
    ReleaseComponent(m_Scroll.m_pInertia);
    ReleaseComponent(m_pMenuDialog);
}

const CParamsReader& CVadadiDazidevWorld::GameParams() const
{
    static const CParamsText kNone(nullptr, 0);
    return m_pData->gameParams ? *m_pData->gameParams : static_cast<const CParamsReader&>(kNone);
}

Result CVadadiDazidevWorld::ShowNextPopup(uint32_t state)
{
    if (!m_pPopupIngame)
        return RES_FAIL;
    if (!m_pPopupIngame->HoldsText()) {
        CGameLevel* level = GetCurrentLevel();
        const int32_t id = level ? level->PeekPopup() : kNoPopup;
        if (id != kNoPopup) {
            m_pPopupIngame->SetText(static_cast<uint32_t>(id), kGameTable);
            level->PopPopup();
        } else if (const int32_t page = TakeTooltipPage(); page != kNoPopupPage) {
            m_pPopupIngame->SetText(static_cast<uint32_t>(page), kGameTable);
        }
    }
    if (!m_pPopupIngame->HoldsText())
        return RES_FAIL;
    SetState(state, static_cast<uint8_t>(m_pPopupIngame->OnTextNext()));
    return RES_OK;
}

Result CVadadiDazidevWorld::ShowNextScenePopup()
{
    if (!m_pPopupWaiting)
        return RES_FAIL;
    CGameLevel* next = m_nNextScene < m_nSceneCount ? m_pScenes[m_nNextScene].get() : nullptr;
    if (!m_pPopupWaiting->HoldsText() && next) {
        const int32_t id = next->TakeRecordPopup(m_nSceneArgument);
        if (id != kNoPopup)
            m_pPopupWaiting->SetText(static_cast<uint32_t>(id), kGameTable);
        const CLevelRecord* record = QueuedRecord();
        if (m_pAudioEngine && m_GameData.m_fSoundVolume != 0.0f && record && record->introSound < kNoSound)
            PlayBankSound(record->introSound);
    }
    if (!m_pPopupWaiting->HoldsText())
        return RES_FAIL;
    m_pPopupWaiting->OnTextNext();
    return RES_OK;
}
