#include "game/scores/WebScoring.h"

#include <md5.h>

#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/Log.h"
#include "core/PlatformTable.h"
#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/scores/ScoreWorld.h"
#include "modules/NetworkEngine.h"
#include "platform/win32/Win32Window.h"

namespace {

const char16_t kUnsendableTarget[] =
    u"# CWebScoring: the server URL or the application name holds a blank or a character outside printable ASCII\n";
const char16_t kUrlTooLong[] = u"# CWebScoring::QueueScores: the score of slot %u, mode %u does not fit a URL\n";
const char kCrcSalt[] = "JRM";
constexpr uint32_t kModeStory = 0;
constexpr size_t kNumberUnits = 32;

bool IsUnreserved(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

bool IsPrintableWithoutBlank(const char16_t* text)
{
    for (; *text; ++text) {
        if (*text <= u' ' || *text > u'~')
            return false;
    }
    return true;
}

// A URL built twice at once: as it is sent (values percent-encoded) into the caller's buffer, and
// as the crc reads it (values as they are). Both are bounded by kWebScoreUrlUnits.
class CQueryBuilder {
public:
    explicit CQueryBuilder(char16_t* sent) : m_sent(sent) { m_sent[0] = 0; }

    void Text(const char16_t* text)
    {
        Put(m_plain, m_plainLength, text);
        Put(m_sent, m_sentLength, text);
    }
    void Value(const char16_t* value)
    {
        Put(m_plain, m_plainLength, value);
        for (unsigned char byte : Utf16ToUtf8(value)) {
            char16_t encoded[4] = {byte, 0};
            if (!IsUnreserved(byte))
                WFormat(encoded, 4, u"%%%02X", byte);
            Put(m_sent, m_sentLength, encoded);
        }
    }
    void Number(const char16_t* format, int64_t a, int64_t b)
    {
        char16_t text[kNumberUnits];
        WFormat(text, kNumberUnits, format, a, b);
        Text(text);
    }
    // Only to the sent URL: what follows the text the crc covers.
    void SentOnly(const char16_t* text) { Put(m_sent, m_sentLength, text); }

    bool Fits() const { return m_bFits; }
    const char16_t* Plain() const { return m_plain; }

private:
    void Put(char16_t* buffer, size_t& length, const char16_t* text)
    {
        const size_t count = WStrLen(text);
        if (!m_bFits || count >= kWebScoreUrlUnits - length) {
            m_bFits = false;
            return;
        }
        memcpy(buffer + length, text, count * sizeof(char16_t));
        length += count;
        buffer[length] = 0;
    }

    char16_t* m_sent;
    size_t m_sentLength = 0;
    char16_t m_plain[kWebScoreUrlUnits] = {};
    size_t m_plainLength = 0;
    bool m_bFits = true;
};

// A level's score: its units (truncated) plus 60 per minute; -1 for no time or a total past
// INT32_MAX.
int64_t LevelScore(const CLevelTime& time)
{
    const float units = time.m_fUnits;
    if (!std::isfinite(units) || units < 0.0f || units >= 2147483648.0f || time.m_nMinutes == kNoTimeCount ||
        time.m_nHours == kNoTimeCount)
        return -1;
    const int64_t total = static_cast<int64_t>(units) + 60 * (time.m_nMinutes + 60 * int64_t(time.m_nHours));
    return total > INT32_MAX ? -1 : total;
}

bool IsAnswer(const uint8_t* data, uint32_t length, const char* answer)
{
    return length == strlen(answer) && memcmp(data, answer, length) == 0;
}

} // namespace

CWebScoring::CWebScoring(CScoreWorld* world) : m_pWorld(world) {}

CWebScoring::~CWebScoring()
{
    IgnoreResult(Release());
}

Result CWebScoring::Init()
{
    CNetworkEngine* engine = m_pWorld->GetNetworkEngine();
    if (!m_pClient && engine)
        m_pClient = engine->CreateClientHTTP(OnResponseCallback, this);
    return m_pClient ? RES_OK : RES_FAIL;
}

Result CWebScoring::Release()
{
    Result result = RES_OK;
    if (m_pClient)
        result = m_pWorld->GetNetworkEngine()->DestroyClientHTTP(m_pClient);
    m_pClient = nullptr;
    FreeQueue();
    return result;
}

void CWebScoring::FreeQueue()
{
    while (!m_Queue.IsEmpty())
        PopFront(nullptr, nullptr);
}

bool CWebScoring::CanSend() const
{
    const CGameData& game = *m_pWorld->GetGameData();
    if (IsPrintableWithoutBlank(game.m_szWebScoringServerUrl) && IsPrintableWithoutBlank(game.m_szAppName))
        return true;
    LogPrintf(m_pWorld->GetData()->logPath, 1, kUnsendableTarget);
    return false;
}

Result CWebScoring::Send(const char16_t* url)
{
    if (!m_pClient || !CanSend()) {
        m_nRequestState = kIdle;
        return RES_FAIL;
    }
    const Result result = m_pClient->Request(url);
    // The request held the game: what was clicked meanwhile was never seen on screen.
    DiscardQueuedClicks();
    if (Failed(result)) {
        m_nRequestState = kIdle;
        return RES_FAIL;
    }
    return RES_OK;
}

Result CWebScoring::SendSetUser()
{
    m_nRequestState = kSetUserSent;
    const CGameData& game = *m_pWorld->GetGameData();
    CQueryBuilder query(m_pWorld->GetData()->scratch);
    query.Text(game.m_szWebScoringServerUrl);
    query.Text(u"?action=set_user&login=");
    query.Value(game.m_szLogin);
    query.Text(u"&password=");
    query.Value(game.m_szPassword);
    query.Text(u"&email=");
    query.Value(game.m_szEmail);
    if (!query.Fits()) {
        m_nRequestState = kIdle;
        return RES_FAIL;
    }
    return Send(m_pWorld->GetData()->scratch);
}

bool CWebScoring::HasUnsentScores() const
{
    for (const CProfileProgress& record : m_pWorld->GetGameData()->m_Progress) {
        if (record.m_bFinished && !record.m_bSent)
            return true;
    }
    return false;
}

Result CWebScoring::QueueScores(uint8_t, uint8_t)
{
    FreeQueue();
    CGameData& game = *m_pWorld->GetGameData();
    for (uint8_t mode = 0; mode < kProfileModeCount; ++mode) {
        for (uint8_t slot = 0; slot < kProfileSlotCount; ++slot) {
            const CProfileProgress& record = game.Progress(mode, slot);
            if (!record.m_bFinished || record.m_bSent)
                continue;
            std::unique_ptr<WebScoreRequest> request(new (std::nothrow) WebScoreRequest());
            if (!request)
                return RES_OK;
            if (!BuildScoreURL(slot, mode, request->url)) {
                LogPrintf(m_pWorld->GetData()->logPath, 1, kUrlTooLong, slot, mode);
                continue;
            }
            request->slot = slot;
            request->mode = mode;
            if (Succeeded(m_Queue.AddTail(request.get())))
                request.release();
        }
    }
    return RES_OK;
}

bool CWebScoring::BuildScoreURL(uint8_t slot, uint8_t mode, char16_t* url)
{
    CGameData& game = *m_pWorld->GetGameData();
    const CProfileProgress& record = game.Progress(mode, slot);
    const uint32_t levels = m_pWorld->GetSceneCount();
    if (levels && !record.m_pLevelTimes)
        return false;
    CQueryBuilder query(url);
    query.Text(game.m_szWebScoringServerUrl);
    query.Text(u"?action=set_score&login=");
    query.Value(game.m_szLogin);
    query.Text(u"&password=");
    query.Value(game.m_szPassword);
    query.Text(u"&plateforme=");
    query.Text(PlatformKey(game.m_nPlatform));
    query.Text(u"&jeu=");
    query.Value(game.m_szAppName);
    query.Number(u"&version=%lld", mode == kModeStory ? game.m_nNormalModeVersion : game.m_nTimedModeVersion, 0);
    for (uint32_t i = 0; i < levels && query.Fits(); ++i)
        query.Number(u"&score%lld=%lld", i + 1, LevelScore(record.m_pLevelTimes[i]));
    const char16_t* modeFormat = mode == kModeStory ? u"&mode%lld=story" : u"&mode%lld=timeattack";
    for (uint32_t i = 0; i < levels && query.Fits(); ++i)
        query.Number(modeFormat, i + 1, 0);
    char16_t date[kNumberUnits];
    WFormat(date, kNumberUnits, u"&date=%04d-%02d-%02d_%02d%02d%02d", record.m_nYear, record.m_nMonth,
            record.m_nDay, record.m_nHour, record.m_nMinute, record.m_nSecond);
    query.Text(date);
    char16_t crc[kWebScoreCrcUnits];
    Crc(query.Plain(), crc);
    query.SentOnly(u"&crc=");
    query.SentOnly(crc);
    return query.Fits();
}

void CWebScoring::Crc(const char16_t* url, char16_t* text)
{
    unsigned char narrowed[kWebScoreUrlUnits];
    size_t length = 0;
    for (; url[length] && length < kWebScoreUrlUnits; ++length)
        narrowed[length] = static_cast<unsigned char>(url[length] & 0xFF);
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char*>(kCrcSalt), sizeof(kCrcSalt) - 1);
    MD5Update(&context, narrowed, length);
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &context);
    for (size_t i = 0; i < MD5_DIGEST_LENGTH; ++i)
        WFormat(text + 2 * i, 3, u"%02x", digest[i]);
}

Result CWebScoring::SendNext()
{
    if (m_Queue.IsEmpty())
        return RES_FAIL;
    m_nRequestState = kSetScoreSent;
    // The answer frees the request (and may queue anew) before Request returns.
    char16_t url[kWebScoreUrlUnits];
    WStrCopy(url, kWebScoreUrlUnits, ListObject<WebScoreRequest>(m_Queue.GetFirst())->url);
    return Send(url);
}

void CWebScoring::PopFront(uint8_t* slot, uint8_t* mode)
{
    if (m_Queue.IsEmpty())
        return;
    std::unique_ptr<WebScoreRequest> request(ListObject<WebScoreRequest>(m_Queue.GetFirst()));
    m_Queue.RemoveCurrent();
    if (slot)
        *slot = request->slot;
    if (mode)
        *mode = request->mode;
}

void CWebScoring::OnResponseCallback(const uint8_t* data, uint32_t length, void* context)
{
    static_cast<CWebScoring*>(context)->OnResponse(data, length);
}

void CWebScoring::OnResponse(const uint8_t* data, uint32_t length)
{
    if (m_nRequestState == kSetUserSent)
        OnSetUserAnswer(data, length);
    else if (m_nRequestState == kSetScoreSent)
        OnSetScoreAnswer(data, length);
}

void CWebScoring::OnSetUserAnswer(const uint8_t* data, uint32_t length)
{
    const bool created = IsAnswer(data, length, "1");
    if (created || IsAnswer(data, length, "2")) {
        m_pWorld->GetGameData()->m_bAccount = 1;
        IgnoreResult(m_pWorld->SaveOptions());
        ShowPage(created ? kPageAccountCreated : kPageAccountKnown);
    } else if (IsAnswer(data, length, "-1")) {
        ShowPage(kPageLoginTaken);
    } else if (IsAnswer(data, length, "-2")) {
        ShowPage(kPageBadEmail);
    } else {
        ShowPage(kPageNoAnswer);
    }
}

void CWebScoring::OnSetScoreAnswer(const uint8_t* data, uint32_t length)
{
    const bool queued = !m_Queue.IsEmpty();
    if (queued && (IsAnswer(data, length, "1") || IsAnswer(data, length, "2"))) {
        uint8_t slot = 0;
        uint8_t mode = 0;
        PopFront(&slot, &mode);
        m_pWorld->GetGameData()->Progress(mode, slot).m_bSent = 1;
        IgnoreResult(m_pWorld->SaveProfile(slot, mode));
        if (m_Queue.IsEmpty())
            ShowPage(kPageScoresSent);
        else if (m_pPages)
            m_pPages->StartSendScores();
        return;
    }
    PopFront(nullptr, nullptr);
    const bool refused = IsAnswer(data, length, "-1") || IsAnswer(data, length, "-2") || IsAnswer(data, length, "-3");
    ShowPage(refused ? kPageScoreRefused : kPageNoAnswer);
}

void CWebScoring::ShowPage(uint32_t page)
{
    if (!m_pPages)
        return;
    m_pPages->SetWebSubState(kWebIdle);
    m_pPages->SetPage(page);
}
