#include <algorithm>
#include <cmath>
#include <new>

#include "base/WideFormat.h"
#include "core/PlatformTable.h"
#include "engine3d/Font.h"
#include "game/CharsetRemap.h"
#include "game/VadadiDazidevWorld.h"
#include "game/menus/MoreGamesPage.h"

// The game configuration keys the world reads as it loads, in the order it reads them.

namespace {

constexpr size_t kKeyUnits = 64;
constexpr float kFramesPerSecond = 30.0f;
constexpr uint32_t kDefaultBrightness = 127;
constexpr uint32_t kMaxBrightness = 255;
constexpr uint8_t kMinAbuseClicks = 2;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kOrange = 0xFFFF9600;
constexpr uint16_t kCentredText = 12;

const char16_t kDefaultSiteUrl[] = u"https://www.example.com/";
const char16_t kDefaultScoreServerUrl[] = u"https://scores.example.com/";
const char16_t kDefaultFacebookUrl[] = u"https://www.facebook.com/";
const char16_t kDefaultTwitterUrl[] = u"https://twitter.com/";

float ReadFloat(const CParamsReader& params, const char16_t* section, const char16_t* key, float defaultValue)
{
    return static_cast<float>(params.GetFloat(section, key, defaultValue));
}

// Whole units of a value as 16 bits; out-of-range values stop at the ends.
uint16_t TruncateToU16(double value)
{
    if (!(value > 0.0))
        return 0;
    return value >= 65535.0 ? 65535 : static_cast<uint16_t>(value);
}

float WholeSeconds(const CParamsReader& game, const char16_t* key)
{
    return std::trunc(ReadFloat(game, u"ABUSE", key, 2.0f));
}

void ReadSizePair(const CParamsReader& game, const char16_t* text, float size[2])
{
    char16_t key[kKeyUnits];
    WFormat(key, kKeyUnits, u"%s_FONT_SIZE_WIDTH", text);
    size[0] = ReadFloat(game, u"MAIN_FONT", key, 1.0f);
    WFormat(key, kKeyUnits, u"%s_FONT_SIZE_HEIGHT", text);
    size[1] = ReadFloat(game, u"MAIN_FONT", key, 1.0f);
}

} // namespace

void CVadadiDazidevWorld::ReadGameSettings()
{
    const CParamsText none(nullptr, 0);
    const CParamsReader& game = m_pData->gameParams ? *m_pData->gameParams : static_cast<const CParamsReader&>(none);
    const CParamsReader& external =
        m_GameData.m_pExternalParams ? *m_GameData.m_pExternalParams : static_cast<const CParamsReader&>(none);
    // A negative factor would run every fade backwards for ever.
    m_fSpeedFactor = std::max(0.0f, ReadFloat(game, u"CAMERA", u"SPEED_FACTOR", 1.0f));
    if (m_GameData.m_nBrightness == kBrightnessUnset) {
        uint32_t brightness = external.GetU32(u"BRIGHTNESS", u"DEFAULT_BRIGHTNESS", kDefaultBrightness);
        m_GameData.m_nBrightness = static_cast<uint16_t>(std::min(brightness, kMaxBrightness));
    }
    ReadWebKeys(external);
    ReadPlayKeys(game);
    ReadTimeAttackKeys(external);
    m_GameData.m_nMode = kModeNone;
    for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot)
        m_GameData.Progress(0, slot) = CProfileProgress{};
    m_GameData.m_nElementTotal = 0;
    m_GameData.m_nParamTotal = 0;
    ReadMoreGames();
    ReadFontType(game);
    ReadFontStyles(game);
    ReadLogoKeys(game);
}

void CVadadiDazidevWorld::ReadWebKeys(const CParamsReader& external)
{
    CGameData& g = m_GameData;
    g.m_nNormalModeVersion = external.GetU32(u"WEB_SCORING", u"NORMAL_MODE_VERSION", 0);
    g.m_nTimedModeVersion = external.GetU32(u"WEB_SCORING", u"TIMED_MODE_VERSION", 0);
    IgnoreResult(
        external.GetString(u"WEB_SCORING", u"MAIN_WEB_SITE_URL", kDefaultSiteUrl, g.m_szMainWebSiteUrl, kUrlUnits));
    IgnoreResult(external.GetString(u"WEB_SCORING", u"WEB_SCORING_SERVER_URL", kDefaultScoreServerUrl,
                                    g.m_szWebScoringServerUrl, kUrlUnits));
    g.m_bEnableFacebook = external.GetBool(u"FACEBOOK", u"ENABLE_FACEBOOK", 0);
    IgnoreResult(external.GetString(u"FACEBOOK", u"FACEBOOK_URL", kDefaultFacebookUrl, g.m_szFacebookUrl, kUrlUnits));
    g.m_bEnableTwitter = external.GetBool(u"TWITTER", u"ENABLE_TWITTER", 0);
    IgnoreResult(external.GetString(u"TWITTER", u"TWITTER_URL", kDefaultTwitterUrl, g.m_szTwitterUrl, kUrlUnits));
}

void CVadadiDazidevWorld::ReadPlayKeys(const CParamsReader& game)
{
    CGameData& g = m_GameData;
    m_fAutoCenterSpeed = ReadFloat(game, u"CAMERA", u"AUTO_CENTER_SPEED", 0.005f);
    g.m_bEnableLegals = game.GetBool(u"LEGALS", u"ENABLE_LEGALS", 0);
    float maxZoom = ReadFloat(game, u"CAMERA", u"MAX_ZOOM_REF_RATIO", 1.0f);
    g.m_fMaxZoomRefRatio = maxZoom >= 1.0f ? maxZoom : 1.0f;
    g.m_nQuizQuestionBorder = TruncateToU16(game.GetFloat(u"QUIZZ", u"QUIZZ_QUESTION_TEXT_BORDER", 50.0f));
    g.m_nQuizAnswersBorder = TruncateToU16(game.GetFloat(u"QUIZZ", u"QUIZZ_ANSWERS_TEXT_BORDER", 25.0f));
    g.m_fObjectsFadeOutSpeed = ReadFloat(game, u"TOOLBAR", u"OBJECTS_FADE_OUT_SPEED", 0.05f);
    g.m_fStarsFadeInSpeed = ReadFloat(game, u"STARS", u"STARS_FADE_IN_SPEED", 0.01f);
    g.m_nAddSecondsPerStar = game.GetU32(u"STARS", u"ADD_SECONDS_PER_STAR_IN_TIMED_MODE", 5) & 0xFF;
    g.m_fAbuseSecondsShowed = WholeSeconds(game, u"ABUSE_SECONDS_SHOWED");
    g.m_fIsAbusingUnderSeconds = WholeSeconds(game, u"IS_ABUSING_UNDER_SECONDS");
    m_fAbuseTimer = g.m_fIsAbusingUnderSeconds * kFramesPerSecond;
    auto clicks = static_cast<uint8_t>(game.GetU32(u"ABUSE", u"ABUSE_OVER_CLICK", kMinAbuseClicks) & 0xFF);
    g.m_nAbuseOverClick = std::max(clicks, kMinAbuseClicks);
}

void CVadadiDazidevWorld::ReadTimeAttackKeys(const CParamsReader& external)
{
    static const char16_t* const kKeys[] = {u"SECONDS_PER_EXTRA_OBJECT", u"SECONDS_PER_HIDDEN_OBJECT",
                                            u"SECONDS_PER_COLLECTION_OBJECT", u"SECONDS_PER_BONUS_OBJECT"};
    m_GameData.m_bEnableTimeAttack = external.GetBool(u"TIME_ATTACK", u"ENABLE_TIME_ATTACK", 0);
    for (size_t i = 0; i < 4; ++i)
        m_GameData.m_nSecondsPerObject[i] = external.GetU32(u"TIME_ATTACK", kKeys[i], 10);
}

void CVadadiDazidevWorld::ReadMoreGames()
{
    char16_t name[kMaxPathUnits];
    WFormat(name, kMaxPathUnits, u"VadadiDazidev.MoreGames.%s.ini", PlatformName(m_GameData.m_nPlatform));
    m_GameData.m_pMoreGamesParams = OpenPackedParams(name);
    if (m_GameData.m_pMoreGamesParams)
        m_GameData.m_bEnableMoreGames = m_GameData.m_pMoreGamesParams->GetBool(u"MORE_GAMES", u"ENABLE_MORE_GAMES", 0);
}

// The charset font when "prefetch.params" (or start-up) asks for it, else the configured type.
void CVadadiDazidevWorld::ReadFontType(const CParamsReader& game)
{
    m_GameData.m_nLoadFontType =
        m_GameData.m_bForceCharsetFont ? kFontTypeCharset : game.GetU32(u"MAIN_FONT", u"LOAD_FONT_TYPE", 0);
}

void CVadadiDazidevWorld::ReadFontStyles(const CParamsReader& game)
{
    CTextStyles& styles = m_GameData.m_TextStyles;
    m_GameData.m_pMainFont = m_pMainFont;
    ReadSizePair(game, u"MENU", styles.m_MenuSize);
    styles.m_nMenuColor = kWhite;
    ReadSizePair(game, u"GAME", styles.m_GameSize);
    ReadSizePair(game, u"TIMER", styles.m_TimerSize);
    ReadSizePair(game, u"TOOLBAR", styles.m_ToolbarSize);
    ReadSizePair(game, u"MOREGAMES", styles.m_MoreGamesSize);
    styles.m_GameColors[0] = kWhite;
    styles.m_GameColors[1] = kOrange;
    ReadSizePair(game, u"LEGALS", styles.m_LegalsSize);
    styles.m_LegalsColors[0] = kWhite;
    styles.m_LegalsColors[1] = kOrange;
    styles.m_nAlignment = kCentredText;
    styles.m_nPopupBorder = game.GetU16(u"MAIN_FONT", u"POPUP_TEXT_SIZE_BORDER", 100);
}

void CVadadiDazidevWorld::ReadLogoKeys(const CParamsReader& game)
{
    char16_t key[kKeyUnits];
    for (uint32_t i = 0; i < kLogoCount; ++i) {
        WFormat(key, kKeyUnits, u"LOGO_TEXTURE_%03u_%s", i + 1, PlatformKey(m_GameData.m_nPlatform));
        IgnoreResult(game.GetString(u"LOGOS_INTRO", key, u"", m_GameData.m_szLogoKey[i], kAppNameUnits));
    }
}

// A parameter file from the external pak when it is open and holds it, else from the main pak;
// null when neither has it.
std::unique_ptr<CPackedParams> CVadadiDazidevWorld::OpenPackedParams(const char16_t* name)
{
    std::unique_ptr<CPackedParams> params;
    if (m_GameData.m_ExternalPak.file)
        params.reset(new (std::nothrow) CPackedParams(name, m_pData->pakLookup, &m_GameData.m_ExternalPak));
    if (!params || params->Length() == 0)
        params.reset(new (std::nothrow) CPackedParams(name, m_pData->pakLookup, &m_pData->pak));
    if (params && params->Length() == 0)
        params.reset();
    return params;
}
