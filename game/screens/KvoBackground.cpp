#include "game/screens/KvoBackground.h"

#include <cstdio>

#include "base/FileSystem.h"
#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/ParamsReader.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ResourceName.h"
#include "engine3d/Texture.h"
#include "game/GameData.h"
#include "game/widgets/ScreenQuads.h"

namespace {

// Parts of the screen object.
constexpr uint32_t kPartLogo = 0;
constexpr uint32_t kPartAbuseFlash = 1;
constexpr uint32_t kPartScenePicture = 2;
constexpr uint32_t kPartBackground = 3;
constexpr uint32_t kScreenParts = 4;
// Parts of the loading object.
constexpr uint32_t kIconSmall = 0;
constexpr uint32_t kIconBig = 1;
constexpr uint32_t kIconCount = 2;

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr float kFramesPerSecond = 30.0f;
constexpr uint32_t kSplashLogos = 2;
// Platform rows that look for splash pictures.
constexpr uint32_t kPlatformWin32 = 0;
constexpr uint32_t kPlatformMacOS = 1;

const Vector2 kUpright[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
const Vector2 kMirrored[4] = {{1.0f, 0.0f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};

uint8_t ColourByte(const CParamsReader& params, const char16_t* key, uint8_t fallback)
{
    return params.GetU8(u"ABUSE", key, fallback);
}

float LoadingValue(const CParamsReader& params, const char16_t* key)
{
    return static_cast<float>(params.GetFloat(u"LOADING", key, 1.0f));
}

// The logo picture key "LOGO_TEXTURE_<name>".
void LogoKey(const char16_t* name, char16_t* key)
{
    WFormat(key, kAutoLoadNameUnits, u"LOGO_TEXTURE_%s", name);
}

bool IsFile(const char16_t* path)
{
    FILE* file = OpenFile(path, "rb");
    if (!file)
        return false;
    fclose(file);
    return true;
}

} // namespace

CKvoBackground::CKvoBackground(CWorldData* data, C3DEngine* engine) : m_pData(data), m_pEngine(engine) {}

Result CKvoBackground::Load()
{
    if (!m_pData || !m_pEngine || !m_pData->gameParams || !m_pData->gameData)
        return RES_FAIL;
    const CParamsReader& params = *m_pData->gameParams;
    m_nAbuseColor = (uint32_t{ColourByte(params, u"ABUSE_COLOR_A", 255)} << 24) |
                    (uint32_t{ColourByte(params, u"ABUSE_COLOR_R", 255)} << 16) |
                    (uint32_t{ColourByte(params, u"ABUSE_COLOR_G", 0)} << 8) | ColourByte(params, u"ABUSE_COLOR_B", 0);
    if (Failed(MakeScreenObject()) || Failed(MakeLoadingObject()) || Failed(MakeTextures()) || Failed(CheckLogos()))
        return RES_FAIL;
    return ShowFirstLogo();
}

Result CKvoBackground::MakeScreenObject()
{
    const float width = m_pData->configuredWidth;
    const float height = m_pData->configuredHeight;
    CScreenQuad quads[kScreenParts];
    for (CScreenQuad& quad : quads)
        quad = CenteredQuad(0.0f, 0.0f, width, height);
    m_pScreen = MakeQuadObject(m_pEngine, quads, kScreenParts);
    const Vector3 centre{width * 0.5f, height * 0.5f, 0.0f};
    return m_pScreen && Succeeded(m_pScreen->Translate(&centre)) ? RES_OK : RES_FAIL;
}

Result CKvoBackground::MakeLoadingObject()
{
    const CParamsReader& params = *m_pData->gameParams;
    m_bSmallRandom = params.GetU8(u"LOADING", u"LOADING_SMALL_ENABLE_RANDOM", 1);
    m_bBigRandom = params.GetU8(u"LOADING", u"LOADING_BIG_ENABLE_RANDOM", 1);
    const CScreenQuad quads[kIconCount] = {
        CenteredQuad(LoadingValue(params, u"LOADING_SMALL_POS_X"), LoadingValue(params, u"LOADING_SMALL_POS_Y"),
                     LoadingValue(params, u"LOADING_SMALL_SIZE_WIDTH"), LoadingValue(params, u"LOADING_SMALL_SIZE_HEIGHT")),
        CenteredQuad(LoadingValue(params, u"LOADING_BIG_POS_X"), LoadingValue(params, u"LOADING_BIG_POS_Y"),
                     LoadingValue(params, u"LOADING_BIG_SIZE_WIDTH"), LoadingValue(params, u"LOADING_BIG_SIZE_HEIGHT")),
    };
    m_pLoading = MakeQuadObject(m_pEngine, quads, kIconCount);
    if (!m_pLoading)
        return RES_FAIL;
    const struct {
        uint32_t part;
        const char16_t* key;
        const char16_t* file;
    } icons[kIconCount] = {
        {kIconSmall, u"LOADING_SMALL_TEXTURE_FILE_NAME", u"loading_lower_right.png"},
        {kIconBig, u"LOADING_BIG_TEXTURE_FILE_NAME", u"loading_centered.png"},
    };
    for (const auto& icon : icons) {
        if (Failed(AutoLoad3DObjectOneTextureFromParam(kSourcePacker, m_pLoading, kGameTextureFlags,
                                                       kGameTextureParameter, icon.part, 0, u"LOADING", icon.key,
                                                       icon.file, m_pData->gameParams, m_pData)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CKvoBackground::MakeTextures()
{
    CParamsReader* params = m_pData->gameParams;
    m_pBackgroundTexture = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    if (!m_pBackgroundTexture ||
        Failed(AutoLoadTextureFromParam(kSourcePacker, m_pBackgroundTexture, u"LOADING",
                                        u"BACKGROUND_TEXTURE_FILE_NAME", u"dlg_background.png", params, m_pData)) ||
        Failed(m_pScreen->SetPartTexture(m_pBackgroundTexture, kPartAbuseFlash, 0)) ||
        Failed(m_pScreen->SetPartTexture(m_pBackgroundTexture, kPartBackground, 0)))
        return RES_FAIL;
    m_pScenePicture = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    if (!m_pScenePicture || Failed(m_pScreen->SetPartTexture(m_pScenePicture, kPartScenePicture, 0)))
        return RES_FAIL;
    m_pLogoTexture = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    m_fLogoTime = static_cast<float>(params->GetFloat(u"LOGOS_INTRO", u"LOGOS_SECONDS_SHOWED", 3.0f)) * kFramesPerSecond;
    return m_pLogoTexture && Succeeded(m_pScreen->SetPartTexture(m_pLogoTexture, kPartLogo, 0)) ? RES_OK : RES_FAIL;
}

// Every named logo's picture must be in the pak; an empty picture name counts as missing.
Result CKvoBackground::CheckLogos()
{
    const uint32_t platform = m_pData->gameData->m_nPlatform;
    const bool splashPlatform = platform == kPlatformWin32 || platform == kPlatformMacOS;
    for (uint32_t step = 0; step < kLogoCount; ++step) {
        if (LogoName(step)[0] != 0) {
            char16_t key[kAutoLoadNameUnits];
            char16_t picture[kAutoLoadNameUnits] = {};
            LogoKey(LogoName(step), key);
            IgnoreResult(m_pData->gameParams->GetString(u"LOGOS_INTRO", key, u"", picture, kAutoLoadNameUnits));
            if (picture[0] == 0 || !m_pData->pakLookup || Failed(m_pData->pakLookup(picture, &m_pData->pak)))
                return RES_FAIL;
        }
        if (step < kSplashLogos && splashPlatform)
            m_bSplash[step] = FindSplashPicture(step) ? 1 : 0;
    }
    return RES_OK;
}

bool CKvoBackground::FindSplashPicture(uint32_t logo)
{
    char16_t name[kAutoLoadNameUnits];
    char16_t path[kMaxPathUnits];
    SplashName(logo, name);
    WFormat(path, kMaxPathUnits, u"%s%s", m_pData->dataFolder, name);
    return IsFile(path);
}

void CKvoBackground::SplashName(uint32_t logo, char16_t* name) const
{
    WFormat(name, kAutoLoadNameUnits, u"splashscreen_%u_%ux%u.jpg", logo + 1, uint32_t{m_pData->workingWidth},
            uint32_t{m_pData->workingHeight});
}

const char16_t* CKvoBackground::LogoName(uint32_t step) const
{
    return m_pData->gameData->m_szLogoKey[step];
}

// A splash picture comes first; else the first named logo; else none is shown.
Result CKvoBackground::ShowFirstLogo()
{
    uint32_t step = kLogoCount;
    if (m_bSplash[0] || m_bSplash[1]) {
        step = m_bSplash[0] ? 0 : 1;
    } else {
        for (uint32_t i = 0; i < kLogoCount && step == kLogoCount; ++i) {
            if (LogoName(i)[0] != 0)
                step = i;
        }
    }
    if (step == kLogoCount)
        return RES_OK;
    if (Failed(LoadLogo(step)))
        return RES_FAIL;
    m_nLogoStep = step;
    m_bLogoShown = true;
    return RES_OK;
}

Result CKvoBackground::ShowLogo(uint32_t step)
{
    const bool named = LogoName(step)[0] != 0;
    if (!m_pLogoTexture || step == m_nLogoStep || (!named && !HasSplashPicture(step)) || Failed(LoadLogo(step)))
        return RES_FAIL;
    m_nLogoStep = step;
    return RES_OK;
}

Result CKvoBackground::LoadLogo(uint32_t step)
{
    char16_t name[kAutoLoadNameUnits];
    if (HasSplashPicture(step)) {
        SplashName(step, name);
        return AutoLoadTexture(kSourceFile, m_pLogoTexture, name, m_pData);
    }
    LogoKey(LogoName(step), name);
    return AutoLoadTextureFromParam(kSourcePacker, m_pLogoTexture, u"LOGOS_INTRO", name, u"", m_pData->gameParams,
                                    m_pData);
}

bool CKvoBackground::IsLogoTimeOver()
{
    m_fLogoTimer += static_cast<float>(m_pData->frameFactor);
    return m_fLogoTimer > m_fLogoTime;
}

bool CKvoBackground::IsLogoTimeOverReset()
{
    if (!IsLogoTimeOver())
        return false;
    m_fLogoTimer = 0.0f;
    return true;
}

void CKvoBackground::ReleaseLogo()
{
    if (m_pScreen && m_pLogoTexture)
        IgnoreResult(m_pScreen->SetPartTexture(nullptr, kPartLogo, 0));
    IgnoreResult(ReleaseScreenTexture(m_pEngine, m_pLogoTexture));
}

Result CKvoBackground::SetScenePicture(const char16_t* name)
{
    if (!m_pScenePicture || !name)
        return RES_FAIL;
    const char16_t* loaded = m_pScenePicture->GetName();
    if (loaded && EqualNoCase(loaded, ResourceNameFromPath(m_pData, name)))
        return RES_OK;
    return AutoLoadTexture(kSourcePacker, m_pScenePicture, name, m_pData);
}

void CKvoBackground::RandomizeLoadingIcons()
{
    if (!m_pLoading || Failed(m_pLoading->Lock()))
        return;
    const uint8_t random[kIconCount] = {m_bSmallRandom, m_bBigRandom};
    for (uint32_t icon = 0; icon < kIconCount; ++icon) {
        if (!random[icon])
            continue;
        // r x 2^-31, truncated: 0 or 1.
        const bool mirrored = (RandomNext(m_pData->random) >> 31) != 0;
        SetQuadUVs(m_pLoading, icon, mirrored ? kMirrored : kUpright);
    }
    IgnoreResult(m_pLoading->Unlock(1));
}

Result CKvoBackground::RenderScreenPart(uint32_t colour, uint32_t part)
{
    if (!m_pScreen)
        return RES_OK;
    m_pScreen->SetColor(colour);
    return m_pScreen->RenderPart(part);
}

Result CKvoBackground::DrawLogo()
{
    return RenderScreenPart(kWhite, kPartLogo);
}

Result CKvoBackground::DrawAbuseFlash()
{
    return RenderScreenPart(m_nAbuseColor, kPartAbuseFlash);
}

Result CKvoBackground::DrawBackground(uint8_t alpha)
{
    if (!m_pScreen)
        return RES_OK;
    m_pScreen->SetColor(kBlack);
    m_pScreen->SetAlpha(alpha);
    return m_pScreen->RenderPart(kPartBackground);
}

Result CKvoBackground::DrawLoadingBig()
{
    return DrawLoading(false, true, true, false);
}

bool CKvoBackground::HasScenePicture() const
{
    const char16_t* name = m_pScenePicture ? m_pScenePicture->GetName() : nullptr;
    return name && name[0] != 0;
}

Result CKvoBackground::DrawLoading(bool small, bool big, bool background, bool picture)
{
    if (picture && HasScenePicture())
        IgnoreResult(RenderScreenPart(kWhite, kPartScenePicture));
    if (background)
        IgnoreResult(RenderScreenPart(kBlack, kPartBackground));
    if (m_pLoading && small)
        IgnoreResult(m_pLoading->RenderPart(kIconSmall));
    if (m_pLoading && big)
        IgnoreResult(m_pLoading->RenderPart(kIconBig));
    return RES_OK;
}

// The first failure, if any.
Result CKvoBackground::Release()
{
    const Result results[] = {
        ReleaseQuadObject(m_pEngine, m_pScreen),
        ReleaseQuadObject(m_pEngine, m_pLoading),
        ReleaseScreenTexture(m_pEngine, m_pBackgroundTexture),
        ReleaseScreenTexture(m_pEngine, m_pScenePicture),
        ReleaseScreenTexture(m_pEngine, m_pLogoTexture),
    };
    for (Result result : results) {
        if (Failed(result))
            return result;
    }
    return RES_OK;
}
